#include "controls/OSWindowSubclassHelper.h"

#include "controls/OSWindowControl.h"

bool OSWindowSubclassHelper::HandleMessage(const win32::MSG& message) {
    return m_control.HandleWindowMessage(message);
}
