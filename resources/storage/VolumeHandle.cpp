#include "resources/storage/VolumeHandle.h"

#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/File.h"
#include "resources/storage/StorageSystem.h"

namespace Vemo {

const String& VolumeHandle::VolumeSeparator() {
    static const String separator(":");
    return separator;
}

VolumeHandle::VolumeHandle(ResourceEngine* engine) : ResourceHandle(engine), m_separator(":") {}

VolumeHandle::~VolumeHandle() {
    if (m_rootDirectory != nullptr) {
        // The root must not keep pointing at a volume that is going away.
        m_rootDirectory->ForgetVolume(this);
        SetRootDirectory(nullptr);
    }
}

bool VolumeHandle::Lock() {
    Error().Report(StorageEngineErrLockFailed);
    return false;
}

bool VolumeHandle::Unlock() {
    Error().Report(StorageEngineErrLockFailed);
    return false;
}

bool VolumeHandle::Insert() {
    Error().Report(StorageEngineErrInsertFailed);
    return false;
}

bool VolumeHandle::Remove() {
    Error().Report(StorageEngineErrInsertFailed);
    return false;
}

bool VolumeHandle::Readable() {
    return m_flags.m_readable != 0;
}
bool VolumeHandle::Writeable() {
    return m_flags.m_writeable != 0;
}
bool VolumeHandle::Lockable() {
    return false;
}
bool VolumeHandle::Removable() {
    return false;
}

bool VolumeHandle::Verify() {
    Error().Report(ResourceEngineErrNotSupported);
    return false;
}

const String* VolumeHandle::PathText(bool withContainer, bool native) {
    m_pathCache = String();
    if (withContainer) {
        if (File* container = ContainerFile()) {
            if (const String* text = container->PathText(true, native)) {
                m_pathCache = *text;
                return &m_pathCache;
            }
        }
    }
    m_pathCache.Append(native ? m_nativeName : m_name);
    return &m_pathCache;
}

const String* VolumeHandle::PathPart(bool native) {
    return native ? &m_separator : &VolumeSeparator();
}

File* VolumeHandle::ContainerFile() {
    return nullptr;
}
std::uint64_t VolumeHandle::Size() {
    return 0;
}
std::uint64_t VolumeHandle::Free() {
    return 0;
}
std::uint32_t VolumeHandle::ClusterSize() {
    return 0;
}
std::uint32_t VolumeHandle::ReadAhead() {
    return 0;
}

bool VolumeHandle::SetLabel(const String& label) {
    m_name = label;
    return true;
}

const String* VolumeHandle::Label() {
    return &m_name;
}
std::uint32_t VolumeHandle::Serial() {
    return 0;
}
std::uint64_t VolumeHandle::SkipReadLimit() {
    return 0;
}

bool VolumeHandle::MatchName(const String& name) {
    return m_name.Compare(name) == 0;
}

bool VolumeHandle::SetRootDirectory(DirectoryHandle* directory) {
    auto* system = dynamic_cast<StorageSystem*>(GetEngine()->GetSystem());
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    if (directory != nullptr) {
        if (m_rootDirectory != nullptr) {
            Error().Report(StorageEngineErrRootAlreadySet);
            return false;
        }
        ResourceHandle* shared = system->Share(directory, nullptr);
        auto* root = dynamic_cast<DirectoryHandle*>(shared);
        if (root != nullptr && root->Volume() != nullptr && root->Volume()->GetId() == GetId()) {
            m_rootDirectory = root;
            return true;
        }
        Error().Report(StorageEngineErrForeignRoot);
        // A foreign directory must not keep the reference just taken on it.
        if (shared != nullptr) {
            system->Close(shared, nullptr);
        }
        return false;
    }
    if (m_rootDirectory == nullptr) {
        Error().Report(StorageEngineErrNoRoot);
        return false;
    }
    DirectoryHandle* old = m_rootDirectory;
    m_rootDirectory = nullptr;
    if (!system->Close(old, nullptr)) {
        Error().Report(ResourceSystemErrCloseFailed);
        m_rootDirectory = old;
        return false;
    }
    return true;
}

void VolumeHandle::SetNames(const String& name, const String& nativeName) {
    m_name = name;
    m_nativeName = nativeName;
}

} // namespace Vemo
