// What a storage front-end (or an engine copying entries) asks the storage system for: a volume, a directory
// or a file, named inside a parent directory or given by a handle that is already open. It lives on the
// caller's stack for one Open; the system keeps none of its pointers.
#pragma once

#include "resources/ResourceSearchCriterion.h"

#include <cstdint>

namespace Vemo {

class AccessStyle;
class Directory;
class DirectoryHandle;
class File;
class FileHandle;
class String;
class VolumeHandle;

class StorageSearchCriterion : public ResourceSearchCriterion {
public:
    static constexpr std::uint32_t kVolume = 1;
    static constexpr std::uint32_t kDirectory = 2;
    static constexpr std::uint32_t kFile = 3;

    // The storage family and a quick search; every further field is clear.
    explicit StorageSearchCriterion(std::uint32_t kind = 0);
    ~StorageSearchCriterion() override;

    std::uint32_t m_kind;
    // A missing directory or file may be created.
    std::uint8_t m_createAllowed = 0;
    // An existing directory or file may be opened.
    std::uint8_t m_openExistingAllowed = 0;
    // The volume's name, or the name of the entry inside m_parentDirectory.
    const String* m_name = nullptr;
    DirectoryHandle* m_parentDirectory = nullptr;
    // Files only; null means reading, others may read.
    const AccessStyle* m_accessStyle = nullptr;
    // A volume that lies in a file (an archive): the front-end of that file.
    File* m_containerFile = nullptr;
    // A volume given by name: the directory that holds its archive file.
    Directory* m_containerDirectory = nullptr;
    // A second handle on this open file.
    FileHandle* m_sourceFile = nullptr;
    // Share this open directory.
    DirectoryHandle* m_sourceDirectory = nullptr;
    // A volume: share this one. A directory without a parent: the root of this volume.
    VolumeHandle* m_sourceVolume = nullptr;
};

} // namespace Vemo
