// A text shown in one messenger font inside the control's rectangle, aligned horizontally and vertically.
// The text comes from the script, from messages, from a locale file (by key) or from a variable, and can be
// written back into a variable; the control can resize itself to fit its text. It paints only its glyphs.
//
// Messages: "Text" and "Append" (a literal, or a locale file name and a key), "Horizontal", "Vertical",
// "WriteVar" and "ReadVar" (one argument key(section)), "ResizeToFitText", "ResizeVerticallyToFitText".
// Script keys after the control's: "Font", "Text", "Horizontal", "Vertical". The attribute "Text" is the
// current text.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "runtime/fonts/FontHelper.h"
#include "runtime/screen/Control.h"

class TextLocale;

class TextControl : public Control {
public:
    using HorizontalAlignment = Vemo::GraphicSystem::HorizontalAlignment;
    using VerticalAlignment = Vemo::GraphicSystem::VerticalAlignment;

    TextControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~TextControl() override;

    Vemo::String GetClassName() const override;
    bool ExpandAttribute(const Fragment& fragment, Vemo::BasicArray<Fragment>& out) override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    bool Configure(Control* parent, Control* after) override;
    // The whole text in the whole rectangle, whatever part is redrawn.
    void Draw(const Vemo::Rect& localPart) override;
    void OnEnabled() override;
    void OnDisabled() override;
    bool OnActivated() override;
    void OnDeactivated() override;
    void OnMouseEnter(const Vemo::Point& local) override;
    void OnMouseExit(const Vemo::Point& local) override;

    virtual Vemo::String GetText() const;
    // Replacing with the same text changes nothing; a stored or appended text redraws the control.
    virtual void SetText(const Vemo::String& text, bool append);
    virtual bool SetTextFromLocale(TextLocale& locale, const Vemo::String& key, bool append);
    // The locale table the fragment names (found along the search order, then cached by the application).
    virtual bool SetTextFromLocaleFile(const Fragment& localeName, const Vemo::String& key, bool append);
    // The variable's value taken as a "Text" value: a literal, or a locale file name and a key.
    virtual bool ReadVar(const Vemo::String& section, const Vemo::String& key);
    virtual bool WriteVar(const Vemo::String& section, const Vemo::String& key);
    virtual const Vemo::String& GetFontName() const;
    virtual bool SetFont(const Vemo::String& name);
    virtual HorizontalAlignment GetHorizontalAlignment() const;
    virtual bool SetHorizontalAlignment(HorizontalAlignment horizontal);
    virtual VerticalAlignment GetVerticalAlignment() const;
    virtual bool SetVerticalAlignment(VerticalAlignment vertical);
    // The text's size unwrapped; 0 by 0 without a font.
    virtual bool ResizeToFitText();
    // The current width, and the height of the text wrapped at it; 0 by 0 without a font.
    virtual bool ResizeVerticallyToFitText();

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    const FontHelper& GetFontHelper() const { return m_fontHelper; }

protected:
    // A "Text" value, from the script, a message or a variable: one fragment is the literal text, two or more
    // a locale file name and a key.
    bool ApplyTextValue(const Vemo::BasicArray<Fragment>& value, bool append);

private:
    void InvalidateIfAttached();

    Vemo::String m_text;
    FontHelper m_fontHelper;
    HorizontalAlignment m_horizontal = HorizontalAlignment::Left;
    VerticalAlignment m_vertical = VerticalAlignment::Top;
};
