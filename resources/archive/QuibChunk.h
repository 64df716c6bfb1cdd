// One open chunk of a ".qib" file. It finds, creates, grows, shrinks, reads, writes and checksums itself and
// its children, always through its container: a top-level chunk through its QuibFile, a child through its
// parent chunk, so every access climbs to the file adding each position on the way.
//
// A chunk object is made unlocated (position all ones, size 0) with the ident it wants (0 halves are
// wildcards) and is located by Open, Create or a search of its container, which then lists it in two sets: by
// identity and by position. Positions within one container are unique. Every open child that lies after a
// chunk that grows or shrinks has its position moved with it. Destroying a chunk leaves its container's sets
// and detaches its open children, which keep their last position and size but can no longer reach the disk.
//
// Writes do not refresh the size and CRC fields on disk: UpdateHeader (or SetSize) does, for the chunk and
// every ancestor up to the file header.
#pragma once

#include "foundation/BasicSet.h"
#include "foundation/Less.h"
#include "resources/archive/QuibStorageEngine.h"

#include <cstdint>

namespace Vemo {

class AccessStatus;

class QuibStorageEngine::QuibChunk {
public:
    using IdentitySet = BasicSet<QuibChunk*, Less<QuibChunk*>>;
    using PositionSet = BasicSet<QuibChunk*, PositionLess>;

    // The fields of a 20-byte chunk header.
    struct Header {
        std::uint16_t m_family = 0;
        std::uint16_t m_type = 0;
        std::uint64_t m_size = 0;
        std::uint32_t m_flags = 0;
        std::uint32_t m_crc = 0;

        static Header Parse(const std::uint8_t* bytes);
        void Build(std::uint8_t* bytes) const;
        // Whether a chunk of this size at position lies wholly inside a container (or file) of the given end:
        // at least a header long and not past the end, computed without overflow.
        bool FitsAt(std::uint64_t position, std::uint64_t end) const;
    };

    enum class SearchResult { kFound, kNotFound, kFailed };

    // The chunks located in one container, a file or a chunk, listed by identity and by position.
    class OpenChunks {
    public:
        bool Contains(QuibChunk* chunk) const;
        // The open chunk whose header is at that position, or null.
        QuibChunk* At(std::uint64_t position) const;
        // Gives the chunk a found or appended place and the header's fields and lists it; false when another
        // open chunk has that position (code 18).
        bool Locate(QuibChunk* chunk, std::uint64_t position, const Header& header);
        void Insert(QuibChunk* chunk);
        void Remove(QuibChunk* chunk);
        // Moves every chunk that lies after position by amount, up or down.
        void ShiftAfter(std::uint64_t position, std::uint64_t amount, bool up);
        // Where a search goes on from position, the container's first offset: just past the open chunk after
        // (kFailed, reported, when it is not open here), else start bytes on when start is not all ones.
        // kNotFound when that lies beyond the last offset; kFound otherwise.
        SearchResult SearchStart(QuibChunk* after, std::uint64_t start, std::uint64_t& position) const;
        void Clear();
        const PositionSet& ByPosition() const { return m_byPosition; }

    private:
        IdentitySet m_byId;
        PositionSet m_byPosition;
    };

    // A top-level chunk of the file; its writeable flag is the file's. No disk access.
    QuibChunk(QuibFile* file, const QuibChunkIdent& ident, std::uint32_t flags);
    // A child of the parent chunk, writeable when the parent is. No disk access.
    QuibChunk(QuibChunk* parent, const QuibChunkIdent& ident, std::uint32_t flags);
    QuibChunk(const QuibChunk&) = delete;
    QuibChunk& operator=(const QuibChunk&) = delete;

    // Appends this chunk, empty, to its file or parent. Quib code 6 when a half of the ident is 0, the append
    // fails, or there is neither file nor parent.
    virtual bool Create();
    // Finds the chunk by its ident in its file or parent (after the chunk given, or from the start offset
    // when it is not all ones); creates it when it is missing and create is set (code 8 when not). A search
    // that meets a damaged header fails and creates nothing.
    virtual bool Open(bool create, QuibChunk* after, std::uint64_t start);
    // Always false.
    virtual bool StateFlag() const;
    // Called once the chunk is located, with the offset of its first data byte; the base makes that the
    // current offset. Subclasses read their payload here.
    virtual bool Load(std::uint64_t dataOffset);
    // Searches this container's children for the child's ident; false when it is not found or the search
    // failed.
    virtual bool FindChild(QuibChunk* child, QuibChunk* after, std::uint64_t start);
    // Appends an empty child at the end of this container (code 9 when this chunk has flags).
    virtual bool AppendChild(QuibChunk* child);
    // Resizes an open child in place, moving the bytes after it; the caller updates the headers.
    virtual bool ResizeChild(QuibChunk* child, std::uint64_t newSize);
    // Deletes the child whose header is at current offset + offset, with its bytes. Code 18 when an open
    // child is there.
    virtual bool RemoveChildAt(std::uint64_t offset);
    // The chunk's offset in the file, cut to 32 bits.
    virtual std::uint32_t FileOffset() const;
    // Makes the total size current offset + length, then updates the headers.
    virtual bool SetSize(std::uint64_t length);
    // Size - current offset.
    virtual std::uint64_t Remaining() const;
    // Writes into this chunk, or into an open child when one is given (offset counted from the child's first
    // byte), first growing the chunk when the range passes its end.
    virtual bool Write(QuibChunk* child, std::uint64_t offset, std::uint64_t length, const void* source);
    // Detaches from the container and from the children; no disk access.
    virtual ~QuibChunk();

