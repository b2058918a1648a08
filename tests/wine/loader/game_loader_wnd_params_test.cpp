#include "loader/game_loader_wnd.h"

#include <gtest/gtest.h>

#include "skin_fixture.h"

namespace {

TEST(GameLoaderWndParams, ReadsMembersFromTheParameterText) {
    qel::GameLoaderWnd w(
        L"{\"gameMgrId\":\"77\",\"installed\":\"1\",\"ovext\":\"e\",\"source\":\"OV\",\"token\":\"t\","
        L"\"tokenLogin\":\"1\",\"typeMode\":\"1\",\"winid\":\"12ab\"}\n");
    EXPECT_TRUE(w.ParseCmdJson());
    EXPECT_EQ(w.WinId(), L"12ab");
    EXPECT_EQ(w.Source(), L"OV");
    EXPECT_EQ(w.TokenLogin(), L"1");
    EXPECT_EQ(w.Token(), L"t");
    EXPECT_EQ(w.OvExt(), L"e");
    EXPECT_EQ(w.GameInstalled(), 1);
    EXPECT_EQ(w.GameMgrId(), L"77");
    EXPECT_EQ(w.TypeMode(), L"1");
}

TEST(GameLoaderWndParams, UnreadableTextsKeepStartValues) {
    for (const wchar_t* text : {L"", L"--token=abc", L"null\n", L"{\"token\":5,\"installed\":\"yes\"}"}) {
        qel::GameLoaderWnd w(text);
        w.ParseCmdJson();
        EXPECT_EQ(w.Token(), L"");
        EXPECT_EQ(w.GameInstalled(), 0);
        EXPECT_EQ(w.WinId(), L"");
    }
    qel::testing::DropQuit();
}

}  // namespace
