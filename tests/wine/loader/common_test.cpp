#include "loader/common.h"

#include <gtest/gtest.h>

namespace {

TEST(LoaderCommon, CodePageConversions) {
    EXPECT_EQ(qel::AnsiToWide("abc"), L"abc");
    EXPECT_EQ(qel::AnsiToWide(std::string("ab\0cd", 5)), L"ab");
    EXPECT_EQ(qel::AnsiToWide(""), L"");
    EXPECT_EQ(qel::WideToNarrow(CP_ACP, L""), "");
    const std::wstring chinese = L"\x6B63\x5728";  // 正在
    EXPECT_EQ(qel::WideToNarrow(936, chinese).size(), 4u);
    // Longer than the 260-unit buffer of the short path.
    const std::wstring big(5000, L'x');
    EXPECT_EQ(qel::AnsiToWide(qel::WideToNarrow(CP_ACP, big)), big);
    // A character the code page cannot hold becomes its default character.
    EXPECT_EQ(qel::WideToNarrow(1252, L"a\x4E2D" L"b"), "a?b");
}

TEST(LoaderCommon, FoldersHaveNoTrailingBackslash) {
    const std::wstring module = qel::GetModuleDir();
    ASSERT_FALSE(module.empty());
    EXPECT_NE(module.back(), L'\\');
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(std::wstring(self).substr(0, module.size() + 1), module + L"\\");

    for (const std::wstring& folder :
         {qel::GetLocalAppDataFolder(), qel::GetDesktopFolder(), qel::GetProgramFilesX86Folder()}) {
        ASSERT_FALSE(folder.empty());
        EXPECT_NE(folder.back(), L'\\');
        EXPECT_NE(::GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST(LoaderCommon, WindowHandlesFromDecimalText) {
    EXPECT_EQ(qel::WindowFromDecimal(L"12ab"), reinterpret_cast<HWND>(12));
    EXPECT_EQ(qel::WindowFromDecimal(L""), nullptr);
    EXPECT_EQ(qel::WindowFromDecimal(L"  65538"), reinterpret_cast<HWND>(65538));
}

}  // namespace
