// The scripted application of the runtime: the one MessengerApplication of the process, between the engine
// world (built by Win32DXQTMultimediaApplication) and the scripted world. It finds the title through the
// registry (game, data, shared and user paths), finds every file a script names along its search order
// (SearchOrder), identifies the data disc, caches the scripts and locale tables it loads, keeps the shared
// settings file, the bitmap and font caches and the three frame timers, creates the state graph and steps and
// draws the title each frame.
//
// Start-up reads, in this order: the game path, the data path (checked against its "ident" file, never
// prompting), the locale table, the shared and user paths, the configuration script and its "App" keys
// (DebugLevel, SearchPath, Fonts, MaxSystemFPS, MaxGraphFPS, MaxDrawFPS). The "Graph" key names the state
// graph.
//
// Exactly one instance exists at a time; Instance() is it. Main thread only.
#pragma once

#include "foundation/BasicList.h"
#include "foundation/BasicMap.h"
#include "foundation/String.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"
#include "runtime/ApplicationServices.h"
#include "runtime/application/SearchOrder.h"
#include "runtime/application/SharedSettings.h"
#include "script/MessengerApplication.h"

#include <cstdint>

class BitmapCache;
class Config;
class FontCache;
class MessengerViewport;
class MultimediaApplicationErrorEngine;
class MessengerState;
class Script;
class TextLocale;

namespace Vemo {
class Path;
class ResourceEngine;
class Timer;
class Volume;
} // namespace Vemo

class MultimediaApplication : public MessengerApplication, public ApplicationServices {
public:
    using FoundFileLess = ::FoundFileLess;
    using SearchOrderRecord = ::SearchOrderRecord;
    using SearchPathRecord = ::SearchPathRecord;

    // Full paths compare without regard to case, as the files they name do.
    struct ScriptLess {
        bool operator()(const Vemo::String& a, const Vemo::String& b) const;
    };
    struct TextLocaleLess {
        bool operator()(const Vemo::String& a, const Vemo::String& b) const;
    };

    // Text: the name as written.
    static constexpr Vemo::ErrorCode kErrorFileNotFound = MultimediaApplicationErrorCode(1);
    static constexpr Vemo::ErrorCode kErrorMutexWindow = MultimediaApplicationErrorCode(2);
    static constexpr Vemo::ErrorCode kErrorMainWindow = MultimediaApplicationErrorCode(3);
    // Text: the path as the registry holds it.
    static constexpr Vemo::ErrorCode kErrorGamePath = MultimediaApplicationErrorCode(4);
    static constexpr Vemo::ErrorCode kErrorDirectory = MultimediaApplicationErrorCode(5);
    static constexpr Vemo::ErrorCode kErrorSharedPath = MultimediaApplicationErrorCode(6);
    static constexpr Vemo::ErrorCode kErrorUserPath = MultimediaApplicationErrorCode(7);
    // Text: the file's path.
    static constexpr Vemo::ErrorCode kErrorScriptFile = MultimediaApplicationErrorCode(8);
    static constexpr Vemo::ErrorCode kErrorWrongPlatform = MultimediaApplicationErrorCode(9);
    // Code 10, kErrorFileUnreadable (a file found that does not open), comes from ApplicationServices, as the
    // parts below the application raise it too.
    // Text: the value's name, as "System\GamePath".
    static constexpr Vemo::ErrorCode kErrorRegistryValue = MultimediaApplicationErrorCode(99);
    // Every other failure: the messenger module's generic code, without text.
    static constexpr Vemo::ErrorCode kErrorFailure = Messenger::kErrorSettings;

    // Becomes the current multimedia application.
    explicit MultimediaApplication(const Vemo::String& name);
    // Deletes whatever OnShutdown did not (after a start-up that never got that far), saving nothing.
    ~MultimediaApplication() override;

    // Null while there is none.
    static MultimediaApplication* Instance();

    Vemo::String GetClassName() const override;

