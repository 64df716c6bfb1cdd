// Doubly linked list for collections that are appended to, walked in order and pruned while walking.
#pragma once

#include "foundation/BasicContainer.h"

#include <list>

namespace Vemo {

template <class T>
class BasicList : public BasicContainer<std::list<T>> {
    using Base = BasicContainer<std::list<T>>;

public:
    using typename Base::ConstIterator;
    using typename Base::Iterator;

    T& Front() { return this->m_elements.front(); }
    T& Back() { return this->m_elements.back(); }

    void PushBack(const T& element) { this->m_elements.push_back(element); }
    Iterator Insert(ConstIterator position, const T& element) {
        return this->m_elements.insert(position, element);
    }
    void PopFront() { this->m_elements.pop_front(); }
    Iterator Erase(ConstIterator position) { return this->m_elements.erase(position); }
    void Remove(const T& element) { this->m_elements.remove(element); }
};

} // namespace Vemo
