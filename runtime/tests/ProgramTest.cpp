// The program quorven itself, in processes of its own, headless, on the fixture title: scripted input
// (VEMO_HEADLESS_INPUT), the log of its boxes and its exit code (VEMO_HEADLESS_LOG), the machine, the
// registry store and the runtime folder the title's installation gives it.
#include "runtime/application/LocaleTexts.h"
#include "runtime/testing/TitleTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using TitleTest::InstalledTitle;

const std::string kProgram = std::string(VEMO_BINARY_DIR) + "/runtime/quorven";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// What a box's text looks like in the log: each line feed written as "\n".
std::string Logged(const std::string& text) {
    std::string logged;
    for (const char c : text) {
        logged += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return logged;
}

std::string BoxLine(const std::string& caption, const std::string& text, const char* answer) {
    return "box " + Logged(caption) + "|" + Logged(text) + " -> " + answer;
}

std::string BuiltIn(const char* key) {
    return BuiltInText(key);
}

struct Outcome {
    std::filesystem::path folder;
    int exitCode = -1;
    std::vector<std::string> log;
    std::string errors;
};

class ProgramTest : public ::testing::Test {
protected:
    // The folder of one run: its steps, its log and what it wrote to the standard streams.
    std::filesystem::path RunFolder(const std::string& name) {
        const std::filesystem::path folder = std::filesystem::path(m_title.Base()) / name;
        std::filesystem::create_directories(folder);
        return folder;
    }

    // The environment of a run on the title, for a shell command line. The machine's own runtime folder
    // keeps the single-instance mutex and the desktop of each test's runs apart from those of the tests
    // running beside it.
    std::string Environment(const std::filesystem::path& folder, const std::string& extra) {
        return "VEMO_VIDEO=headless VEMO_AUDIO=none " + m_title.Environment() + " VEMO_HEADLESS_INPUT='" +
               (folder / "steps").string() + "' " +
               (m_withLog ? "VEMO_HEADLESS_LOG='" + (folder / "log").string() + "' " : std::string()) + extra;
    }

    // A run that waits for ever is ended (exit code 124) after a time no run of the title comes near.
    Outcome Run(const std::string& steps, const std::string& extra = "", const std::string& input = "",
                int seconds = 300) {
        const std::filesystem::path folder = RunFolder("run" + std::to_string(m_runs++));
        std::ofstream(folder / "steps") << steps;
        const std::string command = "cd '" + folder.string() + "' && " + input + "timeout -k 10 " +
                                    std::to_string(seconds) + " env " + Environment(folder, extra) + " '" +
                                    kProgram + "' > out 2> errors; echo $? > code";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return Collect(folder);
    }

    // A run that shows its first screen, says so through a snapshot to a named pipe and goes on without
    // end, until the signal (named as kill names it) is sent to it. A run that the signal does not end is
    // killed after a time no shut-down comes near.
    Outcome RunUntilSignalled(const std::string& name) {
        const std::filesystem::path folder = RunFolder("run" + std::to_string(m_runs++));
        std::ofstream(folder / "steps") << "wait 100\nsnapshot ready\nwait 4294967295\n";
        // A shell's background command ignores SIGINT unless it is given back.
        const std::string start = "env --default-signal=INT " + Environment(folder, "") + " '" + kProgram +
                                  "' > out 2> errors & program=$!; ";
        const std::string signal = "timeout 100 cat ready > /dev/null; kill -" + name + " $program; ";
        const std::string end = "timeout 100 tail --pid=$program -s 0.1 -f /dev/null || kill -KILL $program; "
                                "wait $program; echo $? > code";
        const std::string command =
            "cd '" + folder.string() + "' && mkfifo ready || exit 1; " + start + signal + end;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return Collect(folder);
    }

    static Outcome Collect(const std::filesystem::path& folder) {
        Outcome outcome;
        outcome.folder = folder;
        outcome.exitCode = std::atoi(ReadFile(folder / "code").c_str());
        outcome.log = Lines(ReadFile(folder / "log"));
        outcome.errors = ReadFile(folder / "errors");
        return outcome;
    }

    // A run while a file of C: is read-only.
    Outcome RunReadOnly(const std::string& file, const std::string& steps) {
        const std::filesystem::path readOnly = m_title.Host('C', file);
        std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::remove);
        Outcome outcome = Run(steps);
        std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        return outcome;
    }

    // The menu also shows a number bound to a shared setting, which it sets.
    void ShowSharedScore() {
        std::string text = m_title.Read('C', "Title/Quorven.ini");
        const std::string control = "Control=PlayButton\n";
        text.replace(text.find(control), control.size(), control + "Control=Score\n");
        const std::string action = "OpenAction=SetUserSetting(Visited(Menu), yes)";
        text.replace(text.find(action), action.size(),
                     action + ", Message(Score(BindShared(Best(Game)), Set(9)))");
        m_title.Write('C', "Title/Quorven.ini",
                      text + "\n[Score]\nClass=NumDisplayControl\nPosition=0, 0\nSize=60, 20\n");
    }

    InstalledTitle m_title;
    int m_runs = 0;
    bool m_withLog = true;
};

