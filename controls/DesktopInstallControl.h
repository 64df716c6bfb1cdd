// The base of the controls that install something of the title's into the Windows folder and make it part of
// the desktop (the screen saver and the wallpaper): "Select"(description) and "Install" as messages, and what
// both need: the Windows folder, the description files, the messages they announce, the title's window
// stepping aside and coming back, and the comparison of paths by their short form.
#pragma once

#include "foundation/String.h"
#include "runtime/screen/Control.h"

class Fragment;
class Script;

namespace Vemo {
class Directory;
}

class DesktopInstallControl : public Control {
public:
    DesktopInstallControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~DesktopInstallControl() override;

    // "Select" with a description name (refused without one) and "Install"; other words are the Control's.
    bool HandleMessage(const Fragment& message, Messenger* sender) override;

    // Reads the description file the name finds and announces the state of what it describes.
    virtual bool Select(const Fragment& descriptionName) = 0;
    virtual bool Install() = 0;

protected:
    // The Windows folder's path, ending in a backslash; false when there is none.
    static bool WindowsDirectoryText(Vemo::String& out);
    static bool OpenWindowsDirectory(Vemo::Directory& out);
    // Whether the Windows folder holds a file of that name.
    static bool WindowsDirectoryContains(const Vemo::String& name);
    // The description file the name finds through the application's search order, loaded into out; false
    // when it is not found or does not load.
    static bool LoadDescription(const Fragment& name, Script& out);
    // A value of the description's keys before its first section, read as text; false when missing.
    static bool ReadDescriptionText(Script& description, const char* key, Vemo::String& out);
    // The description's "Thumb" goes into the variable section/Thumb and "Thumb(1)" is announced; without
    // one, "Thumb(0)".
    void AnnounceThumb(Script& description, const char* section);
    // Announces "word(1)" or "word(0)".
    void Announce(const char* word, bool flag);
    // The desktop comes to the front, above the title's window.
    static void BringDesktopForward();
    // The title's window is restored and comes back to the front.
    static void RestoreTitleWindow();
    // Whether both paths exist and their short forms are the same, without regard to case.
    static bool SameShortPath(const Vemo::String& first, const Vemo::String& second);
};
