#include "resources/archive/QuibFile.h"

#include "foundation/BasicList.h"
#include "resources/archive/CRC32.h"
#include "resources/archive/Stream.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/FileHandle.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <vector>

namespace Vemo {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
constexpr char kMagic[4] = {'Q', 'U', 'I', 'B'};

bool EndsInQuibExtension(const String& name, bool ignoreCase) {
    const char* extension = ".qib";
    if (name.Length() < 4) {
        return false;
    }
    const char* tail = name.CStr() + name.Length() - 4;
    for (int i = 0; i < 4; ++i) {
        const char c =
            ignoreCase ? static_cast<char>(std::tolower(static_cast<unsigned char>(tail[i]))) : tail[i];
        if (c != extension[i]) {
            return false;
        }
    }
    return true;
}

// The part from the last full stop must be exactly ".qib"; anything else gets the extension appended.
String WithQuibExtension(const String& name) {
    String result = name;
    const std::uint32_t stop = name.FindLastOf(".", String::kNotFound, 1);
    if (stop == String::kNotFound || name.Length() - stop != 4 || !EndsInQuibExtension(name, false)) {
        result.Append(".qib");
    }
    return result;
}

void DeleteEntries(BasicList<Descriptor*>& entries) {
    for (Descriptor* entry : entries) {
        delete entry;
    }
    entries.Clear();
}

} // namespace

using QuibFile = QuibStorageEngine::QuibFile;
using QuibChunk = QuibStorageEngine::QuibChunk;

QuibFile::QuibFile() = default;

QuibFile::~QuibFile() {
    delete m_file;
    m_file = nullptr;
    for (QuibChunk* chunk : m_boundChunks) {
        chunk->m_file = nullptr;
    }
    m_boundChunks.Clear();
    m_openChunks.Clear();
}

std::uint64_t QuibFile::Length() const {
    return m_file != nullptr ? m_file->Size() : 0;
}

String QuibFile::PathText() const {
    if (m_file == nullptr) {
        return String();
    }
    const String* path = m_file->PathText(true, false);
    return path != nullptr ? *path : String();
}

bool QuibFile::ReportNoFile() const {
    Error().Report(QuibErrNoFile);
    return false;
}

void QuibFile::Unbind() {
    delete m_file;
    m_file = nullptr;
    m_lengthSeen = 0;
}

bool QuibFile::Open(Directory& directory, const String& name, bool create) {
    if (m_file != nullptr) {
        Error().Report(QuibErrAlreadyBound, PathText());
        return false;
    }
    const String fileName = WithQuibExtension(name);
    m_file = new Vemo::File;

    BasicList<Descriptor*> entries;
    directory.EntryAt(fileName, entries);
    const bool exists = !entries.Empty();
    const bool entryWriteable = exists && entries.Front()->m_flags.m_writeable != 0;
    DeleteEntries(entries);
    if (!exists && !create) {
        Error().Report(StorageEngineErrNotFound, fileName);
        Unbind();
        return false;
    }
    const AccessStyle style(true, exists ? entryWriteable : true, true, false);
    if (!m_file->Open(&fileName, directory, &style, !exists)) {
        Error().Report(QuibErrOpenFailed, fileName);
        Unbind();
        return false;
    }
    if (m_file->Size() == 0) {
        if (!create || !WriteHeader(kVersion)) {
            Error().Report(QuibErrBadHeader, PathText());
            Unbind();
            return false;
        }
        return true;
    }
    if (!ReadHeader()) {
        Unbind();
        return false;
    }
    return true;
}

