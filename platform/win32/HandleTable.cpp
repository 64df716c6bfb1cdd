#include "platform/win32/HandleTable.h"

#include "platform/win32/LastError.h"

#include <mutex>
#include <unordered_map>

namespace win32 {

KernelObject::~KernelObject() = default;

namespace {

struct Table {
    std::mutex lock;
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
    // Handle values advance by 4, as on Windows, and never take 0 or the all-ones value.
    std::uintptr_t next = 4;
};

Table& TheTable() {
    static Table* table = new Table; // outlives every static destructor that may still close a handle
    return *table;
}

} // namespace

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    std::uintptr_t value = table.next;
    table.next += 4;
    if (table.next == 0 || table.next == static_cast<std::uintptr_t>(-1)) {
        table.next = 4;
    }
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
    Table& table = TheTable();
    std::lock_guard guard(table.lock);
    auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == table.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return found->second;
}

BOOL CloseHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;
    {
        Table& table = TheTable();
        std::lock_guard guard(table.lock);
        auto found = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == table.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        object = std::move(found->second);
        table.objects.erase(found);
    }
    // The object's destructor runs outside the table's lock: it may itself close or look up handles.
    object.reset();
    return TRUE;
}

} // namespace win32
