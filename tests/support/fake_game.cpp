// Stand-in for the game programs: appends its whole command line (UTF-8) as one
// line to the file named by QEL_FAKE_GAME_LOG, or to "<program>.cmdline.txt"
// beside itself, then exits with code 0. With QEL_FAKE_GAME_LINGER_MS set it
// stays running that long first, so that tests can find and end it.
#include <windows.h>
#include <cwchar>
#include <string>

static std::string ToUtf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &s[0], n, nullptr, nullptr);
    return s;
}

int wmain() {
    wchar_t path[MAX_PATH * 2] = {};
    DWORD n = GetEnvironmentVariableW(L"QEL_FAKE_GAME_LOG", path, MAX_PATH * 2);
    std::wstring target;
    if (n > 0 && n < MAX_PATH * 2) {
        target = path;
    } else {
        GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
        target = std::wstring(path) + L".cmdline.txt";
    }
    HANDLE f = CreateFileW(target.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 2;
    std::string line = ToUtf8(GetCommandLineW()) + "\n";
    DWORD written = 0;
    WriteFile(f, line.data(), (DWORD)line.size(), &written, nullptr);
    CloseHandle(f);
    n = GetEnvironmentVariableW(L"QEL_FAKE_GAME_LINGER_MS", path, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) Sleep(wcstoul(path, nullptr, 10));
    return 0;
}
