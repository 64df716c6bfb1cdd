#include "script/Messenger.h"

#include "resources/testing/StorageTestSupport.h"
#include "script/ValueTokenizer.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace MessengerTest;

constexpr Vemo::ErrorCode M(std::uint16_t number) {
    return MessengerErrorCode(number);
}

// Root owns Actor and Watcher; Watcher subscribes to Actor, so Actor's replies reach both.
const char* const kStage = "[Root]\nClass=TestRecorder\nAttribute=Items(New, Load), Title(Main)\n"
                           "[Actor]\nClass=TestRecorder\n"
                           "[Watcher]\nClass=TestRecorder\n";

// The three recorders of the stage, with Watcher subscribed to Actor and the variable Game(Level) set to 3.
class Stage {
public:
    explicit Stage(World& world) : m_world(world) {
        Script* script = world.AddScript("Stage", kStage);
        m_root = world.Create<Recorder>("Root", nullptr, script);
        m_actor = world.Create<Recorder>("Actor", m_root, script);
        m_watcher = world.Create<Recorder>("Watcher", m_root, script);
        m_watcher->Subscribe(*m_actor);
        m_root->TakeReceived();
        m_actor->TakeReceived();
        m_watcher->TakeReceived();
        world.SetVariable("Game", "Level", "3");
    }

    // Sends the message text from Root to Actor.
    bool Send(const std::string& text) { return m_root->SendTextTo(S(text), S("Actor")); }

    TestApplication& Application() { return m_world.Application(); }

    World& m_world;
    Recorder* m_root;
    Recorder* m_actor;
    Recorder* m_watcher;
};

struct OwnWorld {
    World m_ownWorld;
};

// The world is a base before the stage, so that it is built first and destroyed last.
class MessengerBuiltinsTest : public testing::Test, private OwnWorld, protected Stage {
protected:
    MessengerBuiltinsTest() : Stage(m_ownWorld) { m_ownWorld.TakeReports(); }
};

// The failure of a message sent from Root to Actor, as the handling and the send report it.
Reports Failed(Reports reports) {
    reports.push_back({M(8), "\"Actor\""});
    reports.push_back({M(9), "\"Actor\""});
    return reports;
}

TEST_F(MessengerBuiltinsTest, WordsMatchInAnyCaseAndUnknownWordsAreAcceptedWithoutEffect) {
    EXPECT_TRUE(Send("setvar(Game(Score), 7), SETVAR(Game(Lives), 2)"));
    EXPECT_EQ(m_world.Variable("Game", "Score"), "7");
    EXPECT_EQ(m_world.Variable("Game", "Lives"), "2");

    // Neither the misspelt word nor the words that name the shared settings are in the table.
    EXPECT_TRUE(
        Send("SetVars(Game(Bonus), 1), SetSharedSetting(Game(Lang), de), CopyVarToShared(Game(Level), "
             "Game(Level))"));
    EXPECT_EQ(m_world.Variable("Game", "Bonus"), "");
    Vemo::String value;
    EXPECT_FALSE(Application().m_shared.GetValue(S("Game"), S("Lang"), value));
    EXPECT_EQ(m_actor->TakeReceived().size(), 5u);
    EXPECT_EQ(m_world.TakeReports(), Reports{});
}

struct ReferenceCase {
    const char* message;
    const char* received;
};

