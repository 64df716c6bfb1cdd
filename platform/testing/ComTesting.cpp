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

FunctionClassFactory* FunctionClassFactory::Create(Maker maker) {
    return new FunctionClassFactory(std::move(maker));
}

HRESULT FunctionClassFactory::QueryInterface(REFIID iid, void** object) {
    return Answer(iid, object, {{&IID_IClassFactory, static_cast<IClassFactory*>(this)}});
}

HRESULT FunctionClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) {
        return win32::E_POINTER;
    }
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    IUnknown* instance = m_maker();
    if (instance == nullptr) {
        return win32::E_OUTOFMEMORY;
    }
    ++m_created;
    const HRESULT result = instance->QueryInterface(iid, object);
    instance->Release();
    return result;
}

HRESULT FunctionClassFactory::LockServer(BOOL) {
    return win32::S_OK;
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
