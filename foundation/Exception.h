// Exceptions are kept for range and length faults that the calling code should never have caused; expected
// failures are reported as errors instead. The system's own exceptions carry no text.
#pragma once

#include "foundation/Object.h"

namespace Vemo {

class Exception : public Object {
public:
    Exception();
    // A copy takes a new serial and a private copy of the text.
    Exception(const Exception& other);
    Exception& operator=(const Exception&) = delete;
    ~Exception() override;

    const ObjectClassData* GetClassData() const override;
    static const ObjectClassData* ClassData();

    // The description of the fault, or null (always null in the exceptions the system throws).
    virtual const char16_t* GetText() const;

protected:
    explicit Exception(const char16_t* text);

private:
    char16_t* m_text = nullptr;
};

class RangeException : public Exception {
public:
    RangeException() = default;
    RangeException(const RangeException& other) = default;

    const ObjectClassData* GetClassData() const override;
    static const ObjectClassData* ClassData();
};

} // namespace Vemo
