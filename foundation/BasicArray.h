// Dynamic array: contiguous elements indexed from 0, copied only through their own copy operations.
#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

namespace Vemo {

template <class T>
class BasicArray {
public:
    using Iterator = typename std::vector<T>::iterator;
    using ConstIterator = typename std::vector<T>::const_iterator;

    BasicArray() = default;
    BasicArray(const BasicArray&) = default;
    BasicArray& operator=(const BasicArray&) = default;
    virtual ~BasicArray() = default;

    std::size_t Size() const { return m_elements.size(); }
    std::size_t Capacity() const { return m_elements.capacity(); }
    bool Empty() const { return m_elements.empty(); }

    T& operator[](std::size_t index) { return m_elements[index]; }
    const T& operator[](std::size_t index) const { return m_elements[index]; }

    Iterator Begin() { return m_elements.begin(); }
    Iterator End() { return m_elements.end(); }
    ConstIterator Begin() const { return m_elements.begin(); }
    ConstIterator End() const { return m_elements.end(); }
    Iterator begin() { return m_elements.begin(); }
    Iterator end() { return m_elements.end(); }
    ConstIterator begin() const { return m_elements.begin(); }
    ConstIterator end() const { return m_elements.end(); }

    void Reserve(std::size_t count) { m_elements.reserve(count); }

    Iterator Insert(ConstIterator position, const T& element) { return m_elements.insert(position, element); }
    void Insert(ConstIterator position, std::size_t count, const T& element) {
        m_elements.insert(position, count, element);
    }
    template <std::input_iterator InputIterator>
    void Insert(ConstIterator position, InputIterator first, InputIterator last) {
        m_elements.insert(position, first, last);
    }
    void PushBack(const T& element) { m_elements.push_back(element); }

    Iterator Erase(ConstIterator position) { return m_elements.erase(position); }
    Iterator EraseRange(ConstIterator first, ConstIterator last) { return m_elements.erase(first, last); }
    void Clear() { m_elements.clear(); }

private:
    std::vector<T> m_elements;
};

} // namespace Vemo
