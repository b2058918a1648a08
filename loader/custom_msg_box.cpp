#include "loader/custom_msg_box.h"

#include <memory>

namespace qel {

void CustomMsgBox::InitWindow() {
    m_pBtnClose = FindControl(L"btnClose");
    m_pBtnOk = FindControl(L"btnOk");
}

LRESULT CustomMsgBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCLBUTTONDBLCLK) return 0;
    return WindowImplBase::HandleMessage(msg, wParam, lParam);
}

void CustomMsgBox::OnClick(ui::Notify& msg) {
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (msg.pSender == m_pBtnClose && m_pBtnClose) {
        if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, 8, 0);
        ::PostMessageW(owner, WM_CLOSE, 0, 0);
    } else if (msg.pSender == m_pBtnOk && m_pBtnOk) {
        if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, 1, 0);
        if (m_bCloseOwner) ::PostMessageW(owner, WM_CLOSE, 0, 0);
    }
}

int ShowCustomMsgBox(HWND owner, const std::wstring& text) {
    std::unique_ptr<CustomMsgBox> box(new CustomMsgBox(true));
    const HWND hwnd = box->Create(owner, L"CustomMsgBox", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0);
    if (!hwnd) return 0;
    if (!text.empty()) {
        // The name index keeps the last "labelTip": the message row, not the title.
        if (ui::Control* tip = box->FindControl(L"labelTip")) tip->SetText(text);
    }
    box->CenterWindow();
    const HWND boxOwner = ::GetWindow(hwnd, GW_OWNER);
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::EnableWindow(boxOwner, FALSE);
    ::SendMessageW(boxOwner, ui::WM_MODAL_CHILD, 0, reinterpret_cast<LPARAM>(hwnd));

    int result = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    while (::IsWindow(hwnd)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            quitCode = msg.wParam;
            break;
        }
        if (msg.message == WM_CLOSE && msg.hwnd == hwnd) {
            result = static_cast<int>(msg.wParam);
            // Before the box goes, so that activation returns to the owner.
            ::EnableWindow(boxOwner, TRUE);
            ::SetFocus(boxOwner);
        }
        if (ui::WindowImplBase::PreTranslateMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    ::EnableWindow(boxOwner, TRUE);
    ::SetFocus(boxOwner);
    if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
    if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
    return result;
}

}  // namespace qel
