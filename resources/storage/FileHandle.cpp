#include "resources/storage/FileHandle.h"

#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/StorageSystem.h"

#include <new>
#include <typeinfo>

namespace Vemo {

FileHandle::FileHandle(ResourceEngine* engine) : ResourceHandle(engine) {}

FileHandle::~FileHandle() {
    if (m_parent != nullptr) {
        // Only a handle taken away from its holders is still listed here. Its entry is dropped without
        // closing this handle again, and the reference it held on the parent is given back.
        DirectoryHandle* parent = m_parent;
        m_parent = nullptr;
        parent->ForgetFile(this);
        if (auto* system = dynamic_cast<StorageSystem*>(GetEngine()->GetSystem())) {
            system->Close(parent, nullptr);
        }
    }
    while (!m_accesses.Empty()) {
        ReleaseAccess(*m_accesses.Begin());
    }
}

bool FileHandle::HasStorageSystem() const {
    ResourceSystem* system = GetEngine()->GetSystem();
    // Every read and write asks: the exact type answers at the cost of a comparison, a full cast is left for
    // other systems.
    if (system == nullptr ||
        (typeid(*system) != typeid(StorageSystem) && dynamic_cast<StorageSystem*>(system) == nullptr)) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    return true;
}

void FileHandle::Issue(AccessStatus* record) {
    if (m_spareNode.empty()) {
        m_accesses.Insert(record);
    } else {
        m_spareNode.value() = record;
        m_accesses.Insert(m_spareNode);
    }
}

AccessStatus* FileHandle::Read(AccessStatus* request) {
    return request;
}

bool FileHandle::MayRead(std::uint64_t position, std::uint64_t count) {
    if (!IsReadable()) {
        Error().Report(StorageEngineErrNotReadable);
        return false;
    }
    if (count > kMaxTransfer) {
        Error().Report(StorageEngineErrReadFailed);
        return false;
    }
    if (position > m_position && position - m_position < SkipReadLimit()) {
        if (AccessStatus* gap = ReadAt(m_position, position - m_position, nullptr)) {
            gap->Release();
        }
    }
    return true;
}

AccessStatus* FileHandle::ReadAt(std::uint64_t position, std::uint64_t count, void* buffer) {
    if (!MayRead(position, count)) {
        return nullptr;
    }
    bool owns = false;
    if (buffer == nullptr) {
        buffer = new (std::nothrow) std::uint8_t[count];
        if (buffer == nullptr) {
            Error().Report(StorageEngineErrNoMemory);
            return nullptr;
        }
        owns = true;
    }
    auto* record = new AccessStatus(buffer, position, static_cast<std::uint32_t>(count), owns, this);
    Issue(record);
    if (!HasStorageSystem()) {
        return nullptr;
    }
    return Read(record);
}

bool FileHandle::ReadInto(std::uint64_t position, std::uint64_t count, void* buffer, AccessStatus& record) {
    if (!MayRead(position, count) || !HasStorageSystem()) {
        return false;
    }
    record.m_buffer = buffer;
    record.m_position = position;
    record.m_count = static_cast<std::uint32_t>(count);
    record.m_status = AccessStatus::kPending;
    return Read(&record) != nullptr;
}

AccessStatus* FileHandle::Write(AccessStatus* request) {
    return request;
}

AccessStatus* FileHandle::WriteAt(std::uint64_t position, std::uint64_t count, const void* data) {
    if (!IsWriteable()) {
        Error().Report(StorageEngineErrNotWriteable);
        return nullptr;
    }
    if (data == nullptr) {
        Error().Report(StorageEngineErrNoData);
        return nullptr;
    }
    if (count > kMaxTransfer) {
        Error().Report(StorageEngineErrWriteFailed);
        return nullptr;
    }
    auto* record =
        new AccessStatus(const_cast<void*>(data), position, static_cast<std::uint32_t>(count), false, this);
    Issue(record);
    if (!HasStorageSystem()) {
        return nullptr;
    }
    return Write(record);
}

bool FileHandle::SetSize(std::uint64_t) {
    return false;
}
std::uint64_t FileHandle::Size() {
    return 0;
}
std::uint64_t FileHandle::Position() {
    return m_position;
}
bool FileHandle::IsReadable() {
    return m_flags.m_readable != 0;
}
bool FileHandle::IsWriteable() {
    return m_flags.m_writeable != 0;
}
bool FileHandle::IsDeletable() {
    return m_flags.m_deletable != 0;
}
bool FileHandle::IsArchive() {
    return m_flags.m_archive != 0;
}
bool FileHandle::IsHidden() {
    return m_flags.m_hidden != 0;
}

bool FileHandle::SetName(const String& name) {
    m_name = name;
    return true;
}

bool FileHandle::Flush() {
    return true;
}

bool FileHandle::Replace(const String&) {
    Error().Report(ResourceEngineErrNotSupported, String("FileHandle::Replace"));
    return false;
}

const String* FileHandle::PathText(bool withParents, bool native) {
    String text;
    if (withParents && m_parent != nullptr) {
        if (const String* leading = m_parent->PathText(true, native)) {
            text = *leading;
        }
        if (const String* separator = m_parent->PathPart(native)) {
            text.Append(*separator);
        }
    }
    text.Append(native ? m_nativeName : m_name);
    m_pathCache = text;
    return &m_pathCache;
}

DirectoryHandle* FileHandle::Parent() {
    return m_parent;
}
std::uint32_t FileHandle::ContainerOffset() {
    return m_containerOffset;
}
const AccessStyle* FileHandle::GetAccessStyle() {
    return &m_accessStyle;
}
std::uint64_t FileHandle::SkipReadLimit() {
    return m_parent != nullptr ? m_parent->SkipReadLimit() : 0;
}

bool FileHandle::ReleaseAccess(AccessStatus* record) {
    if (record == nullptr) {
        Error().Report(StorageEngineErrNoRecord);
        return false;
    }
    auto found = m_accesses.Find(record);
    if (found == m_accesses.End()) {
        Error().Report(StorageEngineErrUnknownRecord);
        return false;
    }
    m_spareNode = m_accesses.Extract(found);
    delete record;
    return true;
}

void FileHandle::SetNames(const String& name, const String& nativeName) {
    m_name = name;
    m_nativeName = nativeName;
}

} // namespace Vemo
