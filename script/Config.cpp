#include "script/Config.h"

#include "foundation/String.h"
#include "platform/win32/kernel/NewFiles.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/Directory.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/File.h"
#include "resources/storage/VolumeHandle.h"
#include "script/CharacterClasses.h"
#include "script/SectionTextWriter.h"
#include "script/WholeFile.h"

#include <algorithm>
#include <new>
#include <set>
#include <string>
#include <vector>

using CharacterClasses::FoldCase;
using CharacterClasses::IsBlank;
using CharacterClasses::IsLineEnd;
using CharacterClasses::IsWhitespace;
using CharacterClasses::StartsDoubleByte;

// The ini line syntax. Every scan steps over a double-byte character as a whole, so that its trail byte is
// never taken for a blank, a line end, a bracket or an equals sign.
class Config::Reader {
public:
    Reader(Config& config, const char* data, std::size_t size)
        : m_config(config), m_data(data), m_size(size) {}

    bool Read(Section* current);

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t Step(std::size_t position) const {
        return position + (StartsDoubleByte(m_data, position, m_size) ? 2 : 1);
    }
    bool CommentAt(std::size_t position, std::size_t end) const;
    std::size_t SkipComment(std::size_t position, std::size_t end) const;
    std::size_t Skip(std::size_t position, bool acrossLines) const;
    std::size_t LineEnd(std::size_t position) const;
    std::size_t TrimmedEnd(std::size_t begin, std::size_t end) const;
    Vemo::String Text(std::size_t begin, std::size_t end) const;
    std::size_t ReadSectionLine(std::size_t position, Section*& current);
    std::size_t ReadKeyLine(std::size_t position, Section& current);

    Config& m_config;
    const char* m_data;
    std::size_t m_size;
};

bool Config::Reader::Read(Section* current) {
    std::size_t position = Skip(0, true);
    while (position != kNone) {
        position =
            m_data[position] == '[' ? ReadSectionLine(position, current) : ReadKeyLine(position, *current);
        if (current == nullptr) {
            return false;
        }
        if (position != kNone) {
            position = Skip(position, true);
        }
    }
    return true;
}

bool Config::Reader::CommentAt(std::size_t position, std::size_t end) const {
    const char* p = m_data + position;
    const std::size_t left = end - position;
    if (p[0] == ';') {
        return true;
    }
    if (left >= 2 && p[0] == '/' && (p[1] == '/' || p[1] == '*')) {
        return true;
    }
    return left >= 4 && FoldCase(p[0]) == 'r' && FoldCase(p[1]) == 'e' && FoldCase(p[2]) == 'm' &&
           p[3] == ' ';
}

// Past the comment at position: a line comment to its line end, a block comment past its "*/". A block
// comment without its "*/" gives kNone.
std::size_t Config::Reader::SkipComment(std::size_t position, std::size_t end) const {
    if (m_data[position] == '/' && m_data[position + 1] == '*') {
        for (std::size_t p = position + 2; p + 1 < end; ++p) {
            if (m_data[p] == '*' && m_data[p + 1] == '/') {
                return p + 2;
            }
        }
        return kNone;
    }
    std::size_t p = position;
    while (p < end && !IsLineEnd(m_data[p])) {
        p = std::min(Step(p), end);
    }
    return p;
}

// Blanks, or all whitespace when going across lines, and comments; once a comment has been skipped the skip
// goes on across lines. kNone when the text ends.
std::size_t Config::Reader::Skip(std::size_t position, bool acrossLines) const {
    for (;;) {
        while (position < m_size &&
               (acrossLines ? IsWhitespace(m_data[position]) : IsBlank(m_data[position]))) {
            ++position;
        }
        if (position >= m_size) {
            return kNone;
        }
        if (!CommentAt(position, m_size)) {
            return position;
        }
        position = SkipComment(position, m_size);
        if (position == kNone) {
            return kNone;
        }
        acrossLines = true;
    }
}

