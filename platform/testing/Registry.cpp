#include "platform/testing/Registry.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace win32::testing {

namespace fs = std::filesystem;

TemporaryRegistry::TemporaryRegistry() {
    std::string pattern = (fs::temp_directory_path() / "vemo-registry-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    m_folder = pattern;
    m_path = m_folder + "/registry.txt";
    seam::UseRegistryStore(m_path);
}

TemporaryRegistry::TemporaryRegistry(const std::string& text) : TemporaryRegistry() {
    WriteText(text);
}

TemporaryRegistry::~TemporaryRegistry() {
    seam::UseRegistryStore({});
    std::error_code error;
    fs::remove_all(m_folder, error);
}

std::string TemporaryRegistry::Text() const {
    std::ifstream file(m_path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void TemporaryRegistry::WriteText(const std::string& text) const {
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << text;
}

bool TemporaryRegistry::SetStrings(
    HKEY root, const std::string& subKey,
    const std::vector<std::pair<std::string, std::string>>& namesAndTexts) const {
    std::vector<RegistryValue> values;
    for (const auto& [name, text] : namesAndTexts) {
        values.push_back(RegistryString(name, text));
    }
    return WriteRegistryValues(root, subKey.c_str(), values) == static_cast<LSTATUS>(ERROR_SUCCESS);
}

} // namespace win32::testing
