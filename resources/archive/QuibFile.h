// One bound ".qib" file: its header, the top-level chunks open in it, and every byte access of its chunks,
// which all end here as reads and writes of the Vemo::File it owns.
//
// A QuibFile is made empty, bound once by Open or Attach, and deleted, which closes the file and detaches the
// chunks still open in it (they stay alive and answer Quib code 4 from then on).
#pragma once

#include "foundation/BasicSet.h"
#include "foundation/Less.h"
#include "resources/archive/QuibChunk.h"
#include "resources/archive/QuibStorageEngine.h"

#include <cstdint>

namespace Vemo {

class AccessStatus;
class Directory;
class File;

class QuibStorageEngine::QuibFile {
public:
    QuibFile();
    QuibFile(const QuibFile&) = delete;
    QuibFile& operator=(const QuibFile&) = delete;
    virtual ~QuibFile();

    // Opens or creates the named file in the directory; ".qib" is appended unless the name already ends in it
    // (exactly, case included). A new or empty file gets a fresh header when create is set.
    bool Open(Directory& directory, const String& name, bool create);
    // Binds a second File opened from the given one (whose name must end in ".qib", in any case) and reads
    // its header; never creates.
    bool Attach(File& file);
    // Reads and checks the 18-byte header: magic, a size equal to the file's length, version 1. Quib code 3.
    bool ReadHeader();
    // Truncates the file and writes a fresh header.
    bool WriteHeader(std::uint16_t version);
    // Recomputes the CRC of the top-level headers and writes it with the file's length. A walk that meets a
    // damaged header ends there; size and CRC are still written and the update fails.
    bool UpdateHeader();
    // Storage Engine code 34 and false without a bound file.
    bool Writeable();
    bool Readable();
    bool FindChunk(QuibChunk* chunk, QuibChunk* after, std::uint64_t start);
    // Writes an empty chunk at the end of the file, updates the header, lists and loads the chunk.
    bool AppendChunk(QuibChunk* chunk);
    bool ResizeChunk(QuibChunk* chunk, std::uint64_t newSize);
    // Reads at chunk position + offset (a file offset when chunk is null). A range past the end of the file
    // gives null without a report.
    AccessStatus* ReadChunkBytes(QuibChunk* chunk, std::uint64_t offset, std::uint64_t length, void* buffer);
    // ReadChunkBytes into the caller's buffer (not null) and record, which nobody hands back; false where
    // ReadChunkBytes gives null.
    bool ReadChunkBytesInto(QuibChunk* chunk, std::uint64_t offset, std::uint64_t length, void* buffer,
                            AccessStatus& record);
    bool WriteChunkBytes(QuibChunk* chunk, std::uint64_t offset, std::uint64_t length, const void* bytes);
    bool MoveBytes(std::uint64_t source, std::uint64_t destination, std::uint64_t count);
    // Walks every chunk and checks the layout (code 19) and every CRC (code 20).
    bool Verify();

    Vemo::File* GetFile() const { return m_file; }
    std::uint16_t Version() const { return m_version; }
    std::uint32_t HeaderCrc() const { return m_headerCrc; }
    // The bound file's length; 0 without one.
    std::uint64_t Length() const;
    // The bound file's full path text, or an empty text.
    String PathText() const;

private:
    friend class QuibChunk;
    using SearchResult = QuibChunk::SearchResult;
    using Header = QuibChunk::Header;

    bool IsOpenHere(QuibChunk* chunk) const;
    SearchResult Search(QuibChunk* chunk, QuibChunk* after, std::uint64_t start);
    bool ReadExact(std::uint64_t position, std::uint64_t length, void* buffer);
    bool SetLength(std::uint64_t length);
    void Unbind();
    // Verification of one chunk whose header has been read; depth counts the containers above it.
    bool VerifyChunk(std::uint64_t position, const Header& header, std::uint32_t depth);
    bool VerifyData(std::uint64_t position, const Header& header);
    bool VerifyChildren(std::uint64_t position, const Header& header, std::uint32_t depth);
    bool ReportNoFile() const;
    // The file position of a read of ReadChunkBytes, after its checks; false for a range past the end.
    bool ReadPosition(QuibChunk* chunk, std::uint64_t offset, std::uint64_t length, std::uint64_t& position);
    // Whether a read that brought only count of its length bytes did so because the range passes the end of
    // the file as it is now.
    bool ReadPassedEnd(std::uint64_t position, std::uint64_t length, std::uint64_t count);
    static bool WithinLength(std::uint64_t position, std::uint64_t length, std::uint64_t fileLength) {
        return position <= fileLength && length <= fileLength - position;
    }

    std::uint32_t m_headerSize = kFileHeaderSize;
    std::uint32_t m_chunkHeaderSize = kChunkHeaderSize;
    std::uint16_t m_version = 0;
    std::uint32_t m_headerCrc = 0;
    Vemo::File* m_file = nullptr;
    // The bound file's length when last asked; it may have changed since (see ReadPosition).
    std::uint64_t m_lengthSeen = 0;
    // Every chunk object made on this file, located or not, so that none is left pointing here once the file
    // is gone.
    QuibChunk::IdentitySet m_boundChunks;
    QuibChunk::OpenChunks m_openChunks;
};

} // namespace Vemo
