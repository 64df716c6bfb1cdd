#include "script/Script.h"

#include "resources/error/Error.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/File.h"
#include "script/CharacterClasses.h"
#include "script/ErrorString.h"
#include "script/ScriptFileReader.h"
#include "script/SectionTextWriter.h"
#include "script/ValueTokenizer.h"
#include "script/WholeFile.h"

#include <new>

namespace {

Vemo::String MakeString(const char* text, std::size_t length) {
    Vemo::String result;
    result.Assign(text, static_cast<std::uint32_t>(length));
    return result;
}

} // namespace

class Script::Loader : public ScriptFileReader::Handler {
public:
    Loader(Script& script, Section* current, bool parseNow, const Vemo::Path& source)
        : m_script(script), m_current(current), m_parseNow(parseNow), m_source(source) {}

    bool OnSection(const char* name, std::size_t length) override {
        m_current = m_script.m_table.FindOrAddSection(MakeString(name, length));
        return m_current != nullptr;
    }

    bool OnKey(const char* name, std::size_t nameLength, const char* value,
               std::size_t valueLength) override {
        Key* key = m_script.m_table.AddKey(*m_current, MakeString(name, nameLength));
        if (key == nullptr) {
            return false;
        }
        SetText(*key, MakeString(value, valueLength));
        return !m_parseNow || key->GetValueText().IsEmpty() || Parse(m_source, *m_current, *key);
    }

private:
    Script& m_script;
    Section* m_current;
    bool m_parseNow;
    const Vemo::Path& m_source;
};

Script::KeyEnumerator::~KeyEnumerator() = default;

bool Script::KeyEnumerator::EnumerateKey(Key&, const Vemo::String&, const Vemo::BasicArray<Fragment>&) {
    return true;
}

Script::SectionEnumerator::~SectionEnumerator() = default;

Script::Script() = default;

Script::~Script() {
    Clear();
}

bool Script::Load(const Vemo::Path& path, bool parseNow) {
    Clear();
    if (path.GetDirectory() == nullptr || m_table.FindOrAddSection(Vemo::String()) == nullptr) {
        return false;
    }
    Vemo::File file;
    if (!file.Open(path, nullptr, false)) {
        return false;
    }
    const WholeFile contents(file);
    if (!contents.IsRead() || !LoadText(contents.Data(), contents.Size(), parseNow, path)) {
        return false;
    }
    m_path.Assign(path);
    return true;
}

bool Script::Save(const Vemo::Path& path) const {
    Vemo::String text;
    const bool complete = SaveBuffer(text);
    const Vemo::AccessStyle writeAlone(false, true, false, false);
    Vemo::File file;
    if (!file.Create(path, &writeAlone, true)) {
        return false;
    }
    return WholeFile::Replace(file, 0, text) && complete;
}

bool Script::LoadBuffer(const char* data, std::size_t size, bool parseNow) {
    return LoadText(data, size, parseNow, Vemo::Path());
}

bool Script::LoadText(const char* data, std::size_t size, bool parseNow, const Vemo::Path& source) {
    Clear();
    Section* current = m_table.FindOrAddSection(Vemo::String());
    if (current == nullptr) {
        return false;
    }
    Loader loader(*this, current, parseNow, source);
    return ScriptFileReader(data, size).Read(loader);
}

bool Script::SaveBuffer(Vemo::String& out) const {
    SectionTextWriter writer;
    const bool complete = writer.WriteSections(
        m_table.GetSections(), [](const Key& key) -> const Vemo::String& { return key.GetValueText(); });
    out = writer.GetText();
    return complete;
}

bool Script::GetValueText(const Vemo::String& section, const Vemo::String& key, Vemo::String& out) const {
    const Section* found = m_table.FindSection(section);
    const Key* record = found == nullptr ? nullptr : m_table.FindKey(*found, key);
    if (record == nullptr) {
        return false;
    }
    out = record->m_text;
    return true;
}

bool Script::GetFragments(const Vemo::String& section, const Vemo::String& key,
                          const Vemo::BasicArray<Fragment>*& out) {
    out = nullptr;
    Section* found = m_table.FindSection(section);
    Key* record = found == nullptr ? nullptr : m_table.FindKey(*found, key);
    if (record == nullptr) {
        return false;
    }
    if (record->m_fragments.Empty() && !record->m_text.IsEmpty() && !Parse(m_path, *found, *record)) {
        return false;
    }
    out = &record->m_fragments;
    return true;
}

