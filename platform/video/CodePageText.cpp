#include "platform/video/CodePageText.h"

#include "platform/win32/CodePage.h"

#include <iconv.h>

#include <cerrno>

namespace video {

namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// Every page reads ASCII as ASCII, and most window texts and messages are nothing else.
bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string Utf8FromAnsi(std::string_view text) {
    if (IsAscii(text)) {
        return std::string(text);
    }
    const std::string page = "CP" + std::to_string(win32::GetACP());
    iconv_t converter = iconv_open("UTF-8", page.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        std::string ascii;
        for (char c : text) {
            ascii += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : std::string(kReplacement);
        }
        return ascii;
    }
    std::string utf8;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) {
            continue;
        }
        // A byte that starts no character of the page, or a lead byte that ends the text.
        utf8 += kReplacement;
        ++in;
        --inLeft;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(converter);
    return utf8;
}

} // namespace video
