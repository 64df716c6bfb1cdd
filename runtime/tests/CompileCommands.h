// The compile commands CMake records for a build (compile_commands.json), read for the include paths each
// source is compiled with.
#pragma once

#include <string>
#include <vector>

namespace VemoTest {

class CompileCommands {
public:
    // Reads CMake's file; false when it cannot be read.
    bool Load(const std::string& file);
    // Takes the file's text as it stands.
    void Parse(const std::string& json);

    // One text per source outside platform/ that is compiled with an include path other than the repository
    // root: "path: -I folder". Paths are given from the root; sources outside the root are not looked at.
    std::vector<std::string> FindForeignIncludePaths(const std::string& root) const;

    std::size_t Count() const { return m_entries.size(); }

private:
    struct Entry {
        std::string file;
        std::vector<std::string> arguments;
    };

    std::vector<Entry> m_entries;
};

} // namespace VemoTest
