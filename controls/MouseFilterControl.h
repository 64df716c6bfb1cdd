// An invisible control that the mouse passes through: it is never hit itself (its children are), so clicks
// reach what lies behind it, and it puts the cursor back to the plain pointer when the mouse enters or leaves
// it or when it is enabled or disabled under the mouse.
#pragma once

#include "runtime/screen/Control.h"

class MouseFilterControl : public Control {
public:
    MouseFilterControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~MouseFilterControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool ContainsPoint(const Vemo::Point& local) override;
    void OnEnabled() override;
    void OnDisabled() override;
    void OnMouseEnter(const Vemo::Point& local) override;
    void OnMouseExit(const Vemo::Point& local) override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
};
