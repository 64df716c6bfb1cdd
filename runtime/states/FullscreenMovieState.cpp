#include "runtime/states/FullscreenMovieState.h"

#include "engines/media/Movie.h"
#include "engines/media/MovieController.h"
#include "resources/error/Error.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/states/MovieTrackEditing.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/MessengerStateGraph.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentsEnumerator.h"

namespace {

const MessengerFactory::Registrar g_stateRegistrar(FullscreenMovieState::ClassWord(),
                                                   &FullscreenMovieState::Create);

const KeywordIds<unsigned>& Modes() {
    static const KeywordIds<unsigned> modes({{"Normal", FullscreenMovieState::kNormal},
                                             {"Double", FullscreenMovieState::kDouble},
                                             {"Half", FullscreenMovieState::kHalf},
                                             {"Full", FullscreenMovieState::kFull}},
                                            FullscreenMovieState::kNormal);
    return modes;
}

bool Fail() {
    RaiseError(Messenger::kErrorSettings);
    return false;
}

MessengerViewport* Viewport() {
    MultimediaApplication* application = MultimediaApplication::Instance();
    return application != nullptr ? application->GetViewport() : nullptr;
}

// Movies are read through their own file handles, so the file is not kept open.
std::unique_ptr<Vemo::Movie> OpenMovie(const Vemo::Path& path) {
    auto movie = std::make_unique<Vemo::Movie>();
    if (!movie->Open(path, false, true)) {
        ReportUnreadableFile(path);
        return nullptr;
    }
    return movie;
}

} // namespace

// --- The black controls
// -------------------------------------------------------------------------------------------

FullscreenMovieState::MyControl::MyControl(const Vemo::String& name, FullscreenMovieState* owner)
    : Control(name, owner, nullptr), m_owner(owner) {}

void FullscreenMovieState::MyControl::HideCursor() {
    if (GetManager() != nullptr) {
        SetCursor(CursorInfo{0, 1});
    }
}

bool FullscreenMovieState::MyControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        return false;
    }
    HideCursor();
    return true;
}

void FullscreenMovieState::MyControl::Draw(const Vemo::Rect& localPart) {
    FillRect(localPart, 0U, true, 3);
}

void FullscreenMovieState::MyControl::OnEnabled() {
    if (IsMouseInside()) {
        HideCursor();
    }
}

void FullscreenMovieState::MyControl::OnDisabled() {
    if (IsMouseInside()) {
        HideCursor();
    }
}

void FullscreenMovieState::MyControl::OnPressed(const Vemo::Point& local, unsigned button) {
    Control::OnPressed(local, button);
    HideCursor();
}

void FullscreenMovieState::MyControl::OnReleased(const Vemo::Point& local, unsigned button) {
    Control::OnReleased(local, button);
    HideCursor();
    if (button == 0) {
        m_owner->RequestSkip();
    }
}

void FullscreenMovieState::MyControl::OnMouseEnter(const Vemo::Point& local) {
    Control::OnMouseEnter(local);
    HideCursor();
}

void FullscreenMovieState::MyControl::OnMouseExit(const Vemo::Point& local) {
    Control::OnMouseExit(local);
    HideCursor();
}

void FullscreenMovieState::MyControl::OnKeyDown(unsigned, unsigned) {}

void FullscreenMovieState::MyControl::OnKeyUp(unsigned key) {
    if (key == kSpaceKey) {
        m_owner->RequestSkip();
    }
}

// --- Records
// ------------------------------------------------------------------------------------------------------

FullscreenMovieState::MovieRecord::MovieRecord() : movie(std::make_unique<Vemo::Movie>()) {}

FullscreenMovieState::MovieRecord::~MovieRecord() {
    while (!sounds.empty()) {
        sounds.pop_back();
    }
    movie.reset();
}

// --- The state
// ----------------------------------------------------------------------------------------------------

FullscreenMovieState::FullscreenMovieState(const Vemo::String& name, MessengerStateGraph* owner,
                                           Script* script)
    : MessengerState(name, owner, script) {}

FullscreenMovieState::~FullscreenMovieState() {
    Release();
}