// The second File gets its own handle on the file the caller holds: readable, and writeable (tolerating the
// caller's writes) when the caller's handle was opened for writing. The file's own writeable flag alone would
// ask for writing on every file that is not read-only, which the caller's handle, opened for reading,
// refuses.
bool QuibFile::Attach(Vemo::File& file) {
    if (m_file != nullptr) {
        Error().Report(QuibErrAlreadyBound, PathText());
        return false;
    }
    const String* ownName = file.PathText(false, false);
    if (ownName == nullptr || !EndsInQuibExtension(*ownName, true)) {
        const String* path = file.PathText(true, false);
        Error().Report(QuibErrBadHeader, path != nullptr ? *path : String());
        return false;
    }
    const AccessStyle* given =
        file.GetFileHandle() != nullptr ? file.GetFileHandle()->GetAccessStyle() : nullptr;
    const bool writeable = given != nullptr && given->m_write != 0 && file.IsWriteable();
    const AccessStyle style(true, writeable, true, writeable);
    m_file = new Vemo::File;
    if (!m_file->Open(file, &style)) {
        const String* path = file.PathText(true, false);
        Error().Report(QuibErrOpenFailed, path != nullptr ? *path : String());
        Unbind();
        return false;
    }
    if (!ReadHeader()) {
        Unbind();
        return false;
    }
    return true;
}

bool QuibFile::ReadHeader() {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    std::uint8_t bytes[kFileHeaderSize];
    bool valid = ReadExact(0, m_headerSize, bytes);
    char magic[4] = {};
    std::uint64_t size = 0;
    std::uint16_t version = 0;
    std::uint32_t crc = 0;
    if (valid) {
        Stream stream(bytes, sizeof bytes, true);
        stream.ReadBytes(magic, sizeof magic);
        stream.ReadU64(size);
        stream.ReadU16(version);
        stream.ReadU32(crc);
        valid = std::memcmp(magic, kMagic, sizeof magic) == 0 && size == Length() && version == kVersion;
    }
    if (!valid) {
        Error().Report(QuibErrBadHeader, PathText());
        return false;
    }
    m_version = version;
    m_headerCrc = crc;
    return true;
}

bool QuibFile::WriteHeader(std::uint16_t version) {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    if (!SetLength(0)) {
        return false;
    }
    std::uint8_t bytes[kFileHeaderSize];
    std::memcpy(bytes, kMagic, sizeof kMagic);
    Stream stream(bytes + sizeof kMagic, sizeof bytes - sizeof kMagic, true);
    stream.WriteU64(m_headerSize);
    stream.WriteU16(version);
    stream.WriteU32(0);
    if (!WriteChunkBytes(nullptr, 0, sizeof bytes, bytes)) {
        return false;
    }
    m_version = version;
    m_headerCrc = 0;
    return true;
}

bool QuibFile::UpdateHeader() {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    const std::uint64_t length = Length();
    CRC32 crc;
    bool walked = true;
    for (std::uint64_t position = m_headerSize; position < length;) {
        std::uint8_t bytes[kChunkHeaderSize];
        if (length - position < m_chunkHeaderSize || !ReadExact(position, m_chunkHeaderSize, bytes) ||
            !Header::Parse(bytes).FitsAt(position, length)) {
            Error().Report(QuibErrAccessFailed);
            walked = false;
            break;
        }
        crc.Update(bytes, sizeof bytes);
        position += Header::Parse(bytes).m_size;
    }
    m_headerCrc = crc.Result();
    if (Writeable()) {
        std::uint8_t size[8];
        std::uint8_t checksum[4];
        Stream sizeStream(size, sizeof size, true);
        sizeStream.WriteU64(length);
        Stream crcStream(checksum, sizeof checksum, true);
        crcStream.WriteU32(m_headerCrc);
        if (!WriteChunkBytes(nullptr, 4, sizeof size, size) ||
            !WriteChunkBytes(nullptr, 14, sizeof checksum, checksum)) {
            return false;
        }
    }
    return walked;
}

// A file that could be written but was opened only for reading is read-only here: every header update would
// fail otherwise.
bool QuibFile::Writeable() {
    if (m_file == nullptr) {
        Error().Report(StorageEngineErrNoFile, String("QuibFile::Writeable"));
        return false;
    }
    FileHandle* handle = m_file->GetFileHandle();
    return m_file->IsWriteable() && handle != nullptr && handle->GetAccessStyle()->m_write != 0;
}

bool QuibFile::Readable() {
    if (m_file == nullptr) {
        Error().Report(StorageEngineErrNoFile, String("QuibFile::Readable"));
        return false;
    }
    return m_file->IsReadable();
}

