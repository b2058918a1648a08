#pragma once
// The launcher's splash: a borderless layered window with a per-pixel-alpha
// image, owned by the launcher dialog so that it always lies above it. The
// two windows are dragged as one; the owner keeps the flag that says which of
// them the user holds, so that the follower never moves the leader back.
#include <windows.h>

#include "dlgapp/dialog.h"
#include "launcher/ui/GdiPlusPng.h"

// Where the splash lies relative to the dialog's top-left corner.
constexpr int kSplashOffsetX = 185;
constexpr int kSplashOffsetY = 236;

// Centres on the whole screen. The dialog and the splash are placed relative
// to each other afterwards, so both use this one reference.
void CentreWindowOnScreen(HWND hwnd);

// What the splash needs from the dialog that owns it.
class ISplashOwner {
public:
    virtual HWND GetOwnerHwnd() const = 0;
    virtual void SetDragDialog(BOOL dragDialog) = 0;
    virtual BOOL GetDragDialog() const = 0;

protected:
    ~ISplashOwner() = default;
};

class CGameTopBg : public dlgapp::Dialog {
public:
    explicit CGameTopBg(ISplashOwner* pOwner);
    ~CGameTopBg() override;

    // Moves the splash to its place over the owner's current position.
    void FollowOwner();
    // Escape would cancel the splash; it never reaches it.
    bool PreTranslateMessage(MSG* msg) override;
    void DrawToLayeredWindow();

protected:
    bool OnInitDialog() override;
    // Nothing to confirm or cancel: the splash lives as long as its owner.
    void OnOK() override {}
    void OnCancel() override {}

private:
    LRESULT OnMove(WPARAM wp, LPARAM lp);
    LRESULT OnNcHitTest(WPARAM wp, LPARAM lp);

    CGdiPlusPngResource m_image;
    HWND m_hLayeredWnd = nullptr;  // kept for the layered drawing
    ISplashOwner* m_pOwner;
};
