#include "controls/QTWindowMovieControl.h"

#include "controls/HostedPlayerText.h"
#include "platform/quicktime/QuickTime.h"
#include "resources/error/Error.h"
#include "runtime/application/MultimediaApplication.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

namespace {

enum Word : unsigned { kMovie, kClear, kMissingWord = ~0U };

const KeywordIds<unsigned>& Words() {
    static const auto* const words =
        new KeywordIds<unsigned>({{"Movie", kMovie}, {"Clear", kClear}}, kMissingWord);
    return *words;
}

const MessengerFactory::Registrar g_registrar(QTWindowMovieControl::ClassWord(),
                                              &QTWindowMovieControl::Create);

} // namespace

QTWindowMovieControl::QTWindowMovieControl(const Vemo::String& name, Messenger* owner, Script* script)
    : OSWindowControl(name, owner, script) {}

QTWindowMovieControl::~QTWindowMovieControl() {
    ReleaseResources();
}

const Vemo::String& QTWindowMovieControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("QTWindowMovieControl");
    return *word;
}

Vemo::String QTWindowMovieControl::GetClassName() const {
    return ClassWord();
}

Messenger* QTWindowMovieControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<QTWindowMovieControl>(name, owner, script);
}

bool QTWindowMovieControl::Configure(Control* parent, Control* after) {
    if (!OSWindowControl::Configure(parent, after)) {
        RaiseError(kErrorFailure);
        return false;
    }
    const Vemo::BasicArray<Fragment>* value = nullptr;
    if (GetScript() != nullptr && GetScript()->GetFragments(GetSectionName(), "Movie", value) &&
        !value->Empty()) {
        return SetMovie((*value)[0]);
    }
    return true;
}

bool QTWindowMovieControl::HandleMessage(const Fragment& message, Messenger* sender) {
    switch (Words()[message.GetText()]) {
    case kMovie:
        return message.GetChildren().Empty() ? ClearMovie() : SetMovie(message.GetChildren()[0]);
    case kClear:
        return ClearMovie();
    default:
        return OSWindowControl::HandleMessage(message, sender);
    }
}

bool QTWindowMovieControl::OnActivated() {
    if (!OSWindowControl::OnActivated()) {
        return false;
    }
    if (qt::QuickTimeVRLibrary_Load() < 0) {
        ReleaseResources();
        return false;
    }
    m_vrLoaded = true;
    m_port = qt::CreatePortAssociation(GetWindow(), nullptr, qt::kQTMLNoIdleEvents);
    if (m_port == nullptr) {
        ReleaseResources();
        return false;
    }
    // The request is taken out first: SetMovie keeps it again only once the movie is open.
    const Fragment request = m_request;
    m_request = Fragment();
    if (!SetMovie(request)) {
        ReleaseResources();
        // Still asked for: the next activation tries it again.
        m_request = request;
        return false;
    }
    return true;
}

void QTWindowMovieControl::OnDeactivated() {
    ReleaseResources();
}

void QTWindowMovieControl::ReleaseResources() {
    // The request stays: the next activation opens the movie again.
    CloseMovie();
    if (m_port != nullptr) {
        qt::DestroyPortAssociation(m_port);
        m_port = nullptr;
    }
    if (m_vrLoaded) {
        qt::QuickTimeVRLibrary_Unload();
        m_vrLoaded = false;
    }
    OSWindowControl::OnDeactivated();
}

bool QTWindowMovieControl::SetMovie(const Fragment& request) {
    if (m_movie != nullptr) {
        if (FragmentsEqualNoCase(request, m_request)) {
            return true;
        }
        ClearMovie();
    }
    if (request.GetText().Length() == 0) {
        ClearMovie();
        return true;
    }
    if (!IsEffectivelyActive() || m_port == nullptr) {
        m_request = request;
        return true;
    }
    Vemo::String path;
    if (!HostedPlayerText::FindFullPath(request, path)) {
        return false;
    }
    qt::FSSpec spec{};
    std::int16_t file = 0;
    // A movie that is found but does not open is named, as a missing one is.
    if (qt::NativePathToFileSpec(path.CStr(), &spec, 0) < 0 || qt::OpenMovieFile(&spec, &file, 1) < 0) {
        RaiseError(MultimediaApplication::kErrorFileUnreadable, &path);
        return false;
    }
    const qt::OSErr read = qt::NewMovieFromFile(&m_movie, file, nullptr, nullptr, 0, nullptr);
    qt::CloseMovieFile(file);
    if (read < 0 || m_movie == nullptr) {
        m_movie = nullptr;
        RaiseError(MultimediaApplication::kErrorFileUnreadable, &path);
        return false;
    }
    qt::GetMovieGraphicsPort(m_movie, &m_savedPort, &m_savedDevice);
    qt::SetMovieGraphicsPort(m_movie, m_port, nullptr);
    const qt::Rect bounds{0, 0, static_cast<std::int16_t>(GetSize().height),
                          static_cast<std::int16_t>(GetSize().width)};
    m_controller = qt::NewMovieController(m_movie, &bounds, 0);
    if (m_controller == nullptr) {
        ClearMovie();
        return false;
    }
    if (qt::Movie movie = qt::ControllerGetMovie(m_controller)) {
        if (qt::Track track = qt::QTVRGetQTVRTrack(movie, 1)) {
            qt::QTVRGetQTVRInstance(&m_vrInstance, track, m_controller);
        }
    }
    if (m_vrInstance != nullptr) {
        qt::QTVRSetAngularUnits(m_vrInstance, qt::kQTVRDegrees);
        qt::QTVRSetControlSetting(m_vrInstance, qt::kQTVRCanZoom, true);
        qt::QTVRSetControlSetting(m_vrInstance, qt::kQTVRTranslation, true);
    }
    qt::ControllerAction(m_controller, IsEffectivelyEnabled() ? qt::mcActionActivate : qt::mcActionDeactivate,
                         nullptr);
    m_request = request;
    return true;
}

bool QTWindowMovieControl::ClearMovie() {
    CloseMovie();
    m_request = Fragment();
    return true;
}

void QTWindowMovieControl::CloseMovie() {
    if (m_controller != nullptr) {
        qt::DisposeMovieController(m_controller);
        m_controller = nullptr;
    }
    m_vrInstance = nullptr;
    if (m_savedPort != nullptr || m_savedDevice != nullptr) {
        qt::SetMovieGraphicsPort(m_movie, m_savedPort, m_savedDevice);
        m_savedPort = nullptr;
        m_savedDevice = nullptr;
    }
    if (m_movie != nullptr) {
        qt::DisposeMovie(m_movie);
        m_movie = nullptr;
    }
}

void QTWindowMovieControl::OnEnabled() {
    OSWindowControl::OnEnabled();
    if (m_controller != nullptr) {
        qt::ControllerAction(m_controller, qt::mcActionActivate, nullptr);
    }
}

void QTWindowMovieControl::OnDisabled() {
    OSWindowControl::OnDisabled();
    if (m_controller != nullptr) {
        qt::ControllerAction(m_controller, qt::mcActionDeactivate, nullptr);
    }
}

void QTWindowMovieControl::Idle() {
    OSWindowControl::Idle();
    if (m_controller != nullptr) {
        qt::ControllerIdle(m_controller);
    }
}

bool QTWindowMovieControl::HandleWindowMessage(const win32::MSG& message) {
    OSWindowControl::HandleWindowMessage(message);
    qt::EventRecord event{};
    if (m_controller != nullptr && qt::NativeEventToEvent(&message, &event)) {
        qt::ControllerHandleEvent(m_controller, &event);
    }
    return false;
}
