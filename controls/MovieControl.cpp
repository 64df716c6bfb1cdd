#include "controls/MovieControl.h"

#include "engines/graphics/Graphic.h"
#include "engines/media/Movie.h"
#include "engines/media/MovieController.h"
#include "engines/media/MovieControllerGraphic.h"
#include "engines/media/MovieControllerHandle.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"
#include "runtime/SectionKeys.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/screen/ControlManager.h"
#include "runtime/states/MovieTrackEditing.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentsEnumerator.h"

#include <algorithm>

namespace {

const MessengerFactory::Registrar g_registrar(MovieControl::ClassWord(), &MovieControl::Create);

enum Word : unsigned {
    kPlay,
    kPause,
    kStop,
    kContinue,
    kFwd,
    kRwd,
    kLoop,
    kToBeginning,
    kToEnd,
    kClear,
    kClearMovie,
    kMovie,
    kAudio,
    kCreateController,
    kDestroyController,
    kVolume,
    kOther,
};

const KeywordIds<unsigned>& Words() {
    static const KeywordIds<unsigned> words({{"Play", kPlay},
                                             {"Pause", kPause},
                                             {"Stop", kStop},
                                             {"Continue", kContinue},
                                             {"Fwd", kFwd},
                                             {"Rwd", kRwd},
                                             {"Loop", kLoop},
                                             {"ToBeginning", kToBeginning},
                                             {"ToEnd", kToEnd},
                                             {"Clear", kClear},
                                             {"ClearMovie", kClearMovie},
                                             {"Movie", kMovie},
                                             {"Audio", kAudio},
                                             {"CreateController", kCreateController},
                                             {"DestroyController", kDestroyController},
                                             {"Volume", kVolume}},
                                            kOther);
    return words;
}

// The cursor state "Pointer".
constexpr int kPointerCursor = 1;
// Copies, scaling where the sizes differ.
constexpr int kCopyMode = 3;

bool Fail() {
    RaiseError(Control::kErrorFailure);
    return false;
}

template <class T>
std::unique_ptr<T> FailWithNull() {
    Fail();
    return nullptr;
}

// A record whose movie is the file the name finds; null, reported, when it is not found or does not open.
template <class Record>
std::unique_ptr<Record> OpenRecord(const Fragment& name) {
    Vemo::Path path;
    if (!FindApplicationFile(path, name)) {
        return nullptr;
    }
    auto record = std::make_unique<Record>();
    if (!record->movie->Open(path, false, true)) {
        ReportUnreadableFile(path);
        return FailWithNull<Record>();
    }
    return record;
}

std::uint32_t NativeDuration(Vemo::Movie& movie) {
    return movie.GetDuration(Vemo::MediaTimeUnit::Native);
}

} // namespace

// --- Records
// ------------------------------------------------------------------------------------------------------

MovieControl::AudioRecord::AudioRecord() : movie(std::make_unique<Vemo::Movie>()) {}

MovieControl::AudioRecord::~AudioRecord() {
    merged.clear();
    movie.reset();
}

MovieControl::MovieRecord::MovieRecord() : movie(std::make_unique<Vemo::Movie>()) {}

MovieControl::MovieRecord::~MovieRecord() {
    chained.clear();
    audio.clear();
    movie.reset();
}

// --- Creation
// -----------------------------------------------------------------------------------------------------

MovieControl::MovieControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

MovieControl::~MovieControl() {
    m_controller.reset();
    m_movie.reset();
    Invalidate();
}

const Vemo::String& MovieControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("MovieControl");
    return *word;
}

Vemo::String MovieControl::GetClassName() const {
    return ClassWord();
}

Messenger* MovieControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<MovieControl>(name, owner, script);
}

bool MovieControl::ReadScript() {
    return Control::ReadScript() || Fail();
}

bool MovieControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        return Fail();
    }
    if (GetScript() != nullptr) {
        if (!ReadMovieKeyAtTop(GetSectionName(), Vemo::String("Movie"))) {
            return Fail();
        }
        if (m_movie != nullptr && !ReadAudioKey(GetSectionName(), Vemo::String("Audio"), *m_movie)) {
            return Fail();
        }
        if (!ReadTransparentColor()) {
            return false;
        }
    }
    if (m_movie != nullptr && GetSize().width == 0 && GetSize().height == 0) {
        Vemo::Size box;
        SetSize(m_movie->movie->GetBox(box));
    }
    if ((GetSize().width != 0 || GetSize().height != 0) && !CreateController(GetSize())) {
        return Fail();
    }
    if (m_movie != nullptr && m_controller != nullptr && !BindMovie()) {
        return Fail();
    }
    return true;
}

