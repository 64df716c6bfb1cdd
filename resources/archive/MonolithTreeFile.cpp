#include "resources/archive/MonolithTreeFile.h"

#include "resources/archive/MonolithTreeDirectory.h"
#include "resources/archive/Stream.h"

namespace Vemo {

using MonolithTreeFile = MonolithStorageEngine::MonolithTreeFile;

MonolithTreeFile::MonolithTreeFile(MonolithTreeChunk* treeChunk, MonolithTreeDirectory* parent)
    : MonolithTreeEntry(treeChunk, parent) {}

MonolithTreeFile::~MonolithTreeFile() = default;

bool MonolithTreeFile::Read(Stream& stream) {
    MonolithTreeEntry::Read(stream);
    for (std::uint64_t& time : m_times) {
        stream.ReadU64(time);
    }
    return true;
}

bool MonolithTreeFile::Write(Stream& stream) {
    stream.WriteU16(kFileTag);
    MonolithTreeEntry::Write(stream);
    for (std::uint64_t time : m_times) {
        stream.WriteU64(time);
    }
    return true;
}

std::uint64_t MonolithTreeFile::RecordSize() const {
    return MonolithTreeEntry::RecordSize() + 24;
}

std::uint64_t MonolithTreeFile::ContentSize() const {
    return m_chunkSize > kChunkHeaderSize ? m_chunkSize - kChunkHeaderSize : 0;
}

bool MonolithTreeFile::SetContentSize(std::uint64_t length) {
    m_chunkSize = length + kChunkHeaderSize;
    if (m_parent == nullptr) {
        return false;
    }
    m_parent->RecomputeSizes();
    return Commit();
}

} // namespace Vemo
