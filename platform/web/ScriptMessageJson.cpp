#include "platform/web/ScriptMessageJson.h"

#include <cctype>
#include <climits>
#include <cstdlib>

namespace web {

namespace {

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code >= 0x10000) {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
        out += static_cast<char16_t>(code);
    }
}

// One UTF-8 character at text[at], moving past it; a malformed byte stands for itself.
char32_t NextUtf8(const std::string& text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || at + extra >= text.size()) {
        ++at;
        return lead;
    }
    char32_t code = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return lead;
        }
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    at += static_cast<std::size_t>(extra) + 1;
    return code;
}

// A JSON string starting at json[at] (its opening quote), moving past it.
std::optional<std::u16string> JsonString(const std::string& json, std::size_t& at) {
    if (at >= json.size() || json[at] != '"') {
        return std::nullopt;
    }
    ++at;
    std::u16string text;
    while (at < json.size()) {
        const char c = json[at];
        if (c == '"') {
            ++at;
            return text;
        }
        if (c != '\\') {
            AppendUtf16(text, NextUtf8(json, at));
            continue;
        }
        if (++at >= json.size()) {
            break;
        }
        const char escaped = json[at++];
        switch (escaped) {
        case 'b':
            text += u'\b';
            break;
        case 'f':
            text += u'\f';
            break;
        case 'n':
            text += u'\n';
            break;
        case 'r':
            text += u'\r';
            break;
        case 't':
            text += u'\t';
            break;
        case 'u': {
            if (at + 4 > json.size()) {
                return std::nullopt;
            }
            char* end = nullptr;
            const std::string digits = json.substr(at, 4);
            const long unit = std::strtol(digits.c_str(), &end, 16);
            if (end != digits.c_str() + 4) {
                return std::nullopt;
            }
            text += static_cast<char16_t>(unit);
            at += 4;
            break;
        }
        default:
            text += static_cast<char16_t>(escaped);
            break;
        }
    }
    return std::nullopt;
}

void SkipSpaces(const std::string& json, std::size_t& at) {
    while (at < json.size() && std::isspace(static_cast<unsigned char>(json[at]))) {
        ++at;
    }
}

} // namespace

std::optional<std::pair<std::u16string, std::u16string>>
ScriptMessageJson::TextPair(const std::string& json) {
    std::size_t at = 0;
    SkipSpaces(json, at);
    if (at >= json.size() || json[at++] != '[') {
        return std::nullopt;
    }
    SkipSpaces(json, at);
    std::optional<std::u16string> first = JsonString(json, at);
    SkipSpaces(json, at);
    if (!first || at >= json.size() || json[at++] != ',') {
        return std::nullopt;
    }
    SkipSpaces(json, at);
    std::optional<std::u16string> second = JsonString(json, at);
    if (!second) {
        return std::nullopt;
    }
    return std::make_pair(std::move(*first), std::move(*second));
}

std::optional<int> ScriptMessageJson::Number(const std::string& json) {
    char* end = nullptr;
    const double value = std::strtod(json.c_str(), &end);
    if (end == json.c_str() || !(value > INT_MIN - 1.0 && value < INT_MAX + 1.0)) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace web
