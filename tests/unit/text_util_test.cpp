#include "core/text_util.h"

#include <gtest/gtest.h>

namespace {

TEST(ReplaceAll, ContinuesAfterEachReplacement) {
    struct Case { const char* text; const char* from; const char* to; const char* want; };
    const Case cases[] = {
        {"a/b/c", "/", "\\", "a\\b\\c"},
        {"aaaa", "aa", "a", "aa"},
        {"xx", "x", "xx", "xxxx"},   // no endless loop on a growing replacement
        {"abc", "", "z", "abc"},
        {"", "a", "b", ""},
    };
    for (const Case& c : cases) {
        std::string s = c.text;
        qel::ReplaceAll(s, std::string(c.from), std::string(c.to));
        EXPECT_EQ(s, c.want) << c.text;
    }
}

TEST(ParseDecimalHandle, ReadsLikeTheRuntime) {
    struct Case { const char* text; long want; };
    const Case cases[] = {
        {"12345", 12345}, {"  42", 42}, {"+7", 7}, {"-5", -5}, {"12ab", 12},
        {"ab12", 0}, {"", 0}, {"-", 0}, {"4294967295", -1}, {"0x10", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(qel::ParseDecimalHandle(std::string(c.text)), c.want) << c.text;
    EXPECT_EQ(qel::ParseDecimalHandle(std::wstring(L" 99x")), 99);
}

}  // namespace
