// The storage engine that presents a Monolith archive as a volume with directories and files.
//
// A Monolith archive is a ".qib" chunk file whose one top chunk (1,1) holds a descriptor chunk (1,2), the
// root directory's chunk (1,3) and the tree chunk (1,5). A directory's chunk holds one chunk per child, back
// to back in the directory's order: (1,3) for a subdirectory, (1,4) for a file, whose data is the file's
// bytes. The tree chunk records the whole tree (names, attributes, chunk sizes, times) so that a child's
// chunk is found at its offset: the sum of the chunk sizes of the children before it. Names inside an archive
// compare byte for byte, case included.
//
// Every structural change (a new entry, a deletion, a new file length) rewrites the whole tree chunk.
#pragma once

#include "resources/archive/QuibStorageEngine.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class StorageSearchCriterion;

inline constexpr ErrorCode MonolithErrOpenFailed = MakeErrorCode(kMonolithStorageEngineFacility, 1);
inline constexpr ErrorCode MonolithErrQuibOpenFailed = MakeErrorCode(kMonolithStorageEngineFacility, 2);
inline constexpr ErrorCode MonolithErrQuibAttachFailed = MakeErrorCode(kMonolithStorageEngineFacility, 3);
inline constexpr ErrorCode MonolithErrNoTopChunk = MakeErrorCode(kMonolithStorageEngineFacility, 4);
inline constexpr ErrorCode MonolithErrNoDescriptor = MakeErrorCode(kMonolithStorageEngineFacility, 5);
inline constexpr ErrorCode MonolithErrReserved6 = MakeErrorCode(kMonolithStorageEngineFacility, 6);
inline constexpr ErrorCode MonolithErrNoTree = MakeErrorCode(kMonolithStorageEngineFacility, 7);
inline constexpr ErrorCode MonolithErrMissingChunkObject = MakeErrorCode(kMonolithStorageEngineFacility, 8);
inline constexpr ErrorCode MonolithErrBadVersion = MakeErrorCode(kMonolithStorageEngineFacility, 9);
inline constexpr ErrorCode MonolithErrForeignParent = MakeErrorCode(kMonolithStorageEngineFacility, 10);
inline constexpr ErrorCode MonolithErrDirectoryNotInTree = MakeErrorCode(kMonolithStorageEngineFacility, 11);
inline constexpr ErrorCode MonolithErrForeignVolume = MakeErrorCode(kMonolithStorageEngineFacility, 12);
inline constexpr ErrorCode MonolithErrVolumeWithoutTree = MakeErrorCode(kMonolithStorageEngineFacility, 13);
inline constexpr ErrorCode MonolithErrFileNotInTree = MakeErrorCode(kMonolithStorageEngineFacility, 14);
inline constexpr ErrorCode MonolithErrEntryGone = MakeErrorCode(kMonolithStorageEngineFacility, 15);
inline constexpr ErrorCode MonolithErrStoreFailed = MakeErrorCode(kMonolithStorageEngineFacility, 16);

class MonolithStorageEngine : public QuibStorageEngine {
public:
    class MonolithTreeEntry;
    class MonolithTreeFile;
    class MonolithTreeDirectory;
    class MonolithTreeChunk;
    class MonolithDescriptorChunk;
    class MonolithChunk;
    class MonolithDirectoryChunk;
    class MonolithFileChunk;

    static constexpr std::uint16_t kFamily = 1;
    static constexpr std::uint16_t kTopType = 1;
    static constexpr std::uint16_t kDescriptorType = 2;
    static constexpr std::uint16_t kDirectoryType = 3;
    static constexpr std::uint16_t kFileType = 4;
    static constexpr std::uint16_t kTreeType = 5;
    // A tree deeper than this many directory levels (the root is the first) is refused when read and never
    // made, so that no recursion over the tree can exhaust the stack.
    static constexpr std::uint32_t kMaxTreeDepth = 256;

    MonolithStorageEngine(std::uint32_t typeId, const String& name);
    ~MonolithStorageEngine() override;

    // A MonolithVolumeHandle, MonolithDirectoryHandle or MonolithFileHandle; null after a reported failure.
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // A volume named inside a host directory (or given as a ".qib" file), or a directory or file whose parent
    // (or volume, or source file) belongs to this engine.
    bool MatchSearchCriterion(ResourceSearchCriterion* criterion) override;
    // Not supported: ResourceSystemErrNotSupported and false.
    bool MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) override;

    // Given null, makes the "Monolith Storage Engine"; then the Quib engine's factory. Null when that fails
    // (an engine made here is deleted again).
    static MonolithStorageEngine* Create(MonolithStorageEngine* engine = nullptr);

    // Locates a directory or file chunk at exactly childOffset in its parent's payload, refusing a header
    // there that is not of the chunk's ident or does not fit its parent.
    static bool OpenChunkAt(QuibChunk* chunk, std::uint64_t childOffset);

private:
    bool IsOwnHandle(const ResourceHandle* handle) const;
    ResourceHandle* OpenVolume(StorageSearchCriterion& criterion);
    ResourceHandle* OpenRootDirectory(StorageSearchCriterion& criterion);
    ResourceHandle* OpenDirectory(StorageSearchCriterion& criterion);
    ResourceHandle* OpenFile(StorageSearchCriterion& criterion);
};

} // namespace Vemo
