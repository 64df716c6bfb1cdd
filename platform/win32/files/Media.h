// The host side of removable media: locking a drive's door and ejecting its medium on the device named in the
// drive table.
#pragma once

#include <functional>
#include <string>

namespace win32 {

enum class MediaRequest { LockDoor, UnlockDoor, Eject };

// Carries out a request on a host device (descriptor open on it, or -1 when it did not open); returns 0 or an
// errno value. The default handler uses the Linux CD-ROM ioctls.
using MediaHandler = std::function<int(const std::string& device, int descriptor, MediaRequest request)>;

// Runs a request through the handler in force.
int RequestMedia(const std::string& device, int descriptor, MediaRequest request);

// The 9x lock count of a drive: raised by each lock request, lowered by each unlock; the door is locked while
// it is above 0.
int MediaLockCount(char drive);
void SetMediaLockCount(char drive, int count);

namespace seam {

// Replaces the handler (null restores the default) and forgets the 9x lock counts;
// platform/testing/MediaRecorder.h wraps this.
void InstallMediaHandler(MediaHandler handler);

} // namespace seam

} // namespace win32
