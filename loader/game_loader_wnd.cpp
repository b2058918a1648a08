#include "loader/game_loader_wnd.h"

#include <wininet.h>

#include <utility>

#include "core/launch_params.h"
#include "loader/common.h"
#include "loader/game_loader.h"
#include "loader/loader_app.h"
#include "loader/loader_messages.h"
#include "loader/logger.h"
#include "loader/open_game_text.h"
#include "win/text_convert.h"
#include "win/unique_handle.h"

namespace qel {

namespace {
// The build's game code; the progress page has a background for some codes.
constexpr wchar_t kGameCode[] = L"qel";
// Not in MinGW's wininet.h.
constexpr DWORD kInternetSuppressCookiePersist = 3;
}  // namespace

GameLoaderWnd::GameLoaderWnd(std::wstring cmdJson) : m_strCmdJson(std::move(cmdJson)) {}

GameLoaderWnd::~GameLoaderWnd() {
    // The page control outlives the event sink (the controls go with the base
    // class), so it must not call the sink while it is torn down.
    if (m_pIe) m_pIe->SetEventHandler(nullptr);
    ::PostQuitMessage(0);
}

bool GameLoaderWnd::ParseCmdJson() {
    if (m_strCmdJson.empty()) {
        QEL_LOG(2, L"m_strCmdJson is empty");
        return false;
    }
    QEL_LOG(2, L"m_strCmdJson is:" << m_strCmdJson);
    LaunchParamValues v;
    if (!ReadParamText(WideToNarrow(CP_ACP, m_strCmdJson), v)) {
        QEL_LOG(0, L"reader.parse:" << m_strCmdJson << L" false");
        return false;
    }
    if (v.hasWinId) {
        m_strWinId = AnsiToWide(v.winId);
        WriteWindowId(m_strWinId, GetSettingsFilePath());
    }
    if (v.hasSource) m_strSource = AnsiToWide(v.source);
    if (v.hasTokenLogin) m_strTokenLogin = AnsiToWide(v.tokenLogin);
    if (v.hasToken) m_strToken = AnsiToWide(v.token);
    if (v.hasOvExt) m_strOvExt = AnsiToWide(v.ovExt);
    if (v.hasInstalled) m_nGameInstalled = v.installed;
    if (v.hasGameMgrId) m_strGameMgrId = AnsiToWide(v.gameMgrId);
    if (v.hasTypeMode) m_strTypeMode = AnsiToWide(v.typeMode);
    return true;
}

void GameLoaderWnd::InitWindow() {
    if (HICON icon = ::LoadIconW(LoaderInstance(), MAKEINTRESOURCEW(107))) {
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    m_pBrowserEvent.reset(new CWebBrowserEvent(m_hWnd));

    m_pIe = dynamic_cast<CIeBrowserUI*>(FindControl(L"ie"));
    m_pWizardTab = dynamic_cast<ui::TabLayout*>(FindControl(L"wizardTab"));
    m_pProgress = dynamic_cast<ui::Progress*>(FindControl(L"progress"));
    m_pProgTip = dynamic_cast<ui::Label*>(FindControl(L"progTip"));
    m_pVLayoutDownload = FindControl(L"vLayoutDownload");

    for (const wchar_t* code : {L"drol", L"tarn", L"vesk"}) {
        if (std::wstring(kGameCode) != code) continue;
        if (m_pVLayoutDownload) m_pVLayoutDownload->SetAttribute("bkimage", WideToUtf8(code) + "_download_bk.jpg");
        break;
    }

    m_strDefaultInstallDir = GetProgramFilesX86Folder() + L"\\" + kGameKey;
    m_strGameKey = kGameKey;
    BuildGamePath();
    ParseCmdJson();
    if (m_strTypeMode == L"1" && !m_strGameMgrId.empty())
        ::PostMessageW(WindowFromDecimal(m_strGameMgrId), WM_LOADER_STARTED, 0, 0);
    WriteLoginSource(m_strSource, GetSettingsFilePath());
    QEL_LOG(2, L"m_nGameInstalled is " << m_nGameInstalled);
    if (m_nGameInstalled == 1) {
        // Cookies of the embedded page then last only for this run.
        DWORD suppress = kInternetSuppressCookiePersist;
        ::InternetSetOptionW(nullptr, INTERNET_OPTION_SUPPRESS_BEHAVIOR, &suppress, sizeof suppress);
    }
    m_strFileParam = GetBagFileParam(m_strGameKey);
    QEL_LOG(2, L"GetBagFileParam fileparam=" << m_strFileParam);
    if (m_pWizardTab) m_pWizardTab->SelectItem(0);
    if (m_strTokenLogin == L"1") StartGameDirectly();
    else LoadWeb();
}

ui::Control* GameLoaderWnd::CreateControl(const std::wstring& className) {
    if (_wcsicmp(className.c_str(), L"IeBrowser") != 0) return nullptr;
    auto* ie = new CIeBrowserUI();
    ie->SetOwnerWindow(m_hWnd);
    return ie;
}

void GameLoaderWnd::OnClick(ui::Notify& msg) {
    const std::wstring& name = msg.pSender ? msg.pSender->GetName() : std::wstring();
    if (name == L"btnClose") OnBtnCloseClick();
    else if (name == L"btnMin") ::ShowWindow(m_hWnd, SW_MINIMIZE);
}

void GameLoaderWnd::OnBtnCloseClick() {
    if (m_strSource == L"OV" && !m_strWinId.empty()) {
        QEL_LOG(2, L"GameLoaderWnd close wnd");
        SendCloseNotice(WindowFromDecimal(m_strWinId));
    }
    if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, 1, 0);
}

void GameLoaderWnd::TopMainWnd() {
    QEL_LOG(2, L"OnShowMainWnd enter");
    if (::IsIconic(m_hWnd)) ::ShowWindow(m_hWnd, SW_RESTORE);
    const DWORD self = ::GetCurrentThreadId();
    const DWORD front = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const bool attached = front && front != self && ::AttachThreadInput(self, front, TRUE);
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (attached) ::AttachThreadInput(self, front, FALSE);
}

void GameLoaderWnd::ShowExitMenu() {
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::SetForegroundWindow(m_hWnd);
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return;
    ::AppendMenuW(menu.get(), MF_STRING, ID_MENU_EXIT, L"退出");
    const UINT chosen = ::TrackPopupMenu(menu.get(), TPM_RETURNCMD, pt.x, pt.y, 0, m_hWnd, nullptr);
    if (chosen == ID_MENU_EXIT) {
        menu.reset();
        OnBtnCloseClick();
    }
}

LRESULT GameLoaderWnd::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        QEL_LOG(2, L"点击任务栏关闭窗口");
        bHandled = TRUE;
        OnBtnCloseClick();
        return 0;
    }
    return WindowImplBase::OnSysCommand(msg, wParam, lParam, bHandled);
}

