#include "script/Messenger.h"

#include "platform/testing/CaseNames.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace MessengerTest;

constexpr Vemo::ErrorCode M(std::uint16_t number) {
    return MessengerErrorCode(number);
}

// Root owns Menu and Game; Game owns Level; Hub stands alone and owns Port.
const char* const kTree = "[Root]\nClass=TestRecorder\n"
                          "[Menu]\nClass=TestRecorder\n"
                          "[Game]\nClass=TestRecorder\n"
                          "[Level]\nClass=TestRecorder\n"
                          "[Hub]\nClass=TestRecorder\n"
                          "[Port]\nClass=TestRecorder\n";

struct Tree {
    explicit Tree(World& world) {
        Script* script = world.AddScript("Tree", kTree);
        root = world.Create<Recorder>("Root", nullptr, script);
        menu = world.Create<Recorder>("Menu", root, script);
        game = world.Create<Recorder>("Game", root, script);
        level = world.Create<Recorder>("Level", game, script);
        hub = world.Create<Recorder>("Hub", nullptr, script);
        port = world.Create<Recorder>("Port", hub, script);
    }

    void TakeAll() {
        for (Recorder* recorder : {root, menu, game, level, hub, port}) {
            recorder->TakeReceived();
        }
    }

    Recorder* root;
    Recorder* menu;
    Recorder* game;
    Recorder* level;
    Recorder* hub;
    Recorder* port;
};

TEST(MessengerTest, SerialNumbersCountUpAndTheScriptIsHeldWhileTheMessengerLives) {
    World world;
    Script* script = world.AddScript("Main", "[One]\nClass=Messenger\n[Two]\nClass=Messenger\n");
    Messenger* one = world.Create("One", nullptr, script);
    Messenger* two = world.Create("Two", nullptr, script);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->GetSerialNumber(), one->GetSerialNumber() + 1);
    EXPECT_EQ(script->GetRefCount(), 2u);
    EXPECT_EQ(Text(one->GetClassName()), "Messenger");
    EXPECT_EQ(Text(one->GetSectionName()), "One");
    {
        Messenger loose(S("Loose"), nullptr, script);
        EXPECT_EQ(loose.GetSerialNumber(), two->GetSerialNumber() + 1);
        EXPECT_EQ(script->GetRefCount(), 3u);
    }
    EXPECT_EQ(script->GetRefCount(), 2u);
    EXPECT_EQ(world.TakeReports(), Reports{});
}

struct NameCase {
    const char* name;
    bool withParent;
    Vemo::ErrorCode code; // 0: the name is accepted
    const char* text;
};

class MessengerNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(MessengerNameTest, ReadScriptChecksTheNameAndLinksIntoTheParent) {
    World world;
    Messenger root(S("Root"), nullptr, nullptr);
    Messenger sibling(S("child"), &root, nullptr);
    ASSERT_TRUE(sibling.ReadScript());

