#include "script/Script.h"

#include "resources/storage/AccessStyle.h"
#include "resources/error/Error.h"
#include "resources/storage/File.h"
#include "script/CharacterClasses.h"
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
    Loader(Script& script, Section* current, bool parseNow)
        : m_script(script), m_current(current), m_parseNow(parseNow) {}

    bool OnSection(const char* name, std::size_t length) override {
        m_current = m_script.FindOrAddSection(MakeString(name, length));
        return m_current != nullptr;
    }

    bool OnKey(const char* name, std::size_t nameLength, const char* value,
               std::size_t valueLength) override {
        Key* key = m_script.AddKey(*m_current, MakeString(name, nameLength));
        if (key == nullptr) {
            return false;
        }
        SetText(*key, MakeString(value, valueLength));
        return !m_parseNow || key->GetValueText().IsEmpty() || Parse(*key);
    }

private:
    Script& m_script;
    Section* m_current;
    bool m_parseNow;
};

Script::KeyEnumerator::~KeyEnumerator() = default;

bool Script::KeyEnumerator::EnumerateKey(Key&, const Vemo::String&, const Vemo::BasicArray<Fragment>&) {
    return true;
}

Script::SectionEnumerator::~SectionEnumerator() = default;

bool Script::KeyLess::operator()(const Key* a, const Key* b) const {
    return CharacterClasses::CompareNoCase(a->m_name, b->m_name) < 0;
}

bool Script::SectionLess::operator()(const Section* a, const Section* b) const {
    return CharacterClasses::CompareNoCase(a->m_name, b->m_name) < 0;
}

Script::Section::~Section() {
    for (Key* key : m_keys) {
        delete key;
    }
}

Script::Script() = default;

Script::~Script() {
    Clear();
}

