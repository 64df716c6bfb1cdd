#include "platform/com/Com.h"

#include "platform/com/ClassRegistry.h"
#include "platform/com/ComThreadState.h"

#include <optional>

namespace com {

namespace {

std::optional<unsigned> HexDigit(OLECHAR c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return std::nullopt;
}

// Reads count hexadecimal digits at text, moving past them.
std::optional<std::uint32_t> ReadHex(LPCOLESTR& text, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        std::optional<unsigned> digit = HexDigit(*text);
        if (!digit) {
            return std::nullopt;
        }
        value = value << 4 | *digit;
        ++text;
    }
    return value;
}

bool Expect(LPCOLESTR& text, OLECHAR c) {
    if (*text != c) {
        return false;
    }
    ++text;
    return true;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" and nothing after it.
std::optional<GUID> ParseGuid(LPCOLESTR text) {
    GUID guid{};
    std::optional<std::uint32_t> part;
    if (!Expect(text, u'{') || !(part = ReadHex(text, 8))) {
        return std::nullopt;
    }
    guid.Data1 = *part;
    if (!Expect(text, u'-') || !(part = ReadHex(text, 4))) {
        return std::nullopt;
    }
    guid.Data2 = static_cast<std::uint16_t>(*part);
    if (!Expect(text, u'-') || !(part = ReadHex(text, 4))) {
        return std::nullopt;
    }
    guid.Data3 = static_cast<std::uint16_t>(*part);
    if (!Expect(text, u'-')) {
        return std::nullopt;
    }
    for (int i = 0; i < 8; ++i) {
        if ((i == 2 && !Expect(text, u'-')) || !(part = ReadHex(text, 2))) {
            return std::nullopt;
        }
        guid.Data4[i] = static_cast<std::uint8_t>(*part);
    }
    if (!Expect(text, u'}') || *text != 0) {
        return std::nullopt;
    }
    return guid;
}

} // namespace

const IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

HRESULT CoInitialize(LPVOID reserved) {
    if (reserved != nullptr) {
        return win32::E_INVALIDARG;
    }
    return ++detail::ThreadStarts() == 1 ? win32::S_OK : win32::S_FALSE;
}

void CoUninitialize() {
    int& starts = detail::ThreadStarts();
    if (starts > 0) {
        --starts;
    }
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, LPVOID* object) {
    if (object == nullptr) {
        return win32::E_POINTER;
    }
    *object = nullptr;
    if (detail::ThreadStarts() == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if ((context & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    IClassFactory* factory = ClassRegistry::Instance().Factory(clsid);
    if (factory == nullptr) {
        return REGDB_E_CLASSNOTREG;
    }
    const HRESULT result = factory->CreateInstance(outer, iid, object);
    factory->Release();
    if (win32::FAILED(result)) {
        *object = nullptr;
    }
    return result;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
    if (progId == nullptr || clsid == nullptr) {
        return win32::E_INVALIDARG;
    }
    std::optional<CLSID> found = ClassRegistry::Instance().FindProgId(progId);
    if (!found) {
        return CO_E_CLASSSTRING;
    }
    *clsid = *found;
    return win32::S_OK;
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
    if (text == nullptr || clsid == nullptr) {
        return win32::E_INVALIDARG;
    }
    if (std::optional<GUID> guid = ParseGuid(text)) {
        *clsid = *guid;
        return win32::S_OK;
    }
    return CLSIDFromProgID(text, clsid);
}

} // namespace com
