#include "runtime/application/MultimediaApplication.h"

#include "engines/timing/Timer.h"
#include "engines/timing/TimerSystem.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/files/FileInfo.h"
#include "platform/win32/files/FileManagement.h"
#include "platform/win32/kernel/Synchronization.h"
#include "platform/win32/windows/RunLoopPacing.h"
#include "platform/win32/windows/Window.h"
#include "resources/error/Error.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/Path.h"
#include "resources/storage/Volume.h"
#include "runtime/application/LocaleTexts.h"
#include "runtime/application/MultimediaApplicationErrorEngine.h"
#include "runtime/application/ProductRegistry.h"
#include "runtime/application/WindowsPaths.h"
#include "runtime/fonts/FontCache.h"
#include "runtime/pictures/BitmapCache.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/MessengerViewport.h"
#include "script/Config.h"
#include "script/ErrorString.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/MessengerStateGraph.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentsEnumerator.h"
#include "script/State.h"
#include "script/StateGraph.h"
#include "script/TextLocale.h"
#include "script/WholeFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

namespace {

// The fallback state of every state graph: a graph that falls into it has
// failed.
constexpr std::uint32_t kFallbackStateId = 1;

const Vemo::String& SharedSettingsName() {
    static const Vemo::String* const name = new Vemo::String("Shared.ini");
    return *name;
}

bool LessNoCase(const Vemo::String& a, const Vemo::String& b) {
    return Vemo::CompareNoCase(a.CStr(), b.CStr()) < 0;
}

// The run loop may sleep after this step until the next blank; a frame timer that ticks sooner wakes it, so
// that a rate above the display's still paces the title as it asks.
void WakeForNextTick(Vemo::Timer* timer) {
    if (timer == nullptr || !timer->IsRunning()) {
        return;
    }
    const std::uint32_t period = timer->Period();
    const std::uint32_t elapsed = timer->Elapsed();
    win32::RunLoopStepDueWithin(elapsed < period ? period - elapsed : 0);
}

// The one-fragment value of a file name, as a script would write it.
Fragment NameFragment(const Vemo::String& name) {
    return Fragment(name);
}

// The body of the disc prompt with its first "%s" replaced by the product name
// and each "%%" by "%"; the body is the title's own text, so every other "%"
// stays as it is written.
Vemo::String FormatDiscPrompt(const Vemo::String& body, const Vemo::String& product) {
    Vemo::String message;
    const char* text = body.CStr();
    const std::uint32_t length = body.Length();
    bool replaced = false;
    for (std::uint32_t i = 0; i < length; ++i) {
        if (text[i] == '%' && i + 1 < length && text[i + 1] == '%') {
            message.Append("%");
            ++i;
        } else if (!replaced && text[i] == '%' && i + 1 < length && text[i + 1] == 's') {
            message.Append(product);
            replaced = true;
            ++i;
        } else {
            message.Append(1, text[i]);
        }
    }
    return message;
}

template <class T>
void DeleteAndClear(T*& pointer) {
    delete pointer;
    pointer = nullptr;
}

} // namespace

bool MultimediaApplication::ScriptLess::operator()(const Vemo::String& a, const Vemo::String& b) const {
    return LessNoCase(a, b);
}

bool MultimediaApplication::TextLocaleLess::operator()(const Vemo::String& a, const Vemo::String& b) const {
    return LessNoCase(a, b);
}

MultimediaApplication::MultimediaApplication(const Vemo::String& name)
    : MessengerApplication(name), m_searchOrder([this](const Fragment& root, bool prompt) {
          return ResolveSearchOrderRecord(root, prompt);
      }) {
    ApplicationServices::SetCurrent(this);
}

MultimediaApplication::~MultimediaApplication() {
    DeleteOwned();
    if (ApplicationServices::Current() == this) {
        ApplicationServices::SetCurrent(nullptr);
    }
}

MultimediaApplication* MultimediaApplication::Instance() {
    // The current services are this application's own: it is the one kind that makes itself current.
    return dynamic_cast<MultimediaApplication*>(ApplicationServices::Current());
}

