#include "controls/TextControl.h"

#include "resources/error/Error.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/fonts/Font.h"
#include "runtime/fonts/MessengerFont.h"
#include "runtime/screen/AlignmentWords.h"
#include "runtime/screen/ControlManager.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/TextLocale.h"

namespace {

enum Word : unsigned {
    kWordText = 0,
    kWordAppend = 1,
    kWordHorizontal = 2,
    kWordVertical = 3,
    kWordWriteVar = 4,
    kWordReadVar = 5,
    kWordResizeToFitText = 6,
    kWordResizeVerticallyToFitText = 7,
};

constexpr unsigned kMissingWord = 0xFFFFFFFF;
// The cursor state a text asks for: never a clickable one.
constexpr int kTextCursorState = 1;

const KeywordIds<unsigned>& Words() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {
            {"Text", kWordText},
            {"Append", kWordAppend},
            {"Horizontal", kWordHorizontal},
            {"Vertical", kWordVertical},
            {"WriteVar", kWordWriteVar},
            {"ReadVar", kWordReadVar},
            {"ResizeToFitText", kWordResizeToFitText},
            {"ResizeVerticallyToFitText", kWordResizeVerticallyToFitText},
        },
        kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_textControlRegistrar(TextControl::ClassWord(), &TextControl::Create);

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// A key(section) argument: the fragment's text is the key, its first argument the section.
bool ReadVariableName(const Fragment& message, Vemo::String& section, Vemo::String& key) {
    if (message.GetChildren().Empty()) {
        return false;
    }
    const Fragment& argument = message.GetChildren()[0];
    argument.GetText().GetString(key);
    section = Vemo::String();
    if (argument.HasChildren()) {
        argument.GetChildren()[0].GetText().GetString(section);
    }
    return true;
}

} // namespace

TextControl::TextControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

TextControl::~TextControl() = default;

const Vemo::String& TextControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("TextControl");
    return *word;
}

Vemo::String TextControl::GetClassName() const {
    return ClassWord();
}

Messenger* TextControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<TextControl>(name, owner, script);
}

bool TextControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        return Fail();
    }
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    const Vemo::String& section = GetSectionName();
    const Vemo::BasicArray<Fragment>* value = nullptr;
    if (script->GetFragments(section, Vemo::String("Font"), value)) {
        Vemo::String name;
        FragmentStream(*value) >> name;
        if (!SetFont(name)) {
            return Fail();
        }
    }
    if (script->GetFragments(section, Vemo::String("Text"), value)) {
        if (value->Empty()) {
            return Fail();
        }
        ApplyTextValue(*value, false);
    }
    if (script->GetFragments(section, Vemo::String("Horizontal"), value)) {
        Vemo::String word;
        FragmentStream(*value) >> word;
        m_horizontal = ParseHorizontalAlignment(word);
    }
    if (script->GetFragments(section, Vemo::String("Vertical"), value)) {
        Vemo::String word;
        FragmentStream(*value) >> word;
        m_vertical = ParseVerticalAlignment(word);
    }
    SetTransparent(true);
    return true;
}

bool TextControl::ApplyTextValue(const Vemo::BasicArray<Fragment>& value, bool append) {
    if (value.Empty()) {
        return Fail();
    }
    if (value.Size() >= 2) {
        Vemo::String key;
        FragmentStream keyStream(value);
        const Fragment* localeName = nullptr;
        keyStream >> localeName >> key;
        return SetTextFromLocaleFile(*localeName, key, append);
    }
    Vemo::String text;
    value[0].GetText().GetString(text);
    SetText(text, append);
    return true;
}

// --- The text --------------------------------------------------------------------------------------------

Vemo::String TextControl::GetText() const {
    return m_text;
}

void TextControl::SetText(const Vemo::String& text, bool append) {
    if (append) {
        m_text.Append(text);
    } else if (m_text.Compare(text) == 0) {
        return;
    } else {
        m_text = text;
    }
    InvalidateIfAttached();
}

bool TextControl::SetTextFromLocale(TextLocale& locale, const Vemo::String& key, bool append) {
    Vemo::String text;
    if (!locale.Lookup(key, text)) {
        return Fail();
    }
    SetText(text, append);
    return true;
}

bool TextControl::SetTextFromLocaleFile(const Fragment& localeName, const Vemo::String& key, bool append) {
    MultimediaApplication* application = MultimediaApplication::Instance();
    TextLocale* locale = application != nullptr ? application->GetTextLocale(localeName) : nullptr;
    if (locale == nullptr) {
        return Fail();
    }
    return SetTextFromLocale(*locale, key, append);
}

bool TextControl::ReadVar(const Vemo::String& section, const Vemo::String& key) {
    Vemo::String value;
    GetVar(section, key, value);
    Vemo::BasicArray<Fragment> fragments;
    if (!Script::TokenizeText(fragments, value.CStr(), value.Length()) || fragments.Empty()) {
        return Fail();
    }
    ApplyTextValue(fragments, false);
    return true;
}

