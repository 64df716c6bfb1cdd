#include "platform/com/FunctionClassFactory.h"

#include "platform/com/ClassRegistry.h"

namespace com {

FunctionClassFactory* FunctionClassFactory::Create(Maker maker) {
    return new FunctionClassFactory(std::move(maker));
}

bool FunctionClassFactory::Register(REFCLSID clsid, const std::string& progId, Maker maker) {
    FunctionClassFactory* factory = Create(std::move(maker));
    const bool registered = ClassRegistry::Instance().Register(clsid, progId, factory);
    factory->Release();
    return registered;
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

} // namespace com
