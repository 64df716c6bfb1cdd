#include "foundation/Exception.h"

#include <cstddef>

namespace Vemo {

namespace {

char16_t* CopyText(const char16_t* text) {
    if (text == nullptr) {
        return nullptr;
    }
    std::size_t length = 0;
    while (text[length] != 0) {
        ++length;
    }
    char16_t* copy = new char16_t[length + 1];
    for (std::size_t i = 0; i <= length; ++i) {
        copy[i] = text[i];
    }
    return copy;
}

} // namespace

Exception::Exception() = default;

Exception::Exception(const char16_t* text) : m_text(CopyText(text)) {}

Exception::Exception(const Exception& other) : Object(other), m_text(CopyText(other.m_text)) {}

Exception::~Exception() {
    delete[] m_text;
}

const ObjectClassData* Exception::ClassData() {
    static const ObjectClassData record("Exception", Object::ClassData());
    return &record;
}

const ObjectClassData* Exception::GetClassData() const {
    return ClassData();
}

const char16_t* Exception::GetText() const {
    return m_text;
}

const ObjectClassData* RangeException::ClassData() {
    static const ObjectClassData record("RangeException", Exception::ClassData());
    return &record;
}

const ObjectClassData* RangeException::GetClassData() const {
    return ClassData();
}

} // namespace Vemo
