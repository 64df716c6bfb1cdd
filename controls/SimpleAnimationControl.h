// An image control that plays a frame animation out of its one bitmap, a sheet of pictures: each frame names
// a rectangle of the sheet and the point of the control where it is drawn. "Start" plays the frames once at
// the rate of the "FPS" key (15 by default; the frame time is 1000 / fps milliseconds) and the control then
// announces "AtEnd", the last frame staying on screen; "Stop" ends a run without it. Frames come from the
// repeated "Frame" key (x, y, left, top, width, height) and the "AddFrame" message (x, y, left, top, right,
// bottom); a frame whose area or part of the sheet does not fit 32 bits is refused, the key failing the
// control and the message failing. The animation is decoration: it never takes the mouse.
#pragma once

#include "controls/ImageControl.h"
#include "engines/timing/Timer.h"

#include <cstdint>

class SimpleAnimationControl : public ImageControl {
public:
    struct Frame {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
    };

    static constexpr std::uint32_t kDefaultFps = 15;

    SimpleAnimationControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~SimpleAnimationControl() override;

    Vemo::String GetClassName() const override;
    // Expands nothing.
    bool ExpandAttribute(const Fragment& fragment, Vemo::BasicArray<Fragment>& out) override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    bool Configure(Control* parent, Control* after) override;
    void Idle() override;
    bool ContainsPoint(const Vemo::Point& local) override;
    void Draw(const Vemo::Rect& localPart) override;
    // The sheet's own transparent colour never makes the animation opaque: it draws one frame of its area.
    bool LoadBitmap(const FragmentStream& spec) override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

    const Vemo::BasicArray<Frame>& GetFrames() const { return m_frames; }
    std::uint32_t GetFps() const { return m_fps; }
    std::uint32_t GetCurrentFrame() const { return m_currentFrame; }
    std::uint32_t GetAnimationLength() const { return m_animationLength; }

private:
    bool Start();
    bool ReadFps();
    // The frame's area in the control.
    static Vemo::Rect AreaOf(const Frame& frame);

    Vemo::BasicArray<Frame> m_frames;
    Vemo::Timer m_timer;
    std::uint32_t m_animationLength = 0;
    std::uint32_t m_fps = kDefaultFps;
    std::uint32_t m_currentFrame = 0;
};
