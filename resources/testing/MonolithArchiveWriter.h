// Writes a Monolith archive for a test through the archive engine's own writing code, so that a test can give
// its entries names that no archive tool would make (names holding "\" or "..", say) and see what the program
// does with them. The current application's storage system must hold the Win32 and Monolith engines.
//
//     WriteMonolithArchive(title, "Saver", {{{"Savers", "..\\outside.txt"}, "data"}, {{"Empty"}, {}, true}});
#pragma once

#include "foundation/String.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/Volume.h"

#include <memory>
#include <string>
#include <vector>

namespace VemoTest {

struct ArchiveEntry {
    // The names from the archive's root down to the entry, taken as they are.
    std::vector<std::string> m_path;
    std::string m_content;
    bool m_directory = false;
};

// Creates, or adds to, the archive name (".qib" added) in the folder; false when any step fails.
inline bool WriteMonolithArchive(const Vemo::Directory& folder, const char* name,
                                 const std::vector<ArchiveEntry>& entries) {
    const Vemo::String archiveName(name);
    Vemo::Volume archive;
    Vemo::Directory root;
    if (!archive.Open(&archiveName, &folder, true) || !root.OpenRoot(archive)) {
        return false;
    }
    for (const ArchiveEntry& entry : entries) {
        // Each folder on the way holds the next; all of them stay open until the entry is written.
        std::vector<std::unique_ptr<Vemo::Directory>> folders;
        const Vemo::Directory* parent = &root;
        const std::size_t folderCount = entry.m_path.size() - (entry.m_directory ? 0 : 1);
        for (std::size_t i = 0; i < folderCount; ++i) {
            const Vemo::String part(entry.m_path[i].c_str());
            folders.push_back(std::make_unique<Vemo::Directory>());
            if (!folders.back()->Create(&part, *parent, true)) {
                return false;
            }
            parent = folders.back().get();
        }
        if (entry.m_directory) {
            continue;
        }
        const Vemo::String fileName(entry.m_path.back().c_str());
        const Vemo::AccessStyle readWrite(true, true, false, false);
        Vemo::File file;
        if (!file.Open(&fileName, *parent, &readWrite, true) || !file.SetSize(entry.m_content.size())) {
            return false;
        }
        if (entry.m_content.empty()) {
            continue;
        }
        Vemo::AccessStatus* written = file.WriteAt(0, entry.m_content.size(), entry.m_content.data());
        const bool complete = written != nullptr && written->m_status == Vemo::AccessStatus::kDone;
        if (written != nullptr) {
            written->Release();
        }
        if (!complete) {
            return false;
        }
    }
    return true;
}

} // namespace VemoTest
