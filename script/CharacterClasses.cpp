#include "script/CharacterClasses.h"

#include "platform/win32/CodePage.h"

namespace CharacterClasses {

bool IsLeadByte(unsigned char byte) {
    return win32::IsDBCSLeadByte(byte) != 0;
}

} // namespace CharacterClasses
