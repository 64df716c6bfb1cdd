#include "script/TextLocale.h"

#include "resources/storage/AccessStyle.h"
#include "resources/storage/File.h"
#include "script/CharacterClasses.h"
#include "script/WholeFile.h"

#include <cstdint>
#include <string>

namespace {

// The units of the file, 8-bit or 16-bit little-endian, each narrowed to a byte.
class LocaleUnits {
public:
    LocaleUnits(const char* data, std::size_t size) {
        if (size >= 2 && static_cast<unsigned char>(data[0]) == 0xFF &&
            static_cast<unsigned char>(data[1]) == 0xFE) {
            m_data = data + 2;
            m_count = (size - 2) / 2;
            m_wide = true;
        } else {
            m_data = data;
            m_count = size;
        }
    }

    std::size_t Count() const { return m_count; }
    bool IsZero(std::size_t index) const {
        return m_wide ? m_data[2 * index] == 0 && m_data[2 * index + 1] == 0 : m_data[index] == 0;
    }

    // The units from begin up to the next zero unit or the end; index moves past that zero.
    Vemo::String Take(std::size_t& index) const {
        const std::size_t begin = index;
        while (index < m_count && !IsZero(index)) {
            ++index;
        }
        Vemo::String text;
        if (m_wide) {
            std::string narrow(index - begin, '\0');
            for (std::size_t i = begin; i < index; ++i) {
                narrow[i - begin] = m_data[2 * i];
            }
            text.Assign(narrow.data(), static_cast<std::uint32_t>(narrow.size()));
        } else {
            text.Assign(m_data + begin, static_cast<std::uint32_t>(index - begin));
        }
        if (index < m_count) {
            ++index;
        }
        return text;
    }

private:
    const char* m_data = nullptr;
    std::size_t m_count = 0;
    bool m_wide = false;
};

bool BeginsWithMark(const Vemo::String& text) {
    return text.Length() >= 2 && static_cast<unsigned char>(text.CStr()[0]) == 0xFF &&
           static_cast<unsigned char>(text.CStr()[1]) == 0xFE;
}

bool HoldsZero(const Vemo::String& text) {
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        if (text.CStr()[i] == '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

bool TextLocale::KeyLess::operator()(const Vemo::String& a, const Vemo::String& b) const {
    return CharacterClasses::CompareNoCase(a, b) < 0;
}

TextLocale::TextLocale() = default;

TextLocale::~TextLocale() = default;

bool TextLocale::Load(const Vemo::Path& path) {
    m_texts.Clear();
    if (path.GetDirectory() == nullptr) {
        return false;
    }
    Vemo::File file;
    if (!file.Open(path, nullptr, false)) {
        return false;
    }
    const WholeFile contents(file);
    if (!contents.IsRead() || !LoadBuffer(contents.Data(), contents.Size())) {
        return false;
    }
    m_path.Assign(path);
    return true;
}

bool TextLocale::Save(const Vemo::Path& path) {
    Vemo::String bytes;
    const bool complete = SaveBuffer(bytes);
    const Vemo::AccessStyle writeAlone(false, true, false, false);
    Vemo::File file;
    if (!file.Create(path, &writeAlone, true) || !WholeFile::Replace(file, 0, bytes)) {
        return false;
    }
    m_path.Assign(path);
    return complete;
}

bool TextLocale::LoadBuffer(const char* data, std::size_t size) {
    m_texts.Clear();
    const LocaleUnits units(data, size);
    std::size_t index = 0;
    // A pair is read only while at least three units remain for it; a shorter rest is ignored.
    while (units.Count() - index >= 3) {
        const Vemo::String key = units.Take(index);
        const Vemo::String text = units.Take(index);
        Enter(key, text);
    }
    return true;
}

bool TextLocale::SaveBuffer(Vemo::String& out) const {
    static const char kZero[1] = {'\0'};
    Vemo::String bytes;
    bool complete = true;
    for (const auto& [key, text] : m_texts) {
        // A key that would open the file with the bytes FF FE would make the whole file read as 16-bit.
        if (HoldsZero(key) || HoldsZero(text) || (bytes.IsEmpty() && BeginsWithMark(key))) {
            complete = false;
            continue;
        }
        bytes.Append(key);
        bytes.Append(kZero, 1);
        bytes.Append(text);
        bytes.Append(kZero, 1);
    }
    out = bytes;
    return complete;
}

bool TextLocale::Lookup(const Vemo::String& key, Vemo::String& text) const {
    const auto found = m_texts.Find(key);
    if (found == m_texts.End()) {
        text = Vemo::String();
        return false;
    }
    text = found->second;
    return true;
}

void TextLocale::Enter(const Vemo::String& key, const Vemo::String& text) {
    const auto inserted = m_texts.Insert(key, text);
    if (!inserted.second) {
        inserted.first->second = text;
    }
}

template class Vemo::BasicMap<Vemo::String, Vemo::String, TextLocale::KeyLess>;
