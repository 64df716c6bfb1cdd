// The root of every scripted object. A messenger has a name, may be owned by a parent, may have been made
// from a section of a Script, and carries named fragment lists (attributes), a tag, and links to the
// messengers that subscribed to it and to those it subscribed to. Messengers act on each other by sending
// messages: a message is a list of fragments whose first-level texts are message words; the receiver
// evaluates its references (@ variable, # user setting, $ shared setting, % attributes of another messenger)
// and hands each word to HandleMessage, which subclasses extend and which ends here with the built-in words.
//
// Invariants: a messenger with a parent is among the parent's children under its (non-empty) name, and no two
// children of one parent share a name without regard to case; A is among B's subscribers exactly when B is
// among A's subscriptions, each pair at most once; a messenger is in the registry exactly when it says it is
// registered. Identity is the serial number, never the address.
//
// Messengers belong to the main thread; handling is re-entrant on it.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/BasicList.h"
#include "foundation/BasicMap.h"
#include "foundation/BasicSet.h"
#include "foundation/String.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"
#include "script/Fragment.h"
#include "script/SubString.h"

#include <cstdint>

class Script;

// Code n of the messenger module. Its texts are lists of quoted items (see ErrorString).
constexpr Vemo::ErrorCode MessengerErrorCode(std::uint16_t number) {
    return Vemo::MakeErrorCode(Vemo::kMessengerFacility, number);
}

class Messenger {
public:
    // Orders messengers by name without regard to case (only A-Z fold; bytes compare unsigned).
    struct MessengerLess {
        bool operator()(const Messenger* a, const Messenger* b) const;
    };

    using Attributes = Vemo::BasicMap<Vemo::String, Vemo::BasicArray<Fragment>, Vemo::Less<Vemo::String>>;
    using MessengerList = Vemo::BasicList<Messenger*>;
    using MessengerSet = Vemo::BasicSet<Messenger*, MessengerLess>;

    static constexpr Vemo::ErrorCode kErrorReservedName = MessengerErrorCode(1);
    static constexpr Vemo::ErrorCode kErrorInvalidName = MessengerErrorCode(2);
    static constexpr Vemo::ErrorCode kErrorEmptyName = MessengerErrorCode(3);
    static constexpr Vemo::ErrorCode kErrorDuplicateName = MessengerErrorCode(4);
    static constexpr Vemo::ErrorCode kErrorNotFound = MessengerErrorCode(5);
    static constexpr Vemo::ErrorCode kErrorCreateFailed = MessengerErrorCode(6);
    static constexpr Vemo::ErrorCode kErrorSendFailed = MessengerErrorCode(7);
    static constexpr Vemo::ErrorCode kErrorHandleFailed = MessengerErrorCode(8);
    static constexpr Vemo::ErrorCode kErrorNotHandled = MessengerErrorCode(9);
    static constexpr Vemo::ErrorCode kErrorEmptyUserSection = MessengerErrorCode(11);
    static constexpr Vemo::ErrorCode kErrorUserSettingRefused = MessengerErrorCode(13);
    static constexpr Vemo::ErrorCode kErrorSetUserSettingFailed = MessengerErrorCode(15);
    static constexpr Vemo::ErrorCode kErrorEmptySection = MessengerErrorCode(16);
    static constexpr Vemo::ErrorCode kErrorVariableMissing = MessengerErrorCode(17);
    static constexpr Vemo::ErrorCode kErrorStoreRefused = MessengerErrorCode(18);
    static constexpr Vemo::ErrorCode kErrorSetVarFailed = MessengerErrorCode(20);
    static constexpr Vemo::ErrorCode kErrorStateNotCreated = MessengerErrorCode(21);
    static constexpr Vemo::ErrorCode kErrorParseFailed = MessengerErrorCode(22);
    static constexpr Vemo::ErrorCode kErrorStateWithoutOwner = MessengerErrorCode(23);
    static constexpr Vemo::ErrorCode kErrorOwnerNotStateGraph = MessengerErrorCode(24);
    static constexpr Vemo::ErrorCode kErrorNestedTooDeep = MessengerErrorCode(25);
    static constexpr Vemo::ErrorCode kErrorSettings = MessengerErrorCode(1000);

    // Substitutions that one evaluation of a message may make, over the list and all its child lists.
    static constexpr unsigned kMaxSubstitutions = 1000;
    // Words whose handling may nest inside one another: messages that ask each other without end (a reply
    // that runs the message asking for it) stop here, with code 25 reported once. From then on every nested
    // handling is refused until the outermost one returns, which then goes on with its next word.
    static constexpr unsigned kMaxHandlingDepth = 256;

