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
    // Writes every section with its keys, each section followed by an empty line. The empty-named section
    // has no header line, so its keys come first to load back into it. A section or key that cannot be
    // written is left out, the rest is written, and the result is false. valueOf gives a key's value text.
    template <class SectionList, class ValueOf>
    bool WriteSections(const SectionList& sections, ValueOf valueOf);

    const Vemo::String& GetText() const { return m_text; }

private:
    void WriteItem(const Vemo::String& text, bool keyName);

    template <class Section, class ValueOf>
    bool WriteSection(const Section& section, ValueOf& valueOf);

    Vemo::String m_text;
};

template <class SectionList, class ValueOf>
bool SectionTextWriter::WriteSections(const SectionList& sections, ValueOf valueOf) {
    bool complete = true;
    for (const auto* section : sections) {
        if (section->GetName().IsEmpty()) {
            complete = WriteSection(*section, valueOf) && complete;
        }
    }
    for (const auto* section : sections) {
        if (!section->GetName().IsEmpty()) {
            complete = WriteSection(*section, valueOf) && complete;
        }
    }
    return complete;
}

template <class Section, class ValueOf>
bool SectionTextWriter::WriteSection(const Section& section, ValueOf& valueOf) {
    if (!section.GetName().IsEmpty() && !WriteSectionLine(section.GetName())) {
        return false;
    }
    bool complete = true;
    for (const auto* key : section.GetKeys()) {
        complete = WriteKeyLine(key->GetName(), valueOf(*key)) && complete;
    }
    WriteEmptyLine();
    return complete;
}
