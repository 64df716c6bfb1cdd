#include "resources/archive/QuibChunk.h"

#include "resources/archive/CRC32.h"
#include "resources/archive/QuibFile.h"
#include "resources/archive/Stream.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace Vemo {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

} // namespace

using QuibChunk = QuibStorageEngine::QuibChunk;

QuibChunk::Header QuibChunk::Header::Parse(const std::uint8_t* bytes) {
    std::uint8_t copy[kChunkHeaderSize];
    std::copy(bytes, bytes + kChunkHeaderSize, copy);
    Stream stream(copy, sizeof copy, true);
    Header header;
    stream.ReadU16(header.m_family);
    stream.ReadU16(header.m_type);
    stream.ReadU64(header.m_size);
    stream.ReadU32(header.m_flags);
    stream.ReadU32(header.m_crc);
    return header;
}

void QuibChunk::Header::Build(std::uint8_t* bytes) const {
    Stream stream(bytes, kChunkHeaderSize, true);
    stream.WriteU16(m_family);
    stream.WriteU16(m_type);
    stream.WriteU64(m_size);
    stream.WriteU32(m_flags);
    stream.WriteU32(m_crc);
}

bool QuibChunk::Header::FitsAt(std::uint64_t position, std::uint64_t end) const {
    return m_size >= kChunkHeaderSize && position <= end && m_size <= end - position;
}

QuibChunk::QuibChunk(QuibFile* file, const QuibChunkIdent& ident, std::uint32_t flags)
    : m_file(file), m_ident(ident), m_flags(flags) {
    if (file != nullptr) {
        m_writeable = file->Writeable();
        file->m_boundChunks.Insert(this);
    }
}

QuibChunk::QuibChunk(QuibChunk* parent, const QuibChunkIdent& ident, std::uint32_t flags)
    : m_parent(parent), m_ident(ident), m_flags(flags) {
    if (parent != nullptr) {
        m_writeable = parent->m_writeable;
        parent->m_boundChildren.Insert(this);
    }
}

QuibChunk::~QuibChunk() {
    IdentitySet* bound = nullptr;
    if (m_parent != nullptr) {
        m_parent->m_openChildren.Remove(this);
        bound = &m_parent->m_boundChildren;
    } else if (m_file != nullptr) {
        m_file->m_openChunks.Remove(this);
        bound = &m_file->m_boundChunks;
    }
    if (bound != nullptr) {
        auto entry = bound->Find(this);
        if (entry != bound->End()) {
            bound->Erase(entry);
        }
    }
    for (QuibChunk* child : m_boundChildren) {
        child->m_parent = nullptr;
    }
    m_boundChildren.Clear();
    m_openChildren.Clear();
}

void QuibChunk::Report(ErrorCode code) const {
    const String text = m_ident.Text();
    Error().Report(code, text);
}

bool QuibChunk::Create() {
    if (m_ident.m_family == 0 || m_ident.m_type == 0) {
        Report(QuibErrCreateFailed);
        return false;
    }
    bool appended = false;
    if (m_file != nullptr) {
        appended = m_file->AppendChunk(this);
    } else if (m_parent != nullptr) {
        appended = m_parent->AppendChild(this);
    }
    if (!appended) {
        Report(QuibErrCreateFailed);
    }
    return appended;
}

bool QuibChunk::Open(bool create, QuibChunk* after, std::uint64_t start) {
    SearchResult result;
    if (m_file != nullptr) {
        result = m_file->Search(this, after, start);
    } else if (m_parent != nullptr) {
        result = m_parent->SearchChild(this, after, start);
    } else {
        Report(QuibErrNoFile);
        return false;
    }
    if (result != SearchResult::kNotFound) {
        return result == SearchResult::kFound;
    }
    if (create) {
        return Create();
    }
    Report(QuibErrNotFound);
    return false;
}

bool QuibChunk::StateFlag() const {
    return m_stateFlag;
}

bool QuibChunk::Load(std::uint64_t dataOffset) {
    m_currentOffset = dataOffset;
    return true;
}

bool QuibChunk::FindChild(QuibChunk* child, QuibChunk* after, std::uint64_t start) {
    return SearchChild(child, after, start) == SearchResult::kFound;
}

