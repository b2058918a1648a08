#include "loader/settings_file.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/close_notice.h"
#include "loader/common.h"
#include "loader/game_loader.h"

namespace {

std::string FileBytes(const std::wstring& path) {
    std::ifstream f(path.c_str(), std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

void PutFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = qel::GetSettingsFilePath();
        ::DeleteFileW(path_.c_str());
    }
    void TearDown() override { ::DeleteFileW(path_.c_str()); }
    std::wstring path_;
};

TEST_F(SettingsFile, LivesInTheOrvaneFolder) {
    EXPECT_EQ(path_, qel::GetLocalAppDataFolder() + L"\\Orvane\\setting.xml");
    EXPECT_TRUE(::PathIsDirectoryW((qel::GetLocalAppDataFolder() + L"\\Orvane").c_str()));
}

TEST_F(SettingsFile, WritesUtf8WithTinyXmlsPrinterAndCrLf) {
    std::wstring value = L"unset";
    EXPECT_FALSE(qel::ReadLoginSource(path_, value));
    EXPECT_EQ(value, L"unset");

    ASSERT_TRUE(qel::WriteWindowId(L"1234", path_));
    ASSERT_TRUE(qel::WriteLoginSource(L"abc", path_));
    EXPECT_EQ(FileBytes(path_),
              "<settings>\r\n    <ovwindowid>1234</ovwindowid>\r\n    <loginsource>abc</loginsource>\r\n</settings>\r\n");
    ASSERT_TRUE(qel::ReadWindowId(path_, value));
    EXPECT_EQ(value, L"1234");
    ASSERT_TRUE(qel::ReadLoginSource(path_, value));
    EXPECT_EQ(value, L"abc");

    // An empty source leaves an element without text; the reader keeps its value.
    ASSERT_TRUE(qel::WriteLoginSource(L"", path_));
    EXPECT_NE(FileBytes(path_).find("<ovwindowid>1234</ovwindowid>"), std::string::npos);
    value = L"kept";
    EXPECT_TRUE(qel::ReadLoginSource(path_, value));
    EXPECT_EQ(value, L"kept");

    // Values go in as UTF-8.
    ASSERT_TRUE(qel::WriteLoginSource(L"\x4E2D", path_));
    EXPECT_NE(FileBytes(path_).find("<loginsource>\xE4\xB8\xAD</loginsource>"), std::string::npos);
}

TEST_F(SettingsFile, ABrokenFileIsLeftAlone) {
    PutFile(path_, "<settings><loginsource>x</settings>");
    EXPECT_FALSE(qel::WriteWindowId(L"5", path_));
    EXPECT_EQ(FileBytes(path_), "<settings><loginsource>x</settings>");
}

// A stand-in for the platform window in this thread: SendMessageW reaches it directly.
std::vector<std::string> g_copies;

LRESULT CALLBACK PlatformProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        g_copies.push_back(std::to_string(wp) + "/" + std::to_string(cds->dwData) + "/" +
                           std::string(static_cast<const char*>(cds->lpData), cds->cbData));
        return TRUE;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
}

class GameExit : public SettingsFile {
protected:
    void SetUp() override {
        SettingsFile::SetUp();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PlatformProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QelTestPlatform";
        ::RegisterClassW(&wc);
        platform_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                      wc.hInstance, nullptr);
        ASSERT_TRUE(platform_);
        g_copies.clear();
    }
    void TearDown() override {
        ::DestroyWindow(platform_);
        SettingsFile::TearDown();
    }
    std::wstring PlatformId() const { return std::to_wstring(reinterpret_cast<ULONG_PTR>(platform_)); }

    HWND platform_ = nullptr;
};

TEST_F(GameExit, NoticeFormsReachTheRecordedPlatformWindowOnce) {
    ASSERT_TRUE(qel::WriteWindowId(PlatformId(), path_));
    ASSERT_TRUE(qel::WriteLoginSource(L"abc", path_));
    const auto record = qel::MakeCloseNotice();
    const std::string wantCopy = "0/1/" + std::string(record.begin(), record.end());
    struct Case { const wchar_t* text; bool notice; };
    const Case cases[] = {
        {L"{\"type\":1}", true},   {L"type:1", true},         {L"{type:1}", true},
        {L"{\"type\":\"1\"}", false}, {L"{\"type\":2}", false}, {L"Type:1", false},
        {L"null\n", false},        {L"{\"source\":\"OV\",\"token\":\"t\"}\n", false},
    };
    for (const Case& c : cases) {
        g_copies.clear();
        EXPECT_EQ(qel::IsGameExit(c.text), c.notice) << c.text;
        if (c.notice) {
            ASSERT_EQ(g_copies.size(), 1u) << c.text;
            EXPECT_EQ(g_copies[0], wantCopy);
        } else {
            EXPECT_TRUE(g_copies.empty()) << c.text;
        }
    }
}

TEST_F(GameExit, NoticeIsConsumedSilentlyWithoutWhatItNeeds) {
    // No file at all.
    EXPECT_TRUE(qel::IsGameExit(L"{\"type\":1}"));
    // An empty login source.
    ASSERT_TRUE(qel::WriteWindowId(PlatformId(), path_));
    ASSERT_TRUE(qel::WriteLoginSource(L"", path_));
    EXPECT_TRUE(qel::IsGameExit(L"{\"type\":1}"));
    // A source but no window recorded.
    ::DeleteFileW(path_.c_str());
    ASSERT_TRUE(qel::WriteLoginSource(L"abc", path_));
    EXPECT_TRUE(qel::IsGameExit(L"type:1"));
    // A window id that is no number goes to window 0, that is nowhere.
    ASSERT_TRUE(qel::WriteWindowId(L"x12", path_));
    EXPECT_TRUE(qel::IsGameExit(L"{type:1}"));
    EXPECT_TRUE(g_copies.empty());
}

}  // namespace
