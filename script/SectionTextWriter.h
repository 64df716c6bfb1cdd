// Writes sections and "name=value" lines in the text form that scripts and ini files share, so that what is
// written loads back as the same sections and keys.
//
// A name or value whose edge character is whitespace, or that begins with a comment opener (";", "//", "/*",
// "REM "), is written between double quotes (and loads back with them); so is a key name that begins with
// "[", which would otherwise make a section line. No escapes exist in these files, so a name or value that
// holds a line break, a section name that holds "]" and a key name that holds "=" cannot be written: they are
// refused.
#pragma once

#include "foundation/String.h"

class SectionTextWriter {
public:
    // False, writing nothing, for a name that cannot be written.
    bool WriteSectionLine(const Vemo::String& name);
    // False, writing nothing, for a key that cannot be written.
    bool WriteKeyLine(const Vemo::String& name, const Vemo::String& value);
    void WriteEmptyLine();

    const Vemo::String& GetText() const { return m_text; }

private:
    void WriteItem(const Vemo::String& text, bool keyName);

    Vemo::String m_text;
};
