// A control that shows one bitmap stretched over its whole rectangle, or paints its rectangle black without
// one. The script key "Bitmap" and the message "Bitmap" name the picture (image name and options); "Clear"
// forgets it. The control keeps the picture's description and holds the bitmap only while it is active. A
// bitmap with a transparent colour makes the control transparent, and its transparent pixels are then no
// part of the control for the mouse.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "foundation/BasicArray.h"
#include "runtime/screen/Control.h"
#include "script/Fragment.h"

#include <cstdint>

class Bitmap;
class FragmentStream;

class ImageControl : public Control {
public:
    ImageControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~ImageControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    bool Configure(Control* parent, Control* after) override;
    bool ContainsPoint(const Vemo::Point& local) override;
    void Draw(const Vemo::Rect& localPart) override;
    void OnEnabled() override;
    void OnDisabled() override;
    bool OnActivated() override;
    void OnDeactivated() override;
    bool Prepare() override;
    void OnMouseEnter(const Vemo::Point& local) override;
    void OnMouseExit(const Vemo::Point& local) override;

    // Deletes the bitmap and forgets its description.
    virtual bool Clear();
    // Loads the described bitmap when there is none; a control of size -1 by -1 takes the bitmap's size.
    virtual bool LoadFromSpec();
    // A new picture, placed at position (the current one when null) and sized to size (when null: the
    // bitmap's size, or -1 by -1 until an inactive control loads it).
    virtual bool SetBitmap(const FragmentStream& spec, const Vemo::Point* position, const Vemo::Size* size);
    virtual bool LoadBitmap(const FragmentStream& spec);
    // Deletes the bitmap; the description stays.
    virtual void ReleaseBitmap();

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    Bitmap* GetBitmap() const { return m_bitmap; }

protected:
    void PointerIfInside();
    void InvalidateWhenShown(const Vemo::Rect* part);

private:
    Bitmap* m_bitmap = nullptr;
    Vemo::BasicArray<Fragment> m_bitmapSpec;
    std::uint32_t m_transparentPixel = 0;
};
