// Support for the storage tests: an application with a Storage System (and the Win32 engine unless asked for
// none), a small in-memory storage engine for behaviours that need a fault provoked, and helpers for the path
// texts and files of temporary drives.
//
//     win32::testing::TemporaryDrives drives({{'C', win32::DRIVE_FIXED}, {'D', win32::DRIVE_CDROM}});
//     StorageApplication application;
//     Vemo::Path path;
//     ASSERT_TRUE(path.Parse(Vemo::String("HD0:/data/readme.txt")));
#pragma once

#include "foundation/String.h"
#include "platform/testing/Drives.h"
#include "platform/testing/WindowsVersion.h"
#include "resources/hooks/Win32EngineHook.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/Directory.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/File.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageEngine.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/Volume.h"
#include "resources/storage/VolumeHandle.h"
#include "resources/storage/win32/Win32StorageEngine.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace VemoTest {

// The application of the storage tests: the test application's error recording, and a Storage System.
class StorageApplication : public TestApplication {
public:
    enum class Engines { kWin32, kNone };

    explicit StorageApplication(Engines engines = Engines::kWin32) {
        m_storageSystem = Vemo::StorageSystem::Create();
        if (engines == Engines::kWin32) {
            m_win32 = Vemo::Win32StorageEngine::Create();
            m_storageSystem->AddEngine(m_win32);
        }
    }

    ~StorageApplication() override { ShutdownStorage(); }

    void ShutdownStorage() {
        if (m_storageSystem != nullptr) {
            m_storageSystem->Shutdown();
            m_storageSystem = nullptr;
            m_win32 = nullptr;
        }
    }

    Vemo::StorageSystem* Storage() const { return m_storageSystem; }
    Vemo::Win32StorageEngine* Win32() const { return m_win32; }

private:
    Vemo::Win32StorageEngine* m_win32 = nullptr;
};

// Makes the emulated machine an NT or a 9x one, and sets the platform flag as the Win32 engine hook's
// start-up would, for the object's life.
class ScopedWindowsFamily {
public:
    explicit ScopedWindowsFamily(bool nt)
        : m_version(nt ? win32::seam::WindowsFamily::NT : win32::seam::WindowsFamily::Windows9x),
          m_previous(Vemo::Win32PlatformIsNT) {
        Vemo::Win32PlatformIsNT = nt;
    }
    ~ScopedWindowsFamily() { Vemo::Win32PlatformIsNT = m_previous; }
    ScopedWindowsFamily(const ScopedWindowsFamily&) = delete;
    ScopedWindowsFamily& operator=(const ScopedWindowsFamily&) = delete;

private:
    platform::testing::WindowsVersionOverride m_version;
    bool m_previous;
};

inline std::string ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void WriteHostFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

// The bytes of a finished read, and the record handed back.
inline std::string TakeBytes(Vemo::AccessStatus* record) {
    if (record == nullptr) {
        return "<null>";
    }
    std::string bytes(static_cast<const char*>(record->m_buffer), record->m_count);
    record->Release();
    return bytes;
}

inline std::vector<std::string> Names(Vemo::BasicList<Vemo::Descriptor*>& entries) {
    std::vector<std::string> names;
    for (Vemo::Descriptor* entry : entries) {
        names.push_back(entry->m_name.CStr());
        delete entry;
    }
    entries.Clear();
    std::sort(names.begin(), names.end());
    return names;
}

// Tests on temporary drives: C: fixed (HD0), D: a CD-ROM (CD0), E: fixed (HD1), with the Win32 engine.
class Win32DrivesTest : public ::testing::Test {
protected:
    Win32DrivesTest()
        : m_drives({{'C', win32::DRIVE_FIXED, "SYSTEM"},
                    {'D', win32::DRIVE_CDROM, "DISC1"},
                    {'E', win32::DRIVE_FIXED}}) {}

    // A Path resolved from a path text; the reports of resolving it are dropped.
    Vemo::Path At(const char* text) {
        Vemo::Path path;
        EXPECT_TRUE(path.Parse(Vemo::String(text))) << text;
        m_application.TakeReports();
        return path;
    }

