// Test-only registry stores: a store file of its own in a fresh temporary folder, in force for the object's
// life whatever VEMO_REGISTRY says, with ways to fill it and to read the file back.
#pragma once

#include "platform/win32/registry/Registry.h"

#include <string>
#include <vector>

namespace win32::testing {

class TemporaryRegistry {
public:
    // The store starts missing (an empty registry); text, when given, is written as the store's file first.
    TemporaryRegistry();
    explicit TemporaryRegistry(const std::string& text);
    // Goes back to the environment's store and removes the folder.
    ~TemporaryRegistry();
    TemporaryRegistry(const TemporaryRegistry&) = delete;
    TemporaryRegistry& operator=(const TemporaryRegistry&) = delete;

    // The store's file (it need not exist) and the folder that holds it.
    const std::string& Path() const { return m_path; }
    const std::string& Folder() const { return m_folder; }
    // The file as it is now; empty when it does not exist.
    std::string Text() const;
    // Replaces the file's content as another program would.
    void WriteText(const std::string& text) const;

    // REG_SZ values (with their terminating zero) under root\subKey, the key made when missing.
    bool SetStrings(HKEY root, const std::string& subKey,
                    const std::vector<std::pair<std::string, std::string>>& namesAndTexts) const;

private:
    std::string m_folder;
    std::string m_path;
};

} // namespace win32::testing