const Vemo::String& MultimediaApplication::AppSection() {
    static const Vemo::String* const section = new Vemo::String("App");
    return *section;
}

Vemo::String MultimediaApplication::GetClassName() const {
    return Vemo::String("MultimediaApplication");
}

// --- Scripts, locale tables and shared settings
// ---------------------------------------------------------------

bool MultimediaApplication::FindCacheKey(const Fragment& name, Vemo::Path& path, Vemo::String& key) {
    if (!FindFile(name, path, true)) {
        RaiseError(kErrorFailure);
        return false;
    }
    path.GetText(key, true, false);
    return true;
}

Script* MultimediaApplication::GetScript(const Fragment& name, bool parseNow) {
    Vemo::Path path;
    Vemo::String key;
    if (!FindCacheKey(name, path, key)) {
        return nullptr;
    }
    const auto cached = m_scripts.Find(key);
    if (cached != m_scripts.End()) {
        return cached->second;
    }
    auto* script = new Script;
    if (!script->Load(path, parseNow)) {
        delete script;
        RaiseError(kErrorScriptFile, &key);
        return nullptr;
    }
    m_scripts.Insert(key, script);
    return script;
}

Script* MultimediaApplication::GetScript(const Vemo::String& name) {
    return GetScript(NameFragment(name), false);
}

TextLocale* MultimediaApplication::GetTextLocale(const Fragment& name) {
    Vemo::Path path;
    Vemo::String key;
    if (!FindCacheKey(name, path, key)) {
        return nullptr;
    }
    const auto cached = m_textLocales.Find(key);
    if (cached != m_textLocales.End()) {
        return cached->second;
    }
    auto* locale = new TextLocale;
    if (!locale->Load(path)) {
        delete locale;
        RaiseError(kErrorFailure);
        return nullptr;
    }
    m_textLocales.Insert(key, locale);
    return locale;
}

bool MultimediaApplication::GetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                                             Vemo::String& value) {
    if (!OpenSharedSettings()) {
        value = Vemo::String();
        return false;
    }
    return m_sharedSettings.Get()->GetValue(section, key, value);
}

bool MultimediaApplication::SetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                                             const Vemo::String& value) {
    return OpenSharedSettings() && m_sharedSettings.SetValue(section, key, value);
}

bool MultimediaApplication::RemSharedSetting(const Vemo::String& section, const Vemo::String& key) {
    return OpenSharedSettings() && m_sharedSettings.RemoveKey(section, key);
}

bool MultimediaApplication::OpenSharedSettings() {
    Vemo::Path path;
    return SharedSettingsPath(path) && m_sharedSettings.Open(path);
}

bool MultimediaApplication::CloseSharedSettings() {
    return m_sharedSettings.Close(false);
}

Config* MultimediaApplication::GetSharedSettings() const {
    return m_sharedSettings.Get();
}

bool MultimediaApplication::SharedSettingsPath(Vemo::Path& out) const {
    if (m_sharedPath == nullptr) {
        return false;
    }
    out.Assign(*m_sharedPath);
    return out.Parse(SharedSettingsName()) && out.GetDirectory() != nullptr;
}

void MultimediaApplication::RemoveStaleSettingsFiles() {
    Vemo::Path path;
    if (SharedSettingsPath(path)) {
        Config::RemoveStaleNewFiles(path);
    }
}

// --- Files, the search order and the data disc
// ----------------------------------------------------------------

bool MultimediaApplication::FindFile(const Fragment& name, Vemo::Path& out, bool report) {
    if (name.GetText().IsEmpty()) {
        RaiseError(kErrorFailure);
        return false;
    }
    if (m_searchOrder.FindFile(name, out)) {
        return true;
    }
    if (report) {
        ReportNotFound(name);
    }
    return false;
}

bool FindApplicationFile(Vemo::Path& out, const Fragment& name) {
    MultimediaApplication* application = MultimediaApplication::Instance();
    if (application == nullptr || !application->FindFile(name, out, true)) {
        RaiseError(MultimediaApplication::kErrorFailure);
        return false;
    }
    return true;
}