    std::string Host(char drive, const char* relative) const { return m_drives.HostPath(drive, relative); }

    // The directory the path text names, opened.
    void OpenDirectory(Vemo::Directory& directory, const char* text) {
        Vemo::Path path = At(text);
        ASSERT_TRUE(directory.Open(path, false)) << text;
        m_application.TakeReports();
    }

    void OpenFile(Vemo::File& file, const char* text, const Vemo::AccessStyle* style = nullptr) {
        Vemo::Path path = At(text);
        ASSERT_TRUE(file.Open(path, style, false)) << text;
        m_application.TakeReports();
    }

    win32::testing::TemporaryDrives m_drives;
    StorageApplication m_application;
};

// ---- An in-memory storage engine -------------------------------------------------------------------------

inline constexpr std::uint32_t kMemoryStorageId = 0x0003F001;

struct MemoryNode {
    std::string m_name;
    bool m_directory = false;
    std::vector<std::unique_ptr<MemoryNode>> m_children;
    std::string m_data;

    MemoryNode* Find(const std::string& name) {
        for (auto& child : m_children) {
            if (child->m_name == name) {
                return child.get();
            }
        }
        return nullptr;
    }

    MemoryNode* Add(const std::string& name, bool directory, const std::string& data = std::string()) {
        m_children.push_back(std::make_unique<MemoryNode>());
        MemoryNode* added = m_children.back().get();
        added->m_name = name;
        added->m_directory = directory;
        added->m_data = data;
        return added;
    }

    bool Remove(const std::string& name) {
        for (auto child = m_children.begin(); child != m_children.end(); ++child) {
            if ((*child)->m_name == name) {
                m_children.erase(child);
                return true;
            }
        }
        return false;
    }
};

inline bool MatchesPattern(const char* pattern, const char* name) {
    if (*pattern == '\0') {
        return *name == '\0';
    }
    if (*pattern == '*') {
        return MatchesPattern(pattern + 1, name) || (*name != '\0' && MatchesPattern(pattern, name + 1));
    }
    return *name != '\0' && (*pattern == '?' || *pattern == *name) && MatchesPattern(pattern + 1, name + 1);
}

class MemoryStorageEngine;

class MemoryVolumeHandle : public Vemo::VolumeHandle {
public:
    MemoryVolumeHandle(Vemo::ResourceEngine* engine, MemoryNode* root, Vemo::File* container = nullptr)
        : VolumeHandle(engine), m_root(root), m_container(container) {}

    Vemo::File* ContainerFile() override { return m_container; }

    MemoryNode* m_root;
    // A volume laid on a file, as an archive is: the File front-end it was opened on.
    Vemo::File* m_container;
};

class MemoryDirectoryHandle : public Vemo::DirectoryHandle {
public:
    MemoryDirectoryHandle(Vemo::ResourceEngine* engine, MemoryNode* node)
        : DirectoryHandle(engine), m_node(node) {}

    bool Delete(const Vemo::String& name) override { return m_node->Remove(name.CStr()); }
    bool IsEmpty() override { return m_node->m_children.empty(); }
    bool ContainsDirectory(const Vemo::String& name) override {
        MemoryNode* child = m_node->Find(name.CStr());
        return child != nullptr && child->m_directory;
    }
    bool ContainsFile(const Vemo::String& name) override {
        MemoryNode* child = m_node->Find(name.CStr());
        return child != nullptr && !child->m_directory;
    }
    std::uint32_t EntryAt(const Vemo::String& pattern, Vemo::BasicList<Vemo::Descriptor*>& list) override {
        std::uint32_t count = 0;
        for (auto& child : m_node->m_children) {
            if (MatchesPattern(pattern.CStr(), child->m_name.c_str())) {
                auto* entry = new Vemo::Descriptor;
                entry->m_name = child->m_name.c_str();
                entry->m_flags.m_directory = child->m_directory;
                entry->m_size = child->m_data.size();
                list.PushBack(entry);
                ++count;
            }
        }
        return count;
    }