std::size_t Config::Reader::LineEnd(std::size_t position) const {
    while (position < m_size && !IsLineEnd(m_data[position])) {
        position = Step(position);
    }
    return position;
}

std::size_t Config::Reader::TrimmedEnd(std::size_t begin, std::size_t end) const {
    std::size_t kept = begin;
    for (std::size_t p = begin; p < end;) {
        const std::size_t next = std::min(Step(p), end);
        if (next - p == 2 || !IsWhitespace(m_data[p])) {
            kept = next;
        }
        p = next;
    }
    return kept;
}

Vemo::String Config::Reader::Text(std::size_t begin, std::size_t end) const {
    Vemo::String text;
    text.Assign(m_data + begin, static_cast<std::uint32_t>(end - begin));
    return text;
}

std::size_t Config::Reader::ReadSectionLine(std::size_t position, Section*& current) {
    std::size_t close = position + 1;
    while (close < m_size && m_data[close] != ']' && !IsLineEnd(m_data[close])) {
        close = Step(close);
    }
    if (close >= m_size) {
        return kNone;
    }
    if (m_data[close] == ']') {
        std::size_t begin = position + 1;
        for (;;) {
            while (begin < close && IsBlank(m_data[begin])) {
                ++begin;
            }
            if (begin >= close || !CommentAt(begin, close)) {
                break;
            }
            begin = SkipComment(begin, close);
            if (begin == kNone) {
                begin = close;
            }
        }
        current = m_config.m_table.FindOrAddSection(Text(begin, TrimmedEnd(begin, close)));
        if (current == nullptr) {
            return kNone;
        }
    }
    return LineEnd(close);
}

std::size_t Config::Reader::ReadKeyLine(std::size_t position, Section& current) {
    std::size_t nameEnd = position;
    while (nameEnd < m_size && m_data[nameEnd] != '=' && !IsLineEnd(m_data[nameEnd])) {
        nameEnd = Step(nameEnd);
    }
    const std::size_t trimmed = TrimmedEnd(position, nameEnd);
    if (trimmed == position) {
        // A line that begins with "=" names no key; its rest is passed over.
        return LineEnd(nameEnd);
    }
    Key* key = m_config.m_table.FindOrAddKey(current, Text(position, trimmed));
    if (key == nullptr || nameEnd >= m_size || m_data[nameEnd] != '=') {
        return nameEnd < m_size ? nameEnd : kNone;
    }
    // A comment where the value should begin sends the skip across lines: the value is then the next line
    // that is neither blank nor a comment, whatever it holds.
    const std::size_t valueBegin = Skip(nameEnd + 1, false);
    if (valueBegin == kNone) {
        key->m_value = Vemo::String();
        return kNone;
    }
    const std::size_t lineEnd = LineEnd(valueBegin);
    key->m_value = Text(valueBegin, TrimmedEnd(valueBegin, lineEnd));
    return lineEnd < m_size ? lineEnd : kNone;
}

Config::SectionEnumerator::~SectionEnumerator() = default;

Config::KeyEnumerator::~KeyEnumerator() = default;

Config::Config() = default;

Config::~Config() {
    Clear();
}

namespace {

// A file the Config holds open is its own: it is read and rewritten through that one handle.
Vemo::AccessStyle HeldStyle() {
    return Vemo::AccessStyle(true, true, false, false);
}

} // namespace

bool Config::Load(const Vemo::Path& path, bool keepOpen) {
    if (m_file != nullptr) {
        return false;
    }
    Clear();
    Vemo::String text;
    Vemo::Directory* directory = path.GetDirectory();
    if (path.GetText(text, true, false).IsEmpty() || directory == nullptr ||
        !directory->ContainsFile(path.GetName())) {
        return false;
    }
    if (m_table.FindOrAddSection(Vemo::String()) == nullptr) {
        return false;
    }
    const Vemo::AccessStyle held = HeldStyle();
    std::unique_ptr<Vemo::File> file(new (std::nothrow) Vemo::File);
    if (file == nullptr || !file->Open(path, keepOpen ? &held : nullptr, false)) {
        return false;
    }
    const WholeFile contents(*file);
    if (!contents.IsRead() || !LoadBuffer(contents.Data(), contents.Size())) {
        return false;
    }
    m_path.Assign(path);
    if (keepOpen) {
        m_file = std::move(file);
        m_heldPath.Assign(path);
    }
    return true;
}

