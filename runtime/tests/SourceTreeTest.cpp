#include "runtime/tests/SourceTree.h"

#include "runtime/tests/CompileCommands.h"
#include "runtime/tests/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using VemoTest::CompileCommands;
using VemoTest::ScratchFolder;
using VemoTest::SourceTree;

std::string Listed(const std::vector<std::string>& texts) {
    std::string listed;
    for (const std::string& text : texts) {
        listed += "\n  " + text;
    }
    return listed;
}

struct TreeCase {
    const char* path;
    const char* text;
    bool faulty;
};

// Each file breaks one rule, or none.
const TreeCase kTreeCases[] = {
    {"foundation/String.h", "#include <string>\n#include <cstdint>\n", false},
    {"foundation/Host.cpp", "#include \"foundation/String.h\"\n#include <unistd.h>\n", true},
    {"foundation/Up.cpp", "#include \"script/Script.h\"\n", true},
    {"foundation/Relative.cpp", "#include \"String.h\"\n", true},
    {"script/Script.h", "#include \"foundation/String.h\"\n  #  include \"platform/win32/Types.h\"\n", false},
    {"resources/Through.cpp", "#include \"platform/win32/File.h\"\n", true},
    {"resources/Clean.cpp", "#include \"platform/win32/Types.h\"\n#include <vector>\n", false},
    {"platform/win32/Types.h", "#include <cstdint>\n", false},
    {"platform/win32/File.h", "#include \"platform/win32/Types.h\"\n#include \"platform/win32/Open.h\"\n",
     false},
    {"platform/win32/Open.h", "#include <sys/types.h>\n", false},
    {"platform/win32/Above.cpp", "#include \"foundation/String.h\"\n", true},
    {"probe/Probe.cpp", "#include \"platform/win32/Types.h\"\n#include \"foundation/String.h\"\n", true},
    {"probe/QTVersion.h", "#include <cstdint>\n", false},
    {"probe/QTVersion.cpp", "#include \"probe/QTVersion.h\"\n#include \"platform/win32/Types.h\"\n", false},
    {"probe/Scripted.cpp", "#include \"script/Script.h\"\n", true},
    {"probe/Loader.cpp", "#include <dlfcn.h>\n", true},
    {"probe/tests/QTVersionTest.cpp",
     "#include \"probe/QTVersion.h\"\n#include \"platform/win32/Types.h\"\n#include <gtest/gtest.h>\n",
     false},
    {"probe/tests/HelperTest.cpp", "#include \"resources/testing/Helper.h\"\n", true},
    {"engines/image/codecs/JpegCodec.cpp", "#include <cstdio>\n#include <jpeglib.h>\n", false},
    {"engines/graphics/Jpeg.cpp", "#include <jpeglib.h>\n", true},
    {"foundation/tests/StringTest.cpp", "#include \"foundation/String.h\"\n#include <gtest/gtest.h>\n",
     false},
    {"foundation/Framework.cpp", "#include <gtest/gtest.h>\n", true},
    {"resources/testing/Helper.h", "#include \"platform/win32/Types.h\"\n", false},
    {"runtime/UsesHelper.cpp", "#include \"resources/testing/Helper.h\"\n", true},
    {"script/tests/UsesHelper.cpp", "#include \"resources/testing/Helper.h\"\n", false},
    {"script/tests/Own.h", "", false},
    {"engines/tests/OtherTests.cpp", "#include \"script/tests/Own.h\"\n", true},
    {"bench/ScriptBench.cpp", "#include \"script/Script.h\"\n#include <benchmark/benchmark.h>\n", false},
    {"tools/Stray.cpp", "", true},
    // Inside runtime/ and platform/win32/, subfolders include only those below them.
    {"runtime/Shared.h", "#include \"runtime/pictures/Picture.h\"\n", true},
    {"runtime/pictures/Picture.h", "#include \"runtime/Shared.h\"\n", false},
    {"runtime/pictures/Picture.cpp", "#include \"runtime/screen/Screen.h\"\n", true},
    {"runtime/screen/Screen.h", "#include \"runtime/pictures/Picture.h\"\n", false},
    {"runtime/states/State.h", "#include \"runtime/product/App.h\"\n", true},
    {"runtime/product/App.h", "#include \"runtime/states/State.h\"\n", false},
    {"runtime/tests/StateTest.cpp", "#include \"runtime/product/App.h\"\n#include <gtest/gtest.h>\n", false},
    {"runtime/attic/Old.cpp", "", true},
    {"platform/win32/Shared.h", "#include \"platform/win32/kernel/Clock.h\"\n", true},
    {"platform/win32/kernel/Clock.h", "#include \"platform/win32/Types.h\"\n", false},
    {"platform/win32/kernel/Clock.cpp", "#include \"platform/win32/desktop/Box.h\"\n", true},
    {"platform/win32/desktop/Box.h", "#include \"platform/win32/kernel/Clock.h\"\n", false},
    {"platform/video/Show.cpp", "#include \"platform/win32/desktop/Box.h\"\n", false},
};

