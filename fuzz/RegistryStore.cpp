// The registry store's file (platform/win32/registry/Registry.h) from any bytes: either a message naming the
// line that breaks the format, or a registry whose written text reads back as the same registry.
#include "platform/win32/registry/RegistryTree.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    win32::RegistryTree tree;
    std::string error;
    if (!tree.Parse(std::string_view(reinterpret_cast<const char*>(data), size), error)) {
        if (error.rfind("line ", 0) != 0) {
            std::abort();
        }
        return 0;
    }
    const std::string text = tree.Text();
    win32::RegistryTree again;
    if (!again.Parse(text, error) || !(again == tree) || again.Text() != text) {
        std::abort();
    }
    return 0;
}
