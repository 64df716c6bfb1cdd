// An invisible control that counts how often the user asked for help. On "Examine" it adds one to the
// variable named by its "Value" key (section, name) and announces "Enter" with the new count, so that a
// script can answer the first request differently from later ones. The count lives in the variables and
// so outlasts the control. Without a script, open user settings, the key or a name, "Examine" does nothing.
#pragma once

#include "runtime/screen/Control.h"

class HelpControl : public Control {
public:
    HelpControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~HelpControl() override;

    Vemo::String GetClassName() const override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;

    virtual void OnExamine();

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
};
