#include "platform/win32/files/Device.h"

#include "platform/win32/LastError.h"
#include "platform/win32/Version.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <map>
#include <mutex>
#include <sys/ioctl.h>
#include <unistd.h>

namespace win32 {

namespace {

int LinuxMediaRequest(const std::string&, int descriptor, MediaRequest request) {
    if (descriptor < 0) {
        return EBADF;
    }
    int result = 0;
    switch (request) {
    case MediaRequest::LockDoor:
        result = ::ioctl(descriptor, CDROM_LOCKDOOR, 1);
        break;
    case MediaRequest::UnlockDoor:
        result = ::ioctl(descriptor, CDROM_LOCKDOOR, 0);
        break;
    case MediaRequest::Eject:
        result = ::ioctl(descriptor, CDROMEJECT, 0);
        break;
    }
    return result == 0 ? 0 : errno;
}

struct MediaState {
    std::mutex lock;
    MediaHandler handler = LinuxMediaRequest;
    std::map<char, int> lockCounts;
};

MediaState& TheMediaState() {
    static MediaState* state = new MediaState;
    return *state;
}

bool IsWindowsNT() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

HANDLE OpenVolumeDevice(char drive) {
    std::shared_ptr<const DriveTable> table = CurrentDriveTable();
    const DriveEntry* entry = table->Find(drive);
    if (!IsWindowsNT() || entry == nullptr) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (entry->device.empty()) {
        if (!HasRemovableMedia(*entry)) {
            return Fail(ERROR_FILE_NOT_FOUND);
        }
        return RegisterHandle(std::make_shared<VolumeDevice>(-1, entry->letter, std::string()));
    }
    // Without O_NONBLOCK a CD-ROM drive with no disc refuses to open at all.
    int descriptor = ::open(entry->device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return Fail(ErrorFromErrno(errno));
    }
    return RegisterHandle(std::make_shared<VolumeDevice>(descriptor, entry->letter, entry->device));
}

} // namespace

VolumeDevice::VolumeDevice(int descriptor, char drive, std::string device)
    : m_descriptor(descriptor), m_device(std::move(device)) {
    m_record.isFile = false;
    m_record.drive = drive;
    OpenFiles::Enter(&m_record);
}

VolumeDevice::~VolumeDevice() {
    OpenFiles::Leave(&m_record);
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

bool HasRemovableMedia(const DriveEntry& drive) {
    return drive.type == DRIVE_CDROM || drive.type == DRIVE_REMOVABLE;
}

HANDLE OpenDevice(const WindowsPath& path, DWORD, DWORD) {
    if (path.kind == PathKind::VolumeDevice) {
        return OpenVolumeDevice(path.drive);
    }
    if (path.kind == PathKind::VWin32Device && !IsWindowsNT()) {
        HANDLE handle = RegisterHandle(std::make_shared<VWin32Device>());
        SetLastError(ERROR_SUCCESS);
        return handle;
    }
    return Fail(ERROR_FILE_NOT_FOUND);
}

void seam::InstallMediaHandler(MediaHandler handler) {
    MediaState& state = TheMediaState();
    std::lock_guard guard(state.lock);
    state.handler = handler ? std::move(handler) : MediaHandler(LinuxMediaRequest);
    state.lockCounts.clear();
}

int RequestMedia(const std::string& device, int descriptor, MediaRequest request) {
    MediaHandler handler;
    {
        MediaState& state = TheMediaState();
        std::lock_guard guard(state.lock);
        handler = state.handler;
    }
    return handler(device, descriptor, request);
}

int MediaLockCount(char drive) {
    MediaState& state = TheMediaState();
    std::lock_guard guard(state.lock);
    auto found = state.lockCounts.find(drive);
    return found == state.lockCounts.end() ? 0 : found->second;
}

void SetMediaLockCount(char drive, int count) {
    MediaState& state = TheMediaState();
    std::lock_guard guard(state.lock);
    state.lockCounts[drive] = count;
}

} // namespace win32