TEST_F(MessengerBuiltinsTest, ReferencesAreSubstitutedBeforeTheWordsAreHandled) {
    m_world.SetVariable("Game", "Empty", "");
    m_world.SetVariable("Game", "List", "a, b(c)");
    m_world.SetVariable("Game", "Nested", "@Level(Game)");
    m_world.SetVariable("Game", "Word", "Tag(set)");
    ASSERT_TRUE(Application().m_shared.SetValue(S("Game"), S("Lang"), S("en")));

    const ReferenceCase cases[] = {
        {"Show(@Level(Game))", "Show(3)"},
        {"Show(@LEVEL(game))", "Show(3)"},
        {"Show(@Empty(Game), x)", "Show(x)"},
        {"Show(@List(Game))", "Show(a,b(c))"},
        {"Show(@Nested(Game))", "Show(3)"},
        {"Show(\"@Level(Game)\")", "Show(\"@Level(Game)\")"},
        {"Show($Lang(Game))", "Show(en)"},
        {"Show(%Parent(Attribute(Items), Attribute(Title), Other(Items)))", "Show(New,Load,Main)"},
        {"Show(%Parent)", "Show"},
        {"Show(x(y(@Level(Game))))", "Show(x(y(3)))"},
        {"@Word(Game)", "Tag(set)"},
    };
    for (const ReferenceCase& c : cases) {
        EXPECT_TRUE(Send(c.message)) << c.message;
        EXPECT_EQ(m_actor->TakeReceived(), Log{c.received}) << c.message;
    }
    EXPECT_EQ(Text(m_actor->GetTag()), "set");
    EXPECT_EQ(m_world.TakeReports(), Reports{});
}

struct FailingReferenceCase {
    const char* message;
    Reports reports;
};

TEST_F(MessengerBuiltinsTest, AReferenceThatCannotBeResolvedStopsTheWholeMessage) {
    m_world.SetVariable("Game", "Bad", "\"x");
    const FailingReferenceCase cases[] = {
        {"Tag(a), @Missing(Game)", Failed({{M(17), "\"Actor\",\"Game\",\"Missing\""}})},
        {"Tag(a), Show(@Missing(Game))", Failed({{M(17), "\"Actor\",\"Game\",\"Missing\""}, {M(1000)}})},
        {"Tag(a), #Name(User)", Failed({{M(1000)}})},
        {"Tag(a), $Lang(Game)", Failed({{M(1000)}})},
        {"Tag(a), %Nobody(Attribute(Items))", Failed({{M(1000)}})},
        {"Tag(a), @Bad(Game)", Failed({{Script::kErrorUnclosedQuote}, {M(22), "\"\"x\""}})},
    };
    for (const FailingReferenceCase& c : cases) {
        EXPECT_FALSE(Send(c.message)) << c.message;
        EXPECT_EQ(m_world.TakeReports(), c.reports) << c.message;
        EXPECT_EQ(m_actor->TakeReceived(), Log{}) << c.message;
    }
    EXPECT_EQ(Text(m_actor->GetTag()), "");
}

// A value that refers to itself would substitute for ever: x,@Loop(Game) grows the list without nesting
// deeper, a(@Deep(Game)) nests one level deeper each time. Both end, with nothing handled.
TEST_F(MessengerBuiltinsTest, SelfReferringValuesEndTheEvaluation) {
    m_world.SetVariable("Game", "Loop", "x,@Loop(Game)");
    EXPECT_FALSE(Send("Show(@Loop(Game))"));
    EXPECT_EQ(m_world.TakeReports(), Failed({{M(1000)}, {M(1000)}}));
    EXPECT_FALSE(Send("@Loop(Game)"));
    EXPECT_EQ(m_world.TakeReports(), Failed({{M(1000)}}));

    m_world.SetVariable("Game", "Deep", "a(@Deep(Game))");
    EXPECT_FALSE(Send("@Deep(Game)"));
    const Reports reports = m_world.TakeReports();
    // One report where the walk stops descending and one for each list that encloses it, then the message's.
    ASSERT_EQ(reports.size(), ValueTokenizer::kMaxNesting + 3u);
    EXPECT_EQ(Reports(reports.end() - 2, reports.end()), Failed({}));
    for (std::size_t i = 0; i + 2 < reports.size(); ++i) {
        EXPECT_EQ(reports[i], Reported(M(1000)));
    }
    EXPECT_EQ(m_actor->TakeReceived(), Log{});

    // The bound is per message: the next one evaluates afresh.
    EXPECT_TRUE(Send("Show(@Level(Game))"));
    EXPECT_EQ(m_actor->TakeReceived(), Log{"Show(3)"});
}

