// The layered splash and its coupling to the launcher dialog under Wine. A
// small stand-in plays the dialog's side of the coupling.
#include "launcher/ui/GameTopBg.h"

#include <commctrl.h>

#include <memory>

#include <gtest/gtest.h>

#include "win/gdiplus_scope.h"

namespace {

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Counts the position changes a window is asked for.
LRESULT CALLBACK CountMoves(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_WINDOWPOSCHANGING && !(reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_NOMOVE)) {
        ++*reinterpret_cast<int*>(data);
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

RECT WindowRect(HWND hwnd) {
    RECT rc = {};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

void MoveTo(HWND hwnd, int x, int y) {
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog's side: its hit test claims the drag, its move takes the splash along.
class StandInDialog final : public ISplashOwner {
public:
    StandInDialog() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"UiSplashTestDialog";
        ::RegisterClassW(&wc);
        m_hwnd = ::CreateWindowExW(WS_EX_APPWINDOW, wc.lpszClassName, L"dialog", WS_POPUP | WS_VISIBLE, 0, 0, 201,
                                   59, nullptr, nullptr, wc.hInstance, this);
    }
    ~StandInDialog() {
        m_splash.reset();
        if (m_hwnd) ::DestroyWindow(m_hwnd);
    }
    HWND GetOwnerHwnd() const override { return m_hwnd; }
    void SetDragDialog(BOOL drag) override { m_bDragDialog = drag; }
    BOOL GetDragDialog() const override { return m_bDragDialog; }

    HWND m_hwnd = nullptr;
    BOOL m_bDragDialog = FALSE;
    std::unique_ptr<CGameTopBg> m_splash;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        }
        auto* self = reinterpret_cast<StandInDialog*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_NCHITTEST) {
            self->m_bDragDialog = TRUE;
            const LRESULT hit = ::DefWindowProcW(hwnd, msg, wp, lp);
            return hit == HTCLIENT ? HTCAPTION : hit;
        }
        if (self && msg == WM_MOVE && self->m_splash && self->m_bDragDialog) self->m_splash->FollowOwner();
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
};

// One dialog and splash for the whole suite: under Wine without a window
// manager every visible top-level window costs seconds to take down.
class SplashTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_gdiplus = new qel::GdiplusScope;
        s_dialog = new StandInDialog;
        s_dialog->m_splash = std::make_unique<CGameTopBg>(s_dialog);
        if (!s_dialog->m_splash->Create(s_dialog->m_hwnd)) return;
        ::ShowWindow(s_dialog->m_splash->Hwnd(), SW_SHOWNORMAL);
        Pump();
    }
    static void TearDownTestSuite() {
        delete s_dialog;
        delete s_gdiplus;
    }
    void SetUp() override {
        ASSERT_TRUE(s_gdiplus->ok());
        ASSERT_TRUE(s_dialog->m_hwnd);
        m_splash = s_dialog->m_splash->Hwnd();
        ASSERT_TRUE(m_splash);
    }
    // Puts both windows where the launcher's start-up does: the dialog at
    // (x, y), the splash at its offset, without a drag in progress.
    void Place(int x, int y) {
        MoveTo(m_dialog.m_hwnd, x, y);
        MoveTo(m_splash, x - kSplashOffsetX, y - kSplashOffsetY);
        Pump();
    }
    static LRESULT HitTest(HWND hwnd, int x, int y) {
        return ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    }

    static qel::GdiplusScope* s_gdiplus;
    static StandInDialog* s_dialog;
    StandInDialog& m_dialog = *s_dialog;
    HWND m_splash = nullptr;
};
qel::GdiplusScope* SplashTest::s_gdiplus = nullptr;
StandInDialog* SplashTest::s_dialog = nullptr;

