// Test-only access to COM: classes registered by tests (the doubles of players, browsers and shell objects),
// and the counts that show what COM and the hosting library still hold.
#pragma once

#include "platform/com/Com.h"
#include "platform/com/ComObject.h"
#include "platform/com/FunctionClassFactory.h"

#include <cstddef>
#include <functional>
#include <string>

namespace com::testing {

// Registers the factory (a reference is kept) under the CLSID and, unless empty, the ProgID; false, with
// nothing changed, when either is registered already.
bool RegisterClassFactory(REFCLSID clsid, const std::string& progId, IClassFactory* factory);
// Releases the class's factory; false when it was not registered.
bool UnregisterClassFactory(REFCLSID clsid);
void UnregisterAllClasses();

// CoInitialize calls of the calling thread not yet undone.
int ThreadInitializeCount();
// AtlAxWinInit calls not yet undone, and whether the library's "AtlAxWin" class is registered.
int HostingStartCount();
bool HostWindowClassRegistered();
// Host objects of "AtlAxWin" windows still alive.
std::size_t LiveHostObjects();

using FunctionClassFactory = com::FunctionClassFactory;

// A class registered with a FunctionClassFactory for the object's life.
class ScopedClass {
public:
    ScopedClass(REFCLSID clsid, const std::string& progId, FunctionClassFactory::Maker maker);
    ~ScopedClass();
    ScopedClass(const ScopedClass&) = delete;
    ScopedClass& operator=(const ScopedClass&) = delete;

    bool Registered() const { return m_registered; }
    int CreatedCount() const { return m_factory->CreatedCount(); }

private:
    CLSID m_clsid;
    FunctionClassFactory* m_factory;
    bool m_registered;
};

} // namespace com::testing
