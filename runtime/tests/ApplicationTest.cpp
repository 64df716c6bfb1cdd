// The product's application in this process on the fixture title: the whole engine world on the headless
// backend, the title found through the registry store, boxes answered and recorded by the test. The
// single-instance guard is left out (the messenger application's Initialize is called directly); the
// guard has tests of its own and the program's tests run it.
#include "engines/timing/Timer.h"
#include "platform/testing/Clock.h"
#include "platform/testing/FileFaultTesting.h"
#include "platform/testing/HeadlessRunTesting.h"
#include "platform/testing/MessageBoxTesting.h"
#include "platform/testing/ProcessIds.h"
#include "platform/testing/WindowTesting.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/files/File.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/RunLoopPacing.h"
#include "platform/win32/windows/Window.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSystem.h"
#include "resources/storage/Path.h"
#include "resources/testing/ReportedErrors.h"
#include "runtime/application/LocaleTexts.h"
#include "runtime/application/MultimediaApplicationErrorEngine.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/fonts/FontCache.h"
#include "runtime/pictures/BitmapCache.h"
#include "runtime/product/QuorvenApp.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/states/NavigationState.h"
#include "runtime/testing/RunningApplication.h"
#include "runtime/testing/TitleTestSupport.h"
#include "script/Config.h"
#include "script/Script.h"
#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using TitleTest::InstalledTitle;

Vemo::String S(const std::string& text) {
    return Vemo::String(text.c_str());
}

Fragment Name(const std::string& text) {
    return Fragment(S(text));
}

std::string PathText(const Vemo::Path* path) {
    if (path == nullptr) {
        return "<none>";
    }
    Vemo::String text;
    return path->GetText(text, true, false).CStr();
}

std::string BuiltIn(const char* key) {
    return BuiltInText(key);
}

// A locale file of the pairs.
std::string Locale(std::initializer_list<std::pair<std::string, std::string>> pairs) {
    std::string bytes;
    for (const auto& [key, text] : pairs) {
        bytes += key + '\0' + text + '\0';
    }
    return bytes;
}

// The text with its first occurrence of from replaced.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(TitleTest::RunningApplication::SetUpWindows()); }
    void TearDown() override { m_running.TearDown(); }

    bool Start() { return m_running.Start(); }
    bool Stop() { return m_running.Stop(); }
    QuorvenApp& App() { return m_running.App(); }

    std::string CurrentState() {
        auto* state = dynamic_cast<NavigationState*>(App().GetStateGraph()->GetCurrentState());
        return state != nullptr ? state->GetName().CStr() : "-";
    }

    // The codes reported so far, oldest first, from the error system's log.
    static std::vector<Vemo::ErrorCode> Reported() { return VemoTest::ReportedCodes(); }

    // "caption|text -> answer" of each box shown since the last look.
    std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const win32::testing::ShownMessageBox& box : m_boxes.Take()) {
            boxes.push_back(box.caption + "|" + box.text + " -> " +
                            (box.answer == win32::IDOK ? "OK" : "Cancel"));
        }
        return boxes;
    }

    // A click in the viewport's window, taken by the next application steps.
    void Click(int x, int y) {
        win32::testing::Click(GetViewportWindowHandle(App().GetViewport()), win32::testing::MouseButton::Left,
                              x, y);
        App().Step();
        App().Step();
    }

    InstalledTitle m_title;
    win32::testing::MessageBoxRecorder m_boxes;
    TitleTest::RunningApplication m_running;
};

std::string Box(const char* caption, const std::string& text, const char* answer) {
    return std::string(caption) + "|" + text + " -> " + answer;
}

// --- Start-up on the fixture title
// ------------------------------------------------------------------------------

