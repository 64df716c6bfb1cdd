#include "controls/SimpleAnimationControl.h"

#include "controls/TextNumber.h"
#include "engines/timing/TimerSystem.h"
#include "resources/error/Error.h"
#include "runtime/SectionKeys.h"
#include "runtime/pictures/Bitmap.h"
#include "runtime/screen/ControlManager.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

namespace {

enum MessageWord : unsigned { kStart, kStop, kAddFrame, kOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words =
        new KeywordIds<unsigned>({{"Start", kStart}, {"Stop", kStop}, {"AddFrame", kAddFrame}}, kOther);
    return *words;
}

constexpr int kCopyMode = 3;
constexpr std::uint32_t kMillisecondsPerSecond = 1000;

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

// The frame drawn at (x, y) from the part of the sheet at (left, top) with the extents; false when the part,
// or the area the frame covers in the control, does not fit 32 bits.
bool MakeFrame(std::int32_t x, std::int32_t y, std::int32_t left, std::int32_t top, std::int64_t width,
               std::int64_t height, SimpleAnimationControl::Frame& out) {
    Vemo::Rect area;
    Vemo::Rect part;
    if (!FitsInt32(width) || !FitsInt32(height) || !RectFromExtents(x, y, width, height, area) ||
        !RectFromExtents(left, top, width, height, part)) {
        return false;
    }
    out.x = x;
    out.y = y;
    out.left = part.left;
    out.top = part.top;
    out.right = part.right;
    out.bottom = part.bottom;
    return true;
}

// Each "Frame" key appends one frame: x, y, then the source's left, top, width and height. A frame that does
// not fit 32 bits ends the walk.
class AnimationEnumerator : public Script::KeyEnumerator {
public:
    explicit AnimationEnumerator(Vemo::BasicArray<SimpleAnimationControl::Frame>* frames)
        : m_frames(frames) {}

    bool EnumerateKey(Script::Key& /*key*/, const Vemo::String& /*text*/,
                      const Vemo::BasicArray<Fragment>& value) override {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        FragmentStream(value) >> x >> y >> left >> top >> width >> height;
        SimpleAnimationControl::Frame frame;
        if (!MakeFrame(x, y, left, top, width, height, frame)) {
            m_refused = true;
            return false;
        }
        m_frames->PushBack(frame);
        return true;
    }

    bool Refused() const { return m_refused; }

private:
    Vemo::BasicArray<SimpleAnimationControl::Frame>* m_frames;
    bool m_refused = false;
};

const MessengerFactory::Registrar g_registrar(SimpleAnimationControl::ClassWord(),
                                              &SimpleAnimationControl::Create);

} // namespace

SimpleAnimationControl::SimpleAnimationControl(const Vemo::String& name, Messenger* owner, Script* script)
    : ImageControl(name, owner, script) {}

SimpleAnimationControl::~SimpleAnimationControl() = default;

const Vemo::String& SimpleAnimationControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("SimpleAnimationControl");
    return *word;
}

Vemo::String SimpleAnimationControl::GetClassName() const {
    return ClassWord();
}

Messenger* SimpleAnimationControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<SimpleAnimationControl>(name, owner, script);
}

bool SimpleAnimationControl::ExpandAttribute(const Fragment& /*fragment*/,
                                             Vemo::BasicArray<Fragment>& /*out*/) {
    return true;
}

bool SimpleAnimationControl::Configure(Control* parent, Control* after) {
    if (!ImageControl::Configure(parent, after)) {
        return Fail();
    }
    if (GetScript() == nullptr) {
        return false;
    }
    SetTransparent(true);
    // An animation whose timer cannot be opened stays on its first frame.
    m_timer.Open(Vemo::TimerSystem::Standard, Vemo::kTimerTypeId);
    ReadFps();
    const Vemo::String frameKey("Frame");
    AnimationEnumerator frames(&m_frames);
    if (!GetScript()->EnumerateKey(GetSectionName(), frameKey, frames)) {
        return false;
    }
    return !frames.Refused() || RefuseKeyValue(GetScript(), GetSectionName(), frameKey);
}