TEST_F(MessengerBuiltinsTest, ASubstitutionCountBelowTheBoundIsAllowed) {
    for (unsigned i = 1; i < Messenger::kMaxSubstitutions; ++i) {
        m_world.SetVariable("Chain", std::to_string(i).c_str(), "@" + std::to_string(i + 1) + "(Chain)");
    }
    m_world.SetVariable("Chain", std::to_string(Messenger::kMaxSubstitutions).c_str(), "Done");
    EXPECT_TRUE(Send("@1(Chain)"));
    EXPECT_EQ(m_actor->TakeReceived(), Log{"Done"});
    m_world.SetVariable("Chain", std::to_string(Messenger::kMaxSubstitutions).c_str(), "@End(Chain)");
    m_world.SetVariable("Chain", "End", "Done");
    EXPECT_FALSE(Send("@1(Chain)"));
    EXPECT_EQ(m_world.TakeReports(), Failed({{M(1000)}}));
}

struct ReplyCase {
    const char* value; // null: no such variable
    const char* reply;
};

// The reply is one fragment whose arguments are the value parsed on its own: commas still make several
// arguments and references are still evaluated on arrival, but a ")" in the value cannot end the reply and
// add words of its own.
TEST_F(MessengerBuiltinsTest, GetVarRepliesToTheParentAndTheSubscribersWithTheValueAsArguments) {
    const ReplyCase cases[] = {
        {"3", "Reply(3)"},
        {nullptr, "Reply()"},
        {"", "Reply()"},
        {"a, b(c)", "Reply(a,b(c))"},
        {"@Level(Game)", "Reply(3)"},
        {"x),Terminate", "Reply(x)"},
        {"\"q,)\"", "Reply(\"q,)\")"},
    };
    for (const ReplyCase& c : cases) {
        if (c.value != nullptr) {
            m_world.SetVariable("Game", "Value", c.value);
        } else {
            Application().GetVariables().RemoveKey(S("Game"), S("Value"));
        }
        EXPECT_TRUE(Send("GetVar(Reply, Game(Value))")) << c.value;
        EXPECT_EQ(m_root->TakeReceived(), Log{c.reply}) << c.value;
        EXPECT_EQ(m_watcher->TakeReceived(), Log{c.reply}) << c.value;
    }
    EXPECT_EQ(Application().m_quits, 0);
    EXPECT_EQ(m_world.TakeReports(), Reports{});
}

TEST_F(MessengerBuiltinsTest, GetVarSendsNothingForAValueThatDoesNotParseAndStillAnswersTrue) {
    m_world.SetVariable("Game", "Value", "\"x");
    EXPECT_TRUE(Send("GetVar(Reply, Game(Value))"));
    EXPECT_EQ(m_world.TakeReports(), (Reports{{Script::kErrorUnclosedQuote}, {M(22), "\"\"x\""}}));
    EXPECT_EQ(m_root->TakeReceived(), Log{});
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});

    EXPECT_TRUE(Send("GetVar(Reply)"));
    EXPECT_FALSE(Send("GetVar(Reply, (Level))"));
    EXPECT_EQ(m_world.TakeReports(), Failed({{M(16), "\"Actor\",\"Level\",\"\""}}));
    EXPECT_EQ(m_root->TakeReceived(), Log{});
}

TEST_F(MessengerBuiltinsTest, IfHandlesTheConditionThenTheChosenBranch) {
    EXPECT_TRUE(Send("If"));
    EXPECT_TRUE(Send("If(Tag(c), Tag(yes), Tag(no))"));
    EXPECT_EQ(Text(m_actor->GetTag()), "yes");
    EXPECT_TRUE(Send("If(Fail, Tag(yes), Tag(no))"));
    EXPECT_EQ(Text(m_actor->GetTag()), "no");
    m_actor->TakeReceived();

    EXPECT_TRUE(Send("If(Fail, Tag(yes))"));
    EXPECT_EQ(m_actor->TakeReceived(), (Log{"If(Fail,Tag(yes))", "Fail"}));
    EXPECT_EQ(m_world.TakeReports(), Reports{});

    EXPECT_FALSE(Send("If(Tag(c), Fail)"));
    EXPECT_EQ(m_world.TakeReports(), Failed({{M(8), "\"Actor\""}}));
}

