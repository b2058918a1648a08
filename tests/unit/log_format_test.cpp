#include "core/log_format.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatLogLine, PadsMillisecondsWithBlanksAndCutsTheSourcePath) {
    struct Case { int ms; const char* path; const char* want; };
    const Case cases[] = {
        {42, "Main", "2026-03-07 09:05:01. 42 [Main<30>wWinMain] : hello"},
        {5, "C:\\src\\loader\\main.cpp", "2026-03-07 09:05:01.  5 [main.cpp<30>wWinMain] : hello"},
        {0, "dir\\Main", "2026-03-07 09:05:01.  0 [Main<30>wWinMain] : hello"},
        {999, "\\Main", "2026-03-07 09:05:01.999 [\\Main<30>wWinMain] : hello"},
        {100, "/unix/path.cpp", "2026-03-07 09:05:01.100 [/unix/path.cpp<30>wWinMain] : hello"},
    };
    for (const Case& c : cases) {
        qel::LogTime t{2026, 3, 7, 9, 5, 1, c.ms};
        EXPECT_EQ(qel::FormatLogLine(t, c.path, 30, "wWinMain", "hello"), c.want);
    }
    qel::LogTime late{2026, 12, 31, 23, 59, 59, 7};
    EXPECT_EQ(qel::FormatLogLine(late, "a\\b\\Wnd.cpp", 1234, "GameLoaderWnd::InitWindow", ""),
              "2026-12-31 23:59:59.  7 [Wnd.cpp<1234>GameLoaderWnd::InitWindow] : ");
}

TEST(DayFileName, NoLeadingZeros) {
    EXPECT_EQ(qel::DayFileName("C:\\L\\qel_main.exe", 2026, 3, 7), "C:\\L\\qel_main.exe_2026_3_7.log");
    EXPECT_EQ(qel::DayFileName("qel_main.exe", 2026, 11, 30), "qel_main.exe_2026_11_30.log");
    EXPECT_EQ(qel::DayFileName("", 2026, 1, 1), "_2026_1_1.log");
}

TEST(LogFunctionName, QualifiedNameFromTheSignature) {
    struct Case { const char* pretty; const char* want; };
    const Case cases[] = {
        {"int wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)", "wWinMain"},
        {"void qel::GameLoaderWnd::InitWindow()", "GameLoaderWnd::InitWindow"},
        {"bool ParseCmdParam(std::wstring&)", "ParseCmdParam"},
        {"qel::GameLoaderWnd::GameLoaderWnd(std::wstring)", "GameLoaderWnd::GameLoaderWnd"},
        {"std::map<int, std::basic_string<char> > qel::Foo::Bar(int)", "Foo::Bar"},
        {"void qel::{anonymous}::Helper()", "Helper"},
        {"void qel::GameLoaderWnd::InitWindow()::<lambda()>", "GameLoaderWnd::InitWindow"},
    };
    for (const Case& c : cases) EXPECT_EQ(qel::LogFunctionName(c.pretty), c.want) << c.pretty;
}

}  // namespace
