#include "script/MessengerFactory.h"

#include "resources/testing/StorageTestSupport.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace MessengerTest;

constexpr Vemo::ErrorCode F(std::uint16_t number) {
    return MessengerFactoryErrorCode(number);
}

Messenger* CreateNothing(const Vemo::String&, Messenger*, Script*) {
    return nullptr;
}

TEST(MessengerFactoryTest, RegistrationRefusesEmptyWordsMissingFunctionsAndDuplicatesInAnyCase) {
    World world;
    EXPECT_FALSE(MessengerFactory::Register(S(""), &CreateNothing));
    EXPECT_FALSE(MessengerFactory::Register(S("Widget"), nullptr));
    EXPECT_FALSE(MessengerFactory::Register(S("testRECORDER"), &CreateNothing));
    EXPECT_EQ(world.TakeReports(), (Reports{{F(1)}, {F(2), "\"Widget\""}, {F(3), "\"testRECORDER\""}}));
    EXPECT_EQ(MessengerFactory::FindCreateFunction(S("TESTRECORDER")), &Recorder::Create);

    EXPECT_TRUE(MessengerFactory::Register(S("Widget"), &CreateNothing));
    EXPECT_EQ(MessengerFactory::FindCreateFunction(S("widget")), &CreateNothing);
    EXPECT_TRUE(MessengerFactory::Unregister(S("WIDGET")));
    EXPECT_EQ(MessengerFactory::FindCreateFunction(S("Widget")), nullptr);
    EXPECT_FALSE(MessengerFactory::Unregister(S("Widget")));
    EXPECT_FALSE(MessengerFactory::Unregister(S("")));
    EXPECT_EQ(MessengerFactory::FindCreateFunction(S("")), nullptr);
    EXPECT_EQ(world.TakeReports(), (Reports{{F(4), "\"Widget\""}, {F(4), "\"Widget\""}, {F(1)}, {F(1)}}));
}

TEST(MessengerFactoryTest, ARegistrarKeepsItsWordOnlyWhenItRegisteredIt) {
    World world;
    {
        const MessengerFactory::Registrar widget(S("Widget"), &CreateNothing);
        const MessengerFactory::Registrar duplicate(S("TestRecorder"), &CreateNothing);
        EXPECT_EQ(Text(widget.GetClassWord()), "Widget");
        EXPECT_EQ(Text(duplicate.GetClassWord()), "");
        EXPECT_EQ(MessengerFactory::FindCreateFunction(S("Widget")), &CreateNothing);
    }
    EXPECT_EQ(MessengerFactory::FindCreateFunction(S("TestRecorder")), &Recorder::Create);
    EXPECT_EQ(MessengerFactory::FindCreateFunction(S("Widget")), nullptr);
    EXPECT_EQ(world.TakeReports(), (Reports{{F(3), "\"TestRecorder\""}, {F(4), "\"Widget\""}}));
}

// Every class word the system registers, and the tests' own.
const char* const kClassWords[] = {
    "Messenger",
    "State",
    "StateGraph",
    "RecursiveState",
    "AmbientSoundControl",
    "ButtonControl",
    "CreditsControl",
    "CrossfadeControl",
    "ExecuteControl",
    "IEControl",
    "ImageControl",
    "MouseFilterControl",
    "MovieControl",
    "NavigationState",
    "BitmapFont",
    "Viewport",
    "SystemFont",
    "HistoryControl",
    "SimpleAnimationControl",
    "NumDisplayControl",
    "QTWindowMovieControl",
    "QuitControl",
    "ScreenSaverControl",
    "ShockwaveControl",
    "ShockwaveFlashControl",
    "SlidingControl",
    "SoundControl",
    "TextControl",
    "TimerControl",
    "VoiceoverControl",
    "WallpaperControl",
    "FullscreenMovieState",
    "NavigationStateGraph",
    "Control",
    "FontCache",
    "HelpControl",
    "RegistryControl",
    "TestRecorder",
    "TestActionState",
};

TEST(MessengerFactoryTest, UnregisteringTheLastWordLeavesNoRegistry) {
    World world;
    std::vector<std::pair<const char*, MessengerFactory::CreateFunction>> registered;
    for (const char* word : kClassWords) {
        if (const MessengerFactory::CreateFunction function = MessengerFactory::FindCreateFunction(S(word))) {
            registered.emplace_back(word, function);
            EXPECT_TRUE(MessengerFactory::Unregister(S(word)));
        }
    }
    world.TakeReports();
    const bool empty = MessengerFactory::FindCreateFunction(S("Widget")) == nullptr &&
                       world.TakeReports() == Reports{{F(5)}};
    if (empty) {
        Script* script = world.AddScript("Main", "[Menu]\nClass=Messenger\n");
        EXPECT_EQ(world.Create("Menu", nullptr, script), nullptr);
        EXPECT_FALSE(MessengerFactory::Unregister(S("Messenger")));
        EXPECT_EQ(world.TakeReports(), (Reports{{F(5)}, {F(5)}}));
    }
    for (const auto& [word, function] : registered) {
        EXPECT_TRUE(MessengerFactory::Register(S(word), function));
    }
    if (!empty) {
        GTEST_SKIP() << "classes of other tests are registered as well";
    }
}

