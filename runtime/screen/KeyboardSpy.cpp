#include "runtime/screen/KeyboardSpy.h"

#include "runtime/screen/ControlManager.h"

KeyboardSpy::~KeyboardSpy() {
    Detach();
}

void KeyboardSpy::Attach(ControlManager* manager) {
    Detach();
    if (manager != nullptr) {
        m_manager = manager;
        manager->m_keyboardSpies.PushBack(this);
    }
}

void KeyboardSpy::Detach() {
    if (m_manager != nullptr) {
        m_manager->m_keyboardSpies.Remove(this);
        m_manager = nullptr;
    }
}

void KeyboardSpy::KeyDown(unsigned, unsigned) {}

void KeyboardSpy::KeyUp(unsigned) {}

void KeyboardSpy::Character(unsigned, unsigned) {}
