#include "loader/custom_msg_box.h"

#include <gtest/gtest.h>

#include <thread>

#include "skin_fixture.h"

namespace {

using qel::testing::RecordingWindow;

// The box is ready once its owner is disabled: text set, centred and shown.
HWND WaitForBox(HWND owner, DWORD timeoutMs = 5000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        HWND h = ::FindWindowW(L"CustomMsgBoxClass", nullptr);
        if (h && ::IsWindowVisible(h) && !::IsWindowEnabled(owner)) return h;
        if (::GetTickCount() - start > timeoutMs) return nullptr;
        ::Sleep(20);
    }
}

// Presses a control of the box the way a mouse would, from another thread
// while ShowCustomMsgBox runs its loop here.
void ClickAt(HWND box, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    ::PostMessageW(box, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(box, WM_LBUTTONUP, 0, at);
}

struct Observed {
    bool ownerDisabled = false;
    HWND modalChild = nullptr;
    RECT boxRect = {};
    std::wstring text;
};

int RunBox(RecordingWindow& owner, const std::wstring& text, void (*act)(HWND), Observed* seen = nullptr) {
    std::thread driver([&] {
        HWND box = WaitForBox(owner.hwnd());
        if (!box) return;
        if (seen) {
            seen->ownerDisabled = !::IsWindowEnabled(owner.hwnd());
            ::GetWindowRect(box, &seen->boxRect);
        }
        act(box);
    });
    const int result = qel::ShowCustomMsgBox(owner.hwnd(), text);
    driver.join();
    return result;
}

class CustomMsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(qel::testing::UseLoaderSkin());
        qel::testing::DropQuit();
    }
};

TEST_F(CustomMsgBoxTest, OkGivesOneAndClosesTheOwner) {
    RecordingWindow owner;
    Observed seen;
    const int result = RunBox(owner, L"下载失败", [](HWND box) { ClickAt(box, 220, 134 + 28 + 62); }, &seen);
    EXPECT_EQ(result, 1);
    qel::testing::Pump(100);
    EXPECT_EQ(owner.closes, 1);
    EXPECT_TRUE(seen.ownerDisabled);
    EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
    // Centred over the owner (100,100 600 x 400), 440 x 260.
    EXPECT_EQ(seen.boxRect.right - seen.boxRect.left, 440);
    EXPECT_EQ(seen.boxRect.bottom - seen.boxRect.top, 260);
    EXPECT_EQ(seen.boxRect.left, 100 + (600 - 440) / 2);
    EXPECT_EQ(seen.boxRect.top, 100 + (400 - 260) / 2);
}

TEST_F(CustomMsgBoxTest, CloseButtonGivesEightAndClosesTheOwner) {
    RecordingWindow owner;
    EXPECT_EQ(RunBox(owner, L"x", [](HWND box) { ClickAt(box, 420, 20); }), 8);
    qel::testing::Pump(100);
    EXPECT_EQ(owner.closes, 1);
}

TEST_F(CustomMsgBoxTest, SystemCloseGivesZeroAndLeavesTheOwnerOpen) {
    RecordingWindow owner;
    EXPECT_EQ(RunBox(owner, L"x", [](HWND box) { ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }), 0);
    qel::testing::Pump(100);
    EXPECT_EQ(owner.closes, 0);
    EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
}

TEST_F(CustomMsgBoxTest, QuitEndsTheBoxAndIsPostedAgain) {
    RecordingWindow owner;
    EXPECT_EQ(RunBox(owner, L"x", [](HWND box) { ::PostMessageW(box, WM_QUIT, 7, 0); }), 0);
    EXPECT_EQ(::FindWindowW(L"CustomMsgBoxClass", nullptr), nullptr);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
}

TEST_F(CustomMsgBoxTest, TextGoesToTheMessageRowNotTheTitle) {
    RecordingWindow owner;
    static std::wstring title, row, found;
    RunBox(owner, L"网络异常", [](HWND box) {
        // The box's thread waits in its loop; its controls are only read here.
        auto* base = reinterpret_cast<qel::ui::WindowImplBase*>(::GetWindowLongPtrW(box, GWLP_USERDATA));
        auto* root = dynamic_cast<qel::ui::Container*>(base->GetPaintManager().GetRoot());
        auto* head = root ? dynamic_cast<qel::ui::Container*>(root->ItemAt(0)) : nullptr;
        auto* line = dynamic_cast<qel::ui::Container*>(base->FindControl(L"verOnlyTip"));
        if (head && head->ItemAt(0)) title = head->ItemAt(0)->GetText();
        if (line && line->ItemAt(1)) row = line->ItemAt(1)->GetText();
        if (auto* c = base->FindControl(L"labelTip")) found = c->GetText();
        ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(title, L"提示");
    EXPECT_EQ(row, L"网络异常");
    EXPECT_EQ(found, L"网络异常");
}

}  // namespace
