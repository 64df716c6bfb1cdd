#include "platform/win32/registry/Registry.h"

#include "platform/win32/LastError.h"
#include "platform/win32/registry/RegistryStore.h"
#include "platform/win32/registry/RegistryTree.h"

#include <cstring>
#include <map>
#include <mutex>
#include <optional>

namespace win32 {

namespace {

constexpr LSTATUS kSuccess = static_cast<LSTATUS>(ERROR_SUCCESS);

// An open key: the root and the names below it as the store spells them, and what it may be used for.
struct OpenKey {
    int root = 0;
    std::vector<std::string> path;
    REGSAM access = 0;
};

class KeyHandles {
public:
    static KeyHandles& Instance() {
        static KeyHandles* handles = new KeyHandles;
        return *handles;
    }

    HKEY Add(OpenKey key) {
        std::lock_guard guard(m_lock);
        // Values from a counter that only grows, far below the roots' values.
        m_next += 4;
        m_keys.emplace(m_next, std::move(key));
        return reinterpret_cast<HKEY>(m_next);
    }

    std::optional<OpenKey> Find(HKEY key) {
        const int root = RegistryTree::RootIndex(key);
        if (root >= 0) {
            return OpenKey{root, {}, KEY_ALL_ACCESS};
        }
        std::lock_guard guard(m_lock);
        auto found = m_keys.find(reinterpret_cast<std::uintptr_t>(key));
        if (found == m_keys.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    bool Remove(HKEY key) {
        std::lock_guard guard(m_lock);
        return m_keys.erase(reinterpret_cast<std::uintptr_t>(key)) == 1;
    }

private:
    std::mutex m_lock;
    std::map<std::uintptr_t, OpenKey> m_keys;
    std::uintptr_t m_next = 0x1000;
};

std::string ValueName(LPCSTR name) {
    return name != nullptr ? name : "";
}

} // namespace

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM desired, PHKEY result) {
    if (result == nullptr) {
        return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
    }
    *result = nullptr;
    std::optional<OpenKey> base = KeyHandles::Instance().Find(key);
    if (!base) {
        return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    }
    std::vector<std::string> names;
    if (!SplitKeyPath(subKey, names)) {
        return ERROR_BAD_PATHNAME;
    }
    OpenKey opened{base->root, base->path, desired};
    const LSTATUS status = RegistryStore::Instance().Read([&](RegistryTree& tree) {
        RegistryKey* at = tree.Find(base->root, base->path);
        if (at == nullptr) {
            return ERROR_KEY_DELETED;
        }
        for (const std::string& name : names) {
            at = at->FindSubkey(name);
            if (at == nullptr) {
                return static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND);
            }
            opened.path.push_back(at->name);
        }
        return kSuccess;
    });
    if (status == kSuccess) {
        *result = KeyHandles::Instance().Add(std::move(opened));
    }
    return status;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size) {
    if (reserved != nullptr || (data != nullptr && size == nullptr)) {
        return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
    }
    std::optional<OpenKey> open = KeyHandles::Instance().Find(key);
    if (!open) {
        return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    }
    if ((open->access & KEY_QUERY_VALUE) == 0) {
        return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
    }
    return RegistryStore::Instance().Read([&](RegistryTree& tree) {
        RegistryKey* at = tree.Find(open->root, open->path);
        if (at == nullptr) {
            return ERROR_KEY_DELETED;
        }
        const RegistryValue* value = at->FindValue(ValueName(valueName));
        if (value == nullptr) {
            return static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND);
        }
        if (type != nullptr) {
            *type = value->type;
        }
        const auto stored = static_cast<DWORD>(value->data.size());
        if (data != nullptr) {
            if (*size < stored) {
                *size = stored;
                return ERROR_MORE_DATA;
            }
            if (stored > 0) {
                std::memcpy(data, value->data.data(), stored);
            }
        }
        if (size != nullptr) {
            *size = stored;
        }
        return kSuccess;
    });
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
    if (data == nullptr && size > 0) {
        return ERROR_NOACCESS;
    }
    std::optional<OpenKey> open = KeyHandles::Instance().Find(key);
    if (!open) {
        return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    }
    if ((open->access & KEY_SET_VALUE) == 0) {
        return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
    }
    RegistryValue value;
    value.name = ValueName(valueName);
    value.type = type;
    if (size > 0) {
        value.data.assign(data, data + size);
    }
    return RegistryStore::Instance().Modify([&](RegistryTree& tree) {
        RegistryKey* at = tree.Find(open->root, open->path);
        if (at == nullptr) {
            return ERROR_KEY_DELETED;
        }
        at->SetValue(value);
        return kSuccess;
    });
}

LSTATUS RegCloseKey(HKEY key) {
    if (RegistryTree::RootIndex(key) >= 0 || KeyHandles::Instance().Remove(key)) {
        return kSuccess;
    }
    return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
}

LSTATUS WriteRegistryValues(HKEY root, LPCSTR subKey, const std::vector<RegistryValue>& values) {
    const int index = RegistryTree::RootIndex(root);
    if (index < 0) {
        return static_cast<LSTATUS>(ERROR_INVALID_HANDLE);
    }
    std::vector<std::string> names;
    if (!SplitKeyPath(subKey, names)) {
        return ERROR_BAD_PATHNAME;
    }
    for (const std::string& name : names) {
        if (!IsValidKeyName(name)) {
            return ERROR_BAD_PATHNAME;
        }
    }
    return RegistryStore::Instance().Modify([&](RegistryTree& tree) {
        RegistryKey& key = tree.Make(index, names);
        for (const RegistryValue& value : values) {
            key.SetValue(value);
        }
        return kSuccess;
    });
}

RegistryValue RegistryString(std::string name, const std::string& text) {
    RegistryValue value;
    value.name = std::move(name);
    value.type = REG_SZ;
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return value;
}

namespace seam {

void UseRegistryStore(const std::string& path) {
    RegistryStore::Instance().UsePath(path);
}

} // namespace seam

} // namespace win32
