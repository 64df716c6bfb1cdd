// Scripted classes register their class words from static objects in their own sources. A static library's
// object that nothing references is left out of a link, its registration with it, and a title naming that
// class then fails to load. This program links what the program quorven links, so every word the sources
// register must be found here.
#include "runtime/tests/ScratchFolder.h"
#include "runtime/tests/SourceTree.h"
#include "script/MessengerFactory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using VemoTest::ScratchFolder;
using VemoTest::SourceTree;

TEST(ClassWordTest, FindsTheWordsTheSourcesRegisterAndTheRegistrationsItCannotRead) {
    ScratchFolder folder;
    folder.Write("script/Alpha.cpp",
                 "namespace {\n"
                 "const MessengerFactory::Registrar g_alphaRegistrar(Alpha::ClassWord(),\n"
                 "                                                   &Alpha::Create);\n"
                 "}\n"
                 "const Vemo::String& Alpha::ClassWord() {\n"
                 "    static const Vemo::String* const word = new Vemo::String(\"Alpha\");\n"
                 "    return *word;\n"
                 "}\n");
    folder.Write(
        "script/MessengerAlpha.cpp",
        "const Vemo::String& MessengerAlpha::ClassWord() { return *new Vemo::String(\"Wrong\"); }\n");
    folder.Write("controls/BetaControl.cpp",
                 "MessengerFactory::Registrar g_beta{Vemo::String(\"Beta\"), &BetaControl::Create};\n");
    folder.Write("runtime/Gamma.cpp",
                 "MessengerFactory::Registrar g_gamma(WordOfGamma(), &Gamma::Create);\n");
    folder.Write("script/tests/Probe.cpp",
                 "MessengerFactory::Registrar g_probe(\"Probe\", &Probe::Create);\n");
    folder.Write("script/MessengerFactory.h",
                 "    class Registrar {\n"
                 "        Registrar(const Vemo::String& classWord, CreateFunction f);\n"
                 "        Registrar& operator=(const Registrar&) = delete;\n");

    std::vector<std::string> unread;
    const std::vector<SourceTree::ClassWord> words =
        SourceTree(folder.Path()).FindRegisteredClassWords(unread);
    std::vector<std::string> found;
    for (const SourceTree::ClassWord& word : words) {
        found.push_back(word.word + " in " + word.file);
    }
    EXPECT_EQ(found,
              (std::vector<std::string>{"Beta in controls/BetaControl.cpp", "Alpha in script/Alpha.cpp"}));
    EXPECT_EQ(unread, std::vector<std::string>{"runtime/Gamma.cpp: registrar g_gamma"});
}

TEST(ClassWordTest, TheProgramsLinkKeepsEveryClassWordTheSourcesRegister) {
    std::vector<std::string> unread;
    const std::vector<SourceTree::ClassWord> words =
        SourceTree(VEMO_SOURCE_DIR).FindRegisteredClassWords(unread);
    EXPECT_TRUE(unread.empty()) << "registrations whose class word this test cannot read: " << unread.front();
    ASSERT_FALSE(words.empty()) << "no registration found under " << VEMO_SOURCE_DIR;
    for (const SourceTree::ClassWord& word : words) {
        EXPECT_NE(MessengerFactory::FindCreateFunction(Vemo::String(word.word.c_str())), nullptr)
            << "\"" << word.word << "\", registered in " << word.file
            << ", is lost from the link: link the library that holds it whole (runtime/CMakeLists.txt)";
    }
}

} // namespace