    // Neither links the messenger into the parent's children (ReadScript does) nor registers it.
    Messenger(const Vemo::String& name, Messenger* parent, Script* script);
    Messenger(const Messenger&) = delete;
    Messenger& operator=(const Messenger&) = delete;
    // Leaves the registry, ends every subscription in both directions (the other side is told
    // "Unsubscribed"), destroys the children in name order, leaves the parent and releases the script.
    virtual ~Messenger();

    virtual Vemo::String GetClassName() const;
    // Checks the name and links the messenger into its parent's children (a messenger already linked stays
    // so), then reads the "Attribute" keys of its section. Every subclass calls it first and stops when it
    // fails; a failure leaves the messenger without a parent.
    virtual bool ReadScript();
    virtual bool Register();
    virtual bool Unregister();
    virtual bool IsRegistered() const;

    // The send operations: this messenger is the sender. The ...To forms resolve the name with FindMessenger;
    // an empty name reaches the parent and then every subscriber.
    virtual bool SendText(const Vemo::String& text, Messenger* target);
    virtual bool SendTextTo(const Vemo::String& text, const Vemo::String& targetName);
    virtual bool SendFragment(const Fragment& message, Messenger* target);
    virtual bool SendFragmentTo(const Fragment& message, const Vemo::String& targetName);
    // Evaluates the message once (by the first recipient) and has each recipient of the list, in list order,
    // handle its words. The walk is over the list as it was when it began: a recipient destroyed meanwhile
    // gets no further words, and the others get every word whatever the handlers did to any list.
    virtual bool DeliverToList(const Vemo::BasicArray<Fragment>& message, const MessengerList& recipients);
    virtual bool SendFragments(const Vemo::BasicArray<Fragment>& message, Messenger* target);
    virtual bool SendFragmentsTo(const Vemo::BasicArray<Fragment>& message, const Vemo::String& targetName);
    // A message arriving as text from the named messenger: parsed (code 22 when it does not parse) and
    // handled here. An empty sender name means that the messenger announces something itself: it is the
    // sender, and the message also goes to every subscriber. A named sender that cannot be found is null.
    bool ReceiveTextFrom(const Vemo::String& text, const SubString& senderName);

    virtual void SetTag(const Vemo::String& text);
    // This messenger subscribes to the target; both sides are told "Subscribed" when the link is new.
    virtual void Subscribe(Messenger& target);
    virtual void Unsubscribe(Messenger& target);

    // Substitutes the references of the list in place.
    virtual bool EvaluateFragments(Vemo::BasicArray<Fragment>& fragments);
    // An "Attribute"(name) fragment appends that attribute's fragments to out; any other appends nothing.
    virtual bool ExpandAttribute(const Fragment& fragment, Vemo::BasicArray<Fragment>& out);
    // One message word; subclasses handle their own words and pass the others on. A word that no class
    // knows is accepted without effect.
    virtual bool HandleMessage(const Fragment& message, Messenger* sender);
    // The entry of every arriving message: evaluates a copy and hands each word to HandleMessage.
    virtual bool HandleFragment(const Vemo::BasicArray<Fragment>& message, Messenger* sender);
    // "" and "Parent" name the parent; "A" a child; "^A" a registered messenger; ":A" a sibling; "A:B" the
    // child B of the child A. Names compare without regard to case.
    virtual Messenger* FindMessenger(const Vemo::String& name);

