#include "resources/archive/MonolithTreeEntry.h"

#include "resources/archive/MonolithTreeChunk.h"
#include "resources/archive/Stream.h"

#include <string>

namespace Vemo {

using MonolithTreeEntry = MonolithStorageEngine::MonolithTreeEntry;

MonolithTreeEntry::MonolithTreeEntry(MonolithTreeChunk* treeChunk, MonolithTreeDirectory* parent)
    : m_treeChunk(treeChunk), m_parent(parent) {}

MonolithTreeEntry::~MonolithTreeEntry() = default;

// A unit whose low byte is 0 while its high byte is not adds nothing and does not end the name.
bool MonolithTreeEntry::Read(Stream& stream) {
    stream.ReadU32(m_attributes);
    std::string name;
    std::uint16_t unit = 0;
    while (stream.ReadU16(unit) != 0 && unit != 0) {
        const char byte = static_cast<char>(unit & 0xFF);
        if (byte != 0) {
            name.push_back(byte);
        }
    }
    m_name.Assign(name.data(), static_cast<std::uint32_t>(name.size()));
    stream.ReadU64(m_chunkSize);
    return true;
}

bool MonolithTreeEntry::Write(Stream& stream) {
    stream.WriteU32(m_attributes);
    const char* name = m_name.CStr();
    for (std::uint32_t i = 0; i < m_name.Length(); ++i) {
        stream.WriteU16(static_cast<unsigned char>(name[i]));
    }
    stream.WriteU16(0);
    stream.WriteU64(m_chunkSize);
    return true;
}

std::uint64_t MonolithTreeEntry::RecordSize() const {
    return 2 * static_cast<std::uint64_t>(m_name.Length()) + 16;
}

bool MonolithTreeEntry::Commit() {
    return m_treeChunk != nullptr && m_treeChunk->Store();
}

} // namespace Vemo
