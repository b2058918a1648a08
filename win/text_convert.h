#pragma once
// Code-page conversions at the edge of the Win32 API. Always call the W API and
// convert with the code page the text is defined in (CP_ACP, CP_UTF8, 936 ...).
#include <windows.h>
#include <string>

namespace qel {

// Converts up to the first null character. Unconvertible characters become the
// code page's default character; empty in, empty out.
std::wstring MultiByteToWide(UINT codePage, const std::string& text);
std::string WideToMultiByte(UINT codePage, const std::wstring& text);

inline std::wstring Utf8ToWide(const std::string& s) { return MultiByteToWide(CP_UTF8, s); }
inline std::string WideToUtf8(const std::wstring& s) { return WideToMultiByte(CP_UTF8, s); }

}  // namespace qel
