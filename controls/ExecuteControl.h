// A control without a look of its own that opens a document or starts a program through the shell when a
// script asks: "Execute"(file) and "ExecuteAndWait"(file), the file read as text (a locale reference is
// resolved). Neither form waits for what it started. A start that fails brings the title's window back to the
// front and is told to the subscribers by "ExecuteFailed"; the shell shows nothing of its own.
#pragma once

#include "runtime/screen/Control.h"

class ExecuteControl : public Control {
public:
    ExecuteControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~ExecuteControl() override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;

    // Opens the file (a Windows path, or an address) with the program the shell chooses. True whether or not
    // it started.
    virtual bool Execute(const Vemo::String& file, bool wait);
};