bool MovieControl::ReadTransparentColor() {
    const Vemo::BasicArray<Fragment>* value = nullptr;
    if (!FindSectionKeys(*GetScript(), GetSectionName(), {{"TransparentColor", &value}})) {
        return Fail();
    }
    if (value == nullptr) {
        return true;
    }
    if (value->Size() > 3) {
        return Fail();
    }
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    FragmentStream(*value) >> red >> green >> blue;
    SetTransparentColor(Vemo::Color(Vemo::PixelValue(red, green, blue), 1));
    return SetTransparent(true) || Fail();
}

// --- Loading movies and sounds
// ------------------------------------------------------------------------------------

std::unique_ptr<MovieControl::MovieRecord> MovieControl::LoadMovieRecord(const Fragment& name) {
    return OpenRecord<MovieRecord>(name);
}

std::unique_ptr<MovieControl::AudioRecord> MovieControl::LoadAudioRecord(const Fragment& name) {
    return OpenRecord<AudioRecord>(name);
}

std::unique_ptr<MovieControl::MovieRecord> MovieControl::LoadMovieFromStream(FragmentStream& stream) {
    const Fragment* name = nullptr;
    stream >> name;
    if (name == nullptr) {
        return FailWithNull<MovieRecord>();
    }
    std::unique_ptr<MovieRecord> record = LoadMovieRecord(*name);
    if (record == nullptr || !AttachAudio(stream, *record)) {
        return FailWithNull<MovieRecord>();
    }
    return record;
}

bool MovieControl::AttachAudio(FragmentStream& stream, MovieRecord& record) {
    if (stream.AtEnd()) {
        return true;
    }
    std::unique_ptr<AudioRecord> audio = LoadAudioFromStream(stream);
    if (audio == nullptr || !MergeAudio(audio, record)) {
        return Fail();
    }
    return true;
}

std::unique_ptr<MovieControl::AudioRecord> MovieControl::LoadAudioFromStream(FragmentStream& stream) {
    std::unique_ptr<AudioRecord> holder;
    const Fragment* name = nullptr;
    while ((stream >> name, name != nullptr)) {
        std::unique_ptr<AudioRecord> next = LoadAudioRecord(*name);
        name = nullptr;
        if (next == nullptr) {
            return FailWithNull<AudioRecord>();
        }
        if (holder == nullptr) {
            holder = std::move(next);
            continue;
        }
        // The longest sound holds the others, so that every sound is added over its whole length.
        const std::uint32_t holderDuration = NativeDuration(*holder->movie);
        const std::uint32_t nextDuration = NativeDuration(*next->movie);
        if (holderDuration >= nextDuration) {
            if (!holder->movie->InsertSegment(*next->movie, 0, 0, nextDuration,
                                              Vemo::MediaTimeUnit::Native)) {
                return FailWithNull<AudioRecord>();
            }
            holder->merged.push_back(std::move(next));
        } else {
            if (!next->movie->InsertSegment(*holder->movie, 0, 0, holderDuration,
                                            Vemo::MediaTimeUnit::Native)) {
                return FailWithNull<AudioRecord>();
            }
            next->merged.push_back(std::move(holder));
            holder = std::move(next);
        }
    }
    return holder != nullptr ? std::move(holder) : FailWithNull<AudioRecord>();
}

bool MovieControl::MergeAudio(std::unique_ptr<AudioRecord>& audio, MovieRecord& record) {
    if (!UnbindMovie() || !MixSoundIntoMovie(*record.movie, *audio->movie, false)) {
        return Fail();
    }
    record.audio.push_back(std::move(audio));
    return true;
}

bool MovieControl::LoadMovies(FragmentStream& stream, MovieRecord* parent) {
    std::unique_ptr<MovieRecord> record = LoadMovieFromStream(stream);
    if (record == nullptr || !AttachMovieRecord(record, parent)) {
        return Fail();
    }
    return true;
}

bool MovieControl::AttachMovieRecord(std::unique_ptr<MovieRecord>& record, MovieRecord* parent) {
    if (parent == nullptr && m_movie == nullptr) {
        m_movie = std::move(record);
        return UnbindMovie() || Fail();
    }
    MovieRecord& target = parent != nullptr ? *parent : *m_movie;
    if (!target.movie->AppendMovie(*record->movie)) {
        return Fail();
    }
    target.chained.push_back(std::move(record));
    return true;
}