TEST_F(ApplicationTest, StartsTheTitleFromTheRegistryAndItsConfiguration) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(PathText(App().GetGamePath()), "HD0:/Title");
    EXPECT_EQ(PathText(App().GetSharedPath()), "HD0:/Shared");
    EXPECT_EQ(PathText(App().GetUserPath()), "HD0:/User");
    EXPECT_NE(App().GetViewport(), nullptr);
    EXPECT_NE(App().GetFontCache(), nullptr);
    ASSERT_NE(App().GetBitmapCache(), nullptr);
    EXPECT_NE(App().GetBitmapCache()->GetTimer(), nullptr);
    EXPECT_NE(App().GetTextLocaleTable(), nullptr);
    EXPECT_EQ(App().GetErrorEngine()->GetDisplayMode(), 0);
    EXPECT_EQ(App().GetSystemFrameTimer(), nullptr);
    EXPECT_EQ(CurrentState(), "Menu");
    // The user settings were opened (and the file created) before the first state set one.
    EXPECT_NE(App().GetUserSettings(), nullptr);
    EXPECT_NE(m_title.Read('C', "User/User.ini"), "<missing>");
    EXPECT_EQ(Reported(), std::vector<Vemo::ErrorCode>{});
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
    EXPECT_TRUE(Stop());
    EXPECT_NE(m_title.Read('C', "User/User.ini").find("[Visited]"), std::string::npos);
    EXPECT_NE(m_title.Read('C', "User/User.ini").find("Menu=yes"), std::string::npos);
}

TEST_F(ApplicationTest, ClicksOnPlainControlsMoveThroughTheStatesToTheEnd) {
    ASSERT_TRUE(Start());
    App().Step();
    Click(150, 120);
    EXPECT_EQ(CurrentState(), "Options");
    Click(320, 310);
    EXPECT_EQ(CurrentState(), "Done");
    App().Step();
    App().Step();
    EXPECT_TRUE(App().IsQuitting());
    EXPECT_TRUE(App().GetExitSuccess());
    EXPECT_TRUE(Stop());
    const std::string settings = m_title.Read('C', "User/User.ini");
    EXPECT_NE(settings.find("Options=yes"), std::string::npos) << settings;
}

TEST_F(ApplicationTest, AFallIntoTheFallbackStateQuitsWithAFailure) {
    m_title.Write('C', "Title/Quorven.ini",
                  Replaced(m_title.Read('C', "Title/Quorven.ini"), "PlayButton, 0), Progress(1)",
                           "PlayButton, 0), Progress(7)"));
    ASSERT_TRUE(Start());
    App().Step();
    Click(150, 120);
    App().Step();
    App().Step();
    EXPECT_EQ(App().GetStateGraph()->GetReachedEndState(), App().GetStateGraph()->FindState(1));
    EXPECT_TRUE(App().IsQuitting());
    EXPECT_FALSE(App().GetExitSuccess());
}

// --- The registry values
// -----------------------------------------------------------------------------------------

TEST_F(ApplicationTest, AMissingGamePathStopsStartUpWithTheRegistryBox) {
    m_title.SetValue("GamePath", "");
    EXPECT_FALSE(Start());
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{Box("Problem detected!", BuiltIn("ERR_CANTOPENREGDIR"), "OK"),
                                        Box("Problem detected!", BuiltIn("ERR_LOWMEMORY"), "OK")}));
    EXPECT_TRUE(Stop());
}

TEST_F(ApplicationTest, ARootThatIsNoDirectoryStopsStartUpWithItsOwnCode) {
    struct Case {
        const char* value;
        const char* installed;
        Vemo::ErrorCode code;
    };
    for (const Case& c : {Case{"GamePath", "C:\\Title", MultimediaApplication::kErrorGamePath},
                          Case{"SharedPath", "C:\\Shared", MultimediaApplication::kErrorSharedPath},
                          Case{"UserPath", "C:\\User", MultimediaApplication::kErrorUserPath}}) {
        m_title.SetValue(c.value, "C:\\Nowhere");
        EXPECT_FALSE(Start()) << c.value;
        const std::vector<Vemo::ErrorCode> codes = Reported();
        EXPECT_NE(std::find(codes.begin(), codes.end(), c.code), codes.end()) << c.value;
        EXPECT_TRUE(Stop());
        Boxes();
        m_title.SetValue(c.value, c.installed);
    }
}

