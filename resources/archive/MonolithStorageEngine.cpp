#include "resources/archive/MonolithStorageEngine.h"

#include "resources/CreateThrough.h"
#include "resources/archive/MonolithChunk.h"
#include "resources/archive/MonolithDirectoryChunk.h"
#include "resources/archive/MonolithDirectoryHandle.h"
#include "resources/archive/MonolithFileChunk.h"
#include "resources/archive/MonolithFileHandle.h"
#include "resources/archive/MonolithTreeChunk.h"
#include "resources/archive/MonolithTreeDirectory.h"
#include "resources/archive/MonolithTreeFile.h"
#include "resources/archive/MonolithVolumeHandle.h"
#include "resources/archive/QuibFile.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/StorageSearchCriterion.h"

#include <cctype>
#include <limits>

namespace Vemo {

namespace {

using MonolithTreeDirectory = MonolithStorageEngine::MonolithTreeDirectory;
using MonolithTreeEntry = MonolithStorageEngine::MonolithTreeEntry;
using MonolithTreeFile = MonolithStorageEngine::MonolithTreeFile;

bool HasQuibExtension(const String& name) {
    if (name.Length() < 4) {
        return false;
    }
    const char* tail = name.CStr() + name.Length() - 4;
    return tail[0] == '.' && std::tolower(static_cast<unsigned char>(tail[1])) == 'q' &&
           std::tolower(static_cast<unsigned char>(tail[2])) == 'i' &&
           std::tolower(static_cast<unsigned char>(tail[3])) == 'b';
}

// The parent's full path, its separator and the name.
String EntryPath(DirectoryHandle* parent, const String& name) {
    String path;
    if (const String* parentPath = parent->PathText(true, false)) {
        path = *parentPath;
    }
    if (const String* separator = parent->PathPart(false)) {
        path.Append(*separator);
    }
    path.Append(name);
    return path;
}

// The handle's flags from an entry's attributes, bounded by what the parent allows.
void FillFlags(StorageFlags& flags, std::uint32_t attributes, bool parentReadable, bool parentWriteable) {
    flags.m_readable = (attributes & MonolithTreeEntry::kReadable) != 0 && parentReadable;
    flags.m_writeable = (attributes & MonolithTreeEntry::kWriteable) != 0 && parentWriteable;
    flags.m_deletable = (attributes & MonolithTreeEntry::kDeletable) != 0 && parentWriteable;
    flags.m_archive = (attributes & MonolithTreeEntry::kArchive) != 0;
    flags.m_hidden = (attributes & MonolithTreeEntry::kHidden) != 0;
}

// Appends the new entry's chunk to the parent's chunk and the entry to the parent's tree, and stores the
// tree. A tree that cannot be stored takes the entry out again, and its chunk with it, so that the archive
// keeps no chunk that its tree does not list, and is stored once more, since a store that failed part-way
// may have left part of the longer tree behind. On failure the chunk object is destroyed.
bool CreateEntry(MonolithDirectoryHandle* parent, QuibStorageEngine::QuibChunk* chunk, const String& name,
                 bool directory) {
    MonolithTreeDirectory* tree = parent->TreeDirectory();
    if (tree == nullptr || !chunk->Create()) {
        delete chunk;
        return false;
    }
    if (directory) {
        tree->AddDirectory(name);
    } else {
        tree->AddFile(name);
    }
    if (tree->Commit()) {
        return true;
    }
    MonolithTreeEntry* entry = nullptr;
    for (MonolithTreeEntry* child : tree->GetChildren()) {
        entry = child;
    }
    tree->RemoveChild(entry);
    tree->RecomputeSizes();
    const std::uint64_t position = chunk->Position() - parent->Chunk()->CurrentOffset();
    delete chunk;
    parent->Chunk()->RemoveChildAt(position);
    tree->Commit();
    return false;
}

// The chunk object of a file that another handle has open already, taken one more time; null when none is.
MonolithStorageEngine::MonolithFileChunk* OpenFileChunk(MonolithDirectoryHandle* parent,
                                                        std::uint32_t index) {
    QuibStorageEngine::QuibChunk* container = parent->Chunk();
    const std::uint64_t offset = parent->TreeDirectory()->ChildOffset(index);
    if (offset > std::numeric_limits<std::uint64_t>::max() - container->CurrentOffset()) {
        return nullptr;
    }
    auto* chunk = dynamic_cast<MonolithStorageEngine::MonolithFileChunk*>(
        container->OpenChildAt(container->CurrentOffset() + offset));
    if (chunk != nullptr) {
        chunk->Hold();
    }
    return chunk;
}

} // namespace

MonolithStorageEngine::MonolithStorageEngine(std::uint32_t typeId, const String& name)
    : QuibStorageEngine(typeId, name) {}

MonolithStorageEngine::~MonolithStorageEngine() = default;

MonolithStorageEngine* MonolithStorageEngine::Create(MonolithStorageEngine* engine) {
    return CreateThrough(
        engine, [] { return new MonolithStorageEngine(kMonolithStorageTypeId, "Monolith Storage Engine"); },
        &QuibStorageEngine::Create);
}

bool MonolithStorageEngine::IsOwnHandle(const ResourceHandle* handle) const {
    return handle != nullptr && handle->GetEngine() != nullptr &&
           handle->GetEngine()->GetTypeId() == GetTypeId();
}

bool MonolithStorageEngine::MatchSearchCriterion(ResourceSearchCriterion* criterion) {
    auto* storage = dynamic_cast<StorageSearchCriterion*>(criterion);
    if (storage == nullptr) {
        return false;
    }
    switch (storage->m_kind) {
    case StorageSearchCriterion::kVolume:
        if (storage->m_name != nullptr && storage->m_containerDirectory != nullptr) {
            if (storage->m_createAllowed) {
                return true;
            }
            String name = *storage->m_name;
            if (!HasQuibExtension(name)) {
                name.Append(".qib");
            }
            return storage->m_containerDirectory->ContainsFile(name);
        }
        if (storage->m_containerFile != nullptr) {
            if (storage->m_createAllowed) {
                return true;
            }
            const String* name = storage->m_containerFile->PathText(false, false);
            return name != nullptr && HasQuibExtension(*name);
        }
        return storage->m_sourceVolume != nullptr && IsOwnHandle(storage->m_sourceVolume);
    case StorageSearchCriterion::kDirectory:
        if (storage->m_name != nullptr && storage->m_parentDirectory != nullptr) {
            return IsOwnHandle(storage->m_parentDirectory);
        }
        return IsOwnHandle(storage->m_sourceVolume);
    case StorageSearchCriterion::kFile:
        if (storage->m_name != nullptr && storage->m_parentDirectory != nullptr) {
            return IsOwnHandle(storage->m_parentDirectory);
        }
        return IsOwnHandle(storage->m_sourceFile);
    default:
        return false;
    }
}

bool MonolithStorageEngine::MatchSearchCriterionThorough(ResourceSearchCriterion*) {
    Error().Report(ResourceSystemErrNotSupported,
                   String("MonolithStorageEngine::MatchSearchCriterionThorough"));
    return false;
}

ResourceHandle* MonolithStorageEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* storage = dynamic_cast<StorageSearchCriterion*>(criterion);
    if (storage == nullptr) {
        return nullptr;
    }
    switch (storage->m_kind) {
    case StorageSearchCriterion::kVolume:
        return OpenVolume(*storage);
    case StorageSearchCriterion::kDirectory:
        if (storage->m_name != nullptr && storage->m_parentDirectory != nullptr) {
            return OpenDirectory(*storage);
        }
        return storage->m_sourceVolume != nullptr ? OpenRootDirectory(*storage) : nullptr;
    case StorageSearchCriterion::kFile:
        return OpenFile(*storage);
    default:
        return nullptr;
    }
}