bool MovieControl::ReadMovieKey(const Vemo::String& section, const Vemo::String& key, MovieRecord* parent) {
    ScriptKeyFragmentsEnumerator values;
    if (!GetScript()->EnumerateKey(section, key, values)) {
        return Fail();
    }
    for (const Vemo::BasicArray<Fragment>& value : values.GetValues()) {
        FragmentStream stream(value);
        if (!LoadMovies(stream, parent)) {
            return Fail();
        }
    }
    return true;
}

bool MovieControl::ReadAudioKey(const Vemo::String& section, const Vemo::String& key, MovieRecord& record) {
    ScriptKeyFragmentsEnumerator values;
    if (!GetScript()->EnumerateKey(section, key, values)) {
        return Fail();
    }
    for (const Vemo::BasicArray<Fragment>& value : values.GetValues()) {
        FragmentStream stream(value);
        if (!AttachAudio(stream, record)) {
            return Fail();
        }
    }
    return true;
}

bool MovieControl::ReadMovieKeyAtTop(const Vemo::String& section, const Vemo::String& key) {
    return ReadMovieKey(section, key, nullptr);
}

bool MovieControl::LoadMoviesAtTop(FragmentStream& stream) {
    return LoadMovies(stream, nullptr);
}

bool MovieControl::ReadAudioKeyIntoMovie(const Vemo::String& section, const Vemo::String& key) {
    return m_movie != nullptr ? ReadAudioKey(section, key, *m_movie) : Fail();
}

bool MovieControl::LoadAudioIntoMovie(FragmentStream& stream) {
    return m_movie != nullptr ? AttachAudio(stream, *m_movie) : Fail();
}

// --- The controller
// -----------------------------------------------------------------------------------------------

Vemo::MovieController* MovieControl::BoundController() const {
    return m_controller != nullptr && m_controller->GetMovie() != nullptr ? m_controller.get() : nullptr;
}

Vemo::Graphic* MovieControl::ControllerGraphic() const {
    if (m_controller == nullptr || m_controller->GetControllerHandle() == nullptr) {
        return nullptr;
    }
    return m_controller->GetControllerHandle()->GetGraphic();
}

void MovieControl::Invalidate() {
    if (GetManager() != nullptr && IsShown()) {
        GetManager()->InvalidateControl(this, nullptr);
    }
}

Vemo::MovieController* MovieControl::GetController() {
    return m_controller.get();
}

bool MovieControl::CreateController(std::optional<Vemo::Size> size) {
    if (m_controller != nullptr) {
        return Fail();
    }
    if (!size.has_value()) {
        if (m_movie == nullptr) {
            return Fail();
        }
        Vemo::Size box;
        size = m_movie->movie->GetBox(box);
    }
    const Vemo::StandardPixelFormat format = GetManager() != nullptr
                                                 ? GetManager()->GetDisplayPixelFormat().format
                                                 : Vemo::StandardPixelFormat::None;
    auto controller = std::make_unique<Vemo::MovieController>();
    if (!controller->Open(*size, format, 0, 0)) {
        return Fail();
    }
    m_controller = std::move(controller);
    SetTransparentColor(m_transparentColor);
    SetTransparent(IsTransparent());
    Invalidate();
    return true;
}

bool MovieControl::DestroyController() {
    if (m_controller == nullptr) {
        return Fail();
    }
    m_controller.reset();
    Invalidate();
    return true;
}

bool MovieControl::BindMovie() {
    if (m_controller == nullptr || m_movie == nullptr ||
        !m_controller->BindMovie(m_movie->movie.get(), false)) {
        return Fail();
    }
    m_controller->SetLooping(m_loop, 0, 0, 1);
    if (Vemo::Graphic* graphic = ControllerGraphic()) {
        m_controller->SetBox(Vemo::Rect(Vemo::Point(), graphic->GetSize()));
    }
    m_controller->Task();
    Invalidate();
    return true;
}

bool MovieControl::UnbindMovie() {
    if (BoundController() == nullptr) {
        return true;
    }
    if (!m_controller->UnbindMovie()) {
        return Fail();
    }
    Invalidate();
    return true;
}

// --- Playing
// ------------------------------------------------------------------------------------------------------

