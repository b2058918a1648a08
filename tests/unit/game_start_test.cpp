#include "core/game_start.h"

#include <gtest/gtest.h>

namespace {

TEST(GameStart, ArgumentsInTheirFixedOrder) {
    struct Case { qel::GameArgValues v; const wchar_t* want; };
    const Case cases[] = {
        {{L"S", L"1", L"T", L"X", L"65538", L"1"},
         L"--source=S --tokenLogin=1 --token=T --ovext=X --winid=65538 --typeMode=1"},
        // The source piece is always there, even empty.
        {{L"", L"1", L"T", L"", L"", L""}, L"--source= --tokenLogin=1 --token=T"},
        {{L"", L"", L"T", L"", L"", L""}, L"--source= --token=T"},
        // No game manager: no --winid= at all.
        {{L"web", L"0", L"T", L"X", L"", L"2"}, L"--source=web --tokenLogin=0 --token=T --ovext=X --typeMode=2"},
        // Values go in as held, so a blank splits them on the game's side.
        {{L"a b", L"", L"t\"k", L"", L"", L""}, L"--source=a b --token=t\"k"},
    };
    for (const Case& c : cases) EXPECT_EQ(qel::BuildGameArguments(c.v), c.want);
}

TEST(GameStart, GamePathFromRegistrationOrOwnFolder) {
    EXPECT_EQ(qel::GamePathFrom(L"D:\\Games\\qel\\", L"C:\\loader", L"qel"), L"D:\\Games\\qel\\qel.exe");
    EXPECT_EQ(qel::GamePathFrom(L"", L"C:\\loader", L"qel"), L"C:\\loader\\qel.exe");
    // A registered icon without any separator gives its bare text as the folder.
    EXPECT_EQ(qel::GamePathFrom(L"qel_main.exe", L"C:\\loader", L"qel"), L"qel_main.exeqel.exe");
}

TEST(GameStart, OpenGameRequest) {
    struct Case { const char* text; bool parsed, hasToken, hasOvExt; const char* token; const char* ovExt; };
    const Case cases[] = {
        {"{\"token\":\"T2\",\"ovext\":\"X2\"}", true, true, true, "T2", "X2"},
        {"{\"token\":\"T2\"}", true, true, false, "T2", ""},
        {"{\"token\":123,\"ovext\":null}", true, false, false, "", ""},  // other types change nothing
        {"{\"token\":\"\"}", true, true, false, "", ""},                 // an empty string does replace
        {"{}", true, false, false, "", ""},
        {"[\"token\"]", true, false, false, "", ""},
        {"not json", false, false, false, "", ""},
        {"", false, false, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const qel::OpenGameRequest r = qel::ReadOpenGameRequest(c.text);
        EXPECT_EQ(r.parsed, c.parsed);
        EXPECT_EQ(r.hasToken, c.hasToken);
        EXPECT_EQ(r.hasOvExt, c.hasOvExt);
        EXPECT_EQ(r.token, c.token);
        EXPECT_EQ(r.ovExt, c.ovExt);
    }
}

}  // namespace
