// The registry's keys and values in memory, and their text form (the store's format,
// platform/win32/registry/Registry.h). Internal to the platform layer.
#pragma once

#include "platform/win32/registry/Registry.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

class RegistryKey {
public:
    std::string name;
    std::vector<RegistryValue> values;
    std::vector<std::unique_ptr<RegistryKey>> subkeys;

    RegistryKey() = default;
    explicit RegistryKey(std::string keyName) : name(std::move(keyName)) {}
    RegistryKey(const RegistryKey& other);
    RegistryKey& operator=(const RegistryKey& other);

    // Without regard to case; null when there is none.
    RegistryKey* FindSubkey(std::string_view subkeyName) const;
    RegistryValue* FindValue(std::string_view valueName);
    // Replaces the value of that name or adds it.
    void SetValue(const RegistryValue& value);
    bool operator==(const RegistryKey& other) const;
};

class RegistryTree {
public:
    static constexpr int kRootCount = 4;

    // The root's index (0 HKEY_CLASSES_ROOT ... 3 HKEY_USERS), or -1 for a handle that is not a root.
    static int RootIndex(HKEY key);
    static const char* RootName(int root);
    // The root a name gives ("HKEY_LOCAL_MACHINE" or "HKLM", without regard to case), or -1.
    static int RootFromName(std::string_view name);
    static HKEY RootKey(int root);

    RegistryKey& Root(int root) { return m_roots[static_cast<std::size_t>(root)]; }

    // The key at the names below the root (matched without regard to case), or null.
    RegistryKey* Find(int root, const std::vector<std::string>& path);
    // The key at the names, made with the keys on its way when missing.
    RegistryKey& Make(int root, const std::vector<std::string>& path);

    // False with a message naming the line ("line 3: ...") when the text breaks the format.
    bool Parse(std::string_view text, std::string& error);
    std::string Text() const;

    bool operator==(const RegistryTree& other) const { return m_roots == other.m_roots; }

private:
    std::array<RegistryKey, kRootCount> m_roots;
};

// A key name as the store takes it: not empty, at most 255 bytes, without "\" or control bytes.
bool IsValidKeyName(std::string_view name);

// Splits a sub-key text at "\" (one "\" at the end ignored); false when a name on the way is empty.
bool SplitKeyPath(LPCSTR subKey, std::vector<std::string>& names);

} // namespace win32
