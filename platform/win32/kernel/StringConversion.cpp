#include "platform/win32/kernel/StringConversion.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/LastError.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

namespace {

const char* const kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

std::optional<UINT> PageOf(UINT codePage) {
    if (codePage == CP_ACP || codePage == CP_THREAD_ACP) {
        return GetACP();
    }
    if (IsSupportedCodePage(codePage)) {
        return codePage;
    }
    return std::nullopt;
}

bool IsDoubleBytePage(UINT page) {
    return page == 932 || page == 936 || page == 949 || page == 950;
}

class Converter {
public:
    Converter(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) {
            iconv_close(m_handle);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can, moving input past what it took; false when it stopped at input it cannot
    // convert (an invalid or incomplete sequence, or a character the target lacks).
    bool Run(const char*& input, std::size_t& inputLeft, std::string& output) {
        char buffer[256];
        while (inputLeft > 0) {
            char* out = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t done = iconv(m_handle, const_cast<char**>(&input), &inputLeft, &out, &outLeft);
            output.append(buffer, static_cast<std::size_t>(out - buffer));
            if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
                iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t m_handle;
};

std::string PageName(UINT page) {
    return "CP" + std::to_string(page);
}

// The number of units a text of the given length has; -1 counts through the first zero, included.
template <class Unit>
std::size_t LengthOf(const Unit* text, int length) {
    if (length >= 0) {
        return static_cast<std::size_t>(length);
    }
    std::size_t count = 0;
    while (text[count] != 0) {
        ++count;
    }
    return count + 1;
}

template <class Unit>
int Deliver(const std::vector<Unit>& result, Unit* output, int size) {
    if (size == 0) {
        return static_cast<int>(result.size());
    }
    if (result.size() > static_cast<std::size_t>(size)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(output, result.data(), result.size() * sizeof(Unit));
    return static_cast<int>(result.size());
}

template <class Unit>
bool CheckArguments(const Unit* text, int length, const void* output, int size) {
    if (text == nullptr || length < -1 || length == 0 || size < 0 || (size > 0 && output == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

void AppendUnits(const std::string& bytes, std::vector<WCHAR>& out) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        WCHAR unit;
        std::memcpy(&unit, bytes.data() + i, sizeof unit);
        out.push_back(unit);
    }
}

bool IsHighSurrogate(WCHAR unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(WCHAR unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR output, int size) {
    if (!CheckArguments(text, length, output, size)) {
        return 0;
    }
    if ((flags & ~(MB_PRECOMPOSED | MB_ERR_INVALID_CHARS)) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const std::optional<UINT> page = PageOf(codePage);
    Converter converter(kUtf16, page ? PageName(*page).c_str() : "");
    if (!page || !converter.Valid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* input = text;
    std::size_t inputLeft = LengthOf(text, length);
    std::vector<WCHAR> result;
    while (inputLeft > 0) {
        std::string converted;
        const bool complete = converter.Run(input, inputLeft, converted);
        AppendUnits(converted, result);
        if (complete) {
            break;
        }
        if ((flags & MB_ERR_INVALID_CHARS) != 0) {
            SetLastError(ERROR_NO_UNICODE_TRANSLATION);
            return 0;
        }
        const auto byte = static_cast<unsigned char>(*input);
        result.push_back(IsDoubleBytePage(*page) ? u'?' : static_cast<WCHAR>(byte));
        ++input;
        --inputLeft;
    }
    return Deliver(result, output, size);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR output, int size,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (!CheckArguments(text, length, output, size)) {
        return 0;
    }
    if (flags != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const std::optional<UINT> page = PageOf(codePage);
    Converter converter(page ? PageName(*page).c_str() : "", kUtf16);
    if (!page || !converter.Valid()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (usedDefaultChar != nullptr) {
        *usedDefaultChar = FALSE;
    }
    const char substitute = defaultChar != nullptr && defaultChar[0] != '\0' ? defaultChar[0] : '?';
    const WCHAR* units = text;
    std::size_t unitsLeft = LengthOf(text, length);
    std::string result;
    while (unitsLeft > 0) {
        const char* input = reinterpret_cast<const char*>(units);
        std::size_t inputLeft = unitsLeft * sizeof(WCHAR);
        const bool complete = converter.Run(input, inputLeft, result);
        units = reinterpret_cast<const WCHAR*>(input);
        unitsLeft = inputLeft / sizeof(WCHAR);
        if (complete) {
            break;
        }
        // The character stopped at, a surrogate pair as one, becomes the substitute.
        const std::size_t skipped =
            unitsLeft >= 2 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1]) ? 2 : 1;
        result += substitute;
        units += skipped;
        unitsLeft -= skipped;
        if (usedDefaultChar != nullptr) {
            *usedDefaultChar = TRUE;
        }
    }
    return Deliver(std::vector<char>(result.begin(), result.end()), output, size);
}

} // namespace win32