bool QuibFile::IsOpenHere(QuibChunk* chunk) const {
    return chunk != nullptr && m_openChunks.Contains(chunk);
}

bool QuibFile::FindChunk(QuibChunk* chunk, QuibChunk* after, std::uint64_t start) {
    return Search(chunk, after, start) == SearchResult::kFound;
}

QuibChunk::SearchResult QuibFile::Search(QuibChunk* chunk, QuibChunk* after, std::uint64_t start) {
    if (m_file == nullptr) {
        ReportNoFile();
        return SearchResult::kFailed;
    }
    if (chunk == nullptr || chunk->m_file != this) {
        if (chunk != nullptr) {
            chunk->Report(QuibErrNotOpenHere);
        }
        return SearchResult::kFailed;
    }
    std::uint64_t position = m_headerSize;
    const SearchResult started = m_openChunks.SearchStart(after, start, position);
    if (started != SearchResult::kFound) {
        return started;
    }
    const std::uint64_t length = Length();
    while (position <= length && length - position >= m_chunkHeaderSize) {
        std::uint8_t bytes[kChunkHeaderSize];
        if (!ReadExact(position, m_chunkHeaderSize, bytes)) {
            chunk->Report(QuibErrAccessFailed);
            return SearchResult::kFailed;
        }
        const Header header = Header::Parse(bytes);
        if (!header.FitsAt(position, length)) {
            chunk->Report(QuibErrAccessFailed);
            return SearchResult::kFailed;
        }
        if (chunk->m_ident.Matches(header.m_family, header.m_type)) {
            if (!m_openChunks.Locate(chunk, position, header)) {
                return SearchResult::kFailed;
            }
            return chunk->Load(m_chunkHeaderSize) ? SearchResult::kFound : SearchResult::kFailed;
        }
        position += header.m_size;
    }
    return SearchResult::kNotFound;
}

bool QuibFile::AppendChunk(QuibChunk* chunk) {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    if (chunk == nullptr || chunk->m_file != this) {
        if (chunk != nullptr) {
            chunk->Report(QuibErrNotOpenHere);
        }
        return false;
    }
    const std::uint64_t length = Length();
    Header header;
    header.m_family = chunk->m_ident.m_family;
    header.m_type = chunk->m_ident.m_type;
    header.m_size = m_chunkHeaderSize;
    header.m_flags = chunk->m_flags;
    std::uint8_t bytes[kChunkHeaderSize];
    header.Build(bytes);
    if (!WriteChunkBytes(nullptr, length, sizeof bytes, bytes)) {
        return false;
    }
    m_openChunks.Remove(chunk);
    chunk->m_position = length;
    chunk->m_size = m_chunkHeaderSize;
    chunk->m_crc = 0;
    const bool updated = UpdateHeader();
    m_openChunks.Insert(chunk);
    return updated && chunk->Load(m_chunkHeaderSize);
}

bool QuibFile::SetLength(std::uint64_t length) {
    m_lengthSeen = 0;
    if (!m_file->SetSize(length)) {
        Error().Report(StorageEngineErrAccessDenied, PathText());
        return false;
    }
    return true;
}

bool QuibFile::ResizeChunk(QuibChunk* chunk, std::uint64_t newSize) {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    if (!IsOpenHere(chunk)) {
        if (chunk != nullptr) {
            chunk->Report(QuibErrNotOpenHere);
        }
        return false;
    }
    const std::uint64_t length = Length();
    Header current;
    current.m_size = chunk->m_size;
    if (newSize < m_chunkHeaderSize || !current.FitsAt(chunk->m_position, length)) {
        chunk->Report(QuibErrResizeFailed);
        return false;
    }
    const std::uint64_t end = chunk->m_position + chunk->m_size;
    if (newSize > chunk->m_size) {
        const std::uint64_t delta = newSize - chunk->m_size;
        if (delta > kMax - length || !SetLength(length + delta)) {
            chunk->Report(QuibErrResizeFailed);
            return false;
        }
        if (!MoveBytes(end, end + delta, length - end)) {
            chunk->Report(QuibErrMoveFailed);
            return false;
        }
        chunk->m_size = newSize;
        m_openChunks.ShiftAfter(chunk->m_position, delta, true);
    } else if (newSize < chunk->m_size) {
        const std::uint64_t delta = chunk->m_size - newSize;
        if (!MoveBytes(end, end - delta, length - end)) {
            chunk->Report(QuibErrMoveFailed);
            return false;
        }
        if (!SetLength(length - delta)) {
            chunk->Report(QuibErrResizeFailed);
            return false;
        }
        chunk->m_size = newSize;
        m_openChunks.ShiftAfter(chunk->m_position, delta, false);
    }
    return true;
}

