// One look of a button (Up, Down, Rollover or Disabled): its picture, the script value the picture is
// loaded from, and the font of the button's text in this look.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "runtime/fonts/Font.h"
#include "runtime/pictures/ButtonBitmap.h"
#include "script/Fragment.h"

struct ButtonLook {
    ButtonLook() = default;
    ButtonLook(const ButtonLook&) = delete;
    ButtonLook& operator=(const ButtonLook&) = delete;
    ~ButtonLook() {
        delete bitmap;
        delete font;
    }

    // Loaded only while the button is active.
    ButtonBitmap* bitmap = nullptr;
    Vemo::BasicArray<Fragment> bitmapSpec;
    // Loaded when it is set while the button has a manager.
    Font* font = nullptr;
    // Empty: no text in this look.
    Vemo::String fontName;
};
