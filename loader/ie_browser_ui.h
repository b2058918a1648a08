#pragma once
// The page control of the loader window with its script bridge, and the sink
// of the page events.
//
// Page contract: the page calls window.external.g_callCppFunc(json) with one
// JSON text whose member "funcation_name" (spelled so) names the request:
// "min_wnd", "close_wnd", "open_game" or "wnd_mousemove". Each request becomes
// one message posted to the owner window; nothing waits for it.
#include <windows.h>

#include "skinui/hosted_browser_ui.h"

namespace qel {

// Dispatch identifier of "g_callCppFunc"; it shares the space of the browser events.
constexpr DISPID kDispCallCppFunc = 1000;

// The layout element "IeBrowser": the toolkit's hosted browser, specialised by
// the script bridge only.
class CIeBrowserUI : public ui::HostedBrowserUI {
public:
    CIeBrowserUI() = default;
    ~CIeBrowserUI() override;

    const wchar_t* GetClass() const override { return L"IeBrowser"; }

    void SetOwnerWindow(HWND owner) { m_hOwner = owner; }
    HWND OwnerWindow() const { return m_hOwner; }

    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

private:
    HWND m_hOwner = nullptr;
};

// Turns one page request into a posted message (see the contract above).
// Malformed or unknown requests do nothing and still succeed; only an argument
// that cannot be read as text fails.
HRESULT CallCppFunc(HWND owner, const VARIANT& argument);

// Tells the loader window that the page has loaded or cannot be reached, and
// sends new-window requests of the page to the system browser.
class CWebBrowserEvent : public ui::WebBrowserEventHandler {
public:
    explicit CWebBrowserEvent(HWND owner) : m_hOwner(owner) {}
    HWND OwnerWindow() const { return m_hOwner; }
    bool NavigateErrorSeen() const { return m_bNavigateError; }

    void NavigateError(IDispatch* pDisp, VARIANT* url, VARIANT* targetFrameName, VARIANT* statusCode,
                       VARIANT_BOOL* cancel) override;
    void DocumentComplete(IDispatch* pDisp, VARIANT* url) override;
    void NewWindow3(IDispatch** ppDisp, VARIANT_BOOL* cancel, DWORD flags, BSTR urlContext, BSTR url) override;

protected:
    // The hand-off to the shell; only http and https addresses get here.
    virtual void OpenInSystemBrowser(const std::wstring& address);

private:
    HWND m_hOwner;
    bool m_bNavigateError = false;
};

}  // namespace qel
