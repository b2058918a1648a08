// Window remote control for the scenario tests.
//   wintool find <title> [timeout ms]            prints the handle (decimal); exit 1 if none
//   wintool post <hwnd> <msg> [wParam] [lParam]  PostMessage; exit 1 on failure
//   wintool send <hwnd> <msg> [wParam] [lParam]  SendMessage; prints the result
//   wintool state <hwnd>                         prints "exists visible iconic left top width height"
//   wintool wait-gone <hwnd> <timeout ms>        exit 0 once the window is gone, 1 on time-out
//   wintool class <hwnd>                         prints the window class name
//   wintool count <title>                        prints how many top-level windows have that title
//   wintool resize <hwnd> <width> <height>       SetWindowPos with a new size; exit 1 on failure
//   wintool owned <hwnd>                         prints the first top-level window it owns; exit 1 if none
//   wintool move <hwnd> <x> <y>                  moves the window, size and z-order kept
//   wintool style <hwnd>                         prints the window style (GWL_STYLE, decimal)
//   wintool child <hwnd> <class>                 prints the first child window of that class; exit 1 if none
//   wintool text <hwnd> [control id]             prints the window text as hexadecimal UTF-16 units
// A handle argument may also be "title:<text>".
#include <windows.h>
#include <cstdio>
#include <cwchar>
#include <string>

static HWND FindByTitle(const wchar_t* title, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND h = FindWindowW(nullptr, title);
        if (h || GetTickCount() - start >= timeoutMs) return h;
        Sleep(50);
    }
}

static HWND ParseWindow(const wchar_t* s) {
    if (wcsncmp(s, L"title:", 6) == 0) return FindByTitle(s + 6, 0);
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoul(s, nullptr, 10)));
}

static BOOL CALLBACK FindOwned(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<HWND*>(lp);
    if (GetWindow(w, GW_OWNER) != search[0]) return TRUE;
    search[1] = w;
    return FALSE;
}

static ULONG_PTR Num(int argc, wchar_t** argv, int i) {
    return i < argc ? static_cast<ULONG_PTR>(wcstoll(argv[i], nullptr, 0)) : 0;
}

struct TitleCount {
    const wchar_t* title;
    int n;
};

static BOOL CALLBACK CountTitle(HWND w, LPARAM lp) {
    TitleCount* c = reinterpret_cast<TitleCount*>(lp);
    wchar_t text[256] = {};
    GetWindowTextW(w, text, 256);
    if (wcscmp(text, c->title) == 0) ++c->n;
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: wintool find|post|send|state|wait-gone|class|owned|move|text ...\n");
        return 2;
    }
    std::wstring cmd = argv[1];
    if (cmd == L"count") {
        TitleCount c = {argv[2], 0};
        EnumWindows(CountTitle, reinterpret_cast<LPARAM>(&c));
        printf("%d\n", c.n);
        return 0;
    }
    if (cmd == L"find") {
        HWND h = FindByTitle(argv[2], (DWORD)Num(argc, argv, 3));
        if (!h) return 1;
        printf("%lu\n", (unsigned long)(ULONG_PTR)h);
        return 0;
    }
    HWND h = ParseWindow(argv[2]);
    if (cmd == L"post") {
        return PostMessageW(h, (UINT)Num(argc, argv, 3), (WPARAM)Num(argc, argv, 4), (LPARAM)Num(argc, argv, 5))
                   ? 0 : 1;
    }
    if (cmd == L"send") {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(h, (UINT)Num(argc, argv, 3), (WPARAM)Num(argc, argv, 4),
                                 (LPARAM)Num(argc, argv, 5), SMTO_NORMAL, 10000, &result))
            return 1;
        printf("%ld\n", (long)result);
        return 0;
    }
    if (cmd == L"state") {
        RECT r = {};
        BOOL exists = IsWindow(h);
        if (exists) GetWindowRect(h, &r);
        printf("%d %d %d %ld %ld %ld %ld\n", exists ? 1 : 0, IsWindowVisible(h) ? 1 : 0, IsIconic(h) ? 1 : 0,
               r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == L"wait-gone") {
        DWORD start = GetTickCount(), timeout = (DWORD)Num(argc, argv, 3);
        while (IsWindow(h)) {
            if (GetTickCount() - start >= timeout) return 1;
            Sleep(50);
        }
        return 0;
    }
    if (cmd == L"resize") {
        return SetWindowPos(h, nullptr, 0, 0, (int)Num(argc, argv, 3), (int)Num(argc, argv, 4),
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    }
    if (cmd == L"class") {
        wchar_t name[256] = {};
        if (!GetClassNameW(h, name, 256)) return 1;
        printf("%ls\n", name);
        return 0;
    }
    if (cmd == L"owned") {
        HWND search[2] = {h, nullptr};
        EnumWindows(FindOwned, reinterpret_cast<LPARAM>(search));
        if (!search[1]) return 1;
        printf("%lu\n", (unsigned long)(ULONG_PTR)search[1]);
        return 0;
    }
    if (cmd == L"style") {
        if (!IsWindow(h)) return 1;
        printf("%lu\n", (unsigned long)GetWindowLongW(h, GWL_STYLE));
        return 0;
    }
    if (cmd == L"child") {
        HWND child = argc > 3 ? FindWindowExW(h, nullptr, argv[3], nullptr) : nullptr;
        if (!child) return 1;
        printf("%lu\n", (unsigned long)(ULONG_PTR)child);
        return 0;
    }
    if (cmd == L"move") {
        return SetWindowPos(h, nullptr, (int)wcstol(argc > 3 ? argv[3] : L"0", nullptr, 10),
                            (int)wcstol(argc > 4 ? argv[4] : L"0", nullptr, 10), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    }
    if (cmd == L"text") {
        // Hexadecimal, so that no console code page stands between the text and the test.
        HWND target = argc > 3 ? GetDlgItem(h, (int)Num(argc, argv, 3)) : h;
        if (!target) return 1;
        wchar_t text[512] = {};
        GetWindowTextW(target, text, 512);
        for (const wchar_t* c = text; *c; ++c) printf("%04X ", (unsigned)*c);
        printf("\n");
        return 0;
    }
    fprintf(stderr, "unknown command\n");
    return 2;
}
