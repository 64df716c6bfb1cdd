#include "runtime/application/Win32DXQTMultimediaApplicationErrorEngine.h"

#include "platform/win32/windows/Window.h"
#include "resources/ResourceSystem.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/error/ErrorHandle.h"
#include "runtime/application/LocaleTexts.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/application/WindowFunctions.h"
#include "script/Application.h"

#include <cinttypes>
#include <cstdio>

namespace {

using Vemo::ErrorCode;
using Vemo::ErrorFacility;
using Vemo::MakeErrorFacility;

// Modules that define no codes of their own in this program still have their
// names in the report.
constexpr ErrorFacility kRecursiveStateFacility = MakeErrorFacility(Vemo::kErrorKindStateGraph, 2);
constexpr ErrorFacility kMessengerApplicationFacility = MakeErrorFacility(Vemo::kErrorKindMessaging, 4);
constexpr ErrorFacility kMessengerStateFacility = MakeErrorFacility(Vemo::kErrorKindMessaging, 5);

struct FacilityName {
    ErrorFacility facility;
    const char* name;
};

constexpr FacilityName kFacilityNames[] = {
    {Vemo::kResourceSystemFacility, "ResourceSystem"},
    {Vemo::kErrorSystemFacility, "ErrorSystem"},
    {Vemo::kStorageSystemFacility, "StorageSystem"},
    {Vemo::kTimerSystemFacility, "TimerSystem"},
    {Vemo::kGraphicSystemFacility, "GraphicSystem"},
    {Vemo::kSoundSystemFacility, "SoundSystem"},
    {Vemo::kInputDeviceSystemFacility, "InputDeviceSystem"},
    {Vemo::kImageSystemFacility, "ImageSystem"},
    {Vemo::kMovieSystemFacility, "MovieSystem"},
    {Vemo::kFontSystemFacility, "FontSystem"},
    {Vemo::kResourceEngineFacility, "ResourceEngine"},
    {Vemo::kErrorEngineFacility, "ErrorEngine"},
    {Vemo::kStorageEngineFacility, "StorageEngine"},
    {Vemo::kWin32StorageEngineFacility, "Win32StorageEngine"},
    {Vemo::kQuibStorageEngineFacility, "QuibStorageEngine"},
    {Vemo::kMonolithStorageEngineFacility, "MonolithStorageEngine"},
    {Vemo::kTimerEngineFacility, "TimerEngine"},
    {Vemo::kWin32TimerEngineFacility, "Win32TimerEngine"},
    {Vemo::kGraphicEngineFacility, "GraphicEngine"},
    {Vemo::kDirectXGraphicEngineFacility, "DirectXGraphicEngine"},
    {Vemo::kDirectX6GraphicEngineFacility, "DirectX6GraphicEngine"},
    {Vemo::kSoundEngineFacility, "SoundEngine"},
    {Vemo::kQuickTimeSoundEngineFacility, "QuickTimeSoundEngine"},
    {Vemo::kInputDeviceEngineFacility, "InputDeviceEngine"},
    {Vemo::kDirectXInputDeviceEngineFacility, "DirectXInputDeviceEngine"},
    {Vemo::kImageEngineFacility, "ImageEngine"},
    {Vemo::kStandardImageEngineFacility, "StandardImageEngine"},
    {Vemo::kMovieEngineFacility, "MovieEngine"},
    {Vemo::kQuickTimeMovieEngineFacility, "QuickTimeMovieEngine"},
    {Vemo::kFontEngineFacility, "FontEngine"},
    {Vemo::kWin32EngineHookFacility, "Win32EngineHook"},
    {Vemo::kDirectXEngineHookFacility, "DirectXEngineHook"},
    {Vemo::kQuickTimeEngineHookFacility, "QuickTimeEngineHook"},
    {Vemo::kStateGraphFacility, "StateGraph"},
    {kRecursiveStateFacility, "RecursiveState"},
    {Vemo::kApplicationFacility, "Application"},
    {Vemo::kWin32ApplicationFacility, "Win32Application"},
    {Vemo::kMessengerFacility, "Messenger"},
    {Vemo::kMessengerFactoryFacility, "MessengerFactory"},
    {Vemo::kScriptFacility, "Script"},
    {kMessengerApplicationFacility, "MessengerApplication"},
    {kMessengerStateFacility, "MessengerState"},
    {Vemo::kMessengerStateGraphFacility, "MessengerStateGraph"},
    {Vemo::kMessengerRecursiveStateFacility, "MessengerRecursiveState"},
    {Vemo::kMultimediaApplicationFacility, "MultimediaApplication"},
};

constexpr ErrorCode kFileNotFound = MultimediaApplication::kErrorFileNotFound;
constexpr ErrorCode kDisplayMode = Vemo::MakeErrorCode(Vemo::kMessengerViewportFacility, 1);
constexpr ErrorCode kHookNotInstalled = Vemo::MakeErrorCode(Vemo::kApplicationFacility, 16);
constexpr ErrorCode kNoExclusiveDisplay = Vemo::MakeErrorCode(Vemo::kDirectXGraphicEngineFacility, 10);
constexpr ErrorCode kNoDisplayMemory = Vemo::MakeErrorCode(Vemo::kGraphicEngineFacility, 1);

constexpr int kFriendlyMode = 0;
constexpr int kMessengerReportMode = 1;
constexpr int kDeveloperTextMode = 2;

bool TextIs(const Vemo::String* text, const char* expected) {
    return text != nullptr && text->Compare(expected) == 0;
}

// The locale key of the friendly text of a code, or null for a code the user is
// not shown.
const char* FriendlyTextKey(ErrorCode code, const Vemo::String* text) {
    const std::uint16_t number = Vemo::ErrorCodeNumber(code);
    const ErrorFacility facility = Vemo::ErrorCodeFacility(code);
    if (code == kFileNotFound) {
        return "ERR_FINDFILE";
    }
    if (code == MultimediaApplication::kErrorMainWindow) {
        return "ERR_MAINWINDOW";
    }
    if (code == MultimediaApplication::kErrorRegistryValue) {
        return "ERR_CANTOPENREGDIR";
    }
    if (code == MultimediaApplication::kErrorWrongPlatform) {
        return "ERR_WRONGPLATFORM";
    }
    if (code == kDisplayMode) {
        return "ERR_DISPLAYMODE";
    }
    if (code == kHookNotInstalled) {
        if (TextIs(text, "DirectX Engine Hook")) {
            return "ERR_NODD";
        }
        return TextIs(text, "QuickTime Engine Hook") ? "ERR_NOQT" : nullptr;
    }
    if (facility == Vemo::kApplicationFacility) {
        switch (number) {
        case 1:
        case 5:
        case 7:
        case 8:
        case 10:
        case 11:
        case 12:
            return "ERR_LOWMEMORY";
        case 2:
        case 6:
        case 9:
        case 13:
        case 14:
        case 15:
        case 17:
            return "ERR_GENERIC";
        default:
            return nullptr;
        }
    }
    if (facility == Vemo::kQuickTimeEngineHookFacility && number >= 6 && number <= 9) {
        return "ERR_QTDXCOOP";
    }
    if (code == kNoExclusiveDisplay) {
        return "ERR_DISPLAYNOEXCLUSIVE";
    }
    return code == kNoDisplayMemory ? "ERR_DISPLAYNOMEM" : nullptr;
}

// The developer's text of a number of the multimedia application's own
// facility, or null.
const char* DeveloperPattern(std::uint16_t number) {
    switch (number) {
    case 1:
        return "Can't find file: \"%s\"";
    case 2:
        return "Can't create mutex port";
    case 3:
        return "Can't create main window";
    case 4:
    case 5:
    case 6:
    case 7:
        return "Can't open directory: \"%s\"";
    case 8:
        return "Error reading script file: \"%s\"";
    case 99:
        return "Error reading registry value: \"%s\"";
    default:
        return nullptr;
    }
}

// The pattern with its "%s" replaced by the text; without a text the pattern as
// it stands.
Vemo::String FillPattern(const char* pattern, const Vemo::String* text) {
    Vemo::String filled(pattern);
    const std::uint32_t at = filled.Find("%s");
    if (text != nullptr && at != Vemo::String::kNotFound) {
        filled = filled.Substring(0, at).Append(*text).Append(filled.Substring(at + 2, Vemo::String::kAll));
    }
    return filled;
}

} // namespace