namespace {

// A new file's name: the target's name, ".new" and the writing process's id.
Vemo::String NewFileName(const Vemo::String& name, win32::DWORD processId) {
    return Vemo::String(name).Append(".new").Append(std::to_string(processId).c_str());
}

// A folder for as long as the run keeps it: the handle of its volume (held while any folder of it is open)
// and its path, with the name whose new files are meant.
std::string SweepKey(Vemo::Directory& folder, const Vemo::String& name) {
    Vemo::DirectoryHandle* top = folder.GetDirectoryHandle();
    if (top == nullptr) {
        return std::string();
    }
    while (top->Parent() != nullptr) {
        top = top->Parent();
    }
    const Vemo::VolumeHandle* volume = top->Volume();
    const Vemo::String* text = folder.PathText(true, false);
    return std::to_string(volume != nullptr ? volume->GetId() : top->GetId()) + "|" +
           (text != nullptr ? text->CStr() : "") + "|" + name.CStr();
}

} // namespace

void Config::RemoveStaleNewFiles(const Vemo::Path& file) {
    Vemo::Path target;
    if (ResolveTarget(file, target)) {
        SweepOnce(*target.GetDirectory(), target.GetName());
    }
}

bool Config::ResolveTarget(const Vemo::Path& path, Vemo::Path& out) {
    Vemo::String text;
    Vemo::Directory* folder = path.GetDirectory();
    if (path.GetText(text, true, false).IsEmpty() || folder == nullptr) {
        return false;
    }
    Vemo::String followed;
    if (!folder->FollowLink(path.GetName(), followed)) {
        return false;
    }
    if (followed.IsEmpty()) {
        out.Assign(path);
        return true;
    }
    Vemo::Directory root;
    if (!folder->RootDirectory(root)) {
        return false;
    }
    Vemo::Path linked(nullptr, &root);
    if (!linked.Parse(followed) || linked.GetDirectory() == nullptr) {
        return false;
    }
    out.Assign(linked);
    return true;
}

void Config::SweepOnce(Vemo::Directory& folder, const Vemo::String& name) {
    // Main thread only, as every save.
    static std::set<std::string> swept;
    const std::string key = SweepKey(folder, name);
    if (key.empty() || !swept.insert(key).second) {
        return;
    }
    const std::string prefix = std::string(name.CStr()) + ".new";
    Vemo::BasicList<Vemo::Descriptor*> entries;
    folder.EntryAt(Vemo::String(prefix.c_str()).Append("*"), entries);
    std::vector<std::string> names;
    for (Vemo::Descriptor* entry : entries) {
        names.emplace_back(entry->m_name.CStr());
        delete entry;
    }
    win32::RemoveStaleNewFiles(
        names, prefix, [&folder](const std::string& stale) { folder.Delete(Vemo::String(stale.c_str())); });
}

bool Config::Save(const Vemo::Path& path, bool keepOpen) {
    Vemo::String text;
    const bool complete = SaveBuffer(text);
    // A file held open is written again whatever the path, and stays held.
    const bool held = m_file != nullptr;
    Vemo::Path target;
    if (!ResolveTarget(held ? m_heldPath : path, target)) {
        return false;
    }
    if (held) {
        text = Vemo::String("\r\n").Append(text);
        keepOpen = true;
    }
    Vemo::Directory& folder = *target.GetDirectory();
    const Vemo::String& name = target.GetName();
    SweepOnce(folder, name);
    // The Config's own hold would refuse the replace, as any other handle that does not share delete does.
    m_file.reset();
    const Vemo::String newName = NewFileName(name, win32::GetCurrentProcessId());
    std::unique_ptr<Vemo::File> written;
    if (!folder.MayReplace(name) || !WriteNewFile(folder, newName, text, keepOpen, written) ||
        !written->Replace(name)) {
        Undo(folder, newName, std::move(written), held);
        return false;
    }
    if (keepOpen) {
        m_file = std::move(written);
        if (!held) {
            m_heldPath.Assign(path);
        }
    }
    m_path.Assign(path);
    return complete;
}

