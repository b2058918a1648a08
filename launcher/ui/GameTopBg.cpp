#include "launcher/ui/GameTopBg.h"

#include "launcher/ui/UpdateLayeredTool.h"
#include "launcher/ui/ui_resource.h"

namespace {

struct MemoryDCTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDC = qel::UniqueHandle<HDC, MemoryDCTraits>;

// Restores the memory DC's original bitmap before the DC and the bitmap go.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(::SelectObject(dc, obj)) {}
    ~SelectGuard() { if (m_old) ::SelectObject(m_dc, m_old); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
private:
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace

void CentreWindowOnScreen(HWND hwnd) {
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2;
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CGameTopBg::CGameTopBg(ISplashOwner* pOwner) : m_pOwner(pOwner) {}

CGameTopBg::~CGameTopBg() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

BOOL CGameTopBg::Create(HWND hOwnerWnd, HMODULE resModule) {
    m_hResModule = resModule ? resModule : ::GetModuleHandleW(nullptr);
    HWND hwnd = ::CreateDialogParamW(m_hResModule, MAKEINTRESOURCEW(IDD_SPLASH), hOwnerWnd, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

INT_PTR CALLBACK CGameTopBg::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CGameTopBg* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CGameTopBg*>(lp);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        self->m_hWnd = hwnd;
        return self->OnInitDialog();
    }
    self = reinterpret_cast<CGameTopBg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    switch (msg) {
    case WM_MOVE:
        self->OnMove();
        return TRUE;
    case WM_NCHITTEST:
        ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, self->OnNcHitTest(wp, lp));
        return TRUE;
    case WM_COMMAND:
        // The dialog manager turns Escape and Enter into these; the splash has
        // nothing to cancel or confirm and must stay.
        return LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK;
    case WM_NCDESTROY:
        self->m_hWnd = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL CGameTopBg::OnInitDialog() {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ~WS_CAPTION);
    if (!m_image.Load(IDR_PNG_SPLASH, L"PNG", m_hResModule)) return FALSE;
    const SIZE size = m_image.GetSize();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CentreWindowOnScreen(m_hWnd);
    DrawToLayeredWindow();
    return FALSE;  // no control takes the focus
}

void CGameTopBg::FollowOwner() {
    if (!m_hWnd || !m_pOwner) return;
    RECT owner;
    if (!::GetWindowRect(m_pOwner->GetOwnerHwnd(), &owner)) return;
    ::SetWindowPos(m_hWnd, nullptr, owner.left - kSplashOffsetX, owner.top - kSplashOffsetY, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CGameTopBg::OnMove() {
    if (!m_hWnd || !m_pOwner || m_pOwner->GetDragDialog()) return;
    HWND owner = m_pOwner->GetOwnerHwnd();
    if (!owner) return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::SetWindowPos(owner, nullptr, rc.left + kSplashOffsetX, rc.top + kSplashOffsetY, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CGameTopBg::OnNcHitTest(WPARAM wp, LPARAM lp) {
    if (m_pOwner) m_pOwner->SetDragDialog(FALSE);
    return ::DefWindowProcW(m_hWnd, WM_NCHITTEST, wp, lp) == HTCLIENT ? HTCAPTION : HTNOWHERE;
}

BOOL CGameTopBg::PreTranslateMessage(const MSG* pMsg) const {
    if (!m_hWnd || pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_ESCAPE) return FALSE;
    return pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd);
}

void CGameTopBg::DrawToLayeredWindow() {
    Gdiplus::Image* image = m_image.GetImage();
    if (!image || !m_hWnd || !::IsWindow(m_hWnd)) return;
    const SIZE size = m_image.GetSize();

    qel::WindowDC screen(m_hWnd);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
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
    UniqueMemoryDC memDC(::CreateCompatibleDC(screen.get()));
    qel::UniqueGdiObject bitmap(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memDC || !bitmap || !bits) return;
    SelectGuard select(memDC.get(), bitmap.get());
    {
        Gdiplus::Bitmap surface(size.cx, size.cy, size.cx * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
        Gdiplus::Graphics graphics(&surface);
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
        Gdiplus::Point corners[3] = {{0, 0}, {size.cx, 0}, {0, size.cy}};
        graphics.DrawImage(image, corners, 3);
    }

    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED)) ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);

    UpdateLayeredTool& tool = UpdateLayeredTool::Instance();
    if (!tool.m_pUpdateLayeredWindow) return;
    POINT src = {0, 0};
    SIZE extent = size;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    tool.m_pUpdateLayeredWindow(m_hWnd, screen.get(), &dest, &extent, memDC.get(), &src, 0, &blend, ULW_ALPHA);
}