    // The script of the file the name finds (cached by its full path), or null after reporting: an unknown
    // file reports code 1 and quits (see FindFile) and then the generic code; a file that does not load,
    // code 8 with its path. parseNow parses every value at once.
    virtual Script* GetScript(const Fragment& name, bool parseNow);
    Script* GetScript(const Vemo::String& name) override;
    using MessengerApplication::GetScript;
    // The same for locale tables; one that does not load reports the generic code.
    TextLocale* GetTextLocale(const Fragment& name) override;
    bool GetSharedSetting(const Vemo::String& section, const Vemo::String& key, Vemo::String& value) override;
    bool SetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                          const Vemo::String& value) override;
    bool RemSharedSetting(const Vemo::String& section, const Vemo::String& key) override;

    // A modal box with OK and Cancel over the viewport's window; IDOK or IDCANCEL.
    virtual int ShowMessage(const Vemo::String* text, const Vemo::String* caption) = 0;
    // Enables or disables the viewport's controls; while disabled the state graph stands still.
    bool EnableInput(bool enable) override;
    virtual void OnStateEntered(MessengerState* state);
    virtual void OnStateExited(MessengerState* state);
    virtual const Vemo::String& GetConfigFileName() const = 0;
    virtual const Vemo::String& GetLocaleFileName() const = 0;
    // Whether the directory holds an "ident" file whose text MatchIdent accepts: the data of this product.
    virtual bool VolumeHasIdent(const Vemo::Path& directory);
    virtual bool MatchIdent(const Vemo::String& ident) = 0;
    // Asks the user to insert the data disc; true when asked to try again.
    virtual bool PromptForDisc();
    // The root of the search-order record the fragment's first child names ("HD", "User", "Shared", "CD"),
    // or null; the "CD" root may look for the data disc, and with prompt ask for it.
    virtual Vemo::Path* ResolveSearchOrderRecord(const Fragment& name, bool prompt);

    // The run loop's step: the Win32 step, quitting at an end state, drawing, closing the shared settings.
    void Step() override;
    bool OnStartup() override;
    bool OnShutdown() override;
    void StepStateGraph() override;
    bool CreateStateGraph() override;

    Vemo::Path* GetGamePath() const { return m_gamePath; }
    Vemo::Path* GetSharedPath() const { return m_sharedPath; }
    Vemo::Path* GetUserPath() const { return m_userPath; }
    // The data path, looking for the data disc first when there is none yet (asking for it with prompt);
    // null when there is none.
    Vemo::Path* FindDataPath(bool prompt);
    // The file the name finds along the search order. Not found with report: code 1 with the name as
    // written, and the application quits with a failure.
    bool FindFile(const Fragment& name, Vemo::Path& out, bool report) override;
    bool FindDirectories(SearchOrder::DirectoryList& out, const Fragment& name, bool stopAtFirst,
                         bool report);
    bool AddSearchPath(const Fragment& path);
    bool RemoveSearchPath(const Fragment& path);
    // Loads "Shared.ini" of the shared path afresh, creating it when missing, with this run's unwritten
    // changes laid over it; the settings stay open until the end of the frame step (SharedSettings).
    bool OpenSharedSettings();
    // Closes them, saving this run's changes first when a try is due: at once, or a second after a failed
    // one, which was reported once with code 1000 and the file's path. True when no change is left unwritten.
    bool CloseSharedSettings();

    const Vemo::String& GetProductTitle() const { return m_productTitle; }
    void SetProductTitle(const Vemo::String& title) { m_productTitle = title; }
    bool IsInputDisabled() const { return m_inputDisabled != 0; }
    MessengerViewport* GetViewport() const { return m_viewport; }
    BitmapCache* GetBitmapCache() const override { return m_bitmapCache; }
    FontCache* GetFontCache() const override { return m_fontCache; }
    MultimediaApplicationErrorEngine* GetErrorEngine() const { return m_errorEngine; }
    // The table of GetLocaleFileName, or null before start-up has read it.
    TextLocale* GetTextLocaleTable() const { return m_textLocale; }
    Script* GetConfigScript() const { return m_configScript; }
    Vemo::Volume* GetDataVolume() const { return m_dataVolume; }
    Vemo::Timer* GetSystemFrameTimer() const { return m_systemFrameTimer; }
    Vemo::Timer* GetGraphFrameTimer() const { return m_graphFrameTimer; }
    Vemo::Timer* GetDrawFrameTimer() const { return m_drawFrameTimer; }
    // Null while they are closed.
    Config* GetSharedSettings() const;
    const SearchOrder& GetSearchOrder() const { return m_searchOrder; }

    // The section and keys the application reads from its configuration script.
    static const Vemo::String& AppSection();

