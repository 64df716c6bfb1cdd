// The sections of a script or ini file and the keys of each: in file order, and indexed by name without
// regard to case. Config keeps one key of a name in a section (KeyIndex = BasicSet), Script every occurrence
// (BasicMultiset, where lookups find the first in file order). Compare is the three-way name order.
//
// Sections and keys live in blocks of records that the table owns. A file of many small keys would otherwise
// cost an allocation per record and scatter the records over the heap, and loading and freeing them, not
// reading the text, would be most of a load's time.
#pragma once

#include "foundation/BasicList.h"
#include "foundation/BasicSet.h"
#include "foundation/String.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class Key, int (*Compare)(const Vemo::String&, const Vemo::String&),
          template <class, class> class KeyIndex>
class SectionTable {
public:
    struct KeyLess {
        bool operator()(const Key* a, const Key* b) const { return Compare(a->GetName(), b->GetName()) < 0; }
    };

    class Section {
    public:
        explicit Section(const Vemo::String& name) : m_name(name) {}
        Section(const Section&) = delete;
        Section& operator=(const Section&) = delete;

        const Vemo::String& GetName() const { return m_name; }
        const Vemo::BasicList<Key*>& GetKeys() const { return m_keys; }

    private:
        friend class SectionTable;

        Vemo::String m_name;
        Vemo::BasicList<Key*> m_keys;
        KeyIndex<Key*, KeyLess> m_keysByName;
    };

    struct SectionLess {
        bool operator()(const Section* a, const Section* b) const {
            return Compare(a->GetName(), b->GetName()) < 0;
        }
    };

    SectionTable() = default;
    SectionTable(const SectionTable&) = delete;
    SectionTable& operator=(const SectionTable&) = delete;
    ~SectionTable() { Clear(); }

    const Vemo::BasicList<Section*>& GetSections() const { return m_sections; }

    Section* FindSection(const Vemo::String& name) const {
        Section probe(name);
        const auto found = m_sectionsByName.Find(&probe);
        return found == m_sectionsByName.End() ? nullptr : *found;
    }

    // The first occurrence in file order.
    Key* FindKey(const Section& section, const Vemo::String& name) const {
        Key probe(name);
        const auto found = section.m_keysByName.Find(&probe);
        return found == section.m_keysByName.End() ? nullptr : *found;
    }

    // Appended at the end when missing. Null when memory for the record cannot be had.
    Section* FindOrAddSection(const Vemo::String& name) {
        if (Section* found = FindSection(name)) {
            return found;
        }
        Section* section = m_sectionRecords.Make(name);
        if (section != nullptr) {
            m_sections.PushBack(section);
            m_sectionsByName.Insert(section);
        }
        return section;
    }

    // Appends an occurrence of the key to the section; only for an index that keeps repeated names, or for a
    // name the section does not hold yet. Null when memory for the record cannot be had.
    Key* AddKey(Section& section, const Vemo::String& name) {
        Key* key = m_keyRecords.Make(name);
        if (key != nullptr) {
            section.m_keys.PushBack(key);
            section.m_keysByName.Insert(key);
        }
        return key;
    }

    Key* FindOrAddKey(Section& section, const Vemo::String& name) {
        Key* found = FindKey(section, name);
        return found != nullptr ? found : AddKey(section, name);
    }

    // Removes the key's first occurrence in file order.
    bool RemoveKey(const Vemo::String& sectionName, const Vemo::String& name) {
        Section* section = FindSection(sectionName);
        if (section == nullptr) {
            return false;
        }
        Key probe(name);
        const auto position = section->m_keysByName.Find(&probe);
        if (position == section->m_keysByName.End()) {
            return false;
        }
        Key* key = *position;
        section->m_keysByName.Erase(position);
        section->m_keys.Remove(key);
        m_keyRecords.Destroy(key);
        return true;
    }

    // Removes the first section of that name in file order, with its keys.
    bool RemoveSection(const Vemo::String& name) {
        for (auto position = m_sections.Begin(); position != m_sections.End(); ++position) {
            Section* section = *position;
            if (Compare(section->m_name, name) == 0) {
                m_sectionsByName.Erase(m_sectionsByName.Find(section));
                m_sections.Erase(position);
                for (Key* key : section->m_keys) {
                    m_keyRecords.Destroy(key);
                }
                m_sectionRecords.Destroy(section);
                return true;
            }
        }
        return false;
    }

    unsigned GetKeyCount(const Vemo::String& name) const {
        const Section* section = FindSection(name);
        return section == nullptr ? 0 : static_cast<unsigned>(section->m_keys.Size());
    }

    void Clear() {
        m_sectionsByName.Clear();
        for (Section* section : m_sections) {
            for (Key* key : section->m_keys) {
                key->~Key();
            }
            section->~Section();
        }
        m_sections.Clear();
        m_keyRecords.Release();
        m_sectionRecords.Release();
    }

private:
    // Records made in blocks that grow with the table. A destroyed record's place is reused by the next one
    // made, so a table whose keys come and go stays as large as it ever was at once.
    template <class T>
    class Records {
    public:
        Records() = default;
        Records(const Records&) = delete;
        Records& operator=(const Records&) = delete;

        template <class... Arguments>
        T* Make(Arguments&&... arguments) {
            Slot* slot = TakeSlot();
            if (slot == nullptr) {
                return nullptr;
            }
            try {
                return ::new (static_cast<void*>(slot->bytes)) T(std::forward<Arguments>(arguments)...);
            } catch (...) {
                GiveBack(slot);
                throw;
            }
        }

        void Destroy(T* record) {
            record->~T();
            GiveBack(reinterpret_cast<Slot*>(record));
        }

        // Frees every block; the records in them must have been destroyed.
        void Release() {
            m_blocks.clear();
            m_used = 0;
            m_blockSize = 0;
            m_free = nullptr;
        }

    private:
        union Slot {
            Slot* next;
            alignas(T) unsigned char bytes[sizeof(T)];
        };

        static constexpr std::size_t kFirstBlock = 8;
        static constexpr std::size_t kLargestBlock = 256;

        Slot* TakeSlot() {
            if (m_free != nullptr) {
                Slot* slot = m_free;
                m_free = slot->next;
                return slot;
            }
            if (m_used == m_blockSize) {
                const std::size_t size =
                    m_blockSize == 0 ? kFirstBlock : std::min(2 * m_blockSize, kLargestBlock);
                std::unique_ptr<Slot[]> block(new (std::nothrow) Slot[size]);
                if (block == nullptr || !Keep(std::move(block))) {
                    return nullptr;
                }
                m_blockSize = size;
                m_used = 0;
            }
            return &m_blocks.back()[m_used++];
        }

        bool Keep(std::unique_ptr<Slot[]> block) {
            try {
                m_blocks.push_back(std::move(block));
                return true;
            } catch (const std::bad_alloc&) {
                return false;
            }
        }

        void GiveBack(Slot* slot) {
            slot->next = m_free;
            m_free = slot;
        }

        std::vector<std::unique_ptr<Slot[]>> m_blocks;
        std::size_t m_used = 0;
        std::size_t m_blockSize = 0;
        Slot* m_free = nullptr;
    };

    Vemo::BasicList<Section*> m_sections;
    Vemo::BasicSet<Section*, SectionLess> m_sectionsByName;
    Records<Section> m_sectionRecords;
    Records<Key> m_keyRecords;
};
