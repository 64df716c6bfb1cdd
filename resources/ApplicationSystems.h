// The ten System pointers of the current application object, as the System accessors read them.
//
// The framework cannot see the application classes above it, so the application object carries one of these
// (as a base or a member) and makes it current while it exists. Each pointer is null until the application
// has created that system and again once it has shut it down. The other families' systems are only named
// here; each pointer has its own family's type, so no family needs a cast to reach its system.
#pragma once

namespace Vemo {

class ResourceSystem;
class ErrorSystem;
class FontSystem;
class GraphicSystem;
class ImageSystem;
class InputDeviceSystem;
class MovieSystem;
class SoundSystem;
class StorageSystem;
class TimerSystem;

class ApplicationSystems {
public:
    ApplicationSystems() = default;
    ApplicationSystems(const ApplicationSystems&) = delete;
    ApplicationSystems& operator=(const ApplicationSystems&) = delete;
    // Stops being current, so that nothing reaches the systems of an application object that is gone.
    virtual ~ApplicationSystems();

    // Null while there is no application object: before it is constructed and after it is destroyed.
    static ApplicationSystems* Current();
    static void SetCurrent(ApplicationSystems* systems);

    ResourceSystem* m_resourceSystem = nullptr;
    ErrorSystem* m_errorSystem = nullptr;
    FontSystem* m_fontSystem = nullptr;
    GraphicSystem* m_graphicSystem = nullptr;
    ImageSystem* m_imageSystem = nullptr;
    InputDeviceSystem* m_inputDeviceSystem = nullptr;
    MovieSystem* m_movieSystem = nullptr;
    SoundSystem* m_soundSystem = nullptr;
    StorageSystem* m_storageSystem = nullptr;
    TimerSystem* m_timerSystem = nullptr;
};

} // namespace Vemo
