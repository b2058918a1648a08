#include "win/text_convert.h"

#include <cstring>
#include <cwchar>

namespace qel {

std::wstring MultiByteToWide(UINT codePage, const std::string& text) {
    const int len = static_cast<int>(strnlen(text.c_str(), text.size()));
    if (len == 0) return std::wstring();
    const int n = ::MultiByteToWideChar(codePage, 0, text.c_str(), len, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.c_str(), len, &out[0], n);
    return out;
}

std::string WideToMultiByte(UINT codePage, const std::wstring& text) {
    const int len = static_cast<int>(wcsnlen(text.c_str(), text.size()));
    if (len == 0) return std::string();
    const int n = ::WideCharToMultiByte(codePage, 0, text.c_str(), len, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(codePage, 0, text.c_str(), len, &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace qel
