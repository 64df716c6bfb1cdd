#include "runtime/screen/Cursor.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/Viewport.h"
#include "engines/timing/TimerSystem.h"
#include "runtime/pictures/Bitmap.h"
#include "runtime/screen/MessengerViewport.h"
#include "script/FragmentStream.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::uint32_t kStateCount = 53;
constexpr std::uint32_t kCopy = 3;

// The cells (column,row) each state shows in its frames 0, 1, 2, ...; 23 and 24 are not states.
const char* const kFrameCells[kStateCount] = {
    /* 0 */ "0,0",
    /* 1 */ "0,0",
    /* 2 */ "1,0 1,0 2,0 2,0 3,0 3,0 4,0 4,0 5,0 5,0 6,0 6,0 7,0 7,0 8,0 8,0 9,0 9,0",
    /* 3 */ "0,0 0,0 1,0 1,0 2,0 2,0 3,0 3,0 4,0 4,0 5,0 5,0 6,0 6,0",
    /* 4 */ "5,1 5,1 4,1 4,1 3,1 3,1 3,1 3,1 4,1 4,1 5,1 5,1",
    /* 5 */ "7,1",
    /* 6 */
    "8,1 9,1 10,1 11,1 12,1 13,1 14,1 15,1 16,1 17,1 18,1 19,1 20,1 21,1 22,1 23,1 0,2 1,2 2,2 3,2 4,2 5,2 "
    "6,2 7,2",
    /* 7 */ "8,1 9,1 10,1 11,1 12,1 13,1 14,1 15,1 16,1 16,1 15,1 14,1 13,1 12,1 11,1 10,1 9,1 8,1",
    /* 8 */ "20,0 20,0 21,0 21,0 22,0 22,0 22,0 22,0 21,0 21,0 20,0 20,0",
    /* 9 */ "22,0",
    /* 10 */ "21,0 20,0 19,0 18,0 17,0",
    /* 11 */ "16,2",
    /* 12 */ "16,2",
    /* 13 */ "8,3",
    /* 14 */ "8,3",
    /* 15 */ "9,3",
    /* 16 */ "8,3",
    /* 17 */ "23,2",
    /* 18 */ "23,2",
    /* 19 */ "8,7 9,7 10,7 11,7 12,7 13,7 14,7 15,7 16,7 17,7 18,7 19,7",
    /* 20 */ "19,7 18,7 17,7 16,7 15,7 14,7 13,7 12,7 11,7 10,7 9,7 8,7",
    /* 21 */
    "0,4 0,4 1,4 1,4 2,4 2,4 3,4 3,4 4,4 4,4 5,4 5,4 6,4 6,4 7,4 7,4 8,4 8,4 9,4 9,4 10,4 10,4 11,4 11,4",
    /* 22 */
    "0,5 1,5 2,5 3,5 4,5 5,5 6,5 7,5 8,5 9,5 10,5 11,5 12,5 13,5 14,5 15,5 16,5 17,5 18,5 19,5 20,5 21,5 "
    "22,5 23,5 0,6 1,6 2,6 3,6",
    /* 23 */ "",
    /* 24 */ "",
    /* 25 */ "0,1 1,1 2,1 3,1 4,1 5,1",
    /* 26 */ "6,1",
    /* 27 */ "0,1 1,1 7,1",
    /* 28 */ "7,1 1,1 0,1",
    /* 29 */ "4,1 3,1 2,1 1,1 0,1",
    /* 30 */ "6,1",
    /* 31 */ "17,0 18,0 19,0 20,0 21,0 22,0",
    /* 32 */ "19,0 18,0 17,0",
    /* 33 */ "21,0 20,0 19,0 18,0 17,0",
    /* 34 */ "8,2 9,2 10,2 11,2 12,2 13,2 14,2 15,2",
    /* 35 */ "15,2 14,2 13,2 12,2 11,2 10,2 9,2 8,2",
    /* 36 */ "15,2 14,2 13,2 12,2 11,2 10,2 9,2 8,2",
    /* 37 */ "0,3 1,3 2,3 3,3 4,3 5,3 6,3 7,3",
    /* 38 */ "7,3 6,3 5,3 4,3 3,3 2,3 1,3 0,3",
    /* 39 */ "7,3 6,3 5,3 4,3 3,3 2,3 1,3 0,3",
    /* 40 */ "0,3 1,3 2,3 9,3",
    /* 41 */ "9,3 2,3 1,3 0,3",
    /* 42 */ "9,3 2,3 1,3 0,3",
    /* 43 */ "8,2 9,2 10,2 11,2 12,2 13,2 18,2 19,2 20,2 21,2 22,2 23,2",
    /* 44 */ "23,2 22,2 21,2 20,2 19,2 18,2 14,2 13,2 12,2 11,2 10,2 9,2 8,2",
    /* 45 */ "23,2 22,2 21,2 20,2 19,2 18,2 14,2 13,2 12,2 11,2 10,2 9,2 8,2",
    /* 46 */ "17,4 16,4 15,4 14,4 13,4 12,4",
    /* 47 */ "12,4 13,4 14,4 15,4 16,4 17,4",
    /* 48 */ "7,7 6,7 5,7 4,7 3,7 2,7 1,7 0,7",
    /* 49 */ "0,7 1,7 2,7 3,7 4,7 5,7 6,7 7,7",
    /* 50 */ "4,6 5,6 6,6 7,6 8,6 9,6 10,6 11,6",
    /* 51 */ "12,6 13,6 14,6 15,6 16,6 17,6 18,6 19,6",
    /* 52 */ "14,3 15,3 16,3 17,3 18,3 19,3 20,3 21,3",
};

