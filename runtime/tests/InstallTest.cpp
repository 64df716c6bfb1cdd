// The deliverables as `make install` puts them under a prefix: the program, the title registration command
// and the registry program it runs, the Corvintale library and the Flash player's files. Installed from this
// build into a temporary prefix, the installed commands register the demo title and walk its scripted path
// from a folder outside the source tree, with nothing of the build on their way.
#include "platform/testing/DemoMedia.h"
#include "runtime/tests/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class InstallTest : public testing::Test {
protected:
    void SetUp() override {
        m_prefix = m_folder.Path() / "prefix";
        const std::string command = "'" VEMO_CMAKE "' --install '" VEMO_BINARY_DIR "' --prefix '" +
                                    m_prefix.string() + "' > '" + (m_folder.Path() / "install.txt").string() +
                                    "' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << ReadText(m_folder.Path() / "install.txt");
        fs::create_directories(m_folder.Path() / "run");
        fs::create_directories(m_folder.Path() / "tmp");
    }

    // Runs a shell command line in the run folder, with the installed bin/ first on the path and a machine of
    // the test's own: its drive C: is the scratch folder, and no registry tool or store of the caller's.
    bool Run(const std::string& line) {
        const fs::path base = m_folder.Path();
        const std::string command = "cd '" + (base / "run").string() +
                                    "' && env -u VEMO_REGISTRY_TOOL -u VEMO_REGISTRY -u VEMO_HEADLESS_INPUT "
                                    "VEMO_DRIVES='C=" +
                                    base.string() + ":fixed' TMPDIR='" + (base / "tmp").string() +
                                    "' XDG_RUNTIME_DIR='" + (base / "tmp").string() + "' XDG_CONFIG_HOME='" +
                                    (base / "config").string() + "' XDG_DATA_HOME='" +
                                    (base / "data").string() + "' PATH='" + (m_prefix / "bin").string() +
                                    "':\"$PATH\" " + line;
        return std::system(command.c_str()) == 0;
    }

    VemoTest::ScratchFolder m_folder;
    fs::path m_prefix;
};

TEST_F(InstallTest, TheInstalledCommandsRegisterTheDemoTitleAndWalkItsPath) {
    for (const char* file : {"bin/quorven", "bin/quorven-register-title", "bin/quorven-registry"}) {
        const fs::perms perms = fs::status(m_prefix / file).permissions();
        EXPECT_NE(perms & fs::perms::owner_exec, fs::perms::none) << file << " is no program";
    }
    EXPECT_TRUE(fs::is_regular_file(m_prefix / "lib/libcorvintale.so"));
    for (const char* file : {"share/quorven/flash/flash-player.html", "share/quorven/flash/ruffle.js"}) {
        EXPECT_TRUE(fs::is_regular_file(m_prefix / file)) << file;
    }

    ASSERT_TRUE(Run("quorven --help > help.txt"));
    EXPECT_NE(ReadText(m_folder.Path() / "run/help.txt").find("installed: quorven-register-title"),
              std::string::npos);

    const fs::path title = m_folder.Path() / "Title";
    fs::copy(fs::path(VEMO_SOURCE_DIR) / "titles" / "demo", title, fs::copy_options::recursive);
    demo::WriteDemoMedia((title / "Media").string());
    const std::string store = (m_folder.Path() / "registry.txt").string();
    ASSERT_TRUE(
        Run("quorven-register-title '" + title.string() + "' --store '" + store + "' > register.txt 2>&1"))
        << ReadText(m_folder.Path() / "run/register.txt");
    EXPECT_NE(ReadText(store).find("GamePath"), std::string::npos) << ReadText(store);

    const std::string log = (m_folder.Path() / "run/log").string();
    EXPECT_TRUE(Run("VEMO_REGISTRY='" + store +
                    "' VEMO_VIDEO=headless VEMO_AUDIO=none VEMO_HEADLESS_INPUT='" +
                    (title / "headless-path").string() + "' VEMO_HEADLESS_LOG='" + log +
                    "' quorven > out.txt 2> errors.txt"))
        << ReadText(m_folder.Path() / "run/errors.txt");
    EXPECT_EQ(ReadText(log), "exit 0\n");
    const std::string settings = ReadText(m_folder.Path() / "User/User.ini");
    EXPECT_NE(settings.find("Goodbye=yes"), std::string::npos) << settings;
}

} // namespace