TEST_F(ProgramTest, ClicksOnPlainControlsReachTheEndStateAndTheUserSettingsAreSaved) {
    const Outcome outcome = Run("wait 100\nclick 150 120\nwait 100\nclick 320 310\nwait 100\n");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 0"}) << outcome.errors;
    const std::string settings = m_title.Read('C', "User/User.ini");
    EXPECT_NE(settings.find("[Visited]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Menu=yes"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Options=yes"), std::string::npos) << settings;
}

TEST_F(ProgramTest, SigtermAndSigintCloseTheTitleAsItsCloseBoxDoes) {
    for (const char* signal : {"TERM", "INT"}) {
        SCOPED_TRACE(signal);
        m_title.Remove('C', "User/User.ini");
        const Outcome outcome = RunUntilSignalled(signal);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
        EXPECT_EQ(outcome.log, (std::vector<std::string>{"snapshot ready", "exit 0"})) << outcome.errors;
        const std::string settings = m_title.Read('C', "User/User.ini");
        EXPECT_NE(settings.find("Menu=yes"), std::string::npos) << settings;
        EXPECT_TRUE(std::filesystem::is_empty(m_title.Host('C', "Temp")))
            << "the run's start-up movie is removed";
    }
}

TEST_F(ProgramTest, SettingsFilesThatCannotBeSavedEndTheRunWithExitCode2AndTheirNameNoBox) {
    ShowSharedScore();
    struct Case {
        const char* file;
        const char* named;
    };
    const Case cases[] = {{"User/User.ini", "C:\\User\\User.ini"},
                          {"Shared/Shared.ini", "C:\\Shared\\Shared.ini"}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.file);
        m_title.Write('C', "User/User.ini", "[Visited]\r\nMenu=no\r\n");
        m_title.Write('C', "Shared/Shared.ini", "[Game]\r\nBest=1\r\n");
        const Outcome outcome =
            RunReadOnly(test.file, "wait 100\nclick 150 120\nwait 100\nclick 320 310\nwait 100\n");
        EXPECT_EQ(outcome.exitCode, 2) << outcome.errors;
        EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 2"}) << outcome.errors;
        EXPECT_NE(outcome.errors.find(std::string("code 1000: ") + test.named + "\n"), std::string::npos)
            << outcome.errors;
        EXPECT_EQ(m_title.Read('C', test.file),
                  test.file[0] == 'U' ? "[Visited]\r\nMenu=no\r\n" : "[Game]\r\nBest=1\r\n");
    }
    // Once writable, both files take what the run set.
    const Outcome outcome = Run("wait 100\nclick 150 120\nwait 100\nclick 320 310\nwait 100\n");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_NE(m_title.Read('C', "User/User.ini").find("Menu=yes"), std::string::npos);
    EXPECT_NE(m_title.Read('C', "Shared/Shared.ini").find("Best=9"), std::string::npos);
}

TEST_F(ProgramTest, ASharedSettingsFileThatStaysReadOnlyIsNamedOnceInSecondsOfFrames) {
    ShowSharedScore();
    m_title.Write('C', "Shared/Shared.ini", "[Game]\r\nBest=1\r\n");
    const Outcome outcome = RunReadOnly("Shared/Shared.ini", "wait 5000\n");
    EXPECT_EQ(outcome.exitCode, 2) << outcome.errors;
    std::vector<std::string> naming;
    for (const std::string& line : Lines(outcome.errors)) {
        if (line.find("Shared.ini") != std::string::npos) {
            naming.push_back(line);
        }
    }
    ASSERT_EQ(naming.size(), 1U) << outcome.errors.substr(0, 2000);
    EXPECT_NE(naming[0].find("code 1000: C:\\Shared\\Shared.ini"), std::string::npos) << naming[0];
    EXPECT_EQ(m_title.Read('C', "Shared/Shared.ini"), "[Game]\r\nBest=1\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_title.Host('C', "Shared")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ProgramTest, WithoutTheGamePathTheRegistryBoxThenTheStartUpBoxAndExitCode2) {
    m_title.SetValue("GamePath", "");
    const Outcome outcome = Run("");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.log, (std::vector<std::string>{
                               BoxLine("Problem detected!", BuiltIn("ERR_CANTOPENREGDIR"), "OK"),
                               BoxLine("Problem detected!", BuiltIn("ERR_LOWMEMORY"), "OK"), "exit 2"}));
    EXPECT_NE(outcome.errors.find("scripts/register-title (installed: quorven-register-title)"),
              std::string::npos)
        << outcome.errors;
    EXPECT_NE(outcome.errors.find("GamePath"), std::string::npos) << outcome.errors;
}

TEST_F(ProgramTest, AGamePathThatNamesNoFolderIsSaidOnTheStandardError) {
    m_title.SetValue("GamePath", "C:\\Moved");
    const Outcome outcome = Run("");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errors.find(
                  "System\\GamePath of HKEY_LOCAL_MACHINE\\Software\\Vemo Company\\Products\\Quorven ZUT "
                  "Plexotron names C:\\Moved, which is no folder; register the title with "
                  "scripts/register-title (installed: quorven-register-title)"),
              std::string::npos)
        << outcome.errors;
}

