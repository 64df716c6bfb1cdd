// A machine for programs that run the image family on real files (fuzz targets, benchmarks): the temporary
// drive C: (HD0) of TemporaryDriveStorage, and beside its storage a Graphic System with the tests' memory
// graphic engine and an Image System with the standard image engine, all current for the rest of the process.
// One a process, kept for the whole run; nothing is shut down.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/testing/MemoryGraphicEngine.h"
#include "engines/image/ImageSystem.h"
#include "engines/image/StandardImageEngine.h"
#include "resources/ApplicationSystems.h"
#include "resources/SystemAccessors.h"
#include "resources/storage/Path.h"
#include "resources/testing/TemporaryDriveStorage.h"

#include <string>

class ImageDriveSession : public TemporaryDriveStorage {
public:
    explicit ImageDriveSession(const std::string& folderPrefix) : TemporaryDriveStorage(folderPrefix) {
        m_systems.m_storageSystem = Vemo::GetStorageSystem();
        Vemo::ApplicationSystems::SetCurrent(&m_systems);
        m_systems.m_graphicSystem = Vemo::GraphicSystem::Create();
        m_systems.m_graphicSystem->AddEngine(VemoTest::MemoryGraphicEngine::Make());
        m_systems.m_imageSystem = Vemo::ImageSystem::Create();
        m_engine = Vemo::StandardImageEngine::Create();
        m_systems.m_imageSystem->AddEngine(m_engine);
    }

    // The path of a file in HD0's root.
    Vemo::Path PathOf(const std::string& name) {
        const Vemo::String text(name.c_str());
        return Vemo::Path(&text, &Host());
    }

    Vemo::StandardImageEngine& Engine() const { return *m_engine; }

private:
    Vemo::ApplicationSystems m_systems;
    Vemo::StandardImageEngine* m_engine = nullptr;
};