// --- The data disc
// ------------------------------------------------------------------------------------------------

TEST_F(ApplicationTest, AMatchingDataPathIsTheCdRootAndNeverPrompts) {
    // The locale lies only on the data path: the search reaches the "CD" record for it.
    m_title.Write('C', "Data/Quorven.loc", m_title.Read('C', "Title/Quorven.loc"));
    m_title.Write('C', "Data/ident", "QUORVEN,anything");
    m_title.Remove('C', "Title/Quorven.loc");
    m_title.SetValue("DataPath", "C:\\Data");
    ASSERT_TRUE(Start());
    EXPECT_EQ(PathText(App().FindDataPath(false)), "HD0:/Data");
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_F(ApplicationTest, WithoutADataPathTheDiscIsLookedForInTheCdDrivesInOrder) {
    m_title.InsertDisc('E');
    m_title.Write('E', "Intro.mov", "movie");
    ASSERT_TRUE(Start());
    Vemo::Path found;
    EXPECT_TRUE(App().FindFile(Name("Intro.mov"), found, true));
    EXPECT_EQ(PathText(&found), "CD1:/Intro.mov");
    EXPECT_EQ(PathText(App().FindDataPath(false)), "CD1");
    EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_F(ApplicationTest, WithoutTheDiscTheUserIsAskedForItUntilTheyCancel) {
    ASSERT_TRUE(Start());
    m_boxes.Answer(win32::IDOK);
    m_boxes.Answer(win32::IDCANCEL);
    Vemo::Path found;
    EXPECT_FALSE(App().FindFile(Name("Intro.mov"), found, false));
    const std::string prompt =
        Box("Insert CD!", "Please insert the Quorven ZUT Plexotron CD into your CD-ROM drive.", "");
    EXPECT_EQ(Boxes(), (std::vector<std::string>{prompt + "OK", prompt + "Cancel"}));
    // The next search that reaches the record asks again, and finds the disc once it is in.
    m_title.InsertDisc('D');
    m_title.Write('D', "Intro.mov", "movie");
    m_boxes.Answer(win32::IDOK);
    EXPECT_TRUE(App().FindFile(Name("Intro.mov"), found, false));
    EXPECT_EQ(PathText(&found), "CD0:/Intro.mov");
}

TEST_F(ApplicationTest, TheDiscPromptTakesTheLocalesTextsAndKeepsStrayPercentSigns) {
    m_title.Write(
        'C', "Title/Quorven.loc",
        Locale({{"ERR_INSERTCDBODY", "Put the %s disc in (100%% sure, 5%d)"}, {"PRODUCT_NAME", "Quorven"}}));
    ASSERT_TRUE(Start());
    Vemo::Path found;
    EXPECT_FALSE(App().FindFile(Name("Intro.mov"), found, false));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{
                           Box("Insert CD!", "Put the Quorven disc in (100% sure, 5%d)", "Cancel")}));
}

TEST_F(ApplicationTest, AnIdentFileIsReadUpToItsFirstZero) {
    for (const auto& [ident, matches] : {std::pair{std::string("Quorven,\0rest", 13), true},
                                         {std::string("Quor\0ven,", 9), false},
                                         {std::string("Quorven"), false},
                                         {std::string(), false}}) {
        m_title.Write('C', "Data/ident", ident);
        if (!m_running.Made()) {
            ASSERT_TRUE(Start());
        }
        Vemo::Path data;
        ASSERT_TRUE(data.Parse(S("HD0:/Data")));
        EXPECT_EQ(App().VolumeHasIdent(data), matches) << ident.size();
    }
}

// --- The configuration
// -------------------------------------------------------------------------------------------

struct NumberCase {
    const char* written;
    int level;
    std::uint32_t drawPeriod; // 0: no draw timer
};

