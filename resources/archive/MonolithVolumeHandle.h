// One open Monolith archive. It owns the archive's QuibFile and its top chunk, which owns the descriptor, the
// tree chunk and so the tree; every directory and file handle of the archive must be gone before it. Volume
// operations that mean nothing for an archive (locks, media, space, labels, serials) are not supported.
#pragma once

#include "resources/archive/MonolithStorageEngine.h"
#include "resources/archive/QuibVolumeHandle.h"

namespace Vemo {

class MonolithVolumeHandle : public QuibVolumeHandle {
public:
    // Takes both objects over. The names are the archive file's own, the separator ":", and the readable and
    // writeable flags the QuibFile's.
    MonolithVolumeHandle(ResourceEngine* engine, QuibStorageEngine::QuibFile* quibFile,
                         MonolithStorageEngine::MonolithChunk* topChunk);
    // Destroys the QuibFile (closing the archive file and detaching the chunks), then the top chunk.
    ~MonolithVolumeHandle() override;

    bool Lock() override;
    bool Unlock() override;
    bool Insert() override;
    bool Remove() override;
    bool Lockable() override;
    bool Removable() override;
    // The QuibFile's verification of every layout rule and checksum.
    bool Verify() override;
    File* ContainerFile() override;
    std::uint64_t Size() override;
    std::uint64_t Free() override;
    std::uint32_t ClusterSize() override;
    std::uint32_t ReadAhead() override;
    bool SetLabel(const String& label) override;
    // Reports "not supported" and still answers the volume's name.
    const String* Label() override;
    std::uint32_t Serial() override;
    // The name itself, or the name without its ".qib" (both exact).
    bool MatchName(const String& name) override;

    QuibStorageEngine::QuibFile* GetQuibFile() const { return m_quibFile; }
    MonolithStorageEngine::MonolithChunk* TopChunk() const { return m_topChunk; }

private:
    QuibStorageEngine::QuibFile* m_quibFile;
    MonolithStorageEngine::MonolithChunk* m_topChunk;
};

} // namespace Vemo
