// The repository's C++ sources as text, read to check the rules that keep the platform seam and the layering
// whole, and to find the class words that scripted classes register.
//
// Folders: foundation <- resources <- script <- engines <- runtime <- controls, with platform below them all;
// a folder includes only itself and folders below it. platform includes only itself; probe only platform and
// itself; bench and fuzz any of the layers. Inside runtime/ and platform/win32/ the subfolders are layered
// the same way (SourceTree.cpp lists them, lowest first): the files at the folder's top below every
// subfolder, its tests and testing helpers above them all; a subfolder the list does not name is a fault.
// tests/ headers serve their own top-level folder's tests, testing/ headers only tests, testing helpers,
// bench and fuzz.
//
// Headers: outside platform/ a source includes ours (written from the repository root) and the C++ standard
// library's, nothing else, neither itself nor through a platform header it includes. The exceptions are the
// test frameworks where they run (GoogleTest in tests and testing helpers, Google Benchmark in bench,
// libFuzzer's helpers in fuzz) and libjpeg in engines/image/codecs.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace VemoTest {

class SourceTree {
public:
    // Reads every C++ source and header below the root's folders; folders whose names start with "build" or a
    // dot, and CMake build folders by any name, are not sources.
    explicit SourceTree(const std::filesystem::path& root);

    // One text per fault, "path:line: what", paths from the repository root.
    std::vector<std::string> FindIncludeFaults() const;

    struct ClassWord {
        std::string word;
        std::string file; // the source that registers it
    };
    // Every class word a product source (tests and testing helpers aside) registers through a static
    // MessengerFactory::Registrar. A registration whose word cannot be read from the sources (neither a text
    // nor a ClassWord() that returns one) goes to unread as "path: registrar NAME".
    std::vector<ClassWord> FindRegisteredClassWords(std::vector<std::string>& unread) const;

    std::size_t FileCount() const { return m_files.size(); }

private:
    struct Include {
        std::string target;
        bool system = false; // <...>
        int line = 0;
    };
    struct File {
        std::string text;
        std::vector<Include> includes;
    };

    void CheckInclude(const std::string& path, const Include& include,
                      std::vector<std::string>& faults) const;
    void CheckSystemHeader(const std::string& path, int line, const std::string& header,
                           const std::string& via, std::vector<std::string>& faults) const;
    struct Reach {
        std::string header; // the system header
        std::string via;    // the platform header that includes it
        int line = 0;       // the file's include that leads there
    };
    // The system headers that reach a file through the platform headers it includes.
    std::vector<Reach> SystemHeadersThroughPlatform(const File& file) const;
    std::string ClassWordOf(const std::string& className) const;

    std::map<std::string, File> m_files; // by path from the root, '/' separated
};

} // namespace VemoTest
