#pragma once
// A dialog built from a dialog template resource, run modally with its own
// message loop (so that PreTranslateMessage sees every message first) or
// created modeless. Controls are bound to member objects by DoDataExchange.
#include "dlgapp/window.h"

namespace dlgapp {

class Dialog;

// Passed to DoDataExchange; binds dialog controls to member objects.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate) : m_dialog(dialog), m_save(saveAndValidate) {}
    bool SaveAndValidate() const { return m_save; }
    // Binds the control with this id to `control` unless it is bound already.
    // Returns false when the dialog has no such control.
    bool Control(int id, Window& control);

private:
    Dialog& m_dialog;
    bool m_save;
};

class Dialog : public Window {
public:
    Dialog(UINT templateId, HWND parent = nullptr) : m_templateId(templateId), m_parent(parent) {}
    // From a template in memory, which must outlive the window's creation.
    Dialog(const DLGTEMPLATE* memoryTemplate, HWND parent = nullptr)
        : m_memoryTemplate(memoryTemplate), m_parent(parent) {}

    // Creates the dialog and runs its message loop until EndDialog or a
    // WM_QUIT arrives. Returns the EndDialog result, -1 when the loop ended
    // by WM_QUIT or the dialog could not be created.
    INT_PTR DoModal();
    // Creates the dialog modeless; the caller's message loop serves it.
    bool Create(HWND owner);
    // Ends a modal loop with `result` (the window goes when the loop returns);
    // a modeless dialog is destroyed.
    void EndDialog(INT_PTR result);
    // The exit code carried by the WM_QUIT that ended the modal loop.
    int QuitCode() const { return m_quitCode; }

    bool UpdateData(bool saveAndValidate);
    bool PreTranslateMessage(MSG* msg) override;

    // The module that holds the dialog templates (the program by default).
    static void SetResourceModule(HINSTANCE module) { s_resources = module; }
    static HINSTANCE ResourceModule();

protected:
    virtual void DoDataExchange(DataExchange& dx) {}
    // Runs the data exchange; the result becomes the WM_INITDIALOG answer
    // (true: the system sets the focus).
    virtual bool OnInitDialog();
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND CreateFromTemplate(HWND owner);
    bool PumpUntilEnd();

    UINT m_templateId = 0;
    const DLGTEMPLATE* m_memoryTemplate = nullptr;
    HWND m_parent;
    bool m_modal = false;
    bool m_endModal = false;
    INT_PTR m_result = -1;
    int m_quitCode = 0;
    static HINSTANCE s_resources;
};

}  // namespace dlgapp
