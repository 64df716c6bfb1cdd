// A machine for programs that exercise storage on real files (fuzz targets, benchmarks): its one fixed drive
// C: (the volume HD0) is a fresh temporary folder, removed at exit, and the current application's storage
// system holds the Win32 and Monolith engines. One a process, kept for the whole run; it aborts when HD0's
// root cannot be opened.
#pragma once

#include "platform/win32/files/DriveTable.h"
#include "resources/ApplicationSystems.h"
#include "resources/archive/MonolithStorageEngine.h"
#include "resources/storage/Directory.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/Volume.h"
#include "resources/storage/win32/Win32StorageEngine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

class TemporaryDriveStorage {
public:
    // folderPrefix begins the temporary folder's name.
    explicit TemporaryDriveStorage(const std::string& folderPrefix) {
        std::random_device random;
        m_folder = std::filesystem::temp_directory_path() / (folderPrefix + std::to_string(random()));
        std::filesystem::create_directories(m_folder);
        s_folder = m_folder;
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(s_folder, error);
        });
        win32::DriveTable table;
        table.Add(win32::DriveEntry{'C', m_folder.string(), win32::DRIVE_FIXED, {}, {}});
        win32::seam::InstallDriveTable(std::make_shared<const win32::DriveTable>(std::move(table)));

        Vemo::ApplicationSystems::SetCurrent(&m_systems);
        Vemo::StorageSystem* system = Vemo::StorageSystem::Create();
        m_systems.m_storageSystem = system;
        system->AddEngine(Vemo::Win32StorageEngine::Create());
        system->AddEngine(Vemo::MonolithStorageEngine::Create());
        const Vemo::String drive("HD0");
        if (!m_volume.Open(&drive, nullptr, false) || !m_host.OpenRoot(m_volume)) {
            std::abort();
        }
    }
    TemporaryDriveStorage(const TemporaryDriveStorage&) = delete;
    TemporaryDriveStorage& operator=(const TemporaryDriveStorage&) = delete;

    // The root directory of HD0.
    Vemo::Directory& Host() { return m_host; }

    // Writes a file of the folder directly on the host, replacing one of that name.
    void WriteFile(const std::string& name, const std::uint8_t* data, std::size_t size) const {
        std::ofstream out(m_folder / name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

private:
    static inline std::filesystem::path s_folder;
    std::filesystem::path m_folder;
    Vemo::ApplicationSystems m_systems;
    Vemo::Volume m_volume;
    Vemo::Directory m_host;
};
