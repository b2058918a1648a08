// The window side of the launcher dialog: the splash above it, the painted
// background, the image progress bar, the status line, the busy animation and
// the coupled dragging of the two windows.
#include "launcher/game_launch_dlg.h"

#include "core/progress_rule.h"
#include "launcher/launch_messages.h"
#include "launcher/ui/ui_resource.h"
#include "win/text_convert.h"

#include <cstdlib>

namespace {
constexpr UINT_PTR kBusyTimer = 1;
constexpr UINT kBusyTimerMs = 100;
constexpr int kDialogWidth = 201;
constexpr int kDialogHeight = 59;
constexpr COLORREF kStatusTextColour = RGB(255, 247, 210);
}  // namespace

void CGameLaunchDlg::RegisterWindowHandlers() {
    OnMessage(WM_PAINT, [this](WPARAM wp, LPARAM lp) { return OnPaint(wp, lp); });
    // The paint covers the whole client area with the background image. An
    // erase in between (it comes inside the paint's own BeginPaint) would
    // wipe the image under the status line after each text change.
    OnMessage(WM_ERASEBKGND, [this](WPARAM wp, LPARAM lp) -> LRESULT {
        if (m_bkImage.GetImage() && !::IsIconic(m_hWnd)) return TRUE;
        return Default(WM_ERASEBKGND, wp, lp);
    });
    OnMessage(WM_TIMER, [this](WPARAM wp, LPARAM lp) { return OnBusyTimer(wp, lp); });
    OnMessage(WM_NCHITTEST, [this](WPARAM wp, LPARAM lp) { return OnNcHitTest(wp, lp); });
    OnMessage(WM_QUERYDRAGICON, [this](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hIcon); });
    OnMessage(WM_CTLCOLORSTATIC, [this](WPARAM wp, LPARAM lp) { return OnCtlColorStatic(wp, lp); });
    OnMessage(WM_MOVE, [this](WPARAM wp, LPARAM lp) { return OnMove(wp, lp); });
    OnMessage(WM_LAUNCH_STATUS, [this](WPARAM wp, LPARAM lp) { return OnLaunchStatus(wp, lp); });
}

void CGameLaunchDlg::CreateSplash() {
    m_pTopBg = std::make_unique<CGameTopBg>(this);
    if (m_pTopBg->Create(m_hWnd)) m_pTopBg->ShowWindow(SW_SHOWNORMAL);
}

bool CGameLaunchDlg::LoadBackground(HINSTANCE resources) {
    return m_bkImage.Load(IDR_PNG_BACKGROUND, L"PNG", resources);
}

void CGameLaunchDlg::PlaceWindows() {
    MoveWindow(0, 0, kDialogWidth, kDialogHeight);
    CentreWindowOnScreen(m_hWnd);

    if (m_pTopBg && m_pTopBg->IsBound()) {
        RECT dialog;
        ::GetWindowRect(m_hWnd, &dialog);
        ::SetWindowPos(m_pTopBg->Hwnd(), nullptr, dialog.left - kSplashOffsetX, dialog.top - kSplashOffsetY, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    m_progress.MoveWindow(6, 5, 190, 10);
    m_progress.StartGdiplus();
    m_progress.InitImage(ResourceModule());
    m_progress.SetProgress(1);

    m_status.MoveWindow(6, 25, 190, 20);
    m_status.SetWindowText(L"正在检查新版本，请稍后");
}

LRESULT CGameLaunchDlg::OnPaint(WPARAM wp, LPARAM lp) {
    if (::IsIconic(m_hWnd)) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        const int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(dc, x, y, m_hIcon);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    if (Gdiplus::Image* image = m_bkImage.GetImage()) {
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        qel::WindowDC dc(m_hWnd);
        Gdiplus::Graphics graphics(dc.get());
        // Stretching samples beyond the image's edge; mirroring there keeps the
        // right and bottom rows opaque instead of fading them out.
        Gdiplus::ImageAttributes edges;
        edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        graphics.DrawImage(image, Gdiplus::Rect(0, 0, rc.right, rc.bottom), 0, 0,
                           static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()),
                           Gdiplus::UnitPixel, &edges);
    }
    // The default handling validates the region; the controls are left alone
    // because the dialog clips its children.
    return Default(WM_PAINT, wp, lp);
}

LRESULT CGameLaunchDlg::OnBusyTimer(WPARAM wp, LPARAM lp) {
    const LRESULT result = Default(WM_TIMER, wp, lp);
    m_progress.SetProgress(qel::NextBusyPosition(m_progress.GetProgress(), std::rand()));
    return result;
}

LRESULT CGameLaunchDlg::OnNcHitTest(WPARAM wp, LPARAM lp) {
    m_bDragDialog = TRUE;
    const LRESULT hit = Default(WM_NCHITTEST, wp, lp);
    return hit == HTCLIENT ? HTCAPTION : hit;
}

LRESULT CGameLaunchDlg::OnMove(WPARAM wp, LPARAM lp) {
    const LRESULT result = Default(WM_MOVE, wp, lp);
    if (m_pTopBg && m_pTopBg->IsBound() && m_bDragDialog) m_pTopBg->FollowOwner();
    return result;
}

LRESULT CGameLaunchDlg::OnCtlColorStatic(WPARAM wp, LPARAM lp) {
    HDC dc = reinterpret_cast<HDC>(wp);
    ::SetTextColor(dc, kStatusTextColour);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

LRESULT CGameLaunchDlg::OnLaunchStatus(WPARAM wp, LPARAM lp) {
    if (wp == STATUS_BUSY_START) {
        ::SetTimer(m_hWnd, kBusyTimer, kBusyTimerMs, nullptr);
    } else if (wp == STATUS_BUSY_STOP) {
        m_progress.SetProgress(0);
        ::KillTimer(m_hWnd, kBusyTimer);
    }
    const char* text = KnownStatusText(lp);
    if (text && *text) {
        m_status.SetWindowText(qel::MultiByteToWide(kStatusTextCodePage, text));
        // The line has no background of its own: hiding and showing it makes
        // the dialog repaint beneath it, or the old text would stay under the new.
        m_status.ShowWindow(SW_HIDE);
        m_status.ShowWindow(SW_SHOW);
    }
    return 0;
}

void CGameLaunchDlg::SetBarPosition(int position) {
    // The bar repaints on its own thread; this call waits for it.
    m_progress.SetProgress(position);
}
