#include "loader/game_loader_wnd.h"

#include <utility>

#include "core/launch_params.h"
#include "loader/common.h"
#include "loader/game_loader.h"
#include "loader/loader_messages.h"
#include "loader/logger.h"

namespace qel {

GameLoaderWnd::GameLoaderWnd(std::wstring cmdJson) : m_strCmdJson(std::move(cmdJson)) {}

// The message loop of the entry runs until this window is gone.
GameLoaderWnd::~GameLoaderWnd() { ::PostQuitMessage(0); }

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

HWND GameLoaderWnd::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &GameLoaderWnd::WndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"GameLoaderResClass";
    ::RegisterClassExW(&wc);
    return ::CreateWindowExW(exStyle, wc.lpszClassName, title, style & ~WS_CAPTION, 0, 0, 960, 620, parent,
                             nullptr, instance, this);
}

void GameLoaderWnd::CenterWindow() {
    RECT r = {};
    ::GetWindowRect(m_hWnd, &r);
    MONITORINFO mi = {sizeof mi};
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT& w = mi.rcWork;
    const int x = w.left + ((w.right - w.left) - (r.right - r.left)) / 2;
    const int y = w.top + ((w.bottom - w.top) - (r.bottom - r.top)) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT GameLoaderWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        m_strGameKey = kGameKey;
        BuildGamePath();
        ParseCmdJson();
        QEL_LOG(2, L"m_nGameInstalled is " << m_nGameInstalled);
        if (m_strTokenLogin == L"1") LoadGame(); else LoadWeb();
        return 0;
    case WM_NCLBUTTONDBLCLK:
        return 0;
    case WM_SHOW_MAIN_WND:
        TopMainWnd();
        return 0;
    default:
        return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
    }
}

void GameLoaderWnd::OnFinalMessage(HWND) { delete this; }

LRESULT CALLBACK GameLoaderWnd::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    GameLoaderWnd* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<GameLoaderWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<GameLoaderWnd*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        const LRESULT r = ::DefWindowProcW(hwnd, msg, wParam, lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->OnFinalMessage(hwnd);
        return r;
    }
    return self->HandleMessage(msg, wParam, lParam);
}

}  // namespace qel