protected:
    // Quits the run with exit code 2: a post of WM_QUIT with a code that is not 0.
    void QuitWithFailure();
    // Takes the bitmap cache, for an application that makes it by other means than start-up; one it had is
    // deleted.
    void SetBitmapCache(BitmapCache* cache);

    Vemo::BasicList<Vemo::ResourceEngine*> m_engines;
    MultimediaApplicationErrorEngine* m_errorEngine = nullptr;
    MessengerViewport* m_viewport = nullptr;

private:
    bool ReadRootPath(const char* valueName, Vemo::ErrorCode pathError, Vemo::Path*& out);
    void ReadDataPath();
    bool ReadLocale();
    bool ReadConfiguration();
    void ReadDebugLevel();
    bool ReadSearchPaths();
    bool CreateBitmapCache();
    bool CreateFontCache();
    bool CreateFrameTimers();
    // The "App" key's raw text converted as an unsigned number in any C base; false when absent.
    bool ReadNumber(const char* key, unsigned long& out);
    // The failure of a start-up step that the key of the application's section in the script names; the
    // error's text is the script's path, the section and the key.
    void RaiseKeyFailure(const Script* script, const char* key);
    // Locks the volume that holds the data path's "ident" file, when it can be locked.
    void OpenDataVolume();
    // Once a run, on the standard error: the disc is asked for and there is no CD-ROM drive to put it in.
    void SayNoCdRomDrive();
    // Code 1 with the name written back as script text, and a quit with a failure.
    void ReportNotFound(const Fragment& name);
    // The full path text of the file a name finds, reporting the generic code when there is none.
    bool FindCacheKey(const Fragment& name, Vemo::Path& path, Vemo::String& key);
    void DeleteOwned();
    // Removes the new files of "Shared.ini" that runs killed during a save left (the user settings' are
    // removed when they are opened).
    void RemoveStaleSettingsFiles();
    bool SharedSettingsPath(Vemo::Path& out) const;

    Vemo::String m_productTitle;
    std::uint8_t m_inputDisabled = 0;
    BitmapCache* m_bitmapCache = nullptr;
    FontCache* m_fontCache = nullptr;
    Vemo::Timer* m_systemFrameTimer = nullptr;
    Vemo::Timer* m_graphFrameTimer = nullptr;
    Vemo::Timer* m_drawFrameTimer = nullptr;
    Vemo::Path* m_gamePath = nullptr;
    Vemo::Path* m_dataPath = nullptr;
    Vemo::Path* m_sharedPath = nullptr;
    Vemo::Path* m_userPath = nullptr;
    Vemo::Volume* m_dataVolume = nullptr;
    Script* m_configScript = nullptr;
    TextLocale* m_textLocale = nullptr;
    SearchOrder m_searchOrder;
    Vemo::BasicMap<Vemo::String, Script*, ScriptLess> m_scripts;
    Vemo::BasicMap<Vemo::String, TextLocale*, TextLocaleLess> m_textLocales;
    SharedSettings m_sharedSettings;
    // The standard error has said that the disc is asked for on a machine without a CD-ROM drive.
    bool m_saidNoCdRomDrive = false;
};

// The file a script names, as controls find their pictures, movies and sounds: FindFile of the current
// multimedia application with reporting on. A name that is not found also reports the messenger module's
// generic code; so does a call with no application.
bool FindApplicationFile(Vemo::Path& out, const Fragment& name);
