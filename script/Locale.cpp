#include "script/Locale.h"

namespace Vemo {

Locale::Locale() = default;

Locale::~Locale() = default;

const ObjectClassData* Locale::GetClassData() const {
    return ClassData();
}

const ObjectClassData* Locale::ClassData() {
    static const ObjectClassData data("Vemo::Locale", Object::ClassData());
    return &data;
}

} // namespace Vemo