QuibChunk::SearchResult QuibChunk::SearchChild(QuibChunk* child, QuibChunk* after, std::uint64_t start) {
    if (child == nullptr) {
        return SearchResult::kFailed;
    }
    if (child->m_parent != this) {
        child->Report(QuibErrNotOpenHere);
        return SearchResult::kFailed;
    }
    std::uint64_t position = m_currentOffset;
    const SearchResult started = m_openChildren.SearchStart(after, start, position);
    if (started != SearchResult::kFound) {
        return started;
    }
    while (position <= m_size && m_size - position >= m_headerSize) {
        std::uint8_t bytes[kChunkHeaderSize];
        if (!ReadExact(position, kChunkHeaderSize, bytes)) {
            Report(QuibErrAccessFailed);
            return SearchResult::kFailed;
        }
        const Header header = Header::Parse(bytes);
        if (!header.FitsAt(position, m_size)) {
            Report(QuibErrAccessFailed);
            return SearchResult::kFailed;
        }
        if (child->m_ident.Matches(header.m_family, header.m_type)) {
            if (!m_openChildren.Locate(child, position, header)) {
                return SearchResult::kFailed;
            }
            return child->Load(m_headerSize) ? SearchResult::kFound : SearchResult::kFailed;
        }
        position += header.m_size;
    }
    return SearchResult::kNotFound;
}

bool QuibChunk::OpenChunks::Contains(QuibChunk* chunk) const {
    return chunk != nullptr && chunk->m_listedIn == this;
}

QuibChunk* QuibChunk::OpenChunks::At(std::uint64_t position) const {
    for (QuibChunk* chunk : m_byPosition) {
        if (chunk->m_position == position) {
            return chunk;
        }
    }
    return nullptr;
}

bool QuibChunk::OpenChunks::Locate(QuibChunk* chunk, std::uint64_t position, const Header& header) {
    QuibChunk* occupant = At(position);
    if (occupant != nullptr && occupant != chunk) {
        Error().Report(QuibErrChildOpen);
        return false;
    }
    Remove(chunk);
    chunk->m_position = position;
    chunk->m_ident = QuibChunkIdent(header.m_family, header.m_type);
    chunk->m_size = header.m_size;
    chunk->m_flags = header.m_flags;
    chunk->m_crc = header.m_crc;
    Insert(chunk);
    return true;
}

void QuibChunk::OpenChunks::Insert(QuibChunk* chunk) {
    m_byId.Insert(chunk);
    m_byPosition.Insert(chunk);
    chunk->m_listedIn = this;
}

void QuibChunk::OpenChunks::Remove(QuibChunk* chunk) {
    auto byId = m_byId.Find(chunk);
    if (byId == m_byId.End()) {
        return;
    }
    m_byId.Erase(byId);
    chunk->m_listedIn = nullptr;
    for (auto it = m_byPosition.Begin(); it != m_byPosition.End(); ++it) {
        if (*it == chunk) {
            m_byPosition.Erase(it);
            break;
        }
    }
}

void QuibChunk::OpenChunks::ShiftAfter(std::uint64_t position, std::uint64_t amount, bool up) {
    std::vector<QuibChunk*> later;
    for (auto it = m_byPosition.Begin(); it != m_byPosition.End();) {
        if ((*it)->m_position > position) {
            later.push_back(*it);
            it = m_byPosition.Erase(it);
        } else {
            ++it;
        }
    }
    for (QuibChunk* chunk : later) {
        chunk->m_position = up ? chunk->m_position + amount : chunk->m_position - amount;
        m_byPosition.Insert(chunk);
    }
}

QuibChunk::SearchResult QuibChunk::OpenChunks::SearchStart(QuibChunk* after, std::uint64_t start,
                                                           std::uint64_t& position) const {
    if (after != nullptr) {
        if (!Contains(after)) {
            after->Report(QuibErrNotOpenHere);
            return SearchResult::kFailed;
        }
        if (after->m_size > kMax - after->m_position) {
            return SearchResult::kNotFound;
        }
        position = after->m_position + after->m_size;
    } else if (start != kNoOffset) {
        if (start > kMax - position) {
            return SearchResult::kNotFound;
        }
        position += start;
    }
    return SearchResult::kFound;
}