bool MovieControl::Play(bool forward, bool fromCurrent) {
    if (!IsEffectivelyEnabled()) {
        return false;
    }
    m_forward = forward;
    if (m_controller == nullptr) {
        if (m_movie == nullptr || !CreateController(std::nullopt)) {
            return Fail();
        }
        if (GetSize().width == 0 && GetSize().height == 0) {
            Vemo::Size box;
            SetSize(m_movie->movie->GetBox(box));
        }
    }
    if (BoundController() == nullptr && !BindMovie()) {
        return Fail();
    }
    if (!m_controller->IsActive()) {
        m_controller->SetActive(true);
    }
    if (!fromCurrent) {
        if (forward) {
            m_controller->Rewind();
        } else {
            m_controller->GoToEnd();
        }
        m_controller->Task();
    }
    if (!m_controller->Start(forward)) {
        return Fail();
    }
    Invalidate();
    m_playing = true;
    return true;
}

bool MovieControl::Pause() {
    if (!IsEffectivelyEnabled()) {
        return false;
    }
    Vemo::MovieController* controller = BoundController();
    if (controller == nullptr) {
        return Fail();
    }
    if (!controller->IsPlaying()) {
        return true;
    }
    if (!controller->Stop()) {
        return Fail();
    }
    Invalidate();
    if (controller->IsActive()) {
        controller->SetActive(false);
    }
    return true;
}

bool MovieControl::Stop(bool rewind) {
    if (!IsEffectivelyEnabled()) {
        return false;
    }
    Vemo::MovieController* controller = m_movie != nullptr ? BoundController() : nullptr;
    if (controller == nullptr) {
        return true;
    }
    if (!controller->StopAndRewind(rewind)) {
        return Fail();
    }
    Invalidate();
    if (controller->IsActive()) {
        controller->SetActive(false);
    }
    return true;
}

bool MovieControl::Continue() {
    if (!IsEffectivelyEnabled()) {
        return false;
    }
    Vemo::MovieController* controller = BoundController();
    if (controller == nullptr) {
        return Fail();
    }
    if (!controller->IsActive()) {
        controller->SetActive(true);
    }
    if (!controller->Resume()) {
        return Fail();
    }
    controller->Task();
    Invalidate();
    return true;
}

bool MovieControl::Step(const std::function<bool(Vemo::MovieController&)>& step) {
    if (!IsEffectivelyEnabled()) {
        return false;
    }
    if (m_controller != nullptr && m_movie != nullptr && BoundController() == nullptr && !BindMovie()) {
        return Fail();
    }
    Vemo::MovieController* controller = BoundController();
    if (controller == nullptr) {
        return Fail();
    }
    Invalidate();
    const bool wasActive = controller->IsActive();
    if (!wasActive) {
        controller->SetActive(true);
    }
    const bool stepped = step(*controller);
    controller->Task();
    if (!wasActive) {
        controller->SetActive(false);
    }
    return stepped;
}

bool MovieControl::StepForward() {
    return Step([](Vemo::MovieController& controller) { return controller.StepForward(); });
}

bool MovieControl::StepBackward() {
    return Step([](Vemo::MovieController& controller) { return controller.StepBackward(); });
}

bool MovieControl::ToBeginning() {
    return Step([](Vemo::MovieController& controller) { return controller.Rewind(); });
}

bool MovieControl::ToEnd() {
    return Step([](Vemo::MovieController& controller) { return controller.GoToEnd(); });
}

bool MovieControl::SetTime(std::uint32_t time, Vemo::MediaTimeUnit unit) {
    return Step([&](Vemo::MovieController& controller) { return controller.SetTime(time, unit); });
}

std::uint32_t MovieControl::GetTime(Vemo::MediaTimeUnit unit) {
    Vemo::MovieController* controller = BoundController();
    return controller != nullptr ? controller->GetTime(unit) : 0;
}

bool MovieControl::IsAtBeginning() {
    Vemo::MovieController* controller = BoundController();
    return controller != nullptr && controller->IsAtStart();
}

bool MovieControl::IsAtEnd() {
    Vemo::MovieController* controller = BoundController();
    return controller != nullptr && controller->IsAtEnd();
}

bool MovieControl::IsMoviePlaying() {
    Vemo::MovieController* controller = BoundController();
    return controller != nullptr && controller->IsPlaying();
}

bool MovieControl::IsPlaying() {
    return m_playing;
}

