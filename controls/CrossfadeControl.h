// A control that shows a blend of two bitmaps, "BitmapA" and "BitmapB", at a level from 0 (all A) to 255
// (all B), and can move the level from one value to another over a time, announcing the end with "AtEnd".
// The blend is the viewport's cross-fade. Without both pictures the control paints black; a side whose
// picture failed to load counts as missing until a later load of it succeeds; Prepare tries it again.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/timing/Timer.h"
#include "foundation/BasicArray.h"
#include "runtime/screen/Control.h"
#include "script/Fragment.h"

#include <cstdint>

class Bitmap;
class FragmentStream;

class CrossfadeControl : public Control {
public:
    CrossfadeControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~CrossfadeControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    bool Configure(Control* parent, Control* after) override;
    void Idle() override;
    void Draw(const Vemo::Rect& localPart) override;
    void OnEnabled() override;
    void OnDisabled() override;
    bool Prepare() override;
    void OnMouseEnter(const Vemo::Point& local) override;
    void OnMouseExit(const Vemo::Point& local) override;

    // Deletes both bitmaps; the descriptions stay.
    virtual bool Clear();
    virtual bool SetBitmapSpec(bool isA, const FragmentStream& spec);
    virtual bool SetLevel(unsigned level);
    // A duration of 0 sets the level to `to` at once and announces the end.
    virtual bool FadeFromTo(unsigned from, unsigned to, unsigned duration);
    virtual bool FadeTo(unsigned to, unsigned duration);
    virtual bool LoadBitmap(bool isA, const FragmentStream& spec);

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    unsigned GetLevel() const { return m_level; }

private:
    Bitmap*& Side(bool isA) { return isA ? m_bitmapA : m_bitmapB; }
    std::uint8_t& Failed(bool isA) { return isA ? m_failedA : m_failedB; }
    void PointerIfInside();
    void InvalidateWhenShown();

    Bitmap* m_bitmapA = nullptr;
    Vemo::BasicArray<Fragment> m_specA;
    Bitmap* m_bitmapB = nullptr;
    Vemo::BasicArray<Fragment> m_specB;
    std::uint32_t m_level = 0;
    std::uint32_t m_fadeFrom = 0;
    std::uint32_t m_fadeTo = 0;
    std::uint32_t m_fadeDuration = 0;
    Vemo::Timer m_fadeTimer;
    // A side whose last load failed: drawn as missing, loaded again by Prepare.
    std::uint8_t m_failedA = 0;
    std::uint8_t m_failedB = 0;
};
