#include "core/settings_xml.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class SettingsXml : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = ::testing::TempDir() + "qel_settings_xml_test.xml";
        std::remove(path_.c_str());
    }
    void TearDown() override { std::remove(path_.c_str()); }

    void Put(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string Text() const {
        std::ifstream f(path_, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }
    bool Write(const std::string& name, const std::string& value) {
        std::ifstream probe(path_);
        return qel::WriteSettingValue(path_, probe.good(), name, value);
    }
    std::string Read(const std::string& name, const std::string& start = "<unset>") {
        std::string v = start;
        return qel::ReadSettingValue(path_, name, v) ? v : "<fail>";
    }

    std::string path_;
};

TEST_F(SettingsXml, FirstWriteCreatesSettingsRootAndLaterWritesKeepOthers) {
    EXPECT_EQ(Read("ovwindowid"), "<fail>");
    ASSERT_TRUE(Write("ovwindowid", "1234"));
    ASSERT_TRUE(Write("loginsource", "abc"));
    EXPECT_EQ(Text(),
              "<settings>\n"
              "    <ovwindowid>1234</ovwindowid>\n"
              "    <loginsource>abc</loginsource>\n"
              "</settings>\n");
    // An empty source empties only its own element.
    ASSERT_TRUE(Write("loginsource", ""));
    EXPECT_EQ(Read("loginsource"), "<unset>");  // present, no text: value unchanged
    EXPECT_EQ(Read("ovwindowid"), "1234");
    ASSERT_TRUE(Write("loginsource", "a<b&c"));
    EXPECT_NE(Text().find("<loginsource>a&lt;b&amp;c</loginsource>"), std::string::npos) << Text();
    EXPECT_EQ(Read("loginsource"), "a<b&c");
}

TEST_F(SettingsXml, OtherRootNameAndForeignContentSurvive) {
    Put("<?xml version=\"1.0\"?>\n<!-- platform -->\n<conf>\n  <other a=\"1\">x</other>\n</conf>\n");
    ASSERT_TRUE(Write("loginsource", "OV"));
    EXPECT_EQ(Read("loginsource"), "OV");
    const std::string text = Text();
    EXPECT_NE(text.find("<conf>"), std::string::npos) << text;
    EXPECT_NE(text.find("<other a=\"1\">x</other>"), std::string::npos) << text;
    EXPECT_NE(text.find("<!-- platform -->"), std::string::npos) << text;
    EXPECT_EQ(text.find("<settings>"), std::string::npos) << text;
    EXPECT_LT(text.find("<other"), text.find("<loginsource>OV</loginsource>"));
}

TEST_F(SettingsXml, OnlyTheFirstOfDuplicateElementsIsReadAndRewritten) {
    Put("<settings><loginsource>one</loginsource><loginsource>two</loginsource></settings>");
    EXPECT_EQ(Read("loginsource"), "one");
    ASSERT_TRUE(Write("loginsource", "new"));
    EXPECT_EQ(Read("loginsource"), "new");
    const std::string text = Text();
    EXPECT_NE(text.find("<loginsource>new</loginsource>"), std::string::npos) << text;
    EXPECT_NE(text.find("<loginsource>two</loginsource>"), std::string::npos) << text;
}

TEST_F(SettingsXml, NamesAreCaseSensitiveAndOnlyChildrenOfTheRootCount) {
    Put("<settings><LoginSource>x</LoginSource><group><loginsource>deep</loginsource></group>"
        "<ovwindowid><b>5</b></ovwindowid></settings>");
    EXPECT_EQ(Read("loginsource"), "<fail>");
    EXPECT_EQ(Read("ovwindowid"), "<unset>");  // its first child is no text
}

TEST_F(SettingsXml, BrokenOrEmptyFilesAreNeitherReadNorRepaired) {
    for (const std::string& bad : {std::string("<settings><loginsource>x</settings>"), std::string(""),
                                  std::string("<!-- only a comment -->")}) {
        SCOPED_TRACE(bad);
        Put(bad);
        EXPECT_EQ(Read("loginsource"), "<fail>");
        EXPECT_FALSE(Write("loginsource", "y"));
        EXPECT_EQ(Text(), bad);
    }
}

}  // namespace
