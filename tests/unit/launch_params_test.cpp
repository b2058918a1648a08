#include "core/launch_params.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <string>
#include <vector>

namespace {

// ASCII stand-ins for the ANSI code-page conversions: unconvertible units become '?'.
std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 0x80 ? static_cast<char>(c) : '?';
    return s;
}
std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::wstring Build(std::vector<std::wstring> args) {
    args.insert(args.begin(), L"C:\\game\\qel_main.exe");
    return qel::BuildParamText(args, Narrow, Widen);
}

TEST(BuildParamText, CommandLineForms) {
    struct Case { std::vector<std::wstring> args; std::wstring want; };
    const Case cases[] = {
        // One argument: the argument itself, only --installed= is recognised.
        {{L"--token=abc"}, L"--token=abc"},
        {{L"{\"type\":1}"}, L"{\"type\":1}"},
        {{L"--installed=1"}, L"{\"installed\":\"1\"}\n"},
        {{L"x--installed=yes"}, L"{\"installed\":\"yes\"}\n"},
        // No argument: the program path is examined and nothing matches.
        {{}, L"null\n"},
        {{L"a", L"b"}, L"null\n"},
        // --tokenLogin= is tried before --token= and does not contain it.
        {{L"--tokenLogin=1", L"--token=t1"}, L"{\"token\":\"t1\",\"tokenLogin\":\"1\"}\n"},
        // The prefix counts anywhere in an argument; the value runs to its end.
        {{L"x--source=web", L"--winid=5"}, L"{\"source\":\"web\",\"winid\":\"5\"}\n"},
        {{L"--source=a--token=b", L"z"}, L"{\"source\":\"a--token=b\"}\n"},
        // The later argument wins.
        {{L"--token=first", L"--token=second"}, L"{\"token\":\"second\"}\n"},
        {{L"--winid=12ab", L"--gameMgrId=", L"--typeMode=1", L"--ovext=e=1&f=2"},
         L"{\"gameMgrId\":\"\",\"ovext\":\"e=1&f=2\",\"typeMode\":\"1\",\"winid\":\"12ab\"}\n"},
        // Case-sensitive prefixes.
        {{L"--Token=x", L"--SOURCE=y"}, L"null\n"},
        // Characters the code page cannot hold are lost on the way in.
        {{L"--source=\x4E2D", L"--token=t"}, L"{\"source\":\"?\",\"token\":\"t\"}\n"},
    };
    for (const Case& c : cases) {
        std::wstring joined;
        for (const auto& a : c.args) joined += a + L" ";
        EXPECT_EQ(Build(c.args), c.want) << std::string(joined.begin(), joined.end());
    }
}

TEST(BuildParamText, ReportsEveryExaminedElementFromTheProgramPath) {
    std::vector<size_t> seen;
    qel::BuildParamText({L"prog", L"--a", L"--b"}, Narrow, Widen,
                        [&](size_t i, const std::wstring&) { seen.push_back(i); });
    EXPECT_EQ(seen, (std::vector<size_t>{0, 1, 2}));
    seen.clear();
    qel::BuildParamText({L"prog", L"--a"}, Narrow, Widen, [&](size_t i, const std::wstring&) { seen.push_back(i); });
    EXPECT_TRUE(seen.empty());  // the one-argument form examines nothing but --installed=
}

TEST(ReadParamText, FillsOnlyStringMembers) {
    qel::LaunchParamValues v;
    ASSERT_TRUE(qel::ReadParamText(
        Narrow(Build({L"--winid=12ab", L"--source=OV", L"--tokenLogin=1", L"--token=t", L"--ovext=o",
                      L"--installed=1", L"--gameMgrId=77", L"--typeMode=1"})),
        v));
    EXPECT_EQ(v.winId, "12ab");
    EXPECT_EQ(v.source, "OV");
    EXPECT_EQ(v.tokenLogin, "1");
    EXPECT_EQ(v.token, "t");
    EXPECT_EQ(v.ovExt, "o");
    EXPECT_EQ(v.installed, 1);
    EXPECT_EQ(v.gameMgrId, "77");
    EXPECT_EQ(v.typeMode, "1");

    qel::LaunchParamValues w;
    ASSERT_TRUE(qel::ReadParamText("{\"token\":5,\"source\":null,\"installed\":\"yes\",\"winid\":\"\"}", w));
    EXPECT_FALSE(w.hasToken);
    EXPECT_FALSE(w.hasSource);
    EXPECT_TRUE(w.hasInstalled);
    EXPECT_EQ(w.installed, 0);
    EXPECT_TRUE(w.hasWinId);

    qel::LaunchParamValues n;
    EXPECT_TRUE(qel::ReadParamText("null\n", n));  // valid JSON, no members
    EXPECT_FALSE(n.hasToken || n.hasWinId || n.hasInstalled);
}

TEST(ReadParamText, RejectsTextThatIsNoJson) {
    qel::LaunchParamValues v;
    for (const char* text : {"--token=abc", "--installed=1", "abc", "", "[1,2]", "{\"token\":"})
        EXPECT_FALSE(qel::ReadParamText(text, v)) << text;
    EXPECT_FALSE(v.hasToken);
    EXPECT_EQ(v.token, "");
    // jsoncpp's reader throws beyond its nesting limit; a single argument
    // reaches the reader unchanged, so anyone starting the loader can send this.
    EXPECT_FALSE(qel::ReadParamText(std::string(5000, '['), v));
    EXPECT_FALSE(qel::ReadParamText("{\"token\":" + std::string(5000, '{'), v));
}

}  // namespace