ResourceHandle* MonolithStorageEngine::OpenVolume(StorageSearchCriterion& criterion) {
    const bool byName = criterion.m_name != nullptr && criterion.m_containerDirectory != nullptr;
    if (!byName && criterion.m_containerFile == nullptr) {
        return nullptr;
    }
    auto* quibFile = new QuibFile;
    if (byName) {
        if (!quibFile->Open(*criterion.m_containerDirectory, *criterion.m_name,
                            criterion.m_createAllowed != 0)) {
            Error().Report(MonolithErrQuibOpenFailed, *criterion.m_name);
            delete quibFile;
            return nullptr;
        }
    } else if (!quibFile->Attach(*criterion.m_containerFile)) {
        const String* name = criterion.m_containerFile->PathText(false, false);
        Error().Report(MonolithErrQuibAttachFailed, name != nullptr ? *name : String());
        delete quibFile;
        return nullptr;
    }
    auto* topChunk = new MonolithChunk(quibFile);
    if (!topChunk->Open(criterion.m_createAllowed != 0, nullptr, kNoOffset)) {
        Error().Report(MonolithErrOpenFailed, byName ? criterion.m_name : nullptr);
        delete topChunk;
        delete quibFile;
        return nullptr;
    }
    return new MonolithVolumeHandle(this, quibFile, topChunk);
}

