#include "core/page_address.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/launch_params.h"

namespace {

const std::wstring kBase = L"https://games.example/client/index/qel";

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }
std::wstring Widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The loader's path from command line to address: parameter text, values read
// back, address.
std::wstring AddressFromCommandLine(std::vector<std::wstring> args, const std::wstring& fileParam) {
    args.insert(args.begin(), L"qel_main.exe");
    qel::LaunchParamValues read;
    qel::ReadParamText(Narrow(qel::BuildParamText(args, Narrow, Widen)), read);
    qel::GamePageValues v;
    v.fileParam = fileParam;
    v.token = Widen(read.token);
    v.source = Widen(read.source);
    v.ovExt = Widen(read.ovExt);
    v.tokenLogin = Widen(read.tokenLogin);
    return qel::BuildGamePageAddress(kBase, v);
}

TEST(GamePageAddress, PiecesInFixedOrder) {
    struct Case { std::vector<std::wstring> args; std::wstring fileParam; std::wstring want; };
    const std::wstring all = kBase + L"?fileparam=A1&token=T&source=OV&ovext=E&tokenLogin=0";
    const Case cases[] = {
        // Nothing given: fileparam alone, even when empty.
        {{}, L"", kBase + L"?fileparam="},
        {{L"--winid=5", L"--installed=1"}, L"A1", kBase + L"?fileparam=A1"},
        // Every order of the command line gives the same order of keys.
        {{L"--token=T", L"--source=OV", L"--ovext=E", L"--tokenLogin=0"}, L"A1", all},
        {{L"--tokenLogin=0", L"--ovext=E", L"--source=OV", L"--token=T"}, L"A1", all},
        {{L"--ovext=E", L"--token=T", L"--tokenLogin=0", L"--source=OV"}, L"A1", all},
        // Empty values leave their key out; the rest keep their order.
        {{L"--token=", L"--source=OV", L"--tokenLogin=0"}, L"A1",
         kBase + L"?fileparam=A1&source=OV&tokenLogin=0"},
        // Values go on unescaped, so the page sees the query split there.
        {{L"--ovext=a=1&b=2 c", L"--token=t k"}, L"x&y z",
         kBase + L"?fileparam=x&y z&token=t k&ovext=a=1&b=2 c"},
        {{L"--source=%41+", L"--token=?#"}, L"", kBase + L"?fileparam=&token=?#&source=%41+"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AddressFromCommandLine(c.args, c.fileParam), c.want) << Narrow(c.want);
    }
}

TEST(GamePageAddress, BuiltInBaseIsHttpsGamePagePath) {
    const std::string base = qel::kGamePageBase;
    EXPECT_EQ(base.rfind("https://", 0), 0u);
    EXPECT_EQ(base.substr(base.size() - 17), "/client/index/qel");
}

TEST(IsWebAddress, OnlyHttpAndHttpsGoToTheShell) {
    const struct { const wchar_t* address; bool web; } cases[] = {
        {L"http://example.com/", true},
        {L"https://example.com/a?b=c", true},
        {L"HTTPS://Example.com", true},
        {L"hTtP://x", true},
        {L"http://", false},
        {L"file:///C:/Windows/system32/calc.exe", false},
        {L"C:\\Windows\\system32\\calc.exe", false},
        {L"calc.exe", false},
        {L"javascript:alert(1)", false},
        {L"mailto:a@b.c", false},
        {L"ftp://example.com", false},
        {L" http://example.com", false},
        {L"httpx://example.com", false},
        {L"\\\\server\\share\\x.exe", false},
        {L"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qel::IsWebAddress(c.address), c.web) << Narrow(c.address);
    }
}

}  // namespace
