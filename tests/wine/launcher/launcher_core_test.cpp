#include "launcher/game_launch_dlg.h"
#include "launcher/launcher_files.h"
#include "launcher/machine_identity.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

namespace {

std::wstring TempPath(const wchar_t* name) {
    wchar_t dir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    FILE* f = ::_wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string ReadBytes(const std::wstring& path) {
    std::string out;
    FILE* f = ::_wfopen(path.c_str(), L"rb");
    if (!f) return out;
    char buf[256];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

TEST(ReadFirstLine, Table) {
    const std::wstring path = TempPath(L"qel_first_line.txt");
    const std::pair<std::string, std::string> cases[] = {
        {"12", "12"},                              // no line end at all (as the launcher writes ver.ini)
        {"12\r\n13\r\n", "12"},                    // text mode drops the CR
        {"{\"url\":\"x\"}\nrest", "{\"url\":\"x\"}"},
        {"", ""},
        {std::string(2000, 'a') + "\nb", std::string(2000, 'a')},  // longer than one read piece
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.first);
        std::string line = "before";
        ReadFirstLine(path, line);
        EXPECT_EQ(line, c.second);
    }
    ::DeleteFileW(path.c_str());
    std::string kept = "kept";
    ReadFirstLine(path, kept);  // a missing file leaves the text alone
    EXPECT_EQ(kept, "kept");
}

TEST(WriteTextFile, WholeFileWithoutLineEnd) {
    const std::wstring path = TempPath(L"qel_ver.ini");
    WriteBytes(path, "an older and longer content\r\n");
    WriteTextFile(path, "13");
    EXPECT_EQ(ReadBytes(path), "13");
    ::DeleteFileW(path.c_str());
    WriteTextFile(TempPath(L"no_such_folder\\ver.ini"), "1");  // silently nothing
}

TEST(LauncherFiles, FoldersUseForwardSlashes) {
    std::wstring folder = LauncherFolder();
    EXPECT_EQ(folder.find(L'\\'), std::wstring::npos);
    EXPECT_NE(folder.back(), L'/');
    std::wstring docs = DocumentsFolder();
    EXPECT_EQ(docs.find(L'\\'), std::wstring::npos);
    EXPECT_EQ(docs.back(), L'/');
    EXPECT_GT(docs.size(), 1u);
}

TEST(MachineIdentity, Formats) {
    std::wstring mac = L"unchanged";
    if (QueryMacAddress(mac))
        EXPECT_TRUE(std::regex_match(mac, std::wregex(L"([0-9A-F]{2}:){5}[0-9A-F]{2}"))) << mac;
    else
        EXPECT_EQ(mac, L"unchanged");
    EXPECT_TRUE(std::regex_match(GetMemoryText(), std::regex(R"(\d+\.\d\d G/\d+\.\d\d G)"))) << GetMemoryText();
    const std::string os = GetOsName();
    EXPECT_TRUE(os.empty() || os == "Windows XP" || os == "windows 7" || os == "windows 10" ||
                os == "windows vista" || os == "Windows 2003" || os == "Windows 2000")
        << os;
    EXPECT_LE(GetCpuBrand().size(), 48u);
}

TEST(CGameLaunchDlg, ParametersArriveAsUtf8) {
    CGameLaunchDlg dlg;
    dlg.ParseLaunchParams(L"--token=abc --source=\x7F51\x9875 --ovext=1 --tokenLogin=1");
    EXPECT_EQ(dlg.Token(), "1");
    EXPECT_EQ(dlg.Source(), "\xE7\xBD\x91\xE9\xA1\xB5");
    EXPECT_EQ(dlg.Ovext(), "1");
}

}  // namespace