TEST_F(MessengerBuiltinsTest, MessageSendsEachArgumentAndReportsWhenAnyFailed) {
    EXPECT_TRUE(Send("Message"));
    EXPECT_FALSE(Send("Message(Nope(Tag(x)), (Ping), :Watcher(Pong, Tag(w)))"));
    EXPECT_EQ(m_root->TakeReceived(), Log{"Ping"});
    EXPECT_EQ(m_watcher->TakeReceived(), (Log{"Ping", "Pong", "Tag(w)"}));
    EXPECT_EQ(Text(m_watcher->GetTag()), "w");
    EXPECT_EQ(m_world.TakeReports(), Failed({{M(5), "\"Actor\",\"Nope\""}, {M(7), "\"Actor\""}}));
}

TEST_F(MessengerBuiltinsTest, AttributesAreSetRepliedAndRemoved) {
    EXPECT_TRUE(Send("SetAttribute(Items, a, b(c)), GetAttribute(Reply, Items)"));
    EXPECT_EQ(m_root->TakeReceived(), Log{"Reply(a,b(c))"});
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"Reply(a,b(c))"});

    EXPECT_TRUE(Send("SetAttribute(Items), GetAttribute(Reply, Items)"));
    EXPECT_EQ(m_root->TakeReceived(), Log{"Reply"});
    EXPECT_TRUE(Send("SetAttribute(Items, z), RemAttribute(Items), GetAttribute(Reply, Items), "
                     "RemAttribute(Items)"));
    EXPECT_EQ(m_root->TakeReceived(), Log{"Reply"});
    EXPECT_TRUE(m_actor->GetAttributes().Empty());
    EXPECT_EQ(m_world.TakeReports(), Reports{});
}

// Messages that call each other without end: the reply to Root runs Message, which asks Actor again. The
// nesting stops at the bound with one report, the handling below it fails as any refused handling does, and
// the outer handling goes on with its next word.
TEST_F(MessengerBuiltinsTest, MessagesThatCallEachOtherStopAtTheNestingBound) {
    const char* const words[] = {"GetAttribute(Message, Loop)", "GetVar(Message, Game(Loop))"};
    ASSERT_TRUE(Send("SetAttribute(Loop, Actor(GetAttribute(Message, Loop)))"));
    m_world.SetVariable("Game", "Loop", "Actor(GetVar(Message, Game(Loop)))");
    m_watcher->Unsubscribe(*m_actor);
    m_actor->TakeReceived();
    m_root->TakeReceived();
    for (const char* text : words) {
        const std::string message(text);
        EXPECT_TRUE(Send(message + ", Tag(after)")) << message;
        const std::string word = message.substr(0, message.find('('));
        EXPECT_EQ(m_world.TakeReports(), (Reports{{M(25), ("\"Actor\",\"" + word + "\"").c_str()},
                                                  {M(8), "\"Actor\""},
                                                  {M(9), "\"Actor\""},
                                                  {M(7), "\"Root\""},
                                                  {M(8), "\"Root\""},
                                                  {M(9), "\"Root\""}}))
            << message;
        // Actor and Root take turns; the last word of Actor's would have been one level too deep.
        const Log received = m_actor->TakeReceived();
        EXPECT_EQ(received.size(), Messenger::kMaxHandlingDepth / 2 + 1) << message;
        EXPECT_EQ(received.back(), "Tag(after)") << message;
        EXPECT_EQ(m_root->TakeReceived().size(), Messenger::kMaxHandlingDepth / 2) << message;
        EXPECT_EQ(Text(m_actor->GetTag()), "after") << message;
        m_actor->SetTag(S(""));
    }
}

