#include "controls/HistoryControl.h"

#include "controls/TextNumber.h"
#include "resources/error/Error.h"
#include "runtime/SectionKeys.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <cstdio>
#include <limits>

namespace {

enum MessageWord : unsigned { kGoto, kAdd, kClearHistory, kGoForward, kGoBackward, kOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words =
        new KeywordIds<unsigned>({{"Goto", kGoto},
                                  {"Add", kAdd},
                                  {"ClearHistory", kClearHistory},
                                  {"GoForward", kGoForward},
                                  {"GoBackward", kGoBackward}},
                                 kOther);
    return *words;
}

const Vemo::String& HistorySection() {
    static const Vemo::String* const section = new Vemo::String("History");
    return *section;
}

const Vemo::String& StatesKey() {
    static const Vemo::String* const key = new Vemo::String("States");
    return *key;
}

const Vemo::String& CurrentStateKey() {
    static const Vemo::String* const key = new Vemo::String("CurrentState");
    return *key;
}

// The text between double quotes, with the two characters that would end or escape the quotes escaped.
Vemo::String InQuotes(const Vemo::String& text) {
    Vemo::String quoted("\"");
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        const char c = text.CStr()[i];
        if (c == '"' || c == '\\') {
            quoted.Append("\\", 1);
        }
        quoted.Append(&c, 1);
    }
    quoted.Append("\"", 1);
    return quoted;
}

Vemo::String Part(const Vemo::String& text, std::uint32_t start, std::uint32_t count) {
    Vemo::String part;
    part.Append(text, start, count);
    return part;
}

// The pieces of the text between dots, empty pieces skipped.
Vemo::BasicArray<Vemo::String> DotPieces(const Vemo::String& text) {
    Vemo::BasicArray<Vemo::String> pieces;
    std::uint32_t start = 0;
    for (std::uint32_t i = 0; i <= text.Length(); ++i) {
        if (i == text.Length() || text.CStr()[i] == '.') {
            if (i > start) {
                pieces.PushBack(Part(text, start, i - start));
            }
            start = i + 1;
        }
    }
    return pieces;
}

Vemo::String Command(const Vemo::String& outcome, const Vemo::String* target) {
    Vemo::String command("Progress(");
    command.Append(AsValueItem(outcome));
    command.Append(")");
    if (target != nullptr) {
        command.Append(",SetVar(GOTO,");
        command.Append(InQuotes(*target));
        command.Append(")");
    }
    return command;
}

// A piece of the "States" text as the entry it stands for: a quoted piece loses its quotes and escapes.
Vemo::String EntryOfPiece(const Vemo::String& piece) {
    if (piece.CStr()[0] != '"') {
        return piece;
    }
    Vemo::BasicArray<Fragment> parsed;
    if (!Script::TokenizeText(parsed, piece.CStr(), piece.Length()) || parsed.Size() != 1 ||
        !parsed[0].IsQuoted() || parsed[0].HasChildren()) {
        return piece;
    }
    Vemo::String entry;
    parsed[0].GetText().GetString(entry);
    return entry;
}

std::string FormatIndex(std::int32_t index) {
    char number[16];
    std::snprintf(number, sizeof(number), "%d", index);
    return number;
}

const MessengerFactory::Registrar g_registrar(HistoryControl::ClassWord(), &HistoryControl::Create);

} // namespace

HistoryControl::HistoryControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

HistoryControl::~HistoryControl() = default;

const Vemo::String& HistoryControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("HistoryControl");
    return *word;
}

Vemo::String HistoryControl::GetClassName() const {
    return ClassWord();
}

Messenger* HistoryControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<HistoryControl>(name, owner, script);
}

bool HistoryControl::ExpandAttribute(const Fragment& /*fragment*/, Vemo::BasicArray<Fragment>& /*out*/) {
    return true;
}

bool HistoryControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        RaiseError(kErrorFailure);
        return false;
    }
    if (GetScript() == nullptr) {
        return false;
    }
    SetTransparent(true);
    LoadEntries();
    return LoadCurrentIndex();
}

bool HistoryControl::HandleMessage(const Fragment& message, Messenger* sender) {
    FragmentStream arguments(message.GetChildren());
    Vemo::String first;
    Vemo::String second;
    switch (MessageWords()[message.GetText()]) {
    case kGoto:
        arguments >> first >> second;
        return Goto(first, second);
    case kAdd:
        arguments >> first;
        Add(first);
        return true;
    case kClearHistory:
        Clear();
        return true;
    case kGoForward:
        Replay(+1);
        return true;
    case kGoBackward:
        Replay(-1);
        return true;
    default:
        return Control::HandleMessage(message, sender);
    }
}