TEST_F(ApplicationTest, DebugLevelAndFrameRatesAreReadInAnyCBase) {
    const std::string configuration = m_title.Read('C', "Title/Quorven.ini");
    for (const NumberCase& c : {NumberCase{"0x10", 16, 62}, NumberCase{"30", 30, 33},
                                NumberCase{"010", 8, 125}, NumberCase{"1000", 1000, 0}, NumberCase{"0", 0, 0},
                                NumberCase{"-5", -5, 0}, NumberCase{"fast", 0, 0}}) {
        m_title.Write(
            'C', "Title/Quorven.ini",
            Replaced(configuration, "[App]\n",
                     std::string("[App]\nDebugLevel=") + c.written + "\nMaxDrawFPS=" + c.written + "\n"));
        ASSERT_TRUE(Start()) << c.written;
        EXPECT_EQ(App().GetErrorEngine()->GetDisplayMode(), c.level) << c.written;
        Vemo::Timer* timer = App().GetDrawFrameTimer();
        EXPECT_EQ(timer != nullptr ? timer->Period() : 0u, c.drawPeriod) << c.written;
        EXPECT_TRUE(Stop());
        Boxes();
    }
}

TEST_F(ApplicationTest, SearchPathsComeFromTheConfigurationAndBadOnesAreIgnored) {
    m_title.Write('C', "Title/Quorven.ini",
                  Replaced(m_title.Read('C', "Title/Quorven.ini"), "[App]\n",
                           "[App]\nSearchPath=\nSearchPath=Sounds(HD), Art(Floppy)\n"));
    m_title.Write('C', "Title/Sounds/Click.wav", "sound");
    ASSERT_TRUE(Start());
    Vemo::Path found;
    EXPECT_TRUE(App().FindFile(Name("Click.wav"), found, false));
    EXPECT_EQ(PathText(&found), "HD0:/Title/Sounds/Click.wav");
    EXPECT_TRUE(App().FindFile(Name("Readme.txt"), found, false));
    EXPECT_EQ(PathText(&found), "HD0:/Title/Art/Readme.txt");
}

TEST_F(ApplicationTest, AStartUpWithoutAViewportFontCacheOrGraphFails) {
    const std::string configuration = m_title.Read('C', "Title/Quorven.ini");
    for (const auto& [from, to] : {std::pair{"Viewport=Viewport", "Viewport=Fonts"},
                                   {"Fonts=Fonts", "Fonts=Menu"},
                                   {"Fonts=Fonts", "Fonts="},
                                   {"Graph=Graph", "Graph=Viewport"},
                                   {"Viewport=Viewport", ""}}) {
        std::string changed = configuration;
        changed.replace(changed.find(from), std::string(from).size(), to);
        m_title.Write('C', "Title/Quorven.ini", changed);
        EXPECT_FALSE(Start()) << to;
        EXPECT_TRUE(Stop());
        EXPECT_EQ(win32::testing::LiveWindowCount(), 0U) << to;
        // The run's own temporary folder, made before the failure, went with the shut-down.
        EXPECT_TRUE(std::filesystem::is_empty(m_title.Host('C', "Temp"))) << to;
        Boxes();
    }
}

// A start-up that fails on the configuration's own keys says which: the script, its section and the key.
TEST_F(ApplicationTest, AStartUpThatFailsOnAKeyOfTheConfigurationNamesIt) {
    const std::string configuration = m_title.Read('C', "Title/Quorven.ini");
    for (const auto& [from, to, key] : {std::tuple{"Graph=Graph", "Graph=Viewport", "Graph"},
                                        {"Fonts=Fonts", "Fonts=", "Fonts"},
                                        {"[App]", "[Elsewhere]", "SearchPath"}}) {
        m_title.Write('C', "Title/Quorven.ini", Replaced(configuration, from, to));
        EXPECT_FALSE(Start()) << to;
        const std::vector<VemoTest::ReportedError> reports = VemoTest::ReportedErrors();
        const std::string expected = "/Title/Quorven.ini\",\"App\",\"" + std::string(key) + "\"";
        EXPECT_TRUE(std::any_of(reports.begin(), reports.end(),
                                [&](const VemoTest::ReportedError& report) {
                                    return report.text.size() > expected.size() &&
                                           report.text.front() == '"' && report.text.ends_with(expected);
                                }))
            << to << ": no error names " << expected;
        EXPECT_TRUE(Stop());
        Boxes();
    }
}

