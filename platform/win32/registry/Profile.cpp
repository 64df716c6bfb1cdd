#include "platform/win32/registry/Profile.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/TitleFile.h"
#include "platform/win32/files/WindowsDirectory.h"
#include "platform/win32/kernel/NewFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

namespace {

// Every profile change is a read, an edit and a replacement of the whole file; one at a time in the process.
std::mutex g_lock;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A file's lines, and how they end.
struct ProfileText {
    std::vector<std::string> lines;
    std::string lineEnd = "\r\n";
};

ProfileText Split(const std::string& content) {
    ProfileText text;
    const std::size_t firstBreak = content.find('\n');
    if (firstBreak != std::string::npos && (firstBreak == 0 || content[firstBreak - 1] != '\r')) {
        text.lineEnd = "\n";
    }
    std::size_t at = 0;
    while (at < content.size()) {
        std::size_t end = content.find('\n', at);
        std::string line = content.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        text.lines.push_back(std::move(line));
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
    return text;
}

std::string Join(const ProfileText& text) {
    std::string content;
    for (const std::string& line : text.lines) {
        content += line;
        content += text.lineEnd;
    }
    return content;
}

// The section a line opens, if it opens one.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> KeyOf(std::string_view line) {
    line = Trim(line);
    const std::size_t equals = line.find('=');
    if (line.empty() || line.front() == ';' || line.front() == '[' || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// The lines of every occurrence of a section: for each, the header's index and the index past its last line.
struct Range {
    std::size_t header;
    std::size_t end;
};

std::vector<Range> SectionRanges(const ProfileText& text, std::string_view section) {
    std::vector<Range> ranges;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        std::optional<std::string_view> name = SectionOf(text.lines[i]);
        if (!name) {
            continue;
        }
        if (!ranges.empty() && ranges.back().end == text.lines.size()) {
            ranges.back().end = i;
        }
        if (EqualNoCase(*name, section)) {
            ranges.push_back(Range{i, text.lines.size()});
        }
    }
    return ranges;
}

// The profile's content, none when there is no such file; false with the last error set when what is there
// cannot be read as a profile (a folder, a FIFO or a device, never waited on; more than any profile holds).
bool ReadFile(const HostPath& profile, std::optional<std::string>& content) {
    content.reset();
    if (!profile.exists) {
        return true;
    }
    HostDescriptor file(OpenTitleFile(profile, O_RDONLY, TitleFileKind::File));
    if (file.Get() < 0) {
        return false;
    }
    std::string text;
    switch (ReadUpTo(file.Get(), kMostBytesReadWhole, text)) {
    case ReadOutcome::Read:
        content = std::move(text);
        return true;
    case ReadOutcome::TooLarge:
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    case ReadOutcome::Failed:
        SetLastError(ErrorFromErrno(errno));
        return false;
    }
    return false;
}

// Where a profile file lies, or false with the last error set. A name without a folder lies in the Windows
// folder.
bool ProfilePath(LPCSTR fileName, HostPath& profile) {
    if (fileName == nullptr || fileName[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    std::string path = fileName;
    if (std::strpbrk(fileName, "\\/:") == nullptr) {
        std::string folder;
        if (!detail::FindWindowsDirectory(folder, path)) {
            return false;
        }
        path += std::string(path.back() == '\\' ? "" : "\\") + fileName;
    }
    if (!ResolveHostPath(path.c_str(), profile)) {
        return false;
    }
    if (profile.IsRoot()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

std::optional<std::string> FindValue(const ProfileText& text, std::string_view section,
                                     std::string_view key) {
    for (const Range& range : SectionRanges(text, section)) {
        for (std::size_t i = range.header + 1; i < range.end; ++i) {
            std::optional<KeyLine> line = KeyOf(text.lines[i]);
            if (line && EqualNoCase(line->key, key)) {
                std::string_view value = line->value;
                if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                    value.back() == value.front()) {
                    value = value.substr(1, value.size() - 2);
                }
                return std::string(value);
            }
        }
    }
    return std::nullopt;
}

DWORD Copy(std::string_view text, LPSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<DWORD>(copied);
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool IsWritable(LPCSTR section, LPCSTR key, LPCSTR value) {
    if (section == nullptr || HasLineBreak(section) || std::strchr(section, ']') != nullptr) {
        return false;
    }
    if (key != nullptr) {
        const std::string_view trimmed = Trim(key);
        if (trimmed.empty() || HasLineBreak(key) || std::strchr(key, '=') != nullptr ||
            trimmed.front() == '[' || trimmed.front() == ';') {
            return false;
        }
    }
    return value == nullptr || !HasLineBreak(value);
}

void RemoveSection(ProfileText& text, std::string_view section) {
    std::vector<Range> ranges = SectionRanges(text, section);
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(range->header),
                         text.lines.begin() + static_cast<std::ptrdiff_t>(range->end));
    }
}

void RemoveKey(ProfileText& text, std::string_view section, std::string_view key) {
    std::vector<Range> ranges = SectionRanges(text, section);
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        for (std::size_t i = range->end; i-- > range->header + 1;) {
            std::optional<KeyLine> line = KeyOf(text.lines[i]);
            if (line && EqualNoCase(line->key, key)) {
                text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }
}

void SetKey(ProfileText& text, std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(key) + "=" + std::string(value);
    std::vector<Range> ranges = SectionRanges(text, section);
    for (const Range& range : ranges) {
        for (std::size_t i = range.header + 1; i < range.end; ++i) {
            std::optional<KeyLine> existing = KeyOf(text.lines[i]);
            if (existing && EqualNoCase(existing->key, key)) {
                text.lines[i] = line;
                return;
            }
        }
    }
    if (ranges.empty()) {
        // Appended in place: GCC 12 mistakes a literal prepended to a temporary for an overlapping copy.
        text.lines.push_back(std::string("[").append(section).append("]"));
        text.lines.push_back(line);
        return;
    }
    // After the section's last line that is not blank, so that a blank line before the next section stays.
    std::size_t after = ranges.front().end;
    while (after > ranges.front().header + 1 && Trim(text.lines[after - 1]).empty()) {
        --after;
    }
    text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(after), line);
}

// A new file's name: this prefix, the writer's process id, a '-' and mkostemp's six letters.
constexpr std::string_view kNewProfilePrefix = ".vemo-profile-";

// Writes the content into a new file beside the target and renames it over the target; an errno value. New
// files of writers killed before their rename are removed first.
int ReplaceFile(const HostPath& profile, const std::string& content) {
    RemoveStaleNewFiles(profile.Folder(), kNewProfilePrefix);
    // Appended in place, as SetKey's section line is.
    std::string prefix(kNewProfilePrefix);
    prefix.append(std::to_string(GetCurrentProcessId())).append("-");
    std::string temporary;
    const int descriptor = CreateUniqueFile(profile.Folder(), prefix, 0600, temporary);
    if (descriptor < 0) {
        return errno;
    }
    // A link in the profile's place lends the mode of the file it leads to only inside its drive.
    const HostDescriptor existing(profile.OpenBelow(O_PATH | O_CLOEXEC));
    struct stat info {};
    const mode_t mode =
        existing.Get() >= 0 && ::fstat(existing.Get(), &info) == 0 ? info.st_mode & 07777 : 0644;
    int error = 0;
    for (std::size_t done = 0; error == 0 && done < content.size();) {
        const ssize_t put = ::write(descriptor, content.data() + done, content.size() - done);
        if (put < 0 && errno != EINTR) {
            error = errno;
        } else if (put > 0) {
            done += static_cast<std::size_t>(put);
        }
    }
    if (error == 0 && (::fchmod(descriptor, mode) != 0 || ::fsync(descriptor) != 0)) {
        error = errno;
    }
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 &&
        ::renameat(profile.Folder(), temporary.c_str(), profile.Folder(), profile.leaf.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(profile.Folder(), temporary.c_str(), 0);
    }
    return error;
}

} // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
    const std::string_view fallback = Trim(defaultValue != nullptr ? defaultValue : "");
    if (section == nullptr || key == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return Copy(fallback, buffer, size);
    }
    HostPath profile;
    if (!ProfilePath(fileName, profile)) {
        return Copy(fallback, buffer, size);
    }
    std::optional<std::string> content;
    {
        std::lock_guard guard(g_lock);
        if (!ReadFile(profile, content)) {
            return Copy(fallback, buffer, size);
        }
    }
    if (!content) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return Copy(fallback, buffer, size);
    }
    std::optional<std::string> value = FindValue(Split(*content), Trim(section), Trim(key));
    return Copy(value ? std::string_view(*value) : fallback, buffer, size);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName) {
    if (!IsWritable(section, key, value)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HostPath profile;
    if (!ProfilePath(fileName, profile)) {
        return FALSE;
    }
    std::lock_guard guard(g_lock);
    std::optional<std::string> content;
    if (!ReadFile(profile, content)) {
        return FALSE;
    }
    ProfileText text = Split(content.value_or(std::string()));
    const std::string_view sectionName = Trim(section);
    if (key == nullptr) {
        RemoveSection(text, sectionName);
    } else if (value == nullptr) {
        RemoveKey(text, sectionName, Trim(key));
    } else {
        SetKey(text, sectionName, Trim(key), value);
    }
    const std::string replaced = Join(text);
    if (content && replaced == *content) {
        return TRUE;
    }
    if (!content && text.lines.empty()) {
        return TRUE;
    }
    if (const int error = ReplaceFile(profile, replaced); error != 0) {
        SetLastError(ErrorFromErrno(error));
        return FALSE;
    }
    return TRUE;
}

} // namespace win32
