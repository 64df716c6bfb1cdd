// Texts of the platform's own files and settings read line by line. Internal to the platform layer.
#pragma once

#include <cstddef>
#include <string_view>

namespace win32 {

// Without the spaces and tabs at either end.
inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Calls read(line, number) for each line of the text, numbered from 1, without its "\n" and a "\r" before it,
// until read returns false. Returns whether every line was read.
template <class Read>
bool ReadLines(std::string_view text, Read read) {
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!read(line, ++number)) {
            return false;
        }
    }
    return true;
}

} // namespace win32
