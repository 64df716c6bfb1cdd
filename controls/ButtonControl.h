// The title's push button (class word "ButtonControl"). It shows one of four looks, Up, Down, Rollover and
// Disabled, each a picture at its own offset inside the button with an optional line of text over it; an
// optional selection mask decides which pixels of its rectangle react to the mouse. It asks the cursor for a
// state on each mouse event, can flash between two looks on a timer, and announces "Pressed(n)", "Clicked"
// and "Released(n)" (and, as every control, "Enter" and "Exit").
//
// Script keys of its section: "SelectionMask", "UpBitmap", "DownBitmap", "RolloverBitmap",
// "DisabledBitmap" (a picture: image name and options), "Cursor" (items Event(State) or
// Event(State(immediate)), Event one of "Rollover", "Pressed", "Clicked", "Disabled", "Exit"), "UpFont",
// "RolloverFont", "DownFont", "DisabledFont", "Font" (for the looks without one), "Text" (a text, or a
// locale table and a key), "Horizontal" and "Vertical" (the text's alignment). Messages: "Text",
// "Vertical", "Horizontal", the five picture words, "Flash"(period, count, useRollover) and "StopFlash".
//
// Pictures are loaded only while the button is active. Every failure reports the messenger module's generic
// failure code and answers false.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "controls/ButtonLook.h"
#include "engines/graphics/GraphicSystem.h"
#include "runtime/screen/Control.h"

#include <cstdint>

class FragmentStream;
class SelectionMask;
class TextLocale;

namespace Vemo {
class Timer;
} // namespace Vemo

class ButtonControl : public Control {
public:
    enum Look : std::uint32_t {
        kLookNone = 0,
        kLookUp = 1,
        kLookDown = 2,
        kLookRollover = 3,
        kLookDisabled = 4
    };

    static constexpr unsigned kDefaultFlashPeriod = 500;
    static constexpr unsigned kDefaultFlashCount = 4;
    // Texts at least this long are always replaced, without comparing them.
    static constexpr std::uint32_t kComparedTextLength = 100;

    ButtonControl(const Vemo::String& name, Messenger* owner, Script* script);
    // Drops its looks, then the control part goes.
    ~ButtonControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    bool Configure(Control* parent, Control* after) override;
    // Flashes on.
    void Idle() override;
    // Through the selection mask, scaled from the button's size to the mask's.
    bool ContainsPoint(const Vemo::Point& local) override;
    void Draw(const Vemo::Rect& localPart) override;
    void OnEnabled() override;
    void OnDisabled() override;
    bool OnActivated() override;
    void OnDeactivated() override;
    bool Prepare() override;
    void UpdateAppearance() override;
    void OnPressed(const Vemo::Point& local, unsigned button) override;
    void OnReleased(const Vemo::Point& local, unsigned button) override;
    void OnMouseEnter(const Vemo::Point& local) override;
    void OnMouseExit(const Vemo::Point& local) override;

    virtual bool LoadSelectionMask();
    // Each keeps the picture's value and, while the button is active, loads it at once.
    virtual bool SetSelectionMask(const FragmentStream& spec);
    virtual bool SetUpBitmap(const FragmentStream& spec);
    virtual bool SetDownBitmap(const FragmentStream& spec);
    virtual bool SetRolloverBitmap(const FragmentStream& spec);
    virtual bool SetDisabledBitmap(const FragmentStream& spec);
    virtual void SetText(const Vemo::String& text);
    virtual bool SetTextFromLocale(TextLocale& locale, const Vemo::String& key);
    virtual bool SetTextFromLocaleName(const Fragment& localeName, const Vemo::String& key);
    virtual bool SetUpFont(const Vemo::String& name);
    virtual bool SetRolloverFont(const Vemo::String& name);
    virtual bool SetDownFont(const Vemo::String& name);
    virtual bool SetDisabledFont(const Vemo::String& name);
    virtual bool SetHorizontalAlignmentByName(const Vemo::String& word);
    virtual bool SetHorizontalAlignment(Vemo::GraphicSystem::HorizontalAlignment alignment);
    virtual bool SetVerticalAlignmentByName(const Vemo::String& word);
    virtual bool SetVerticalAlignment(Vemo::GraphicSystem::VerticalAlignment alignment);
    // Drops the mask, the looks' pictures, values and fonts, and the flashing.
    virtual void ClearLooks();
    // Alternates the Up look with the Rollover (or Down) look every period milliseconds, count times (0:
    // until StopFlash).
    virtual bool Flash(unsigned period, unsigned count, bool useRollover);
    virtual void StopFlash();
    // Loads the pictures not loaded yet.
    virtual bool LoadLooks();
    // Frees the pictures; their values, the fonts and the text stay.
    virtual bool ReleaseLooks();
    virtual void OnClicked(const Vemo::Point& local, unsigned button);
    // One item of the "Cursor" key.
    virtual bool ReadCursorKey(const Fragment& item);

    static const Vemo::String& ClassWord();
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);

    std::uint32_t GetLook() const { return m_look; }
    const ButtonLook& GetLookRecord(Look look) const;
    const Vemo::String& GetText() const { return m_text; }
    SelectionMask* GetSelectionMask() const { return m_selectionMask; }
    Vemo::GraphicSystem::HorizontalAlignment GetHorizontalAlignment() const { return m_horizontal; }
    Vemo::GraphicSystem::VerticalAlignment GetVerticalAlignment() const { return m_vertical; }
    bool IsFlashing() const { return m_flashTimer != nullptr; }
    bool GetFlashPhase() const { return m_flashPhase != 0; }
    std::uint32_t GetFlashCount() const { return m_flashCount; }
    // The cursor wishes of the five events: "Rollover", "Pressed", "Clicked", "Disabled", "Exit".
    const CursorInfo& GetCursorWish(unsigned event) const;

private:
    ButtonLook& LookRecord(Look look);
    bool SetLookBitmap(Look look, const FragmentStream& spec);
    bool LoadLook(ButtonLook& look);
    bool SetLookFont(Look look, const Vemo::String& name);
    // Invalidates the button while it is shown.
    void Redraw();
    // A wish at once or queued; reported when it cannot be made.
    bool ApplyCursorWish(const CursorInfo& wish, bool flush);
    bool ReadKeys();

    std::uint32_t m_look = kLookUp;
    Vemo::String m_text;
    Vemo::GraphicSystem::HorizontalAlignment m_horizontal = Vemo::GraphicSystem::HorizontalAlignment::Center;
    Vemo::GraphicSystem::VerticalAlignment m_vertical = Vemo::GraphicSystem::VerticalAlignment::Center;
    SelectionMask* m_selectionMask = nullptr;
    Vemo::BasicArray<Fragment> m_selectionMaskSpec;
    ButtonLook m_up;
    ButtonLook m_down;
    ButtonLook m_rollover;
    ButtonLook m_disabled;
    CursorInfo m_rolloverCursor{2, 0};
    CursorInfo m_pressedCursor{3, 0};
    CursorInfo m_clickedCursor{2, 0};
    CursorInfo m_exitCursor{1, 0};
    CursorInfo m_disabledCursor{1, 0};
    Vemo::Timer* m_flashTimer = nullptr;
    std::uint8_t m_flashPhase = 0;
    std::uint32_t m_flashCount = 0;
    std::uint8_t m_flashUsesRollover = 1;
};
