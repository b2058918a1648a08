#include "core/version_check.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

using Entries = std::map<std::string, std::string>;

Entries Parse(const std::string& line) {
    Entries e;
    qel::ParseVersionReply(e, line);
    return e;
}

TEST(ParseVersionReply, TypicalReplyKeepsColonsInValues) {
    Entries e = Parse(R"({"url":"http://h:9001/p/","libversion":"12"})");
    EXPECT_EQ(e["url"], "http://h:9001/p/");
    EXPECT_EQ(e["libversion"], "12");
    EXPECT_EQ(e.size(), 2u);
}

TEST(ParseVersionReply, EdgeCases) {
    // A comma inside a value cuts it; the rest becomes an entry without ":".
    Entries e = Parse(R"({"url":"http://h/a,b/","libversion":"3"})");
    EXPECT_EQ(e["url"], "http://h/a");
    EXPECT_EQ(e[""], "b/");
    EXPECT_EQ(e["libversion"], "3");

    // Spaces after commas make keys that are not found; spaces after colons stay.
    e = Parse(R"({"url": "x", "libversion": "5"})");
    EXPECT_EQ(e.count("libversion"), 0u);
    EXPECT_EQ(e[" libversion"], " 5");
    EXPECT_EQ(e["url"], " x");

    // Later keys win; empty pieces are entries too (the empty key).
    e = Parse(R"({"libversion":"1",,"libversion":"2"})");
    EXPECT_EQ(e["libversion"], "2");
    EXPECT_EQ(e[""], "");

    // Nothing is unescaped.
    e = Parse(R"({"url":"a\/b"})");
    EXPECT_EQ(e["url"], "a\\/b");

    EXPECT_EQ(Parse("").size(), 1u);  // one empty entry
}

TEST(ParseVersionReply, LaterCallAddsToTheMap) {
    Entries e;
    qel::ParseVersionReply(e, R"({"a":"1"})");
    qel::ParseVersionReply(e, R"({"b":"2"})");
    EXPECT_EQ(e["a"], "1");
    EXPECT_EQ(e["b"], "2");
}

TEST(ParseVersionNumber, Table) {
    const std::pair<const char*, int> cases[] = {
        {"12", 12}, {"  7x", 7}, {"\t+3", 3}, {"-4", -4}, {"", 0}, {"abc", 0}, {"1.0.2", 1},
        {"99999999999999999999", INT_MAX}, {"-99999999999999999999", INT_MIN}, {"2147483647", INT_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(qel::ParseVersionNumber(c.first), c.second) << c.first;
}

TEST(DecideUpdate, Table) {
    using D = qel::UpdateDecision;
    struct Case { bool exe, ver; int installed, remote; D expected; };
    const Case cases[] = {
        {true, true, 12, 12, D::StartInstalled},  // equal counts as current
        {true, true, 13, 12, D::StartInstalled},  // no downgrade
        {true, true, 11, 12, D::Download},
        {false, true, 12, 12, D::Download},
        {true, false, 12, 0, D::Download},
        {true, true, 0, 0, D::StartInstalled},    // no reply at all: installed game starts
    };
    for (const auto& c : cases)
        EXPECT_EQ(qel::DecideUpdate(c.exe, c.ver, c.installed, c.remote), c.expected)
            << c.exe << c.ver << " " << c.installed << " vs " << c.remote;
}

TEST(VersionAddress, CarriesPidAndRandom) {
    EXPECT_EQ(qel::VersionAddress("dc.example", 9001, 4711),
              "http://dc.example:9001/datacenter/dcopenapi/getverisonBypid.htm?pid=orvane&v=4711");
    EXPECT_EQ(qel::PackageName("12"), "qelorvane_12.zip");
    EXPECT_EQ(qel::PackageName("1.0 b"), "qelorvane_1.0 b.zip");
}

}  // namespace
