#include "platform/testing/StringTables.h"

namespace win32::testing {

StringTable::StringTable(HINSTANCE instance, std::initializer_list<std::pair<UINT, std::string>> strings)
    : m_instance(instance) {
    for (const auto& [id, text] : strings) {
        seam::SetModuleString(instance, id, &text);
        m_ids.push_back(id);
    }
}

StringTable::~StringTable() {
    for (UINT id : m_ids) {
        seam::SetModuleString(m_instance, id, nullptr);
    }
}

} // namespace win32::testing
