// GameLoaderWnd's game start: where the game program is, how it is started
// elevated with the player's values, and the page's request that refreshes them.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "core/game_start.h"
#include "loader/common.h"
#include "loader/game_loader_wnd.h"
#include "loader/install_registration.h"
#include "loader/loader_messages.h"
#include "loader/logger.h"

namespace qel {

void GameLoaderWnd::BuildGamePath() {
    m_strGamePath = GamePathFrom(GetInstallDirFromUninstall(m_strGameKey), GetModuleDir(), m_strGameKey);
}

void GameLoaderWnd::LoadGame() {
    QEL_LOG(2, L"GameLoaderWnd LoadGame start");
    if (m_strToken.empty()) return;
    const HWND gameMgr = WindowFromDecimal(m_strGameMgrId);
    if (::PathFileExistsW(m_strGamePath.c_str())) {
        if (::IsWindow(m_hWnd)) ::ShowWindow(m_hWnd, SW_HIDE);
        const std::wstring args = BuildGameArguments(
            {m_strSource, m_strTokenLogin, m_strToken, m_strOvExt, m_strGameMgrId, m_strTypeMode});
        SHELLEXECUTEINFOW sei = {};
        sei.cbSize = sizeof sei;
        sei.lpVerb = L"runas";  // the game needs the player's consent to run elevated
        sei.lpFile = m_strGamePath.c_str();
        sei.lpParameters = args.c_str();
        sei.nShow = SW_SHOWNORMAL;
        if (!::ShellExecuteExW(&sei)) ::PostMessageW(gameMgr, WM_GAME_START_FAILED, 0, 0);
    } else {
        QEL_LOG(2, L"PathFileExists " << m_strGamePath << L" not exists");
        ::PostMessageW(gameMgr, WM_GAME_START_FAILED, 0, 0);
    }
    if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, 1, 0);
}

void GameLoaderWnd::StartGameDirectly() {
    if (!m_strToken.empty()) {
        LoadGame();
        return;
    }
    // The window is never shown on this path, so waiting would leave an
    // invisible process behind: tell the game manager the start failed and end.
    QEL_LOG(0, L"GameLoaderWnd direct start without token");
    ::PostMessageW(WindowFromDecimal(m_strGameMgrId), WM_GAME_START_FAILED, 0, 0);
    if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, 1, 0);
}

void GameLoaderWnd::OnOpenGame(const std::string& text) {
    const OpenGameRequest request = ReadOpenGameRequest(text);
    if (!request.parsed) {
        QEL_LOG(0, L"reader.parse:" << AnsiToWide(text) << L" false");
        return;  // the page stays open
    }
    if (request.hasToken) m_strToken = AnsiToWide(request.token);
    if (request.hasOvExt) m_strOvExt = AnsiToWide(request.ovExt);
    LoadGame();
}

}  // namespace qel
