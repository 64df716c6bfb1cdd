// The base of every engine's open volume: its names, the separator that follows it in a path, its root
// directory (the volume holds one reference on it and the root one on the volume), and the default answers of
// every optional volume operation.
#pragma once

#include "foundation/String.h"
#include "resources/ResourceHandle.h"
#include "resources/storage/StorageFlags.h"

#include <cstdint>

namespace Vemo {

class DirectoryHandle;
class File;

class VolumeHandle : public ResourceHandle {
public:
    // No names, the separator ":", no root directory, every flag clear.
    explicit VolumeHandle(ResourceEngine* engine);
    // Releases a root directory that is still set.
    ~VolumeHandle() override;

    // Storage Engine code 17 and false.
    virtual bool Lock();
    virtual bool Unlock();
    // Storage Engine code 19 and false.
    virtual bool Insert();
    virtual bool Remove();
    virtual bool Readable();
    virtual bool Writeable();
    virtual bool Lockable();
    virtual bool Removable();
    // ResourceEngineErrNotSupported and false.
    virtual bool Verify();
    // The container file's full path when asked with the container and the volume lies in a file, else the
    // native or the program's name. Points into the handle's cache, valid until the next PathText call.
    virtual const String* PathText(bool withContainer, bool native);
    // What follows the volume's name in a path: the native separator, or ":".
    virtual const String* PathPart(bool native);
    // The file whose contents hold this volume; null for a volume that does not lie in a file.
    virtual File* ContainerFile();
    virtual std::uint64_t Size();
    virtual std::uint64_t Free();
    virtual std::uint32_t ClusterSize();
    virtual std::uint32_t ReadAhead();
    // The base takes the label as the volume's name.
    virtual bool SetLabel(const String& label);
    virtual const String* Label();
    virtual std::uint32_t Serial();
    // The forward gap, in bytes, that a read rather reads through than skips.
    virtual std::uint64_t SkipReadLimit();
    // Byte for byte, case-sensitive; two empty names match.
    virtual bool MatchName(const String& name);
    // Sets the root directory (taking a reference on it) or, with null, releases it. Storage Engine codes 14
    // (already set), 15 (nothing to release) and 16 (not this volume's root).
    virtual bool SetRootDirectory(DirectoryHandle* directory);

    const String& GetName() const { return m_name; }
    const String& GetNativeName() const { return m_nativeName; }
    void SetNames(const String& name, const String& nativeName);
    const String& GetSeparator() const { return m_separator; }
    void SetSeparator(const String& separator) { m_separator = separator; }
    DirectoryHandle* GetRootDirectory() const { return m_rootDirectory; }
    StorageFlags& Flags() { return m_flags; }

    // The separator of a volume name in a program's path text.
    static const String& VolumeSeparator();

protected:
    String m_name;
    String m_nativeName;
    String m_separator;
    DirectoryHandle* m_rootDirectory = nullptr;
    StorageFlags m_flags;
    String m_pathCache;
};

} // namespace Vemo
