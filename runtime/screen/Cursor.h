// The title's own mouse pointer, drawn by the viewport over the controls each frame and by the busy thread
// while the title is busy. Its look is one bitmap holding a grid of 26 x 26 cells; it shows one cell at a
// time, animated at a fixed frame rate. Controls ask for named states ("Clickable" over a button, "Grab"
// while dragging...); the cursor does not jump between states but plays the transition animations of a fixed
// table, and finishes a running animation before it changes.
//
// States 0 to 22 have names (0 "None" shows nothing, 22 "Count" is the busy animation); 25 to 52 are the
// transition animations between them.
//
// Used on the main thread while a frame is drawn and from the busy thread; both hold the viewport's lock.
#pragma once

#include "engines/timing/Timer.h"
#include "foundation/BasicArray.h"
#include "foundation/BasicDeque.h"
#include "foundation/BasicSet.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "script/Fragment.h"

#include <cstdint>

class Bitmap;
class MessengerViewport;

namespace Vemo {
class Graphic;
} // namespace Vemo

class Cursor {
public:
    enum State : std::uint32_t {
        kNone = 0,
        kPointer = 1,
        kClickable = 2,
        kClicked = 3,
        kGrabable = 4,
        kGrab = 5,
        kRelease = 6,
        kDrop = 7,
        kPickPoint = 8,
        kPickedPoint = 9,
        kReleasedPoint = 10,
        kFadeIn = 19,
        kFadeOut = 20,
        kThumbsUp = 21,
        kCount = 22,
    };
    // States above this one have no name and cannot be asked for.
    static constexpr std::uint32_t kLastNamedState = kCount;
    static constexpr std::int32_t kCellSize = 26;
    static constexpr std::uint32_t kDefaultFramePeriod = 25;

    struct NameId {
        Vemo::String name;
        std::uint32_t state = 0;
    };
    struct NameIdLess {
        bool operator()(const NameId& a, const NameId& b) const;
    };

    explicit Cursor(MessengerViewport* viewport);
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;
    virtual ~Cursor();

    // The cell grid from a bitmap value, in the viewport's pixel format, and the frame rate. False (without
    // a report of its own) for 0 frames a second or a bitmap or timer that cannot be made.
    bool Configure(const Vemo::BasicArray<Fragment>& value, unsigned framesPerSecond);
    // Advances the animation by at most one frame when a frame period has passed, then draws the cell at the
    // pointer onto target (null: the viewport's drawing buffer); drawn is the area drawn, empty when the
    // cursor is hidden.
    void Draw(Vemo::Rect& drawn, Vemo::Graphic* target = nullptr);
    // Draw onto the viewport's drawing buffer in its two halves, for a frame that looks between them whether
    // the cursor has to be drawn again at all: the animation's advance, then the drawing.
    void Advance();
    void DrawAdvanced(Vemo::Rect& drawn);
    // Whether drawing onto the viewport's buffer now would put there just what the last such drawing did: the
    // same cell of the same bitmap at the same place.
    bool DrawsAsLastTime();
    void SetPosition(const Vemo::Point& position) { m_position = position; }
    // At once; states above 22 are ignored.
    void SetState(unsigned state);
    // Through the transition animations; flush forgets the states asked for before. Asking for any state
    // wakes a hidden cursor.
    void QueueState(unsigned state, bool flush);
    // The number of a state name in any case, -1 when there is none.
    std::int32_t FindState(const Vemo::String& name) const;
    // Makes the bitmap again from its value, for the viewport's current pixel format.
    bool ReloadBitmap();
    void ClearQueue();

    std::uint32_t GetState() const { return m_state; }
    std::int32_t GetTarget() const { return m_target; }
    std::int32_t GetFrame() const { return m_frame; }
    // Column and row of the cell shown.
    Vemo::Point GetCell() const {
        return Vemo::Point(static_cast<std::int32_t>(m_cell[0]), static_cast<std::int32_t>(m_cell[1]));
    }
    const Vemo::Point& GetPosition() const { return m_position; }
    const Vemo::BasicDeque<unsigned>& GetQueue() const { return m_queue; }
    std::uint32_t GetFramePeriod() const { return m_framePeriod; }
    Bitmap* GetBitmap() const { return m_bitmap; }

    // The number of frames of a state's animation, 0 for a state without one.
    static std::int32_t FrameCount(std::uint32_t state);

private:
    // One frame of the animation.
    void Step();
    // Moves from the current state towards the target, once its animation allows.
    void Transition();
    // state starts at frame 0; state 0 shows nothing.
    void Enter(std::uint32_t state);
    bool MakeBitmap();
    // The cell at the pointer onto target (null: the viewport's drawing buffer).
    void DrawCell(Vemo::Rect& drawn, Vemo::Graphic* target);

    MessengerViewport* m_viewport;
    Bitmap* m_bitmap = nullptr;
    Vemo::BasicArray<Fragment> m_source;
    Vemo::Timer m_timer;
    std::uint32_t m_lastStep = 0;
    std::uint32_t m_framePeriod = kDefaultFramePeriod;
    Vemo::Point m_position;
    std::uint32_t m_cell[2] = {0, 0};
    std::int32_t m_frame = 0;
    Vemo::Size m_cellSize{kCellSize, kCellSize};
    Vemo::Point m_hotSpot{4, 3};
    std::uint32_t m_state = kNone;
    std::int32_t m_target = -1;
    Vemo::BasicDeque<unsigned> m_queue;
    Vemo::BasicSet<NameId, NameIdLess> m_names;
    // What the last drawing onto the viewport's buffer put there; forgotten when the bitmap is made again.
    struct Drawn {
        bool valid = false;
        Vemo::Point at;
        Vemo::Rect area;
        std::uint32_t cell[2] = {0, 0};
    };
    Drawn m_drawnOnViewport;
};
