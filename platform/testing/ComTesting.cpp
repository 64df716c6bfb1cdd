#include "platform/testing/ComTesting.h"

#include "platform/com/AxHostWindow.h"
#include "platform/com/ClassRegistry.h"
#include "platform/com/ComThreadState.h"
#include "platform/com/HostingLibrary.h"

namespace com::testing {

bool RegisterClassFactory(REFCLSID clsid, const std::string& progId, IClassFactory* factory) {
    return ClassRegistry::Instance().Register(clsid, progId, factory);
}

bool UnregisterClassFactory(REFCLSID clsid) {
    return ClassRegistry::Instance().Unregister(clsid);
}

void UnregisterAllClasses() {
    ClassRegistry::Instance().UnregisterAll();
}

int ThreadInitializeCount() {
    return detail::ThreadStarts();
}

int HostingStartCount() {
    return detail::HostingStarts();
}

bool HostWindowClassRegistered() {
    return detail::HostClassRegistered();
}

std::size_t LiveHostObjects() {
    return AxHostWindow::LiveCount();
}

ScopedClass::ScopedClass(REFCLSID clsid, const std::string& progId, FunctionClassFactory::Maker maker)
    : m_clsid(clsid), m_factory(FunctionClassFactory::Create(std::move(maker))) {
    m_registered = RegisterClassFactory(clsid, progId, m_factory);
}

ScopedClass::~ScopedClass() {
    if (m_registered) {
        UnregisterClassFactory(m_clsid);
    }
    m_factory->Release();
}

} // namespace com::testing