TEST_F(ProgramTest, AMissingFileWithoutTheDiscAsksForItThenShowsTheFindFileBox) {
    m_title.Remove('C', "Title/Quorven.loc");
    const Outcome outcome = Run("");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.log,
              (std::vector<std::string>{
                  BoxLine("Insert CD!", "Please insert the Quorven ZUT Plexotron CD into your CD-ROM drive.",
                          "Cancel"),
                  BoxLine("Problem reading file or directory!",
                          BuiltIn("ERR_FINDFILE") + "\n\n\"Quorven.loc\"", "OK"),
                  "exit 2"}));
}

// A folder given as a CD-ROM drive has no door: the data disc in it is locked at start-up and unlocked at the
// end without a word, whether the data path names it or the disc is looked for.
TEST_F(ProgramTest, ADataDiscInAFolderCdRomDriveStartsAndStopsWithNoErrorLine) {
    m_title.InsertDisc('D');
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"named by the data path", [this] { m_title.SetValue("DataPath", "D:\\"); }},
        {"looked for",
         [this] {
             m_title.SetValue("DataPath", "");
             m_title.Write('D', "Quorven.loc", m_title.Read('C', "Title/Quorven.loc"));
             m_title.Remove('C', "Title/Quorven.loc");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        const Outcome outcome = Run("wait 100\n");
        EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
        EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 0"});
        EXPECT_EQ(outcome.errors.find("error reported"), std::string::npos) << outcome.errors;
    }
}

