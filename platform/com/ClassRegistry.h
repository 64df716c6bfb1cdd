// The process's registered classes: each CLSID with its ProgID and class factory. Internal to the platform
// layer; platform/testing/ComTesting.h registers and unregisters.
#pragma once

#include "platform/com/Com.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace com {

class ClassRegistry {
public:
    static ClassRegistry& Instance();

    // Keeps a reference to the factory. False, with nothing changed, when the CLSID or the (non-empty) ProgID
    // is registered already or the factory is null.
    bool Register(REFCLSID clsid, const std::string& progId, IClassFactory* factory);
    // Releases the class's factory; false when the class is not registered.
    bool Unregister(REFCLSID clsid);
    void UnregisterAll();

    // The class's factory with a new reference, or null.
    IClassFactory* Factory(REFCLSID clsid);
    bool Contains(REFCLSID clsid);
    // The CLSID of a ProgID (compared without regard to ASCII case).
    std::optional<CLSID> FindProgId(LPCOLESTR progId);

private:
    struct Entry {
        CLSID clsid;
        std::string progId;
        IClassFactory* factory;
    };

    std::vector<Entry>::iterator FindLocked(REFCLSID clsid);

    std::mutex m_lock;
    std::vector<Entry> m_entries;
};

} // namespace com