// A rate whose frame time would be 0 (0, a word, a negative rate or one above 1000) is reported and the
// rate stays as it was: it would divide by zero.
bool SimpleAnimationControl::ReadFps() {
    Vemo::String text;
    if (!GetScript()->GetValueText(GetSectionName(), Vemo::String("FPS"), text)) {
        return true;
    }
    const std::int32_t fps = TextToInteger(text);
    if (fps <= 0 || kMillisecondsPerSecond / static_cast<std::uint32_t>(fps) == 0) {
        return Fail();
    }
    m_fps = static_cast<std::uint32_t>(fps);
    return true;
}

bool SimpleAnimationControl::HandleMessage(const Fragment& message, Messenger* sender) {
    switch (MessageWords()[message.GetText()]) {
    case kStart:
        return Start();
    case kStop:
        m_timer.Stop();
        return true;
    case kAddFrame: {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
        FragmentStream(message.GetChildren()) >> x >> y >> left >> top >> right >> bottom;
        Frame frame;
        if (!MakeFrame(x, y, left, top, std::int64_t{right} - left, std::int64_t{bottom} - top, frame)) {
            return Fail();
        }
        m_frames.PushBack(frame);
        return true;
    }
    default:
        return Control::HandleMessage(message, sender);
    }
}

// Nothing to play without frames: no run, no "AtEnd".
bool SimpleAnimationControl::Start() {
    if (m_frames.Empty()) {
        return Fail();
    }
    m_animationLength = (kMillisecondsPerSecond / m_fps) * static_cast<std::uint32_t>(m_frames.Size());
    return m_timer.Start();
}

bool SimpleAnimationControl::LoadBitmap(const FragmentStream& spec) {
    const bool loaded = ImageControl::LoadBitmap(spec);
    SetTransparent(true);
    return loaded;
}

Vemo::Rect SimpleAnimationControl::AreaOf(const Frame& frame) {
    return Vemo::Rect(frame.x, frame.y, frame.x + (frame.right - frame.left),
                      frame.y + (frame.bottom - frame.top));
}

void SimpleAnimationControl::Idle() {
    Control::Idle();
    if (!m_timer.IsRunning()) {
        return;
    }
    const std::uint32_t elapsed = m_timer.Elapsed();
    if (elapsed >= m_animationLength) {
        m_timer.Stop();
        ReceiveTextFrom(Vemo::String("AtEnd"), SubString());
        return;
    }
    const std::uint32_t frame = (elapsed % m_animationLength) / (kMillisecondsPerSecond / m_fps);
    if (frame == m_currentFrame || frame >= m_frames.Size()) {
        return;
    }
    const Vemo::Rect next = AreaOf(m_frames[frame]);
    InvalidateWhenShown(&next);
    if (m_currentFrame < m_frames.Size()) {
        const Vemo::Rect current = AreaOf(m_frames[m_currentFrame]);
        InvalidateWhenShown(&current);
    }
    m_currentFrame = frame;
}

bool SimpleAnimationControl::ContainsPoint(const Vemo::Point& /*local*/) {
    return false;
}

void SimpleAnimationControl::Draw(const Vemo::Rect& localPart) {
    if (GetBitmap() == nullptr || m_currentFrame >= m_frames.Size()) {
        return;
    }
    const Frame& frame = m_frames[m_currentFrame];
    const Vemo::Rect area = AreaOf(frame);
    if (area.right > localPart.left && area.left < localPart.right && area.bottom > localPart.top &&
        area.top < localPart.bottom) {
        DrawGraphicAt(Vemo::Point(frame.x, frame.y), *GetBitmap(),
                      Vemo::Rect(frame.left, frame.top, frame.right, frame.bottom), kCopyMode);
    }
}
