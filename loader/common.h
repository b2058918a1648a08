#pragma once
// Process, text and folder helpers of the loader.
#include <windows.h>
#include <string>

#include "core/text_util.h"

namespace qel {

// System ANSI code page to UTF-16, up to the first null character.
std::wstring AnsiToWide(const std::string& narrow);
// UTF-16 to the given code page; unconvertible characters become its default character.
std::string WideToNarrow(UINT codePage, const std::wstring& wide);

// Folder of the program file without the trailing "\"; a path without "\" whole; empty on failure.
std::wstring GetModuleDir();

// Shell folders without trailing "\", never created; empty text when unknown.
std::wstring GetLocalAppDataFolder();
std::wstring GetDesktopFolder();
std::wstring GetProgramFilesX86Folder();

// Window handles travel between programs as decimal text (--winid=, --gameMgrId=).
HWND WindowFromDecimal(const std::wstring& text);

// ReplaceAll comes from core/text_util.h.

}  // namespace qel
