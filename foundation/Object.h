// Root of the framework classes that carry class records of their own, and the records themselves.
#pragma once

#include "foundation/BasicArray.h"

#include <cstdint>

namespace Vemo {

// A class word and the records of the class's direct bases (none for Object, exactly one for every other
// class). Records are built on first request and live until the program ends; nothing keeps a list of all of
// them.
class ObjectClassData {
public:
    explicit ObjectClassData(const char* name);
    ObjectClassData(const char* name, const ObjectClassData* base);

    const char* name;
    BasicArray<const ObjectClassData*> bases;
};

class Object {
public:
    Object();
    Object(const Object&);
    Object& operator=(const Object&) { return *this; } // an object keeps its own serial
    virtual ~Object();

    virtual const ObjectClassData* GetClassData() const;
    static const ObjectClassData* ClassData();

    std::uint32_t GetSerial() const { return m_serial; }

protected:
    // Every construction, copies included, takes the next number of the one process-wide counter.
    static std::uint32_t NextSerial();

private:
    std::uint32_t m_serial;
};

} // namespace Vemo