TEST(SourceTreeTest, FindsEachBrokenRuleAndNothingElse) {
    ScratchFolder folder;
    for (const TreeCase& c : kTreeCases) {
        folder.Write(c.path, c.text);
    }
    folder.Write("build/test/Generated.cpp", "#include <SDL.h>\n");
    folder.Write("out/CMakeCache.txt", "");
    folder.Write("out/CMakeFiles/CompilerIdCXX/CMakeCXXCompilerId.cpp", "#include <stdio.h>\n");
    const std::vector<std::string> faults = SourceTree(folder.Path()).FindIncludeFaults();
    for (const TreeCase& c : kTreeCases) {
        const std::string prefix = std::string(c.path) + ":";
        const bool found = std::any_of(faults.begin(), faults.end(),
                                       [&](const std::string& fault) { return fault.rfind(prefix, 0) == 0; });
        EXPECT_EQ(found, c.faulty) << c.path << Listed(faults);
    }
    EXPECT_TRUE(std::none_of(faults.begin(), faults.end(),
                             [](const std::string& fault) {
                                 return fault.rfind("build/", 0) == 0 || fault.rfind("out/", 0) == 0;
                             }))
        << "a build folder holds no sources" << Listed(faults);
}

TEST(SourceTreeTest, NamesThePlatformHeaderThroughWhichASystemHeaderReaches) {
    ScratchFolder folder;
    folder.Write("platform/win32/Open.h", "#include <sys/types.h>\n");
    folder.Write("platform/win32/File.h", "#include \"platform/win32/Open.h\"\n");
    folder.Write("resources/Through.cpp", "// one\n#include \"platform/win32/File.h\"\n");
    EXPECT_EQ(
        SourceTree(folder.Path()).FindIncludeFaults(),
        std::vector<std::string>{"resources/Through.cpp:2: <sys/types.h> reaches it through "
                                 "\"platform/win32/Open.h\": neither ours nor the C++ standard library's, "
                                 "and only platform/ may include it"});
}

TEST(SourceTreeTest, NamesBothSubfoldersOfAnIncludeThatRunsBackUp) {
    ScratchFolder folder;
    folder.Write("platform/win32/files/File.cpp", "// one\n#include \"platform/win32/windows/Window.h\"\n");
    folder.Write("platform/win32/windows/Window.h", "");
    folder.Write("runtime/screen/Control.cpp", "#include \"runtime/testing/Support.h\"\n");
    folder.Write("runtime/testing/Support.h", "");
    EXPECT_EQ(
        SourceTree(folder.Path()).FindIncludeFaults(),
        (std::vector<std::string>{
            "platform/win32/files/File.cpp:2: \"platform/win32/windows/Window.h\": "
            "platform/win32/files/ may not include platform/win32/windows/",
            "runtime/screen/Control.cpp:1: \"runtime/testing/Support.h\": runtime/screen/ may not include "
            "runtime/testing/",
            "runtime/screen/Control.cpp:1: \"runtime/testing/Support.h\" is a test helper, and this is "
            "product code"}));
}

TEST(SourceTreeTest, TheRepositoryKeepsTheSeamAndTheLayering) {
    const SourceTree tree(VEMO_SOURCE_DIR);
    ASSERT_GT(tree.FileCount(), 100u) << "the sources were not found at " << VEMO_SOURCE_DIR;
    const std::vector<std::string> faults = tree.FindIncludeFaults();
    EXPECT_TRUE(faults.empty()) << Listed(faults);
}

TEST(CompileCommandsTest, FindsAnIncludePathOtherThanTheRootOutsidePlatform) {
    CompileCommands commands;
    commands.Parse(R"([
{
  "directory": "/src/build",
  "command": "/usr/bin/c++ -I/src -isystem /usr/include/SDL2 -o a.o -c /src/platform/video/Sdl.cpp",
  "file": "/src/platform/video/Sdl.cpp"
},
{
  "directory": "/src/build",
  "command": "/usr/bin/c++ -I/src/ \"-DNAME=\\\"a b\\\"\" -o b.o -c /src/foundation/String.cpp",
  "file": "/src/foundation/String.cpp"
},
{
  "directory": "/src/build",
  "command": "/usr/bin/c++ -I/src -isystem /usr/include/SDL2 -o c.o -c /src/script/Script.cpp",
  "file": "/src/script/Script.cpp"
},
{
  "directory": "/src/build",
  "command": "/usr/bin/c++ \"-I/src/my folder\" -I /src -o d.o -c /src/engines/Engine.cpp",
  "file": "/src/engines/Engine.cpp"
}
])");
    EXPECT_EQ(commands.Count(), 4u);
    EXPECT_EQ(commands.FindForeignIncludePaths("/src"),
              (std::vector<std::string>{"script/Script.cpp: -isystem /usr/include/SDL2",
                                        "engines/Engine.cpp: -I /src/my folder"}));
}

TEST(CompileCommandsTest, OnlyPlatformCompilesWithTheIncludePathsOfItsLibraries) {
    CompileCommands commands;
    ASSERT_TRUE(commands.Load(VEMO_BINARY_DIR "/compile_commands.json"))
        << "CMake records the compile commands in " << VEMO_BINARY_DIR;
    ASSERT_GT(commands.Count(), 0u);
    const std::vector<std::string> faults = commands.FindForeignIncludePaths(VEMO_SOURCE_DIR);
    EXPECT_TRUE(faults.empty()) << Listed(faults);
}

} // namespace
