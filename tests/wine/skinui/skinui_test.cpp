#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skinui/paint_manager.h"
#include "skinui/skin_archive.h"
#include "skinui/skin_builder.h"
#include "skinui/window_impl_base.h"

namespace {

using namespace qel::ui;

// The loader's packed skin lies beside the test program.
std::vector<unsigned char> SkinBytes() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    dir = dir.substr(0, dir.rfind(L'\\')) + L"\\qel_main_skin.zip";
    char narrow[MAX_PATH * 2] = {};
    ::WideCharToMultiByte(CP_ACP, 0, dir.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    std::ifstream in(narrow, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

const SkinArchive& Skin() {
    static SkinArchive archive;
    static bool opened = [] {
        auto bytes = SkinBytes();
        SetSkinArchiveBytes(bytes);
        WindowShadow::Initialize(::GetModuleHandleW(nullptr));
        return archive.OpenMemory(bytes.data(), bytes.size());
    }();
    EXPECT_TRUE(opened);
    return archive;
}

std::string Layout(const char* name) {
    std::string xml;
    EXPECT_TRUE(Skin().ReadFile(name, xml)) << name;
    return xml;
}

TEST(SkinArchive, ReadsFilesByNameFromMemory) {
    std::string xml;
    ASSERT_TRUE(Skin().ReadFile("GameLoader.xml", xml));
    EXPECT_NE(xml.find("wizardTab"), std::string::npos);
    EXPECT_TRUE(Skin().ReadFile("gameloader.XML", xml));  // names are matched without regard to case
    EXPECT_FALSE(Skin().ReadFile("missing.png", xml));

    auto bytes = SkinBytes();
    SkinArchive cut;
    ASSERT_TRUE(cut.OpenMemory(bytes.data(), bytes.size() / 2));  // central directory gone
    EXPECT_FALSE(cut.ReadFile("GameLoader.xml", xml));
    SkinArchive none;
    EXPECT_FALSE(none.OpenResource(::GetModuleHandleW(nullptr), L"ZIPRES", 130));
    EXPECT_FALSE(none.ReadFile("GameLoader.xml", xml));
}

TEST(SkinArchive, DamagedEntryIsRefused) {
    auto bytes = SkinBytes();
    // Flip a byte inside the first entry's compressed data: the CRC check fails.
    ASSERT_GT(bytes.size(), 100u);
    const size_t nameLen = bytes[26] | (bytes[27] << 8), extraLen = bytes[28] | (bytes[29] << 8);
    bytes[30 + nameLen + extraLen + 10] ^= 0xFF;
    SkinArchive damaged;
    ASSERT_TRUE(damaged.OpenMemory(bytes.data(), bytes.size()));
    std::string first;
    EXPECT_FALSE(damaged.ReadFile("CustomMsgBox.xml", first));
}

TEST(SkinBuilder, MessageBoxLayoutNamesAndPlaces) {
    PaintManager pm;
    pm.Init(nullptr, &Skin());
    Control* root = BuildSkin(Layout("CustomMsgBox.xml"), pm, nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(pm.Info().size.cx, 440);
    EXPECT_EQ(pm.Info().maxInfo.cy, 260);
    EXPECT_EQ(pm.Info().caption.bottom, 260);
    EXPECT_TRUE(pm.Info().showShadow);
    EXPECT_EQ(pm.Info().shadowCorner.left, 9);

    root->SetPos(RECT{0, 0, 440, 260});
    auto* row = dynamic_cast<Container*>(pm.FindControl(L"verOnlyTip"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetPos().top, 134);
    EXPECT_EQ(row->GetPos().bottom, 162);
    // The last control registered under a name wins: the message row's label.
    EXPECT_EQ(pm.FindControl(L"labelTip"), row->ItemAt(1));
    const RECT label = row->ItemAt(1)->GetPos();
    EXPECT_EQ(label.left, 10);
    EXPECT_EQ(label.right, 430);
    Control* ok = pm.FindControl(L"btnOk");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetText(), L"确定");
    EXPECT_EQ(ok->GetPos().left, 172);
    EXPECT_EQ(ok->GetPos().top, 134 + 28 + 46);
    EXPECT_EQ(ok->GetPos().right, 268);
    Control* close = pm.FindControl(L"btnClose");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->GetPos().left, 408);
    EXPECT_EQ(pm.FindControl(POINT{420, 20}), close);
    EXPECT_EQ(pm.FindControl(POINT{220, 224}), ok);
}

TEST(SkinBuilder, CustomElementsComeFromTheFactoryAndTabsShowOnePage) {
    PaintManager pm;
    pm.Init(nullptr, &Skin());
    std::vector<std::wstring> asked;
    Control* root = BuildSkin(Layout("GameLoader.xml"), pm, [&](const std::wstring& name) -> Control* {
        asked.push_back(name);
        return name == L"IeBrowser" ? new WebBrowserUI() : nullptr;
    });
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(asked, std::vector<std::wstring>{L"IeBrowser"});
    auto* ie = dynamic_cast<WebBrowserUI*>(pm.FindControl(L"ie"));
    ASSERT_NE(ie, nullptr);
    EXPECT_FALSE(ie->DelayCreate());
    auto* tab = dynamic_cast<TabLayout*>(pm.FindControl(L"wizardTab"));
    auto* progress = dynamic_cast<Progress*>(pm.FindControl(L"progress"));
    ASSERT_NE(tab, nullptr);
    ASSERT_NE(progress, nullptr);
    root->SetPos(RECT{0, 0, 960, 620});
    EXPECT_TRUE(ie->IsVisible());
    EXPECT_FALSE(pm.FindControl(L"vLayoutDownload")->IsVisible());
    ASSERT_TRUE(tab->SelectItem(1));
    EXPECT_FALSE(tab->ItemAt(0)->IsVisible());
    EXPECT_TRUE(pm.FindControl(L"vLayoutDownload")->IsVisible());
    EXPECT_EQ(progress->GetPos().left, 320);
    EXPECT_EQ(progress->GetPos().right, 850);
    EXPECT_EQ(progress->GetPos().bottom, 333);
    EXPECT_FALSE(tab->SelectItem(2));
    progress->SetValue(150);
    EXPECT_EQ(progress->GetValue(), 100);
    progress->SetValue(-1);
    EXPECT_EQ(progress->GetValue(), 0);
    EXPECT_EQ(pm.FindControl(L"progTip")->GetText(), L"正在下载游戏文件，请耐心等待.");
}

TEST(PaintManager, DecodesPngAndJpegFromTheArchive) {
    PaintManager pm;
    pm.Init(nullptr, &Skin());
    Gdiplus::Bitmap* png = pm.GetImage("gprogress_bk.png");
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->GetWidth(), 30u);
    EXPECT_EQ(png->GetHeight(), 13u);
    Gdiplus::Bitmap* jpg = pm.GetImage("tarn_download_bk.jpg");
    ASSERT_NE(jpg, nullptr);
    EXPECT_EQ(jpg->GetWidth(), 960u);
    EXPECT_EQ(pm.GetImage("GameLoader.xml"), nullptr);  // not an image
    EXPECT_EQ(pm.GetImage("nothing.png"), nullptr);
    EXPECT_NE(pm.GetFont(-1), nullptr);
}

// A window on the message-box layout that records its clicks.
class ProbeWindow : public WindowImplBase {
public:
    std::vector<std::wstring> clicks;
    bool initialised = false;
    UINT skinId = 130;

protected:
    const wchar_t* GetWindowClassName() const override { return L"QelProbeWindow"; }
    std::wstring GetSkinFile() override { return L"CustomMsgBox.xml"; }
    UINT GetResourceID() const override { return skinId; }
    void InitWindow() override { initialised = FindControl(L"btnOk") != nullptr; }
    void OnClick(qel::ui::Notify& msg) override { clicks.push_back(msg.pSender->GetName()); }
};

void Pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < ms) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(5);
    }
}

