// How the text formats meet their files: a file is read whole into one buffer of its size, and written anew
// from one text and then cut at the text's end, so that an older, longer file leaves nothing behind.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Vemo {
class AccessStatus;
class File;
class String;
} // namespace Vemo

class WholeFile {
public:
    // Reads the open file from its start.
    explicit WholeFile(Vemo::File& file);
    WholeFile(const WholeFile&) = delete;
    WholeFile& operator=(const WholeFile&) = delete;
    // Hands the read back to the file's handle, which frees its buffer.
    ~WholeFile();

    // False when the read failed or brought fewer bytes than the file holds.
    bool IsRead() const { return m_read; }
    const char* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }

    // Writes the text at position and cuts the file right after it. False when the write fell short or the
    // file could not be cut; nothing is cut after a short write, so what lay beyond it stays.
    static bool Replace(Vemo::File& file, std::uint64_t position, const Vemo::String& text);

private:
    Vemo::AccessStatus* m_record = nullptr;
    const char* m_data = "";
    std::size_t m_size = 0;
    bool m_read = false;
};
