#include "script/ScriptFileReader.h"

#include "script/CharacterClasses.h"

using CharacterClasses::FoldCase;
using CharacterClasses::IsBlank;
using CharacterClasses::IsLineEnd;
using CharacterClasses::IsWhitespace;

ScriptFileReader::Handler::~Handler() = default;

ScriptFileReader::ScriptFileReader(const char* data, std::size_t size) : m_data(data), m_size(size) {}

bool ScriptFileReader::Read(Handler& handler) {
    std::size_t position = 0;
    for (;;) {
        SkipSpaceAndComments(position);
        if (position >= m_size) {
            return true;
        }
        const bool goOn =
            m_data[position] == '[' ? ReadSection(position, handler) : ReadKey(position, handler);
        if (!goOn) {
            return false;
        }
    }
}

// A comment that starts at position, within the text up to end, is stepped over: a line comment to its line
// end, a block comment past its "*/" (to end when it has none). False when no comment starts there.
bool ScriptFileReader::SkipComment(std::size_t& position, std::size_t end) const {
    const char* text = m_data;
    std::size_t p = position;
    if (text[p] == ';' || (text[p] == '/' && p + 1 < end && text[p + 1] == '/')) {
        while (p < end && !IsLineEnd(text[p])) {
            ++p;
        }
    } else if (text[p] == '/' && p + 1 < end && text[p + 1] == '*') {
        p += 2;
        while (p + 1 < end && !(text[p] == '*' && text[p + 1] == '/')) {
            ++p;
        }
        p = p + 1 < end ? p + 2 : end;
    } else if (p + 4 < end && FoldCase(text[p]) == 'r' && FoldCase(text[p + 1]) == 'e' &&
               FoldCase(text[p + 2]) == 'm' && text[p + 3] == ' ') {
        // "REM " is a comment only when something follows the blank.
        while (p < end && !IsLineEnd(text[p])) {
            ++p;
        }
    } else {
        return false;
    }
    position = p;
    return true;
}

void ScriptFileReader::SkipSpaceAndComments(std::size_t& position) const {
    while (position < m_size) {
        if (IsWhitespace(m_data[position])) {
            ++position;
        } else if (!SkipComment(position, m_size)) {
            return;
        }
    }
}

// Before a value: blanks and comments, but a line comment leaves the value empty at its line end.
void ScriptFileReader::SkipValueLead(std::size_t& position) const {
    while (position < m_size) {
        if (IsBlank(m_data[position])) {
            ++position;
        } else if (!SkipComment(position, m_size)) {
            return;
        }
    }
}

std::size_t ScriptFileReader::LineEnd(std::size_t position) const {
    while (position < m_size && !IsLineEnd(m_data[position])) {
        ++position;
    }
    return position;
}

std::size_t ScriptFileReader::TrimEnd(std::size_t begin, std::size_t end) const {
    while (end > begin && IsWhitespace(m_data[end - 1])) {
        --end;
    }
    return end;
}

bool ScriptFileReader::ReadSection(std::size_t& position, Handler& handler) const {
    std::size_t close = position + 1;
    while (close < m_size && m_data[close] != ']' && !IsLineEnd(m_data[close])) {
        ++close;
    }
    if (close >= m_size) {
        // Neither a "]" nor a line end follows: the scan ends with what was read.
        position = m_size;
        return true;
    }
    if (m_data[close] != ']') {
        position = close;
        return true;
    }
    std::size_t begin = position + 1;
    while (begin < close) {
        if (IsWhitespace(m_data[begin])) {
            ++begin;
        } else if (!SkipComment(begin, close)) {
            break;
        }
    }
    const std::size_t end = TrimEnd(begin, close);
    position = LineEnd(close + 1);
    return handler.OnSection(m_data + begin, end - begin);
}

bool ScriptFileReader::ReadKey(std::size_t& position, Handler& handler) const {
    std::size_t nameEnd = position;
    while (nameEnd < m_size && m_data[nameEnd] != '=' && !IsLineEnd(m_data[nameEnd])) {
        ++nameEnd;
    }
    const std::size_t nameBegin = position;
    const std::size_t trimmedEnd = TrimEnd(nameBegin, nameEnd);
    if (trimmedEnd == nameBegin) {
        // A line that begins with "=" names no key.
        position = LineEnd(nameEnd);
        return true;
    }
    if (nameEnd >= m_size || m_data[nameEnd] != '=') {
        position = nameEnd;
        return handler.OnKey(m_data + nameBegin, trimmedEnd - nameBegin, m_data, 0);
    }
    std::size_t valueBegin = nameEnd + 1;
    SkipValueLead(valueBegin);
    const std::size_t lineEnd = LineEnd(valueBegin);
    const std::size_t valueEnd = TrimEnd(valueBegin, lineEnd);
    position = lineEnd;
    return handler.OnKey(m_data + nameBegin, trimmedEnd - nameBegin, m_data + valueBegin,
                         valueEnd - valueBegin);
}
