#include "resources/archive/MonolithTreeDirectory.h"

#include "resources/archive/MonolithTreeFile.h"
#include "resources/archive/Stream.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/StorageFlags.h"

#include <algorithm>
#include <limits>

namespace Vemo {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

// Sizes come from the archive, so sums saturate instead of wrapping.
std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return b > kMax - a ? kMax : a + b;
}

} // namespace

using MonolithTreeDirectory = MonolithStorageEngine::MonolithTreeDirectory;
using MonolithTreeEntry = MonolithStorageEngine::MonolithTreeEntry;
using MonolithTreeFile = MonolithStorageEngine::MonolithTreeFile;

MonolithTreeDirectory::MonolithTreeDirectory(MonolithTreeChunk* treeChunk, MonolithTreeDirectory* parent)
    : MonolithTreeEntry(treeChunk, parent) {}

MonolithTreeDirectory::~MonolithTreeDirectory() {
    Clear();
}

void MonolithTreeDirectory::Clear() {
    for (MonolithTreeEntry* child : m_children) {
        delete child;
    }
    m_children.Clear();
}

std::uint32_t MonolithTreeDirectory::Depth() const {
    std::uint32_t depth = 1;
    for (const MonolithTreeDirectory* above = m_parent; above != nullptr; above = above->m_parent) {
        ++depth;
    }
    return depth;
}

bool MonolithTreeDirectory::Read(Stream& stream) {
    MonolithTreeEntry::Read(stream);
    std::uint32_t count = 0;
    stream.ReadU32(count);
    const bool mayHoldDirectories = Depth() < kMaxTreeDepth;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint16_t tag = 0;
        if (stream.ReadU16(tag) == 0) {
            return false;
        }
        MonolithTreeEntry* child = nullptr;
        if (tag == kDirectoryTag && mayHoldDirectories) {
            child = new MonolithTreeDirectory(m_treeChunk, this);
        } else if (tag == kFileTag) {
            child = new MonolithTreeFile(m_treeChunk, this);
        } else {
            return false;
        }
        if (!child->Read(stream)) {
            delete child;
            return false;
        }
        m_children.PushBack(child);
    }
    return true;
}

bool MonolithTreeDirectory::Write(Stream& stream) {
    stream.WriteU16(kDirectoryTag);
    MonolithTreeEntry::Write(stream);
    stream.WriteU32(ChildCount());
    for (MonolithTreeEntry* child : m_children) {
        if (child == nullptr || !child->Write(stream)) {
            return false;
        }
    }
    return true;
}

std::uint64_t MonolithTreeDirectory::RecordSize() const {
    std::uint64_t size = MonolithTreeEntry::RecordSize() + 4;
    for (const MonolithTreeEntry* child : m_children) {
        if (child != nullptr) {
            size = SaturatingAdd(size, child->RecordSize());
        }
    }
    return size;
}

bool MonolithTreeDirectory::FindDirectory(const String& name, std::uint32_t& index,
                                          MonolithTreeDirectory*& found) const {
    std::uint32_t position = 0;
    for (MonolithTreeEntry* child : m_children) {
        auto* directory = dynamic_cast<MonolithTreeDirectory*>(child);
        if (directory != nullptr && directory->m_name.Compare(name) == 0) {
            index = position;
            found = directory;
            return true;
        }
        ++position;
    }
    return false;
}

bool MonolithTreeDirectory::FindFile(const String& name, std::uint32_t& index,
                                     MonolithTreeFile*& found) const {
    std::uint32_t position = 0;
    for (MonolithTreeEntry* child : m_children) {
        auto* file = dynamic_cast<MonolithTreeFile*>(child);
        if (file != nullptr && file->Name().Compare(name) == 0) {
            index = position;
            found = file;
            return true;
        }
        ++position;
    }
    return false;
}

bool MonolithTreeDirectory::ContainsDirectory(const String& name) const {
    std::uint32_t index = 0;
    MonolithTreeDirectory* found = nullptr;
    return FindDirectory(name, index, found);
}

bool MonolithTreeDirectory::ContainsFile(const String& name) const {
    std::uint32_t index = 0;
    MonolithTreeFile* found = nullptr;
    return FindFile(name, index, found);
}

