#include "runtime/tests/SourceTree.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string_view>

namespace VemoTest {

namespace fs = std::filesystem;

namespace {

// The layers, lowest first.
const std::vector<std::string> kLayers = {"foundation", "resources", "script",
                                          "engines",    "runtime",   "controls"};
const std::set<std::string> kTools = {"bench", "fuzz"};

// Folders whose subfolders are layered too, lowest first: a file includes headers of its own subfolder and of
// those below it. The files at the folder's top lie below every subfolder, its tests/ and testing/ above them
// all.
struct Floors {
    std::string folder;
    std::vector<std::string> subfolders;
};
const std::vector<Floors> kFloors = {
    {"runtime", {"pictures", "screen", "fonts", "application", "states", "product"}},
    {"platform/win32", {"files", "kernel", "gdi", "headless", "registry", "windows", "input", "desktop"}},
};

// The libraries the benchmarks measure our code against; nothing but a benchmark links them.
const std::set<std::string> kBenchmarkReferences = {"ini.h", "pixman.h", "pixman-1/pixman.h", "jpeglib.h",
                                                    "jerror.h"};

const std::set<std::string> kStandardHeaders = {
    // C++20
    "algorithm", "any", "array", "atomic", "barrier", "bit", "bitset", "charconv", "chrono", "codecvt",
    "compare", "complex", "concepts", "condition_variable", "coroutine", "deque", "exception", "execution",
    "filesystem", "format", "forward_list", "fstream", "functional", "future", "initializer_list", "iomanip",
    "ios", "iosfwd", "iostream", "istream", "iterator", "latch", "limits", "list", "locale", "map", "memory",
    "memory_resource", "mutex", "new", "numbers", "numeric", "optional", "ostream", "queue", "random",
    "ranges", "ratio", "regex", "scoped_allocator", "semaphore", "set", "shared_mutex", "source_location",
    "span", "sstream", "stack", "stdexcept", "stop_token", "streambuf", "string", "string_view", "syncstream",
    "system_error", "thread", "tuple", "type_traits", "typeindex", "typeinfo", "unordered_map",
    "unordered_set", "utility", "valarray", "variant", "vector", "version",
    // the C library as C++ gives it
    "cassert", "cctype", "cerrno", "cfenv", "cfloat", "cinttypes", "climits", "clocale", "cmath", "csetjmp",
    "csignal", "cstdarg", "cstddef", "cstdint", "cstdio", "cstdlib", "cstring", "ctime", "cuchar", "cwchar",
    "cwctype"};

const std::set<std::string> kSourceExtensions = {".h", ".hpp", ".cpp", ".cc", ".c", ".inc"};

std::string TopFolder(const std::string& path) {
    return path.substr(0, path.find('/'));
}

bool HasFolder(const std::string& path, std::string_view folder) {
    std::string_view rest(path);
    for (std::size_t slash; (slash = rest.find('/')) != std::string_view::npos;
         rest.remove_prefix(slash + 1)) {
        if (rest.substr(0, slash) == folder) {
            return true;
        }
    }
    return false;
}

bool IsTestSource(const std::string& path) {
    return HasFolder(path, "tests") || HasFolder(path, "testing");
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

int LayerRank(const std::string& folder) {
    const auto found = std::find(kLayers.begin(), kLayers.end(), folder);
    return found == kLayers.end() ? -1 : static_cast<int>(found - kLayers.begin());
}

bool IsKnownFolder(const std::string& folder) {
    return folder == "platform" || folder == "probe" || LayerRank(folder) >= 0 || kTools.count(folder) != 0;
}

// Where a path lies in a layered folder: 0 at the folder's top, n in its n-th subfolder, one more than the
// subfolders in tests/ and testing/, -1 in a subfolder of no floor. Null when the path lies in no layered
// folder.
const Floors* FloorOf(const std::string& path, int& floor) {
    for (const Floors& floors : kFloors) {
        if (!StartsWith(path, floors.folder + "/")) {
            continue;
        }
        const std::string rest = path.substr(floors.folder.size() + 1);
        const std::size_t slash = rest.find('/');
        if (slash == std::string::npos) {
            floor = 0;
            return &floors;
        }
        const std::string subfolder = rest.substr(0, slash);
        const auto found = std::find(floors.subfolders.begin(), floors.subfolders.end(), subfolder);
        if (subfolder == "tests" || subfolder == "testing") {
            floor = static_cast<int>(floors.subfolders.size()) + 1;
        } else if (found == floors.subfolders.end()) {
            floor = -1;
        } else {
            floor = static_cast<int>(found - floors.subfolders.begin()) + 1;
        }
        return &floors;
    }
    return nullptr;
}

// The folder of a layered folder's floor in which a path lies, as a fault names it: its top, or the subfolder
// the path is written with (tests/ and testing/ share a floor but keep their names).
std::string FloorFolder(const Floors& floors, const std::string& path) {
    const std::string rest = path.substr(floors.folder.size() + 1);
    const std::size_t slash = rest.find('/');
    return floors.folder + "/" + (slash == std::string::npos ? "" : rest.substr(0, slash + 1));
}

// Whether a source in folder `from` may include a header of folder `to`.
bool MayInclude(const std::string& from, const std::string& to) {
    if (to == "platform" || to == from) {
        return true;
    }
    if (from == "platform" || from == "probe" || LayerRank(to) < 0) {
        return false;
    }
    return kTools.count(from) != 0 || LayerRank(to) <= LayerRank(from);
}

// "#include <x>" or "#include "x"" on a line, blanks allowed around the '#'.
bool ParseInclude(std::string_view line, std::string& target, bool& system) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string_view::npos || line[at] != '#') {
        return false;
    }
    at = line.find_first_not_of(" \t", at + 1);
    if (at == std::string_view::npos || line.substr(at, 7) != "include") {
        return false;
    }
    at = line.find_first_not_of(" \t", at + 7);
    if (at == std::string_view::npos || (line[at] != '<' && line[at] != '"')) {
        return false;
    }
    system = line[at] == '<';
    const std::size_t end = line.find(system ? '>' : '"', at + 1);
    if (end == std::string_view::npos) {
        return false;
    }
    target = std::string(line.substr(at + 1, end - at - 1));
    return true;
}

// A CMake build folder, wherever it lies: its compiler checks are sources of their own.
bool IsBuildFolder(const fs::path& folder) {
    return fs::exists(folder / "CMakeCache.txt");
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The text up to the first ',' outside parentheses and braces, or up to the closing one.
std::string FirstArgument(std::string_view text) {
    int depth = 0;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(' || c == '{') {
            ++depth;
        } else if (c == ')' || c == '}') {
            if (depth == 0) {
                break;
            }
            --depth;
        } else if (c == ',' && depth == 0) {
            break;
        }
    }
    return std::string(text.substr(0, i));
}

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The first text literal in the text, when it has one.
bool FirstLiteral(std::string_view text, std::string& literal) {
    const std::size_t open = text.find('"');
    if (open == std::string_view::npos) {
        return false;
    }
    const std::size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos) {
        return false;
    }
    literal = std::string(text.substr(open + 1, close - open - 1));
    return true;
}

} // namespace