    const NameCase& c = GetParam();
    Messenger messenger(S(c.name), c.withParent ? &root : nullptr, nullptr);
    EXPECT_EQ(messenger.ReadScript(), c.code == 0);
    if (c.code == 0) {
        EXPECT_EQ(world.TakeReports(), Reports{});
        EXPECT_EQ(messenger.GetParent(), c.withParent ? &root : nullptr);
        EXPECT_EQ(root.GetChildren().Size(), c.withParent ? 2u : 1u);
    } else {
        EXPECT_EQ(world.TakeReports(), (Reports{{c.code, c.text}}));
        EXPECT_EQ(messenger.GetParent(), nullptr);
        EXPECT_EQ(root.GetChildren().Size(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, MessengerNameTest,
    testing::Values(
        NameCase{"Parent", true, M(1), "\"Root\",\"Parent\""},
        NameCase{"pARENT", false, M(1), "\"\",\"pARENT\""}, NameCase{"a@b", true, M(2), "\"Root\",\"a@b\""},
        NameCase{"a#b", true, M(2), "\"Root\",\"a#b\""}, NameCase{"$", true, M(2), "\"Root\",\"$\""},
        NameCase{"%x", true, M(2), "\"Root\",\"%x\""}, NameCase{"^x", false, M(2), "\"\",\"^x\""},
        NameCase{"a&", true, M(2), "\"Root\",\"a&\""}, NameCase{"a*", true, M(2), "\"Root\",\"a*\""},
        NameCase{"a,b", true, M(2), "\"Root\",\"a,b\""}, NameCase{"a/b", true, M(2), "\"Root\",\"a/b\""},
        NameCase{"a:b", true, M(2), "\"Root\",\"a:b\""}, NameCase{"a\"b", true, M(2), "\"Root\",\"a\"b\""},
        NameCase{"", true, M(3), "\"Root\""}, NameCase{"CHILD", true, M(4), "\"Root\",\"CHILD\""},
        NameCase{"", false, 0, ""}, NameCase{"Main menu", true, 0, ""}, NameCase{"Parents", true, 0, ""}),
    platform::testing::NameFromText<&NameCase::name>());

TEST(MessengerTest, AFailedCreationIsReportedByTheCreationFunctionAndTheFactory) {
    World world;
    Script* script = world.AddScript("Main", "[Root]\nClass=Messenger\n[Parent]\nClass=Messenger\n");
    Messenger* root = world.Create("Root", nullptr, script);
    EXPECT_EQ(world.Create("Parent", root, script), nullptr);
    EXPECT_EQ(world.TakeReports(), (Reports{{M(1), "\"Root\",\"Parent\""},
                                            {M(6), "\"Root\",\"Parent\""},
                                            {MessengerFactory::kErrorCreationFailed, "\"\",\"Parent\""}}));
    EXPECT_TRUE(root->GetChildren().Empty());
    EXPECT_EQ(script->GetRefCount(), 1u);
}

// A subclass's reading and its base's may both run: the second keeps the link instead of calling the
// messenger its own duplicate and leaving a dangling entry in the parent.
TEST(MessengerTest, ReadingTheScriptTwiceKeepsTheMessengerLinked) {
    World world;
    Messenger root(S("Root"), nullptr, nullptr);
    auto* child = new Messenger(S("Child"), &root, nullptr);
    ASSERT_TRUE(child->ReadScript());
    EXPECT_TRUE(child->ReadScript());
    EXPECT_EQ(child->GetParent(), &root);
    EXPECT_EQ(root.GetChildren().Size(), 1u);
    EXPECT_EQ(world.TakeReports(), Reports{});
}

TEST(MessengerTest, AMessengerMissingFromItsParentsChildrenIsReportedWhenDestroyed) {
    World world;
    Messenger root(S("Root"), nullptr, nullptr);
    auto* namesake = new Messenger(S("Twin"), &root, nullptr);
    ASSERT_TRUE(namesake->ReadScript());
    {
        // Never read its script: it has a parent link but is not among the children; the child of the same
        // name stays where it is.
        Messenger unlinked(S("twin"), &root, nullptr);
    }
    EXPECT_EQ(world.TakeReports(), (Reports{{M(5), "\"Root\",\"twin\""}}));
    EXPECT_EQ(root.GetChildren().Size(), 1u);
    EXPECT_EQ(root.FindMessenger(S("Twin")), namesake);
}

struct FindCase {
    const char* from;
    const char* name;
    const char* found; // null: nothing
};

TEST(MessengerTest, NamesResolveRelativeToTheMessenger) {
    World world;
    Tree tree(world);
    ASSERT_TRUE(tree.hub->Register());
    const std::map<std::string, Messenger*> messengers = {{"Root", tree.root}, {"Menu", tree.menu},
                                                          {"Game", tree.game}, {"Level", tree.level},
                                                          {"Hub", tree.hub},   {"Port", tree.port}};
    const FindCase cases[] = {
        {"Game", "", "Root"},
        {"Game", "parent", "Root"},
        {"Game", "PARENT", "Root"},
        {"Game", "Level", "Level"},
        {"Game", "lEVEL", "Level"},
        {"Game", ":Menu", "Menu"},
        {"Game", "Parent:Menu", nullptr},
        {"Game", "Level:", "Game"},
        {"Game", "^Hub", "Hub"},
        {"Game", "^hub:Port", "Port"},
        {"Game", "^Menu", nullptr},
        {"Game", "Menu", nullptr},
        {"Level", "::Menu", "Menu"},
        {"Level", ":", "Root"},
        {"Root", "Game:Level", "Level"},
        {"Root", "Game:Level:parent", "Game"},
        {"Root", ":Menu", nullptr},
        {"Root", "", nullptr},
        {"Root", "Game:Nope", nullptr},
        {"Root", "^", nullptr},
    };
    for (const FindCase& c : cases) {
        Messenger* found = messengers.at(c.from)->FindMessenger(S(c.name));
        EXPECT_EQ(found, c.found != nullptr ? messengers.at(c.found) : nullptr)
            << c.from << " finds " << c.name;
    }
    EXPECT_TRUE(tree.level->IsParent(*tree.game));
    EXPECT_FALSE(tree.game->IsParent(*tree.level));
    EXPECT_FALSE(tree.root->IsParent(*tree.root));
    EXPECT_TRUE(tree.root->IsReachable(*tree.menu));
    EXPECT_FALSE(tree.root->IsReachable(*tree.level));
    EXPECT_FALSE(tree.level->IsReachable(*tree.root));
}

TEST(MessengerTest, TheRegistryHoldsOneMessengerPerNameInAnyCase) {
    World world;
    Messenger first(S("Shared"), nullptr, nullptr);
    Messenger second(S("SHARED"), nullptr, nullptr);
    EXPECT_TRUE(first.Register());
    EXPECT_TRUE(first.Register());
    EXPECT_FALSE(second.Register());
    EXPECT_FALSE(second.IsRegistered());
    EXPECT_EQ(Messenger::FindRegistered(S("shared")), &first);

    EXPECT_TRUE(first.Unregister());
    EXPECT_TRUE(first.Unregister());
    EXPECT_TRUE(second.Register());
    EXPECT_EQ(Messenger::FindRegistered(S("shared")), &second);
    {
        Messenger third(S("Third"), nullptr, nullptr);
        ASSERT_TRUE(third.Register());
    }
    EXPECT_EQ(Messenger::FindRegistered(S("Third")), nullptr);
    Messenger fourth(S("third"), nullptr, nullptr);
    EXPECT_TRUE(fourth.Register());
    EXPECT_TRUE(second.Unregister());
    EXPECT_TRUE(fourth.Unregister());
    EXPECT_EQ(world.TakeReports(), Reports{});
}

TEST(MessengerTest, SubscribingLinksBothSidesOnceAndTellsBoth) {
    World world;
    Tree tree(world);
    tree.menu->Subscribe(*tree.game);
    tree.menu->Subscribe(*tree.game);
    EXPECT_EQ(tree.game->GetSubscribers().Size(), 1u);
    EXPECT_EQ(tree.menu->GetSubscriptions().Size(), 1u);
    EXPECT_EQ(*tree.game->GetSubscribers().Begin(), tree.menu);
    EXPECT_EQ(Events(), (Log{"Game Subscribed by Menu", "Menu Subscribed by Game"}));
    Events().clear();

    tree.menu->Unsubscribe(*tree.level);
    EXPECT_EQ(Events(), Log{});
    tree.menu->Unsubscribe(*tree.game);
    EXPECT_TRUE(tree.game->GetSubscribers().Empty());
    EXPECT_TRUE(tree.menu->GetSubscriptions().Empty());
    EXPECT_EQ(Events(), (Log{"Game Unsubscribed by Menu", "Menu Unsubscribed by Game"}));
    EXPECT_EQ(world.TakeReports(), Reports{});
}

// The destructor's own order: the messenger leaves its subscriptions and subscribers, then destroys its
// children in name order, each of which does the same, and leaves the registry.
TEST(MessengerTest, DestructionEndsEveryLinkAndDestroysTheChildrenInNameOrder) {
    World world;
    Script* script = world.AddScript("Main", "[Root]\nClass=TestRecorder\n[b]\nClass=TestRecorder\n"
                                             "[A]\nClass=TestRecorder\n[Hub]\nClass=TestRecorder\n");
    auto* hub = world.Create<Recorder>("Hub", nullptr, script);
    auto* root = new Recorder(S("Root"), nullptr, script);
    ASSERT_TRUE(root->ReadScript());
    ASSERT_TRUE(root->Register());
    auto* b = world.Create<Recorder>("b", root, script);
    auto* a = world.Create<Recorder>("A", root, script);
    root->Subscribe(*hub);
    a->Subscribe(*hub);
    hub->Subscribe(*b);
    Events().clear();

    delete root;
    EXPECT_EQ(Events(), (Log{"Root destroyed", "Hub Unsubscribed by Root", "A destroyed",
                             "Hub Unsubscribed by A", "b destroyed", "Hub Unsubscribed by b"}));
    EXPECT_TRUE(hub->GetSubscribers().Empty());
    EXPECT_TRUE(hub->GetSubscriptions().Empty());
    EXPECT_EQ(Messenger::FindRegistered(S("Root")), nullptr);
    EXPECT_EQ(script->GetRefCount(), 1u);
    EXPECT_EQ(world.TakeReports(), Reports{});
}

TEST(MessengerTest, AttributesComeFromEveryAttributeValueTheLastDefinitionWinning) {
    World world;
    Script* script = world.AddScript("Main", "[Menu]\nClass=TestRecorder\n"
                                             "Attribute=Items(New, Load), Title(\"Main menu\")\n"
                                             "Attribute=Items(Quit), Empty\n"
                                             "[Bare]\nClass=Messenger\n");
    auto* menu = world.Create<Recorder>("Menu", nullptr, script);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetAttributes().Size(), 3u);

    const auto expand = [&](const char* text) {
        Vemo::BasicArray<Fragment> out;
        out.PushBack(Fragment(S("Kept")));
        EXPECT_TRUE(menu->ExpandAttribute(Fragment(S(text)), out));
        return ScriptTest::Describe(out);
    };
    EXPECT_EQ(expand("Attribute(Items)"), "[Kept],[Quit]");
    EXPECT_EQ(expand("ATTRIBUTE(Title)"), "[Kept],\"Main menu\"");
    EXPECT_EQ(expand("Attribute(Empty)"), "[Kept]");
    EXPECT_EQ(expand("Attribute(Missing)"), "[Kept]");
    EXPECT_EQ(expand("Attributes(Items)"), "[Kept]");

    Messenger* bare = world.Create("Bare", nullptr, script);
    ASSERT_NE(bare, nullptr);
    EXPECT_TRUE(bare->GetAttributes().Empty());
    EXPECT_EQ(world.TakeReports(), Reports{});
}

TEST(MessengerTest, AFailureIsReportedAtEveryLevelItPasses) {
    World world;
    Tree tree(world);
    Fragment word(S("Fail"));
    EXPECT_FALSE(tree.root->SendFragment(word, tree.menu));
    EXPECT_EQ(tree.menu->TakeReceived(), Log{"Fail"});
    EXPECT_EQ(world.TakeReports(), (Reports{{M(8), "\"Menu\""}, {M(9), "\"Menu\""}, {M(7), "\"Root\""}}));

    EXPECT_TRUE(tree.root->SendFragment(Fragment(), tree.menu));
    EXPECT_EQ(tree.menu->TakeReceived(), Log{});

    EXPECT_FALSE(tree.root->SendText(S("Show("), tree.menu));
    EXPECT_EQ(world.TakeReports(), (Reports{{Script::kErrorParenthesisAtEnd}, {M(22), "\"Show(\""}}));
    EXPECT_TRUE(tree.root->SendText(S("Show(Intro), Play"), tree.menu));
    EXPECT_EQ(tree.menu->TakeReceived(), (Log{"Show(Intro)", "Play"}));

    EXPECT_FALSE(tree.root->SendTextTo(S("Show"), S("Nope")));
    EXPECT_FALSE(tree.root->SendFragmentTo(word, S("Game:Nope")));
    Vemo::BasicArray<Fragment> list;
    EXPECT_FALSE(tree.root->SendFragmentsTo(list, S("")));
    EXPECT_EQ(
        world.TakeReports(),
        (Reports{{M(5), "\"Root\",\"Nope\""}, {M(5), "\"Root\",\"Game:Nope\""}, {M(5), "\"Root\",\"\""}}));
}

TEST(MessengerTest, AnEmptyTargetNameReachesTheParentThenEverySubscriber) {
    World world;
    Tree tree(world);
    tree.level->Subscribe(*tree.menu);
    tree.port->Subscribe(*tree.menu);
    tree.menu->Subscribe(*tree.hub);
    tree.TakeAll();

    EXPECT_TRUE(tree.menu->SendTextTo(S("Ping"), S("")));
    EXPECT_EQ(tree.root->TakeReceived(), Log{"Ping"});
    EXPECT_EQ(tree.level->TakeReceived(), Log{"Ping"});
    EXPECT_EQ(tree.port->TakeReceived(), Log{"Ping"});
    EXPECT_EQ(tree.hub->TakeReceived(), Log{});

    // Without a parent there is no broadcast, subscribers or not.
    EXPECT_FALSE(tree.hub->SendTextTo(S("Ping"), S("")));
    EXPECT_EQ(tree.menu->TakeReceived(), Log{});
    EXPECT_EQ(world.TakeReports(), (Reports{{M(5), "\"Hub\",\"\""}}));
}

// Parent first, then the subscribers, each tried whatever the other gave; false when either failed.
TEST(MessengerTest, ABroadcastFailsWhenTheParentOrASubscriberFails) {
    World world;
    Tree tree(world);
    tree.level->Subscribe(*tree.menu);
    tree.TakeAll();

    tree.root->m_refuse = true;
    Fragment ping(S("Ping"));
    EXPECT_FALSE(tree.menu->SendFragmentTo(ping, S("")));
    EXPECT_EQ(tree.root->TakeReceived(), Log{"Ping"});
    EXPECT_EQ(tree.level->TakeReceived(), Log{"Ping"});
    EXPECT_EQ(world.TakeReports(), (Reports{{M(8), "\"Root\""}, {M(9), "\"Root\""}}));

    tree.root->m_refuse = false;
    tree.level->m_refuse = true;
    Vemo::BasicArray<Fragment> list;
    list.PushBack(ping);
    EXPECT_FALSE(tree.menu->SendFragmentsTo(list, S("")));
    EXPECT_EQ(tree.root->TakeReceived(), Log{"Ping"});
    EXPECT_EQ(tree.level->TakeReceived(), Log{"Ping"});
    EXPECT_EQ(world.TakeReports(), (Reports{{M(8), "\"Menu\""}}));
}

TEST(MessengerTest, ADeliveryGoesOnPastAFailingRecipientAndReportsOnce) {
    World world;
    Tree tree(world);
    tree.game->Subscribe(*tree.menu);
    tree.level->Subscribe(*tree.menu);
    tree.port->Subscribe(*tree.menu);
    tree.TakeAll();
    tree.level->m_refuse = true;

    EXPECT_FALSE(tree.menu->DeliverToList(Parsed("Ping, Pong"), tree.menu->GetSubscribers()));
    EXPECT_EQ(tree.game->TakeReceived(), (Log{"Ping", "Pong"}));
    EXPECT_EQ(tree.level->TakeReceived(), (Log{"Ping", "Pong"}));
    EXPECT_EQ(tree.port->TakeReceived(), (Log{"Ping", "Pong"}));
    EXPECT_EQ(world.TakeReports(), (Reports{{M(8), "\"Menu\""}}));

    EXPECT_TRUE(tree.menu->DeliverToList(Parsed("Ping"), Messenger::MessengerList()));
    EXPECT_EQ(tree.game->TakeReceived(), Log{});
}

// A delivery goes to every messenger of the list, subscribers or not, in list order.
TEST(MessengerTest, ADeliveryReachesEveryRecipientOfTheListInOrder) {
    World world;
    Tree tree(world);
    tree.TakeAll();
    Log order;
    for (Recorder* recorder : {tree.port, tree.root, tree.level}) {
        recorder->m_onWord = [&order](Recorder& self, const std::string& word) {
            order.push_back(Text(self.GetName()) + " " + word);
        };
    }
    Messenger::MessengerList recipients;
    recipients.PushBack(tree.port);
    recipients.PushBack(tree.root);
    recipients.PushBack(tree.level);
    EXPECT_TRUE(tree.menu->DeliverToList(Parsed("Ping, Pong"), recipients));
    EXPECT_EQ(order, (Log{"Port Ping", "Port Pong", "Root Ping", "Root Pong", "Level Ping", "Level Pong"}));
    EXPECT_EQ(world.TakeReports(), Reports{});
}

// Handlers change the subscriber list while a delivery runs: the delivery goes on over the list as it was
// when it began, so a recipient that unsubscribes meanwhile still gets the rest of it and one added
// meanwhile gets none of it; a recipient destroyed meanwhile is skipped.
TEST(MessengerTest, ADeliverySkipsOnlyRecipientsDestroyedMeanwhile) {
    World world;
    Tree tree(world);
    Script* script = world.AddScript("More", "[Late]\nClass=TestRecorder\n[Doomed]\nClass=TestRecorder\n");
    auto* late = world.Create<Recorder>("Late", tree.root, script);
    auto* doomed = world.Create<Recorder>("Doomed", tree.root, script);
    tree.game->Subscribe(*tree.menu);
    doomed->Subscribe(*tree.menu);
    tree.level->Subscribe(*tree.menu);
    tree.port->Subscribe(*tree.menu);
    tree.TakeAll();
    late->TakeReceived();
    doomed->TakeReceived();

    tree.game->m_onWord = [&](Recorder&, const std::string& word) {
        if (word == "Ping") {
            delete doomed;
            tree.level->Unsubscribe(*tree.menu);
            late->Subscribe(*tree.menu);
        }
    };
    tree.port->m_onWord = [&](Recorder& self, const std::string& word) {
        if (word == "Ping") {
            self.Unsubscribe(*tree.menu);
        }
    };
    EXPECT_TRUE(tree.menu->SendTextTo(S("Ping, Pong"), S("")));
    EXPECT_EQ(tree.game->TakeReceived(), (Log{"Ping", "Pong"}));
    EXPECT_EQ(tree.level->TakeReceived(), (Log{"Unsubscribed", "Ping", "Pong"}));
    EXPECT_EQ(late->TakeReceived(), Log{"Subscribed"});
    EXPECT_EQ(tree.port->TakeReceived(), (Log{"Ping", "Unsubscribed", "Pong"}));
    EXPECT_EQ(tree.menu->GetSubscribers().Size(), 2u);
    EXPECT_EQ(world.TakeReports(), Reports{});
}

// A recipient that destroys the sender ends nothing: the others still get every word.
TEST(MessengerTest, ADeliveryGoesOnWhenARecipientDestroysTheSender) {
    World world;
    Tree tree(world);
    tree.level->Subscribe(*tree.menu);
    tree.port->Subscribe(*tree.menu);
    tree.TakeAll();
    Messenger::MessengerList recipients = tree.menu->GetSubscribers();
    tree.level->m_onWord = [&](Recorder&, const std::string& word) {
        if (word == "Ping") {
            delete tree.menu;
        }
    };
    EXPECT_TRUE(tree.menu->DeliverToList(Parsed("Ping, Pong"), recipients));
    EXPECT_EQ(tree.level->TakeReceived(), (Log{"Ping", "Unsubscribed", "Pong"}));
    EXPECT_EQ(tree.port->TakeReceived(), (Log{"Unsubscribed", "Ping", "Pong"}));
    EXPECT_EQ(world.TakeReports(), Reports{});
}

// Records who sent each word it handles.
class SenderRecorder : public Recorder {
public:
    using Recorder::Recorder;
    bool HandleMessage(const Fragment& message, Messenger* sender) override {
        m_senders.push_back(sender != nullptr ? Text(sender->GetName()) : "-");
        return Recorder::HandleMessage(message, sender);
    }
    Log m_senders;
};

// A messenger announcing something hands the text to itself with no sender name: it handles the message as
// its own sender, and so does every subscriber, but the parent hears nothing. A named sender is looked up
// from the receiver, and the subscribers are then left out.
TEST(MessengerTest, ReceivedTextIsHandledAndWithoutASenderNameGoesToEverySubscriber) {
    World world;
    Tree tree(world);
    SenderRecorder button(S("Button"), tree.root, nullptr);
    ASSERT_TRUE(button.ReadScript());
    tree.level->Subscribe(button);
    tree.port->Subscribe(button);
    tree.TakeAll();
    button.TakeReceived();
    button.m_senders.clear();

    EXPECT_TRUE(button.ReceiveTextFrom(S("Pressed(0), Enter"), SubString()));
    EXPECT_EQ(button.TakeReceived(), (Log{"Pressed(0)", "Enter"}));
    EXPECT_EQ(button.m_senders, (Log{"Button", "Button"}));
    EXPECT_EQ(tree.level->TakeReceived(), (Log{"Pressed(0)", "Enter"}));
    EXPECT_EQ(tree.port->TakeReceived(), (Log{"Pressed(0)", "Enter"}));
    EXPECT_EQ(tree.root->TakeReceived(), Log{});

    button.m_senders.clear();
    EXPECT_TRUE(button.ReceiveTextFrom(S("Exit"), SubString(S(":Menu"))));
    EXPECT_EQ(button.TakeReceived(), Log{"Exit"});
    EXPECT_EQ(button.m_senders, Log{"Menu"});
    EXPECT_EQ(tree.level->TakeReceived(), Log{});

    button.m_senders.clear();
    EXPECT_TRUE(button.ReceiveTextFrom(S("Exit"), SubString(S("Nobody"))));
    EXPECT_EQ(button.m_senders, Log{"-"});
    button.TakeReceived();
    EXPECT_EQ(world.TakeReports(), Reports{});

    EXPECT_FALSE(button.ReceiveTextFrom(S("Pressed("), SubString()));
    EXPECT_EQ(button.TakeReceived(), Log{});
    EXPECT_EQ(tree.level->TakeReceived(), Log{});
    EXPECT_EQ(world.TakeReports(), (Reports{{Script::kErrorParenthesisAtEnd}, {M(22), "\"Pressed(\""}}));

    tree.level->m_refuse = true;
    EXPECT_FALSE(button.ReceiveTextFrom(S("Enter"), SubString()));
    EXPECT_EQ(tree.port->TakeReceived(), Log{"Enter"});
    EXPECT_EQ(world.TakeReports(), (Reports{{M(8), "\"Button\""}}));
}

// Goes away while it handles a word, as a control may whose message closes its screen.
class SelfDestroyer : public Messenger {
public:
    using Messenger::Messenger;
    bool HandleMessage(const Fragment& message, Messenger* sender) override {
        if (ScriptTest::Text(message.GetText()) != "Pressed") {
            return Messenger::HandleMessage(message, sender);
        }
        delete this;
        return true;
    }
};

// A messenger whose own handling destroys it delivers nothing further.
TEST(MessengerTest, ReceivedTextReachesNoSubscriberOnceItsReceiverIsGone) {
    World world;
    Tree tree(world);
    auto* doomed = new SelfDestroyer(S("Doomed"), tree.root, nullptr);
    ASSERT_TRUE(doomed->ReadScript());
    tree.level->Subscribe(*doomed);
    tree.TakeAll();
    EXPECT_TRUE(doomed->ReceiveTextFrom(S("Pressed(0)"), SubString()));
    EXPECT_EQ(tree.level->TakeReceived(), Log{"Unsubscribed"});
    EXPECT_EQ(world.TakeReports(), Reports{});
}

} // namespace