bool MultimediaApplication::FindDirectories(SearchOrder::DirectoryList& out, const Fragment& name,
                                            bool stopAtFirst, bool report) {
    if (m_searchOrder.FindDirectories(out, name, stopAtFirst)) {
        return true;
    }
    if (report) {
        ReportNotFound(name);
    }
    return false;
}

void MultimediaApplication::ReportNotFound(const Fragment& name) {
    Vemo::BasicArray<Fragment> written;
    written.PushBack(name);
    Vemo::String text;
    FragmentsToText(written, text);
    RaiseError(kErrorFileNotFound, &text);
    QuitWithFailure();
}

bool MultimediaApplication::AddSearchPath(const Fragment& path) {
    return m_searchOrder.AddSearchPath(path);
}

bool MultimediaApplication::RemoveSearchPath(const Fragment& path) {
    return m_searchOrder.RemoveSearchPath(path);
}

Vemo::Path* MultimediaApplication::ResolveSearchOrderRecord(const Fragment& name, bool prompt) {
    if (!name.HasChildren()) {
        return nullptr;
    }
    const SubString& word = name.GetChildren()[0].GetText();
    if (word.CompareNoCase(SubString(Vemo::String("HD"))) == 0) {
        return m_gamePath;
    }
    if (word.CompareNoCase(SubString(Vemo::String("CD"))) == 0) {
        return FindDataPath(prompt);
    }
    if (word.CompareNoCase(SubString(Vemo::String("Shared"))) == 0) {
        return m_sharedPath;
    }
    if (word.CompareNoCase(SubString(Vemo::String("User"))) == 0) {
        return m_userPath;
    }
    return nullptr;
}

bool MultimediaApplication::VolumeHasIdent(const Vemo::Path& directory) {
    Vemo::Path path(directory);
    if (!path.Parse(Vemo::String("ident")) || path.GetDirectory() == nullptr ||
        !path.GetDirectory()->ContainsFile(path.GetName())) {
        return false;
    }
    Vemo::File file;
    if (!file.Open(path, nullptr, false)) {
        return false;
    }
    const WholeFile contents(file);
    if (!contents.IsRead() || contents.Size() == 0) {
        return false;
    }
    Vemo::String ident;
    ident.Assign(contents.Data(), static_cast<std::uint32_t>(::strnlen(contents.Data(), contents.Size())));
    return MatchIdent(ident);
}

Vemo::Path* MultimediaApplication::FindDataPath(bool prompt) {
    if (m_dataPath != nullptr) {
        return m_dataPath;
    }
    Vemo::Path root;
    for (unsigned number = 0;; ++number) {
        char name[16];
        std::snprintf(name, sizeof(name), "CD%u", number);
        const Vemo::String volumeName(name);
        Vemo::Volume volume;
        if (!volume.Open(&volumeName, nullptr, false)) {
            if (!prompt) {
                return nullptr;
            }
            if (number == 0) {
                SayNoCdRomDrive();
            }
            if (!PromptForDisc()) {
                return nullptr;
            }
            number = static_cast<unsigned>(-1);
            continue;
        }
        root = Vemo::Path();
        if (root.Parse(Vemo::String(volumeName).Append(":")) && VolumeHasIdent(root)) {
            break;
        }
    }
    auto volume = std::make_unique<Vemo::Volume>();
    if (volume->Open(root, false)) {
        if (volume->IsLockable()) {
            volume->Lock();
        }
        m_dataVolume = volume.release();
    }
    m_dataPath = new Vemo::Path(root);
    return m_dataPath;
}

// No box can tell the player that the machine lacks the drive the box asks to put the disc into: the one who
// set the machine up reads it here.
void MultimediaApplication::SayNoCdRomDrive() {
    if (m_saidNoCdRomDrive) {
        return;
    }
    m_saidNoCdRomDrive = true;
    std::fprintf(
        stderr,
        "%s: the title asks for its disc, but the machine has no CD-ROM drive; give the disc's folder "
        "or mount point as one in VEMO_DRIVES, for example VEMO_DRIVES='C=/:fixed;D=/media/cdrom:cdrom'\n",
        m_productTitle.CStr());
}