bool QuibFile::ReadPosition(QuibChunk* chunk, std::uint64_t offset, std::uint64_t length,
                            std::uint64_t& position) {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    position = offset;
    if (chunk != nullptr) {
        if (!IsOpenHere(chunk)) {
            chunk->Report(QuibErrNotOpenHere);
            return false;
        }
        if (offset > kMax - chunk->m_position) {
            return false;
        }
        position += chunk->m_position;
    }
    // Asking the file for its length costs a system call, as much as a small read: it is asked only when the
    // range is empty or passes the length seen last. A file that shrank behind this one's back shows itself
    // by a short read, which ReadPassedEnd judges against the length it has then.
    if (length == 0 || !WithinLength(position, length, m_lengthSeen)) {
        m_lengthSeen = Length();
        return WithinLength(position, length, m_lengthSeen);
    }
    return true;
}

bool QuibFile::ReadPassedEnd(std::uint64_t position, std::uint64_t length, std::uint64_t count) {
    if (count >= length) {
        return false;
    }
    m_lengthSeen = Length();
    return !WithinLength(position, length, m_lengthSeen);
}

AccessStatus* QuibFile::ReadChunkBytes(QuibChunk* chunk, std::uint64_t offset, std::uint64_t length,
                                       void* buffer) {
    std::uint64_t position = 0;
    if (!ReadPosition(chunk, offset, length, position)) {
        return nullptr;
    }
    AccessStatus* record = m_file->ReadAt(position, length, buffer);
    if (record != nullptr && ReadPassedEnd(position, length, record->m_count)) {
        record->Release();
        return nullptr;
    }
    return record;
}

bool QuibFile::ReadChunkBytesInto(QuibChunk* chunk, std::uint64_t offset, std::uint64_t length, void* buffer,
                                  AccessStatus& record) {
    std::uint64_t position = 0;
    return ReadPosition(chunk, offset, length, position) &&
           m_file->ReadInto(position, length, buffer, record) &&
           !ReadPassedEnd(position, length, record.m_count);
}

bool QuibFile::WriteChunkBytes(QuibChunk* chunk, std::uint64_t offset, std::uint64_t length,
                               const void* bytes) {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    std::uint64_t position = offset;
    if (chunk != nullptr) {
        if (!IsOpenHere(chunk)) {
            chunk->Report(QuibErrNotOpenHere);
            return false;
        }
        if (offset > kMax - chunk->m_position) {
            Error().Report(StorageEngineErrAccessDenied, PathText());
            return false;
        }
        position += chunk->m_position;
    }
    const bool written = QuibChunk::ReleaseComplete(m_file->WriteAt(position, length, bytes), length);
    if (!written) {
        Error().Report(StorageEngineErrAccessDenied, PathText());
    }
    return written;
}

bool QuibFile::ReadExact(std::uint64_t position, std::uint64_t length, void* buffer) {
    AccessStatus record(nullptr, 0, 0, false, nullptr);
    return ReadChunkBytesInto(nullptr, position, length, buffer, record) &&
           QuibChunk::Complete(record, length);
}