// Each answer asks twice: without an end to the whole nesting once the bound is reached, every level below
// would be tried again from each level above it.
TEST_F(MessengerBuiltinsTest, ABranchingLoopEndsOnceTheBoundIsReached) {
    m_watcher->Unsubscribe(*m_actor);
    ASSERT_TRUE(
        Send("SetAttribute(Loop, Actor(GetAttribute(Message, Loop)), Actor(GetAttribute(Message, Loop)))"));
    EXPECT_TRUE(Send("GetAttribute(Message, Loop)"));
    std::size_t boundReports = 0;
    for (const Reported& report : m_world.TakeReports()) {
        boundReports += report.m_code == M(25) ? 1 : 0;
    }
    EXPECT_EQ(boundReports, 1u);
    EXPECT_LE(m_actor->TakeReceived().size(), Messenger::kMaxHandlingDepth);

    EXPECT_TRUE(Send("Tag(next)"));
    EXPECT_EQ(Text(m_actor->GetTag()), "next");
    EXPECT_EQ(m_world.TakeReports(), Reports{});
}

struct StoreCase {
    const char* message;
    bool result;
    Reports reports;
};

TEST_F(MessengerBuiltinsTest, StoreWordsReportTheirFailuresWithTheAddress) {
    const StoreCase cases[] = {
        {"SetVar", true, {}},
        {"SetVar((Level), 3)", false, Failed({{M(16), "\"Actor\",\"Level\",\"\""}})},
        {"SetVar(Game(), 3)", false,
         Failed({{M(18), "\"Actor\",\"Game\",\"\",\"3\""}, {M(20), "\"Actor\""}})},
        {"SetUserSetting((Name), Kim)", false, Failed({{M(11), "\"Actor\",\"Name\",\"\",\"Kim\""}})},
        {"SetUserSetting(Game(Name), Kim)", false, Failed({{M(1000)}, {M(15), "\"Actor\""}})},
        {"RemUserSetting(Game(Name))", true, {{M(1000)}}},
        {"RemVar(Game(Missing)), RemVar", true, {}},
        {"CopyVarToVar(Game(Level))", true, {}},
        {"CopyVarToVar((Level), Save(Level))", false, Failed({{M(11), "\"Actor\",\"Level\",\"\""}})},
        {"CopyVarToVar(Game(Level), (Level))", false, Failed({{M(16), "\"Actor\",\"Level\",\"\""}})},
        {"CopyVarToUser(Game(Level), Save(Level))", false,
         Failed({{M(1000)}, {M(18), "\"Actor\",\"Game\",\"Level\",\"Save\",\"Level\""}})},
    };
    for (const StoreCase& c : cases) {
        EXPECT_EQ(Send(c.message), c.result) << c.message;
        EXPECT_EQ(m_world.TakeReports(), c.reports) << c.message;
    }
}

TEST_F(MessengerBuiltinsTest, CopyWordsReadTheSourceAndWriteTheDestination) {
    EXPECT_TRUE(Send("CopyVarToVar(Game(Level), Save(Level)), CopyVarToVar(Game(Missing), Save(Missing))"));
    EXPECT_EQ(m_world.Variable("Save", "Level"), "3");
    Vemo::String copied;
    EXPECT_TRUE(Application().GetVariables().GetValue(S("Save"), S("Missing"), copied));
    EXPECT_EQ(Text(copied), "");
    EXPECT_TRUE(Send("RemVar(Game(Level)), GetVar(Reply, Game(Level)), GetVar(Reply, Save(Level))"));
    EXPECT_EQ(m_root->TakeReceived(), (Log{"Reply()", "Reply(3)"}));

    // Without user settings the read gives the empty value, which the variables take.
    EXPECT_TRUE(Send("CopyUserToVar(Profile(Name), Save(Level))"));
    EXPECT_EQ(m_world.Variable("Save", "Level"), "");
    EXPECT_EQ(m_world.TakeReports(), (Reports{{M(1000)}}));
}

