// The base of every engine's open file: its names, its parent directory (on which it holds a reference), its
// position and access style, and the read and write protocol. ReadAt and WriteAt issue an AccessStatus record
// and hand it to the engine's Read or Write, which carries out the transfer; the record stays with this
// handle until it is released.
#pragma once

#include "foundation/BasicSet.h"
#include "foundation/String.h"
#include "resources/ResourceHandle.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/StorageFlags.h"

#include <cstdint>

namespace Vemo {

class AccessStatus;
class DirectoryHandle;

class FileHandle : public ResourceHandle {
public:
    // The largest transfer one record can carry: its count is 32 bits wide.
    static constexpr std::uint64_t kMaxTransfer = 0xFFFFFFFF;

    // No names, no parent, position 0, every flag clear, the default access style.
    explicit FileHandle(ResourceEngine* engine);
    // Leaves a parent that still lists it and releases every record still outstanding.
    ~FileHandle() override;

    // The base transfers nothing: the record comes back pending.
    virtual AccessStatus* Read(AccessStatus* request);
    // A record for count bytes at position, into buffer (allocated here when null); null after a reported
    // failure: not readable (11), a count above kMaxTransfer (31), no memory (29), no storage system.
    virtual AccessStatus* ReadAt(std::uint64_t position, std::uint64_t count, void* buffer);
    // ReadAt's checks, reports and transfer on the caller's record and into the caller's buffer (not null),
    // for a reader that wants nothing but the bytes: no record is issued or listed here, nothing is
    // allocated. False where ReadAt gives null.
    bool ReadInto(std::uint64_t position, std::uint64_t count, void* buffer, AccessStatus& record);
    virtual AccessStatus* Write(AccessStatus* request);
    // Null after a reported failure: not writeable (12), no data (30), a count above kMaxTransfer (32), no
    // storage system.
    virtual AccessStatus* WriteAt(std::uint64_t position, std::uint64_t count, const void* data);
    virtual bool SetSize(std::uint64_t size);
    virtual std::uint64_t Size();
    virtual std::uint64_t Position();
    virtual bool IsReadable();
    virtual bool IsWriteable();
    virtual bool IsDeletable();
    virtual bool IsArchive();
    virtual bool IsHidden();
    // The base only renames the handle; no storage is touched.
    virtual bool SetName(const String& name);
    // Sends what the engine still holds of the file's data to its storage. The base holds nothing: true.
    virtual bool Flush();
    // Renames the file in its directory over the file of that name, which goes only when the rename
    // succeeds. The base cannot: ResourceEngineErrNotSupported and false.
    virtual bool Replace(const String& name);
    // With parents: the parent's path and separator first. Points into the handle's cache, valid until the
    // next PathText call.
    virtual const String* PathText(bool withParents, bool native);
    virtual DirectoryHandle* Parent();
    virtual std::uint32_t ContainerOffset();
    virtual const AccessStyle* GetAccessStyle();
    virtual std::uint64_t SkipReadLimit();

    // Takes back a record issued by this handle and deletes it. Storage Engine codes 27 (null) and 28 (not
    // outstanding here).
    bool ReleaseAccess(AccessStatus* record);

    const String& GetName() const { return m_name; }
    const String& GetNativeName() const { return m_nativeName; }
    void SetNames(const String& name, const String& nativeName);
    StorageFlags& Flags() { return m_flags; }
    void SetAccessStyle(const AccessStyle& style) { m_accessStyle = style; }
    void SetContainerOffset(std::uint32_t offset) { m_containerOffset = offset; }
    // The link to the parent directory; only the storage system sets it.
    void SetParentLink(DirectoryHandle* parent) { m_parent = parent; }

protected:
    String m_name;
    String m_nativeName;
    DirectoryHandle* m_parent = nullptr;
    std::uint32_t m_containerOffset = 0;
    std::uint64_t m_position = 0;
    StorageFlags m_flags;
    AccessStyle m_accessStyle;
    String m_pathCache;
    BasicSet<AccessStatus*> m_accesses;

private:
    // Whether the handle's engine belongs to a storage system; reports ResourceSystemErrNoSystem when not.
    bool HasStorageSystem() const;
    // ReadAt's checks (codes 11 and 31, reported) and its read of a skipped gap.
    bool MayRead(std::uint64_t position, std::uint64_t count);
    // Lists a new record among the outstanding ones.
    void Issue(AccessStatus* record);

    // The set's storage of the last record released, so that a handle read in a loop does not allocate for
    // the set on every read.
    BasicSet<AccessStatus*>::Node m_spareNode;
};

} // namespace Vemo