// --- Scripts and locale tables
// ----------------------------------------------------------------------------------

TEST_F(ApplicationTest, AScriptIsLoadedOnceWhateverTheNameThatFindsIt) {
    ASSERT_TRUE(Start());
    Script* config = App().GetConfigScript();
    EXPECT_EQ(App().GetScript(Name("QUORVEN.INI"), false), config);
    EXPECT_EQ(App().GetScript(Name("Quorven.ini(HD)"), false), config);
    EXPECT_EQ(App().GetScript(S("quorven.ini")), config);
}

TEST_F(ApplicationTest, AScriptThatDoesNotParseReportsItsPath) {
    m_title.Write('C', "Title/Broken.ini", "[A]\nKey=Unclosed(\n");
    ASSERT_TRUE(Start());
    EXPECT_EQ(App().GetScript(Name("Broken.ini"), true), nullptr);
    const std::vector<Vemo::ErrorCode> codes = Reported();
    EXPECT_NE(std::find(codes.begin(), codes.end(), MultimediaApplication::kErrorScriptFile), codes.end());
}

TEST_F(ApplicationTest, AMissingFileShowsTheFindFileBoxOnceAndQuitsWithAFailure) {
    ASSERT_TRUE(Start());
    Vemo::Path found;
    m_boxes.Answer(win32::IDCANCEL);
    EXPECT_FALSE(App().FindFile(Name("Lost.bmp"), found, true));
    EXPECT_EQ(App().GetScript(Name("Lost.ini"), false), nullptr);
    // The disc prompt is asked again for the second name; the second error shows nothing.
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1],
              Box("Problem reading file or directory!", BuiltIn("ERR_FINDFILE") + "\n\n\"Lost.bmp\"", "OK"));
    EXPECT_EQ(boxes[2].substr(0, boxes[2].find('|')), "Insert CD!");
    App().Step();
    EXPECT_TRUE(App().IsQuitting());
    EXPECT_FALSE(App().GetExitSuccess());
}

TEST_F(ApplicationTest, AControlsFileIsFoundThroughTheApplicationOrReportedTwice) {
    Vemo::Path found;
    EXPECT_FALSE(FindApplicationFile(found, Name("Quorven.ini")));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(FindApplicationFile(found, Name("Quorven.ini")));
    EXPECT_EQ(PathText(&found), "HD0:/Title/Quorven.ini");
    m_boxes.Answer(win32::IDCANCEL);
    EXPECT_FALSE(FindApplicationFile(found, Name("Lost.bmp")));
    const std::vector<Vemo::ErrorCode> codes = Reported();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(std::vector<Vemo::ErrorCode>(codes.end() - 2, codes.end()),
              (std::vector<Vemo::ErrorCode>{MultimediaApplication::kErrorFileNotFound,
                                            MultimediaApplication::kErrorFailure}));
    App().Step();
    EXPECT_TRUE(App().IsQuitting());
}

TEST_F(ApplicationTest, ALocalesErrorTitleNamesEveryBoxButTheFindFileBox) {
    m_title.Write('C', "Title/Quorven.loc", Locale({{"ERR_TITLE", "Oops"}, {"ERR_GENERIC", "Bad"}}));
    ASSERT_TRUE(Start());
    Vemo::Error().Report(Win32DXQTMultimediaApplication::kErrorHookRemove, nullptr);
    Vemo::Path found;
    m_boxes.Answer(win32::IDCANCEL);
    EXPECT_FALSE(App().FindFile(Name("Lost.bmp"), found, true));
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], Box("Oops", "Bad", "OK"));
    EXPECT_EQ(boxes[2].substr(0, boxes[2].find('|')), "Problem reading file or directory!");
}