using Cells = std::vector<std::array<std::uint32_t, 2>>;

const std::array<Cells, kStateCount>& FrameTable() {
    static const std::array<Cells, kStateCount>* const table = [] {
        auto* cells = new std::array<Cells, kStateCount>();
        for (std::uint32_t state = 0; state < kStateCount; ++state) {
            const char* text = kFrameCells[state];
            char* end = nullptr;
            while (*text != '\0') {
                const auto column = static_cast<std::uint32_t>(std::strtoul(text, &end, 10));
                const auto row = static_cast<std::uint32_t>(std::strtoul(end + 1, &end, 10));
                (*cells)[state].push_back({column, row});
                text = *end == ' ' ? end + 1 : end;
            }
        }
        return cells;
    }();
    return *table;
}

const char* const kStateNames[Cursor::kLastNamedState + 1] = {
    "None",        "Pointer",    "Clickable",    "Clicked",     "Grabable",      "Grab",
    "Release",     "Drop",       "PickPoint",    "PickedPoint", "ReleasedPoint", "PointLeft",
    "ClickedLeft", "PointRight", "ClickedRight", "PointUp",     "ClickedUp",     "PointDown",
    "ClickedDown", "FadeIn",     "FadeOut",      "ThumbsUp",    "Count",
};

bool Between(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

// Where Pointer goes at once towards the target; -1: nowhere.
std::int32_t FromPointer(std::int32_t target) {
    switch (target) {
    case 0:
    case 2:
    case 3:
        return target;
    case 4:
        return 25;
    case 5:
    case 6:
    case 7:
        return 27;
    case 8:
    case 9:
    case 10:
        return 31;
    case 11:
    case 12:
        return 34;
    case 13:
    case 14:
        return 37;
    case 15:
    case 16:
        return 40;
    case 17:
    case 18:
        return 43;
    case 20:
    case 21:
        return 46;
    case 22:
        return 48;
    default:
        return -1;
    }
}

// The pairs of states that step between each other directly, else their way out.
std::int32_t Pair(std::int32_t target, std::int32_t other, std::int32_t otherWay, std::int32_t elsewhere) {
    return target == other ? otherWay : elsewhere;
}

// Where a state whose animation has ended goes towards the target.
std::int32_t AfterAnimation(std::uint32_t state, std::int32_t target) {
    const bool grabbing = Between(target, 5, 7) || target == 22;
    switch (state) {
    case 2:
        return Pair(target, 3, 3, 1);
    case 3:
        return Pair(target, 2, 2, 1);
    case 4:
        return grabbing ? 26 : 29;
    case 5:
        return target == 4 ? 30 : (Between(target, 6, 7) || target == 22) ? target : 28;
    case 7:
        return Between(target, 4, 5) ? 5 : (target == 6 || target == 22) ? target : 28;
    case 8:
        return Between(target, 9, 10) ? 9 : 32;
    case 9:
        return (target == 8 || target == 10) ? target : 33;
    case 11:
        return Pair(target, 12, 12, 35);
    case 12:
        return Pair(target, 11, 11, 36);
    case 13:
        return Pair(target, 14, 14, 38);
    case 14:
        return Pair(target, 13, 13, 39);
    case 15:
        return Pair(target, 16, 16, 41);
    case 16:
        return Pair(target, 15, 15, 42);
    case 17:
        return Pair(target, 18, 18, 44);
    case 18:
        return Pair(target, 17, 17, 45);
    case 19:
        return Pair(target, 21, 21, 47);
    case 20:
        return 19;
    case 21:
        return Pair(target, 20, 20, 47);
    case 25:
    case 30:
        return target == 4 ? 4 : grabbing ? 26 : 29;
    case 26:
    case 48:
        return target == 4 ? 30 : grabbing ? target : 28;
    case 27:
        return target == 4 ? 30 : grabbing ? 5 : 28;
    case 31:
        return target == 8 ? 8 : Between(target, 9, 10) ? 9 : 32;
    case 34:
        return Between(target, 11, 12) ? target : 35;
    case 37:
        return Between(target, 13, 14) ? target : 38;
    case 40:
        return Between(target, 15, 16) ? target : 41;
    case 43:
        return Between(target, 17, 18) ? target : 44;
    case 46:
        return Between(target, 20, 21) ? target : 47;
    default:
        return 1;
    }
}

} // namespace