SourceTree::SourceTree(const fs::path& root) {
    for (const fs::directory_entry& top : fs::directory_iterator(root)) {
        const std::string name = top.path().filename().string();
        if (!top.is_directory() || StartsWith(name, "build") || StartsWith(name, ".") ||
            IsBuildFolder(top.path())) {
            continue;
        }
        for (auto entry = fs::recursive_directory_iterator(top.path());
             entry != fs::recursive_directory_iterator(); ++entry) {
            if (entry->is_directory() &&
                (StartsWith(entry->path().filename().string(), ".") || IsBuildFolder(entry->path()))) {
                entry.disable_recursion_pending();
                continue;
            }
            if (!entry->is_regular_file() ||
                kSourceExtensions.count(entry->path().extension().string()) == 0) {
                continue;
            }
            File file;
            file.text = ReadText(entry->path());
            std::istringstream lines(file.text);
            int number = 0;
            for (std::string line; std::getline(lines, line);) {
                ++number;
                Include include;
                if (ParseInclude(line, include.target, include.system)) {
                    include.line = number;
                    file.includes.push_back(include);
                }
            }
            m_files.emplace(fs::relative(entry->path(), root).generic_string(), std::move(file));
        }
    }
}

std::vector<std::string> SourceTree::FindIncludeFaults() const {
    std::vector<std::string> faults;
    for (const auto& [path, file] : m_files) {
        if (!IsKnownFolder(TopFolder(path))) {
            faults.push_back(path + ":1: lies in no folder of the layering");
            continue;
        }
        int floor = 0;
        if (const Floors* floors = FloorOf(path, floor); floors != nullptr && floor < 0) {
            faults.push_back(path + ":1: lies in no subfolder of the layering of " + floors->folder + "/");
            continue;
        }
        for (const Include& include : file.includes) {
            CheckInclude(path, include, faults);
        }
        if (TopFolder(path) != "platform") {
            for (const Reach& reach : SystemHeadersThroughPlatform(file)) {
                CheckSystemHeader(path, reach.line, reach.header, reach.via, faults);
            }
        }
    }
    return faults;
}

