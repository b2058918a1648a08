#pragma once
// The loader's log line and day file name, free of any file or clock access.
#include <string>

namespace qel {

struct LogTime {
    int year, month, day, hour, minute, second, milliseconds;
};

// "2026-03-07 09:05:01. 42 [Main<30>wWinMain] : message": milliseconds padded
// with blanks, the source path cut after its last backslash.
std::string FormatLogLine(const LogTime& t, const std::string& sourcePath, int line, const std::string& function,
                          const std::string& message);

// The part after the last backslash; a path whose only backslash is its first
// character, or that has none, is kept whole.
std::string SourceFileName(const std::string& path);

// basePath + "_" + year + "_" + month + "_" + day + ".log", no leading zeros.
std::string DayFileName(const std::string& basePath, int year, int month, int day);

// "void qel::GameLoaderWnd::InitWindow()" -> "GameLoaderWnd::InitWindow": the
// qualified name the log lines carry, taken from the compiler's signature text.
std::string LogFunctionName(const char* prettySignature);

}  // namespace qel