bool Cursor::NameIdLess::operator()(const NameId& a, const NameId& b) const {
    return Vemo::CompareNoCase(a.name.CStr(), b.name.CStr()) < 0;
}

std::int32_t Cursor::FrameCount(std::uint32_t state) {
    return state < kStateCount ? static_cast<std::int32_t>(FrameTable()[state].size()) : 0;
}

Cursor::Cursor(MessengerViewport* viewport) : m_viewport(viewport) {}

Cursor::~Cursor() {
    delete m_bitmap;
}

bool Cursor::Configure(const Vemo::BasicArray<Fragment>& value, unsigned framesPerSecond) {
    if (framesPerSecond == 0) {
        return false;
    }
    m_framePeriod = 1000 / framesPerSecond;
    m_source.Clear();
    for (const Fragment& fragment : value) {
        m_source.PushBack(fragment);
    }
    if (!MakeBitmap()) {
        return false;
    }
    if (!m_timer.IsOpen() && !m_timer.Open(Vemo::TimerSystem::Standard, Vemo::kTimerTypeId)) {
        return false;
    }
    if (!m_timer.Start()) {
        return false;
    }
    m_lastStep = 0;
    m_names.Clear();
    for (std::uint32_t state = 0; state <= kLastNamedState; ++state) {
        m_names.Insert(NameId{Vemo::String(kStateNames[state]), state});
    }
    return true;
}

bool Cursor::MakeBitmap() {
    m_drawnOnViewport.valid = false;
    delete m_bitmap;
    m_bitmap = new Bitmap;
    FragmentStream value(m_source);
    const Vemo::PixelFormat* format =
        m_viewport != nullptr ? static_cast<Vemo::Viewport*>(m_viewport)->GetPixelFormat() : nullptr;
    return m_bitmap->Configure(value, format, 0, nullptr, nullptr);
}

bool Cursor::ReloadBitmap() {
    return MakeBitmap();
}

void Cursor::ClearQueue() {
    m_queue.Clear();
}

std::int32_t Cursor::FindState(const Vemo::String& name) const {
    const auto found = m_names.Find(NameId{name, 0});
    return found != m_names.End() ? static_cast<std::int32_t>(found->state) : -1;
}

void Cursor::Enter(std::uint32_t state) {
    m_state = state;
    // A hidden cursor wakes at its first frame, whatever frame the state it left had reached.
    m_frame = 0;
}

void Cursor::SetState(unsigned state) {
    if (state > kLastNamedState) {
        return;
    }
    m_queue.Clear();
    m_target = -1;
    Enter(state);
}

void Cursor::QueueState(unsigned state, bool flush) {
    if (state > kLastNamedState) {
        return;
    }
    if (flush) {
        m_queue.Clear();
        m_target = -1;
    }
    if (!m_queue.Empty()) {
        if (m_queue.Back() != state) {
            m_queue.PushBack(state);
        }
    } else if (m_target < 0) {
        m_target = static_cast<std::int32_t>(state);
    } else {
        m_queue.PushBack(state);
    }
    if (m_state == kNone) {
        Enter(kPointer);
    }
}

void Cursor::Draw(Vemo::Rect& drawn, Vemo::Graphic* target) {
    if (m_state == kNone) {
        drawn = Vemo::Rect();
        return;
    }
    Advance();
    // A step that hid the cursor leaves drawn as it was.
    if (m_state == kNone) {
        return;
    }
    DrawCell(drawn, target);
}

void Cursor::Advance() {
    if (m_state == kNone) {
        return;
    }
    const std::uint32_t now = m_timer.Elapsed();
    if (now - m_lastStep > m_framePeriod) {
        m_lastStep += (now - m_lastStep) / m_framePeriod * m_framePeriod;
        Step();
    }
}

void Cursor::DrawAdvanced(Vemo::Rect& drawn) {
    if (m_state == kNone) {
        drawn = Vemo::Rect();
        return;
    }
    DrawCell(drawn, nullptr);
}

