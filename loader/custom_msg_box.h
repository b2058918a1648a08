#pragma once
// The loader's skinned modal message box: title, warning icon, one line of
// text, an OK and a close button. Both buttons also close the owner window.
#include <windows.h>

#include <string>

#include "skinui/window_impl_base.h"

namespace qel {

class CustomMsgBox : public ui::WindowImplBase {
public:
    explicit CustomMsgBox(bool closeOwner) : m_bCloseOwner(closeOwner) {}

protected:
    const wchar_t* GetWindowClassName() const override { return L"CustomMsgBoxClass"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void OnClick(ui::Notify& msg) override;
    std::wstring GetSkinFolder() override { return L""; }
    std::wstring GetSkinFile() override { return L"CustomMsgBox.xml"; }
    ui::ResourceType GetResourceType() const override { return ui::ResourceType::ZipResource; }
    UINT GetResourceID() const override { return 130; }

private:
    ui::Control* m_pBtnClose = nullptr;
    ui::Control* m_pBtnOk = nullptr;
    bool m_bCloseOwner;
};

// Shows the box over `owner` and waits for it: 1 after OK, 8 after the close
// button, 0 when it was closed another way (for example Alt+F4). A WM_QUIT that
// arrives meanwhile ends the wait and is posted again for the outer loop.
int ShowCustomMsgBox(HWND owner, const std::wstring& text);

}  // namespace qel