bool MovieControl::SetLoop(bool loop) {
    m_loop = loop;
    Vemo::MovieController* controller = BoundController();
    return controller != nullptr ? controller->SetLooping(loop, 0, 0, 1) : true;
}

bool MovieControl::GetLoop() {
    Vemo::MovieController* controller = BoundController();
    return controller != nullptr && controller->IsLooping();
}

bool MovieControl::SetVolume(std::uint32_t volume) {
    Vemo::MovieController* controller = BoundController();
    if (controller == nullptr) {
        return false;
    }
    return controller->SetVolume(static_cast<std::uint8_t>(std::min<std::uint32_t>(volume, 255)));
}

std::uint32_t MovieControl::GetVolume() {
    Vemo::MovieController* controller = BoundController();
    return controller != nullptr ? controller->GetVolume() : 255;
}

// --- Transparency
// -------------------------------------------------------------------------------------------------

void MovieControl::SetTransparentColor(const Vemo::Color& color) {
    m_transparentColor = color;
    if (Vemo::Graphic* graphic = ControllerGraphic()) {
        graphic->SetColorKey(color);
        Invalidate();
    }
}

Vemo::Color MovieControl::GetTransparentColor() {
    return m_transparentColor;
}

bool MovieControl::SetTransparent(bool transparent) {
    if (!Control::SetTransparent(transparent)) {
        return false;
    }
    if (Vemo::Graphic* graphic = ControllerGraphic()) {
        graphic->SetColorKeyEnabled(transparent);
    }
    return true;
}

bool MovieControl::ContainsPoint(const Vemo::Point& local) {
    Vemo::Graphic* graphic = ControllerGraphic();
    if (!IsTransparent() || graphic == nullptr) {
        return true;
    }
    const Vemo::Size size = GetSize();
    const std::int32_t x = size.width != 0 ? local.x * graphic->GetWidth() / size.width : 0;
    const std::int32_t y = size.height != 0 ? local.y * graphic->GetHeight() / size.height : 0;
    // Bits outside the colour masks (an unused top byte) are no part of the colour.
    const Vemo::PixelFormat format = graphic->GetPixelFormat();
    const std::uint32_t colourBits =
        format.IsIndexed() ? ~0U : format.redMask | format.greenMask | format.blueMask;
    return (graphic->GetPixel(Vemo::Point(x, y)) & colourBits) !=
           (graphic->ColorToPixel(m_transparentColor) & colourBits);
}

// --- Clearing
// -----------------------------------------------------------------------------------------------------

bool MovieControl::Clear() {
    bool cleared = true;
    if (m_controller != nullptr) {
        cleared = DestroyController() && cleared;
    }
    if (m_movie != nullptr) {
        cleared = ClearMovie() && cleared;
    }
    Invalidate();
    return cleared;
}

bool MovieControl::ClearMovie() {
    if (m_movie == nullptr) {
        return Fail();
    }
    if (m_controller != nullptr) {
        UnbindMovie();
    }
    m_movie.reset();
    Invalidate();
    return true;
}

// --- The frame
// ----------------------------------------------------------------------------------------------------

void MovieControl::Announce(const char* word) {
    ReceiveTextFrom(Vemo::String(word), SubString());
}

void MovieControl::Idle() {
    Control::Idle();
    if (!IsEffectivelyEnabled()) {
        return;
    }
    Vemo::MovieController* controller = BoundController();
    if (controller != nullptr && controller->IsPlaying()) {
        m_playing = true;
        Invalidate();
        controller->Task();
        return;
    }
    if (!m_playing) {
        return;
    }
    m_playing = false;
    const std::uint32_t serialNumber = GetSerialNumber();
    if (controller != nullptr) {
        if (controller->IsActive()) {
            controller->SetActive(false);
        }
        if (controller->IsAtEnd()) {
            Announce("AtEnd");
        } else if (controller->IsAtStart()) {
            Announce("AtBeginning");
        }
    }
    // The announcement's receivers may have deleted the control.
    if (FindLive(serialNumber) != this) {
        return;
    }
    Invalidate();
    if (m_controller != nullptr) {
        m_controller->Task();
    }
}

void MovieControl::Draw(const Vemo::Rect&) {
    const Vemo::Rect whole(Vemo::Point(), GetSize());
    Vemo::Graphic* graphic = ControllerGraphic();
    if (graphic == nullptr) {
        FillRect(whole, 0U, true, kCopyMode);
        return;
    }
    DrawGraphicInRect(whole, *graphic, Vemo::Rect(Vemo::Point(), graphic->GetSize()), kCopyMode);
}

