// Installs one of the title's screen savers into the emulated Windows and tells whether it is installed and
// whether it is the active screen saver. "Select"(description) reads a description file: either an
// "Installer" program to run (with "mb", a box confirms success) or "Copy" lists of files and folders to copy
// into the Windows folder, and in both cases "Scr", the screen saver's file there, and "Thumb", a preview
// image named to the variable ScreenSaverControl/Thumb. "Install" runs the installer or copies, then makes
// the file the system's screen saver. It announces "Thumb", "Installed" and "Active", each with 1 or 0.
#pragma once

#include "controls/DesktopInstallControl.h"
#include "foundation/BasicArray.h"

#include <cstdint>

class ScreenSaverControl : public DesktopInstallControl {
public:
    ScreenSaverControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~ScreenSaverControl() override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    Vemo::String GetClassName() const override;

    // Reads the description; one that loads replaces every field of an earlier one. Ends with a state check.
    bool Select(const Fragment& descriptionName) override;
    // False when the installer cannot be found or started.
    bool Install() override;

    bool IsSelected() const { return m_selected != 0; }
    bool IsInstalled() const { return m_installed != 0; }
    bool IsActive() const { return m_active != 0; }

private:
    bool RunInstaller();
    void CopyFiles();
    // Makes the file in the Windows folder the system's screen saver and switches the screen saver on.
    void MakeCurrent();
    // Sets installed and active and announces them; nothing without a screen saver file.
    void CheckState();
    // The screen saver the system names now, as its settings give it.
    bool ReadCurrentScreenSaver(Vemo::String& out);

    std::uint32_t m_selected = 0;
    Vemo::String m_installer;
    Vemo::String m_screenSaverFile;
    Vemo::BasicArray<Vemo::BasicArray<Fragment>> m_copyLists;
    std::uint8_t m_confirm = 0;
    std::uint8_t m_installed = 0;
    std::uint8_t m_active = 0;
};
