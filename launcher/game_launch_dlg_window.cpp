// The window side of the launcher dialog in its plain form: standard progress
// and static controls, no splash image yet.
#include "launcher/game_launch_dlg.h"

#include "launcher/launch_messages.h"
#include "win/text_convert.h"

#include <commctrl.h>

#include <cstdlib>

namespace {
constexpr UINT_PTR kBusyTimer = 1;
constexpr UINT kBusyTimerMs = 100;
}  // namespace

void CGameLaunchDlg::RegisterWindowHandlers() {
    OnMessage(WM_LAUNCH_STATUS, [this](WPARAM wp, LPARAM lp) { return OnLaunchStatus(wp, lp); });
    OnMessage(WM_TIMER, [this](WPARAM wp, LPARAM lp) { return OnBusyTimer(wp, lp); });
}

void CGameLaunchDlg::CreateSplash() {}

bool CGameLaunchDlg::LoadBackground(HINSTANCE) { return true; }

void CGameLaunchDlg::PlaceWindows() {
    MoveWindow(0, 0, 201, 59);
    CenterWindow();
    m_progress.MoveWindow(6, 5, 190, 10);
    m_progress.SendMessage(PBM_SETRANGE32, 0, 100);
    m_progress.SendMessage(PBM_SETPOS, 1);
    m_status.MoveWindow(6, 25, 190, 20);
    m_status.SetWindowText(L"正在检查新版本，请稍后");
}

LRESULT CGameLaunchDlg::OnLaunchStatus(WPARAM wp, LPARAM lp) {
    if (wp == STATUS_BUSY_START) {
        ::SetTimer(m_hWnd, kBusyTimer, kBusyTimerMs, nullptr);
    } else if (wp == STATUS_BUSY_STOP) {
        m_busyPosition = 0;
        m_progress.SendMessage(PBM_SETPOS, 0);
        ::KillTimer(m_hWnd, kBusyTimer);
    }
    const char* text = reinterpret_cast<const char*>(lp);
    if (text && *text) m_status.SetWindowText(qel::MultiByteToWide(kStatusTextCodePage, text));
    return 0;
}

LRESULT CGameLaunchDlg::OnBusyTimer(WPARAM wp, LPARAM lp) {
    if (wp != kBusyTimer) return Default(WM_TIMER, wp, lp);
    m_busyPosition = m_busyPosition > 100 ? 0 : m_busyPosition + std::rand() % 3;
    m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_busyPosition));
    return 0;
}
