// A browser-like history of the places the user visited, shared by every HistoryControl through the
// variables "History"/"States" (the entries joined by ",") and "History"/"CurrentState" (the 1-based index
// of the current entry). An entry is an outcome, or an outcome, a dot and a target. "Goto" records an entry
// (dropping the forward history) and sends the command that signals the outcome and stores the target in
// GOTO; "Add" records without moving; "GoBackward" and "GoForward" replay the previous or next entry, each
// at most once in a control's life; "ClearHistory" forgets everything.
//
// The current entry always stands at the entry of the current index (the list end when the index is 0 or
// beyond the count). Entries and command arguments that the value syntax would read differently are written
// in double quotes with their escapes, so that every entry comes back as one entry and every argument stays
// one argument; all other entries and commands have their plain form. A stored index beyond 32 bits is
// refused (the control is not created); the index stops at its largest value as entries keep coming.
#pragma once

#include "foundation/BasicArray.h"
#include "runtime/screen/Control.h"

#include <cstdint>

class HistoryControl : public Control {
public:
    HistoryControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~HistoryControl() override;

    Vemo::String GetClassName() const override;
    // Expands nothing: the commands the control sends to itself are taken as they are written.
    bool ExpandAttribute(const Fragment& fragment, Vemo::BasicArray<Fragment>& out) override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    // Loads the shared history.
    bool Configure(Control* parent, Control* after) override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    const Vemo::BasicArray<Vemo::String>& GetEntries() const { return m_entries; }
    std::int32_t GetCurrentIndex() const { return m_currentIndex; }

    // The command that replays an entry: the outcome to signal, and GOTO set to the target when there is one.
    static Vemo::String CommandOf(const Vemo::String& entry);
    // The "States" text of the entries, and the entries of such a text.
    static Vemo::String JoinEntries(const Vemo::BasicArray<Vemo::String>& entries);
    static Vemo::BasicArray<Vemo::String> SplitEntries(const Vemo::String& states);

private:
    bool Goto(const Vemo::String& outcome, const Vemo::String& target);
    void Add(const Vemo::String& entry);
    void Clear();
    // One step forward (+1) or back (-1), when this control has not taken that step yet.
    void Replay(int step);
    void LoadEntries();
    // False, reported, when the stored index lies beyond 32 bits.
    bool LoadCurrentIndex();
    void StepIndexUp();
    void Save();
    // The entry at the current index, empty at the list end.
    Vemo::String CurrentEntry() const;

    Vemo::BasicArray<Vemo::String> m_entries;
    std::int32_t m_currentIndex = 0;
    std::uint8_t m_forwardUsed = 0;
    std::uint8_t m_backwardUsed = 0;
};
