// The emulated machine's drive table from any bytes, read both as a VEMO_DRIVES text and as a host mount
// table: every entry kept has a letter A-Z of its own and an absolute folder, and an entry left out of a
// VEMO_DRIVES text comes with a message.
#include "platform/win32/files/DriveTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(const win32::DriveTable& table) {
    char previous = 0;
    for (const win32::DriveEntry& entry : table.Entries()) {
        if (entry.letter < 'A' || entry.letter > 'Z' || entry.letter <= previous ||
            entry.hostFolder.empty() || entry.hostFolder.front() != '/' ||
            table.Find(entry.letter) != &entry) {
            std::abort();
        }
        previous = entry.letter;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> errors;
    const win32::DriveTable given = win32::DriveTable::Parse(text, &errors);
    Check(given);
    for (const std::string& error : errors) {
        if (error.empty()) {
            std::abort();
        }
    }
    Check(win32::DriveTable::FromMounts(text));
    return 0;
}