TEST_F(MessengerBuiltinsTest, AVariableAddressWithoutAKeyNamesTheKeyOfTheEmptySectionThatAtNameReads) {
    EXPECT_TRUE(Send("SetVar(GOTO, \"Page3\")"));
    EXPECT_EQ(m_world.Variable("", "GOTO"), "Page3");
    EXPECT_TRUE(Send("Tag(@GOTO)"));
    EXPECT_EQ(Text(m_actor->GetTag()), "Page3");
    EXPECT_TRUE(Send("GetVar(Reply, GOTO), CopyVarToVar(GOTO, Save(Goto)), CopyVarToVar(Save(Goto), Back)"));
    EXPECT_EQ(m_root->TakeReceived(), Log{"Reply(Page3)"});
    EXPECT_EQ(m_world.Variable("Save", "Goto"), "Page3");
    EXPECT_EQ(m_world.Variable("", "Back"), "Page3");
    EXPECT_TRUE(Send("RemVar(GOTO)"));
    EXPECT_EQ(m_world.Variable("", "GOTO"), "");
    EXPECT_FALSE(Send("SetUserSetting(Name, Kim)")) << "the user settings keep refusing an empty key";
    m_world.TakeReports();
    EXPECT_FALSE(Send("SetVar(Game(), 3)")) << "an empty key written out is still refused";
    m_world.TakeReports();
}

TEST_F(MessengerBuiltinsTest, UserSettingWordsFailWhileNoUserSettingsAreOpen) {
    EXPECT_TRUE(Send("GetUserSetting(Reply, Profile(Name))"));
    EXPECT_EQ(m_root->TakeReceived(), Log{"Reply()"});
    EXPECT_EQ(m_world.TakeReports(), (Reports{{M(1000)}}));
    Vemo::String value(S("kept?"));
    EXPECT_FALSE(m_actor->GetUserSetting(S("Profile"), S("Name"), value));
    EXPECT_EQ(Text(value), "");
    EXPECT_FALSE(m_actor->SetUserSetting(S("Profile"), S("Name"), S("Kim")));
    EXPECT_FALSE(m_actor->RemUserSetting(S("Profile"), S("Name")));
    EXPECT_EQ(m_world.TakeReports(), (Reports{{M(1000)}, {M(1000)}, {M(1000)}}));
}

TEST_F(MessengerBuiltinsTest, SharedSettingsAreTheApplications) {
    EXPECT_TRUE(m_actor->SetSharedSetting(S("Game"), S("Lang"), S("fr")));
    Vemo::String value;
    EXPECT_TRUE(m_actor->GetSharedSetting(S("Game"), S("Lang"), value));
    EXPECT_EQ(Text(value), "fr");
    EXPECT_TRUE(Send("Show($Lang(Game))"));
    EXPECT_EQ(m_actor->TakeReceived(), Log{"Show(fr)"});
    EXPECT_TRUE(m_actor->RemSharedSetting(S("Game"), S("Lang")));
    EXPECT_FALSE(m_actor->GetSharedSetting(S("Game"), S("Lang"), value));
    EXPECT_EQ(Text(value), "");
    EXPECT_EQ(m_world.TakeReports(), Reports{});
}

TEST_F(MessengerBuiltinsTest, TerminateQuitsTheApplication) {
    EXPECT_TRUE(Send("Terminate"));
    EXPECT_EQ(Application().m_quits, 1);
}

TEST_F(MessengerBuiltinsTest, SubscribeAndUnsubscribeResolveTheName) {
    EXPECT_TRUE(Send("Subscribe(:Watcher), Subscribe(:Watcher)"));
    EXPECT_EQ(m_watcher->GetSubscribers().Size(), 1u);
    EXPECT_EQ(*m_watcher->GetSubscribers().Begin(), m_actor);
    EXPECT_TRUE(Send("Unsubscribe(:watcher)"));
    EXPECT_TRUE(m_watcher->GetSubscribers().Empty());

    EXPECT_FALSE(m_actor->HandleMessage(Fragment(S("Subscribe(Nobody)")), m_root));
    EXPECT_FALSE(m_actor->HandleMessage(Fragment(S("Unsubscribe(Nobody)")), m_root));
    EXPECT_EQ(m_world.TakeReports(), Reports{});
}