bool Script::SetValueText(const Vemo::String& section, const Vemo::String& key, const Vemo::String& text) {
    if (key.IsEmpty()) {
        return false;
    }
    Section* found = m_table.FindOrAddSection(section);
    Key* record = found == nullptr ? nullptr : m_table.FindOrAddKey(*found, key);
    if (record == nullptr) {
        return false;
    }
    SetText(*record, text);
    return true;
}

bool Script::SetFragments(const Vemo::String& section, const Vemo::String& key,
                          const Vemo::BasicArray<Fragment>& fragments) {
    if (key.IsEmpty()) {
        return false;
    }
    Section* found = m_table.FindOrAddSection(section);
    Key* record = found == nullptr ? nullptr : m_table.FindOrAddKey(*found, key);
    if (record == nullptr) {
        return false;
    }
    FragmentsToText(fragments, record->m_text);
    record->m_fragments = fragments;
    return true;
}

bool Script::RemoveKey(const Vemo::String& section, const Vemo::String& key) {
    return m_table.RemoveKey(section, key);
}

bool Script::RemoveSection(const Vemo::String& section) {
    return m_table.RemoveSection(section);
}

void Script::Clear() {
    m_table.Clear();
}

unsigned Script::GetKeyCount(const Vemo::String& section) const {
    return m_table.GetKeyCount(section);
}

bool Script::EnumerateSections(SectionEnumerator& enumerator) {
    for (Section* section : m_table.GetSections()) {
        if (!enumerator.EnumerateSection(*section)) {
            break;
        }
    }
    return true;
}

bool Script::EnumerateSection(const Vemo::String& section, KeyEnumerator& enumerator) {
    Section* found = m_table.FindSection(section);
    return found != nullptr && Enumerate(*found, nullptr, enumerator);
}

bool Script::EnumerateKey(const Vemo::String& section, const Vemo::String& key, KeyEnumerator& enumerator) {
    Section* found = m_table.FindSection(section);
    return found != nullptr && Enumerate(*found, &key, enumerator);
}

bool Script::TokenizeValue(const Vemo::String& text, std::uint32_t& position, Vemo::BasicArray<Fragment>& out,
                           bool append) {
    if (!append) {
        out.Clear();
    }
    ValueTokenizer tokenizer(text);
    if (!tokenizer.Tokenize(position, out)) {
        tokenizer.ReportFailures();
        return false;
    }
    return true;
}

bool Script::TokenizeText(Vemo::BasicArray<Fragment>& out, const char* text, std::uint32_t length) {
    Vemo::String value;
    value.Assign(text, length);
    std::uint32_t position = 0;
    return TokenizeValue(value, position, out, false);
}

void Script::SetText(Key& key, const Vemo::String& text) {
    key.m_text = text;
    // Parsed again on first use.
    key.m_fragments.Clear();
}

bool Script::Parse(const Vemo::Path& source, const Section& section, Key& key) {
    std::uint32_t position = 0;
    if (TokenizeValue(key.m_text, position, key.m_fragments, false)) {
        return true;
    }
    key.m_fragments.Clear();
    Vemo::String path;
    source.GetText(path, true, false);
    RaiseQuotedItems(kErrorKeyNotParsed, {path, section.GetName(), key.m_name});
    return false;
}

bool Script::Enumerate(Section& section, const Vemo::String* key, KeyEnumerator& enumerator) {
    for (Key* record : section.GetKeys()) {
        if (key != nullptr && CharacterClasses::CompareNoCase(record->m_name, *key) != 0) {
            continue;
        }
        if (record->m_fragments.Empty() && !record->m_text.IsEmpty() && !Parse(m_path, section, *record)) {
            ::RaiseError(kErrorKeyParse);
            return false;
        }
        if (!enumerator.EnumerateKey(*record, record->m_text, record->m_fragments)) {
            break;
        }
    }
    return true;
}

template class SectionTable<Script::Key, CharacterClasses::CompareNoCase, Vemo::BasicMultiset>;
