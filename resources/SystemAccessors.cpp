#include "resources/SystemAccessors.h"

#include "resources/ApplicationSystems.h"

namespace Vemo {

namespace {

template <class System>
System* CurrentSystem(System* ApplicationSystems::*field) {
    ApplicationSystems* systems = ApplicationSystems::Current();
    return systems != nullptr ? systems->*field : nullptr;
}

} // namespace

ResourceSystem* GetResourceSystem() {
    return CurrentSystem(&ApplicationSystems::m_resourceSystem);
}
ErrorSystem* GetErrorSystem() {
    return CurrentSystem(&ApplicationSystems::m_errorSystem);
}
FontSystem* GetFontSystem() {
    return CurrentSystem(&ApplicationSystems::m_fontSystem);
}
GraphicSystem* GetGraphicSystem() {
    return CurrentSystem(&ApplicationSystems::m_graphicSystem);
}
ImageSystem* GetImageSystem() {
    return CurrentSystem(&ApplicationSystems::m_imageSystem);
}
InputDeviceSystem* GetInputDeviceSystem() {
    return CurrentSystem(&ApplicationSystems::m_inputDeviceSystem);
}
MovieSystem* GetMovieSystem() {
    return CurrentSystem(&ApplicationSystems::m_movieSystem);
}
SoundSystem* GetSoundSystem() {
    return CurrentSystem(&ApplicationSystems::m_soundSystem);
}
StorageSystem* GetStorageSystem() {
    return CurrentSystem(&ApplicationSystems::m_storageSystem);
}
TimerSystem* GetTimerSystem() {
    return CurrentSystem(&ApplicationSystems::m_timerSystem);
}

} // namespace Vemo