ResourceHandle* MonolithStorageEngine::OpenRootDirectory(StorageSearchCriterion& criterion) {
    auto* volume = dynamic_cast<MonolithVolumeHandle*>(criterion.m_sourceVolume);
    if (volume == nullptr) {
        Error().Report(MonolithErrForeignVolume);
        return nullptr;
    }
    MonolithChunk* topChunk = volume->TopChunk();
    if (topChunk == nullptr || topChunk->Tree() == nullptr) {
        Error().Report(MonolithErrVolumeWithoutTree);
        return nullptr;
    }
    MonolithTreeDirectory* root = topChunk->Tree()->Root();
    auto* chunk = new MonolithDirectoryChunk(topChunk);
    auto* handle = new MonolithDirectoryHandle(this, chunk);
    handle->SetTreeDirectory(0, root);
    if (!chunk->Open(false, nullptr, kNoOffset)) {
        Error().Report(StorageEngineErrNoDirectory);
        delete handle;
        return nullptr;
    }
    handle->Flags().m_directory = 1;
    FillFlags(handle->Flags(), root->Attributes(), volume->Readable(), volume->Writeable());
    return handle;
}

bool MonolithStorageEngine::OpenChunkAt(QuibChunk* chunk, std::uint64_t childOffset) {
    QuibChunk* parent = chunk->Parent();
    if (parent == nullptr ||
        childOffset > std::numeric_limits<std::uint64_t>::max() - parent->CurrentOffset()) {
        return false;
    }
    const std::uint64_t position = parent->CurrentOffset() + childOffset;
    if (position > parent->Size() || parent->Size() - position < kChunkHeaderSize) {
        return false;
    }
    std::uint8_t bytes[kChunkHeaderSize];
    if (!parent->ReadExact(position, kChunkHeaderSize, bytes)) {
        return false;
    }
    const QuibChunk::Header header = QuibChunk::Header::Parse(bytes);
    if (header.m_family != chunk->Ident().m_family || header.m_type != chunk->Ident().m_type ||
        !header.FitsAt(position, parent->Size())) {
        return false;
    }
    return chunk->Open(false, nullptr, childOffset);
}

