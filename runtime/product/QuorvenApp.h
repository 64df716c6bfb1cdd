// The product's application: Quorven, titled "Quorven ZUT Plexotron". It names the product's files (the
// configuration "Quorven.ini", the locale "Quorven.loc", the user settings "User.ini"), recognises the
// product's data disc by an "ident" text that begins "Quorven," in any case, and keeps a list of controls
// that belong to no state and are stepped once per application step.
//
// The program holds one object of this class, a static global made before WinMain runs.
#pragma once

#include "foundation/BasicList.h"
#include "runtime/application/Win32DXQTMultimediaApplication.h"

class Control;

class QuorvenApp : public Win32DXQTMultimediaApplication {
public:
    static const char* const kApplicationName;
    static const char* const kIdentPrefix;

    QuorvenApp();
    // Forgets the list; the controls are OnShutdown's to delete.
    ~QuorvenApp() override;

    Vemo::String GetClassName() const override;
    const Vemo::String& GetConfigFileName() const override;
    const Vemo::String& GetLocaleFileName() const override;
    // Whether the text begins with "Quorven," in any case.
    bool MatchIdent(const Vemo::String& ident) override;

    // The multimedia application's step, then every product control's Idle.
    void Step() override;
    // The engine world and the multimedia application, then the user settings ("User.ini" in the user
    // path, created when missing), which must open; a viewport without a root control fails too. Then the
    // product's sound controls, which belong to no state: "AmbientSound", "RolloverSound" and "VOSound".
    bool OnStartup() override;
    // Saves and closes the user settings and deletes the product controls before the engine world goes.
    bool OnShutdown() override;

    const Vemo::BasicList<Control*>& GetProductControls() const { return m_productControls; }

    static const Vemo::String& UserSettingsName();

private:
    // Makes the control of the class (no script, the application its owner), configures it under the
    // viewport's root, registers it by name, makes it transparent and keeps it in the product list.
    bool AddProductControl(const char* classWord, const char* name);

    Vemo::BasicList<Control*> m_productControls;
};