bool MonolithTreeDirectory::AddDirectory(const String& name) {
    auto* directory = new MonolithTreeDirectory(m_treeChunk, this);
    directory->m_attributes = kNewEntryAttributes;
    directory->m_name = name;
    directory->m_chunkSize = kChunkHeaderSize;
    m_children.PushBack(directory);
    return RecomputeSizes();
}

bool MonolithTreeDirectory::AddFile(const String& name) {
    auto* file = new MonolithTreeFile(m_treeChunk, this);
    file->SetAttributes(kNewEntryAttributes);
    file->SetName(name);
    file->SetChunkSize(kChunkHeaderSize);
    m_children.PushBack(file);
    return RecomputeSizes();
}

std::uint64_t MonolithTreeDirectory::ChildrenSize() const {
    std::uint64_t sum = 0;
    for (const MonolithTreeEntry* child : m_children) {
        if (child != nullptr) {
            sum = SaturatingAdd(sum, child->ChunkSize());
        }
    }
    return sum;
}

std::uint64_t MonolithTreeDirectory::ChildOffset(std::uint32_t index) const {
    if (index > m_children.Size()) {
        return kMax;
    }
    std::uint64_t offset = 0;
    std::uint32_t position = 0;
    for (auto it = m_children.Begin(); position < index; ++it, ++position) {
        if (*it != nullptr) {
            offset = SaturatingAdd(offset, (*it)->ChunkSize());
        }
    }
    return offset;
}

bool MonolithTreeDirectory::RecomputeSizes() {
    for (MonolithTreeDirectory* directory = this; directory != nullptr; directory = directory->m_parent) {
        directory->m_chunkSize = SaturatingAdd(kChunkHeaderSize, directory->ChildrenSize());
    }
    return true;
}

std::uint32_t MonolithTreeDirectory::List(const String& pattern, BasicList<Descriptor*>& out,
                                          const StorageFlags& access) const {
    std::uint32_t listed = 0;
    for (const MonolithTreeEntry* child : m_children) {
        if (child == nullptr || !MatchPattern(child->Name(), pattern)) {
            continue;
        }
        auto* descriptor = new Descriptor;
        descriptor->m_name = child->Name();
        if (const auto* file = dynamic_cast<const MonolithTreeFile*>(child)) {
            descriptor->m_creationTime = file->Time(0);
            descriptor->m_lastWriteTime = file->Time(1);
            descriptor->m_lastAccessTime = file->Time(2);
            descriptor->m_size = file->ContentSize();
        } else {
            descriptor->m_flags.m_directory = 1;
        }
        const std::uint32_t attributes = child->Attributes();
        descriptor->m_flags.m_readable = (attributes & kReadable) != 0 && access.m_readable != 0;
        descriptor->m_flags.m_writeable = (attributes & kWriteable) != 0 && access.m_writeable != 0;
        descriptor->m_flags.m_deletable = (attributes & kDeletable) != 0 && access.m_writeable != 0;
        descriptor->m_flags.m_archive = (attributes & kArchive) != 0;
        descriptor->m_flags.m_hidden = (attributes & kHidden) != 0;
        out.PushBack(descriptor);
        ++listed;
    }
    return listed;
}

bool MonolithTreeDirectory::RemoveChild(MonolithTreeEntry* entry) {
    for (auto it = m_children.Begin(); it != m_children.End(); ++it) {
        if (*it == entry) {
            m_children.Erase(it);
            delete entry;
            return true;
        }
    }
    return false;
}

bool MonolithTreeDirectory::MatchPattern(const String& name, const String& pattern) {
    const std::uint32_t shorter = std::min(name.Length(), pattern.Length());
    const char* nameText = name.CStr();
    const char* patternText = pattern.CStr();
    for (std::uint32_t i = 0; i < shorter; ++i) {
        if (patternText[i] == '*') {
            return true;
        }
        if (patternText[i] != '?' && patternText[i] != nameText[i]) {
            return false;
        }
    }
    if (name.Length() > shorter) {
        return false;
    }
    return pattern.Length() == shorter || patternText[shorter] == '*';
}

} // namespace Vemo
