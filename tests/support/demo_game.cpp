// The demo's game program: a window that shows the token and the arguments it
// was started with, so a person can see what the launcher or loader handed over.
// Also appends its command line to QEL_FAKE_GAME_LOG when that is set, and
// closes by itself after QEL_DEMO_GAME_SECONDS (default 8) seconds.
#include <windows.h>
#include <shellapi.h>
#include <string>

namespace {

std::wstring g_text;

std::wstring Env(const wchar_t* name) {
    wchar_t buf[1024] = {};
    DWORD n = GetEnvironmentVariableW(name, buf, 1024);
    return n > 0 && n < 1024 ? std::wstring(buf) : std::wstring();
}

void RecordCommandLine() {
    std::wstring path = Env(L"QEL_FAKE_GAME_LOG");
    if (path.empty()) return;
    HANDLE f = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    std::wstring line = std::wstring(GetCommandLineW()) + L"\n";
    int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), (int)line.size(), nullptr, 0, nullptr, nullptr);
    std::string utf8(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), (int)line.size(), &utf8[0], n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(f, utf8.data(), (DWORD)utf8.size(), &written, nullptr);
    CloseHandle(f);
}

std::wstring Describe() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring token, text = L"Orvane demo game is running.\r\n\r\nArguments received:\r\n";
    for (int i = 1; argv && i < argc; ++i) {
        std::wstring a = argv[i];
        text += L"  " + a + L"\r\n";
        if (a.rfind(L"--token=", 0) == 0) token = a.substr(8);
        if (a == L"key" && i + 1 < argc) token = argv[i + 1];
    }
    if (argv) LocalFree(argv);
    return L"Token: " + (token.empty() ? std::wstring(L"(none)") : token) + L"\r\n\r\n" + text;
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH bg = CreateSolidBrush(RGB(24, 28, 38));
        FillRect(dc, &r, bg);
        DeleteObject(bg);
        RECT band = {0, 0, r.right, 44};
        HBRUSH accent = CreateSolidBrush(RGB(240, 138, 36));
        FillRect(dc, &band, accent);
        DeleteObject(accent);
        SetBkMode(dc, TRANSPARENT);
        HFONT title = CreateFontW(24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                                  L"Tahoma");
        HGDIOBJ old = SelectObject(dc, title);
        SetTextColor(dc, RGB(255, 255, 255));
        RECT tr = {16, 8, r.right - 16, 40};
        DrawTextW(dc, L"Kelvadune \x2014 game started", -1, &tr, DT_SINGLELINE | DT_VCENTER);
        SelectObject(dc, old);
        DeleteObject(title);
        HFONT body = CreateFontW(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                                 L"Tahoma");
        old = SelectObject(dc, body);
        SetTextColor(dc, RGB(230, 232, 238));
        RECT br = {16, 60, r.right - 16, r.bottom - 16};
        DrawTextW(dc, g_text.c_str(), -1, &br, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
        SelectObject(dc, old);
        DeleteObject(body);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    RecordCommandLine();
    g_text = Describe();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"OrvaneDemoGame";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Kelvadune (demo game)", WS_OVERLAPPED | WS_CAPTION |
                                WS_SYSMENU, 140, 120, 720, 380, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    std::wstring secs = Env(L"QEL_DEMO_GAME_SECONDS");
    SetTimer(hwnd, 1, (secs.empty() ? 8 : _wtoi(secs.c_str())) * 1000, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
