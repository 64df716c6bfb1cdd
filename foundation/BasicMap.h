// Ordered map with unique keys.
#pragma once

#include "foundation/BasicSet.h"

#include <map>

namespace Vemo {

template <class K, class V, class LessK = Less<K>>
class BasicMap : public BasicOrderedContainer<std::map<K, V, LessK>> {
    using Base = BasicOrderedContainer<std::map<K, V, LessK>>;

public:
    using Base::Base;
    using Element = std::pair<const K, V>;

    // A present key keeps its value; the result's flag tells whether the element was added.
    std::pair<typename Base::Iterator, bool> Insert(const Element& element) {
        return this->m_elements.insert(element);
    }
    std::pair<typename Base::Iterator, bool> Insert(const K& key, const V& value) {
        return this->m_elements.insert(Element(key, value));
    }

    V& operator[](const K& key) { return this->m_elements[key]; }
};

} // namespace Vemo
