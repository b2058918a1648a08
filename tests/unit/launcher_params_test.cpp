#include "core/launcher_params.h"

#include <gtest/gtest.h>

namespace {

struct ParamCase {
    const char* commandLine;
    const char* token;
    const char* source;
    const char* ovext;
};

TEST(ParseLauncherCommandLine, Table) {
    const ParamCase cases[] = {
        {"--token=abc --source=web --ovext=1", "abc", "web", "1"},
        {"token=abc source=web ovext=1", "abc", "web", "1"},
        {"", "", "", ""},
        {"   --token=abc   ", "abc", "", ""},
        // Every key that begins with a keyword counts; the later pair wins.
        {"--tokenLogin=A --token=abc", "abc", "", ""},
        {"--token=abc --tokenLogin=A", "A", "", ""},
        {"--sourceId=7", "", "7", ""},
        // Double dashes vanish everywhere, single dashes stay.
        {"--token=a--b --source=a-b", "ab", "a-b", ""},
        {"---token=x", "", "", ""},  // key "-token" begins with no keyword
        {"--source=my pc", "", "my", ""},
        // "=" runs collapse; trailing ones are lost, an inner one spoils the item.
        {"--token==abc", "abc", "", ""},
        {"--token=YWJj== --source=a=b", "YWJj", "", ""},
        {"--token= --source --ovext=", "", "", ""},
        {"--Token=abc", "", "", ""},
        {"--other=1 --token=\"q\\t\"", "\"q\\t\"", "", ""},
        // Non-ASCII values stay UTF-8 bytes.
        {"--source=\xE7\xBD\x91\xE9\xA1\xB5", "", "\xE7\xBD\x91\xE9\xA1\xB5", ""},
    };
    for (const auto& c : cases) {
        qel::LauncherParams p;
        qel::ParseLauncherCommandLine(c.commandLine, p);
        EXPECT_EQ(p.token, c.token) << c.commandLine;
        EXPECT_EQ(p.source, c.source) << c.commandLine;
        EXPECT_EQ(p.ovext, c.ovext) << c.commandLine;
    }
}

TEST(ParseLauncherCommandLine, DashRemovalRestartsFromTheBeginning) {
    // Removing "--" can join two single dashes into a new pair: "a-" + "-b".
    qel::LauncherParams p;
    qel::ParseLauncherCommandLine("--token=a---b", p);
    EXPECT_EQ(p.token, "a-b");
    qel::ParseLauncherCommandLine("--token=a----b", p);
    EXPECT_EQ(p.token, "ab");
}

}  // namespace
