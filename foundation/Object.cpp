#include "foundation/Object.h"

#include <atomic>

namespace Vemo {

ObjectClassData::ObjectClassData(const char* name) : name(name) {}

ObjectClassData::ObjectClassData(const char* name, const ObjectClassData* base) : name(name) {
    bases.Reserve(1);
    bases.PushBack(base);
}

namespace {
std::atomic<std::uint32_t> serialCounter{0};
}

std::uint32_t Object::NextSerial() {
    return ++serialCounter;
}

Object::Object() : m_serial(NextSerial()) {}

Object::Object(const Object&) : m_serial(NextSerial()) {}

Object::~Object() = default;

const ObjectClassData* Object::ClassData() {
    static const ObjectClassData record("Vemo::Object");
    return &record;
}

const ObjectClassData* Object::GetClassData() const {
    return ClassData();
}

} // namespace Vemo
