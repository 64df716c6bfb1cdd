// What the application's error engine shows for each error, by display mode,
// without a locale (the built-in texts), and how many error handles it keeps.
#include "platform/testing/CaseNames.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/error/ErrorSystem.h"
#include "resources/testing/TestResourceFamily.h"
#include "runtime/application/LocaleTexts.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/application/Win32DXQTMultimediaApplicationErrorEngine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Vemo::ErrorCode;
using Vemo::MakeErrorCode;
using Vemo::MakeErrorFacility;

constexpr ErrorCode App(std::uint16_t number) {
    return MakeErrorCode(Vemo::kApplicationFacility, number);
}

struct ComposeCase {
    const char* name;
    int mode;
    ErrorCode code;
    const char* text; // null: the error carries none
    std::string message;
    std::string title;
};

std::string Builtin(const char* key) {
    return BuiltInText(key);
}

const std::string kFindFileBox = Builtin("ERR_FINDFILE") + "\n\n\"Intro.mov(CD)\"";

const ComposeCase kComposeCases[] = {
    {"FileNotFound", 0, MultimediaApplication::kErrorFileNotFound, "Intro.mov(CD)", kFindFileBox,
     Builtin("ERR_FILETITLE")},
    {"FileNotFoundWithoutName", 0, MultimediaApplication::kErrorFileNotFound, nullptr,
     Builtin("ERR_FINDFILE"), Builtin("ERR_FILETITLE")},
    {"MainWindow", 0, MultimediaApplication::kErrorMainWindow, nullptr, Builtin("ERR_MAINWINDOW"), ""},
    {"RegistryValue", 0, MultimediaApplication::kErrorRegistryValue, "System\\GamePath",
     Builtin("ERR_CANTOPENREGDIR"), ""},
    {"WrongPlatform", 0, MultimediaApplication::kErrorWrongPlatform, nullptr, Builtin("ERR_WRONGPLATFORM"),
     ""},
    {"DisplayMode", 0, MakeErrorCode(Vemo::kMessengerViewportFacility, 1), nullptr,
     Builtin("ERR_DISPLAYMODE"), ""},
    {"NoDirectDraw", 0, App(16), "DirectX Engine Hook", Builtin("ERR_NODD"), ""},
    {"NoQuickTime", 0, App(16), "QuickTime Engine Hook", Builtin("ERR_NOQT"), ""},
    {"NoWin32HookShowsNothing", 0, App(16), "Win32 Engine Hook", "", ""},
    {"StartupFailed", 0, App(5), nullptr, Builtin("ERR_LOWMEMORY"), ""},
    {"SystemNotCreated", 0, App(10), "Font System", Builtin("ERR_LOWMEMORY"), ""},
    {"EngineRefused", 0, App(12), "Win32 Font Engine", Builtin("ERR_LOWMEMORY"), ""},
    {"Exception", 0, App(2), nullptr, Builtin("ERR_GENERIC"), ""},
    {"HookNotRemoved", 0, App(17), "DirectX Engine Hook", Builtin("ERR_GENERIC"), ""},
    {"UnusedApplicationNumber", 0, App(3), nullptr, "", ""},
    {"QuickTimeAndDirectDraw", 0, MakeErrorCode(Vemo::kQuickTimeEngineHookFacility, 7), nullptr,
     Builtin("ERR_QTDXCOOP"), ""},
    {"QuickTimeHookOtherNumber", 0, MakeErrorCode(Vemo::kQuickTimeEngineHookFacility, 5), nullptr, "", ""},
    {"NoExclusiveDisplay", 0, 0x010201000001000A, nullptr, Builtin("ERR_DISPLAYNOEXCLUSIVE"), ""},
    {"NoDisplayMemory", 0, 0x0102010000000001, nullptr, Builtin("ERR_DISPLAYNOMEM"), ""},
    {"StorageEngineShowsNothing", 0, Vemo::StorageEngineErrBadName, nullptr, "", ""},
    {"GenericMessengerFailureShowsNothing", 0, Messenger::kErrorSettings, nullptr, "", ""},
    {"MessengerReport", 1, Messenger::kErrorSettings, nullptr,
     "\nError reported:\n\n\nFacility: Messenger\nCode: 1000", ""},
    {"MessengerReportWithText", 1, MultimediaApplication::kErrorScriptFile, "HD0:/Title/Menu.ini",
     "\nError reported:\n\n\nFacility: MultimediaApplication\nCode: 8\nString: "
     "HD0:/Title/Menu.ini",
     ""},
    {"OtherKindsUnreportedInMode1", 1, App(5), nullptr, "", ""},
    {"DeveloperText", 2, MultimediaApplication::kErrorFileNotFound, "Menu.bmp",
     "Can't find file: \"Menu.bmp\"", ""},
    {"DeveloperTextWithoutText", 2, MultimediaApplication::kErrorSharedPath, nullptr,
     "Can't open directory: \"%s\"", ""},
    {"DeveloperRegistryText", 2, MultimediaApplication::kErrorRegistryValue, "System\\UserPath",
     "Error reading registry value: \"System\\UserPath\"", ""},
    {"DeveloperTextOfAnotherMessengerModule", 2, Messenger::kErrorSettings, nullptr, "", ""},
    {"DeveloperTextOfAnUnlistedNumber", 2, MultimediaApplicationErrorCode(50), nullptr, "", ""},
    {"EveryErrorInMode3", 3, App(5), nullptr, "\nError reported:\n\n\nFacility: Application\nCode: 5", ""},
    {"UnnamedFacilityInDecimal", 3, MakeErrorCode(Vemo::kWin32FontEngineFacility, 4), nullptr,
     "\nError reported:\n\n\nFacility: 0x8623685633\nCode: 4", ""},
    {"NegativeModeReportsAll", -1, MakeErrorCode(Vemo::kMessengerViewportFacility, 1), nullptr,
     "\nError reported:\n\n\nFacility: 0x30064771093\nCode: 1", ""},
};

