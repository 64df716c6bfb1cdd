#include "runtime/tests/CompileCommands.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace VemoTest {

namespace fs = std::filesystem;

namespace {

// Reads the JSON string that starts at text[at] == '"'; at ends past its closing quote.
std::string ReadJsonString(std::string_view text, std::size_t& at) {
    std::string value;
    for (++at; at < text.size() && text[at] != '"'; ++at) {
        if (text[at] != '\\' || at + 1 == text.size()) {
            value += text[at];
            continue;
        }
        const char escaped = text[++at];
        switch (escaped) {
        case 'n':
            value += '\n';
            break;
        case 't':
            value += '\t';
            break;
        default: // '"', '\\' and '/' stand for themselves; CMake writes no other escapes in these files
            value += escaped;
        }
    }
    ++at;
    return value;
}

// Splits a command line as the shell would, which is how CMake quotes it.
std::vector<std::string> SplitCommand(std::string_view command) {
    std::vector<std::string> arguments;
    std::string argument;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (c == '\\' && i + 1 < command.size() &&
            (!quoted || command[i + 1] == '"' || command[i + 1] == '\\')) {
            argument += command[++i];
            inArgument = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) {
                arguments.push_back(argument);
            }
            argument.clear();
            inArgument = false;
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(argument);
    }
    return arguments;
}

std::string Normal(const std::string& folder) {
    std::string normal = fs::path(folder).lexically_normal().generic_string();
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

} // namespace

bool CompileCommands::Load(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    Parse(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    return true;
}

void CompileCommands::Parse(const std::string& json) {
    const std::string_view text(json);
    int depth = 0;
    Entry entry;
    std::string key;
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (c == '"') {
            std::string value = ReadJsonString(text, at);
            const std::size_t next = text.find_first_not_of(" \t\r\n", at);
            if (next != std::string_view::npos && text[next] == ':') {
                key = std::move(value);
                at = next + 1;
            } else if (depth == 1 && key == "file") {
                entry.file = std::move(value);
            } else if (depth == 1 && key == "command") {
                entry.arguments = SplitCommand(value);
            }
            continue;
        }
        if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            m_entries.push_back(std::move(entry));
            entry = Entry{};
        }
        ++at;
    }
}

std::vector<std::string> CompileCommands::FindForeignIncludePaths(const std::string& root) const {
    const std::string top = Normal(root);
    std::vector<std::string> faults;
    for (const Entry& entry : m_entries) {
        const std::string file = Normal(entry.file);
        if (file.compare(0, top.size() + 1, top + "/") != 0) {
            continue;
        }
        const std::string path = file.substr(top.size() + 1);
        // Benchmarks compile with the include paths of the libraries they measure against; which of their
        // headers a benchmark may include is the header check's.
        if (path.compare(0, 9, "platform/") == 0 || path.compare(0, 6, "bench/") == 0 ||
            path.compare(0, 5, "build") == 0) {
            continue;
        }
        const std::vector<std::string>& arguments = entry.arguments;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            for (const std::string_view flag : {"-I", "-isystem", "-iquote", "-idirafter"}) {
                if (arguments[i].compare(0, flag.size(), flag) != 0) {
                    continue;
                }
                std::string folder = arguments[i].substr(flag.size());
                if (folder.empty() && i + 1 < arguments.size()) {
                    folder = arguments[++i];
                }
                if (Normal(folder) != top) {
                    faults.push_back(path + ": " + std::string(flag) + " " + folder);
                }
                break;
            }
        }
    }
    return faults;
}

} // namespace VemoTest