bool MultimediaApplication::PromptForDisc() {
    const Vemo::String body = LocaleText("ERR_INSERTCDBODY");
    const Vemo::String title = LocaleText("ERR_INSERTCDTITLE");
    Vemo::String product;
    if (m_textLocale == nullptr || !m_textLocale->Lookup(Vemo::String("PRODUCT_NAME"), product)) {
        product = m_productTitle;
    }
    const Vemo::String message = FormatDiscPrompt(body, product);
    return ShowMessage(&message, &title) == win32::IDOK;
}

// --- Input and the states' hooks
// -------------------------------------------------------------------------------

bool MultimediaApplication::EnableInput(bool enable) {
    bool enabled = true;
    if (m_viewport != nullptr && m_viewport->GetRootControl() != nullptr) {
        enabled = m_viewport->GetRootControl()->SetEnabled(enable);
    }
    m_inputDisabled = enable ? 0 : 1;
    return enabled;
}

void MultimediaApplication::OnStateEntered(MessengerState*) {}

void MultimediaApplication::OnStateExited(MessengerState*) {}

// --- Start-up
// ----------------------------------------------------------------------------------------------------

bool MultimediaApplication::OnStartup() {
    if (!ReadRootPath("System\\GamePath", kErrorGamePath, m_gamePath)) {
        return false;
    }
    // Before the locale: a locale that is not under the game path reaches the
    // "CD" record, which is then the data path rather than a scan of the drives
    // and a prompt.
    ReadDataPath();
    if (!ReadLocale() || !ReadRootPath("System\\SharedPath", kErrorSharedPath, m_sharedPath) ||
        !ReadRootPath("System\\UserPath", kErrorUserPath, m_userPath)) {
        return false;
    }
    RemoveStaleSettingsFiles();
    return ReadConfiguration();
}

bool MultimediaApplication::ReadRootPath(const char* valueName, Vemo::ErrorCode pathError, Vemo::Path*& out) {
    const Vemo::String name(valueName);
    Vemo::String text;
    if (!ReadProductRegistryString(m_productTitle, name, text)) {
        // Said on the standard error as well: a title that was never registered has nothing else to explain.
        std::fprintf(
            stderr,
            "%s: the registry value %s of HKEY_LOCAL_MACHINE\\%s is missing; register the title with "
            "scripts/register-title (installed: quorven-register-title)\n",
            m_productTitle.CStr(), valueName, ProductKeyPath(m_productTitle).CStr());
        RaiseError(kErrorRegistryValue, &name);
        return false;
    }
    // A title moved or deleted after it was registered ends start-up with a box that does not say where it
    // was looked for.
    const win32::DWORD attributes = win32::GetFileAttributesA(text.CStr());
    if (attributes == win32::INVALID_FILE_ATTRIBUTES || (attributes & win32::FILE_ATTRIBUTE_DIRECTORY) == 0) {
        std::fprintf(
            stderr,
            "%s: the registry value %s of HKEY_LOCAL_MACHINE\\%s names %s, which is no folder; register "
            "the title with scripts/register-title (installed: quorven-register-title)\n",
            m_productTitle.CStr(), valueName, ProductKeyPath(m_productTitle).CStr(), text.CStr());
    }
    auto path = std::make_unique<Vemo::Path>();
    // The root must be a directory that a name can be taken in.
    Vemo::Path probe;
    if (!MakeAbsolutePath(text, *path) || !probe.Assign(*path) || !probe.Parse(Vemo::String("CD"))) {
        RaiseError(pathError, &text);
        return false;
    }
    delete out;
    out = path.release();
    return true;
}

void MultimediaApplication::ReadDataPath() {
    Vemo::String text;
    if (!ReadProductRegistryString(m_productTitle, Vemo::String("System\\DataPath"), text)) {
        return;
    }
    auto path = std::make_unique<Vemo::Path>();
    if (!MakeAbsolutePath(text, *path) || !VolumeHasIdent(*path)) {
        return;
    }
    m_dataPath = path.release();
    OpenDataVolume();
}

