#include "platform/com/ClassRegistry.h"

namespace com {

namespace {

char FoldAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameProgId(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// A ProgID is ASCII: a text with any other character names no class.
std::optional<std::string> AsciiText(LPCOLESTR text) {
    std::string ascii;
    for (; *text != 0; ++text) {
        if (*text >= 0x80) {
            return std::nullopt;
        }
        ascii += static_cast<char>(*text);
    }
    return ascii;
}

} // namespace

ClassRegistry& ClassRegistry::Instance() {
    static ClassRegistry* registry = new ClassRegistry;
    return *registry;
}

std::vector<ClassRegistry::Entry>::iterator ClassRegistry::FindLocked(REFCLSID clsid) {
    for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry) {
        if (entry->clsid == clsid) {
            return entry;
        }
    }
    return m_entries.end();
}

bool ClassRegistry::Register(REFCLSID clsid, const std::string& progId, IClassFactory* factory) {
    std::lock_guard guard(m_lock);
    if (factory == nullptr || FindLocked(clsid) != m_entries.end()) {
        return false;
    }
    for (const Entry& entry : m_entries) {
        if (!progId.empty() && SameProgId(entry.progId, progId)) {
            return false;
        }
    }
    factory->AddRef();
    m_entries.push_back(Entry{clsid, progId, factory});
    return true;
}

bool ClassRegistry::Unregister(REFCLSID clsid) {
    IClassFactory* factory = nullptr;
    {
        std::lock_guard guard(m_lock);
        auto entry = FindLocked(clsid);
        if (entry == m_entries.end()) {
            return false;
        }
        factory = entry->factory;
        m_entries.erase(entry);
    }
    // Outside the lock: the factory's last release may run a double's code that creates or looks up classes.
    factory->Release();
    return true;
}

void ClassRegistry::UnregisterAll() {
    std::vector<Entry> entries;
    {
        std::lock_guard guard(m_lock);
        entries.swap(m_entries);
    }
    for (Entry& entry : entries) {
        entry.factory->Release();
    }
}

IClassFactory* ClassRegistry::Factory(REFCLSID clsid) {
    std::lock_guard guard(m_lock);
    auto entry = FindLocked(clsid);
    if (entry == m_entries.end()) {
        return nullptr;
    }
    entry->factory->AddRef();
    return entry->factory;
}

bool ClassRegistry::Contains(REFCLSID clsid) {
    std::lock_guard guard(m_lock);
    return FindLocked(clsid) != m_entries.end();
}

std::optional<CLSID> ClassRegistry::FindProgId(LPCOLESTR progId) {
    std::optional<std::string> ascii = AsciiText(progId);
    if (!ascii || ascii->empty()) {
        return std::nullopt;
    }
    std::lock_guard guard(m_lock);
    for (const Entry& entry : m_entries) {
        if (SameProgId(entry.progId, *ascii)) {
            return entry.clsid;
        }
    }
    return std::nullopt;
}

} // namespace com
