// A button (class word "CreditsControl") that is a hidden trigger: a press on it announces "Credits" only
// while the keyboard holds the two keys 35 and 46 (H and C), and nothing at all otherwise; its looks, text,
// cursor wishes, flashing and its release ("Clicked", "Released(n)") are the button's.
#pragma once

#include "controls/ButtonControl.h"
#include "engines/input/Keyboard.h"

class CreditsControl : public ButtonControl {
public:
    // The keys held down with the press, in the keyboard's numbering.
    static constexpr std::uint32_t kFirstKey = 35;
    static constexpr std::uint32_t kSecondKey = 46;

    CreditsControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~CreditsControl() override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    Vemo::String GetClassName() const override;
    // The button's script, then the system keyboard.
    bool ReadScript() override;
    // Any mouse button: "Credits" with both keys held, else nothing.
    void OnPressed(const Vemo::Point& local, unsigned button) override;

private:
    Vemo::Keyboard m_keyboard;
};