// --- Shared settings
// ---------------------------------------------------------------------------------------------

TEST_F(ApplicationTest, SharedSettingsAreCreatedWrittenAtTheEndOfTheStepAndReadAfreshTheNext) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "<missing>");
    EXPECT_TRUE(App().SetSharedSetting(S("Scores"), S("Best"), S("10")));
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "\r\n");
    App().Step();
    EXPECT_EQ(App().GetSharedSettings(), nullptr);
    EXPECT_NE(m_title.Read('C', "Shared/Shared.ini").find("Best=10"), std::string::npos);
    m_title.Write('C', "Shared/Shared.ini", "[Scores]\nBest=99\n");
    Vemo::String value;
    EXPECT_TRUE(App().GetSharedSetting(S("Scores"), S("Best"), value));
    EXPECT_EQ(std::string(value.CStr()), "99");
}

TEST_F(ApplicationTest, ASharedSettingsFileHeldByAnotherProgramIsTriedForASecondAndLeftAlone) {
    platform::testing::FakeClock clock;
    ASSERT_TRUE(Start());
    m_title.Write('C', "Shared/Shared.ini", "[Scores]\nBest=5\n");
    const win32::HANDLE held =
        win32::CreateFileA("C:\\Shared\\Shared.ini", win32::GENERIC_READ | win32::GENERIC_WRITE, 0, nullptr,
                           win32::OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, win32::INVALID_HANDLE_VALUE);
    const std::uint32_t before = win32::timeGetTime();
    Vemo::String value;
    EXPECT_FALSE(App().GetSharedSetting(S("Scores"), S("Best"), value));
    // The second access of that second does not try again.
    EXPECT_FALSE(App().SetSharedSetting(S("Scores"), S("Best"), S("6")));
    EXPECT_GE(win32::timeGetTime() - before, 990u);
    EXPECT_LE(win32::timeGetTime() - before, 1000u);
    win32::CloseHandle(held);
    App().Step();
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "[Scores]\nBest=5\n");
}

TEST_F(ApplicationTest, ASharedSettingSetToTheValueItHoldsDoesNotWriteTheFile) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(App().SetSharedSetting(S("Scores"), S("Best"), S("10")));
    App().Step();
    // Another program changes the file; a frame that only sets what is there must leave its change alone.
    EXPECT_TRUE(App().SetSharedSetting(S("Scores"), S("Best"), S("10")));
    m_title.Write('C', "Shared/Shared.ini", "[Scores]\r\nBest=10\r\nOther=1\r\n");
    App().Step();
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "[Scores]\r\nBest=10\r\nOther=1\r\n");
    Vemo::String value;
    EXPECT_TRUE(App().GetSharedSetting(S("Scores"), S("Best"), value));
    App().Step();
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "[Scores]\r\nBest=10\r\nOther=1\r\n");
}

// The reports of code 1000 that name "Shared.ini".
int SharedSettingsReports() {
    int named = 0;
    for (const VemoTest::ReportedError& report : VemoTest::ReportedErrors()) {
        named += report.code == Messenger::kErrorSettings && report.text == "C:\\Shared\\Shared.ini" ? 1 : 0;
    }
    return named;
}

TEST_F(ApplicationTest, ASharedSaveThatKeepsFailingIsReportedOnceAndTriedAtMostOnceASecond) {
    platform::testing::FakeClock clock;
    ASSERT_TRUE(Start());
    m_title.Write('C', "Shared/Shared.ini", "[Scores]\r\nBest=1\r\n");
    const win32::testing::FailingFileCalls failing(win32::FileFault::Rename);
    // Five seconds of frames, each setting the value anew.
    const win32::DWORD start = win32::timeGetTime();
    for (int frame = 0; win32::timeGetTime() - start < 5000; ++frame) {
        EXPECT_TRUE(App().SetSharedSetting(S("Scores"), S("Best"), S(std::to_string(frame))));
        App().Step();
        clock.Advance(10);
    }
    EXPECT_GE(failing.Failures(), 5U);
    EXPECT_LE(failing.Failures(), 6U);
    EXPECT_EQ(SharedSettingsReports(), 1);
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "[Scores]\r\nBest=1\r\n");
}