// Scripts loaded from files of a temporary drive, so that the error texts carry their paths.
class MessengerFactoryScriptTest : public VemoTest::Win32DrivesTest {
protected:
    MessengerFactoryScriptTest() : m_world(false) {
        std::filesystem::create_directories(Host('C', "title"));
        m_main = Load("Main", "Main.scr",
                      "[Lower]\nClass=testrecorder\n"
                      "[Far]\nDefined=Other\nClass=Messenger\n"
                      "[Loop]\nDefined=Second\n"
                      "[Two]\nDefined=Other, Second\n"
                      "[None]\nDefined=\n"
                      "[Gone]\nDefined=Nowhere\n"
                      "[Broken]\nDefined=\"Other\n"
                      "[Classless]\nAttribute=X(y)\n"
                      "[Unknown]\nClass=Widget\n"
                      "[EmptyClass]\nClass=\n"
                      "[Localised]\nClass=RECORDER(Classes)\n"
                      "[Parent]\nClass=Messenger\n");
        m_other = Load("Other", "Other.scr", "[Far]\nClass=TestRecorder\nAttribute=From(Other)\n");
        Load("Second", "Second.scr", "[Loop]\nDefined=Main\n");
        m_world.AddLocale("Classes", std::string("RECORDER\0TestRecorder\0", 22));
        m_application.TakeReports();
    }

    Script* Load(const std::string& name, const std::string& file, const std::string& text) {
        VemoTest::WriteHostFile(Host('C', ("title/" + file).c_str()), text);
        auto script = std::make_unique<Script>();
        EXPECT_TRUE(script->Load(At(("HD0:/title/" + file).c_str()), false));
        return m_world.Adopt(name, std::move(script));
    }

    Reports TakeReports() { return m_application.TakeReports(); }

    World m_world;
    Script* m_main;
    Script* m_other;
};

TEST_F(MessengerFactoryScriptTest, TheClassWordMatchesInAnyCaseAndMayBeALocaleText) {
    Recorder* lower = m_world.Create<Recorder>("Lower", nullptr, m_main);
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(lower->GetScript(), m_main);
    Recorder* child = m_world.Create<Recorder>("Localised", lower, m_main);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->GetParent(), lower);
    EXPECT_EQ(TakeReports(), Reports{});
}

// The section found at the end of the "Defined" chain configures the messenger, not the one that held the
// key.
TEST_F(MessengerFactoryScriptTest, DefinedLeadsToTheScriptThatDescribesTheMessenger) {
    Recorder* far = m_world.Create<Recorder>("Far", nullptr, m_main);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->GetScript(), m_other);
    EXPECT_EQ(far->GetAttributes().Size(), 1u);
    EXPECT_EQ(m_other->GetRefCount(), 1u);
    EXPECT_EQ(m_main->GetRefCount(), 0u);
    EXPECT_EQ(TakeReports(), Reports{});
}

struct FailureCase {
    const char* name;
    Reports reports;
};

TEST_F(MessengerFactoryScriptTest, EveryFailureIsReportedAndGivesNoMessenger) {
    const FailureCase cases[] = {
        {"Loop", {{F(10), "\"HD0:/title/Main.scr\",\"HD0:/title/Second.scr\""}}},
        {"Two", {{F(8), "\"HD0:/title/Main.scr\",\"Two\""}}},
        {"None", {{F(8), "\"HD0:/title/Main.scr\",\"None\""}}},
        {"Gone", {{F(9), "\"HD0:/title/Main.scr\",\"Nowhere\",\"Gone\""}}},
        {"Broken",
         {{Script::kErrorUnclosedQuote},
          {Script::kErrorKeyNotParsed, "\"HD0:/title/Main.scr\",\"Broken\",\"Defined\""},
          {F(8), "\"HD0:/title/Main.scr\",\"Broken\""}}},
        {"Classless", {{F(6), "\"HD0:/title/Main.scr\",\"Classless\""}}},
        {"Nobody", {{F(6), "\"HD0:/title/Main.scr\",\"Nobody\""}}},
        {"Unknown", {{F(4), "\"Widget\""}, {F(11), "\"HD0:/title/Main.scr\",\"Unknown\""}}},
        {"EmptyClass", {{F(1), "\"HD0:/title/Main.scr\",\"EmptyClass\""}}},
        {"Parent",
         {{MessengerErrorCode(1), "\"\",\"Parent\""},
          {MessengerErrorCode(6), "\"\",\"Parent\""},
          {F(7), "\"HD0:/title/Main.scr\",\"Parent\""}}},
    };
    for (const FailureCase& c : cases) {
        EXPECT_EQ(m_world.Create(c.name, nullptr, m_main), nullptr) << c.name;
        EXPECT_EQ(TakeReports(), c.reports) << c.name;
    }
    EXPECT_EQ(MessengerFactory::CreateFromScript(S("Lower"), nullptr, nullptr), nullptr);
    EXPECT_EQ(TakeReports(), (Reports{{F(6), "\"\",\"Lower\""}}));
    EXPECT_EQ(m_main->GetRefCount(), 0u);
}

TEST_F(MessengerFactoryScriptTest, ACreationFunctionThatGivesNothingIsReported) {
    const MessengerFactory::Registrar widget(S("Widget"), &CreateNothing);
    EXPECT_EQ(m_world.Create("Unknown", nullptr, m_main), nullptr);
    EXPECT_EQ(TakeReports(), (Reports{{F(7), "\"HD0:/title/Main.scr\",\"Unknown\""}}));
}

} // namespace