const Vemo::String& FullscreenMovieState::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("FullscreenMovieState");
    return *word;
}

Vemo::String FullscreenMovieState::GetClassName() const {
    return ClassWord();
}

Messenger* FullscreenMovieState::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    auto* graph = dynamic_cast<MessengerStateGraph*>(owner);
    if (graph == nullptr) {
        Fail();
        return nullptr;
    }
    auto* state = new FullscreenMovieState(name, graph, script);
    if (!state->ReadScript()) {
        delete state;
        return nullptr;
    }
    return state;
}

bool FullscreenMovieState::ReadScript() {
    return MessengerState::ReadScript() || Fail();
}

bool FullscreenMovieState::HandleMessage(const Fragment& message, Messenger* sender) {
    return MessengerState::HandleMessage(message, sender);
}

Vemo::Rect FullscreenMovieState::MovieRectangle(Mode mode, const Vemo::Size& viewport,
                                                const Vemo::Size& movie) {
    const std::int32_t w = movie.width;
    const std::int32_t h = movie.height;
    const std::int32_t halfW = viewport.width / 2;
    const std::int32_t halfH = viewport.height / 2;
    switch (mode) {
    case kDouble:
        return Vemo::Rect(halfW - w, halfH - h, halfW - w + 2 * w, halfH - h + 2 * h);
    case kHalf:
        return Vemo::Rect(halfW - w / 4, halfH - h / 4, halfW - w / 4 + w / 2, halfH - h / 4 + h / 2);
    case kFull:
        return Vemo::Rect(0, 0, viewport.width, viewport.height);
    case kNormal:
    default:
        return Vemo::Rect(halfW - w / 2, halfH - h / 2, halfW - w / 2 + w, halfH - h / 2 + h);
    }
}

// --- The script's files
// -------------------------------------------------------------------------------------------

bool FullscreenMovieState::ReadValues(const char* key, std::vector<Vemo::BasicArray<Fragment>>& values) {
    ScriptKeyFragmentsEnumerator enumerator;
    if (!GetScript()->EnumerateKey(GetSectionName(), Vemo::String(key), enumerator)) {
        return Fail();
    }
    values.assign(enumerator.GetValues().begin(), enumerator.GetValues().end());
    return true;
}

bool FullscreenMovieState::ReadMovieKey() {
    std::vector<Vemo::BasicArray<Fragment>> values;
    if (!ReadValues("Movie", values)) {
        return false;
    }
    for (Vemo::BasicArray<Fragment>& value : values) {
        if (!EvaluateFragments(value) || value.Empty()) {
            return Fail();
        }
        MoviePath path;
        if (!FindApplicationFile(path.movie, value[0])) {
            return Fail();
        }
        for (std::size_t i = 1; i < value.Size(); ++i) {
            Vemo::Path sound;
            if (!FindApplicationFile(sound, value[i])) {
                return Fail();
            }
            path.sounds.push_back(sound);
        }
        m_moviePaths.push_back(path);
    }
    return true;
}

bool FullscreenMovieState::ReadAudioKey() {
    std::vector<Vemo::BasicArray<Fragment>> values;
    if (!ReadValues("Audio", values)) {
        return false;
    }
    for (const Vemo::BasicArray<Fragment>& value : values) {
        for (const Fragment& name : value) {
            Vemo::Path sound;
            if (!FindApplicationFile(sound, name)) {
                return Fail();
            }
            m_audioPaths.push_back(sound);
        }
    }
    return true;
}

bool FullscreenMovieState::OpenMovies() {
    for (const MoviePath& path : m_moviePaths) {
        auto record = std::make_unique<MovieRecord>();
        if (!record->movie->Open(path.movie, false, true)) {
            ReportUnreadableFile(path.movie);
            return Fail();
        }
        for (const Vemo::Path& soundPath : path.sounds) {
            std::unique_ptr<Vemo::Movie> sound = OpenMovie(soundPath);
            if (sound == nullptr || !MixSoundIntoMovie(*record->movie, *sound, true)) {
                return Fail();
            }
            record->sounds.push_back(std::move(sound));
        }
        if (!m_movies.empty() && !m_movies.front()->movie->AppendMovie(*record->movie)) {
            return Fail();
        }
        m_movies.push_back(std::move(record));
    }
    return true;
}

