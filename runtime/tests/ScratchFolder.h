// A fresh folder under the system's temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace VemoTest {

class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device random;
        do {
            m_path = std::filesystem::temp_directory_path() / ("vemo-scratch-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(m_path));
    }
    ~ScratchFolder() { std::filesystem::remove_all(m_path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Writes a file below the folder, making the folders on the way.
    void Write(const std::string& relative, std::string_view text) const {
        const std::filesystem::path file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

private:
    std::filesystem::path m_path;
};

} // namespace VemoTest
