// An observer of every keyboard event of a control manager, told before any control is. A class becomes one
// by taking it as a further base. The spy belongs to whoever made it; it leaves its manager's list when it is
// detached or destroyed, and a manager that goes first detaches it.
//
// Virtual operations are declared in their slot order.
#pragma once

class ControlManager;

class KeyboardSpy {
public:
    KeyboardSpy() = default;
    KeyboardSpy(const KeyboardSpy&) = delete;
    KeyboardSpy& operator=(const KeyboardSpy&) = delete;
    virtual ~KeyboardSpy();

    // Detaches, then joins the manager's list (once, however often it is attached).
    virtual void Attach(ControlManager* manager);
    virtual void Detach();
    virtual void KeyDown(unsigned key, unsigned extra);
    virtual void KeyUp(unsigned key);
    virtual void Character(unsigned code, unsigned extra);

    ControlManager* GetManager() const { return m_manager; }

private:
    friend class ControlManager;

    ControlManager* m_manager = nullptr;
};
