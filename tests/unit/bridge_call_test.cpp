#include "core/bridge_call.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadBridgeFunctionName, NamesOnlyAStringMemberOfAnObject) {
    struct Case { std::string text; bool json; std::string name; };
    const Case cases[] = {
        {"{\"funcation_name\":\"min_wnd\"}", true, "min_wnd"},
        {"{\"token\":\"t\",\"funcation_name\":\"open_game\",\"ovext\":\"a=1\"}", true, "open_game"},
        {"{\"funcation_name\":\"a\",\"funcation_name\":\"b\"}", true, "b"},
        {"{\"funcation_name\":\"x\\u0000y\"}", true, std::string("x\0y", 3)},
        {"{\"funcation_name\":1129}", true, ""},
        {"{\"funcation_name\":[\"min_wnd\"]}", true, ""},
        {"[{\"funcation_name\":\"min_wnd\"}]", true, ""},
        {"\"min_wnd\"", true, ""},
        {"null", true, ""},
        {"{\"funcation_name\":\"min_wnd\"", false, ""},
        {"funcation_name=min_wnd", false, ""},
        {"", false, ""},
        // Beyond the reader's nesting limit it throws; that is no JSON, not a crash.
        {std::string(5000, '['), false, ""},
        {"{\"funcation_name\":\"min_wnd\",\"x\":" + std::string(5000, '{'), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        std::string name;
        EXPECT_EQ(qel::ReadBridgeFunctionName(c.text, name), c.json);
        EXPECT_EQ(name, c.name);
    }
}

}  // namespace
