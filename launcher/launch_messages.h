#pragma once
// Messages of the launcher dialog. Other programs may post WM_LAUNCH_CLOSE;
// the worker thread posts WM_LAUNCH_STATUS.
#include <windows.h>

// Handled like WM_CLOSE.
constexpr UINT WM_LAUNCH_CLOSE = WM_USER + 100;
// wParam: STATUS_BUSY_START, STATUS_BUSY_STOP or anything else (no timer action);
// lParam: a GBK text of static lifetime, empty to keep the status line.
constexpr UINT WM_LAUNCH_STATUS = WM_USER + 101;
constexpr WPARAM STATUS_BUSY_START = 10001;
constexpr WPARAM STATUS_BUSY_STOP = 10002;

// The status texts travel as GBK bytes with static lifetime, so that posting
// their address is safe; the dialog widens them with code page 936. `inline`
// gives each text one address in the whole program, which is what the dialog
// checks an incoming lParam against.
constexpr UINT kStatusTextCodePage = 936;
// 正在检测新版本
inline constexpr char kStatusCheckingVersion[] = "\xD5\xFD\xD4\xDA\xBC\xEC\xB2\xE2\xD0\xC2\xB0\xE6\xB1\xBE";
// 正在加载新版本...
inline constexpr char kStatusDownloading[] = "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xD0\xC2\xB0\xE6\xB1\xBE\x2E\x2E\x2E";
// 正在解压文件...
inline constexpr char kStatusUnpacking[] = "\xD5\xFD\xD4\xDA\xBD\xE2\xD1\xB9\xCE\xC4\xBC\xFE\x2E\x2E\x2E";
inline constexpr char kStatusKeep[] = "";

// The status text an lParam names, or nullptr when it is not one of ours: any
// program can post this message, and its lParam must never be dereferenced.
inline const char* KnownStatusText(LPARAM lp) {
    for (const char* text : {kStatusCheckingVersion, kStatusDownloading, kStatusUnpacking, kStatusKeep})
        if (reinterpret_cast<LPARAM>(text) == lp) return text;
    return nullptr;
}
