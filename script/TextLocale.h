// One locale text table: text keys, compared without regard to case, to the texts shown to the user.
//
// The file is a run of pairs, each a key and its text, each ended by a zero: 8-bit bytes, or 16-bit
// little-endian units after the bytes FF FE, of which each unit keeps only its low byte.
#pragma once

#include "foundation/BasicMap.h"
#include "foundation/String.h"
#include "resources/storage/Path.h"

#include <cstddef>

class TextLocale {
public:
    struct KeyLess {
        bool operator()(const Vemo::String& a, const Vemo::String& b) const;
    };

    using Texts = Vemo::BasicMap<Vemo::String, Vemo::String, KeyLess>;

    TextLocale();
    TextLocale(const TextLocale&) = delete;
    TextLocale& operator=(const TextLocale&) = delete;
    virtual ~TextLocale();

    // Replaces the table by the pairs of the file, read whole. False for a path without a directory and for a
    // file that cannot be opened or read whole. Records the path on success.
    virtual bool Load(const Vemo::Path& path);
    // Writes every pair, as SaveBuffer, over the file, creating it when missing, and cuts it after the last
    // pair. Records the path once the file is written. False when the file cannot be created, opened or
    // written, and when SaveBuffer left a pair out (the rest is written).
    virtual bool Save(const Vemo::Path& path);
    // The path of the file last loaded or saved.
    const Vemo::Path& GetPath() const { return m_path; }

    // Replaces the table by the pairs of a whole file's bytes; a later pair replaces an earlier one's text.
    bool LoadBuffer(const char* data, std::size_t size);
    // Every pair in key order, in the 8-bit form. False when a pair cannot be written so that it loads back:
    // a key or text that holds a zero byte (a 16-bit file's characters that narrow to 0 make one) would split
    // the pair, and a first key that begins with the bytes FF FE would make the file read as 16-bit. Such a
    // pair is left out and the rest is written.
    bool SaveBuffer(Vemo::String& out) const;

    // On a miss the text is emptied.
    bool Lookup(const Vemo::String& key, Vemo::String& text) const;
    std::size_t GetCount() const { return m_texts.Size(); }
    void Clear() { m_texts.Clear(); }
    const Texts& GetTexts() const { return m_texts; }

private:
    void Enter(const Vemo::String& key, const Vemo::String& text);

    Texts m_texts;
    Vemo::Path m_path;
};