Win32DXQTMultimediaApplicationErrorEngine::Win32DXQTMultimediaApplicationErrorEngine()
    : MultimediaApplicationErrorEngine(Vemo::kErrorTypeId, "Win32DXQT Multimedia Application Error Engine") {
    for (const FacilityName& entry : kFacilityNames) {
        m_facilityNames.Insert(entry.facility, Vemo::String(entry.name));
    }
}

Win32DXQTMultimediaApplicationErrorEngine::~Win32DXQTMultimediaApplicationErrorEngine() = default;

Win32DXQTMultimediaApplicationErrorEngine* Win32DXQTMultimediaApplicationErrorEngine::Create() {
    auto* engine = new Win32DXQTMultimediaApplicationErrorEngine;
    if (MultimediaApplicationErrorEngine::Create(engine) == nullptr) {
        delete engine;
        return nullptr;
    }
    return engine;
}

Vemo::ErrorHandle* Win32DXQTMultimediaApplicationErrorEngine::CreateErrorHandle(std::uint32_t codeLow,
                                                                                std::uint32_t codeHigh,
                                                                                const Vemo::String* text) {
    CloseOldestBeyondLimit();
    const ErrorCode code = (static_cast<ErrorCode>(codeHigh) << 32) | codeLow;
    WriteReportLine(code, text);
    if (m_suppress == 0) {
        Vemo::String message;
        Vemo::String title;
        Compose(code, text, message, title);
        if (!message.IsEmpty()) {
            if (title.IsEmpty()) {
                title = LocaleText("ERR_TITLE");
            }
            ShowBox(message, title);
        }
    }
    return ErrorEngine::CreateErrorHandle(codeLow, codeHigh, text);
}