bool TextControl::WriteVar(const Vemo::String& section, const Vemo::String& key) {
    return SetVar(section, key, m_text) || Fail();
}

// --- Font and alignment ----------------------------------------------------------------------------------

const Vemo::String& TextControl::GetFontName() const {
    return m_fontHelper.GetFontName();
}

bool TextControl::SetFont(const Vemo::String& name) {
    return m_fontHelper.SetFont(name, this, nullptr);
}

TextControl::HorizontalAlignment TextControl::GetHorizontalAlignment() const {
    return m_horizontal;
}

bool TextControl::SetHorizontalAlignment(HorizontalAlignment horizontal) {
    if (horizontal != m_horizontal) {
        m_horizontal = horizontal;
        InvalidateIfAttached();
    }
    return true;
}

TextControl::VerticalAlignment TextControl::GetVerticalAlignment() const {
    return m_vertical;
}

bool TextControl::SetVerticalAlignment(VerticalAlignment vertical) {
    if (vertical != m_vertical) {
        m_vertical = vertical;
        InvalidateIfAttached();
    }
    return true;
}

bool TextControl::ResizeToFitText() {
    Font* font = m_fontHelper.GetFont();
    if (font == nullptr) {
        SetSize(Vemo::Size(0, 0));
        return true;
    }
    Vemo::Size measured;
    font->Measure(measured, m_text, Vemo::Size(0, 0), 0, MessengerFont::kToEnd);
    return SetSize(measured);
}

bool TextControl::ResizeVerticallyToFitText() {
    Font* font = m_fontHelper.GetFont();
    if (font == nullptr) {
        SetSize(Vemo::Size(0, 0));
        return true;
    }
    Vemo::Size measured;
    font->Measure(measured, m_text, GetSize(), 0, MessengerFont::kToEnd);
    return SetSize(Vemo::Size(GetSize().width, measured.height));
}

// --- Notifications ---------------------------------------------------------------------------------------

void TextControl::Draw(const Vemo::Rect&) {
    Font* font = m_fontHelper.GetFont();
    if (font == nullptr) {
        return;
    }
    if (Vemo::Viewport* viewport = GetViewport()) {
        font->Draw(*viewport, GetRectangle(), m_text, m_vertical, m_horizontal, 0, MessengerFont::kToEnd);
    }
}

void TextControl::OnEnabled() {
    if (IsMouseInside()) {
        QueueCursorState(kTextCursorState, true);
    }
}

void TextControl::OnDisabled() {
    if (IsMouseInside()) {
        QueueCursorState(kTextCursorState, true);
    }
}

bool TextControl::OnActivated() {
    return m_fontHelper.SetActive(true, this, nullptr);
}

void TextControl::OnDeactivated() {
    m_fontHelper.SetActive(false, this, nullptr);
}

void TextControl::OnMouseEnter(const Vemo::Point& local) {
    Control::OnMouseEnter(local);
    SetCursorState(kTextCursorState);
}

void TextControl::OnMouseExit(const Vemo::Point& local) {
    Control::OnMouseExit(local);
    SetCursorState(kTextCursorState);
}

void TextControl::InvalidateIfAttached() {
    if (GetManager() != nullptr && IsShown()) {
        GetManager()->InvalidateControl(this, nullptr);
    }
}

// --- Messages --------------------------------------------------------------------------------------------

bool TextControl::ExpandAttribute(const Fragment& fragment, Vemo::BasicArray<Fragment>& out) {
    if (fragment.GetText().CompareNoCase(SubString(Vemo::String("Text"))) == 0) {
        out.PushBack(Fragment(m_text));
        return true;
    }
    return Control::ExpandAttribute(fragment, out);
}

bool TextControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = Words()[message.GetText()];
    switch (id) {
    case kWordText:
    case kWordAppend:
        if (message.GetChildren().Empty()) {
            return Fail();
        }
        ApplyTextValue(message.GetChildren(), id == kWordAppend);
        return true;
    case kWordHorizontal: {
        Vemo::String word;
        FragmentStream(message.GetChildren()) >> word;
        return SetHorizontalAlignment(ParseHorizontalAlignment(word));
    }
    case kWordVertical: {
        Vemo::String word;
        FragmentStream(message.GetChildren()) >> word;
        return SetVerticalAlignment(ParseVerticalAlignment(word));
    }
    case kWordWriteVar:
    case kWordReadVar: {
        Vemo::String section;
        Vemo::String key;
        if (ReadVariableName(message, section, key)) {
            if (id == kWordWriteVar) {
                WriteVar(section, key);
            } else {
                ReadVar(section, key);
            }
        }
        return true;
    }
    case kWordResizeToFitText:
        return ResizeToFitText();
    case kWordResizeVerticallyToFitText:
        return ResizeVerticallyToFitText();
    default:
        return Control::HandleMessage(message, sender);
    }
}
