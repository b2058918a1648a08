// GameLoaderWnd's progress page: download progress, the result of unpacking,
// the network result with the game clean-up, and the animated tip.
#include <future>
#include <system_error>

#include "loader/common.h"
#include "loader/custom_msg_box.h"
#include "loader/game_loader_wnd.h"
#include "loader/install_registration.h"
#include "loader/loader_messages.h"
#include "loader/logger.h"
#include "loader/process_utils.h"

namespace qel {

namespace {

// One step counter for the process, as the tip has only one place to show.
int g_nTipStep = 0;

}  // namespace

void GameLoaderWnd::OnProgressTipTimer() {
    static const wchar_t* const kTips[] = {
        L"正在下载游戏文件，请耐心等待.",
        L"正在下载游戏文件，请耐心等待..",
        L"正在下载游戏文件，请耐心等待...",
    };
    const int shown = g_nTipStep;
    g_nTipStep = (g_nTipStep + 1) % 3;
    if (m_pProgTip) m_pProgTip->SetText(kTips[shown]);
}

void GameLoaderWnd::OnDownloadProgress(WPARAM percent) {
    if (!m_pProgress) return;
    // WPARAM is unsigned: anything above the int range is out of range anyway.
    if (percent <= static_cast<WPARAM>(m_pProgress->GetMaxValue())) {
        const int value = static_cast<int>(percent);
        if (value != m_pProgress->GetValue() && value >= m_pProgress->GetMinValue()) m_pProgress->SetValue(value);
    }
    if (m_pProgress->GetValue() == 100) {
        ::KillTimer(m_hWnd, TIMER_PROGRESS_TIP);
        if (m_pProgTip) m_pProgTip->SetText(L"正在释放文件");
    }
}

void GameLoaderWnd::OnUnzipResult(WPARAM result) {
    if (result != 0) {
        const HWND self = m_hWnd;
        ShowCustomMsgBox(self, L"释放文件出错");
        if (::IsWindow(self)) ::PostMessageW(self, WM_CLOSE, 1, 0);
        return;
    }
    RefreshInstallRegistration();
    BuildGamePath();
    if (m_pProgTip) m_pProgTip->SetText(L"正在启动游戏");
    LoadGame();
}

void GameLoaderWnd::OnNetworkResult(WPARAM result) {
    if (result != 0) {
        ::KillTimer(m_hWnd, TIMER_PROGRESS_TIP);
        ShowCustomMsgBox(m_hWnd, L"网络异常");
        return;
    }
    // The window thread waits on purpose: nothing of the window runs meanwhile.
    try {
        std::async(std::launch::async, [this] { KillGameTask(); }).wait();
    } catch (const std::system_error&) {
        QEL_LOG(0, L"KillGameTask could not get a worker; running it here");
        KillGameTask();
    }
}

void GameLoaderWnd::KillGameTask() { EndGameProcesses(); }

void GameLoaderWnd::RefreshInstallRegistration() {
    const bool known = !GetProgramFilesX86Folder().empty();
    qel::RefreshInstallRegistration(m_strGameKey, known ? m_strDefaultInstallDir : std::wstring(), m_strSource);
}

}  // namespace qel