void QuibChunk::OpenChunks::Clear() {
    for (QuibChunk* chunk : m_byId) {
        chunk->m_listedIn = nullptr;
    }
    m_byId.Clear();
    m_byPosition.Clear();
}

QuibChunk* QuibChunk::OpenChildAt(std::uint64_t position) const {
    return m_openChildren.At(position);
}

bool QuibChunk::AppendChild(QuibChunk* child) {
    if (child == nullptr || child->m_parent != this) {
        if (child != nullptr) {
            child->Report(QuibErrNotOpenHere);
        }
        return false;
    }
    if (m_flags != 0) {
        Report(QuibErrNotAContainer);
        return false;
    }
    const std::uint64_t oldSize = m_size;
    if (oldSize > kMax - m_headerSize || !Resize(oldSize + m_headerSize)) {
        Report(QuibErrResizeFailed);
        return false;
    }
    Header header;
    header.m_family = child->m_ident.m_family;
    header.m_type = child->m_ident.m_type;
    header.m_size = m_headerSize;
    header.m_flags = child->m_flags;
    std::uint8_t bytes[kChunkHeaderSize];
    header.Build(bytes);
    if (!Write(nullptr, oldSize, kChunkHeaderSize, bytes)) {
        child->Report(QuibErrCreateFailed);
        return false;
    }
    if (!m_openChildren.Locate(child, oldSize, header)) {
        return false;
    }
    return UpdateHeader() && child->Load(m_headerSize);
}

bool QuibChunk::Resize(std::uint64_t newSize) {
    if (m_parent != nullptr) {
        return m_parent->ResizeChild(this, newSize);
    }
    if (m_file != nullptr) {
        return m_file->ResizeChunk(this, newSize);
    }
    Report(StorageEngineErrNoFile);
    return false;
}

bool QuibChunk::ResizeChild(QuibChunk* child, std::uint64_t newSize) {
    if (child == nullptr || !m_openChildren.Contains(child)) {
        if (child != nullptr) {
            child->Report(QuibErrNotOpenHere);
        }
        return false;
    }
    if (!HasContainer()) {
        Report(StorageEngineErrNoFile);
        return false;
    }
    Header current;
    current.m_size = child->m_size;
    if (newSize < m_headerSize || !current.FitsAt(child->m_position, m_size)) {
        child->Report(QuibErrResizeFailed);
        return false;
    }
    const std::uint64_t childEnd = child->m_position + child->m_size;
    const std::uint64_t oldSize = m_size;
    if (newSize > child->m_size) {
        const std::uint64_t delta = newSize - child->m_size;
        if (delta > kMax - oldSize || !Resize(oldSize + delta)) {
            Report(QuibErrResizeFailed);
            return false;
        }
        if (!MoveBytes(childEnd, childEnd + delta, oldSize - childEnd)) {
            Report(QuibErrMoveFailed);
            return false;
        }
        child->m_size = newSize;
        m_openChildren.ShiftAfter(child->m_position, delta, true);
    } else if (newSize < child->m_size) {
        const std::uint64_t delta = child->m_size - newSize;
        if (!MoveBytes(childEnd, childEnd - delta, oldSize - childEnd)) {
            Report(QuibErrMoveFailed);
            return false;
        }
        if (!Resize(oldSize - delta)) {
            Report(QuibErrResizeFailed);
            return false;
        }
        child->m_size = newSize;
        m_openChildren.ShiftAfter(child->m_position, delta, false);
    }
    return true;
}