bool FullscreenMovieState::OpenAudio() {
    for (const Vemo::Path& path : m_audioPaths) {
        std::unique_ptr<Vemo::Movie> sound = OpenMovie(path);
        if (sound == nullptr || !MixSoundIntoMovie(*m_movies.front()->movie, *sound, true)) {
            return Fail();
        }
        m_audioMovies.push_back(std::move(sound));
    }
    return true;
}

// --- Entering, stepping and leaving
// -------------------------------------------------------------------------------

FullscreenMovieState::Mode FullscreenMovieState::ReadMode() {
    ScriptKeyFragmentsEnumerator values;
    if (!GetScript()->EnumerateKey(GetSectionName(), Vemo::String("Mode"), values) ||
        values.GetValues().Empty() || values.GetValues()[0].Empty()) {
        return kNormal;
    }
    return static_cast<Mode>(Modes()[values.GetValues()[0][0].GetText()]);
}

std::unique_ptr<FullscreenMovieState::MyControl> FullscreenMovieState::MakeControl(const char* name,
                                                                                   Control* parent) {
    auto control = std::make_unique<MyControl>(Vemo::String(name), this);
    if (!control->ReadScript() || !control->Configure(parent, nullptr)) {
        Fail();
        return nullptr;
    }
    return control;
}

bool FullscreenMovieState::ShowMovie() {
    MessengerViewport* viewport = Viewport();
    if (viewport == nullptr) {
        return Fail();
    }
    Control* root = viewport->GetRootControl();
    if (root == nullptr) {
        return Fail();
    }
    m_backdrop = MakeControl("FullscreenMovieBG", root);
    if (m_backdrop == nullptr) {
        return false;
    }
    const Vemo::Size screen = root->GetSize();
    m_backdrop->SetRectangle(Vemo::Rect(0, 0, screen.width, screen.height));
    m_backdrop->SetFocus();
    m_movieControl = MakeControl("FullscreenMovie", m_backdrop.get());
    if (m_movieControl == nullptr) {
        return false;
    }
    Vemo::Movie& movie = *m_movies.front()->movie;
    Vemo::Size movieSize;
    movie.GetBox(movieSize);
    m_movieControl->SetRectangle(MovieRectangle(ReadMode(), screen, movieSize));
    m_controller = std::make_unique<Vemo::MovieController>();
    if (!m_controller->Open(viewport) || !m_controller->BindMovie(&movie, true)) {
        return Fail();
    }
    m_controller->SetBox(m_movieControl->GetRectangle());
    m_controller->SetActive(true);
    m_controller->Rewind();
    m_controller->Start(true);
    return true;
}

bool FullscreenMovieState::Enter() {
    // A failed entry is never left: what it built goes now.
    Release();
    if (MessengerViewport* viewport = Viewport()) {
        viewport->SetBusy(false);
    }
    m_skipRequested = false;
    if (GetScript() == nullptr) {
        return true;
    }
    if (!ReadMovieKey() || (!m_moviePaths.empty() && !ReadAudioKey()) || !OpenMovies() ||
        (!m_movies.empty() && !OpenAudio()) || (!m_movies.empty() && !ShowMovie())) {
        return Fail();
    }
    MultimediaApplication::Instance()->OnStateEntered(this);
    return true;
}

void FullscreenMovieState::Update() {
    if (m_controller != nullptr && !m_skipRequested && m_controller->IsPlaying()) {
        return;
    }
    Signal(MessengerStateGraph::kScriptOutcomeBase);
}

bool FullscreenMovieState::Exit() {
    if (MultimediaApplication* application = MultimediaApplication::Instance()) {
        application->OnStateExited(this);
    }
    Release();
    return true;
}

void FullscreenMovieState::Release() {
    m_controller.reset();
    m_movieControl.reset();
    m_backdrop.reset();
    while (!m_audioMovies.empty()) {
        m_audioMovies.pop_back();
    }
    while (!m_movies.empty()) {
        m_movies.pop_back();
    }
    m_audioPaths.clear();
    m_moviePaths.clear();
}
