#include "resources/archive/MonolithTreeChunk.h"

#include "resources/archive/MonolithChunk.h"
#include "resources/archive/MonolithTreeDirectory.h"
#include "resources/archive/Stream.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

#include <new>
#include <vector>

namespace Vemo {

using MonolithTreeChunk = MonolithStorageEngine::MonolithTreeChunk;

MonolithTreeChunk::MonolithTreeChunk(MonolithChunk* container)
    : QuibChunk(static_cast<QuibChunk*>(container), QuibChunkIdent(kFamily, kTreeType), kDataChunk),
      m_root(new MonolithTreeDirectory(this, nullptr)), m_container(container) {}

MonolithTreeChunk::~MonolithTreeChunk() {
    delete m_root;
}

bool MonolithTreeChunk::Load(std::uint64_t dataOffset) {
    SetCurrentOffset(dataOffset);
    if (dataOffset > Size()) {
        return false;
    }
    const std::uint64_t length = Size() - dataOffset;
    // One read carries at most a 32-bit count.
    if (length > 0xFFFFFFFFu) {
        return false;
    }
    std::vector<std::uint8_t> payload(static_cast<std::size_t>(length));
    if (length > 0 && !ReadExact(dataOffset, length, payload.data())) {
        return false;
    }
    return LoadPayload(payload.data(), length);
}

bool MonolithTreeChunk::LoadPayload(std::uint8_t* bytes, std::uint64_t size) {
    m_root->Clear();
    m_root->SetAttributes(0);
    m_root->SetName(String());
    m_root->SetChunkSize(0);
    Stream stream(bytes, size, !m_littleEndian);
    std::uint16_t version = 0;
    if (stream.ReadU16(version) == 0 || version != MonolithTreeEntry::kDirectoryTag) {
        return false;
    }
    return m_root->Read(stream);
}

bool MonolithTreeChunk::Store() {
    if (Parent() == nullptr) {
        Error().Report(StorageEngineErrNoFile);
        return false;
    }
    const std::uint64_t length = m_root->RecordSize();
    if (length > 0xFFFFFFFFu || !Parent()->ResizeChild(this, CurrentOffset() + length)) {
        return false;
    }
    std::vector<std::uint8_t> payload(static_cast<std::size_t>(length));
    Stream stream(payload.data(), length, !m_littleEndian);
    const bool built = m_root->Write(stream);
    const bool written = built && Write(nullptr, CurrentOffset(), length, payload.data());
    return UpdateHeader() && written;
}

} // namespace Vemo
