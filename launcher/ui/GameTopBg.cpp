#include "launcher/ui/GameTopBg.h"

#include "launcher/ui/UpdateLayeredTool.h"
#include "launcher/ui/ui_resource.h"

void CentreWindowOnScreen(HWND hwnd) {
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2;
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CGameTopBg::CGameTopBg(ISplashOwner* pOwner) : dlgapp::Dialog(IDD_SPLASH), m_pOwner(pOwner) {
    OnMessage(WM_MOVE, [this](WPARAM wp, LPARAM lp) { return OnMove(wp, lp); });
    OnMessage(WM_NCHITTEST, [this](WPARAM wp, LPARAM lp) { return OnNcHitTest(wp, lp); });
}

CGameTopBg::~CGameTopBg() {
    HWND hwnd = UnsubclassWindow();
    if (hwnd && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
}

bool CGameTopBg::OnInitDialog() {
    dlgapp::Dialog::OnInitDialog();
    m_hLayeredWnd = m_hWnd;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ~WS_CAPTION);
    if (!m_image.Load(IDR_PNG_SPLASH, L"PNG", ResourceModule())) return false;
    const SIZE size = m_image.GetSize();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CentreWindowOnScreen(m_hWnd);
    DrawToLayeredWindow();
    return false;  // no control takes the focus
}

void CGameTopBg::FollowOwner() {
    if (!m_hWnd || !m_pOwner) return;
    RECT owner;
    if (!::GetWindowRect(m_pOwner->GetOwnerHwnd(), &owner)) return;
    ::SetWindowPos(m_hWnd, nullptr, owner.left - kSplashOffsetX, owner.top - kSplashOffsetY, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CGameTopBg::OnMove(WPARAM wp, LPARAM lp) {
    const LRESULT result = Default(WM_MOVE, wp, lp);
    HWND owner = m_pOwner ? m_pOwner->GetOwnerHwnd() : nullptr;
    if (!owner || m_pOwner->GetDragDialog()) return result;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::SetWindowPos(owner, nullptr, rc.left + kSplashOffsetX, rc.top + kSplashOffsetY, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return result;
}

LRESULT CGameTopBg::OnNcHitTest(WPARAM wp, LPARAM lp) {
    if (m_pOwner) m_pOwner->SetDragDialog(FALSE);
    return Default(WM_NCHITTEST, wp, lp) == HTCLIENT ? HTCAPTION : HTNOWHERE;
}

bool CGameTopBg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return true;
    return dlgapp::Dialog::PreTranslateMessage(msg);
}

void CGameTopBg::DrawToLayeredWindow() {
    Gdiplus::Image* image = m_image.GetImage();
    HWND hwnd = m_hLayeredWnd;
    if (!image || !hwnd || !::IsWindow(hwnd)) return;
    const SIZE size = m_image.GetSize();

    qel::WindowDC screen(hwnd);
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    POINT dest = {rc.left, rc.top};

    // A top-down 32-bit section that GDI+ fills as premultiplied ARGB: that is
    // the form the per-pixel-alpha update expects, whatever the screen depth.
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    qel::UniqueMemoryDC memDC(::CreateCompatibleDC(screen.get()));
    qel::UniqueGdiObject bitmap(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memDC || !bitmap || !bits) return;
    qel::ScopedSelect selected(memDC.get(), bitmap.get());
    {
        Gdiplus::Bitmap surface(size.cx, size.cy, size.cx * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
        Gdiplus::Graphics graphics(&surface);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        Gdiplus::Point corners[3] = {{0, 0}, {size.cx, 0}, {0, size.cy}};
        graphics.DrawImage(image, corners, 3);
    }

    const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

    UpdateLayeredTool& tool = UpdateLayeredTool::Instance();
    if (!tool.m_pUpdateLayeredWindow) return;
    POINT src = {0, 0};
    SIZE extent = size;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    tool.m_pUpdateLayeredWindow(hwnd, screen.get(), &dest, &extent, memDC.get(), &src, 0, &blend, ULW_ALPHA);
}
