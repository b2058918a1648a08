// Stand-in for the game platform's window.
//   fake_platform_window.exe <record file> [seconds to live]
// Prints its window handle in decimal on the first line of stdout, then appends
// one line per message it receives to the record file:
//   COPYDATA <dwData> <cbData> <hex bytes>
//   MSG <number> <wParam> <lParam>        (1347 and 1348)
// It ends on WM_CLOSE or when its time is up.
#include <windows.h>
#include <cstdio>
#include <string>

static FILE* g_record = nullptr;

static void Record(const std::string& line) {
    if (!g_record) return;
    fputs(line.c_str(), g_record);
    fputc('\n', g_record);
    fflush(g_record);
}

static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COPYDATA: {
        const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        std::string line = "COPYDATA " + std::to_string((unsigned long)cds->dwData) + " " +
                           std::to_string((unsigned long)cds->cbData) + " ";
        static const char hex[] = "0123456789abcdef";
        const unsigned char* p = static_cast<const unsigned char*>(cds->lpData);
        for (DWORD i = 0; p && i < cds->cbData; ++i) {
            line += hex[p[i] >> 4];
            line += hex[p[i] & 15];
        }
        Record(line);
        return TRUE;
    }
    case WM_USER + 323:
    case WM_USER + 324:
        Record("MSG " + std::to_string(msg) + " " + std::to_string((unsigned long)wp) + " " +
               std::to_string((long)lp));
        return 0;
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2) g_record = _wfopen(argv[1], L"ab");
    int seconds = argc >= 3 ? _wtoi(argv[2]) : 120;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"FakePlatformWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"FakePlatformWindow", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                100, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    printf("%lu\n", (unsigned long)(ULONG_PTR)hwnd);
    fflush(stdout);
    SetTimer(hwnd, 1, seconds * 1000, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    if (g_record) fclose(g_record);
    return 0;
}
