#include "script/Script.h"

#include "resources/testing/StorageTestSupport.h"
#include "script/testing/ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace VemoTest;
using ScriptTest::Contents;
using ScriptTest::Describe;
using ScriptTest::FullText;
using ScriptTest::Text;
namespace fs = std::filesystem;

const char kScript[] = "; the demo title\r\n"
                       "Title = Demo\r\n"
                       "[Intro]\r\n"
                       "Background = Image(\"intro.bmp\", Rect(0, 0, 640, 480))   \r\n"
                       "REM the greeting comes twice\r\n"
                       "Sound=Play(welcome.wav)\r\n"
                       "Sound=Play(again.wav)\r\n"
                       "[INTRO]\r\n"
                       "Next = Menu\r\n";

class ScriptFileStorageTest : public Win32DrivesTest {
protected:
    ScriptFileStorageTest() { fs::create_directories(Host('C', "titles")); }
};

TEST_F(ScriptFileStorageTest, ARealFileLoadsParsedAndRecordsItsPath) {
    WriteHostFile(Host('C', "titles/demo.scr"), kScript);
    const Vemo::Path path = At("HD0:/titles/demo.scr");
    Script script;
    ASSERT_TRUE(script.Load(path, true));
    EXPECT_EQ(Contents(script),
              "[] Title=Demo | [Intro] Background=Image(\"intro.bmp\", Rect(0, 0, 640, 480)) "
              "Sound=Play(welcome.wav) Sound=Play(again.wav) Next=Menu");
    // Parsed while loading: the key holds its fragments before anyone asks for them.
    const Script::Key* background = *(*++script.GetSections().Begin())->GetKeys().Begin();
    EXPECT_EQ(Describe(background->GetFragments()), "[Image](\"intro.bmp\",[Rect]([0],[0],[640],[480]))");
    EXPECT_EQ(FullText(script.GetPath()), "HD0:/titles/demo.scr");
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(ScriptFileStorageTest, AnEmptyFileLoadsAsTheEmptyNamedSectionAlone) {
    WriteHostFile(Host('C', "titles/empty.scr"), "");
    Script script;
    ASSERT_TRUE(script.Load(At("HD0:/titles/empty.scr"), false));
    EXPECT_EQ(Contents(script), "[]");
}

TEST_F(ScriptFileStorageTest, ALoadFailsOnAMissingFileOrAPathWithoutADirectory) {
    WriteHostFile(Host('C', "titles/demo.scr"), kScript);
    const Vemo::String bareName("demo.scr");
    const Vemo::Path bare(&bareName, nullptr);
    const Vemo::Path missing = At("HD0:/titles/missing.scr");

    Script script;
    ASSERT_TRUE(script.Load(At("HD0:/titles/demo.scr"), false));
    EXPECT_FALSE(script.Load(Vemo::Path(), false));
    EXPECT_EQ(Contents(script), "");
    EXPECT_FALSE(script.Load(bare, false));
    EXPECT_EQ(Contents(script), "");
    EXPECT_EQ(m_application.TakeReports(), Reports{});

    // The storage layer reports the file it could not open.
    EXPECT_FALSE(script.Load(missing, false));
    EXPECT_EQ(Contents(script), "[]");
    const Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), Reported(Vemo::StorageSystemErrFileOpenFailed, "HD0:/titles/missing.scr"));
}

TEST_F(ScriptFileStorageTest, AValueThatDoesNotParseFailsTheLoadAndKeepsWhatCameBefore) {
    WriteHostFile(Host('C', "titles/bad.scr"), "[A]\r\nGood=One(1)\r\nBad=Two(2\r\nLater=3\r\n");
    Script script;
    EXPECT_FALSE(script.Load(At("HD0:/titles/bad.scr"), true));
    EXPECT_EQ(Contents(script), "[] | [A] Good=One(1) Bad=Two(2");
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{Script::kErrorUnclosedList},
                       {Script::kErrorKeyNotParsed, "\"HD0:/titles/bad.scr\",\"A\",\"Bad\""}}));
}

