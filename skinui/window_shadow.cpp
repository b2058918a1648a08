#include "skinui/window_shadow.h"

#include "skinui/paint_manager.h"
#include "win/unique_handle.h"

namespace qel::ui {
namespace {
const wchar_t kShadowClass[] = L"QelSkinShadow";
HINSTANCE g_shadowInstance = nullptr;
}  // namespace

bool WindowShadow::Initialize(HINSTANCE instance) {
    if (g_shadowInstance) return true;
    WNDCLASSEXW wc = {sizeof wc};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kShadowClass;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    g_shadowInstance = instance;
    return true;
}

WindowShadow::~WindowShadow() { Destroy(); }

namespace {
// Wine shows a per-pixel-alpha layered window as opaque unless a compositing
// manager runs, so there the "shadow" would be a black frame around the window.
bool LayeredAlphaUnreliable() {
    static const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine && !::GetEnvironmentVariableW(L"QEL_FORCE_SHADOW", nullptr, 0);
}
}  // namespace

bool WindowShadow::Create(HWND host, PaintManager& images, const std::string& image, const RECT& corner) {
    if (!g_shadowInstance || m_hwnd) return false;
    if (LayeredAlphaUnreliable()) return false;
    m_host = host;
    m_images = &images;
    m_image = image;
    m_corner = corner;
    // Not owned by the host: an owned window always stays above its owner,
    // and the shadow has to stay below it.
    m_hwnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                               kShadowClass, L"", WS_POPUP, 0, 0, 0, 0, ::GetWindow(host, GW_OWNER), nullptr,
                               g_shadowInstance, nullptr);
    return m_hwnd != nullptr;
}

void WindowShadow::Destroy() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
    m_hwnd = nullptr;
}

void WindowShadow::Update() {
    if (!m_hwnd) return;
    if (!::IsWindow(m_host) || !::IsWindowVisible(m_host) || ::IsIconic(m_host)) {
        ::ShowWindow(m_hwnd, SW_HIDE);
        return;
    }
    RECT r = {};
    ::GetWindowRect(m_host, &r);
    const int x = r.left - m_corner.left, y = r.top - m_corner.top;
    const int w = r.right - r.left + m_corner.left + m_corner.right;
    const int h = r.bottom - r.top + m_corner.top + m_corner.bottom;
    if (w != m_drawn.cx || h != m_drawn.cy) Redraw(w, h);
    ::SetWindowPos(m_hwnd, m_host, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOSIZE);
    POINT at = {x, y};
    ::UpdateLayeredWindow(m_hwnd, nullptr, &at, nullptr, nullptr, nullptr, 0, nullptr, 0);
}

void WindowShadow::Redraw(int width, int height) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    UniqueGdiObject dib(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return;
    {
        Gdiplus::Bitmap canvas(width, height, width * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
        Gdiplus::Graphics g(&canvas);
        g.Clear(Gdiplus::Color(0, 0, 0, 0));
        const RECT all = {0, 0, width, height};
        m_images->DrawImage(g, "file='" + m_image + "' corner='" + std::to_string(m_corner.left) + "," +
                                   std::to_string(m_corner.top) + "," + std::to_string(m_corner.right) + "," +
                                   std::to_string(m_corner.bottom) + "'",
                            all);
        // The part under the window stays clear: should the shadow ever sit
        // above its window in the z-order, it still darkens only the margin.
        g.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        Gdiplus::SolidBrush clear(Gdiplus::Color(0, 0, 0, 0));
        g.FillRectangle(&clear, static_cast<INT>(m_corner.left), static_cast<INT>(m_corner.top),
                        static_cast<INT>(width - m_corner.left - m_corner.right),
                        static_cast<INT>(height - m_corner.top - m_corner.bottom));
    }
    UniqueMemoryDC mem(::CreateCompatibleDC(screen.get()));
    SIZE size = {width, height};
    {
        ScopedSelect selected(mem.get(), dib.get());
        POINT origin = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(m_hwnd, screen.get(), nullptr, &size, mem.get(), &origin, 0, &blend, ULW_ALPHA);
    }
    m_drawn = size;
}

}  // namespace qel::ui
