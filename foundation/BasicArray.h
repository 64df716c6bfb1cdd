// Dynamic array: contiguous elements indexed from 0, copied only through their own copy operations.
#pragma once

#include "foundation/BasicContainer.h"

#include <cstddef>
#include <iterator>
#include <vector>

namespace Vemo {

template <class T>
class BasicArray : public BasicContainer<std::vector<T>> {
    using Base = BasicContainer<std::vector<T>>;

public:
    using typename Base::ConstIterator;
    using typename Base::Iterator;

    std::size_t Capacity() const { return this->m_elements.capacity(); }

    T& operator[](std::size_t index) { return this->m_elements[index]; }
    const T& operator[](std::size_t index) const { return this->m_elements[index]; }

    void Reserve(std::size_t count) { this->m_elements.reserve(count); }

    Iterator Insert(ConstIterator position, const T& element) {
        return this->m_elements.insert(position, element);
    }
    void Insert(ConstIterator position, std::size_t count, const T& element) {
        this->m_elements.insert(position, count, element);
    }
    template <std::input_iterator InputIterator>
    void Insert(ConstIterator position, InputIterator first, InputIterator last) {
        this->m_elements.insert(position, first, last);
    }
    void PushBack(const T& element) { this->m_elements.push_back(element); }

    Iterator Erase(ConstIterator position) { return this->m_elements.erase(position); }
};

} // namespace Vemo
