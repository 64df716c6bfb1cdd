#include "resources/storage/Path.h"

#include "platform/win32/CodePage.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/Volume.h"

#include <memory>

namespace Vemo {

namespace {

// The first separator at or after start, stepping over double-byte characters whole so that a trail byte is
// never taken for one; String::kNotFound when there is none.
std::uint32_t FindSeparator(const String& text, char separator, std::uint32_t start) {
    const char* characters = text.CStr();
    for (std::uint32_t i = start; i < text.Length(); ++i) {
        if (win32::IsDBCSLeadByte(static_cast<win32::BYTE>(characters[i])) && i + 1 < text.Length()) {
            ++i;
            continue;
        }
        if (characters[i] == separator) {
            return i;
        }
    }
    return String::kNotFound;
}

} // namespace

Path::Path() = default;

Path::Path(const String* name, const Directory* directory) {
    if (name != nullptr) {
        m_name = *name;
    }
    if (directory != nullptr) {
        m_directory = new Directory;
        m_directory->Open(*directory);
    }
}

Path::Path(const Path& other) {
    Assign(other);
}

Path& Path::operator=(const Path& other) {
    Assign(other);
    return *this;
}

Path::~Path() {
    delete m_directory;
}

void Path::ReplaceDirectory(Directory* directory) {
    delete m_directory;
    m_directory = directory;
}

bool Path::Assign(const Path& other) {
    if (&other == this) {
        return true;
    }
    ReplaceDirectory(nullptr);
    m_name = other.m_name;
    if (other.m_directory != nullptr) {
        m_directory = new Directory;
        m_directory->Open(*other.m_directory);
    }
    return true;
}

bool Path::Assign(const File& file) {
    const String* name = const_cast<File&>(file).PathText(false, false);
    if (name == nullptr) {
        return true;
    }
    const String ownName = *name;
    auto* parent = new Directory;
    const_cast<File&>(file).ParentDirectory(*parent);
    ReplaceDirectory(parent);
    m_name = ownName;
    return true;
}

bool Path::Assign(const Directory& constDirectory) {
    auto& directory = const_cast<Directory&>(constDirectory);
    const String* own = directory.PathText(false, false);
    const String ownName = own != nullptr ? *own : String();
    auto parent = std::make_unique<Directory>();
    if (directory.ParentDirectory(*parent)) {
        ReplaceDirectory(parent.release());
        m_name = ownName;
        return true;
    }
    // A root: the Path names its volume.
    Volume volume;
    directory.GetVolume(volume);
    const String* volumeName = volume.PathText(false, false);
    if (volumeName == nullptr) {
        return false;
    }
    m_name = *volumeName;
    ReplaceDirectory(nullptr);
    return true;
}

String& Path::GetText(String& out, bool full, bool native) const {
    if (!full || m_directory == nullptr) {
        out = m_name;
        return out;
    }
    const String* directoryText = m_directory->PathText(full, native);
    out = directoryText != nullptr ? *directoryText : String();
    if (const String* separator = m_directory->PathPart(native)) {
        out.Append(*separator);
    } else {
        out = String();
    }
    out.Append(m_name);
    return out;
}

bool Path::Parse(const String& text) {
    const std::uint32_t colon = FindSeparator(text, ':', 0);
    const std::uint32_t slash = FindSeparator(text, '/', 0);
    // The text still to resolve starts at rest; a text that ends in '/' still has its (empty) last component.
    std::uint32_t rest = 0;
    bool more = !text.IsEmpty();
    if (colon < slash) {
        m_name = text.Substring(0, colon);
        ReplaceDirectory(nullptr);
        if (colon + 1 == text.Length()) {
            return true;
        }
        if (text.CStr()[colon + 1] != '/') {
            return false;
        }
        rest = colon + 2;
    }
    while (more) {
        if (!m_name.IsEmpty() && !Enter()) {
            return false;
        }
        const std::uint32_t next = FindSeparator(text, '/', rest);
        if (next == String::kNotFound) {
            m_name = text.Substring(rest, String::kAll);
            more = false;
        } else {
            m_name = text.Substring(rest, next - rest);
            rest = next + 1;
        }
    }
    return true;
}

bool Path::Enter() {
    if (m_name.IsEmpty() || m_name.Compare(".") == 0) {
        m_name = String();
        return true;
    }
    if (m_name.Compare("..") == 0) {
        if (m_directory != nullptr && m_directory->GetDirectoryHandle() != nullptr &&
            m_directory->Parent() != nullptr) {
            auto parent = std::make_unique<Directory>();
            if (!m_directory->ParentDirectory(*parent)) {
                return false;
            }
            ReplaceDirectory(parent.release());
        }
        m_name = String();
        return true;
    }
    auto entered = std::make_unique<Directory>();
    if (m_directory != nullptr && m_directory->ContainsDirectory(m_name)) {
        if (!entered->Open(*this, false)) {
            return false;
        }
    } else {
        if (!NamesVolume()) {
            return false;
        }
        Volume volume;
        if (!volume.Open(*this, false) || !entered->OpenRoot(volume)) {
            return false;
        }
    }
    ReplaceDirectory(entered.release());
    m_name = String();
    return true;
}

bool Path::NamesVolume() const {
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kVolume);
    criterion.m_name = &m_name;
    criterion.m_containerDirectory = m_directory;
    return system->FindNextEngine(&criterion, nullptr, ResourceSearchCriterion::kSearchQuick) != nullptr;
}

bool Path::Leave() {
    if (m_directory == nullptr) {
        return false;
    }
    if (m_directory->GetDirectoryHandle() != nullptr && m_directory->Parent() != nullptr) {
        auto parent = std::make_unique<Directory>();
        if (!m_directory->ParentDirectory(*parent)) {
            return false;
        }
        const String ownName = *m_directory->PathText(false, false);
        ReplaceDirectory(parent.release());
        m_name = ownName;
        return true;
    }
    Volume volume;
    m_directory->GetVolume(volume);
    const String* volumeName = volume.PathText(false, false);
    if (volumeName == nullptr) {
        return false;
    }
    const String ownName = *volumeName;
    Directory* holder = nullptr;
    if (File* container = volume.ContainerFile()) {
        holder = new Directory;
        container->ParentDirectory(*holder);
    }
    ReplaceDirectory(holder);
    m_name = ownName;
    return true;
}

} // namespace Vemo
