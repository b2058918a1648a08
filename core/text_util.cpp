#include "core/text_util.h"

namespace qel {
namespace {
template <typename Str>
long ParseDecimal(const Str& s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' || s[i] == '\v' ||
                            s[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    unsigned long value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = value * 10u + static_cast<unsigned long>(s[i] - '0');
    unsigned long u32 = value & 0xFFFFFFFFul;
    if (negative) u32 = (0u - u32) & 0xFFFFFFFFul;
    return static_cast<long>(static_cast<int>(static_cast<unsigned int>(u32)));
}
}  // namespace

long ParseDecimalHandle(const std::string& text) { return ParseDecimal(text); }
long ParseDecimalHandle(const std::wstring& text) { return ParseDecimal(text); }

}  // namespace qel
