#pragma once
// Small text helpers shared by both programs.
#include <string>

namespace qel {

// Replaces every occurrence of `from` left to right, continuing after each
// inserted replacement (so "aa" -> "a" in "aaaa" gives "aa"). An empty `from`
// changes nothing.
template <typename Str>
void ReplaceAll(Str& text, const Str& from, const Str& to) {
    if (from.empty()) return;
    for (size_t pos = 0; (pos = text.find(from, pos)) != Str::npos; pos += to.size())
        text.replace(pos, from.size(), to);
}

// Window handles travel between programs as decimal text: leading blanks are
// skipped, an optional sign, then digits up to the first other character; 0
// when there are none. Values wrap like the C runtime's 32-bit conversion.
long ParseDecimalHandle(const std::string& text);
long ParseDecimalHandle(const std::wstring& text);

}  // namespace qel
