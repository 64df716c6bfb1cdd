// An observer of every mouse event of a control manager, told before any control is; points are in viewport
// coordinates. The spy belongs to whoever made it; it leaves its manager's list when it is detached or
// destroyed, and a manager that goes first detaches it.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "foundation/Rect.h"

class ControlManager;

class MouseSpy {
public:
    MouseSpy() = default;
    MouseSpy(const MouseSpy&) = delete;
    MouseSpy& operator=(const MouseSpy&) = delete;
    virtual ~MouseSpy();

    // Detaches, then joins the manager's list (once, however often it is attached).
    virtual void Attach(ControlManager* manager);
    virtual void Detach();
    virtual void ButtonDown(const Vemo::Point& point, unsigned button);
    virtual void ButtonUp(const Vemo::Point& point, unsigned button);
    virtual void Moved(const Vemo::Point& point);

    ControlManager* GetManager() const { return m_manager; }

private:
    friend class ControlManager;

    ControlManager* m_manager = nullptr;
};