TEST_F(MessengerBuiltinsTest, TagTakesItsArgumentReadAsText) {
    m_world.AddLocale("English", std::string("TITLE\0Main menu\0", 16));
    EXPECT_TRUE(Send("Tag(Hello)"));
    EXPECT_EQ(Text(m_actor->GetTag()), "Hello");
    EXPECT_TRUE(Send("Tag(TITLE(English))"));
    EXPECT_EQ(Text(m_actor->GetTag()), "Main menu");
    EXPECT_TRUE(Send("Tag"));
    EXPECT_EQ(Text(m_actor->GetTag()), "");
}

// The stage with the user settings of a real User.ini open.
class MessengerUserSettingsTest : public VemoTest::Win32DrivesTest {
protected:
    MessengerUserSettingsTest() : m_world(false), m_stage(m_world) {
        std::filesystem::create_directories(Host('C', "settings"));
        VemoTest::WriteHostFile(UserIni(), "[Player]\r\nName=Kim\r\nQuote=x),Terminate\r\n");
        EXPECT_TRUE(m_world.Application().OpenUserSettings(At("HD0:/settings/User.ini")));
        m_application.TakeReports();
    }

    std::string UserIni() const { return Host('C', "settings/User.ini"); }

    World m_world;
    Stage m_stage;
};

TEST_F(MessengerUserSettingsTest, ReferencesAndReadWordsUseTheOpenUserSettings) {
    EXPECT_TRUE(m_stage.Send("Show(#Name(Player))"));
    EXPECT_EQ(m_stage.m_actor->TakeReceived(), Log{"Show(Kim)"});
    EXPECT_FALSE(m_stage.Send("Show, #Missing(Player)"));
    EXPECT_EQ(m_application.TakeReports(), Failed({{M(1000)}}));
    EXPECT_EQ(m_stage.m_actor->TakeReceived(), Log{});

    // The file is outside the scripts: a value that would close the reply stays inside it.
    EXPECT_TRUE(m_stage.Send("GetUserSetting(Reply, Player(Name)), GetUserSetting(Reply, Player(Quote)), "
                             "GetUserSetting(Reply, Player(Missing))"));
    EXPECT_EQ(m_stage.m_root->TakeReceived(), (Log{"Reply(Kim)", "Reply(x)", "Reply()"}));
    EXPECT_EQ(m_stage.m_watcher->TakeReceived(), (Log{"Reply(Kim)", "Reply(x)", "Reply()"}));
    EXPECT_EQ(m_world.Application().m_quits, 0);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

TEST_F(MessengerUserSettingsTest, WriteAndCopyWordsChangeTheFileThatClosingSaves) {
    EXPECT_TRUE(
        m_stage.Send("SetUserSetting(Player(Level), 4), CopyUserToVar(Player(Level), Game(Saved)), "
                     "CopyVarToUser(Game(Level), Player(Best)), CopyUserToUser(Player(Name), Backup(Name)), "
                     "RemUserSetting(Player(Quote)), RemUserSetting(Player(Missing))"));
    EXPECT_EQ(m_world.Variable("Game", "Saved"), "4");
    EXPECT_EQ(m_application.TakeReports(), Reports{});

    EXPECT_FALSE(m_stage.Send("SetUserSetting(Player(), x)"));
    EXPECT_EQ(m_application.TakeReports(),
              Failed({{M(13), "\"Actor\",\"Player\",\"\",\"x\""}, {M(15), "\"Actor\""}}));
    EXPECT_FALSE(m_stage.Send("CopyVarToUser(Game(Level), Player())"));
    EXPECT_EQ(m_application.TakeReports(), Failed({{M(13), "\"Actor\",\"Player\",\"\",\"3\""},
                                                   {M(18), "\"Actor\",\"Game\",\"Level\",\"Player\",\"\""}}));

    m_world.Application().CloseUserSettings();
    EXPECT_EQ(VemoTest::ReadHostFile(UserIni()),
              "\r\n[Player]\r\nName=Kim\r\nLevel=4\r\nBest=3\r\n\r\n[Backup]\r\nName=Kim\r\n\r\n");
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

} // namespace