bool MovieControl::Prepare() {
    if (GetManager() == nullptr) {
        return Clear();
    }
    if (m_controller == nullptr) {
        return true;
    }
    const bool wasBound = BoundController() != nullptr;
    const std::uint32_t time = wasBound ? m_controller->GetTime(Vemo::MediaTimeUnit::Native) : 0;
    const bool wasPlaying = wasBound && m_controller->IsPlaying();
    const bool wasLooping = wasBound && m_controller->IsLooping();
    const bool wasActive = wasBound && m_controller->IsActive();
    const std::uint8_t volume = wasBound ? m_controller->GetVolume() : 255;
    Vemo::Graphic* graphic = ControllerGraphic();
    const Vemo::Size size = graphic != nullptr ? graphic->GetSize() : GetSize();
    m_controller.reset();
    if (!CreateController(size)) {
        return Fail();
    }
    if (m_movie == nullptr || !wasBound) {
        return true;
    }
    if (!BindMovie()) {
        return Fail();
    }
    m_controller->SetTime(time, Vemo::MediaTimeUnit::Native);
    m_controller->SetLooping(wasLooping, 0, 0, 1);
    m_controller->SetActive(wasActive);
    m_controller->SetVolume(volume);
    if (wasPlaying) {
        m_controller->Start(m_forward);
    }
    return true;
}

// --- Pointer and enabling
// -----------------------------------------------------------------------------------------

void MovieControl::OnEnabled() {
    Control::OnEnabled();
    if (IsMouseInside()) {
        QueueCursorState(kPointerCursor, false);
    }
    if (m_playing && m_controller != nullptr) {
        m_controller->SetActive(true);
        m_controller->Resume();
    }
}

void MovieControl::OnDisabled() {
    Control::OnDisabled();
    if (IsMouseInside()) {
        QueueCursorState(kPointerCursor, false);
    }
    Vemo::MovieController* controller = BoundController();
    if (controller != nullptr && controller->IsPlaying()) {
        controller->Stop();
        controller->SetActive(false);
    }
}

void MovieControl::OnMouseEnter(const Vemo::Point& local) {
    Control::OnMouseEnter(local);
    QueueCursorState(kPointerCursor, true);
}

void MovieControl::OnMouseExit(const Vemo::Point& local) {
    Control::OnMouseExit(local);
    QueueCursorState(kPointerCursor, true);
}

// --- Messages
// -----------------------------------------------------------------------------------------------------

bool MovieControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned id = Words()[message.GetText()];
    if (id == kOther) {
        return Control::HandleMessage(message, sender);
    }
    return HandleWord(id, message);
}

bool MovieControl::HandleWord(unsigned id, const Fragment& message) {
    FragmentStream arguments(message.GetChildren());
    switch (id) {
    case kPlay: {
        bool forward = m_forward;
        bool fromCurrent = false;
        arguments.ReadBoolOrToggle(forward) >> fromCurrent;
        return Play(forward, fromCurrent);
    }
    case kPause:
        return Pause();
    case kStop: {
        bool rewind = false;
        arguments >> rewind;
        return Stop(rewind);
    }
    case kContinue:
        return Continue();
    case kFwd:
        return StepForward();
    case kRwd:
        return StepBackward();
    case kLoop: {
        bool loop = true;
        if (!arguments.AtEnd()) {
            loop = GetLoop();
            arguments.ReadBoolOrToggle(loop);
        }
        return SetLoop(loop);
    }
    case kToBeginning:
        return ToBeginning();
    case kToEnd:
        return ToEnd();
    case kClear:
        return Clear();
    case kClearMovie:
        return ClearMovie();
    case kMovie:
        return LoadMoviesAtTop(arguments);
    case kAudio:
        return LoadAudioIntoMovie(arguments);
    case kCreateController: {
        std::int32_t width = 0;
        std::int32_t height = 0;
        arguments >> width >> height;
        if (width < 0 || height < 0) {
            return Fail();
        }
        return CreateController(
            width == 0 && height == 0 ? std::nullopt : std::optional<Vemo::Size>(Vemo::Size(width, height)));
    }
    case kDestroyController:
        return DestroyController();
    case kVolume: {
        std::uint32_t volume = GetVolume();
        arguments >> volume;
        return SetVolume(volume);
    }
    default:
        return false;
    }
}
