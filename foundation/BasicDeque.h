// Double-ended queue, used first in, first out: elements stay where they are while others come and go.
#pragma once

#include <cstddef>
#include <deque>

namespace Vemo {

template <class T>
class BasicDeque {
public:
    using Iterator = typename std::deque<T>::iterator;
    using ConstIterator = typename std::deque<T>::const_iterator;

    BasicDeque() = default;
    BasicDeque(const BasicDeque&) = default;
    BasicDeque& operator=(const BasicDeque&) = default;
    virtual ~BasicDeque() = default;

    void PushBack(const T& element) { m_elements.push_back(element); }
    T& Front() { return m_elements.front(); }
    const T& Front() const { return m_elements.front(); }
    T& Back() { return m_elements.back(); }
    const T& Back() const { return m_elements.back(); }
    void PopFront() { m_elements.pop_front(); }

    std::size_t Size() const { return m_elements.size(); }
    bool Empty() const { return m_elements.empty(); }

    Iterator Begin() { return m_elements.begin(); }
    Iterator End() { return m_elements.end(); }
    ConstIterator Begin() const { return m_elements.begin(); }
    ConstIterator End() const { return m_elements.end(); }
    Iterator begin() { return m_elements.begin(); }
    Iterator end() { return m_elements.end(); }
    ConstIterator begin() const { return m_elements.begin(); }
    ConstIterator end() const { return m_elements.end(); }

    Iterator EraseRange(ConstIterator first, ConstIterator last) { return m_elements.erase(first, last); }
    void Clear() { m_elements.clear(); }

private:
    std::deque<T> m_elements;
};

} // namespace Vemo
