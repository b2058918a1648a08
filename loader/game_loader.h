#pragma once
// Launch parameters, settings file, game-exit check and registration lookups.
#include <windows.h>

#include <string>

namespace qel {

// Splits GetCommandLineW() and turns it into the parameter text. False only
// when the command line cannot be split; `text` is then left as it was.
bool ParseCmdParam(std::wstring& text);

// Sends the platform window the CloseNotice record (WM_COPYDATA, wParam 0,
// tag 1) and waits until it was handled. False when the target is no window.
bool SendCloseNotice(HWND target);

// True when this start only carried a game-exit notice (the process then ends).
bool IsGameExit(const std::wstring& cmdJson);

// Settings shared with the platform ("setting.xml").
std::wstring GetSettingsFilePath();
bool WriteWindowId(const std::wstring& value, const std::wstring& path);
bool WriteLoginSource(const std::wstring& value, const std::wstring& path);

// Installed-programs entry of the game key: its "FileParam" text, or empty.
std::wstring GetBagFileParam(const std::wstring& entryName);

}  // namespace qel
