#include "core/game_exit_notice.h"

#include <gtest/gtest.h>

namespace {

TEST(GameExitNotice, Forms) {
    struct Case { const char* text; bool parsed, plain, notice; };
    const Case cases[] = {
        // The three notice forms.
        {"{\"type\":1}", true, false, true},
        {"{\"type\":1}\n", true, false, true},
        {"type:1", false, true, true},
        {"{type:1}", false, true, true},
        // Other members do not matter; jsoncpp's isInt accepts an integral real.
        {"{\"a\":\"b\",\"type\":1}", true, false, true},
        {"{\"type\":1.0}", true, false, true},
        // Not notices: other kinds and types, other spellings of the plain forms.
        {"{\"type\":\"1\"}", true, false, false},
        {"{\"type\":2}", true, false, false},
        {"{\"type\":true}", true, false, false},
        {"{\"type\":4294967297}", true, false, false},
        {"{\"Type\":1}", true, false, false},
        {"Type:1", false, false, false},
        {"type:1 ", false, false, false},
        {"{ type:1}", false, false, false},
        // Ordinary parameter texts.
        {"{\"source\":\"OV\",\"token\":\"abc\"}\n", true, false, false},
        {"null\n", true, false, false},
        {"token=abc", false, false, false},
        // jsoncpp reads a leading "-" as a number and stops: JSON, but no object.
        {"--token=abc", true, false, false},
        {"", false, false, false},
        // JSON that is no object: member access would throw, so no notice.
        {"[1]", true, false, false},
        {"1", true, false, false},
        {"\"type:1\"", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const qel::GameExitNoticeCheck r = qel::CheckGameExitNotice(c.text);
        EXPECT_EQ(r.parsed, c.parsed);
        EXPECT_EQ(r.plainForm, c.plain);
        EXPECT_EQ(r.isNotice, c.notice);
    }
}

}  // namespace