bool QuibChunk::RemoveChildAt(std::uint64_t offset) {
    if (!HasContainer()) {
        Report(StorageEngineErrNoFile);
        return false;
    }
    if (offset > kMax - m_currentOffset) {
        Report(QuibErrAccessFailed);
        return false;
    }
    const std::uint64_t childPosition = m_currentOffset + offset;
    if (OpenChildAt(childPosition) != nullptr) {
        Error().Report(QuibErrChildOpen);
        return false;
    }
    std::uint8_t bytes[kChunkHeaderSize];
    if (childPosition > m_size || m_size - childPosition < m_headerSize ||
        !ReadExact(childPosition, kChunkHeaderSize, bytes)) {
        Report(QuibErrAccessFailed);
        return false;
    }
    const Header header = Header::Parse(bytes);
    if (!header.FitsAt(childPosition, m_size)) {
        Report(QuibErrAccessFailed);
        return false;
    }
    const std::uint64_t childEnd = childPosition + header.m_size;
    for (QuibChunk* open : m_openChildren.ByPosition()) {
        if (open->m_position >= childPosition && open->m_position < childEnd) {
            Error().Report(QuibErrChildOpen);
            return false;
        }
    }
    if (!MoveBytes(childEnd, childPosition, m_size - childEnd)) {
        Report(QuibErrMoveFailed);
        return false;
    }
    if (!Resize(m_size - header.m_size)) {
        Report(QuibErrResizeFailed);
        return false;
    }
    m_openChildren.ShiftAfter(childPosition, header.m_size, false);
    return UpdateHeader();
}

std::uint32_t QuibChunk::FileOffset() const {
    const std::uint32_t above = m_parent != nullptr ? m_parent->FileOffset() : 0;
    return static_cast<std::uint32_t>(m_position) + above;
}

bool QuibChunk::SetSize(std::uint64_t length) {
    if (length > kMax - m_currentOffset || !Resize(m_currentOffset + length)) {
        Report(QuibErrResizeFailed);
        return false;
    }
    return UpdateHeader();
}

std::uint64_t QuibChunk::Remaining() const {
    return m_size > m_currentOffset ? m_size - m_currentOffset : 0;
}

QuibChunk* QuibChunk::Climb(QuibChunk* child, std::uint64_t& offset, std::uint64_t& length) {
    QuibChunk* chunk = this;
    while (true) {
        if (child != nullptr) {
            if (!chunk->m_openChildren.Contains(child)) {
                child->Report(QuibErrNotOpenHere);
                return nullptr;
            }
            if (offset > kMax - child->m_position) {
                chunk->Report(QuibErrBeyondEnd);
                return nullptr;
            }
            offset += child->m_position;
        }
        if (length > kMax - offset) {
            chunk->Report(QuibErrBeyondEnd);
            return nullptr;
        }
        if (offset + length > chunk->m_size) {
            if (offset > chunk->m_size) {
                chunk->Report(QuibErrBeyondEnd);
                return nullptr;
            }
            length = chunk->m_size - offset;
        }
        if (chunk->m_file != nullptr) {
            return chunk;
        }
        if (chunk->m_parent == nullptr) {
            chunk->Report(QuibErrNoFile);
            return nullptr;
        }
        child = chunk;
        chunk = chunk->m_parent;
    }
}

AccessStatus* QuibChunk::Read(QuibChunk* child, std::uint64_t offset, std::uint64_t length, void* buffer) {
    QuibChunk* top = Climb(child, offset, length);
    return top != nullptr ? top->m_file->ReadChunkBytes(top, offset, length, buffer) : nullptr;
}

bool QuibChunk::ReadInto(QuibChunk* child, std::uint64_t offset, std::uint64_t length, void* buffer,
                         AccessStatus& record) {
    QuibChunk* top = Climb(child, offset, length);
    return top != nullptr && top->m_file->ReadChunkBytesInto(top, offset, length, buffer, record);
}

bool QuibChunk::ReleaseComplete(AccessStatus* record, std::uint64_t length) {
    if (record == nullptr) {
        return false;
    }
    const bool complete = Complete(*record, length);
    record->Release();
    return complete;
}

bool QuibChunk::Complete(const AccessStatus& record, std::uint64_t length) {
    return record.m_status == AccessStatus::kDone && record.m_count == length;
}

bool QuibChunk::ReadExact(std::uint64_t offset, std::uint64_t length, void* buffer) {
    AccessStatus record(nullptr, 0, 0, false, nullptr);
    return ReadInto(nullptr, offset, length, buffer, record) && Complete(record, length);
}

bool QuibChunk::Write(QuibChunk* child, std::uint64_t offset, std::uint64_t length, const void* source) {
    if (child != nullptr) {
        if (!m_openChildren.Contains(child)) {
            child->Report(QuibErrNotOpenHere);
            return false;
        }
        if (offset > kMax - child->m_position) {
            Report(QuibErrResizeFailed);
            return false;
        }
        offset += child->m_position;
    }
    if (!HasContainer()) {
        Report(QuibErrNoFile);
        return false;
    }
    if (length > kMax - offset) {
        Report(QuibErrResizeFailed);
        return false;
    }
    if (offset + length > m_size && !Resize(offset + length)) {
        Report(QuibErrResizeFailed);
        return false;
    }
    return WriteOwnBytes(offset, length, source);
}

