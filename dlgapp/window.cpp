#include "dlgapp/window.h"

#include <commctrl.h>

#include <vector>

namespace dlgapp {
namespace {
// One subclass id for every bound object; the object pointer travels as the
// reference data, and a window property lets FromHandle find it again.
constexpr UINT_PTR kSubclassId = 0x514C;
constexpr wchar_t kObjectProp[] = L"dlgapp.Window";
}  // namespace

Window::~Window() { UnsubclassWindow(); }

bool Window::SubclassWindow(HWND hwnd) {
    if (!hwnd || m_hWnd) return false;
    if (!::SetWindowSubclass(hwnd, &Window::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    ::SetPropW(hwnd, kObjectProp, this);
    m_hWnd = hwnd;
    return true;
}

HWND Window::UnsubclassWindow() {
    HWND hwnd = m_hWnd;
    if (!hwnd) return nullptr;
    ::RemoveWindowSubclass(hwnd, &Window::SubclassProc, kSubclassId);
    ::RemovePropW(hwnd, kObjectProp);
    m_hWnd = nullptr;
    return hwnd;
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(::GetPropW(hwnd, kObjectProp)) : nullptr;
}

std::wstring Window::GetWindowText() const {
    int n = ::GetWindowTextLengthW(m_hWnd);
    if (n <= 0) return {};
    std::vector<wchar_t> buf(static_cast<size_t>(n) + 1);
    n = ::GetWindowTextW(m_hWnd, buf.data(), n + 1);
    return std::wstring(buf.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

void Window::CenterWindow() const {
    RECT r = {};
    ::GetWindowRect(m_hWnd, &r);
    MONITORINFO mi = {sizeof(mi)};
    HMONITOR mon = ::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY);
    if (!::GetMonitorInfoW(mon, &mi)) return;
    const RECT& area = mi.rcWork;
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Window::Default(UINT msg, WPARAM wp, LPARAM lp) { return ::DefSubclassProc(m_hWnd, msg, wp, lp); }

LRESULT Window::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    auto it = m_messageMap.find(msg);
    if (it != m_messageMap.end()) return it->second(wp, lp);
    return WindowProc(msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<Window*>(ref);
    if (msg == WM_NCDESTROY) {
        // Unbind first so that nothing reaches the object once the window is gone.
        LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
        self->UnsubclassWindow();
        try {
            self->OnFinalMessage();
        } catch (...) {
            // As below: the system's window code cannot unwind.
        }
        return r;
    }
    // No exception may unwind through the system's window code.
    try {
        return self->Dispatch(msg, wp, lp);
    } catch (...) {
        return ::DefSubclassProc(hwnd, msg, wp, lp);
    }
}

}  // namespace dlgapp
