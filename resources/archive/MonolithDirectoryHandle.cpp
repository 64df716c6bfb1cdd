#include "resources/archive/MonolithDirectoryHandle.h"

#include "resources/archive/MonolithDirectoryChunk.h"
#include "resources/archive/MonolithTreeDirectory.h"
#include "resources/archive/MonolithTreeFile.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

using MonolithTreeDirectory = MonolithStorageEngine::MonolithTreeDirectory;
using MonolithTreeEntry = MonolithStorageEngine::MonolithTreeEntry;
using MonolithTreeFile = MonolithStorageEngine::MonolithTreeFile;

MonolithDirectoryHandle::MonolithDirectoryHandle(ResourceEngine* engine,
                                                 MonolithStorageEngine::MonolithDirectoryChunk* chunk)
    : QuibDirectoryHandle(engine), m_chunk(chunk) {}

MonolithDirectoryHandle::~MonolithDirectoryHandle() {
    delete m_chunk;
}

bool MonolithDirectoryHandle::Delete(const String& name) {
    if (m_treeDirectory == nullptr) {
        return true;
    }
    std::uint32_t index = 0;
    MonolithTreeEntry* entry = nullptr;
    MonolithTreeDirectory* directory = nullptr;
    MonolithTreeFile* file = nullptr;
    if (m_treeDirectory->FindDirectory(name, index, directory)) {
        entry = directory;
    } else if (m_treeDirectory->FindFile(name, index, file)) {
        entry = file;
    } else {
        Error().Report(StorageEngineErrNoEntry, name);
        return false;
    }
    if ((entry->Attributes() & MonolithTreeEntry::kDeletable) == 0) {
        Error().Report(StorageEngineErrDeleteFailed, name);
        return false;
    }
    if (m_chunk == nullptr || !m_chunk->RemoveChildAt(m_treeDirectory->ChildOffset(index))) {
        Error().Report(QuibErrRemoveFailed);
        return false;
    }
    if (!m_treeDirectory->RemoveChild(entry)) {
        Error().Report(MonolithErrEntryGone);
        return false;
    }
    m_treeDirectory->RecomputeSizes();
    if (!m_treeDirectory->Commit()) {
        Error().Report(MonolithErrStoreFailed);
        return false;
    }
    return true;
}

bool MonolithDirectoryHandle::IsEmpty() {
    return m_treeDirectory != nullptr && m_treeDirectory->ChildCount() == 0;
}

bool MonolithDirectoryHandle::ContainsDirectory(const String& name) {
    return m_treeDirectory != nullptr && m_treeDirectory->ContainsDirectory(name);
}

bool MonolithDirectoryHandle::ContainsFile(const String& name) {
    return m_treeDirectory != nullptr && m_treeDirectory->ContainsFile(name);
}

std::uint32_t MonolithDirectoryHandle::EntryAt(const String& pattern, BasicList<Descriptor*>& list) {
    return m_treeDirectory != nullptr ? m_treeDirectory->List(pattern, list, m_flags) : 0;
}

bool MonolithDirectoryHandle::SetName(const String&) {
    Error().Report(ResourceSystemErrNotSupported, String("MonolithDirectoryHandle::Name"));
    return false;
}

} // namespace Vemo
