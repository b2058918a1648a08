#include "core/install_paths.h"

#include <gtest/gtest.h>

namespace {

TEST(InstallPaths, InstallDirFromDisplayIcon) {
    struct Case { const wchar_t* icon; const wchar_t* dir; };
    const Case cases[] = {
        {L"C:\\Program Files (x86)\\qel\\qel_main.exe", L"C:\\Program Files (x86)\\qel\\"},
        {L"C:/Games/qel/qel_main.exe", L"C:\\Games\\qel\\"},
        {L"D:/Games/qel/qel.ico", L"D:\\Games\\qel\\"},
        {L"D:\\Games/qel\\", L"D:\\Games\\qel\\"},
        {L"qel_main.exe", L"qel_main.exe"},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(qel::InstallDirFromDisplayIcon(c.icon), c.dir) << c.icon;
}

TEST(InstallPaths, WorkingFolderOfTarget) {
    EXPECT_EQ(qel::WorkingFolderOf(L"C:\\Program Files (x86)\\qel\\qel_main.exe"), L"C:\\Program Files (x86)\\qel");
    // A backslash anywhere wins over a later slash.
    EXPECT_EQ(qel::WorkingFolderOf(L"C:\\a/b/qel_main.exe"), L"C:");
    EXPECT_EQ(qel::WorkingFolderOf(L"C:/a/qel_main.exe"), L"C:/a");
    EXPECT_EQ(qel::WorkingFolderOf(L"qel_main.exe"), L"qel_main.exe");
    // An unknown Program Files folder leaves a bare leading "\".
    EXPECT_EQ(qel::WorkingFolderOf(L"\\qel\\qel_main.exe"), L"\\qel");
}

TEST(InstallPaths, RegisteredProgramNames) {
    EXPECT_EQ(qel::LoaderPathIn(L"C:\\PF\\qel", L"qel"), L"C:\\PF\\qel\\qel_main.exe");
    EXPECT_EQ(qel::UninstallerPathIn(L"C:\\PF\\qel", L"qel"), L"C:\\PF\\qel\\QelLoaderUninst.exe");
    EXPECT_EQ(qel::UninstallerPathIn(L"", L""), L"\\LoaderUninst.exe");
}

}  // namespace
