// One screen of a title: a scripted state that, while it is the current state of its graph, owns the controls
// its section declares, reacts to messages by running script fragments, and moves its graph on with the
// message "Progress".
//
// Section keys:
//   Control=Section[, Sibling]   controls created on entering, children of the viewport's root control
//   OpenAction=messages          run, in order, after the controls exist
//   CloseAction=messages         run, in order, on leaving
//   OnMessage=Word(Sender[(Tag)][, Arguments...]), messages
//                                run when the messenger named Sender (carrying the tag, when one is given)
//                                sends Word (with exactly those arguments, when any are given)
// Message words, senders, tags and arguments all match without regard to case; every record that matches
// runs, in script order. The state handles two words itself: "Progress"(n) signals the outcome 256 + n (0
// without an argument), and "CreateControl"(Name[, Parent[, Other]]) creates the control of the section Name
// as a child of the control Parent (the viewport's root control when there is none of that name); Other must
// name a messenger. Such controls, too, go when the state is left.
//
// The state subscribes to every control it creates, so that their announcements ("Pressed(0)", ...) reach its
// OnMessage records; a message that reaches it as a control's parent is not handled again as a subscriber's.
//
// Its class word is "NavigationState"; its owner must be a MessengerStateGraph.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/BasicMap.h"
#include "script/MessengerState.h"
#include "script/SubString.h"

class Control;
class ControlBehavior;

class NavigationState : public MessengerState {
public:
    struct ISubStringLess {
        bool operator()(const SubString& a, const SubString& b) const { return a.CompareNoCase(b) < 0; }
    };

    struct OnMessageRecord {
        // Meaningful only with hasTagPattern.
        SubString tagPattern;
        // Empty: any arguments.
        Vemo::BasicArray<Fragment> argumentPattern;
        Vemo::BasicArray<Fragment> actions;
        bool hasTagPattern = false;
    };

    using SenderTable = Vemo::BasicMap<SubString, Vemo::BasicArray<OnMessageRecord>, ISubStringLess>;
    using MessageTable = Vemo::BasicMap<SubString, SenderTable, ISubStringLess>;

    NavigationState(const Vemo::String& name, MessengerStateGraph* owner, Script* script);
    // Deletes the behaviours and controls it still holds.
    ~NavigationState() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;

    // Creates the controls and runs the open actions; the viewport then stops being busy.
    bool Enter() override;
    // Every control's Idle, in creation order.
    void Update() override;
    // The viewport becomes busy, the close actions run and the behaviours and controls go. False when a close
    // action failed; everything is cleaned up all the same.
    bool Exit() override;

    // The creation function registered under "NavigationState": without a MessengerStateGraph owner, the
    // generic failure and no state.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    const Vemo::BasicArray<Control*>& GetControls() const { return m_controls; }
    const Vemo::BasicArray<ControlBehavior*>& GetBehaviors() const { return m_behaviors; }
    const MessageTable& GetMessageTable() const { return m_messages; }

private:
    bool ReadOnMessage();
    bool AddOnMessage(const Vemo::BasicArray<Fragment>& value);
    bool HandleProgress(const Fragment& message);
    bool HandleCreateControl(const Fragment& message);
    // Runs the records of the word and sender; false when there are none.
    bool RunRecords(const Fragment& message, Messenger* sender);
    // Deletes the behaviours, then the controls, each last first.
    void DestroyControls();
    // Undoes a failed entry: what it created goes, and the viewport stops being busy.
    bool FailEnter();
    static Control* RootControl();
    static void SetViewportBusy(bool busy);

    Vemo::BasicArray<Control*> m_controls;
    Vemo::BasicArray<ControlBehavior*> m_behaviors;
    MessageTable m_messages;
    Vemo::BasicArray<Vemo::BasicArray<Fragment>> m_openActions;
    Vemo::BasicArray<Vemo::BasicArray<Fragment>> m_closeActions;
};
