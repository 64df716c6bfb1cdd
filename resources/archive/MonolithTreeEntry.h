// One record of a Monolith tree: a directory or a file, with its attributes, its name and the total size of
// its chunk. Records are stored in the tree chunk in the byte order the archive's descriptor names; a name is
// one 16-bit unit per character (only its low byte counts) and a 0 unit.
#pragma once

#include "foundation/String.h"
#include "resources/archive/MonolithStorageEngine.h"

#include <cstdint>

namespace Vemo {

class Stream;

class MonolithStorageEngine::MonolithTreeEntry {
public:
    static constexpr std::uint16_t kDirectoryTag = 1;
    static constexpr std::uint16_t kFileTag = 2;

    static constexpr std::uint32_t kReadable = 1u << 0;
    static constexpr std::uint32_t kWriteable = 1u << 1;
    static constexpr std::uint32_t kDeletable = 1u << 2;
    static constexpr std::uint32_t kArchive = 1u << 3;
    static constexpr std::uint32_t kHidden = 1u << 4;
    // What every entry the engine makes gets.
    static constexpr std::uint32_t kNewEntryAttributes = kReadable | kWriteable | kDeletable;

    MonolithTreeEntry(MonolithTreeChunk* treeChunk, MonolithTreeDirectory* parent);
    MonolithTreeEntry(const MonolithTreeEntry&) = delete;
    MonolithTreeEntry& operator=(const MonolithTreeEntry&) = delete;

    // Attributes, name and chunk size (the tag has been read by the caller). A field cut off by the end of
    // the stream reads as 0 and a name ends there.
    virtual bool Read(Stream& stream);
    // Attributes, name and chunk size, without the tag.
    virtual bool Write(Stream& stream);
    // The record's length as written, tag included.
    virtual std::uint64_t RecordSize() const;
    // Stores the whole tree that holds this entry.
    virtual bool Commit();
    virtual ~MonolithTreeEntry();

    std::uint32_t Attributes() const { return m_attributes; }
    void SetAttributes(std::uint32_t attributes) { m_attributes = attributes; }
    const String& Name() const { return m_name; }
    void SetName(const String& name) { m_name = name; }
    std::uint64_t ChunkSize() const { return m_chunkSize; }
    void SetChunkSize(std::uint64_t size) { m_chunkSize = size; }
    MonolithTreeChunk* TreeChunk() const { return m_treeChunk; }
    MonolithTreeDirectory* Parent() const { return m_parent; }

protected:
    std::uint32_t m_attributes = 0;
    String m_name;
    std::uint64_t m_chunkSize = 0;
    MonolithTreeChunk* m_treeChunk;
    MonolithTreeDirectory* m_parent;
};

} // namespace Vemo