SIZE WindowSize(HWND h) {
    RECT r = {};
    ::GetWindowRect(h, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

class WindowBase : public ::testing::Test {
protected:
    void SetUp() override {
        Skin();
        ASSERT_NE(w.Create(nullptr, L"probe", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0), nullptr);
        ::SetWindowPos(w.GetHWND(), nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Pump(50);
    }
    void TearDown() override {
        if (::IsWindow(w.GetHWND())) ::DestroyWindow(w.GetHWND());
    }
    ProbeWindow w;
};

TEST_F(WindowBase, SkinIsBuiltBeforeInitWindowAndTheCaptionStyleGoes) {
    EXPECT_TRUE(w.initialised);
    const LONG_PTR style = ::GetWindowLongPtrW(w.GetHWND(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN), WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(WindowSize(w.GetHWND()).cx, 440);
    EXPECT_EQ(WindowSize(w.GetHWND()).cy, 260);
}

TEST_F(WindowBase, CaptionBandDragsExceptOverButtons) {
    auto hit = [&](int x, int y) {
        return ::SendMessageW(w.GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(50 + x, 50 + y));
    };
    EXPECT_EQ(hit(100, 60), HTCAPTION);
    EXPECT_EQ(hit(300, 150), HTCAPTION);  // the message row is no button
    EXPECT_EQ(hit(420, 20), HTCLIENT);    // btnClose
    EXPECT_EQ(hit(220, 224), HTCLIENT);   // btnOk
}

TEST_F(WindowBase, ClickNotificationsReachOnClick) {
    const HWND h = w.GetHWND();
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(220, 224));
    ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(220, 224));
    // Pressed on one button and released elsewhere: no click.
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(420, 20));
    ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(420, 20));
    ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(421, 21));
    EXPECT_EQ(w.clicks, (std::vector<std::wstring>{L"btnOk", L"btnClose"}));
}