Vemo::String HistoryControl::CommandOf(const Vemo::String& entry) {
    const Vemo::BasicArray<Vemo::String> pieces = DotPieces(entry);
    if (pieces.Empty()) {
        return Vemo::String();
    }
    return Command(pieces[0], pieces.Size() > 1 ? &pieces[1] : nullptr);
}

Vemo::String HistoryControl::JoinEntries(const Vemo::BasicArray<Vemo::String>& entries) {
    Vemo::String states;
    for (std::size_t i = 0; i < entries.Size(); ++i) {
        if (i > 0) {
            states.Append(",");
        }
        states.Append(AsValueItem(entries[i]));
    }
    return states;
}

Vemo::BasicArray<Vemo::String> HistoryControl::SplitEntries(const Vemo::String& states) {
    Vemo::BasicArray<Vemo::String> entries;
    const char* text = states.CStr();
    bool quoted = false;
    std::uint32_t start = 0;
    for (std::uint32_t i = 0; i <= states.Length(); ++i) {
        if (i < states.Length()) {
            if (quoted && text[i] == '\\' && i + 1 < states.Length()) {
                ++i;
            } else if (text[i] == '"') {
                quoted = !quoted;
            }
            if (quoted || text[i] != ',') {
                continue;
            }
        }
        if (i > start) {
            entries.PushBack(EntryOfPiece(Part(states, start, i - start)));
        }
        start = i + 1;
    }
    return entries;
}

Vemo::String HistoryControl::CurrentEntry() const {
    if (m_currentIndex < 1 || static_cast<std::size_t>(m_currentIndex) > m_entries.Size()) {
        return Vemo::String();
    }
    return m_entries[static_cast<std::size_t>(m_currentIndex) - 1];
}

bool HistoryControl::Goto(const Vemo::String& outcome, const Vemo::String& target) {
    if (outcome.Length() == 0) {
        return true;
    }
    while (m_currentIndex >= 0 && static_cast<std::size_t>(m_currentIndex) < m_entries.Size()) {
        m_entries.Erase(m_entries.end() - 1);
    }
    const bool hasTarget = target.Length() != 0;
    const Vemo::String command = Command(outcome, hasTarget ? &target : nullptr);
    Vemo::String entry = outcome;
    if (hasTarget) {
        entry.Append(".");
        entry.Append(target);
    }
    m_entries.PushBack(entry);
    StepIndexUp();
    Save();
    return ReceiveTextFrom(command, SubString());
}

void HistoryControl::Add(const Vemo::String& entry) {
    if (entry.Length() == 0) {
        return;
    }
    m_entries.PushBack(entry);
    StepIndexUp();
    Save();
}

// The index counts entries as they come and stops at its largest value rather than wrap to a negative one.
void HistoryControl::StepIndexUp() {
    if (m_currentIndex < std::numeric_limits<std::int32_t>::max()) {
        ++m_currentIndex;
    }
}

void HistoryControl::Clear() {
    m_currentIndex = 0;
    m_entries.Clear();
    Save();
}

void HistoryControl::Replay(int step) {
    std::uint8_t& used = step > 0 ? m_forwardUsed : m_backwardUsed;
    if (used != 0) {
        return;
    }
    used = 1;
    const auto count = static_cast<std::int64_t>(m_entries.Size());
    const bool possible =
        step > 0 ? m_currentIndex >= 1 && m_currentIndex < count : m_currentIndex >= 2 && count >= 2;
    if (!possible) {
        return;
    }
    m_currentIndex += step;
    const Vemo::String command = CommandOf(CurrentEntry());
    if (command.Length() == 0) {
        return;
    }
    Save();
    ReceiveTextFrom(command, SubString());
}

void HistoryControl::LoadEntries() {
    Vemo::String states;
    if (!GetVar(HistorySection(), StatesKey(), states)) {
        return;
    }
    m_entries = SplitEntries(states);
}

bool HistoryControl::LoadCurrentIndex() {
    Vemo::String index;
    m_currentIndex = 0;
    if (!GetVar(HistorySection(), CurrentStateKey(), index)) {
        return true;
    }
    if (!TextToFittingInteger(index, m_currentIndex)) {
        m_currentIndex = 0;
        return RefuseKeyValue(nullptr, HistorySection(), CurrentStateKey());
    }
    return true;
}

void HistoryControl::Save() {
    SetVar(HistorySection(), CurrentStateKey(), Vemo::String(FormatIndex(m_currentIndex).c_str()));
    SetVar(HistorySection(), StatesKey(), JoinEntries(m_entries));
}
