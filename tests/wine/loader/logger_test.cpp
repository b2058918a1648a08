#include "loader/logger.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string TempFolder(const char* name) {
    char tmp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, tmp);
    std::string folder = std::string(tmp) + name + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Today(const std::string& base) {
    SYSTEMTIME t = {};
    ::GetLocalTime(&t);
    return qel::DayFileName(base, t.wYear, t.wMonth, t.wDay);
}

TEST(Logger, WritesFlushedCrLfLinesToTheDayFileBelowTheThreshold) {
    const std::string folder = TempFolder("qel_logger_day");
    {  // A leftover probe file is overwritten and removed.
        std::ofstream leftover(folder + "debug.txt");
        leftover << "old";
    }
    qel::Logger log(folder);
    ASSERT_TRUE(log.Initialised());
    EXPECT_EQ(log.SinkMask(), 0x15u);
    EXPECT_EQ(log.FileName(), Today(folder + "loader_tests.exe"));
    EXPECT_EQ(::GetFileAttributesA((folder + "debug.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    const auto before = ReadLines(log.FileName()).size();

    log.Write(2, "C:\\src\\loader\\Main.cpp", 30, "wWinMain", L"Logger::initializePathDir:" + std::wstring(L"X"));
    log.Write(3, "Main.cpp", 31, "wWinMain", L"too verbose");
    log.Write(0, "Main.cpp", 32, "wWinMain", L"failure");
    // Read while the writer is still open: every line is flushed at once.
    const auto lines = ReadLines(log.FileName());
    ASSERT_EQ(lines.size(), before + 2);
    EXPECT_TRUE(EndsWith(lines[before], " [Main.cpp<30>wWinMain] : Logger::initializePathDir:X\r"))
        << lines[before];
    EXPECT_TRUE(EndsWith(lines[before + 1], " [Main.cpp<32>wWinMain] : failure\r")) << lines[before + 1];
    EXPECT_EQ(lines[before].size(), std::string("2026-03-07 09:05:01. 42").size() +
                                        std::string(" [Main.cpp<30>wWinMain] : Logger::initializePathDir:X\r").size());
}

TEST(Logger, FolderThatTakesNoFilesFallsBackOrStaysQuiet) {
    // Wine hands out the console user's token, so the fallback is that user's
    // Documents folder; on Windows a plain user process gets no token and the
    // writer either drops to the no-file sinks ("D:\" exists) or stays silent.
    // The last fallback names files relative to the current folder: keep that in temp.
    char before[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, before);
    ::SetCurrentDirectoryA(TempFolder("qel_logger_fallback").c_str());
    qel::Logger log("Z:\\no\\such\\folder\\anywhere\\");
    if (log.Initialised() && (log.SinkMask() & qel::Logger::kFile)) {
        EXPECT_NE(log.Folder(), "Z:\\no\\such\\folder\\anywhere\\");
        EXPECT_TRUE(log.Folder().empty() || log.Folder().back() == '\\');
        log.Write(2, "a.cpp", 1, "f", L"fallback line");
        const auto lines = ReadLines(log.FileName());
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(EndsWith(lines.back(), "[a.cpp<1>f] : fallback line\r"));
    } else if (log.Initialised()) {
        EXPECT_EQ(log.SinkMask(), 0x16u);
        log.Write(2, "a.cpp", 1, "f", L"no file");  // must not fail
    } else {
        log.Write(2, "a.cpp", 1, "f", L"dropped");
    }
    ::SetCurrentDirectoryA(before);
}

TEST(Logger, ProcessWideWriterWritesToItsDayFile) {
    // The folder was set before the first call of the process (test_log_folder.cpp).
    EXPECT_NE(qel::Logger::Instance().FileName().find("qel_loader_tests\\loader_tests.exe_"), std::string::npos)
        << qel::Logger::Instance().FileName();
    QEL_LOG(2, L"first " << 42);
    const auto lines = ReadLines(qel::Logger::Instance().FileName());
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(EndsWith(lines.back(), "logger_test.cpp<" + std::to_string(__LINE__ - 3) +
                                           ">Logger_ProcessWideWriterWritesToItsDayFile_Test::"
                                           "TestBody] : first 42\r"))
        << lines.back();
    qel::Logger::SetLogFolder("elsewhere\\");  // read once: no effect after bring-up
    QEL_LOG(2, L"second");
    EXPECT_EQ(ReadLines(qel::Logger::Instance().FileName()).size(), lines.size() + 1);
}

}  // namespace