    MemoryNode* m_node;
};

class MemoryFileHandle : public Vemo::FileHandle {
public:
    MemoryFileHandle(MemoryStorageEngine* engine, MemoryNode* node);

    Vemo::AccessStatus* Read(Vemo::AccessStatus* request) override;

    Vemo::AccessStatus* ReadNow(Vemo::AccessStatus* request) {
        const std::uint64_t size = m_node->m_data.size();
        const std::uint64_t start = std::min<std::uint64_t>(request->m_position, size);
        const std::uint32_t count =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(request->m_count, size - start));
        std::copy_n(m_node->m_data.data() + start, count, static_cast<char*>(request->m_buffer));
        request->m_status =
            count == request->m_count ? Vemo::AccessStatus::kDone : Vemo::AccessStatus::kPending;
        request->m_count = count;
        m_position = start + count;
        return request;
    }

    Vemo::AccessStatus* Write(Vemo::AccessStatus* request) override;

    std::uint64_t Size() override { return m_node->m_data.size(); }

    bool SetSize(std::uint64_t size) override {
        m_node->m_data.resize(size);
        return true;
    }

    MemoryNode* m_node;
    MemoryStorageEngine* m_memory;
};

// Volumes are named by the test (AddVolume); every handle is readable and writeable.
class MemoryStorageEngine : public Vemo::StorageEngine {
public:
    MemoryStorageEngine() : StorageEngine(kMemoryStorageId, "Memory Storage Engine") {}

    MemoryNode* AddVolume(const std::string& name) {
        auto& root = m_volumes[name];
        root = std::make_unique<MemoryNode>();
        root->m_directory = true;
        return root.get();
    }

    Vemo::ResourceHandle* CreateHandle(Vemo::ResourceSearchCriterion* criterion, Vemo::Resource*) override {
        auto* storage = dynamic_cast<Vemo::StorageSearchCriterion*>(criterion);
        switch (storage->m_kind) {
        case Vemo::StorageSearchCriterion::kVolume: {
            if (storage->m_containerFile != nullptr) {
                const std::string name = storage->m_containerFile->GetFileHandle()->GetName().CStr();
                auto& root = m_archives[name];
                if (root == nullptr) {
                    root = std::make_unique<MemoryNode>();
                    root->m_directory = true;
                }
                auto* volume = new MemoryVolumeHandle(this, root.get(), storage->m_containerFile);
                volume->SetNames(name.c_str(), name.c_str());
                return volume;
            }
            auto root = m_volumes.find(storage->m_name->CStr());
            if (root == m_volumes.end()) {
                return nullptr;
            }
            auto* volume = new MemoryVolumeHandle(this, root->second.get());
            volume->SetNames(*storage->m_name, *storage->m_name);
            volume->Flags().m_readable = 1;
            volume->Flags().m_writeable = 1;
            return volume;
        }
        case Vemo::StorageSearchCriterion::kDirectory: {
            MemoryNode* node = nullptr;
            if (storage->m_parentDirectory != nullptr && storage->m_name != nullptr) {
                MemoryNode* parent = static_cast<MemoryDirectoryHandle*>(storage->m_parentDirectory)->m_node;
                node = parent->Find(storage->m_name->CStr());
                if (node == nullptr && storage->m_createAllowed) {
                    node = parent->Add(storage->m_name->CStr(), true);
                } else if (node == nullptr || !node->m_directory || (!storage->m_openExistingAllowed)) {
                    return nullptr;
                }
            } else if (storage->m_sourceVolume != nullptr && !m_failRoots) {
                node = static_cast<MemoryVolumeHandle*>(storage->m_sourceVolume)->m_root;
            } else {
                return nullptr;
            }
            auto* directory = new MemoryDirectoryHandle(this, node);
            if (node->m_name.size() > 0) {
                directory->SetNames(node->m_name.c_str(), node->m_name.c_str());
            }
            directory->Flags() = Vemo::StorageFlags{1, 1, 1, 1, 0, 0};
            return directory;
        }
        case Vemo::StorageSearchCriterion::kFile: {
            Vemo::DirectoryHandle* parentHandle = storage->m_parentDirectory;
            std::string name = storage->m_name != nullptr ? storage->m_name->CStr() : "";
            if (storage->m_sourceFile != nullptr) {
                parentHandle = storage->m_sourceFile->Parent();
                name = storage->m_sourceFile->GetName().CStr();
            }
            MemoryNode* parent = static_cast<MemoryDirectoryHandle*>(parentHandle)->m_node;
            MemoryNode* node = parent->Find(name);
            if (node == nullptr && storage->m_createAllowed) {
                node = parent->Add(name, false);
            } else if (node == nullptr || node->m_directory || !storage->m_openExistingAllowed) {
                return nullptr;
            }
            auto* file = new MemoryFileHandle(this, node);
            file->SetNames(name.c_str(), name.c_str());
            file->Flags() = Vemo::StorageFlags{0, 1, 1, 1, 0, 0};
            if (storage->m_accessStyle != nullptr) {
                file->SetAccessStyle(*storage->m_accessStyle);
            }
            return file;
        }
        default:
            return nullptr;
        }
    }