// On a machine without a CD-ROM drive the box that asks for the disc cannot be answered; the standard error
// says why, once however often the box is shown.
TEST_F(ProgramTest, AskedForTheDiscWithoutACdRomDriveTheStandardErrorSaysSoOnce) {
    m_title.Remove('C', "Title/Quorven.loc");
    const std::string drives = m_title.DriveTable();
    const Outcome outcome =
        Run("answer OK\nanswer OK\n", "VEMO_DRIVES='" + drives.substr(0, drives.find(';')) + "'");
    EXPECT_EQ(outcome.exitCode, 2);
    const std::string insert =
        BoxLine("Insert CD!", "Please insert the Quorven ZUT Plexotron CD into your CD-ROM drive.", "OK");
    ASSERT_GE(outcome.log.size(), 3u);
    EXPECT_EQ(outcome.log[0], insert);
    EXPECT_EQ(outcome.log[1], insert);
    const std::string line = "Quorven ZUT Plexotron: the title asks for its disc, but the machine has no "
                             "CD-ROM drive; give the disc's folder or mount point as one in VEMO_DRIVES";
    const std::size_t said = outcome.errors.find(line);
    EXPECT_NE(said, std::string::npos) << outcome.errors;
    EXPECT_EQ(outcome.errors.find(line, said + 1), std::string::npos) << outcome.errors;
}

// A picture, a sound and a movie that are there but hold no such thing: each is named on the standard error
// with where it was found, as a missing file is named.
TEST_F(ProgramTest, ADamagedPictureSoundOrMovieIsNamedOnTheStandardError) {
    const std::string menu = "[Menu]\nClass=NavigationState\nControl=PlayButton\n";
    const struct {
        const char* file;
        const char* control;
    } cases[] = {
        {"backdrop.bmp", "Class=ImageControl\nPosition=0, 0\nBitmap=backdrop.bmp\n"},
        {"click.wav", "Class=SoundControl\nSound=click.wav\n"},
        {"intro.mov", "Class=MovieControl\nPosition=0, 0\nMovie=intro.mov\n"},
        {"window.mov", "Class=QTWindowMovieControl\nSize=64, 64\nMovie=window.mov\n"},
    };
    const std::string original = m_title.Read('C', "Title/Quorven.ini");
    for (const auto& c : cases) {
        m_title.Write('C', std::string("Title/Art/") + c.file, "BM damaged beyond reading");
        std::string script = original;
        script.replace(script.find(menu), menu.size(), menu + "Control=Damaged\n");
        m_title.Write('C', "Title/Quorven.ini", script + "\n[Damaged]\n" + c.control);
        const Outcome outcome = Run("wait 100\n");
        EXPECT_NE(outcome.errors.find(std::string("error reported by MultimediaApplication, code 10: "
                                                  "C:\\Title\\Art\\") +
                                      c.file + "\n"),
                  std::string::npos)
            << c.file << ": " << outcome.errors;
    }
}

// A FIFO in place of a movie, a sound, a window's movie, a wallpaper or a screen saver's file to copy is
// refused at once and named on the standard error with where it was found; the run goes on to its end.
TEST_F(ProgramTest, AFifoInPlaceOfAMediaFileOrAFileToCopyIsNamedAndNeverWaitedOn) {
    const std::string menu = "[Menu]\nClass=NavigationState\nControl=PlayButton\n";
    m_title.Write('C', "Title/Art/Paper.ini", "Paper=1, 1, 1, fifo.bmp\n");
    m_title.Write('C', "Title/Art/Saver.ini", "Copy=fifo.scr\nScr=fifo.scr\n");
    const struct {
        const char* file;
        const char* control;
        const char* action; // sent to the control when the menu opens
        const char* error;
    } cases[] = {
        {"fifo.mov", "Class=MovieControl\nPosition=0, 0\nMovie=fifo.mov\n", nullptr,
         "MultimediaApplication, code 10"},
        {"fifo.wav", "Class=SoundControl\nSound=fifo.wav\n", nullptr, "MultimediaApplication, code 10"},
        {"fifo.mov", "Class=QTWindowMovieControl\nSize=64, 64\nMovie=fifo.mov\n", nullptr,
         "MultimediaApplication, code 10"},
        {"fifo.bmp", "Class=WallpaperControl\n", "Select(Paper.ini), Install", "StorageEngine, code 1"},
        {"fifo.scr", "Class=ScreenSaverControl\n", "Select(Saver.ini), Install", "StorageEngine, code 1"},
    };
    const std::string original = m_title.Read('C', "Title/Quorven.ini");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        const std::string fifo = m_title.Host('C', std::string("Title/Art/") + c.file);
        std::filesystem::remove(fifo);
        ASSERT_EQ(std::system(("mkfifo '" + fifo + "'").c_str()), 0);
        std::string script = original;
        script.replace(script.find(menu), menu.size(),
                       menu + "Control=Fifo\n" +
                           (c.action != nullptr ? "OpenAction=Message(Fifo(" + std::string(c.action) + "))\n"
                                                : std::string()));
        m_title.Write('C', "Title/Quorven.ini", script + "\n[Fifo]\n" + c.control);
        const Outcome outcome =
            Run("wait 100\n", "VEMO_WINDIR='" + m_title.Host('C', "Windows") + "'", "", 60);
        EXPECT_NE(outcome.exitCode, 124) << "the run waited on the FIFO";
        EXPECT_NE(outcome.errors.find(std::string("error reported by ") + c.error + ": C:\\Title\\Art\\" +
                                      c.file + "\n"),
                  std::string::npos)
            << outcome.errors;
    }
}