TEST_F(SplashTest, IsALayeredImageOwnedByTheDialog) {
    const RECT rc = WindowRect(m_splash);
    EXPECT_EQ(rc.right - rc.left, 451);
    EXPECT_EQ(rc.bottom - rc.top, 372);
    EXPECT_TRUE(::GetWindowLongPtrW(m_splash, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(::GetWindowLongPtrW(m_splash, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(::GetWindow(m_splash, GW_OWNER), m_dialog.m_hwnd);
}

TEST_F(SplashTest, FollowsTheDraggedDialogWithoutMovingItBack) {
    Place(859, 510);
    RECT splash = WindowRect(m_splash);
    EXPECT_EQ(splash.left, 674);
    EXPECT_EQ(splash.top, 274);

    int dialogMoves = 0;
    int splashMoves = 0;
    ::SetWindowSubclass(m_dialog.m_hwnd, CountMoves, 1, reinterpret_cast<DWORD_PTR>(&dialogMoves));
    ::SetWindowSubclass(m_splash, CountMoves, 1, reinterpret_cast<DWORD_PTR>(&splashMoves));
    struct Unhook {
        HWND a, b;
        ~Unhook() { ::RemoveWindowSubclass(a, CountMoves, 1); ::RemoveWindowSubclass(b, CountMoves, 1); }
    } unhook{m_dialog.m_hwnd, m_splash};

    // The user grabs the dialog and drags it 10 pixels to the right.
    EXPECT_EQ(HitTest(m_dialog.m_hwnd, 900, 530), HTCAPTION);
    EXPECT_TRUE(m_dialog.m_bDragDialog);
    MoveTo(m_dialog.m_hwnd, 869, 510);
    Pump();
    splash = WindowRect(m_splash);
    EXPECT_EQ(splash.left, 684);
    EXPECT_EQ(splash.top, 274);
    EXPECT_EQ(splash.right - splash.left, 451);
    EXPECT_EQ(dialogMoves, 1);
    EXPECT_EQ(splashMoves, 1);

    // Then grabs the splash and drags it up and left.
    dialogMoves = splashMoves = 0;
    EXPECT_EQ(HitTest(m_splash, 700, 300), HTCAPTION);
    EXPECT_FALSE(m_dialog.m_bDragDialog);
    MoveTo(m_splash, 600, 200);
    Pump();
    const RECT dialog = WindowRect(m_dialog.m_hwnd);
    EXPECT_EQ(dialog.left, 785);
    EXPECT_EQ(dialog.top, 436);
    EXPECT_EQ(dialog.right - dialog.left, 201);
    EXPECT_EQ(dialogMoves, 1);
    EXPECT_EQ(splashMoves, 1);
}

TEST_F(SplashTest, HitTestAnswersCaptionInsideAndNowhereOutside) {
    Place(400, 400);
    const RECT rc = WindowRect(m_splash);
    EXPECT_EQ(HitTest(m_splash, rc.left + 5, rc.top + 5), HTCAPTION);
    EXPECT_EQ(HitTest(m_splash, rc.right + 50, rc.bottom + 50), HTNOWHERE);
}

TEST_F(SplashTest, EscapeAndEnterDoNothing) {
    MSG msg = {};
    msg.hwnd = m_splash;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    EXPECT_TRUE(m_dialog.m_splash->PreTranslateMessage(&msg));

    // As the launcher's message loop serves the keys: every bound window from
    // the target upwards may take them first, then they are dispatched.
    ::SetFocus(m_splash);
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        ::PostMessageW(m_splash, WM_KEYDOWN, key, 0);
        ::PostMessageW(m_splash, WM_KEYUP, key, 0);
    }
    MSG queued;
    while (::PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE)) {
        dlgapp::Window* target = dlgapp::Window::FromHandle(queued.hwnd);
        if (target && target->PreTranslateMessage(&queued)) continue;
        ::TranslateMessage(&queued);
        ::DispatchMessageW(&queued);
    }
    // Whatever turns a key into a command, the splash has nothing to end.
    ::SendMessageW(m_splash, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ::SendMessageW(m_splash, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Pump();
    EXPECT_TRUE(::IsWindow(m_splash));
    EXPECT_TRUE(::IsWindowVisible(m_splash));
    EXPECT_TRUE(::IsWindow(m_dialog.m_hwnd));
}

}  // namespace