bool QuibFile::MoveBytes(std::uint64_t source, std::uint64_t destination, std::uint64_t count) {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    auto read = [](void* context, std::uint64_t offset, std::uint64_t length, std::uint8_t* buffer) {
        auto* file = static_cast<QuibFile*>(context);
        if (!file->ReadExact(offset, length, buffer)) {
            Error().Report(StorageEngineErrAccessDenied, file->PathText());
            return false;
        }
        return true;
    };
    auto write = [](void* context, std::uint64_t offset, std::uint64_t length, const std::uint8_t* buffer) {
        return static_cast<QuibFile*>(context)->WriteChunkBytes(nullptr, offset, length, buffer);
    };
    return MoveInSteps(source, destination, count, this, read, write);
}

bool QuibFile::Verify() {
    if (m_file == nullptr) {
        return ReportNoFile();
    }
    const std::uint64_t length = Length();
    // Compared with what the file holds, not with the last value computed here, which a read-only file never
    // wrote.
    std::uint8_t stored[4];
    if (!ReadExact(14, sizeof stored, stored)) {
        Error().Report(StorageEngineErrReadFailed, PathText());
        return false;
    }
    CRC32 crc;
    std::uint64_t position = m_headerSize;
    while (position <= length && length - position >= m_chunkHeaderSize) {
        std::uint8_t bytes[kChunkHeaderSize];
        if (!ReadExact(position, m_chunkHeaderSize, bytes)) {
            Error().Report(StorageEngineErrReadFailed, PathText());
            return false;
        }
        const Header header = Header::Parse(bytes);
        if (!header.FitsAt(position, length)) {
            Error().Report(QuibErrBadLayout);
            return false;
        }
        crc.Update(bytes, sizeof bytes);
        if (!VerifyChunk(position, header, 0)) {
            return false;
        }
        position += header.m_size;
    }
    if (position != length) {
        Error().Report(QuibErrBadLayout);
        return false;
    }
    Stream stream(stored, sizeof stored, true);
    std::uint32_t storedCrc = 0;
    stream.ReadU32(storedCrc);
    if (crc.Result() != storedCrc) {
        Error().Report(QuibErrCrcMismatch);
        return false;
    }
    return true;
}

bool QuibFile::VerifyChunk(std::uint64_t position, const Header& header, std::uint32_t depth) {
    if ((header.m_flags & kDataChunk) != 0) {
        return VerifyData(position, header);
    }
    return VerifyChildren(position, header, depth + 1);
}

bool QuibFile::VerifyData(std::uint64_t position, const Header& header) {
    CRC32 crc;
    const std::uint64_t dataSize = header.m_size - m_chunkHeaderSize;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(dataSize, kCrcStep)));
    for (std::uint64_t done = 0; done < dataSize;) {
        const std::uint64_t step = std::min(dataSize - done, kCrcStep);
        if (!ReadExact(position + m_chunkHeaderSize + done, step, buffer.data())) {
            Error().Report(StorageEngineErrAccessDenied, PathText());
            return false;
        }
        crc.Update(buffer.data(), static_cast<std::size_t>(step));
        done += step;
    }
    if (crc.Result() != header.m_crc) {
        Error().Report(QuibErrCrcMismatch);
        return false;
    }
    return true;
}

bool QuibFile::VerifyChildren(std::uint64_t position, const Header& header, std::uint32_t depth) {
    if (depth > kMaxContainerDepth) {
        Error().Report(QuibErrBadLayout);
        return false;
    }
    const std::uint64_t end = position + header.m_size;
    CRC32 crc;
    for (std::uint64_t child = position + m_chunkHeaderSize; child < end;) {
        std::uint8_t bytes[kChunkHeaderSize];
        if (!ReadExact(child, m_chunkHeaderSize, bytes)) {
            Error().Report(StorageEngineErrAccessDenied, PathText());
            return false;
        }
        const Header childHeader = Header::Parse(bytes);
        if (!childHeader.FitsAt(child, end)) {
            Error().Report(QuibErrBadLayout);
            return false;
        }
        crc.Update(bytes, sizeof bytes);
        if (!VerifyChunk(child, childHeader, depth)) {
            return false;
        }
        child += childHeader.m_size;
    }
    if (crc.Result() != header.m_crc) {
        Error().Report(QuibErrCrcMismatch);
        return false;
    }
    return true;
}

} // namespace Vemo