void MultimediaApplication::OpenDataVolume() {
    Vemo::Path ident(*m_dataPath);
    if (!ident.Parse(Vemo::String("ident")) || ident.GetDirectory() == nullptr) {
        DeleteAndClear(m_dataPath);
        return;
    }
    auto volume = std::make_unique<Vemo::Volume>();
    if (ident.GetDirectory()->GetVolume(*volume) && volume->IsLockable()) {
        volume->Lock();
        m_dataVolume = volume.release();
    }
}

bool MultimediaApplication::ReadLocale() {
    m_textLocale = GetTextLocale(NameFragment(GetLocaleFileName()));
    if (m_textLocale == nullptr) {
        RaiseError(kErrorFailure);
        return false;
    }
    return true;
}

bool MultimediaApplication::ReadConfiguration() {
    m_configScript = GetScript(NameFragment(GetConfigFileName()), false);
    if (m_configScript == nullptr) {
        RaiseError(kErrorFailure);
        return false;
    }
    ReadDebugLevel();
    return ReadSearchPaths() && CreateBitmapCache() && CreateFontCache() && CreateFrameTimers();
}

void MultimediaApplication::RaiseKeyFailure(const Script* script, const char* key) {
    Vemo::String where;
    if (script != nullptr) {
        AppendQuotedItem(where, *script);
    }
    AppendQuotedItem(AppendQuotedItem(where, AppSection()), Vemo::String(key));
    RaiseError(kErrorFailure, &where);
}

bool MultimediaApplication::ReadNumber(const char* key, unsigned long& out) {
    Vemo::String text;
    if (!m_configScript->GetValueText(AppSection(), Vemo::String(key), text)) {
        return false;
    }
    out = std::strtoul(text.CStr(), nullptr, 0);
    return true;
}

void MultimediaApplication::ReadDebugLevel() {
    unsigned long level = 0;
    if (!ReadNumber("DebugLevel", level)) {
        level = 0;
    }
    if (m_errorEngine != nullptr) {
        m_errorEngine->SetDisplayMode(static_cast<int>(static_cast<std::uint32_t>(level)));
    }
}

bool MultimediaApplication::ReadSearchPaths() {
    ScriptKeyFragmentsEnumerator values;
    if (!m_configScript->EnumerateKey(AppSection(), Vemo::String("SearchPath"), values)) {
        RaiseKeyFailure(m_configScript, "SearchPath");
        return false;
    }
    for (const Vemo::BasicArray<Fragment>& value : values.GetValues()) {
        for (const Fragment& path : value) {
            AddSearchPath(path);
        }
    }
    return true;
}

void MultimediaApplication::SetBitmapCache(BitmapCache* cache) {
    if (cache != m_bitmapCache) {
        delete m_bitmapCache;
        m_bitmapCache = cache;
    }
}

bool MultimediaApplication::CreateBitmapCache() {
    m_bitmapCache = new BitmapCache;
    if (!m_bitmapCache->Initialize()) {
        RaiseError(kErrorFailure);
        return false;
    }
    return true;
}

bool MultimediaApplication::CreateFontCache() {
    const Vemo::BasicArray<Fragment>* value = nullptr;
    Vemo::String name;
    if (m_configScript->GetFragments(AppSection(), Vemo::String("Fonts"), value)) {
        FragmentStream(*value) >> name;
    }
    Messenger* made =
        name.IsEmpty() ? nullptr : MessengerFactory::CreateFromScript(name, this, m_configScript);
    m_fontCache = dynamic_cast<FontCache*>(made);
    if (m_fontCache == nullptr) {
        delete made;
        RaiseKeyFailure(m_configScript, "Fonts");
        return false;
    }
    return true;
}

bool MultimediaApplication::CreateFrameTimers() {
    struct FrameTimer {
        const char* key;
        Vemo::Timer** timer;
    };
    const FrameTimer timers[] = {{"MaxSystemFPS", &m_systemFrameTimer},
                                 {"MaxGraphFPS", &m_graphFrameTimer},
                                 {"MaxDrawFPS", &m_drawFrameTimer}};
    for (const FrameTimer& frameTimer : timers) {
        unsigned long number = 0;
        if (!ReadNumber(frameTimer.key, number)) {
            continue;
        }
        const auto rate = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
        if (rate <= 0 || rate >= 1000) {
            continue;
        }
        auto* timer = new Vemo::Timer;
        *frameTimer.timer = timer;
        if (!timer->Open(Vemo::TimerSystem::Standard, static_cast<std::uint32_t>(1000 / rate),
                         Vemo::TimerSystem::MilliSecond, Vemo::kTimerTypeId)) {
            RaiseError(kErrorFailure);
            return false;
        }
        timer->Start();
    }
    return true;
}

