// Makes one of the title's pictures the wallpaper of the emulated desktop. "Select"(description) reads a
// description file of "Paper" sizes (width, height, colour depth, file name) and picks the largest that fits
// the current display mode; "Thumb" names a preview image to the variable WallpaperControl/Thumb. "Install"
// copies the picture into the Windows folder and makes it the wallpaper, through the shell's Active Desktop
// object when there is one and through the desktop settings otherwise. It announces "Thumb", "Installed" and
// "Active", each with 1 or 0.
#pragma once

#include "controls/DesktopInstallControl.h"
#include "resources/storage/Path.h"

#include <cstdint>

namespace com {
class IActiveDesktop;
}

class WallpaperControl : public DesktopInstallControl {
public:
    // Starts COM for the control's life and asks it for the Active Desktop object.
    WallpaperControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~WallpaperControl() override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    Vemo::String GetClassName() const override;

    // Chooses for the display mode of this moment and announces the state; a description that does not load
    // or offers no fitting size leaves nothing chosen, and so does a picture whose name is no name of one
    // entry of the Windows folder (reported with StorageEngineErrBadName).
    bool Select(const Fragment& descriptionName) override;
    bool Install() override;

    bool HasActiveDesktop() const { return m_activeDesktop != nullptr; }
    bool IsInstalled() const { return m_installed != 0; }
    bool IsActive() const { return m_active != 0; }

private:
    // The destination's Windows path.
    Vemo::String DestinationText() const;
    bool SetWallpaper(const Vemo::String& destination);

    Vemo::Path m_source;
    Vemo::Path m_destination;
    com::IActiveDesktop* m_activeDesktop = nullptr;
    std::uint8_t m_installed = 0;
    std::uint8_t m_active = 0;
    bool m_chosen = false;
    // COM started by the constructor and not yet undone.
    bool m_comStarted = false;
};
