#include "launcher/ui/MyProgressCtrl.h"

#include "core/progress_rule.h"
#include "launcher/ui/ui_resource.h"

CMyProgressCtrl::CMyProgressCtrl() {
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> LRESULT { return TRUE; });  // nothing to erase
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) { return OnPaint(); });
    OnMessage(WM_DESTROY, [this](WPARAM wp, LPARAM lp) {
        // The kept device context belongs to this window and cannot outlive it.
        ReleaseSurface();
        return Default(WM_DESTROY, wp, lp);
    });
}

CMyProgressCtrl::~CMyProgressCtrl() {
    UnsubclassWindow();
    // The image and the surface are GDI+ objects: they must go before this
    // control's GDI+ start-up ends.
    m_image.Free();
    ReleaseSurface();
    m_gdiplus.reset();
}

void CMyProgressCtrl::StartGdiplus() {
    if (m_gdiplus) return;
    auto gdiplus = std::make_unique<qel::GdiplusScope>();  // version 1, no callback, background thread on
    if (gdiplus->ok()) {
        m_gdiplus = std::move(gdiplus);
        return;
    }
    ::MessageBoxW(nullptr, L"Initialize GDI+ library failed", L"Error", MB_OK | MB_ICONERROR);
}

void CMyProgressCtrl::InitImage(HMODULE resModule) {
    if (!m_hWnd) return;
    if (!resModule) resModule = ::GetModuleHandleW(nullptr);
    m_image.Load(IDR_PNG_BAR, L"PNG", resModule);
    const SIZE size = m_image.GetSize();
    m_nImageWidth = size.cx;
    m_nImageHeight = size.cy;

    ::GetWindowRect(m_hWnd, &m_rcPlace);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&m_rcPlace), 2);
    m_rcPlace.right = m_rcPlace.left + m_nImageWidth;
    m_rcPlace.bottom = m_rcPlace.top + m_nImageHeight;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_nImageWidth, m_nImageHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    ReleaseSurface();
    m_windowDC = std::make_unique<qel::WindowDC>(m_hWnd, qel::WindowDC::Whole);
    if (m_windowDC->get()) m_pGraphics.reset(new Gdiplus::Graphics(m_windowDC->get()));
}

void CMyProgressCtrl::ReleaseSurface() {
    m_pGraphics.reset();
    m_windowDC.reset();
}

int CMyProgressCtrl::SetProgress(int position) {
    HWND hwnd = m_hWnd;
    if (!hwnd || !::IsWindow(hwnd)) return -1;
    const int old = m_nPos;
    m_nPos = position;
    const qel::ProgressStep step = qel::NextProgressStep(m_nFill, position, m_nImageWidth);
    if (!step.redraw) return old;
    if (step.clearFirst && m_pGraphics) m_pGraphics->Clear(Gdiplus::Color(0x00FFFFFF));
    m_bDirty = true;
    m_nFill = step.fill;
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return old;
}

LRESULT CMyProgressCtrl::OnPaint() {
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    Gdiplus::Image* image = m_image.GetImage();
    if (image && m_pGraphics && m_bDirty) {
        m_bDirty = false;
        m_pGraphics->DrawImage(image, 0, 0, 0, 0, m_nFill, m_nImageHeight, Gdiplus::UnitPixel);
    }
    ::EndPaint(m_hWnd, &ps);
    return 0;
}
