// Double-ended queue, used first in, first out: elements stay where they are while others come and go.
#pragma once

#include "foundation/BasicContainer.h"

#include <deque>

namespace Vemo {

template <class T>
class BasicDeque : public BasicContainer<std::deque<T>> {
public:
    void PushBack(const T& element) { this->m_elements.push_back(element); }
    T& Front() { return this->m_elements.front(); }
    const T& Front() const { return this->m_elements.front(); }
    T& Back() { return this->m_elements.back(); }
    const T& Back() const { return this->m_elements.back(); }
    void PopFront() { this->m_elements.pop_front(); }
};

} // namespace Vemo
