// Runs a program and reports its peak working set when it ends.
//   peak_memory.exe <program> [arguments ...]
// Prints "peak_working_set_bytes <n>" and "exit_code <n>"; exits with the
// program's exit code.
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <string>

static std::wstring Quote(const std::wstring& a) {
    if (!a.empty() && a.find_first_of(L" \t\"") == std::wstring::npos) return a;
    std::wstring q = L"\"";
    for (wchar_t c : a) {
        if (c == L'"') q += L'\\';
        q += c;
    }
    return q + L"\"";
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: peak_memory <program> [arguments ...]\n");
        return 2;
    }
    std::wstring cmd;
    for (int i = 1; i < argc; ++i) cmd += (i > 1 ? L" " : L"") + Quote(argv[i]);
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start: error %lu\n", GetLastError());
        return 2;
    }
    CloseHandle(pi.hThread);
    // Sample while it runs as well: some systems forget the peak once the process has ended.
    SIZE_T peak = 0;
    PROCESS_MEMORY_COUNTERS pmc = {sizeof(pmc)};
    while (WaitForSingleObject(pi.hProcess, 100) == WAIT_TIMEOUT) {
        if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc)) && pmc.PeakWorkingSetSize > peak)
            peak = pmc.PeakWorkingSetSize;
    }
    if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc)) && pmc.PeakWorkingSetSize > peak)
        peak = pmc.PeakWorkingSetSize;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    std::printf("peak_working_set_bytes %lu\nexit_code %lu\n", (unsigned long)peak, (unsigned long)code);
    return (int)code;
}