void Win32DXQTMultimediaApplicationErrorEngine::CloseOldestBeyondLimit() {
    const Vemo::ErrorLog& log = GetLog();
    Vemo::ResourceSystem* system = GetSystem();
    if (log.Count() > kMaxKeptHandles && system != nullptr) {
        system->Close(log.At(log.Count() - 1), nullptr);
    }
}

void Win32DXQTMultimediaApplicationErrorEngine::Compose(ErrorCode code, const Vemo::String* text,
                                                        Vemo::String& message, Vemo::String& title) {
    message = Vemo::String();
    title = Vemo::String();
    const int mode = GetDisplayMode();
    const bool messengerModule = Vemo::ErrorCodeKind(code) == Vemo::kErrorKindMessaging;
    if (mode == kFriendlyMode) {
        const char* key = FriendlyTextKey(code, text);
        if (key == nullptr) {
            return;
        }
        message = LocaleText(key);
        if (code == kFileNotFound) {
            m_suppress = 1;
            title = LocaleText("ERR_FILETITLE");
            if (text != nullptr) {
                message.Append("\n\n\"").Append(*text).Append("\"");
            }
        }
    } else if (mode == kMessengerReportMode) {
        if (messengerModule) {
            AppendDetailedReport(code, text, message);
        }
    } else if (mode == kDeveloperTextMode) {
        const char* pattern = DeveloperPattern(Vemo::ErrorCodeNumber(code));
        if (Vemo::ErrorCodeFacility(code) == Vemo::kMultimediaApplicationFacility && pattern != nullptr) {
            message = FillPattern(pattern, text);
        }
    } else {
        AppendDetailedReport(code, text, message);
    }
}

void Win32DXQTMultimediaApplicationErrorEngine::WriteReportLine(ErrorCode code,
                                                                const Vemo::String* text) const {
    const MultimediaApplication* application = MultimediaApplication::Instance();
    const Vemo::String program = application != nullptr && !application->GetProductTitle().IsEmpty()
                                     ? application->GetProductTitle()
                                     : Vemo::String("quorven");
    const auto named = m_facilityNames.Find(Vemo::ErrorCodeFacility(code));
    std::fprintf(stderr, "%s: error reported by %s, code %hu%s%s\n", program.CStr(),
                 named != m_facilityNames.End() ? named->second.CStr() : "an unnamed module",
                 Vemo::ErrorCodeNumber(code), text != nullptr && !text->IsEmpty() ? ": " : "",
                 text != nullptr ? text->CStr() : "");
}

void Win32DXQTMultimediaApplicationErrorEngine::AppendDetailedReport(ErrorCode code, const Vemo::String* text,
                                                                     Vemo::String& message) const {
    const ErrorFacility facility = Vemo::ErrorCodeFacility(code);
    message.Append("\nError reported:\n\n");
    message.Append("\nFacility: ");
    const auto named = m_facilityNames.Find(facility);
    if (named != m_facilityNames.End()) {
        message.Append(named->second);
    } else {
        char digits[32];
        std::snprintf(digits, sizeof(digits), "0x%010" PRIu64, static_cast<std::uint64_t>(facility));
        message.Append(digits);
    }
    char number[16];
    std::snprintf(number, sizeof(number), "%hu", Vemo::ErrorCodeNumber(code));
    message.Append("\nCode: ").Append(number);
    if (text != nullptr) {
        message.Append("\nString: ").Append(*text);
    }
}

void Win32DXQTMultimediaApplicationErrorEngine::ShowBox(const Vemo::String& message,
                                                        const Vemo::String& title) {
    MultimediaApplication* application = MultimediaApplication::Instance();
    const win32::HWND owner =
        application != nullptr ? GetViewportWindowHandle(application->GetViewport()) : nullptr;
    win32::MessageBoxA(owner, message.CStr(), title.CStr(), 0);
}
