#pragma once
// The launcher's locations and its small text files. Paths use "/" as separator.
#include <string>

// Folder of the launcher's program file, without a trailing "/".
std::wstring LauncherFolder();
// The user's documents folder with a trailing "/"; just "/" when unknown.
std::wstring DocumentsFolder();
// Reads the first line of a single-byte text file (without its line end) into
// `line`; leaves `line` as it was when the file cannot be opened.
void ReadFirstLine(const std::wstring& path, std::string& line);
// Writes `text` as the whole file, without a line end; silently nothing when
// the file cannot be opened.
void WriteTextFile(const std::wstring& path, const std::string& text);