ResourceHandle* MonolithStorageEngine::OpenDirectory(StorageSearchCriterion& criterion) {
    const String& name = *criterion.m_name;
    auto* parent = dynamic_cast<MonolithDirectoryHandle*>(criterion.m_parentDirectory);
    if (parent == nullptr) {
        Error().Report(MonolithErrForeignParent, EntryPath(criterion.m_parentDirectory, name));
        return nullptr;
    }
    const bool exists = parent->ContainsDirectory(name);
    if (!exists && !criterion.m_createAllowed) {
        Error().Report(StorageEngineErrNoDirectory, EntryPath(parent, name));
        return nullptr;
    }
    if (exists && !criterion.m_openExistingAllowed) {
        Error().Report(StorageEngineErrDirectoryExists, EntryPath(parent, name));
        return nullptr;
    }
    MonolithTreeDirectory* parentTree = parent->TreeDirectory();
    if (!exists && (parentTree == nullptr || parentTree->Depth() >= kMaxTreeDepth)) {
        Error().Report(StorageEngineErrCreateDirectoryFailed, EntryPath(parent, name));
        return nullptr;
    }
    auto* chunk = new MonolithDirectoryChunk(parent->Chunk());
    if (!exists && !CreateEntry(parent, chunk, name, true)) {
        Error().Report(StorageEngineErrCreateDirectoryFailed, EntryPath(parent, name));
        return nullptr;
    }
    auto* handle = new MonolithDirectoryHandle(this, chunk);
    std::uint32_t index = 0;
    MonolithTreeDirectory* directory = nullptr;
    if (parentTree == nullptr || !parentTree->FindDirectory(name, index, directory)) {
        Error().Report(MonolithErrDirectoryNotInTree, EntryPath(parent, name));
        delete handle;
        return nullptr;
    }
    handle->SetTreeDirectory(index, directory);
    if (!chunk->StateFlag() && !OpenChunkAt(chunk, parentTree->ChildOffset(index))) {
        Error().Report(StorageEngineErrNoDirectory, EntryPath(parent, name));
        delete handle;
        return nullptr;
    }
    handle->SetNames(name, name);
    handle->Flags().m_directory = 1;
    FillFlags(handle->Flags(), directory->Attributes(), parent->IsReadable(), parent->IsWriteable());
    return handle;
}

ResourceHandle* MonolithStorageEngine::OpenFile(StorageSearchCriterion& criterion) {
    String name;
    DirectoryHandle* parentHandle = nullptr;
    if (criterion.m_name != nullptr && criterion.m_parentDirectory != nullptr) {
        name = *criterion.m_name;
        parentHandle = criterion.m_parentDirectory;
    } else if (criterion.m_sourceFile != nullptr) {
        if (const String* sourceName = criterion.m_sourceFile->PathText(false, false)) {
            name = *sourceName;
        }
        parentHandle = criterion.m_sourceFile->Parent();
    } else {
        return nullptr;
    }
    auto* parent = dynamic_cast<MonolithDirectoryHandle*>(parentHandle);
    if (parent == nullptr) {
        Error().Report(MonolithErrForeignParent,
                       parentHandle != nullptr ? EntryPath(parentHandle, name) : String(name));
        return nullptr;
    }
    const bool exists = parent->ContainsFile(name);
    if (!exists && !criterion.m_createAllowed) {
        Error().Report(StorageEngineErrNotFound, name);
        return nullptr;
    }
    if (exists && !criterion.m_openExistingAllowed) {
        Error().Report(StorageEngineErrFileExists, EntryPath(parent, name));
        return nullptr;
    }
    MonolithTreeDirectory* parentTree = parent->TreeDirectory();
    std::uint32_t index = 0;
    MonolithTreeFile* file = nullptr;
    MonolithFileChunk* chunk = nullptr;
    if (exists && parentTree->FindFile(name, index, file)) {
        chunk = OpenFileChunk(parent, index);
    }
    if (chunk == nullptr) {
        chunk = new MonolithFileChunk(parent->Chunk());
        if (!exists && !CreateEntry(parent, chunk, name, false)) {
            Error().Report(StorageEngineErrCreateFileFailed, EntryPath(parent, name));
            return nullptr;
        }
    }
    auto* handle = new MonolithFileHandle(this, chunk);
    if (parentTree == nullptr || !parentTree->FindFile(name, index, file)) {
        Error().Report(MonolithErrFileNotInTree, EntryPath(parent, name));
        delete handle;
        return nullptr;
    }
    handle->SetTreeFile(index, file);
    if (chunk->Position() == kNoOffset || !exists) {
        if (!chunk->StateFlag() && !OpenChunkAt(chunk, parentTree->ChildOffset(index))) {
            Error().Report(StorageEngineErrNoDirectory, EntryPath(parent, name));
            delete handle;
            return nullptr;
        }
    }
    handle->SetNames(name, name);
    handle->SetContainerOffset(chunk->FileOffset());
    FillFlags(handle->Flags(), file->Attributes(), parent->IsReadable(), parent->IsWriteable());
    handle->SetAccessStyle(criterion.m_accessStyle != nullptr ? *criterion.m_accessStyle : AccessStyle());
    return handle;
}

} // namespace Vemo