bool Cursor::DrawsAsLastTime() {
    if (m_state == kNone || m_bitmap == nullptr || !m_bitmap->IsOpen() || !m_drawnOnViewport.valid ||
        m_viewport == nullptr) {
        return false;
    }
    auto* viewport = static_cast<Vemo::Viewport*>(m_viewport);
    const Vemo::Point at(m_position.x - m_hotSpot.x, m_position.y - m_hotSpot.y);
    return at == m_drawnOnViewport.at &&
           Vemo::Rect(0, 0, viewport->GetWidth(), viewport->GetHeight()) == m_drawnOnViewport.area &&
           m_cell[0] == m_drawnOnViewport.cell[0] && m_cell[1] == m_drawnOnViewport.cell[1];
}

void Cursor::DrawCell(Vemo::Rect& drawn, Vemo::Graphic* target) {
    if (target == nullptr) {
        m_drawnOnViewport.valid = false;
    }
    if (m_bitmap == nullptr || !m_bitmap->IsOpen()) {
        drawn = Vemo::Rect();
        return;
    }
    const Vemo::Point at(m_position.x - m_hotSpot.x, m_position.y - m_hotSpot.y);
    const Vemo::Rect cell(static_cast<std::int32_t>(m_cell[0]) * m_cellSize.width,
                          static_cast<std::int32_t>(m_cell[1]) * m_cellSize.height,
                          static_cast<std::int32_t>(m_cell[0] + 1) * m_cellSize.width,
                          static_cast<std::int32_t>(m_cell[1] + 1) * m_cellSize.height);
    Vemo::Rect area;
    {
        const Bitmap::ColorKeyScope keyed(*m_bitmap);
        if (target != nullptr) {
            target->Blit(at, *m_bitmap, cell, kCopy);
            area = Vemo::Rect(0, 0, target->GetWidth(), target->GetHeight());
        } else if (m_viewport != nullptr) {
            auto* viewport = static_cast<Vemo::Viewport*>(m_viewport);
            viewport->Blit(at, *m_bitmap, cell, kCopy);
            area = Vemo::Rect(0, 0, viewport->GetWidth(), viewport->GetHeight());
            m_drawnOnViewport = {true, at, area, {m_cell[0], m_cell[1]}};
        }
    }
    Vemo::Rect(at, m_cellSize).Intersect(drawn, area);
    if (drawn.IsEmpty()) {
        drawn = Vemo::Rect();
    }
}

void Cursor::Step() {
    ++m_frame;
    if (m_target >= 0 && static_cast<std::uint32_t>(m_target) != m_state) {
        Transition();
    } else if (!m_queue.Empty()) {
        m_target = static_cast<std::int32_t>(m_queue.Front());
        m_queue.PopFront();
        if (static_cast<std::uint32_t>(m_target) != m_state) {
            Transition();
        }
    }
    if (m_frame >= FrameCount(m_state)) {
        switch (m_state) {
        case kNone:
            break;
        case kRelease:
        case kReleasedPoint:
            Enter(kPointer);
            break;
        case kDrop:
            Enter(kGrab);
            break;
        case kFadeIn:
            Enter(kThumbsUp);
            break;
        case kFadeOut:
            Enter(kNone);
            break;
        default:
            // Named states loop; a transition left without a target ends at the pointer.
            Enter(m_state <= kLastNamedState ? m_state : kPointer);
            break;
        }
    }
    const Cells& cells = FrameTable()[m_state];
    const auto& cell = cells[static_cast<std::size_t>(m_frame) < cells.size() ? m_frame : 0];
    m_cell[0] = cell[0];
    m_cell[1] = cell[1];
}

void Cursor::Transition() {
    const std::int32_t target = m_target;
    switch (m_state) {
    case kNone:
        return;
    case kPointer: {
        const std::int32_t next = FromPointer(target);
        if (next >= 0) {
            Enter(static_cast<std::uint32_t>(next));
        }
        return;
    }
    case kCount: {
        // Grab states follow the busy animation's end; any other target leaves early through the exit
        // animation that matches its phase.
        const bool grabbing = Between(target, 4, 7);
        if (m_frame >= FrameCount(kCount)) {
            Enter(Between(target, 5, 7) ? static_cast<std::uint32_t>(target) : 49);
        } else if (!grabbing && m_frame == 11) {
            Enter(50);
        } else if (!grabbing && m_frame == 19) {
            Enter(51);
        } else if (!grabbing && m_frame == 23) {
            Enter(52);
        }
        return;
    }
    default:
        if (m_frame >= FrameCount(m_state)) {
            Enter(static_cast<std::uint32_t>(AfterAnimation(m_state, target)));
        }
        return;
    }
}
