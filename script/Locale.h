// The framework's locale object, which the application base embeds. It carries nothing beyond its class
// record.
#pragma once

#include "foundation/Object.h"

namespace Vemo {

class Locale : public Object {
public:
    Locale();
    ~Locale() override;

    const ObjectClassData* GetClassData() const override;
    static const ObjectClassData* ClassData();
};

} // namespace Vemo
