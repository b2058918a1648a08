#include "skinui/window_impl_base.h"

#include <windowsx.h>

#include "skinui/skin_builder.h"
#include "skinui/web_browser_host.h"
#include "win/text_convert.h"

namespace qel::ui {
namespace {
constexpr UINT_PTR kAttentionTimer = 0x5154;  // private to the base
constexpr int kShake[] = {-8, 8, -6, 6, -3, 3, 0};
}  // namespace

WindowImplBase::~WindowImplBase() = default;

HWND WindowImplBase::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int cx,
                            int cy, HMENU menu) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {sizeof wc};
    if (!::GetClassInfoExW(instance, GetWindowClassName(), &wc)) {
        wc = WNDCLASSEXW{sizeof wc};
        wc.style = GetClassStyle();
        wc.lpfnWndProc = &WindowImplBase::WndProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = GetWindowClassName();
        if (!::RegisterClassExW(&wc)) return nullptr;
    }
    return ::CreateWindowExW(exStyle, GetWindowClassName(), name, style, x, y, cx, cy, parent, menu, instance, this);
}

void WindowImplBase::CenterWindow() {
    RECT self = {};
    ::GetWindowRect(m_hWnd, &self);
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO mi = {sizeof mi};
    ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    const RECT work = mi.rcWork;
    RECT center = work;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &center);
    const int w = self.right - self.left, h = self.bottom - self.top;
    int x = (center.left + center.right - w) / 2;
    int y = (center.top + center.bottom - h) / 2;
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowImplBase::ShowWindow(bool show, bool takeFocus) {
    ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void WindowImplBase::Close(UINT result) {
    if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, result, 0);
}

void WindowImplBase::MessageLoop() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool WindowImplBase::PreTranslateMessage(const MSG* msg) {
    return WebBrowserHost::TranslateBrowserAccelerator(msg);
}

void WindowImplBase::Notify(ui::Notify& msg) {
    if (msg.sType == L"click") OnClick(msg);
}

LRESULT WindowImplBase::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = TRUE;
    const UINT command = static_cast<UINT>(wParam & 0xFFF0);
    // A window whose layout fixes its size neither maximises nor resizes.
    if (IsFixedSize() && (command == SC_MAXIMIZE || command == SC_SIZE)) return 0;
    return DefaultProc(msg, wParam, lParam);
}

bool WindowImplBase::IsFixedSize() const {
    const WindowInfo& i = m_pm.Info();
    return i.minInfo.cx > 0 && i.minInfo.cx == i.maxInfo.cx && i.minInfo.cy == i.maxInfo.cy;
}