bool Script::Load(const Vemo::Path& path, bool parseNow) {
    Clear();
    if (path.GetDirectory() == nullptr || FindOrAddSection(Vemo::String()) == nullptr) {
        return false;
    }
    Vemo::File file;
    if (!file.Open(path, nullptr, false)) {
        return false;
    }
    const WholeFile contents(file);
    if (!contents.IsRead() || !LoadBuffer(contents.Data(), contents.Size(), parseNow)) {
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
    Clear();
    Section* current = FindOrAddSection(Vemo::String());
    if (current == nullptr) {
        return false;
    }
    Loader loader(*this, current, parseNow);
    return ScriptFileReader(data, size).Read(loader);
}

bool Script::SaveBuffer(Vemo::String& out) const {
    SectionTextWriter writer;
    const bool complete = writer.WriteSections(
        m_sections, [](const Key& key) -> const Vemo::String& { return key.GetValueText(); });
    out = writer.GetText();
    return complete;
}

bool Script::GetValueText(const Vemo::String& section, const Vemo::String& key, Vemo::String& out) const {
    const Section* found = FindSection(section);
    const Key* record = found == nullptr ? nullptr : FindKey(*found, key);
    if (record == nullptr) {
        return false;
    }
    out = record->m_text;
    return true;
}

bool Script::GetFragments(const Vemo::String& section, const Vemo::String& key,
                          const Vemo::BasicArray<Fragment>*& out) {
    out = nullptr;
    Section* found = FindSection(section);
    Key* record = found == nullptr ? nullptr : FindKey(*found, key);
    if (record == nullptr) {
        return false;
    }
    if (record->m_fragments.Empty() && !record->m_text.IsEmpty() && !Parse(*record)) {
        return false;
    }
    out = &record->m_fragments;
    return true;
}

bool Script::SetValueText(const Vemo::String& section, const Vemo::String& key, const Vemo::String& text) {
    if (key.IsEmpty()) {
        return false;
    }
    Section* found = FindOrAddSection(section);
    Key* record = found == nullptr ? nullptr : FindOrAddKey(*found, key);
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
    Section* found = FindOrAddSection(section);
    Key* record = found == nullptr ? nullptr : FindOrAddKey(*found, key);
    if (record == nullptr) {
        return false;
    }
    FragmentsToText(fragments, record->m_text);
    record->m_fragments = fragments;
    return true;
}

bool Script::RemoveKey(const Vemo::String& section, const Vemo::String& key) {
    Section* found = FindSection(section);
    if (found == nullptr) {
        return false;
    }
    Key probe(key);
    const auto position = found->m_keysByName.Find(&probe);
    if (position == found->m_keysByName.End()) {
        return false;
    }
    Key* record = *position;
    found->m_keysByName.Erase(position);
    found->m_keys.Remove(record);
    delete record;
    return true;
}

bool Script::RemoveSection(const Vemo::String& section) {
    for (auto position = m_sections.Begin(); position != m_sections.End(); ++position) {
        Section* record = *position;
        if (CharacterClasses::CompareNoCase(record->m_name, section) == 0) {
            m_sectionsByName.Erase(m_sectionsByName.Find(record));
            m_sections.Erase(position);
            delete record;
            return true;
        }
    }
    return false;
}

void Script::Clear() {
    m_sectionsByName.Clear();
    for (Section* section : m_sections) {
        delete section;
    }
    m_sections.Clear();
}

unsigned Script::GetKeyCount(const Vemo::String& section) const {
    const Section* found = FindSection(section);
    return found == nullptr ? 0 : static_cast<unsigned>(found->m_keys.Size());
}

bool Script::EnumerateSections(SectionEnumerator& enumerator) {
    for (Section* section : m_sections) {
        if (!enumerator.EnumerateSection(*section)) {
            break;
        }
    }
    return true;
}

bool Script::EnumerateSection(const Vemo::String& section, KeyEnumerator& enumerator) {
    Section* found = FindSection(section);
    return found != nullptr && Enumerate(*found, nullptr, enumerator);
}

bool Script::EnumerateKey(const Vemo::String& section, const Vemo::String& key, KeyEnumerator& enumerator) {
    Section* found = FindSection(section);
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

Script::Section* Script::FindSection(const Vemo::String& name) const {
    Section probe(name);
    const auto found = m_sectionsByName.Find(&probe);
    return found == m_sectionsByName.End() ? nullptr : *found;
}

Script::Key* Script::FindKey(const Section& section, const Vemo::String& name) const {
    Key probe(name);
    const auto found = section.m_keysByName.Find(&probe);
    return found == section.m_keysByName.End() ? nullptr : *found;
}

Script::Section* Script::FindOrAddSection(const Vemo::String& name) {
    Section* found = FindSection(name);
    if (found != nullptr) {
        return found;
    }
    auto* section = new (std::nothrow) Section(name);
    if (section == nullptr) {
        return nullptr;
    }
    m_sections.PushBack(section);
    m_sectionsByName.Insert(section);
    return section;
}

Script::Key* Script::FindOrAddKey(Section& section, const Vemo::String& name) {
    Key* found = FindKey(section, name);
    return found != nullptr ? found : AddKey(section, name);
}

Script::Key* Script::AddKey(Section& section, const Vemo::String& name) {
    auto* key = new (std::nothrow) Key(name);
    if (key == nullptr) {
        return nullptr;
    }
    section.m_keys.PushBack(key);
    section.m_keysByName.Insert(key);
    return key;
}

void Script::SetText(Key& key, const Vemo::String& text) {
    key.m_text = text;
    // Parsed again on first use.
    key.m_fragments.Clear();
}

bool Script::Parse(Key& key) {
    std::uint32_t position = 0;
    if (!TokenizeValue(key.m_text, position, key.m_fragments, false)) {
        key.m_fragments.Clear();
        return false;
    }
    return true;
}

bool Script::Enumerate(Section& section, const Vemo::String* key, KeyEnumerator& enumerator) {
    for (Key* record : section.m_keys) {
        if (key != nullptr && CharacterClasses::CompareNoCase(record->m_name, *key) != 0) {
            continue;
        }
        if (record->m_fragments.Empty() && !record->m_text.IsEmpty() && !Parse(*record)) {
            ::RaiseError(kErrorKeyParse);
            return false;
        }
        if (!enumerator.EnumerateKey(*record, record->m_text, record->m_fragments)) {
            break;
        }
    }
    return true;
}

template class Vemo::BasicSet<Script::Section*, Script::SectionLess>;
template class Vemo::BasicMultiset<Script::Key*, Script::KeyLess>;
