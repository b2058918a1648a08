#include "loader/ie_browser_ui.h"

#include <shellapi.h>

#include <cwchar>
#include <string>

#include "core/bridge_call.h"
#include "core/page_address.h"
#include "loader/common.h"
#include "loader/loader_messages.h"
#include "loader/logger.h"
#include "loader/open_game_text.h"

namespace qel {

namespace {

constexpr wchar_t kCallCppFuncName[] = L"g_callCppFunc";
constexpr HRESULT kResourceNotFound = static_cast<HRESULT>(0x800C0005);  // INET_E_RESOURCE_NOT_FOUND

// The argument as UTF-16 text; false when the variant cannot be turned into text.
bool ArgumentText(const VARIANT& argument, std::wstring& text) {
    if (argument.vt == VT_BSTR) {
        text = argument.bstrVal ? std::wstring(argument.bstrVal, ::SysStringLen(argument.bstrVal)) : L"";
        return true;
    }
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&argument), 0, VT_BSTR))) return false;
    text = converted.bstrVal ? std::wstring(converted.bstrVal, ::SysStringLen(converted.bstrVal)) : L"";
    ::VariantClear(&converted);
    return true;
}

}  // namespace

CIeBrowserUI::~CIeBrowserUI() = default;

HRESULT CIeBrowserUI::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    if (names[0] && std::wcscmp(names[0], kCallCppFuncName) == 0) {
        ids[0] = kDispCallCppFunc;
        return S_OK;
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT CIeBrowserUI::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excepInfo, UINT* argErr) {
    if (id != kDispCallCppFunc)
        return WebBrowserHost::Invoke(id, riid, lcid, flags, params, result, excepInfo, argErr);
    if (!params || params->cArgs != 1 || !params->rgvarg) return DISP_E_BADPARAMCOUNT;
    return CallCppFunc(m_hOwner, params->rgvarg[0]);
}

HRESULT CallCppFunc(HWND owner, const VARIANT& argument) {
    std::wstring wide;
    if (!ArgumentText(argument, wide)) return DISP_E_TYPEMISMATCH;
    const std::string text = WideToNarrow(CP_ACP, wide);
    std::string name;
    if (!ReadBridgeFunctionName(text, name)) return S_OK;

    if (name == "min_wnd") {
        QEL_LOG(0, L"min_wnd call");
        ::PostMessageW(owner, WM_MIN_WND, 0, 0);
    } else if (name == "close_wnd") {
        QEL_LOG(0, L"close_wnd call");
        ::PostMessageW(owner, WM_CLOSE_WND, 0, 0);
    } else if (name == "open_game") {
        QEL_LOG(0, L"open_game call");
        const WPARAM handed = HandOverOpenGameText(text);
        // A text whose message never left would wait forever; take it back.
        if (!::PostMessageW(owner, WM_OPEN_GAME, handed, 0)) {
            std::string dropped;
            TakeOpenGameText(handed, dropped);
        }
    } else if (name == "wnd_mousemove") {
        QEL_LOG(0, L"wnd_mousemove call");
        ::PostMessageW(owner, WM_WND_MOUSEMOVE, 0, 0);
    }
    return S_OK;
}

void CWebBrowserEvent::NavigateError(IDispatch*, VARIANT*, VARIANT*, VARIANT* statusCode, VARIANT_BOOL*) {
    if (!statusCode || statusCode->vt != VT_I4 || statusCode->lVal != kResourceNotFound) return;
    m_bNavigateError = true;
    ::PostMessageW(m_hOwner, WM_NAV_ERROR, 0, 0);
}

void CWebBrowserEvent::DocumentComplete(IDispatch*, VARIANT*) {
    if (!m_bNavigateError) ::PostMessageW(m_hOwner, WM_PAGE_LOADED, 0, 0);
}

void CWebBrowserEvent::NewWindow3(IDispatch**, VARIANT_BOOL* cancel, DWORD, BSTR, BSTR url) {
    if (cancel) *cancel = VARIANT_TRUE;
    const std::wstring address = url ? std::wstring(url, ::SysStringLen(url)) : std::wstring();
    if (!IsWebAddress(address)) {
        QEL_LOG(0, L"NewWindow3 ignored, not a web address: " << address);
        return;
    }
    OpenInSystemBrowser(address);
}

void CWebBrowserEvent::OpenInSystemBrowser(const std::wstring& address) {
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace qel
