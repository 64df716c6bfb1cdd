// The demo title (titles/demo) run by the program quorven itself, headless: installed on an emulated machine
// with its media made as `make demo` makes them, walked along its scripted path and along variants of it,
// and the run that `make demo` makes without a display.
#include "platform/testing/DemoMedia.h"
#include "platform/web/WebView.h"
#include "runtime/testing/TitleTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kProgram = std::string(VEMO_BINARY_DIR) + "/runtime/quorven";
const std::filesystem::path kDemo = std::filesystem::path(VEMO_SOURCE_DIR) / "titles" / "demo";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class DemoTitleTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path title = m_machine.Host('C', "Title");
        std::filesystem::remove_all(title);
        std::filesystem::copy(kDemo, title, std::filesystem::copy_options::recursive);
        demo::WriteDemoMedia(m_machine.Host('C', "Title/Media"));
        // The title folder is also the data folder, whose "ident" names the product.
        m_machine.SetValue("DataPath", "C:\\Title");
    }

    struct Outcome {
        std::string log;
        std::string settings;
    };

    // Runs the program on the steps; its log (which ends with its exit code) and the user's settings.
    Outcome Run(const std::string& steps) {
        const std::filesystem::path folder =
            std::filesystem::path(m_machine.Base()) / ("run" + std::to_string(m_runs++));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "steps") << steps;
        std::filesystem::remove(m_machine.Host('C', "User/User.ini"));
        const std::string command =
            "cd '" + folder.string() + "' && env VEMO_VIDEO=headless VEMO_AUDIO=none " +
            m_machine.Environment() + " VEMO_HEADLESS_INPUT='" + (folder / "steps").string() +
            "' VEMO_HEADLESS_LOG='" + (folder / "log").string() + "' '" + kProgram + "' > out 2> errors";
        Outcome outcome;
        std::system(command.c_str());
        outcome.log = ReadFile(folder / "log");
        outcome.settings = m_machine.Read('C', "User/User.ini");
        EXPECT_EQ(ReadFile(folder / "errors").find("ERROR"), std::string::npos)
            << ReadFile(folder / "errors");
        return outcome;
    }

    // The demo's own path with its first step (the click that skips the opening movie) replaced.
    static std::string PathSkippingBy(const std::string& skip) {
        std::string steps = ReadFile(kDemo / "headless-path");
        const std::string click = "click 320 240\n";
        return steps.replace(steps.find(click), click.size(), skip + "\n");
    }

    TitleTest::InstalledTitle m_machine;
    int m_runs = 0;
};

TEST_F(DemoTitleTest, TheScriptedPathVisitsEveryScreenAndEndsWithExitCode0) {
    const Outcome outcome = Run(ReadFile(kDemo / "headless-path"));
    EXPECT_EQ(outcome.log, "exit 0\n");
    EXPECT_NE(outcome.settings.find("Menu=yes"), std::string::npos) << outcome.settings;
    EXPECT_NE(outcome.settings.find("Cinema=yes"), std::string::npos) << outcome.settings;
    EXPECT_NE(outcome.settings.find("Browse=yes"), std::string::npos) << outcome.settings;
    EXPECT_NE(outcome.settings.find("Goodbye=yes"), std::string::npos) << outcome.settings;
}

TEST_F(DemoTitleTest, TheOpeningMovieIsSkippedByTheSpaceBarAsByAClick) {
    const Outcome outcome = Run(PathSkippingBy("key Space"));
    EXPECT_EQ(outcome.log, "exit 0\n");
    EXPECT_NE(outcome.settings.find("Goodbye=yes"), std::string::npos) << outcome.settings;
}

TEST_F(DemoTitleTest, UnskippedTheOpeningMovieRunsToItsEndBeforeTheMenu) {
    // Three seconds of movie: nothing of the menu before, the menu after.
    Outcome outcome = Run("wait 2500\nclose\n");
    EXPECT_EQ(outcome.settings.find("Menu=yes"), std::string::npos) << outcome.settings;
    outcome = Run("wait 3600\nclose\n");
    EXPECT_NE(outcome.settings.find("Menu=yes"), std::string::npos) << outcome.settings;
}

TEST_F(DemoTitleTest, TheMovieScreenGoesBackToTheMenuAtItsMoviesEnd) {
    // The movie lasts as long as the sound merged into it, three seconds: the screen stands until then.
    const std::string toCinema =
        "wait 500\nclick 320 240\nwait 1000\nmove 320 204\nwait 100\nclick 320 204\n";
    const std::string backToMenuThenBye = "click 320 284\nwait 3000\n";
    EXPECT_EQ(Run(toCinema + "wait 2500\n" + backToMenuThenBye).settings.find("Goodbye=yes"),
              std::string::npos);
    const Outcome outcome = Run(toCinema + "wait 3600\n" + backToMenuThenBye);
    EXPECT_EQ(outcome.log, "exit 0\n");
    EXPECT_NE(outcome.settings.find("Goodbye=yes"), std::string::npos) << outcome.settings;
}