    // The stores of the current MessengerApplication: its user settings (code 1000 while none are open), its
    // shared settings, and its variables.
    virtual bool GetUserSetting(const Vemo::String& section, const Vemo::String& key, Vemo::String& value);
    virtual bool SetUserSetting(const Vemo::String& section, const Vemo::String& key,
                                const Vemo::String& value);
    virtual bool RemUserSetting(const Vemo::String& section, const Vemo::String& key);
    virtual bool GetSharedSetting(const Vemo::String& section, const Vemo::String& key, Vemo::String& value);
    virtual bool SetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                                  const Vemo::String& value);
    virtual bool RemSharedSetting(const Vemo::String& section, const Vemo::String& key);
    virtual bool GetVar(const Vemo::String& section, const Vemo::String& key, Vemo::String& value);
    virtual bool SetVar(const Vemo::String& section, const Vemo::String& key, const Vemo::String& value);
    virtual bool RemVar(const Vemo::String& section, const Vemo::String& key);

    // The creation function registered under "Messenger": constructs, reads the script, and on failure
    // destroys the messenger, reports code 6 and gives null.
    static Messenger* Create(const Vemo::String& name, Messenger* parent, Script* script);
    // What the creation function of most messenger classes does: the messenger made and its script read;
    // null, the messenger deleted, when the script does not read (ReadScript has reported why).
    template <class T>
    static Messenger* CreateRead(const Vemo::String& name, Messenger* parent, Script* script) {
        auto* made = new T(name, parent, script);
        if (!made->ReadScript()) {
            delete made;
            return nullptr;
        }
        return made;
    }

    bool IsParent(const Messenger& other) const;
    // Whether this messenger's FindMessenger, given other's name, finds other.
    bool IsReachable(const Messenger& other);

    const Vemo::String& GetName() const { return m_name; }
    const Vemo::String& GetSectionName() const { return m_sectionName; }
    const Vemo::String& GetTag() const { return m_tag; }
    std::uint32_t GetSerialNumber() const { return m_serialNumber; }
    Script* GetScript() const { return m_script; }
    Messenger* GetParent() const { return m_parent; }
    const Attributes& GetAttributes() const { return m_attributes; }
    const MessengerList& GetSubscribers() const { return m_subscribers; }
    const MessengerList& GetSubscriptions() const { return m_subscriptions; }
    const MessengerSet& GetChildren() const { return m_children; }

    // The class word "Messenger".
    static const Vemo::String& ClassWord();
    // The registered messenger of that name (without regard to case), or null.
    static Messenger* FindRegistered(const Vemo::String& name);

private:
    struct Probe {};
    // A messenger that only carries a name, to look names up in the ordered sets; it takes no serial.
    Messenger(const Vemo::String& name, Probe);

    static MessengerSet& Registry();

    Messenger* FindDirect(const Vemo::String& name, std::uint32_t start, std::uint32_t count);
    Messenger* FindChild(const Vemo::String& name) const;
    bool FailReadScript(Vemo::ErrorCode code, bool withName);
    void ReadAttributes();
    bool SendToTargetAndSubscribers(const Vemo::BasicArray<Fragment>& message, const Vemo::String& targetName,
                                    Messenger* target);
    // The messenger with that serial number while it lives, or null.
    static Messenger* FindLive(std::uint32_t serialNumber);
    // Hands one word to the recipient's HandleMessage, counting the nesting.
    static bool HandleWord(Messenger& recipient, const Fragment& word, Messenger* sender);
    bool IsSubscriberOf(const Messenger& target) const;

    bool EvaluateList(Vemo::BasicArray<Fragment>& fragments, unsigned depth, unsigned& substitutions);
    bool EvaluateChildren(Fragment& fragment, unsigned depth, unsigned& substitutions);
    bool ResolveReference(Fragment& fragment, Vemo::BasicArray<Fragment>& replacement);
    bool ResolveStoredValue(char kind, const Vemo::String& section, const Vemo::String& key,
                            Vemo::BasicArray<Fragment>& replacement);
    bool ExpandAttributes(Fragment& fragment, const Vemo::String& name,
                          Vemo::BasicArray<Fragment>& replacement);

    bool HandleMessageWord(const Fragment& message, Messenger* sender);
    bool HandleIf(const Fragment& message, Messenger* sender);
    bool HandleSet(const Fragment& message, bool user);
    bool HandleGet(const Fragment& message, bool user);
    bool HandleRemove(const Fragment& message, bool user);
    bool HandleCopy(const Fragment& message, bool fromUser, bool toUser);
    // The value stored under section and key in the user settings or the variables, as GetUserSetting or
    // GetVar leaves it.
    Vemo::String GetStored(bool user, const Vemo::String& section, const Vemo::String& key);
    bool HandleGetAttribute(const Fragment& message);
    bool SendReply(const Vemo::String& word, const Vemo::String& value);

    Attributes m_attributes;
    Vemo::String m_name;
    Vemo::String m_sectionName;
    Vemo::String m_tag;
    std::uint32_t m_serialNumber = 0;
    Script* m_script = nullptr;
    Messenger* m_parent = nullptr;
    std::uint8_t m_registered = 0;
    MessengerList m_subscribers;
    MessengerList m_subscriptions;
    MessengerSet m_children;
};