    bool MatchSearchCriterion(Vemo::ResourceSearchCriterion* criterion) override {
        auto* storage = dynamic_cast<Vemo::StorageSearchCriterion*>(criterion);
        if (storage == nullptr || !StorageEngine::MatchSearchCriterion(criterion)) {
            return false;
        }
        auto mine = [this](const Vemo::ResourceHandle* handle) {
            return handle != nullptr && handle->GetEngine() == this;
        };
        switch (storage->m_kind) {
        case Vemo::StorageSearchCriterion::kVolume:
            if (storage->m_containerFile != nullptr) {
                return mine(storage->m_containerFile->GetFileHandle());
            }
            return (storage->m_name != nullptr && storage->m_containerDirectory == nullptr &&
                    m_volumes.count(storage->m_name->CStr()) > 0) ||
                   mine(storage->m_sourceVolume);
        case Vemo::StorageSearchCriterion::kDirectory:
            return mine(storage->m_parentDirectory) || mine(storage->m_sourceVolume);
        case Vemo::StorageSearchCriterion::kFile:
            return mine(storage->m_parentDirectory) || mine(storage->m_sourceFile);
        default:
            return false;
        }
    }

    std::map<std::string, std::unique_ptr<MemoryNode>> m_volumes;
    // The trees of the volumes laid on files, by the file's name.
    std::map<std::string, std::unique_ptr<MemoryNode>> m_archives;
    // The write after this many complete ones transfers only half its bytes (negative: never).
    int m_writesBeforeShort = -1;
    // No root directory can be opened.
    bool m_failRoots = false;
    int m_writes = 0;
    int m_reads = 0;
};

inline Vemo::AccessStatus* MemoryFileHandle::Read(Vemo::AccessStatus* request) {
    ++m_memory->m_reads;
    return ReadNow(request);
}

inline MemoryFileHandle::MemoryFileHandle(MemoryStorageEngine* engine, MemoryNode* node)
    : FileHandle(engine), m_node(node), m_memory(engine) {}

inline Vemo::AccessStatus* MemoryFileHandle::Write(Vemo::AccessStatus* request) {
    std::uint32_t count = request->m_count;
    if (m_memory->m_writes++ == m_memory->m_writesBeforeShort) {
        count /= 2;
    }
    std::string& data = m_node->m_data;
    if (data.size() < request->m_position + count) {
        data.resize(request->m_position + count);
    }
    std::copy_n(static_cast<const char*>(request->m_buffer), count, data.begin() + request->m_position);
    request->m_status = count == request->m_count ? Vemo::AccessStatus::kDone : Vemo::AccessStatus::kPending;
    request->m_count = count;
    m_position = request->m_position + count;
    return request;
}

} // namespace VemoTest
