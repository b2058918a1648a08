#include "loader/process_utils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "loader/common.h"
#include "loader/logger.h"
#include "win/unique_handle.h"

namespace {

// Copies of the fake game under the names the loader looks for, each staying
// alive for a while so that it can be found and ended.
class GameProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"qel_sys_process_test";
        ::CreateDirectoryW(dir_.c_str(), nullptr);
        fakeGame_ = qel::GetModuleDir() + L"\\fake_game.exe";
        ASSERT_NE(::GetFileAttributesW(fakeGame_.c_str()), INVALID_FILE_ATTRIBUTES);
        qel::EndGameProcesses(5, std::chrono::milliseconds(100));  // leftovers of an earlier run
        logStart_ = LogFileText().size();
    }
    void TearDown() override {
        for (auto& p : procs_) {
            ::TerminateProcess(p.get(), 0);
            ::WaitForSingleObject(p.get(), 5000);
        }
        procs_.clear();
        for (const std::wstring& f : files_) ::DeleteFileW(f.c_str());
        for (const std::wstring& f : folders_) ::RemoveDirectoryW(f.c_str());
        ::DeleteFileW((dir_ + L"\\record.txt").c_str());
        ::RemoveDirectoryW(dir_.c_str());
    }

    // Starts the fake game as `fileName` (in a folder of its own: Wine finds
    // files regardless of case); returns its process handle.
    HANDLE Start(const std::wstring& fileName, DWORD lingerMs = 60000) {
        const std::wstring folder = dir_ + L"\\" + (fileName == L"qel.exe" ? L"exact" : L"other");
        if (::CreateDirectoryW(folder.c_str(), nullptr)) folders_.push_back(folder);
        const std::wstring path = folder + L"\\" + fileName;
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            EXPECT_TRUE(::CopyFileW(fakeGame_.c_str(), path.c_str(), FALSE));
            files_.push_back(path);
        }
        ::SetEnvironmentVariableW(L"QEL_FAKE_GAME_LINGER_MS", std::to_wstring(lingerMs).c_str());
        ::SetEnvironmentVariableW(L"QEL_FAKE_GAME_LOG", (dir_ + L"\\record.txt").c_str());
        STARTUPINFOW si = {sizeof si};
        PROCESS_INFORMATION pi = {};
        std::wstring cmd = L"\"" + path + L"\"";
        const BOOL ok = ::CreateProcessW(path.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        ::SetEnvironmentVariableW(L"QEL_FAKE_GAME_LINGER_MS", nullptr);
        ::SetEnvironmentVariableW(L"QEL_FAKE_GAME_LOG", nullptr);
        EXPECT_TRUE(ok);
        if (!ok) return nullptr;
        ::CloseHandle(pi.hThread);
        procs_.emplace_back(pi.hProcess);
        ::WaitForInputIdle(pi.hProcess, 2000);
        ::Sleep(300);  // let it reach its sleep
        return pi.hProcess;
    }

    static std::string LogFileText() {
        std::ifstream f(qel::Logger::Instance().FileName(), std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }
    // What this test wrote to the day log.
    std::string LogText() const { return LogFileText().substr(std::min(logStart_, LogFileText().size())); }

    static bool Ended(HANDLE p, DWORD waitMs = 5000) { return ::WaitForSingleObject(p, waitMs) == WAIT_OBJECT_0; }

    std::wstring dir_, fakeGame_;
    size_t logStart_ = 0;
    std::vector<std::wstring> files_, folders_;
    std::vector<qel::UniqueHandleK> procs_;
};


TEST_F(GameProcesses, NothingRunning) {
    EXPECT_EQ(qel::GetProcessIdByName(L"qel.exe"), qel::kNoProcess);
    EXPECT_EQ(qel::GetProcessIdByName(L""), qel::kNoProcess);
    EXPECT_FALSE(qel::GeneralProcessExist());
    qel::KillGeneralProcess();
    const auto start = std::chrono::steady_clock::now();
    qel::EndGameProcesses();  // one second per pass, but no pass runs
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    // No such process: both opens fail around the privilege step.
    EXPECT_FALSE(qel::KillProcess(0x7FFFFFF0));
    if (qel::Logger::Instance().Initialised()) {
        const std::string log = LogText();
        for (const char* line : {"KillProcess] : OpenProcess1 2147483632 falsed code:87",
                                 "KillProcess] : EnableDebugPrivilege 2147483632 true",
                                 "KillProcess] : OpenProcess2 2147483632 falsed code:87"})
            EXPECT_NE(log.find(line), std::string::npos) << line;
        EXPECT_EQ(log.find("GeneralProcessExist,"), std::string::npos);
        EXPECT_EQ(log.find("taskkill"), std::string::npos);
    }
}

TEST_F(GameProcesses, FindsAndEndsTheGameByItsExactName) {
    HANDLE upper = Start(L"QEL.EXE");
    ASSERT_TRUE(upper);
    EXPECT_EQ(qel::GetProcessIdByName(L"qel.exe"), qel::kNoProcess);  // the comparison minds case
    EXPECT_FALSE(qel::GeneralProcessExist());

    HANDLE game = Start(L"qel.exe");
    ASSERT_TRUE(game);
    const DWORD id = ::GetProcessId(game);
    EXPECT_EQ(qel::GetProcessIdByName(L"qel.exe"), id);
    EXPECT_TRUE(qel::GeneralProcessExist());
    if (qel::Logger::Instance().Initialised()) {
        const std::string log = LogText();
        EXPECT_NE(log.find("Process32Next processName:QEL.EXE"), std::string::npos);
        EXPECT_NE(log.find("GeneralProcessExist,GetProcessIdByName qel.exe idProcess:" + std::to_string(id)),
                  std::string::npos);
    }
    qel::KillGeneralProcess();
    EXPECT_TRUE(Ended(game));
    DWORD code = 99;
    ::GetExitCodeProcess(game, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(Ended(upper, 0));  // other names are left alone
}

TEST_F(GameProcesses, EndGameProcessesEndsEveryCopy) {
    HANDLE first = Start(L"qel.exe");
    HANDLE second = Start(L"qel.exe");
    ASSERT_TRUE(first && second);
    const auto start = std::chrono::steady_clock::now();
    qel::EndGameProcesses(30, std::chrono::milliseconds(200));
    EXPECT_TRUE(Ended(first, 0));
    EXPECT_TRUE(Ended(second, 0));
    EXPECT_FALSE(qel::GeneralProcessExist());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(GameProcesses, OnePassEndsOnlyTheFirstCopyAndTheLimitStopsTheLoop) {
    HANDLE first = Start(L"qel.exe");
    HANDLE second = Start(L"qel.exe");
    ASSERT_TRUE(first && second);
    const auto start = std::chrono::steady_clock::now();
    qel::EndGameProcesses(1, std::chrono::milliseconds(300));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    // The direct kill succeeded, so no taskkill ran for the other copy.
    EXPECT_EQ(Ended(first, 0) + Ended(second, 0), 1);
    EXPECT_TRUE(qel::GeneralProcessExist());
}

}  // namespace