class ErrorEngineTest : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ErrorEngineTest, ComposesTheBoxOfTheDisplayMode) {
    const ComposeCase& c = GetParam();
    Win32DXQTMultimediaApplicationErrorEngine engine;
    engine.SetDisplayMode(c.mode);
    Vemo::String message;
    Vemo::String title;
    const Vemo::String text(c.text != nullptr ? c.text : "");
    engine.Compose(c.code, c.text != nullptr ? &text : nullptr, message, title);
    EXPECT_EQ(std::string(message.CStr()), c.message);
    EXPECT_EQ(std::string(title.CStr()), c.title);
}

INSTANTIATE_TEST_SUITE_P(Cases, ErrorEngineTest, ::testing::ValuesIn(kComposeCases),
                         platform::testing::NameFromText<&ComposeCase::name>());

class ErrorEngineRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_engine = Win32DXQTMultimediaApplicationErrorEngine::Create();
        ASSERT_NE(m_engine, nullptr);
        ASSERT_TRUE(m_application.ErrorSystem()->AddEngine(m_engine));
    }

    VemoTest::TestApplication m_application{VemoTest::TestApplication::ErrorSetup::kNoEngine};
    Win32DXQTMultimediaApplicationErrorEngine* m_engine = nullptr;
};

TEST_F(ErrorEngineRecordTest, IsNamedAfterItsClassAndStartsInTheFriendlyMode) {
    EXPECT_EQ(std::string(m_engine->GetName().CStr()), "Win32DXQT Multimedia Application Error Engine");
    EXPECT_EQ(m_engine->GetDisplayMode(), 0);
    MultimediaApplicationErrorEngine* plain = MultimediaApplicationErrorEngine::Create();
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(std::string(plain->GetName().CStr()), "Multimedia Application Error Engine");
    delete plain;
}

TEST_F(ErrorEngineRecordTest, KeepsAtMost21ErrorHandlesClosingTheOldestFirst) {
    for (std::uint16_t number = 1; number <= 21; ++number) {
        Vemo::Error().Report(MakeErrorCode(Vemo::kStorageEngineFacility, number));
    }
    EXPECT_EQ(m_engine->GetLog().Count(), 21u);
    Vemo::Error().Report(MakeErrorCode(Vemo::kStorageEngineFacility, 22));
    ASSERT_EQ(m_engine->GetLog().Count(), 21u);
    EXPECT_EQ(Vemo::ErrorCodeNumber(m_engine->GetLog().At(20)->Code()), 2);
    EXPECT_EQ(Vemo::ErrorCodeNumber(m_engine->GetLog().At(0)->Code()), 22);
}

TEST_F(ErrorEngineRecordTest, TheFileNotFoundBoxIsTheLastOneOfTheRun) {
    m_engine->SetDisplayMode(0);
    Vemo::String message;
    Vemo::String title;
    m_engine->Compose(MultimediaApplication::kErrorFileNotFound, nullptr, message, title);
    EXPECT_TRUE(m_engine->IsSuppressing());
}

// A friendly box can say no more than "try again"; the standard error says which module failed and on what,
// even for the errors that get no box at all.
TEST_F(ErrorEngineRecordTest, EveryErrorIsALineOnTheStandardErrorWhateverTheMode) {
    m_engine->SetDisplayMode(0);
    const Vemo::String where("\"HD0:/title/Quorven.ini\",\"Viewport\",\"Title\"");
    ::testing::internal::CaptureStderr();
    Vemo::Error().Report(MakeErrorCode(Vemo::kScriptFacility, 9), &where);
    Vemo::Error().Report(MakeErrorCode(Vemo::kStorageEngineFacility, 3));
    Vemo::Error().Report(MakeErrorCode(MakeErrorFacility(Vemo::kErrorKindMessaging, 60), 2));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "quorven: error reported by Script, code 9: \"HD0:/title/Quorven.ini\",\"Viewport\",\"Title\"\n"
              "quorven: error reported by StorageEngine, code 3\n"
              "quorven: error reported by an unnamed module, code 2\n");
}

} // namespace
