#include "platform/testing/DirectInputTesting.h"

#include "platform/directx/DirectInputObjects.h"

namespace dinput::testing {

void FailNextDirectInputCreate(win32::HRESULT result) {
    detail::FailNextCreate(result);
}

int LiveDirectInputObjects() {
    return detail::LiveObjectCount();
}

} // namespace dinput::testing
