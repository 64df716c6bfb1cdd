// The subclass through which a window that a derived control created itself (an ActiveX host window) sends
// its messages to the control's HandleWindowMessage.
#pragma once

#include "controls/OSWindowSubclass.h"

class OSWindowControl;

class OSWindowSubclassHelper : public OSWindowSubclass {
public:
    explicit OSWindowSubclassHelper(OSWindowControl& control) : m_control(control) {}
    bool HandleMessage(const win32::MSG& message) override;

private:
    OSWindowControl& m_control;
};
