#pragma once
// Base of the skinned windows: builds the window's controls from a layout of
// the skin archive when the window is created, then calls InitWindow. Derived
// windows override the Handle*/On* hooks. The window has no system caption or
// frame: the layout's caption band drags it, the skin draws everything.
#include <windows.h>

#include <memory>
#include <string>

#include "skinui/paint_manager.h"
#include "skinui/window_shadow.h"

namespace qel::ui {

// Sent by a modal box to its owner; lParam is the box. The owner draws
// attention to the box when it is clicked while disabled.
constexpr UINT WM_MODAL_CHILD = WM_USER + 600;  // 1624

enum class ResourceType { ZipResource };

class WindowImplBase : public NotifyReceiver {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override;
    WindowImplBase(const WindowImplBase&) = delete;
    WindowImplBase& operator=(const WindowImplBase&) = delete;

    HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x = 0, int y = 0, int cx = 0,
                int cy = 0, HMENU menu = nullptr);
    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    // Over the owner, or over the monitor's work area when there is none or it
    // is minimised; always kept inside that work area.
    void CenterWindow();
    void ShowWindow(bool show = true, bool takeFocus = true);
    // Posts WM_CLOSE with `result` as wParam.
    void Close(UINT result = IDOK);

    Control* FindControl(const std::wstring& name) const { return m_pm.FindControl(name); }
    PaintManager& GetPaintManager() { return m_pm; }
    HWND ModalChild() const { return m_hModalChild; }

    // Runs a message loop until WM_QUIT.
    static void MessageLoop();
    // The toolkit's look at a message before it is translated and dispatched;
    // true when it consumed the message.
    static bool PreTranslateMessage(const MSG* msg);

protected:
    virtual const wchar_t* GetWindowClassName() const = 0;
    virtual UINT GetClassStyle() const { return CS_DBLCLKS; }
    virtual std::wstring GetSkinFolder() { return L""; }
    virtual std::wstring GetSkinFile() = 0;
    virtual ResourceType GetResourceType() const { return ResourceType::ZipResource; }
    virtual UINT GetResourceID() const { return 0; }

    virtual void InitWindow() {}
    virtual void OnFinalMessage(HWND hwnd) {}
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT HandleCustomMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // Controls for element names the toolkit does not know; null leaves them out.
    virtual Control* CreateControl(const std::wstring& className) { return nullptr; }
    // Routes "click" to OnClick.
    void Notify(ui::Notify& msg) override;
    virtual void OnClick(ui::Notify& msg) {}

    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    PaintManager m_pm;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate();
    LRESULT OnNcHitTest(LPARAM lParam);
    bool IsFixedSize() const;
    void DrawAttention();
    void StepAttention();

    WindowShadow m_shadow;
    HWND m_hModalChild = nullptr;
    int m_attentionStep = -1;
    RECT m_attentionHome = {};
};

}  // namespace qel::ui