TEST_F(ProgramTest, WindowsNt4IsRefusedWithTheWrongPlatformBox) {
    const Outcome outcome = Run("", "VEMO_WINVER=nt4");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.log, (std::vector<std::string>{
                               BoxLine("Problem detected!", BuiltIn("ERR_WRONGPLATFORM"), "OK"), "exit 2"}));
}

TEST_F(ProgramTest, AFallIntoTheFallbackStateEndsWithExitCode2) {
    m_title.Write('C', "Title/Quorven.ini", [this] {
        std::string text = m_title.Read('C', "Title/Quorven.ini");
        const std::string from = "PlayButton, 0), Progress(1)";
        return text.replace(text.find(from), from.size(), "PlayButton, 0), Progress(7)");
    }());
    const Outcome outcome = Run("wait 100\nclick 150 120\nwait 100\n");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 2"});
}

TEST_F(ProgramTest, ASnapshotIsA24BitPictureOfTheMainWindowTakenFromTheCurrentFolder) {
    const Outcome outcome =
        Run("wait 100\nsnapshot shot.bmp\n# the folder is missing\nsnapshot nowhere/shot.bmp\n");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.log, (std::vector<std::string>{"snapshot shot.bmp", "exit 0"})) << outcome.errors;
    const std::string bmp = ReadFile(outcome.folder / "shot.bmp");
    ASSERT_EQ(bmp.size(), 54u + 640 * 480 * 3) << "640 x 480, 24 bits, rows of whole 4-byte words";
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24);
    EXPECT_NE(outcome.errors.find((outcome.folder / "steps").string() +
                                  ", line 4: the snapshot nowhere/shot.bmp cannot be written: No such file"),
              std::string::npos)
        << outcome.errors;
}

TEST_F(ProgramTest, AMalformedStepEndsTheRunNamingItsLineBeforeTheProgramStarts) {
    const Outcome outcome = Run("wait 100\n\nclick 150\n");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 2"});
    EXPECT_NE(outcome.errors.find((outcome.folder / "steps").string() + ", line 3: click takes X Y"),
              std::string::npos)
        << outcome.errors;
    EXPECT_EQ(m_title.Read('C', "User/User.ini"), "<missing>") << "the title never started";
}

TEST_F(ProgramTest, WithoutALogTheBoxOfAFailedStartUpIsSaidOnTheStandardError) {
    m_title.Remove('C', "Title/Quorven.loc");
    m_withLog = false;
    const Outcome outcome = Run("answer Cancel\n");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(
        outcome.errors.find("headless " + BoxLine("Problem reading file or directory!",
                                                  BuiltIn("ERR_FINDFILE") + "\n\n\"Quorven.loc\"", "OK")),
        std::string::npos)
        << outcome.errors;
}