// The value syntax's own errors say what is wrong (an unbalanced parenthesis has no text at all); the report
// after them says where, wherever the key is parsed.
TEST_F(ScriptFileStorageTest, AKeyThatDoesNotParseIsNamedWithItsScriptPathAndSection) {
    WriteHostFile(Host('C', "titles/menu.scr"),
                  "[Menu]\r\nGood = Show(title)\r\nButton = Show(Play(start)\r\n");
    const Vemo::Path path = At("HD0:/titles/menu.scr");
    const Reports parseFailed{{Script::kErrorUnclosedList},
                              {Script::kErrorKeyNotParsed, "\"HD0:/titles/menu.scr\",\"Menu\",\"Button\""}};
    Reports enumerationFailed = parseFailed;
    enumerationFailed.push_back({Script::kErrorKeyParse});

    Script script;
    ASSERT_TRUE(script.Load(path, false));
    const Vemo::BasicArray<Fragment>* fragments = nullptr;
    EXPECT_FALSE(script.GetFragments("MENU", "button", fragments));
    EXPECT_EQ(m_application.TakeReports(), parseFailed);

    Script::KeyEnumerator keys;
    EXPECT_FALSE(script.EnumerateSection("Menu", keys));
    EXPECT_EQ(m_application.TakeReports(), enumerationFailed);
    EXPECT_FALSE(script.EnumerateKey("Menu", "Button", keys));
    EXPECT_EQ(m_application.TakeReports(), enumerationFailed);

    EXPECT_FALSE(script.Load(path, true));
    EXPECT_EQ(m_application.TakeReports(), parseFailed);
}

TEST_F(ScriptFileStorageTest, ASavedScriptLoadsBackTheSame) {
    Script script;
    ASSERT_TRUE(script.SetValueText("Intro", "Background", "Image(intro.bmp)"));
    ASSERT_TRUE(script.SetValueText("Intro", "Owner", "Rem Koolhaas"));
    ASSERT_TRUE(script.SetValueText("", "Title", " Demo "));
    const Vemo::Path path = At("HD0:/titles/saved.scr");
    ASSERT_TRUE(script.Save(path));
    EXPECT_EQ(
        ReadHostFile(Host('C', "titles/saved.scr")),
        "Title=\" Demo \"\r\n\r\n[Intro]\r\nBackground=Image(intro.bmp)\r\nOwner=\"Rem Koolhaas\"\r\n\r\n");

    Script loaded;
    ASSERT_TRUE(loaded.Load(path, false));
    EXPECT_EQ(Contents(loaded),
              "[] Title=\" Demo \" | [Intro] Background=Image(intro.bmp) Owner=\"Rem Koolhaas\"");
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(ScriptFileStorageTest, SavingOverALongerFileCutsIt) {
    const std::string older(4000, 'x');
    WriteHostFile(Host('C', "titles/demo.scr"), older);
    Script script;
    ASSERT_TRUE(script.SetValueText("A", "B", "C"));
    ASSERT_TRUE(script.Save(At("HD0:/titles/demo.scr")));
    EXPECT_EQ(ReadHostFile(Host('C', "titles/demo.scr")), "[A]\r\nB=C\r\n\r\n");
}

TEST_F(ScriptFileStorageTest, ALineBreakInAValueIsLeftOutTheRestIsWrittenAndSaveSaysSo) {
    Script script;
    ASSERT_TRUE(script.SetValueText("A", "Broken", "one\ntwo"));
    ASSERT_TRUE(script.SetValueText("A", "Kept", "1"));
    EXPECT_FALSE(script.Save(At("HD0:/titles/out.scr")));
    EXPECT_EQ(ReadHostFile(Host('C', "titles/out.scr")), "[A]\r\nKept=1\r\n\r\n");
}

TEST_F(ScriptFileStorageTest, SaveFailsWhereNoFileCanBeWritten) {
    Script script;
    ASSERT_TRUE(script.SetValueText("A", "B", "C"));
    EXPECT_FALSE(script.Save(At("CD0:/demo.scr")));
    EXPECT_FALSE(fs::exists(Host('D', "demo.scr")));
    const Vemo::String bareName("demo.scr");
    EXPECT_FALSE(script.Save(Vemo::Path(&bareName, nullptr)));
    m_application.TakeReports();
}

// A write that stores fewer bytes than it was given.
class ScriptShortWriteTest : public ::testing::Test {
protected:
    ScriptShortWriteTest() : m_application(StorageApplication::Engines::kNone) {
        m_engine = new MemoryStorageEngine;
        Vemo::StorageEngine::Create(m_engine);
        m_application.Storage()->AddEngine(m_engine);
        m_root = m_engine->AddVolume("MEM0");
    }

    StorageApplication m_application;
    MemoryStorageEngine* m_engine;
    MemoryNode* m_root;
};

TEST_F(ScriptShortWriteTest, AShortWriteFailsTheSaveAndCutsNothing) {
    MemoryNode* file = m_root->Add("demo.scr", false, std::string(100, 'x'));
    Script script;
    ASSERT_TRUE(script.SetValueText("A", "B", "C"));
    m_engine->m_writesBeforeShort = 0;
    Vemo::Path path;
    ASSERT_TRUE(path.Parse(Vemo::String("MEM0:/demo.scr")));
    EXPECT_FALSE(script.Save(path));
    // Half of "[A]\r\nB=C\r\n\r\n" went through; the older bytes after it are still there.
    EXPECT_EQ(file->m_data, "[A]\r\nB" + std::string(94, 'x'));
}

} // namespace
