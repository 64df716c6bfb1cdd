// A file's record in a Monolith tree: the entry fields and three time stamps, which the engine carries into a
// listing unchanged and never sets itself (a file it creates stores 0 in all three). The file's content
// length is its chunk size less the chunk header.
#pragma once

#include "resources/archive/MonolithTreeEntry.h"

#include <cstdint>

namespace Vemo {

class MonolithStorageEngine::MonolithTreeFile : public MonolithTreeEntry {
public:
    MonolithTreeFile(MonolithTreeChunk* treeChunk, MonolithTreeDirectory* parent);

    bool Read(Stream& stream) override;
    // Tag 2, the entry fields, the three times.
    bool Write(Stream& stream) override;
    std::uint64_t RecordSize() const override;
    ~MonolithTreeFile() override;
    // Chunk size - 20 (0 for a damaged record whose chunk size is smaller).
    virtual std::uint64_t ContentSize() const;
    // Chunk size = length + 20, the ancestors' sizes recomputed, the tree stored. A file without a parent
    // only takes the new size and answers false.
    virtual bool SetContentSize(std::uint64_t length);

    std::uint64_t Time(int index) const { return m_times[index]; }
    void SetTime(int index, std::uint64_t time) { m_times[index] = time; }

private:
    std::uint64_t m_times[3] = {};
};

} // namespace Vemo