    // Reads this chunk's bytes, or an open child's; a range past the end is cut to the end, a start past it
    // is Quib code 15. The record comes from the archive's file: hand it back with its Release. A null buffer
    // makes the file allocate one.
    AccessStatus* Read(QuibChunk* child, std::uint64_t offset, std::uint64_t length, void* buffer);
    // Read into the caller's buffer (not null) and record, which nobody hands back, so that nothing is
    // allocated; false where Read gives null.
    bool ReadInto(QuibChunk* child, std::uint64_t offset, std::uint64_t length, void* buffer,
                  AccessStatus& record);
    // Recomputes the CRC, writes size and CRC into the header (when writeable), then updates the container's.
    bool UpdateHeader();
    // Moves bytes inside this chunk, in steps, through the container.
    bool MoveBytes(std::uint64_t source, std::uint64_t destination, std::uint64_t count);

    // The open child whose header is at that position, or null.
    QuibChunk* OpenChildAt(std::uint64_t position) const;

    std::uint64_t Position() const { return m_position; }
    std::uint64_t Size() const { return m_size; }
    std::uint32_t Flags() const { return m_flags; }
    std::uint32_t Crc() const { return m_crc; }
    const QuibChunkIdent& Ident() const { return m_ident; }
    std::uint64_t CurrentOffset() const { return m_currentOffset; }
    bool IsWriteable() const { return m_writeable; }
    QuibChunk* Parent() const { return m_parent; }
    QuibFile* GetFile() const { return m_file; }
    bool IsDataChunk() const { return (m_flags & kDataChunk) != 0; }

    // Reads exactly length bytes of this chunk into buffer; false on any shortfall (reported only where Read
    // reports).
    bool ReadExact(std::uint64_t offset, std::uint64_t length, void* buffer);

protected:
    void SetCurrentOffset(std::uint64_t offset) { m_currentOffset = offset; }
    // The chunk's new total size, through its parent or its file; no header is written.
    bool Resize(std::uint64_t newSize);

private:
    friend class QuibFile;

    bool HasContainer() const { return m_file != nullptr || m_parent != nullptr; }
    SearchResult SearchChild(QuibChunk* child, QuibChunk* after, std::uint64_t start);
    SearchResult Search(QuibChunk* after, std::uint64_t start);
    bool ComputeCrc(std::uint32_t& crc);
    bool WriteOwnBytes(std::uint64_t offset, std::uint64_t length, const void* source);
    bool ReadThroughContainer(std::uint64_t offset, std::uint64_t length, void* buffer);
    void Report(ErrorCode code) const;
    // Whether the record, when there is one, tells that all length bytes were moved; hands it back.
    static bool ReleaseComplete(AccessStatus* record, std::uint64_t length);
    // Whether the record tells that all length bytes were moved.
    static bool Complete(const AccessStatus& record, std::uint64_t length);
    // The checks of a read on its way up, container by container (codes 10, 15 and 4, reported), the length
    // cut to each container's end, and the top-level chunk whose file the read reaches, with offset made
    // that chunk's. Null when a check failed.
    QuibChunk* Climb(QuibChunk* child, std::uint64_t& offset, std::uint64_t& length);

    std::uint32_t m_headerSize = kChunkHeaderSize;
    QuibFile* m_file = nullptr;
    QuibChunk* m_parent = nullptr;
    // Every chunk object made as a child of this one, located or not, so that none is left pointing here
    // once this chunk is gone.
    IdentitySet m_boundChildren;
    OpenChunks m_openChildren;
    bool m_stateFlag = false;
    std::uint64_t m_position = kNoOffset;
    bool m_writeable = false;
    QuibChunkIdent m_ident;
    std::uint64_t m_size = 0;
    std::uint32_t m_flags;
    std::uint32_t m_crc = 0;
    std::uint64_t m_currentOffset = 0;
    // The open chunks of the container that lists this chunk, or null: every read climbs through this
    // membership, which the identity set would answer only by a search.
    const OpenChunks* m_listedIn = nullptr;
};

} // namespace Vemo