LRESULT GameLoaderWnd::HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT GameLoaderWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    struct DepthGuard {
        GameLoaderWnd* wnd;
        ~DepthGuard() {
            if (--wnd->m_nHandlerDepth == 0 && wnd->m_bDeletePending) delete wnd;
        }
    } guard{this};
    ++m_nHandlerDepth;
    return HandleLoaderMessage(msg, wParam, lParam);
}

LRESULT GameLoaderWnd::HandleLoaderMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCLBUTTONDBLCLK:
        return 0;  // a double click on the caption band must not maximise
    case WM_TRAY_NOTIFY:
        if (lParam == WM_RBUTTONDOWN) ShowExitMenu();
        break;
    case WM_TIMER:
        if (wParam == TIMER_PROGRESS_TIP) OnProgressTipTimer();
        break;
    case WM_PAGE_LOADED:
        // The window was kept hidden while the page loaded.
        if (m_pIe) m_pIe->SetVisible(true);
        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        TopMainWnd();
        break;
    case WM_MIN_WND:
        ::ShowWindow(m_hWnd, SW_MINIMIZE);
        break;
    case WM_CLOSE_WND:
        OnBtnCloseClick();
        break;
    case WM_OPEN_GAME: {
        // Only texts the page bridge handed over are taken; other numbers are ignored.
        std::string text;
        if (TakeOpenGameText(wParam, text)) OnOpenGame(text);
        break;
    }
    case WM_WND_MOUSEMOVE:
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        break;
    case WM_SHOW_MAIN_WND:
        TopMainWnd();
        break;
    case WM_UNZIP_RESULT:
        OnUnzipResult(wParam);
        break;
    case WM_NETWORK_RESULT:
        OnNetworkResult(wParam);
        break;
    case WM_DOWNLOAD_PROGRESS:
        OnDownloadProgress(wParam);
        break;
    case WM_NAV_ERROR:
        ::MessageBoxW(m_hWnd, L"网络连接异常", L"提示", MB_OK);
        OnBtnCloseClick();
        break;
    default:
        break;
    }
    // A box's modal loop may have destroyed the window meanwhile.
    if (!m_hWnd) return 0;
    return WindowImplBase::HandleMessage(msg, wParam, lParam);
}

void GameLoaderWnd::OnFinalMessage(HWND hwnd) {
    WindowImplBase::OnFinalMessage(hwnd);
    if (m_nHandlerDepth > 0) m_bDeletePending = true;
    else delete this;
}

}  // namespace qel