// --- The frame
// -------------------------------------------------------------------------------------------------

void MultimediaApplication::Step() {
    Vemo::Win32Application::Step();
    Vemo::StateGraph* graph = GetStateGraph();
    Vemo::State* end = graph != nullptr ? graph->GetReachedEndState() : nullptr;
    if (end != nullptr && !IsQuitting()) {
        if (end->GetId() == kFallbackStateId) {
            RaiseError(kErrorFailure);
            QuitWithFailure();
        } else {
            Quit();
        }
    }
    const bool drawNow =
        m_drawFrameTimer == nullptr || !m_drawFrameTimer->IsRunning() || m_drawFrameTimer->TakeTicks() >= 1;
    if (drawNow && m_viewport != nullptr) {
        m_viewport->DrawFrame(true);
    }
    CloseSharedSettings();
    for (Vemo::Timer* timer : {m_systemFrameTimer, m_graphFrameTimer, m_drawFrameTimer}) {
        WakeForNextTick(timer);
    }
}

void MultimediaApplication::StepStateGraph() {
    if (m_inputDisabled != 0) {
        return;
    }
    if (m_graphFrameTimer != nullptr && m_graphFrameTimer->IsRunning() &&
        m_graphFrameTimer->TakeTicks() == 0) {
        return;
    }
    MessengerApplication::StepStateGraph();
}

bool MultimediaApplication::CreateStateGraph() {
    Script* script = GetScript(NameFragment(GetConfigFileName()), false);
    const Vemo::BasicArray<Fragment>* value = nullptr;
    Vemo::String name;
    if (script != nullptr && script->GetFragments(AppSection(), Vemo::String("Graph"), value)) {
        FragmentStream(*value) >> name;
    }
    Messenger* made = name.IsEmpty() ? nullptr : MessengerFactory::CreateFromScript(name, this, script);
    auto* graph = dynamic_cast<MessengerStateGraph*>(made);
    if (graph == nullptr) {
        delete made;
        RaiseKeyFailure(script, "Graph");
        return false;
    }
    SetStateGraph(graph);
    return true;
}

void MultimediaApplication::QuitWithFailure() {
    win32::PostQuitMessage(1);
}

// --- Shut-down
// ---------------------------------------------------------------------------------------------------

bool MultimediaApplication::OnShutdown() {
    // A settings file that could not be saved fails the shut-down: the player's changes are lost.
    const bool userSaved = CloseUserSettings();
    const bool sharedSaved = m_sharedSettings.Close(true);
    DeleteOwned();
    return userSaved && sharedSaved;
}

void MultimediaApplication::DeleteOwned() {
    m_sharedSettings.Discard();
    DeleteAndClear(m_drawFrameTimer);
    DeleteAndClear(m_graphFrameTimer);
    DeleteAndClear(m_systemFrameTimer);
    DeleteAndClear(m_fontCache);
    DeleteAndClear(m_bitmapCache);
    m_searchOrder.RemoveAllSearchPaths();
    DeleteAndClear(m_userPath);
    DeleteAndClear(m_sharedPath);
    DeleteAndClear(m_dataPath);
    if (m_dataVolume != nullptr) {
        if (m_dataVolume->IsLockable()) {
            m_dataVolume->Unlock();
        }
        DeleteAndClear(m_dataVolume);
    }
    DeleteAndClear(m_gamePath);
    m_textLocale = nullptr;
    for (auto& entry : m_textLocales) {
        delete entry.second;
    }
    m_textLocales.Clear();
    m_configScript = nullptr;
    for (auto& entry : m_scripts) {
        delete entry.second;
    }
    m_scripts.Clear();
}