TEST_F(DemoTitleTest, ThePanoramaScreenShowsItsMovieInAWindowAndGoesBackToTheMenu) {
    const Outcome outcome =
        Run("wait 500\nclick 320 240\nwait 1500\nclick 120 204\nwait 1500\nclick 320 404\nwait 500\n"
            "click 320 284\nwait 3000\n");
    EXPECT_EQ(outcome.log, "exit 0\n");
    EXPECT_NE(outcome.settings.find("Panorama=yes"), std::string::npos) << outcome.settings;
    EXPECT_NE(outcome.settings.find("Goodbye=yes"), std::string::npos) << outcome.settings;
}

// The colour (0xRRGGBB) of a pixel of a 24-bit BMP snapshot, rows stored bottom up.
std::uint32_t SnapshotPixel(const std::string& bmp, int x, int y) {
    const auto at = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[i]));
    };
    const auto little = [&](std::size_t i) {
        return at(i) | at(i + 1) << 8 | at(i + 2) << 16 | at(i + 3) << 24;
    };
    const std::uint32_t width = little(18);
    const std::uint32_t height = little(22);
    const std::size_t offset =
        little(10) + (height - 1 - static_cast<std::uint32_t>(y)) * ((width * 3 + 3) & ~3U) + x * 3;
    return at(offset + 2) << 16 | at(offset + 1) << 8 | at(offset);
}

TEST_F(DemoTitleTest, TheWebScreenShowsTheDemosOwnPageAndFlashMovie) {
    if (!web::EngineBuiltIn()) {
        GTEST_SKIP() << "built without the web engine";
    }
    const Outcome outcome =
        Run("wait 500\nclick 320 240\nwait 1000\nmove 320 364\nwait 100\nclick 320 364\nwait 3000\n"
            "snapshot web.bmp\nclose\n");
    EXPECT_EQ(outcome.log, "snapshot web.bmp\nexit 0\n");
    EXPECT_NE(outcome.settings.find("Browse=yes"), std::string::npos) << outcome.settings;
    // What the views show is only waited for up to 10 s of real time, which a loaded machine may take just to
    // start the engine; the run says so, and then its snapshot may come before the page or the movie.
    const std::filesystem::path run = std::filesystem::path(m_machine.Base()) / "run0";
    if (ReadFile(run / "errors").find("still loading or drawing after") != std::string::npos) {
        GTEST_SKIP() << "the engine took longer than the run waits for it";
    }
    const std::string bmp = ReadFile(run / "web.bmp");
    ASSERT_GT(bmp.size(), 54U);
    EXPECT_EQ(SnapshotPixel(bmp, 300, 370), 0xF4EFE2U) << "the page's background";
    EXPECT_EQ(SnapshotPixel(bmp, 600, 70), 0x203050U) << "the Flash movie's stage";
    bool blockShown = false;
    for (int x = 410; x < 610; ++x) {
        blockShown = blockShown || SnapshotPixel(bmp, x, 135) == 0xF0C030U;
    }
    EXPECT_TRUE(blockShown) << "the Flash movie's amber block, wherever it has got to";
}

TEST_F(DemoTitleTest, MakeDemoWithoutADisplayWalksTheTitleAndEndsWithExitCode0InTime) {
    const std::filesystem::path build = std::filesystem::path(m_machine.Base()) / "build";
    std::filesystem::create_directories(build / "runtime");
    std::filesystem::create_directories(build / "platform");
    std::filesystem::create_symlink(kProgram, build / "runtime" / "quorven");
    std::filesystem::create_symlink(std::string(VEMO_BINARY_DIR) + "/platform/vemo-registry",
                                    build / "platform" / "vemo-registry");
    std::filesystem::create_symlink(std::string(VEMO_BINARY_DIR) + "/platform/vemo-demo-media",
                                    build / "platform" / "vemo-demo-media");
    const std::string command = "cd '" + m_machine.Base() +
                                "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u VEMO_DRIVES -u "
                                "VEMO_REGISTRY -u VEMO_VIDEO TMPDIR='" +
                                m_machine.Host('C', "Temp") + "' XDG_RUNTIME_DIR='" + m_machine.Base() +
                                "/runtime' '" + VEMO_SOURCE_DIR + "/scripts/run-demo' '" + build.string() +
                                "' > out 2>&1";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(status, 0) << ReadFile(m_machine.Base() + "/out");
    EXPECT_LT(seconds, 120);
    EXPECT_NE(ReadFile(build / "demo" / "User" / "User.ini").find("Goodbye=yes"), std::string::npos);
    EXPECT_NE(ReadFile(m_machine.Base() + "/out").find("exit 0"), std::string::npos);
}

} // namespace
