#pragma once
// Shared helpers of the fuzz targets: split the input into arguments and stand
// in for the system code-page conversions (Latin-1 both ways, '?' beyond it).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

inline std::wstring Widen(const std::string& s) {
    std::wstring w;
    for (unsigned char c : s) w += static_cast<wchar_t>(c);
    return w;
}

inline std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 256 ? static_cast<char>(c) : '?';
    return s;
}

// Arguments separated by '\n'; two input bytes make one UTF-16 unit when the
// first byte is 0xFF (so the fuzzer reaches characters beyond Latin-1).
inline std::vector<std::wstring> SplitArguments(const uint8_t* data, size_t size) {
    std::vector<std::wstring> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            args.emplace_back();
        } else if (data[i] == 0xFF && i + 2 < size) {
            args.back() += static_cast<wchar_t>(data[i + 1] | (data[i + 2] << 8));
            i += 2;
        } else {
            args.back() += static_cast<wchar_t>(data[i]);
        }
    }
    return args;
}

}  // namespace fuzz
