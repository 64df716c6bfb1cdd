#include "platform/directx/DirectDraw.h"

#include "platform/directx/DirectDrawDisplay.h"
#include "platform/directx/DirectDrawObject.h"

#include <new>

namespace ddraw {

const com::IID IID_IDirectDraw = {
    0x6C14DB80, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const com::IID IID_IDirectDraw4 = {
    0x9C59509A, 0x39BD, 0x11D1, {0x8C, 0x4A, 0x00, 0xC0, 0x4F, 0xD9, 0x30, 0xC5}};
const com::IID IID_IDirectDrawSurface = {
    0x6C14DB81, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const com::IID IID_IDirectDrawSurface4 = {
    0x0B2B8630, 0xAD35, 0x11D0, {0x8E, 0xA6, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};
const com::IID IID_IDirectDrawClipper = {
    0x6C14DB85, 0xA733, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

HRESULT DirectDrawCreate(com::GUID* device, IDirectDraw** directDraw, com::IUnknown* outer) {
    if (HRESULT answer = detail::TakeAnswer(detail::Call::DirectDrawCreate); answer != DD_OK) {
        if (directDraw != nullptr) {
            *directDraw = nullptr;
        }
        return answer;
    }
    if (directDraw == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *directDraw = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if (device != nullptr) {
        return DDERR_INVALIDDIRECTDRAWGUID;
    }
    auto* created = new (std::nothrow) detail::DirectDrawObject;
    if (created == nullptr) {
        return DDERR_OUTOFMEMORY;
    }
    *directDraw = created;
    return DD_OK;
}

} // namespace ddraw
