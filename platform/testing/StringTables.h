// Test-only string tables: the strings a module's LoadStringA finds
// (platform/win32/kernel/ModuleResources.h).
#pragma once

#include "platform/win32/kernel/ModuleResources.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace win32::testing {

// Gives the module these strings for the object's life (a null instance is the program's module).
class StringTable {
public:
    StringTable(HINSTANCE instance, std::initializer_list<std::pair<UINT, std::string>> strings);
    ~StringTable();
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

private:
    HINSTANCE m_instance;
    std::vector<UINT> m_ids;
};

} // namespace win32::testing
