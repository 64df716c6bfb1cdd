// A drive's folder held open, and every open below it.
//
// On a drive of a named folder the kernel itself keeps each open inside the folder: the path below it is
// opened relative to the folder's descriptor with openat2 and RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS. Where
// the kernel has no openat2, or the path takes a link that openat2 will not follow beneath the folder (an
// absolute link, or one that climbs out of the folder and back into it), the path is walked one name at a
// time with openat and O_NOFOLLOW, and a link is followed by hand only while it stays inside. Either way no
// name is ever looked up again by a path text, so a name that another process swaps for a link to somewhere
// else between a check and an open cannot take the open out of the folder. A drive that shows "/" holds every
// host path: there every link is followed as the host follows it.
//
// Internal to the platform layer.
#pragma once

#include "platform/win32/HostDescriptor.h"

#include <sys/types.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

class DriveRoot {
public:
    // The drive's folder opened; null with errno set when it cannot be (ENOENT or ENOTDIR: no such folder).
    static std::shared_ptr<const DriveRoot> Open(const std::string& hostFolder);

    explicit DriveRoot(int descriptor, std::string realPath);
    DriveRoot(const DriveRoot&) = delete;
    DriveRoot& operator=(const DriveRoot&) = delete;

    int Descriptor() const { return m_descriptor.Get(); }
    // False for a drive that shows "/".
    bool Confines() const { return !m_realComponents.empty(); }

    // Opens a path below the folder: host names separated by '/' (empty: the folder itself), with open's
    // flags and mode. -1 with errno set; EXDEV when the path leads out of the folder. O_NOFOLLOW opens a last
    // name that is a link as the link (with O_PATH) or fails with ELOOP, as open does.
    int OpenBelow(std::string_view below, int flags, mode_t mode = 0) const;

private:
    HostDescriptor m_descriptor;
    std::vector<std::string> m_realComponents; // the folder's real path, name by name; empty for "/"
};

} // namespace win32
