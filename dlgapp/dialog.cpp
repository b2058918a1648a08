#include "dlgapp/dialog.h"

namespace dlgapp {

HINSTANCE Dialog::s_resources = nullptr;

HINSTANCE Dialog::ResourceModule() { return s_resources ? s_resources : ::GetModuleHandleW(nullptr); }

bool DataExchange::Control(int id, Window& control) {
    if (control.IsBound()) return true;
    return control.SubclassWindow(m_dialog.GetDlgItem(id));
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

HWND Dialog::CreateFromTemplate(HWND owner) {
    if (m_memoryTemplate)
        return ::CreateDialogIndirectParamW(ResourceModule(), m_memoryTemplate, owner, &Dialog::DialogProc,
                                            reinterpret_cast<LPARAM>(this));
    return ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(m_templateId), owner, &Dialog::DialogProc,
                                reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND owner) {
    m_modal = false;
    return CreateFromTemplate(owner) != nullptr;
}

INT_PTR Dialog::DoModal() {
    m_modal = true;
    m_endModal = false;
    m_result = -1;
    HWND parent = m_parent;
    bool parentWasEnabled = parent && ::IsWindowEnabled(parent);
    if (parentWasEnabled) ::EnableWindow(parent, FALSE);
    HWND hwnd = CreateFromTemplate(parent);
    if (hwnd) {
        if (!PumpUntilEnd()) m_result = -1;
        // Re-enable the owner before the dialog goes so that activation returns to it.
        if (parentWasEnabled) ::EnableWindow(parent, TRUE);
        if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
    } else if (parentWasEnabled) {
        ::EnableWindow(parent, TRUE);
    }
    m_modal = false;
    return m_result;
}

// Returns false when a WM_QUIT ended the loop.
bool Dialog::PumpUntilEnd() {
    MSG msg;
    while (!m_endModal) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            m_quitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
            return false;
        }
        // Each bound window from the target up to this dialog may take the
        // message first (a modeless child dialog swallows its own keys, say).
        bool consumed = false;
        for (HWND h = msg.hwnd; h && !consumed; h = ::GetParent(h)) {
            Window* w = Window::FromHandle(h);
            if (w) consumed = w->PreTranslateMessage(&msg);
            if (h == m_hWnd) break;
        }
        if (!consumed) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

bool Dialog::PreTranslateMessage(MSG* msg) {
    // Keyboard navigation (Tab, Enter as IDOK, Escape as IDCANCEL).
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd)
        return ::IsDialogMessageW(m_hWnd, msg) != FALSE;
    return false;
}

void Dialog::EndDialog(INT_PTR result) {
    m_result = result;
    if (m_modal) {
        m_endModal = true;
        // Wakes the loop in case the request came from outside a message.
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
    } else if (m_hWnd) {
        ::DestroyWindow(m_hWnd);
    }
}

LRESULT Dialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
        case IDOK: OnOK(); return 0;
        case IDCANCEL: OnCancel(); return 0;
        }
    }
    return Window::WindowProc(msg, wp, lp);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_INITDIALOG) return FALSE;  // everything else reaches the bound object first
    auto* self = reinterpret_cast<Dialog*>(lp);
    if (!self->SubclassWindow(hwnd)) return TRUE;
    try {
        return self->OnInitDialog() ? TRUE : FALSE;
    } catch (...) {
        return TRUE;
    }
}

}  // namespace dlgapp
