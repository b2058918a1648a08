// The real web-browser control in a window, navigated to a local page. Wine
// has no HTML engine here, so the test records which browser events arrive and
// insists only on what the loader relies on.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "loader/ie_browser_ui.h"
#include "loader/loader_messages.h"
#include "win/com_ptr.h"

namespace {

// Records the event names and forwards to the loader's sink.
class RecordingEvents : public qel::CWebBrowserEvent {
public:
    using CWebBrowserEvent::CWebBrowserEvent;
    std::vector<std::string> seen;
    void BeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) override {
        seen.push_back("BeforeNavigate2");
    }
    void NavigateComplete2(IDispatch*, VARIANT*) override { seen.push_back("NavigateComplete2"); }
    void DocumentComplete(IDispatch* d, VARIANT* url) override {
        seen.push_back("DocumentComplete");
        CWebBrowserEvent::DocumentComplete(d, url);
    }
    void NavigateError(IDispatch* d, VARIANT* url, VARIANT* frame, VARIANT* status, VARIANT_BOOL* cancel) override {
        char buf[64];
        std::snprintf(buf, sizeof buf, "NavigateError(vt=%d,0x%08lX)", status ? status->vt : -1,
                      status && status->vt == VT_I4 ? static_cast<unsigned long>(status->lVal) : 0ul);
        seen.push_back(buf);
        CWebBrowserEvent::NavigateError(d, url, frame, status, cancel);
    }
    void CommandStateChange(long, VARIANT_BOOL) override { seen.push_back("CommandStateChange"); }
};

std::string Joined(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& e : v) s += e + " ";
    return s;
}

class BrowserWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(ole_.result()));
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &BrowserWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QelBridgeBrowserTest";
        ::RegisterClassW(&wc);
        wnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"bridge", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 640,
                                 480, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(wnd_, nullptr);
        Messages().clear();
    }
    void TearDown() override {
        if (wnd_) ::DestroyWindow(wnd_);
    }

    static std::vector<UINT>& Messages() {
        static std::vector<UINT> m;
        return m;
    }
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        if (msg >= WM_USER) Messages().push_back(msg);
        return ::DefWindowProcW(h, msg, w, l);
    }

    // Pumps until `done` holds or the time is up.
    template <typename Done>
    bool PumpUntil(Done done, DWORD ms) {
        const DWORD end = ::GetTickCount() + ms;
        while (!done()) {
            if (static_cast<LONG>(::GetTickCount() - end) >= 0) return false;
            MSG m;
            while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&m);
                ::DispatchMessageW(&m);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
        return true;
    }

    static std::wstring LocalPage() {
        wchar_t tmp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, tmp);
        const std::wstring path = std::wstring(tmp) + L"qel_bridge_page.html";
        std::ofstream(path.c_str()) << "<html><head><title>bridge</title></head><body>page</body></html>";
        return path;
    }

    qel::ScopedOle ole_;
    HWND wnd_ = nullptr;
};

TEST_F(BrowserWindow, RealControlIsCreatedInTheWindowAndReportsItsNavigation) {
    qel::CIeBrowserUI ie;
    ie.SetOwnerWindow(wnd_);
    RecordingEvents events(wnd_);
    ie.SetEventHandler(&events);
    const RECT rc = {0, 0, 640, 480};
    const HRESULT created = ie.CreateBrowser(wnd_, rc, false);
    ASSERT_EQ(created, S_OK) << std::hex << created;
    ASSERT_TRUE(ie.GetWebBrowser2());
    EXPECT_EQ(::GetParent(ie.HostWindow()), wnd_);
    EXPECT_FALSE(ie.IsBrowserShown());
    EXPECT_EQ(ie.GetWebBrowser2()->put_Silent(VARIANT_TRUE), S_OK);

    ASSERT_EQ(ie.Navigate(L"file:///" + LocalPage()), S_OK);
    // The navigation ends in DocumentComplete where an HTML engine exists, and
    // in NavigateError where it does not (Wine without Gecko).
    const bool ended = PumpUntil(
        [&] {
            for (const auto& e : events.seen)
                if (e == "DocumentComplete" || e.rfind("NavigateError", 0) == 0) return true;
            return false;
        },
        15000);
    std::printf("[ browser events: %s]\n", Joined(events.seen).c_str());
    ASSERT_TRUE(ended) << Joined(events.seen);
    EXPECT_EQ(events.seen.front(), "BeforeNavigate2");
    PumpUntil([] { return false; }, 200);

    // What reached the window follows the event rules exactly.
    const bool completed = std::find(events.seen.begin(), events.seen.end(), "DocumentComplete") != events.seen.end();
    const bool notFound =
        std::find(events.seen.begin(), events.seen.end(), "NavigateError(vt=3,0x800C0005)") != events.seen.end();
    const auto count = [](UINT msg) { return std::count(Messages().begin(), Messages().end(), msg); };
    EXPECT_EQ(count(qel::WM_NAV_ERROR), notFound ? 1 : 0);
    EXPECT_EQ(count(qel::WM_PAGE_LOADED) > 0, completed && !notFound);

    // Keyboard messages go to a browser only when they are meant for one of its windows.
    MSG key = {wnd_, WM_KEYDOWN, VK_TAB, 0};
    EXPECT_FALSE(qel::ui::WebBrowserHost::TranslateBrowserAccelerator(&key));
    const HWND inner = ::GetWindow(ie.HostWindow(), GW_CHILD);
    ASSERT_NE(inner, nullptr);
    MSG mouse = {inner, WM_MOUSEMOVE, 0, 0};
    EXPECT_FALSE(qel::ui::WebBrowserHost::TranslateBrowserAccelerator(&mouse));
    key.hwnd = inner;
    std::printf("[ Tab offered to the browser: %s ]\n",
                qel::ui::WebBrowserHost::TranslateBrowserAccelerator(&key) ? "used" : "not used");

    ie.ShowBrowser(true);
    EXPECT_TRUE(ie.IsBrowserShown());
    ie.ShowBrowser(false);
    EXPECT_FALSE(ie.IsBrowserShown());
    ie.DestroyBrowser();
    EXPECT_FALSE(ie.HasBrowser());
    EXPECT_EQ(ie.HostWindow(), nullptr);
}

}  // namespace
