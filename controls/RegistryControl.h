// An invisible control that compares one value of the registry with a text and tells its subscribers the
// outcome. Its script names the root ("Root": "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"
// or "HKEY_USERS", spelt exactly; anything else is HKEY_CLASSES_ROOT) and the key ("Path"), both taken as
// written. "Examine"(value name, text) compares and answers with "equal." or "differ." followed by the text;
// "Root"(name) names another root. A key or value that cannot be read answers nothing.
#pragma once

#include "runtime/screen/Control.h"

class RegistryControl : public Control {
public:
    // The size of the value's data the comparison reads; a longer value answers nothing.
    static constexpr unsigned kValueBufferSize = 2048;

    RegistryControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~RegistryControl() override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    Vemo::String GetClassName() const override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    // Control's configuration, then transparent, and the "Root" and "Path" keys. False without a script.
    bool Configure(Control* parent, Control* after) override;

    // The text is compared without regard to case with the start of the value's data, over the text's
    // length: a value that begins with the text, and an empty text, answer "equal.".
    virtual void CompareValue(const Vemo::String& valueName, const Vemo::String& text);

    const Vemo::String& GetRoot() const { return m_root; }
    const Vemo::String& GetPath() const { return m_path; }

private:
    Vemo::String m_root;
    Vemo::String m_path;
};