bool Config::WriteNewFile(Vemo::Directory& folder, const Vemo::String& newName, const Vemo::String& text,
                          bool keepOpen, std::unique_ptr<Vemo::File>& written) {
    const Vemo::AccessStyle style = keepOpen ? HeldStyle() : Vemo::AccessStyle(false, true, false, false);
    written.reset(new (std::nothrow) Vemo::File);
    return written != nullptr && written->Create(&newName, folder, &style, true) &&
           WholeFile::Replace(*written, 0, text) && written->Flush();
}

void Config::Undo(Vemo::Directory& folder, const Vemo::String& newName, std::unique_ptr<Vemo::File> written,
                  bool held) {
    if (written != nullptr && written->IsOpen()) {
        written.reset();
        folder.Delete(newName);
    }
    if (held) {
        const Vemo::AccessStyle style = HeldStyle();
        std::unique_ptr<Vemo::File> file(new (std::nothrow) Vemo::File);
        if (file != nullptr && file->Open(m_heldPath, &style, false)) {
            m_file = std::move(file);
        }
    }
}

bool Config::LoadBuffer(const char* data, std::size_t size) {
    Clear();
    Section* current = m_table.FindOrAddSection(Vemo::String());
    if (current == nullptr) {
        return false;
    }
    return Reader(*this, data, size).Read(current);
}

bool Config::SaveBuffer(Vemo::String& out) const {
    SectionTextWriter writer;
    const bool complete = writer.WriteSections(
        m_table.GetSections(), [](const Key& key) -> const Vemo::String& { return key.GetValue(); });
    out = writer.GetText();
    return complete;
}

bool Config::GetValue(const Vemo::String& section, const Vemo::String& key, Vemo::String& value) const {
    const Section* found = m_table.FindSection(section);
    const Key* record = found == nullptr ? nullptr : m_table.FindKey(*found, key);
    if (record == nullptr) {
        value = Vemo::String();
        return false;
    }
    value = record->m_value;
    return true;
}

bool Config::SetValue(const Vemo::String& section, const Vemo::String& key, const Vemo::String& value) {
    if (key.IsEmpty()) {
        return false;
    }
    Section* found = m_table.FindOrAddSection(section);
    Key* record = found == nullptr ? nullptr : m_table.FindOrAddKey(*found, key);
    if (record == nullptr) {
        return false;
    }
    record->m_value = value;
    return true;
}

bool Config::RemoveKey(const Vemo::String& section, const Vemo::String& key) {
    return m_table.RemoveKey(section, key);
}

bool Config::RemoveSection(const Vemo::String& section) {
    return m_table.RemoveSection(section);
}

bool Config::EnumerateSections(SectionEnumerator& enumerator) const {
    for (const Section* section : m_table.GetSections()) {
        if (!enumerator.EnumerateSection(section->GetName())) {
            break;
        }
    }
    return true;
}

bool Config::EnumerateKeys(const Vemo::String& section, KeyEnumerator& enumerator) const {
    const Section* found = m_table.FindSection(section);
    if (found == nullptr) {
        return false;
    }
    for (const Key* key : found->GetKeys()) {
        if (!enumerator.EnumerateKey(key->m_name, key->m_value)) {
            break;
        }
    }
    return true;
}

unsigned Config::GetKeyCount(const Vemo::String& section) const {
    return m_table.GetKeyCount(section);
}

void Config::Clear() {
    m_table.Clear();
}

template class SectionTable<Config::Key, CharacterClasses::CompareTerminatedNoCase, Vemo::BasicSet>;
