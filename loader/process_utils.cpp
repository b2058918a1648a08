#include "loader/process_utils.h"

#include <tlhelp32.h>

#include <thread>

#include "loader/common.h"
#include "loader/logger.h"
#include "win/unique_handle.h"

namespace qel {

namespace {

// Program file names the loader treats as the game.
const wchar_t* const kGameProcessNames[] = {L"qel.exe"};

// `error` receives the system error of the step that failed.
bool EnableDebugPrivilege(DWORD& error) {
    UniqueHandleK token;
    TOKEN_PRIVILEGES tp = {};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()) &&
        ::LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &tp.Privileges[0].Luid) &&
        ::AdjustTokenPrivileges(token.get(), FALSE, &tp, sizeof tp, nullptr, nullptr))
        return true;
    error = ::GetLastError();
    return false;
}

}  // namespace

DWORD GetProcessIdByName(const std::wstring& name) {
    if (name.empty()) return kNoProcess;
    UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return kNoProcess;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        QEL_LOG(0, L"Process32Next processName:" << entry.szExeFile);
        if (::lstrcmpW(entry.szExeFile, name.c_str()) == 0) return entry.th32ProcessID;
    }
    return kNoProcess;
}

bool KillProcess(DWORD processId) {
    UniqueHandleK process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process) {
        DWORD error = ::GetLastError();
        QEL_LOG(0, L"OpenProcess1 " << processId << L" falsed code:" << error);
        if (EnableDebugPrivilege(error))
            QEL_LOG(0, L"EnableDebugPrivilege " << processId << L" true");
        else
            QEL_LOG(0, L"EnableDebugPrivilege " << processId << L" falsed code:" << error);
        process.reset(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
        if (!process) {
            error = ::GetLastError();
            QEL_LOG(0, L"OpenProcess2 " << processId << L" falsed code:" << error);
            return false;
        }
    }
    return ::TerminateProcess(process.get(), 0) != FALSE;
}

void KillGeneralProcess() {
    for (const wchar_t* name : kGameProcessNames) {
        const DWORD id = GetProcessIdByName(name);
        if (id == kNoProcess || KillProcess(id)) continue;
        const std::string command = "taskkill /f /im " + WideToNarrow(CP_ACP, name);
        if (::WinExec(command.c_str(), SW_HIDE) < 32) {
            const DWORD error = ::GetLastError();
            QEL_LOG(0, L"KillProcess " << name << L" falsed code:" << error);
        }
    }
}

bool GeneralProcessExist() {
    for (const wchar_t* name : kGameProcessNames) {
        const DWORD id = GetProcessIdByName(name);
        if (id != kNoProcess) {
            QEL_LOG(0, L"GeneralProcessExist,GetProcessIdByName " << name << L" idProcess:" << id);
            return true;
        }
    }
    return false;
}

void EndGameProcesses(int maxPasses, std::chrono::nanoseconds pause) {
    for (int pass = 1; pass <= maxPasses && GeneralProcessExist(); ++pass) {
        KillGeneralProcess();
        std::this_thread::sleep_for(pause);
    }
}

}  // namespace qel
