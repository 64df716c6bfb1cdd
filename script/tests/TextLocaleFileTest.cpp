#include "script/TextLocale.h"

#include "resources/testing/StorageTestSupport.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace std::string_literals;
using namespace VemoTest;
using ScriptTest::FullText;
using ScriptTest::Text;
namespace fs = std::filesystem;

std::string Contents(const TextLocale& locale) {
    std::string out;
    for (const auto& [key, text] : locale.GetTexts()) {
        out += Text(key) + "=" + Text(text) + ";";
    }
    return out;
}

// The 16-bit form of an 8-bit text: the mark FF FE, then each byte as a little-endian unit.
std::string Wide(const std::string& narrow) {
    std::string bytes = "\xFF\xFE";
    for (char c : narrow) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

const std::string kPairs =
    "ERR_TITLE\0Problem detected!\0PRODUCT_NAME\0Demo\r\nSecond line\0err_title\0Other\0"s;
const char kTable[] = "ERR_TITLE=Other;PRODUCT_NAME=Demo\r\nSecond line;";

class TextLocaleFileTest : public Win32DrivesTest {
protected:
    TextLocaleFileTest() { fs::create_directories(Host('C', "locale")); }
};

TEST_F(TextLocaleFileTest, EightBitAndSixteenBitFilesLoadTheSameTable) {
    WriteHostFile(Host('C', "locale/narrow.txt"), kPairs);
    WriteHostFile(Host('C', "locale/wide.txt"), Wide(kPairs));
    for (const char* name : {"HD0:/locale/narrow.txt", "HD0:/locale/wide.txt"}) {
        TextLocale locale;
        ASSERT_TRUE(locale.Load(At(name))) << name;
        EXPECT_EQ(Contents(locale), kTable) << name;
        EXPECT_EQ(FullText(locale.GetPath()), name);
    }
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(TextLocaleFileTest, AnEmptyFileLoadsAsAnEmptyTable) {
    WriteHostFile(Host('C', "locale/empty.txt"), "");
    TextLocale locale;
    ASSERT_TRUE(locale.Load(At("HD0:/locale/empty.txt")));
    EXPECT_EQ(locale.GetCount(), 0u);
}

TEST_F(TextLocaleFileTest, ALoadFailsOnAMissingFileOrAPathWithoutADirectoryAndEmptiesTheTable) {
    WriteHostFile(Host('C', "locale/narrow.txt"), kPairs);
    const Vemo::String bareName("narrow.txt");
    TextLocale locale;
    ASSERT_TRUE(locale.Load(At("HD0:/locale/narrow.txt")));
    EXPECT_FALSE(locale.Load(Vemo::Path(&bareName, nullptr)));
    EXPECT_EQ(locale.GetCount(), 0u);
    EXPECT_EQ(m_application.TakeReports(), Reports{});

    ASSERT_TRUE(locale.Load(At("HD0:/locale/narrow.txt")));
    EXPECT_FALSE(locale.Load(At("HD0:/locale/missing.txt")));
    EXPECT_EQ(locale.GetCount(), 0u);
    const Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), Reported(Vemo::StorageSystemErrFileOpenFailed, "HD0:/locale/missing.txt"));
}

TEST_F(TextLocaleFileTest, ASavedTableLoadsBackTheSameAndALongerFileIsCut) {
    WriteHostFile(Host('C', "locale/narrow.txt"), kPairs);
    WriteHostFile(Host('C', "locale/saved.txt"), std::string(300, 'x'));
    TextLocale locale;
    ASSERT_TRUE(locale.Load(At("HD0:/locale/narrow.txt")));
    ASSERT_TRUE(locale.Save(At("HD0:/locale/saved.txt")));
    EXPECT_EQ(FullText(locale.GetPath()), "HD0:/locale/saved.txt");
    EXPECT_EQ(ReadHostFile(Host('C', "locale/saved.txt")),
              "ERR_TITLE\0Other\0PRODUCT_NAME\0Demo\r\nSecond line\0"s);

    TextLocale loaded;
    ASSERT_TRUE(loaded.Load(At("HD0:/locale/saved.txt")));
    EXPECT_EQ(Contents(loaded), kTable);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(TextLocaleFileTest, APairThatCannotBeWrittenIsLeftOutAndSaveSaysSo) {
    // A 16-bit character that narrows to 0 puts a zero byte inside the text.
    WriteHostFile(Host('C', "locale/wide.txt"), "\xFF\xFE"
                                                "A\0\0\0B\0\0\x01\0\0C\0\0\0D\0\0\0"s);
    TextLocale locale;
    ASSERT_TRUE(locale.Load(At("HD0:/locale/wide.txt")));
    EXPECT_EQ(Contents(locale), "A=B\0;C=D;"s);
    EXPECT_FALSE(locale.Save(At("HD0:/locale/saved.txt")));
    EXPECT_EQ(ReadHostFile(Host('C', "locale/saved.txt")), "C\0D\0"s);
}

TEST_F(TextLocaleFileTest, SaveFailsWhereNoFileCanBeWritten) {
    TextLocale locale;
    WriteHostFile(Host('C', "locale/narrow.txt"), kPairs);
    ASSERT_TRUE(locale.Load(At("HD0:/locale/narrow.txt")));
    EXPECT_FALSE(locale.Save(At("CD0:/saved.txt")));
    EXPECT_FALSE(fs::exists(Host('D', "saved.txt")));
    EXPECT_EQ(FullText(locale.GetPath()), "HD0:/locale/narrow.txt");
    m_application.TakeReports();
}

} // namespace
