// The loader window opening its game page: the real page control of the skin,
// its event sink, silent mode, the address it was sent to, and the page kept
// hidden until WM_PAGE_LOADED.
#include <gtest/gtest.h>
#include <windows.h>
#include <exdisp.h>

#include <string>

#include "build_config.h"
#include "loader/game_loader_wnd.h"
#include "loader/loader_messages.h"
#include "skin_fixture.h"
#include "win/com_ptr.h"

namespace {

class PageWindow : public qel::GameLoaderWnd {
public:
    using GameLoaderWnd::GameLoaderWnd;
    qel::CIeBrowserUI* Ie() const { return m_pIe; }
    qel::CWebBrowserEvent* Sink() const { return m_pBrowserEvent.get(); }
};

std::wstring Location(qel::CIeBrowserUI* ie) {
    BSTR loc = nullptr;
    if (FAILED(ie->GetWebBrowser2()->get_LocationURL(&loc)) || !loc) return L"";
    std::wstring s(loc, ::SysStringLen(loc));
    ::SysFreeString(loc);
    return s;
}

class GamePage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(ole_.result()));
        ASSERT_TRUE(qel::testing::UseLoaderSkin());
        qel::testing::DropQuit();
    }
    void TearDown() override {
        if (::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);  // deletes the window object
        qel::testing::DropQuit();
    }
    PageWindow* Open(const wchar_t* params) {
        auto* w = new PageWindow(params);
        hwnd_ = w->Create(nullptr, L"Kelvadune-test", WS_OVERLAPPEDWINDOW, 0);
        if (!hwnd_) return nullptr;
        ::ShowWindow(hwnd_, SW_HIDE);  // as the entry does right after creation
        return w;
    }

    qel::ScopedOle ole_;
    HWND hwnd_ = nullptr;
};

TEST_F(GamePage, OpensTheAddressHiddenAndShowsItOnPageLoaded) {
    PageWindow* w = Open(L"{\"ovext\":\"a&b c\",\"source\":\"OV\",\"token\":\"t1\",\"tokenLogin\":\"0\"}");
    ASSERT_NE(w, nullptr);
    qel::CIeBrowserUI* ie = w->Ie();
    ASSERT_NE(ie, nullptr);
    ASSERT_TRUE(ie->HasBrowser());
    EXPECT_EQ(ie->GetEventHandler(), w->Sink());
    VARIANT_BOOL silent = VARIANT_FALSE;
    EXPECT_EQ(ie->GetWebBrowser2()->get_Silent(&silent), S_OK);
    EXPECT_EQ(silent, VARIANT_TRUE);
    EXPECT_FALSE(ie->IsVisible());
    EXPECT_FALSE(ie->IsBrowserShown());

    // The browser itself percent-encodes the blank the loader passed on as it was.
    const std::wstring want = L"https://" + std::wstring(QEL_GAME_PAGE_HOST, QEL_GAME_PAGE_HOST +
                                                                                 sizeof(QEL_GAME_PAGE_HOST) - 1) +
                              L"/client/index/qel?fileparam=&token=t1&source=OV&ovext=a&b%20c&tokenLogin=0";
    std::wstring got;
    qel::testing::PumpUntil([&] { return (got = Location(ie)) == want; }, 5000);
    EXPECT_EQ(got, want);
    // Without an HTML engine the page ends in an error Wine reports as a download
    // failure: the window stays hidden.
    qel::testing::Pump(300);
    EXPECT_FALSE(::IsWindowVisible(hwnd_));

    ::PostMessageW(hwnd_, qel::WM_PAGE_LOADED, 0, 0);
    qel::testing::PumpUntil([&] { return ::IsWindowVisible(hwnd_) != FALSE; }, 3000);
    EXPECT_TRUE(::IsWindowVisible(hwnd_));
    EXPECT_TRUE(ie->IsVisible());
    EXPECT_TRUE(ie->IsBrowserShown());
    EXPECT_TRUE(::IsWindowVisible(ie->HostWindow()));
}

TEST_F(GamePage, DirectGameStartNeverOpensThePage) {
    PageWindow* w = Open(L"{\"token\":\"t1\",\"tokenLogin\":\"1\"}");
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->Ie(), nullptr);
    EXPECT_EQ(w->Ie()->GetEventHandler(), nullptr);
    EXPECT_TRUE(w->Ie()->IsVisible());  // only LoadWeb hides it
}

}  // namespace
