// A transparent container that watches the keyboard while it is enabled: Escape pressed while the control is
// not shown shows it, gives it the focus and announces "QuitYesNo", so that the script can ask whether to
// quit with the control's children. Hiding it again re-arms it.
#pragma once

#include "runtime/screen/Control.h"
#include "runtime/screen/KeyboardSpy.h"

class QuitControl : public Control, public KeyboardSpy {
public:
    // The scan code of the key that asks to quit.
    static constexpr unsigned kEscape = 1;

    QuitControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~QuitControl() override;

    Vemo::String GetClassName() const override;
    bool Configure(Control* parent, Control* after) override;
    void OnEnabled() override;
    void OnDisabled() override;

    void KeyDown(unsigned key, unsigned extra) override;
    void KeyUp(unsigned key) override;
    void Character(unsigned code, unsigned extra) override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
};
