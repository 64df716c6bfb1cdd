// The one way the engine layer reaches each family's system: through the current application object. Each
// accessor gives null when the application has no such system, and also when there is no application object
// at all (static initialisers and exit-time destructors may report errors then).
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

ResourceSystem* GetResourceSystem();
ErrorSystem* GetErrorSystem();
FontSystem* GetFontSystem();
GraphicSystem* GetGraphicSystem();
ImageSystem* GetImageSystem();
InputDeviceSystem* GetInputDeviceSystem();
MovieSystem* GetMovieSystem();
SoundSystem* GetSoundSystem();
StorageSystem* GetStorageSystem();
TimerSystem* GetTimerSystem();

} // namespace Vemo
