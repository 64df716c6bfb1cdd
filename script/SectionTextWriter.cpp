#include "script/SectionTextWriter.h"

#include "script/CharacterClasses.h"

namespace {

bool Holds(const Vemo::String& text, char c) {
    const char* p = text.CStr();
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        if (p[i] == c) {
            return true;
        }
    }
    return false;
}

bool HoldsLineBreak(const Vemo::String& text) {
    return Holds(text, '\r') || Holds(text, '\n');
}

bool BeginsWithCommentOpener(const Vemo::String& text) {
    const char* p = text.CStr();
    const std::uint32_t length = text.Length();
    if (length >= 1 && p[0] == ';') {
        return true;
    }
    if (length >= 2 && p[0] == '/' && (p[1] == '/' || p[1] == '*')) {
        return true;
    }
    return length >= 4 && CharacterClasses::FoldCase(p[0]) == 'r' &&
           CharacterClasses::FoldCase(p[1]) == 'e' && CharacterClasses::FoldCase(p[2]) == 'm' && p[3] == ' ';
}

} // namespace

bool SectionTextWriter::WriteSectionLine(const Vemo::String& name) {
    if (HoldsLineBreak(name) || Holds(name, ']')) {
        return false;
    }
    m_text.Append("[", 1);
    WriteItem(name, false);
    m_text.Append("]\r\n", 3);
    return true;
}

bool SectionTextWriter::WriteKeyLine(const Vemo::String& name, const Vemo::String& value) {
    if (HoldsLineBreak(name) || HoldsLineBreak(value) || Holds(name, '=')) {
        return false;
    }
    WriteItem(name, true);
    m_text.Append("=", 1);
    WriteItem(value, false);
    m_text.Append("\r\n", 2);
    return true;
}

void SectionTextWriter::WriteEmptyLine() {
    m_text.Append("\r\n", 2);
}

void SectionTextWriter::WriteItem(const Vemo::String& text, bool keyName) {
    const char* p = text.CStr();
    const std::uint32_t length = text.Length();
    const bool quote = length > 0 && (CharacterClasses::IsWhitespace(p[0]) ||
                                      CharacterClasses::IsWhitespace(p[length - 1]) ||
                                      BeginsWithCommentOpener(text) || (keyName && p[0] == '['));
    if (quote) {
        m_text.Append("\"", 1);
    }
    m_text.Append(text);
    if (quote) {
        m_text.Append("\"", 1);
    }
}
