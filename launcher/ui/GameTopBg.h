#pragma once
// The launcher's splash: a borderless layered window with a per-pixel-alpha
// image, owned by the launcher dialog so that it always lies above it. The
// two windows are dragged as one; the owner keeps the flag that says which of
// them the user holds, so that the follower never moves the leader back.
#include <windows.h>

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

class CGameTopBg {
public:
    explicit CGameTopBg(ISplashOwner* pOwner);
    virtual ~CGameTopBg();
    CGameTopBg(const CGameTopBg&) = delete;
    CGameTopBg& operator=(const CGameTopBg&) = delete;

    // Creates the (hidden) window from dialog template 103 of resModule.
    BOOL Create(HWND hOwnerWnd, HMODULE resModule = nullptr);
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Moves the splash to its place over the owner's current position.
    void FollowOwner();
    // Keys that must never reach the splash: Escape would cancel it.
    BOOL PreTranslateMessage(const MSG* pMsg) const;
    void DrawToLayeredWindow();

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    BOOL OnInitDialog();
    void OnMove();
    LRESULT OnNcHitTest(WPARAM wp, LPARAM lp);

    CGdiPlusPngResource m_image;
    HWND m_hWnd = nullptr;
    ISplashOwner* m_pOwner;
    HMODULE m_hResModule = nullptr;
};