// Every report that names the shared settings file, whatever its code.
int ReportsNamingSharedSettings() {
    int named = 0;
    for (const VemoTest::ReportedError& report : VemoTest::ReportedErrors()) {
        named += report.text.find("Shared.ini") != std::string::npos ? 1 : 0;
    }
    return named;
}

TEST_F(ApplicationTest, ASharedSettingsFileThatDoesNotLoadIsToldOnceAndTriedAtMostOnceASecond) {
    platform::testing::FakeClock clock;
    ASSERT_TRUE(Start());
    m_title.Write('C', "Shared/Shared.ini", "[Scores]\r\nBest=1\r\n");
    // Held by an opener that shares nothing with others: every load of it fails.
    win32::HANDLE held = win32::CreateFileA("C:\\Shared\\Shared.ini", win32::GENERIC_READ, 0, nullptr,
                                            win32::OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, win32::INVALID_HANDLE_VALUE);
    Vemo::String value;
    EXPECT_FALSE(App().GetSharedSetting(S("Scores"), S("Best"), value));
    App().Step();
    // The first of its tries says why (the open and the storage system beneath it name the file), the
    // others nothing.
    const int firstReports = ReportsNamingSharedSettings();
    EXPECT_GE(firstReports, 1);
    EXPECT_LE(firstReports, 3);
    // Five seconds of frames that each ask for a shared value: the tries between loads (Sleep moves this
    // clock) stall none of them after the first.
    const win32::DWORD start = win32::timeGetTime();
    int frames = 0;
    for (; win32::timeGetTime() - start < 5000; ++frames) {
        EXPECT_FALSE(App().GetSharedSetting(S("Scores"), S("Best"), value));
        App().Step();
        clock.Advance(10);
    }
    EXPECT_GE(frames, 400);
    EXPECT_EQ(ReportsNamingSharedSettings(), firstReports);
    win32::CloseHandle(held);
    clock.Advance(1000);
    EXPECT_TRUE(App().GetSharedSetting(S("Scores"), S("Best"), value));
    EXPECT_STREQ(value.CStr(), "1");
}

TEST_F(ApplicationTest, WhatAnotherProgramWroteBetweenAFailedAndASuccessfulSharedSaveStays) {
    platform::testing::FakeClock clock;
    ASSERT_TRUE(Start());
    m_title.Write('C', "Shared/Shared.ini", "[Scores]\r\nBest=1\r\n");
    EXPECT_TRUE(App().SetSharedSetting(S("Scores"), S("Best"), S("10")));
    {
        const win32::testing::FailingFileCalls failing(win32::FileFault::Rename);
        App().Step();
    }
    EXPECT_EQ(App().GetSharedSettings(), nullptr);
    m_title.Write('C', "Shared/Shared.ini", "[Scores]\r\nBest=1\r\n[Other]\r\nTitle=Mine\r\n");
    // Read afresh, with this run's change laid over it.
    Vemo::String value;
    EXPECT_TRUE(App().GetSharedSetting(S("Other"), S("Title"), value));
    EXPECT_STREQ(value.CStr(), "Mine");
    EXPECT_TRUE(App().GetSharedSetting(S("Scores"), S("Best"), value));
    EXPECT_STREQ(value.CStr(), "10");
    App().Step();
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "[Scores]\r\nBest=1\r\n[Other]\r\nTitle=Mine\r\n")
        << "tried again a second after the failure";
    clock.Advance(1000);
    App().Step();
    EXPECT_EQ(App().GetSharedSettings(), nullptr);
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"),
              "\r\n[Scores]\r\nBest=10\r\n\r\n[Other]\r\nTitle=Mine\r\n\r\n");
    EXPECT_EQ(SharedSettingsReports(), 1);
    // Written: the next frames leave the file to others.
    m_title.Write('C', "Shared/Shared.ini", "[Scores]\r\nBest=2\r\n");
    clock.Advance(1000);
    App().Step();
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "[Scores]\r\nBest=2\r\n");
}