TEST_F(ProgramTest, AFifoInPlaceOfATitleFileIsRefusedAndNeverWaitedOn) {
    m_title.Remove('C', "Title/Quorven.loc");
    const std::string fifo = m_title.Host('C', "Title/Quorven.loc");
    ASSERT_EQ(std::system(("mkfifo '" + fifo + "'").c_str()), 0);
    const Outcome outcome = Run("");
    EXPECT_EQ(outcome.exitCode, 2) << outcome.errors;
    ASSERT_FALSE(outcome.log.empty());
    EXPECT_EQ(outcome.log.back(), "exit 2");
}

// The steps and the registry store are read whole: what is no such file, or more than any of them needs,
// ends the run at once with a message that names it.
TEST_F(ProgramTest, StepsAndARegistryStoreThatAreNoFilesEndTheRun) {
    const std::string fifo = (RunFolder("inputs") / "fifo").string();
    const std::string large = (RunFolder("inputs") / "large").string();
    ASSERT_EQ(std::system(("mkfifo '" + fifo + "' && truncate -s 65M '" + large + "'").c_str()), 0);
    struct Case {
        std::string setting;
        std::string said;
    };
    const Case cases[] = {
        {"VEMO_HEADLESS_INPUT=/dev/zero",
         "VEMO_HEADLESS_INPUT /dev/zero: is neither a regular file nor a pipe"},
        {"VEMO_HEADLESS_INPUT=" + large, "VEMO_HEADLESS_INPUT " + large + ": is larger than 64 MiB"},
        {"VEMO_REGISTRY=/dev/zero", "registry store /dev/zero: is not a regular file"},
        {"VEMO_REGISTRY=" + fifo, "registry store " + fifo + ": is not a regular file"},
        {"VEMO_REGISTRY=" + large, "registry store " + large + ": is larger than 64 MiB"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = Run("wait 100\n", c.setting);
        EXPECT_EQ(outcome.exitCode, 2) << c.setting << ": " << outcome.errors;
        EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 2"}) << c.setting;
        EXPECT_NE(outcome.errors.find(c.said), std::string::npos) << c.setting << ": " << outcome.errors;
    }
}

TEST_F(ProgramTest, StepsMayComeThroughAPipe) {
    const Outcome outcome =
        Run("", "VEMO_HEADLESS_INPUT=/dev/stdin",
            "printf 'wait 100\\nclick 150 120\\nwait 100\\nclick 320 310\\nwait 100\\n' | ");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 0"}) << outcome.errors;
}

TEST_F(ProgramTest, ASecondInstanceEndsQuietlyAndTheFirstIsAskedToComeForward) {
    const std::filesystem::path first = RunFolder("first");
    const std::filesystem::path second = RunFolder("second");
    // Both instances on one desktop of their own, so that the second finds the first's window. The first
    // instance's snapshots go to named pipes: "ready" is written once its window is up, "proceed" once the
    // second instance has ended, so the first handles the restore request in the steps after it however
    // slowly either process runs. The time limits only end a run that has gone wrong.
    const std::string desktop = "VEMO_DESKTOP=title";
    std::ofstream(first / "steps") << "wait 100\nsnapshot ready\nsnapshot proceed\nwait 100\n";
    std::ofstream(second / "steps") << "";
    const std::string ready = (first / "ready").string();
    const std::string proceed = (first / "proceed").string();
    const std::string script =
        "mkfifo '" + ready + "' '" + proceed + "' || exit 1; (cd '" + first.string() +
        "' && timeout 200 env " + Environment(first, desktop) + " '" + kProgram +
        "' > out 2> errors; echo $? > code) & timeout 100 cat '" + ready + "' > /dev/null; cd '" +
        second.string() + "' && env " + Environment(second, desktop) + " '" + kProgram +
        "' > out 2> errors; echo $? > code; timeout 100 cat '" + proceed + "' > /dev/null; wait";
    EXPECT_EQ(std::system(script.c_str()), 0) << script;
    const Outcome outcome = Collect(second);
    EXPECT_EQ(outcome.exitCode, 2) << outcome.errors;
    EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 2"});
    EXPECT_EQ(outcome.errors,
              "Quorven ZUT Plexotron: the title is already running; it was asked to come forward\n");
    const Outcome firstOutcome = Collect(first);
    EXPECT_EQ(firstOutcome.exitCode, 0) << firstOutcome.errors;
    EXPECT_EQ(firstOutcome.log,
              (std::vector<std::string>{"snapshot ready", "snapshot proceed", "restore", "exit 0"}))
        << firstOutcome.errors;
}

TEST_F(ProgramTest, TwoRunsAtOnceWithOneTemporaryFolderKeepTheirMoviesApartAndBothEnd0) {
    // Two players' runs: each its own runtime folder, one temporary folder. The first run waits at a named
    // pipe, with its start-up movie made, until the second run has started and ended.
    const std::filesystem::path first = RunFolder("first");
    const std::filesystem::path second = RunFolder("second");
    std::filesystem::create_directories(first / "runtime");
    std::filesystem::create_directories(second / "runtime");
    std::ofstream(first / "steps") << "wait 100\nsnapshot ready\nsnapshot proceed\nwait 100\n";
    std::ofstream(second / "steps") << "wait 100\n";
    const std::string ready = (first / "ready").string();
    const std::string proceed = (first / "proceed").string();
    const auto runtime = [](const std::filesystem::path& folder) {
        return "XDG_RUNTIME_DIR='" + (folder / "runtime").string() + "'";
    };
    const std::string script =
        "mkfifo '" + ready + "' '" + proceed + "' || exit 1; (cd '" + first.string() +
        "' && timeout 200 env " + Environment(first, runtime(first)) + " '" + kProgram +
        "' > out 2> errors; echo $? > code) & timeout 100 cat '" + ready + "' > /dev/null; cd '" +
        second.string() + "' && timeout 200 env " + Environment(second, runtime(second)) + " '" + kProgram +
        "' > out 2> errors; echo $? > code; timeout 100 cat '" + proceed + "' > /dev/null; wait";
    EXPECT_EQ(std::system(script.c_str()), 0) << script;
    const Outcome secondOutcome = Collect(second);
    EXPECT_EQ(secondOutcome.exitCode, 0) << secondOutcome.errors;
    EXPECT_EQ(secondOutcome.log, std::vector<std::string>{"exit 0"}) << secondOutcome.errors;
    const Outcome firstOutcome = Collect(first);
    EXPECT_EQ(firstOutcome.exitCode, 0) << firstOutcome.errors;
    EXPECT_EQ(firstOutcome.log, (std::vector<std::string>{"snapshot ready", "snapshot proceed", "exit 0"}))
        << firstOutcome.errors;
    // Each run removed its own movie.
    EXPECT_TRUE(std::filesystem::is_empty(m_title.Host('C', "Temp")));
}

TEST_F(ProgramTest, ATemporaryFolderNoDriveShowsBecomesADriveOfItsOwn) {
    const std::filesystem::path temporary = std::filesystem::path(m_title.Base()) / "host-temp";
    std::filesystem::create_directories(temporary);
    const Outcome outcome = Run("wait 100\n", "TMPDIR='" + temporary.string() + "' VEMO_WINDIR='" +
                                                  m_title.Host('C', "Windows") + "'");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_NE(outcome.errors.find("the temporary folder " + temporary.string() + "; it is drive Z:"),
              std::string::npos)
        << outcome.errors;
    EXPECT_TRUE(std::filesystem::is_empty(temporary));
}

TEST_F(ProgramTest, AStartUpWithoutAFolderOfItsOwnInTheTemporaryFolderNamesItAndWhy) {
    const std::filesystem::path missing = std::filesystem::path(m_title.Base()) / "no-such-folder";
    // On drive C:, and too deep for a Windows path.
    const std::filesystem::path deep = std::filesystem::path(m_title.Host('C', "Temp")) /
                                       std::string(99, 'a') / std::string(99, 'b') / std::string(99, 'c');
    std::filesystem::create_directories(deep);
    for (const auto& [temporary, why] :
         {std::pair{missing, "the run's own folder could not be made in the temporary folder " +
                                 missing.string() + ": No such file or directory\n"},
          {deep, "the temporary folder " + deep.string() + " is too long"}}) {
        const Outcome outcome =
            Run("", "TMPDIR='" + temporary.string() + "' VEMO_WINDIR='" + m_title.Host('C', "Windows") + "'");
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_NE(outcome.errors.find(why), std::string::npos) << outcome.errors;
        EXPECT_EQ(outcome.errors.find("no drive shows it"), std::string::npos) << outcome.errors;
    }
    EXPECT_TRUE(std::filesystem::is_empty(deep));
}

// Names made from the product's class word and the process id can be guessed by another user of the temporary
// folder; what is put there stops nothing. The shell's id is the program's, which it becomes.
TEST_F(ProgramTest, AFolderPlantedUnderTheMovieNameOfTheRunsProcessIdStopsNothing) {
    const std::filesystem::path temporary = m_title.Host('C', "Temp");
    const Outcome outcome =
        Run("wait 100\n", "sh -c 'mkdir -p \"$TMPDIR/QuorvenApp-$$.mov/inside\" && exec \"$0\"'");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errors;
    EXPECT_EQ(outcome.log, std::vector<std::string>{"exit 0"}) << outcome.errors;
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(temporary)) {
        left.push_back(entry.path().filename().string());
    }
    ASSERT_EQ(left.size(), 1u);
    EXPECT_TRUE(left.front().starts_with("QuorvenApp-") && left.front().ends_with(".mov")) << left.front();
    EXPECT_TRUE(std::filesystem::is_directory(temporary / left.front() / "inside"));
}

