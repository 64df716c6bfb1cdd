// A class factory that makes each instance with a function returning a new object with one reference (null:
// out of memory). Aggregation is refused (CLASS_E_NOAGGREGATION). The platform's own classes and the tests'
// doubles are registered with it.
#pragma once

#include "platform/com/Com.h"
#include "platform/com/ComObject.h"

#include <functional>
#include <string>

namespace com {

class FunctionClassFactory final : public ComObject<IClassFactory> {
public:
    using Maker = std::function<IUnknown*()>;

    // With one reference.
    static FunctionClassFactory* Create(Maker maker);

    // Enters a class made by the maker into the process's class registry under the CLSID and, unless empty,
    // the ProgID; false, with nothing changed, when either is taken already.
    static bool Register(REFCLSID clsid, const std::string& progId, Maker maker);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT LockServer(BOOL lock) override;

    // Instances made so far.
    int CreatedCount() const { return m_created; }

private:
    explicit FunctionClassFactory(Maker maker) : m_maker(std::move(maker)) {}

    Maker m_maker;
    int m_created = 0;
};

} // namespace com