void SourceTree::CheckInclude(const std::string& path, const Include& include,
                              std::vector<std::string>& faults) const {
    const std::string where = path + ":" + std::to_string(include.line) + ": ";
    if (include.system) {
        CheckSystemHeader(path, include.line, include.target, "", faults);
        return;
    }
    if (m_files.count(include.target) == 0) {
        faults.push_back(where + "\"" + include.target + "\" is not a path from the repository root");
        return;
    }
    const std::string from = TopFolder(path);
    const std::string to = TopFolder(include.target);
    if (!MayInclude(from, to)) {
        faults.push_back(where + "\"" + include.target + "\": " + from + "/ may not include " + to + "/");
    }
    int fromFloor = 0;
    int toFloor = 0;
    const Floors* floors = FloorOf(path, fromFloor);
    if (floors != nullptr && FloorOf(include.target, toFloor) == floors && toFloor > fromFloor) {
        faults.push_back(where + "\"" + include.target + "\": " + FloorFolder(*floors, path) +
                         " may not include " + FloorFolder(*floors, include.target));
    }
    if (HasFolder(include.target, "tests") && (!HasFolder(path, "tests") || from != to)) {
        faults.push_back(where + "\"" + include.target + "\" belongs to " + to +
                         "/'s own tests; shared test helpers live in a testing/ folder");
    }
    if (HasFolder(include.target, "testing") && !IsTestSource(path) && kTools.count(from) == 0) {
        faults.push_back(where + "\"" + include.target + "\" is a test helper, and this is product code");
    }
}

void SourceTree::CheckSystemHeader(const std::string& path, int line, const std::string& header,
                                   const std::string& via, std::vector<std::string>& faults) const {
    const std::string from = TopFolder(path);
    const bool allowed =
        from == "platform" || kStandardHeaders.count(header) != 0 ||
        ((StartsWith(header, "gtest/") || StartsWith(header, "gmock/")) && IsTestSource(path)) ||
        ((StartsWith(header, "benchmark/") || kBenchmarkReferences.count(header) != 0) && from == "bench") ||
        (StartsWith(header, "fuzzer/") && from == "fuzz") ||
        ((header == "jpeglib.h" || header == "jerror.h") && StartsWith(path, "engines/image/codecs/"));
    if (!allowed) {
        faults.push_back(path + ":" + std::to_string(line) + ": <" + header + ">" +
                         (via.empty() ? "" : " reaches it through \"" + via + "\"") +
                         ": neither ours nor the C++ standard library's, and only platform/ may include it");
    }
}