// A display number no X server listens on.
std::string SilentDisplay() {
    int number = 411;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) {
        ++number;
    }
    return ":" + std::to_string(number);
}

// A player who would see no window is told so at once, in one line, before the title's window or files are
// touched: no single-instance mutex in the runtime folder, no movie in the temporary folder.
TEST_F(ProgramTest, WithoutADisplayToShowItOnTheProgramSaysWhyAndEndsWithExitCode2AtOnce) {
    const std::string silent = SilentDisplay();
    struct Case {
        const char* name;
        // What env is given for the display: the variables it removes, then those it sets.
        std::string removed;
        std::string set;
        std::string said;
    };
    const Case cases[] = {
        {"no display", "-u DISPLAY -u WAYLAND_DISPLAY", "",
         "quorven: no display to show a window on: neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {"an X display that does not answer", "-u WAYLAND_DISPLAY", "DISPLAY=" + silent,
         "quorven: the display cannot be opened (DISPLAY=" + silent + "): SDL says \"x11 not available\""},
        {"a Wayland display that does not answer", "-u DISPLAY", "WAYLAND_DISPLAY=vemo-no-compositor",
         "quorven: the display cannot be opened (WAYLAND_DISPLAY=vemo-no-compositor): SDL says \"wayland not "
         "available\""},
    };
    const std::filesystem::path runtime = std::filesystem::path(m_title.Base()) / "runtime";
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::filesystem::path folder = RunFolder("display" + std::to_string(m_runs++));
        // The old way ran the title unseen for ever: the time limit ends such a run. The leak checker of a
        // sanitizer build would add the list of its suppressions to the standard error.
        const std::string command = "cd '" + folder.string() +
                                    "' && timeout -k 5 20 env -u VEMO_VIDEO -u SDL_VIDEODRIVER "
                                    "-u VEMO_HEADLESS_INPUT -u VEMO_HEADLESS_LOG " +
                                    test.removed + " LSAN_OPTIONS=print_suppressions=0 VEMO_AUDIO=none " +
                                    test.set + " " + m_title.Environment() + " '" + kProgram +
                                    "' > out 2> errors; echo $? > code";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const Outcome outcome = Collect(folder);
        EXPECT_EQ(outcome.exitCode, 2) << outcome.errors;
        EXPECT_EQ(outcome.errors, test.said + "; VEMO_VIDEO=headless runs without a window\n");
        EXPECT_TRUE(std::filesystem::is_empty(runtime)) << "the single-instance mutex was taken";
        EXPECT_TRUE(std::filesystem::is_empty(m_title.Host('C', "Temp"))) << "start-up made its movie";
    }
}

} // namespace