LRESULT WindowImplBase::OnCreate() {
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);

    const SkinArchive* archive = SharedSkinArchive(GetResourceID());
    m_pm.Init(m_hWnd, archive);
    std::string xml;
    const std::string file = WideToUtf8(GetSkinFolder() + GetSkinFile());
    if (archive && archive->ReadFile(file, xml))
        BuildSkin(xml, m_pm, [this](const std::wstring& name) { return CreateControl(name); });
    m_pm.SetNotifier(this);

    const WindowInfo& info = m_pm.Info();
    RECT r = {};
    ::GetWindowRect(m_hWnd, &r);
    const int cx = info.size.cx > 0 ? info.size.cx : r.right - r.left;
    const int cy = info.size.cy > 0 ? info.size.cy : r.bottom - r.top;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (m_pm.GetRoot()) {
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        m_pm.GetRoot()->SetPos(client);
        m_pm.GetRoot()->DoInit();
    }
    if (info.showShadow && !info.shadowImage.empty()) {
        m_shadow.Create(m_hWnd, m_pm, info.shadowImage, info.shadowCorner);
        m_shadow.Update();
    }
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(LPARAM lParam) {
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    const WindowInfo& info = m_pm.Info();
    if (!::IsZoomed(m_hWnd) && !IsFixedSize()) {
        const RECT& b = info.sizeBox;
        const bool left = pt.x < client.left + b.left, right = pt.x >= client.right - b.right;
        const bool top = pt.y < client.top + b.top, bottom = pt.y >= client.bottom - b.bottom;
        if (top && left) return HTTOPLEFT;
        if (top && right) return HTTOPRIGHT;
        if (bottom && left) return HTBOTTOMLEFT;
        if (bottom && right) return HTBOTTOMRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    const RECT& c = info.caption;
    if (pt.x >= client.left + c.left && pt.x < client.right - c.right && pt.y >= c.top && pt.y < c.bottom) {
        Control* under = m_pm.FindControl(pt);
        if (!under || !under->WantsMouse()) return HTCAPTION;
    }
    return HTCLIENT;
}

// The owner is disabled while a modal box is up; a click on it shakes the box.
void WindowImplBase::DrawAttention() {
    if (!::IsWindow(m_hModalChild)) {
        m_hModalChild = nullptr;
        return;
    }
    if (m_attentionStep < 0) ::GetWindowRect(m_hModalChild, &m_attentionHome);
    m_attentionStep = 0;
    ::SetForegroundWindow(m_hModalChild);
    FLASHWINFO fi = {sizeof fi, m_hModalChild, FLASHW_ALL, 3, 60};
    ::FlashWindowEx(&fi);
    ::SetTimer(m_hWnd, kAttentionTimer, 30, nullptr);
}

void WindowImplBase::StepAttention() {
    constexpr int steps = sizeof kShake / sizeof kShake[0];
    if (!::IsWindow(m_hModalChild) || m_attentionStep < 0 || m_attentionStep >= steps) {
        ::KillTimer(m_hWnd, kAttentionTimer);
        m_attentionStep = -1;
        return;
    }
    ::SetWindowPos(m_hModalChild, nullptr, m_attentionHome.left + kShake[m_attentionStep], m_attentionHome.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ++m_attentionStep;
}

LRESULT WindowImplBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    BOOL bHandled = TRUE;
    LRESULT result = 0;
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_NCCALCSIZE:
        return 0;  // the client area is the whole window
    case WM_NCPAINT:
        return 0;
    case WM_NCACTIVATE:
        return ::IsIconic(m_hWnd) ? DefaultProc(msg, wParam, lParam) : TRUE;
    case WM_NCHITTEST:
        return OnNcHitTest(lParam);
    case WM_GETMINMAXINFO: {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
        const WindowInfo& info = m_pm.Info();
        if (info.minInfo.cx > 0) mmi->ptMinTrackSize = {info.minInfo.cx, info.minInfo.cy};
        if (info.maxInfo.cx > 0) {
            mmi->ptMaxTrackSize = {info.maxInfo.cx, info.maxInfo.cy};
            mmi->ptMaxSize = {info.maxInfo.cx, info.maxInfo.cy};
        }
        return 0;
    }
    case WM_WINDOWPOSCHANGING: {
        // Holds the layout's size limits against every resize, not only drags.
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        const WindowInfo& info = m_pm.Info();
        if (!(wp->flags & SWP_NOSIZE) && !::IsIconic(m_hWnd)) {
            if (info.maxInfo.cx > 0) {
                if (wp->cx > info.maxInfo.cx) wp->cx = info.maxInfo.cx;
                if (wp->cy > info.maxInfo.cy) wp->cy = info.maxInfo.cy;
            }
            if (info.minInfo.cx > 0) {
                if (wp->cx < info.minInfo.cx) wp->cx = info.minInfo.cx;
                if (wp->cy < info.minInfo.cy) wp->cy = info.minInfo.cy;
            }
        }
        return DefaultProc(msg, wParam, lParam);
    }
    case WM_WINDOWPOSCHANGED:
    case WM_SHOWWINDOW:
        result = DefaultProc(msg, wParam, lParam);
        if (msg == WM_SHOWWINDOW && !wParam) ::ShowWindow(m_shadow.GetHWND(), SW_HIDE);
        else m_shadow.Update();
        if (msg == WM_WINDOWPOSCHANGED) {
            // DefWindowProc turns this into WM_SIZE/WM_MOVE; nothing more to do.
        }
        return result;
    case WM_SETCURSOR:
        if (static_cast<short>(LOWORD(lParam)) == HTERROR && (HIWORD(lParam) == WM_LBUTTONDOWN || HIWORD(lParam) == WM_RBUTTONDOWN) &&
            m_hModalChild) {
            DrawAttention();
            return TRUE;
        }
        return DefaultProc(msg, wParam, lParam);
    case WM_MODAL_CHILD:
        m_hModalChild = reinterpret_cast<HWND>(lParam);
        return 0;
    case WM_TIMER:
        if (wParam == kAttentionTimer) {
            StepAttention();
            return 0;
        }
        bHandled = FALSE;
        break;
    case WM_SYSCOMMAND:
        result = OnSysCommand(msg, wParam, lParam, bHandled);
        if (bHandled) return result;
        return DefaultProc(msg, wParam, lParam);
    case WM_DESTROY:
        m_shadow.Destroy();
        bHandled = FALSE;
        break;
    default:
        bHandled = FALSE;
        break;
    }
    result = HandleCustomMessage(msg, wParam, lParam, bHandled);
    if (bHandled) return result;
    if (m_pm.MessageHandler(msg, wParam, lParam, result)) return result;
    return DefaultProc(msg, wParam, lParam);
}

LRESULT CALLBACK WindowImplBase::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowImplBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<WindowImplBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<WindowImplBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        const LRESULT r = ::DefWindowProcW(hwnd, msg, wParam, lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        try {
            self->OnFinalMessage(hwnd);  // may delete the object
        } catch (...) {
            // Nothing may unwind through the system's dispatch.
        }
        return r;
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dispatch.
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace qel::ui
