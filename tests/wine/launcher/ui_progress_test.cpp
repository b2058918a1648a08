// The launcher's image progress bar on a real progress control under Wine.
#include "launcher/ui/MyProgressCtrl.h"

#include <commctrl.h>

#include <thread>

#include <gtest/gtest.h>

#include "win/gdiplus_scope.h"

namespace {

// Counts the paints that reach the control, before the bar handles them.
LRESULT CALLBACK CountPaints(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    if (msg == WM_PAINT) ++*reinterpret_cast<int*>(data);
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// One dialog-like host for the whole suite: under Wine without a window
// manager every visible top-level window costs seconds to take down.
class ProgressBarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_gdiplus = new qel::GdiplusScope;
        s_parent = ::CreateWindowExW(0, L"STATIC", L"bar host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 300, 300,
                                     201, 59, nullptr, nullptr, nullptr, nullptr);
        // Smaller than the strip on purpose: the image decides the size.
        s_control = ::CreateWindowExW(WS_EX_TRANSPARENT, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 16,
                                      7, 120, 6, s_parent, reinterpret_cast<HMENU>(1000), nullptr, nullptr);
        s_bar = new CMyProgressCtrl;
        if (!s_bar->SubclassWindow(s_control)) return;
        ::MoveWindow(s_control, 6, 5, 190, 10, TRUE);
        s_bar->StartGdiplus();
        s_bar->InitImage();
        Pump();
    }
    static void TearDownTestSuite() {
        ::DestroyWindow(s_parent);
        delete s_bar;
        delete s_gdiplus;
    }
    void SetUp() override {
        ASSERT_TRUE(s_gdiplus->ok());
        ASSERT_TRUE(s_control);
        ASSERT_EQ(s_bar->Hwnd(), s_control);
        s_bar->SetProgress(1);  // every test starts from the start-up state
        ::SetWindowSubclass(s_control, CountPaints, 7, reinterpret_cast<DWORD_PTR>(&m_paints));
    }
    void TearDown() override { ::RemoveWindowSubclass(s_control, CountPaints, 7); }

    // Screen colour of column x of the bar, read back from the control's window.
    static COLORREF Column(int x) {
        HDC dc = ::GetDC(s_control);
        COLORREF c = ::GetPixel(dc, x, 5);
        ::ReleaseDC(s_control, dc);
        return c;
    }
    static bool IsOrange(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) > 40 && GetBValue(c) < 140; }

    static qel::GdiplusScope* s_gdiplus;
    static HWND s_parent;
    static HWND s_control;
    static CMyProgressCtrl* s_bar;
    int m_paints = 0;
};
qel::GdiplusScope* ProgressBarTest::s_gdiplus = nullptr;
HWND ProgressBarTest::s_parent = nullptr;
HWND ProgressBarTest::s_control = nullptr;
CMyProgressCtrl* ProgressBarTest::s_bar = nullptr;

TEST_F(ProgressBarTest, TakesTheStripSizeWithoutMoving) {
    RECT rc;
    ::GetWindowRect(s_control, &rc);
    ::MapWindowPoints(HWND_DESKTOP, s_parent, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 6);
    EXPECT_EQ(rc.top, 5);
    EXPECT_EQ(rc.right - rc.left, 190);
    EXPECT_EQ(rc.bottom - rc.top, 10);
}

TEST_F(ProgressBarTest, ColumnTable) {
    struct Step { int position; int previous; int fill; bool painted; };
    const Step steps[] = {
        {1, 1, 1, false},     // 1.9 columns, truncated: what start-up already shows
        {50, 1, 95, true},
        {50, 50, 95, false},  // the same position again draws nothing
        {100, 50, 190, true},
        {150, 100, 190, true},
        {60, 150, 114, true},
        {59, 60, 112, true},  // shrinks: cleared first
        {0, 59, 1, true},     // never an empty bar
        {-7, 0, 1, true},     // negative acts like 0
    };
    for (const Step& s : steps) {
        m_paints = 0;
        EXPECT_EQ(s_bar->SetProgress(s.position), s.previous) << s.position;
        EXPECT_EQ(s_bar->GetFillWidth(), s.fill) << s.position;
        EXPECT_EQ(s_bar->GetProgress(), s.position);
        EXPECT_EQ(m_paints > 0, s.painted) << s.position;
    }
}

TEST_F(ProgressBarTest, DrawsTheImageColumnsAndWipesTheStripOnShrink) {
    s_bar->SetProgress(100);
    const COLORREF full = Column(150);
    EXPECT_TRUE(IsOrange(full)) << std::hex << full;
    s_bar->SetProgress(60);  // shrinks from 190 to 114 columns
    EXPECT_TRUE(IsOrange(Column(0)));
    EXPECT_TRUE(IsOrange(Column(113)));
    // Beyond the fill the strip was wiped: one flat colour that is not the image.
    const COLORREF wiped = Column(114);
    EXPECT_NE(wiped, Column(113));
    EXPECT_EQ(Column(150), wiped);
    EXPECT_EQ(Column(189), wiped);
    s_bar->SetProgress(0);
    EXPECT_TRUE(IsOrange(Column(0)));
    EXPECT_EQ(Column(1), wiped);
    EXPECT_EQ(Column(113), wiped);
}

TEST_F(ProgressBarTest, WorkerThreadCallWaitsForThePaintOnTheWindowThread) {
    int previous = -2;
    bool done = false;
    std::thread worker([&] {
        previous = s_bar->SetProgress(75);
        done = true;
    });
    const DWORD until = ::GetTickCount() + 5000;
    while (!done && ::GetTickCount() < until) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    worker.join();
    EXPECT_EQ(previous, 1);
    EXPECT_EQ(s_bar->GetFillWidth(), 142);
    EXPECT_GT(m_paints, 0);
    EXPECT_TRUE(IsOrange(Column(141)));
}

TEST(ProgressBarWithoutWindow, ReturnsMinusOneAndKeepsItsState) {
    CMyProgressCtrl unbound;
    EXPECT_EQ(unbound.SetProgress(40), -1);
    EXPECT_EQ(unbound.GetProgress(), 0);

    qel::GdiplusScope gdiplus;
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 201, 59, nullptr, nullptr, nullptr, nullptr);
    HWND control = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 6, 5, 190, 10, parent, nullptr, nullptr,
                                     nullptr);
    CMyProgressCtrl bar;
    ASSERT_TRUE(bar.SubclassWindow(control));
    bar.StartGdiplus();
    bar.InitImage();
    EXPECT_EQ(bar.SetProgress(30), 0);
    ::DestroyWindow(parent);  // the control goes with its dialog
    EXPECT_EQ(bar.SetProgress(40), -1);
    EXPECT_EQ(bar.GetProgress(), 30);
}

}  // namespace