std::vector<SourceTree::Reach> SourceTree::SystemHeadersThroughPlatform(const File& file) const {
    std::vector<Reach> reached;
    std::set<std::string> seenHeaders;
    std::set<std::string> seenSystem;
    for (const Include& direct : file.includes) {
        if (direct.system || TopFolder(direct.target) != "platform") {
            continue;
        }
        std::vector<std::string> pending{direct.target};
        while (!pending.empty()) {
            const std::string header = pending.back();
            pending.pop_back();
            const auto found = m_files.find(header);
            if (found == m_files.end() || !seenHeaders.insert(header).second) {
                continue;
            }
            for (const Include& include : found->second.includes) {
                if (!include.system) {
                    if (TopFolder(include.target) == "platform") {
                        pending.push_back(include.target);
                    }
                } else if (seenSystem.insert(include.target).second) {
                    reached.push_back({include.target, header, direct.line});
                }
            }
        }
    }
    return reached;
}

std::vector<SourceTree::ClassWord>
SourceTree::FindRegisteredClassWords(std::vector<std::string>& unread) const {
    constexpr std::string_view kRegistrar = "Registrar";
    std::vector<ClassWord> words;
    for (const auto& [path, file] : m_files) {
        if (IsTestSource(path)) {
            continue;
        }
        const std::string_view text(file.text);
        for (std::size_t at = text.find(kRegistrar); at != std::string_view::npos;
             at = text.find(kRegistrar, at + kRegistrar.size())) {
            // "Registrar name(" or "Registrar name{": a registrar object, not the class's own declarations.
            std::size_t i = at + kRegistrar.size();
            if ((at > 0 && IsNameCharacter(text[at - 1])) || i >= text.size() ||
                (text[i] != ' ' && text[i] != '\t')) {
                continue;
            }
            i = text.find_first_not_of(" \t", i);
            const std::size_t nameEnd =
                text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_", i);
            if (nameEnd == i || nameEnd == std::string_view::npos) {
                continue;
            }
            const std::string name(text.substr(i, nameEnd - i));
            const std::size_t open = text.find_first_not_of(" \t\r\n", nameEnd);
            if (open == std::string_view::npos || (text[open] != '(' && text[open] != '{')) {
                continue;
            }
            const std::string argument = FirstArgument(text.substr(open + 1));
            std::string word;
            const std::size_t classWord = argument.find("::ClassWord()");
            if (classWord != std::string::npos) {
                std::size_t begin = classWord;
                while (begin > 0 && IsNameCharacter(argument[begin - 1])) {
                    --begin;
                }
                word = ClassWordOf(argument.substr(begin, classWord - begin));
            } else {
                FirstLiteral(argument, word);
            }
            if (word.empty()) {
                unread.push_back(path + ": registrar " + name);
            } else {
                words.push_back({word, path});
            }
        }
    }
    return words;
}

// The text that ClassName::ClassWord() returns, read from its definition; empty when there is none to read.
std::string SourceTree::ClassWordOf(const std::string& className) const {
    const std::string definition = className + "::ClassWord()";
    for (const auto& [path, file] : m_files) {
        if (IsTestSource(path)) {
            continue;
        }
        const std::string_view text(file.text);
        for (std::size_t at = text.find(definition); at != std::string_view::npos;
             at = text.find(definition, at + definition.size())) {
            const std::size_t body = text.find_first_not_of(" \t\r\n", at + definition.size());
            if ((at > 0 && IsNameCharacter(text[at - 1])) || body == std::string_view::npos ||
                text[body] != '{') {
                continue;
            }
            std::string word;
            if (FirstLiteral(text.substr(body, text.find('}', body) - body), word)) {
                return word;
            }
        }
    }
    return {};
}

} // namespace VemoTest