TEST(WindowShadow, FollowsTheWindow) {
    Skin();
    // Under Wine the shadow is left out unless asked for (see window_shadow.cpp).
    ::SetEnvironmentVariableW(L"QEL_FORCE_SHADOW", L"1");
    ProbeWindow w;
    ASSERT_NE(w.Create(nullptr, L"probe", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0), nullptr);
    ::SetEnvironmentVariableW(L"QEL_FORCE_SHADOW", nullptr);
    ::SetWindowPos(w.GetHWND(), nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(w.GetHWND(), SW_SHOWNORMAL);
    Pump(50);
    const HWND shadow = ::FindWindowW(L"QelSkinShadow", nullptr);
    ASSERT_NE(shadow, nullptr);
    EXPECT_TRUE(::IsWindowVisible(shadow));
    RECT host = {}, sr = {};
    ::GetWindowRect(w.GetHWND(), &host);
    ::GetWindowRect(shadow, &sr);
    EXPECT_EQ(sr.left, host.left - 9);
    EXPECT_EQ(sr.bottom, host.bottom + 9);
    ::ShowWindow(w.GetHWND(), SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(shadow));
    ::DestroyWindow(w.GetHWND());
    EXPECT_FALSE(::IsWindow(shadow));
}

TEST_F(WindowBase, ModalChildShakesWhenTheDisabledOwnerIsClicked) {
    ProbeWindow box;
    box.Create(w.GetHWND(), L"box", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0);
    ::SetWindowPos(box.GetHWND(), nullptr, 300, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::EnableWindow(w.GetHWND(), FALSE);
    ::SendMessageW(w.GetHWND(), WM_MODAL_CHILD, 0, reinterpret_cast<LPARAM>(box.GetHWND()));
    EXPECT_EQ(w.ModalChild(), box.GetHWND());
    ::SendMessageW(w.GetHWND(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w.GetHWND()),
                   MAKELPARAM(static_cast<WORD>(HTERROR), WM_LBUTTONDOWN));
    std::vector<LONG> xs;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 600) {
        Pump(10);
        RECT r = {};
        ::GetWindowRect(box.GetHWND(), &r);
        xs.push_back(r.left);
    }
    EXPECT_NE(std::find_if(xs.begin(), xs.end(), [](LONG x) { return x != 300; }), xs.end());
    EXPECT_EQ(xs.back(), 300);  // back where it was
    ::EnableWindow(w.GetHWND(), TRUE);
    ::DestroyWindow(box.GetHWND());
}

}  // namespace

namespace {
// A fixed-size window: the loader window's limits.
class FixedWindow : public WindowImplBase {
protected:
    const wchar_t* GetWindowClassName() const override { return L"QelFixedWindow"; }
    std::wstring GetSkinFile() override { return L"GameLoader.xml"; }
    UINT GetResourceID() const override { return 130; }
};

TEST(WindowBaseFixed, NeitherMaximisesNorResizes) {
    Skin();
    FixedWindow w;
    ASSERT_NE(w.Create(nullptr, L"fixed", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0), nullptr);
    const HWND h = w.GetHWND();
    EXPECT_EQ(WindowSize(h).cx, 960);
    ::SendMessageW(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(::IsZoomed(h));
    ::SetWindowPos(h, nullptr, 0, 0, 1200, 800, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize(h).cx, 960);
    EXPECT_EQ(WindowSize(h).cy, 620);
    ::SetWindowPos(h, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowSize(h).cx, 960);
    // The border is no resize handle on a fixed window.
    RECT r = {};
    ::GetWindowRect(h, &r);
    EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(r.right - 2, r.bottom - 2)), HTCLIENT);
    ::DestroyWindow(h);
}
}  // namespace
