#include "platform/com/OleAuto.h"

#include "platform/com/Dispatch.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace com {

namespace {

// The byte count kept before the characters.
using Prefix = std::uint32_t;

std::byte* BlockOf(BSTR text) {
    return reinterpret_cast<std::byte*>(text) - sizeof(Prefix);
}

} // namespace

const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
    constexpr UINT kLongest = (std::numeric_limits<Prefix>::max() - sizeof(Prefix)) / sizeof(OLECHAR) - 1;
    if (length > kLongest) {
        return nullptr;
    }
    auto* block = static_cast<std::byte*>(std::malloc(sizeof(Prefix) + (length + 1) * sizeof(OLECHAR)));
    if (block == nullptr) {
        return nullptr;
    }
    const Prefix bytes = length * sizeof(OLECHAR);
    std::memcpy(block, &bytes, sizeof bytes);
    BSTR result = reinterpret_cast<BSTR>(block + sizeof(Prefix));
    if (text != nullptr) {
        std::memcpy(result, text, bytes);
    } else {
        std::memset(result, 0, bytes);
    }
    result[length] = 0;
    return result;
}

BSTR SysAllocString(const OLECHAR* text) {
    if (text == nullptr) {
        return nullptr;
    }
    UINT length = 0;
    while (text[length] != 0) {
        ++length;
    }
    return SysAllocStringLen(text, length);
}

void SysFreeString(BSTR text) {
    if (text != nullptr) {
        std::free(BlockOf(text));
    }
}

UINT SysStringByteLen(BSTR text) {
    if (text == nullptr) {
        return 0;
    }
    Prefix bytes;
    std::memcpy(&bytes, BlockOf(text), sizeof bytes);
    return bytes;
}

UINT SysStringLen(BSTR text) {
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

void VariantInit(VARIANT* variant) {
    variant->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* variant) {
    if (variant == nullptr) {
        return win32::E_INVALIDARG;
    }
    if ((variant->vt & VT_BYREF) == 0) {
        switch (variant->vt) {
        case VT_BSTR:
            SysFreeString(variant->bstrVal);
            break;
        case VT_UNKNOWN:
            if (variant->punkVal != nullptr) {
                variant->punkVal->Release();
            }
            break;
        case VT_DISPATCH:
            if (variant->pdispVal != nullptr) {
                variant->pdispVal->Release();
            }
            break;
        case VT_EMPTY:
        case VT_NULL:
        case VT_I2:
        case VT_I4:
        case VT_ERROR:
        case VT_BOOL:
        case VT_I1:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
            break;
        default:
            return DISP_E_BADVARTYPE;
        }
    }
    variant->vt = VT_EMPTY;
    return win32::S_OK;
}

} // namespace com
