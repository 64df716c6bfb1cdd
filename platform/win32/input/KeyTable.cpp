#include "platform/win32/input/KeyTable.h"

#include "platform/directx/DirectInputHost.h"
#include "platform/win32/windows/Keyboard.h"

namespace win32 {

namespace {

std::array<BYTE, 256> MakeTable() {
    std::array<BYTE, 256> table{};
    for (std::size_t virtualKey = 0; virtualKey < table.size(); ++virtualKey) {
        const KeyDescription key = DescribeVirtualKey(static_cast<BYTE>(virtualKey));
        table[virtualKey] = key.scanCode != 0 ? dinput::host::KeyCodeFor(key.scanCode, key.extended) : 0;
    }
    return table;
}

} // namespace

const std::array<BYTE, 256>& VirtualKeyScanCodes() {
    static const std::array<BYTE, 256> table = MakeTable();
    return table;
}

BYTE ScanCodeOfVirtualKey(WPARAM virtualKey) {
    return virtualKey < VirtualKeyScanCodes().size() ? VirtualKeyScanCodes()[virtualKey] : 0;
}

} // namespace win32
