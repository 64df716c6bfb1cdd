// quorven --help: one line of usage that names scripts/register-title and its installed form, answered
// before the program starts; an unknown option or word is refused the same way, with one line on the standard
// error.
#include "runtime/tests/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// A word is refused as an option is: the program runs only the registered title, so a title's folder given
// to it must not be passed over in silence.
TEST(ProgramHelpTest, AnUnknownOptionOrAnyWordIsRefusedWithOneLineNamingItAndExitCode2) {
    struct Case {
        const char* words;
        std::vector<const char*> said;
    };
    const Case cases[] = {
        {"--verbose", {"unknown option --verbose", "quorven --help"}},
        {"--verbose title", {"unknown option --verbose"}},
        {"some-folder", {"unknown word some-folder", "quorven-register-title TITLE-FOLDER"}},
        {"some-folder --verbose", {"unknown word some-folder", "quorven-register-title"}},
    };
    VemoTest::ScratchFolder folder;
    const std::filesystem::path output = folder.Path() / "output.txt";
    const std::filesystem::path errors = folder.Path() / "errors.txt";
    const std::filesystem::path code = folder.Path() / "code.txt";
    folder.Write("broken-store.txt", "nonsense\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        const std::string command =
            "VEMO_VIDEO=headless VEMO_REGISTRY='" + (folder.Path() / "broken-store.txt").string() +
            "' '" VEMO_BINARY_DIR "/runtime/quorven' " + c.words + " >'" + output.string() + "' 2>'" +
            errors.string() + "'; echo $? >'" + code.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        EXPECT_EQ(ReadText(code), "2\n");
        EXPECT_EQ(ReadText(output), "");
        const std::string said = ReadText(errors);
        EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
        for (const char* part : c.said) {
            EXPECT_NE(said.find(part), std::string::npos) << said;
        }
    }
}

} // namespace
