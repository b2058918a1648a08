#include "core/request_target.h"

namespace qel {
namespace {

void AppendEscapedByte(std::wstring& out, unsigned byte) {
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    out.push_back(L'%');
    out.push_back(kHex[(byte >> 4) & 0xF]);
    out.push_back(kHex[byte & 0xF]);
}

void AppendEscapedCodePoint(std::wstring& out, unsigned long cp) {
    if (cp < 0x80) {
        AppendEscapedByte(out, static_cast<unsigned>(cp));
    } else if (cp < 0x800) {
        AppendEscapedByte(out, 0xC0 | (cp >> 6));
        AppendEscapedByte(out, 0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        AppendEscapedByte(out, 0xE0 | (cp >> 12));
        AppendEscapedByte(out, 0x80 | ((cp >> 6) & 0x3F));
        AppendEscapedByte(out, 0x80 | (cp & 0x3F));
    } else {
        AppendEscapedByte(out, 0xF0 | (cp >> 18));
        AppendEscapedByte(out, 0x80 | ((cp >> 12) & 0x3F));
        AppendEscapedByte(out, 0x80 | ((cp >> 6) & 0x3F));
        AppendEscapedByte(out, 0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::wstring EscapeRequestTarget(const std::wstring& target) {
    std::wstring out;
    out.reserve(target.size());
    for (size_t i = 0; i < target.size(); ++i) {
        unsigned long c = static_cast<unsigned long>(target[i]) & 0x1FFFFFul;
        if (c > 0x20 && c < 0x7F) {
            out.push_back(target[i]);
            continue;
        }
        // A surrogate pair (UTF-16) is one character; a lone surrogate becomes U+FFFD.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < target.size()) {
            unsigned long low = static_cast<unsigned long>(target[i + 1]) & 0x1FFFFFul;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
        AppendEscapedCodePoint(out, c);
    }
    return out;
}

}  // namespace qel
