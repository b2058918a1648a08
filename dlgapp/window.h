#pragma once
// A C++ object bound to one window handle. Binding subclasses the window, so a
// derived class sees every message first (message map, then WindowProc) and
// hands the rest to the window's own procedure with Default().
#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>

namespace dlgapp {

class Window {
public:
    // A handler receives wParam and lParam and returns the message result.
    using Handler = std::function<LRESULT(WPARAM, LPARAM)>;

    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return m_hWnd; }
    bool IsBound() const { return m_hWnd != nullptr; }

    // Binds this object to an existing window (a dialog control, for example).
    bool SubclassWindow(HWND hwnd);
    // Undoes the binding; the window itself lives on.
    HWND UnsubclassWindow();
    // The bound object of a window, or null.
    static Window* FromHandle(HWND hwnd);

    // Called by message loops before dispatching; true when the message was
    // consumed.
    virtual bool PreTranslateMessage(MSG* msg) { return false; }

    // Thin wrappers kept here so that application code reads like window code.
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::PostMessageW(m_hWnd, msg, wp, lp) != FALSE;
    }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageW(m_hWnd, msg, wp, lp);
    }
    void SetWindowText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
    std::wstring GetWindowText() const;
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true) const {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint) != FALSE;
    }
    bool ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    // Centres the window on the work area of its monitor.
    void CenterWindow() const;

protected:
    // Registers a handler for one message; a later registration replaces an
    // earlier one. Handlers run before WindowProc.
    void OnMessage(UINT msg, Handler handler) { m_messageMap[msg] = std::move(handler); }
    // Messages without a handler in the map. The default passes them on.
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }
    // The window's own processing of a message (the procedure it had before binding).
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
    // Last message the window receives; the binding is released right after.
    virtual void OnFinalMessage() {}

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);

    std::unordered_map<UINT, Handler> m_messageMap;
};

}  // namespace dlgapp
