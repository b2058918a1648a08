#pragma once
// Window messages, names and constants that the loader shares with the other
// programs of the platform.
#include <windows.h>

namespace qel {

constexpr wchar_t kLoaderWindowTitle[] = L"Kelvadune";
constexpr wchar_t kLoaderMutexName[] = L"qel_main.exe";
constexpr wchar_t kGameKey[] = L"qel";

constexpr UINT_PTR TIMER_PROGRESS_TIP = 1124;
constexpr UINT WM_TRAY_NOTIFY = WM_USER + 102;        // 1126
constexpr UINT WM_PAGE_LOADED = WM_USER + 104;        // 1128
constexpr UINT WM_MIN_WND = WM_USER + 105;            // 1129
constexpr UINT WM_CLOSE_WND = WM_USER + 106;          // 1130
constexpr UINT WM_OPEN_GAME = WM_USER + 107;          // 1131, wParam: see loader/open_game_text.h
constexpr UINT WM_WND_MOUSEMOVE = WM_USER + 108;      // 1132
constexpr UINT WM_SHOW_MAIN_WND = WM_USER + 109;      // 1133
constexpr UINT WM_UNZIP_RESULT = WM_USER + 110;       // 1134
constexpr UINT WM_NETWORK_RESULT = WM_USER + 111;     // 1135
constexpr UINT WM_DOWNLOAD_PROGRESS = WM_USER + 112;  // 1136
constexpr UINT WM_NAV_ERROR = WM_USER + 113;          // 1137
constexpr UINT WM_GAME_START_FAILED = WM_USER + 323;  // 1347
constexpr UINT WM_LOADER_STARTED = WM_USER + 324;     // 1348

constexpr UINT ID_MENU_EXIT = 16;

}  // namespace qel
