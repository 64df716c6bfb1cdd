#include "platform/win32/kernel/Module.h"

#include "platform/win32/LastError.h"

namespace win32 {

namespace {

// Where Windows loads a program's image by default; only its being non-null and fixed matters.
const HMODULE kProgramModule = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x400000));

} // namespace

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName != nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return kProgramModule;
}

} // namespace win32
