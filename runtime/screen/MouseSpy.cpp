#include "runtime/screen/MouseSpy.h"

#include "runtime/screen/ControlManager.h"

MouseSpy::~MouseSpy() {
    Detach();
}

void MouseSpy::Attach(ControlManager* manager) {
    Detach();
    if (manager != nullptr) {
        m_manager = manager;
        manager->m_mouseSpies.PushBack(this);
    }
}

void MouseSpy::Detach() {
    if (m_manager != nullptr) {
        m_manager->m_mouseSpies.Remove(this);
        m_manager = nullptr;
    }
}

void MouseSpy::ButtonDown(const Vemo::Point&, unsigned) {}

void MouseSpy::ButtonUp(const Vemo::Point&, unsigned) {}

void MouseSpy::Moved(const Vemo::Point&) {}
