// quorven --help: one line of usage that names scripts/register-title and its installed form, answered
// before the program starts; an unknown option is refused the same way, with one line on the standard error.
#include "runtime/tests/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ProgramHelpTest, HelpPrintsOneLineNamingTheRegistrationScriptAndEndsWithZero) {
    VemoTest::ScratchFolder folder;
    const std::filesystem::path output = folder.Path() / "output.txt";
    const std::filesystem::path code = folder.Path() / "code.txt";
    // A store that would break every registry read: the answer comes before anything reads it.
    folder.Write("broken-store.txt", "nonsense\n");
    const std::string command = "VEMO_VIDEO=headless VEMO_REGISTRY='" +
                                (folder.Path() / "broken-store.txt").string() +
                                "' '" VEMO_BINARY_DIR "/runtime/quorven' --help >'" + output.string() +
                                "' 2>&1; echo $? >'" + code.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadText(code), "0\n");
    const std::string said = ReadText(output);
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
    EXPECT_EQ(said.rfind("usage: quorven", 0), 0u) << said;
    EXPECT_NE(said.find("scripts/register-title TITLE-FOLDER [--store FILE]"), std::string::npos) << said;
    EXPECT_NE(said.find("installed: quorven-register-title"), std::string::npos) << said;
}

TEST(ProgramHelpTest, AnUnknownOptionIsRefusedWithOneLineNamingItAndExitCode2) {
    VemoTest::ScratchFolder folder;
    const std::filesystem::path output = folder.Path() / "output.txt";
    const std::filesystem::path errors = folder.Path() / "errors.txt";
    const std::filesystem::path code = folder.Path() / "code.txt";
    folder.Write("broken-store.txt", "nonsense\n");
    const std::string command =
        "VEMO_VIDEO=headless VEMO_REGISTRY='" + (folder.Path() / "broken-store.txt").string() +
        "' '" VEMO_BINARY_DIR "/runtime/quorven' title --verbose >'" + output.string() + "' 2>'" +
        errors.string() + "'; echo $? >'" + code.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadText(code), "2\n");
    EXPECT_EQ(ReadText(output), "");
    const std::string said = ReadText(errors);
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
    EXPECT_NE(said.find("unknown option --verbose"), std::string::npos) << said;
    EXPECT_NE(said.find("quorven --help"), std::string::npos) << said;
}

} // namespace