bool QuibChunk::WriteOwnBytes(std::uint64_t offset, std::uint64_t length, const void* source) {
    if (m_file != nullptr) {
        return m_file->WriteChunkBytes(this, offset, length, source);
    }
    if (m_parent != nullptr) {
        return m_parent->Write(this, offset, length, source);
    }
    Report(QuibErrNoFile);
    return false;
}

bool QuibChunk::ReadThroughContainer(std::uint64_t offset, std::uint64_t length, void* buffer) {
    AccessStatus record(nullptr, 0, 0, false, nullptr);
    bool read = false;
    if (m_file != nullptr) {
        read = m_file->ReadChunkBytesInto(this, offset, length, buffer, record);
    } else if (m_parent != nullptr) {
        read = m_parent->ReadInto(this, offset, length, buffer, record);
    }
    return read && Complete(record, length);
}

bool QuibChunk::MoveBytes(std::uint64_t source, std::uint64_t destination, std::uint64_t count) {
    if (!HasContainer()) {
        Report(StorageEngineErrNoFile);
        return false;
    }
    auto read = [](void* context, std::uint64_t offset, std::uint64_t length, std::uint8_t* buffer) {
        auto* chunk = static_cast<QuibChunk*>(context);
        if (!chunk->ReadThroughContainer(offset, length, buffer)) {
            chunk->Report(StorageEngineErrAccessDenied);
            return false;
        }
        return true;
    };
    auto write = [](void* context, std::uint64_t offset, std::uint64_t length, const std::uint8_t* buffer) {
        return static_cast<QuibChunk*>(context)->WriteOwnBytes(offset, length, buffer);
    };
    return MoveInSteps(source, destination, count, this, read, write);
}

bool QuibChunk::ComputeCrc(std::uint32_t& result) {
    CRC32 crc;
    if (IsDataChunk()) {
        if (m_size > m_headerSize) {
            std::vector<std::uint8_t> buffer(
                static_cast<std::size_t>(std::min(m_size - m_headerSize, kCrcStep)));
            for (std::uint64_t offset = m_headerSize; offset < m_size;) {
                const std::uint64_t step = std::min(m_size - offset, kCrcStep);
                if (!ReadExact(offset, step, buffer.data())) {
                    return false;
                }
                crc.Update(buffer.data(), static_cast<std::size_t>(step));
                offset += step;
            }
        }
    } else {
        for (std::uint64_t position = m_headerSize;
             position <= m_size && m_size - position >= m_headerSize;) {
            std::uint8_t bytes[kChunkHeaderSize];
            if (!ReadExact(position, kChunkHeaderSize, bytes)) {
                return false;
            }
            const Header header = Header::Parse(bytes);
            if (!header.FitsAt(position, m_size)) {
                return false;
            }
            crc.Update(bytes, sizeof bytes);
            position += header.m_size;
        }
    }
    result = crc.Result();
    return true;
}

bool QuibChunk::UpdateHeader() {
    if (!HasContainer()) {
        Report(QuibErrNoFile);
        return false;
    }
    std::uint32_t crc = 0;
    if (!ComputeCrc(crc)) {
        Report(QuibErrAccessFailed);
        return false;
    }
    m_crc = crc;
    if (m_writeable) {
        std::uint8_t size[8];
        std::uint8_t checksum[4];
        Stream sizeStream(size, sizeof size, true);
        sizeStream.WriteU64(m_size);
        Stream crcStream(checksum, sizeof checksum, true);
        crcStream.WriteU32(m_crc);
        if (!WriteOwnBytes(4, sizeof size, size) || !WriteOwnBytes(16, sizeof checksum, checksum)) {
            Report(QuibErrAccessFailed);
            return false;
        }
    }
    return m_parent != nullptr ? m_parent->UpdateHeader() : m_file->UpdateHeader();
}

} // namespace Vemo