TEST_F(ApplicationTest, NewSettingsFilesOfEndedRunsAreRemovedAtStartUpAndNoOtherFiles) {
    const std::string suffix = ".new" + std::to_string(win32::testing::EndedProcessId());
    m_title.Write('C', "Shared/Shared.ini" + suffix, "[Scores]\r\n");
    m_title.Write('C', "User/User.ini" + suffix, "[Seen]\r\n");
    m_title.Write('C', "Title/Quorven.ini" + suffix, "[App]\r\n");
    // A player's own files with names of the same shape.
    m_title.Write('C', "User/Save.dat" + suffix, "saved game");
    m_title.Write('C', "Shared/scores" + suffix, "scores");
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini" + suffix), "<missing>");
    EXPECT_EQ(m_title.Read('C', "User/User.ini" + suffix), "<missing>");
    EXPECT_EQ(m_title.Read('C', "Title/Quorven.ini" + suffix), "[App]\r\n") << "not a settings folder";
    EXPECT_EQ(m_title.Read('C', "User/Save.dat" + suffix), "saved game");
    EXPECT_EQ(m_title.Read('C', "Shared/scores" + suffix), "scores");
    EXPECT_TRUE(Stop());
    EXPECT_EQ(m_title.Read('C', "User/Save.dat" + suffix), "saved game");
    EXPECT_EQ(m_title.Read('C', "Shared/scores" + suffix), "scores");
}

TEST_F(ApplicationTest, AUserSettingsSaveThatFailsWhenAnotherPathIsOpenedFailsTheShutDown) {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(App().SetUserSetting(S("Visited"), S("Menu"), S("yes")));
    std::filesystem::permissions(m_title.Host('C', "User/User.ini"), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    Vemo::Path other(*App().GetUserPath());
    ASSERT_TRUE(other.Parse(S("Other.ini")));
    EXPECT_TRUE(App().OpenUserSettings(other));
    EXPECT_FALSE(Stop()) << "the run's exit code is 2";
}

// --- Input
// ------------------------------------------------------------------------------------------------------

// --- A scripted headless run
// ------------------------------------------------------------------------------------------

TEST_F(ApplicationTest, EachPassOfTheRunLoopEndsOneApplicationStepOfAScriptedRun) {
    win32::testing::ScriptedRun run("wait 1000000");
    ASSERT_TRUE(Start());
    for (int pass = 0; pass < 12; ++pass) {
        const win32::DWORD before = win32::timeGetTime();
        // One pass of the run loop, as Application::Run makes it.
        App().Step();
        const win32::DWORD stepped = win32::timeGetTime();
        win32::EndRunLoopStep();
        const win32::DWORD ended = win32::timeGetTime();
        // 1 ms for a step that did not move the clock itself, nothing for one that did.
        EXPECT_EQ(ended - stepped, stepped == before ? 1u : 0u) << "pass " << pass;
    }
}

TEST_F(ApplicationTest, WhileInputIsDisabledTheGraphStandsStill) {
    // A scripted run, so that the step's wait for a window message returns at once.
    win32::testing::ScriptedRun run("wait 1000000");
    ASSERT_TRUE(Start());
    App().Step();
    EXPECT_TRUE(App().EnableInput(false));
    EXPECT_TRUE(App().IsInputDisabled());
    EXPECT_FALSE(App().GetViewport()->GetRootControl()->IsEnabled());
    Click(150, 120);
    EXPECT_EQ(CurrentState(), "Menu");
    App().EnableInput(true);
    EXPECT_TRUE(App().GetViewport()->GetRootControl()->IsEnabled());
    Click(150, 120);
    EXPECT_EQ(CurrentState(), "Options");
}

} // namespace
