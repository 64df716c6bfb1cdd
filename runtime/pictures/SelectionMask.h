// A button's hit-test mask: a button picture that is never drawn. The button reads its pixels to decide
// which points of its rectangle are hot; the pixel under the hot spot, option "HotSpot"(x, y) in the
// button's coordinates, gives the value that marks hot pixels (1 without a hot spot).
#pragma once

#include "runtime/pictures/ButtonBitmap.h"

#include <cstdint>

class SelectionMask : public ButtonBitmap {
public:
    SelectionMask() = default;

    bool ParseOption(const Fragment& item, Options& options) override;
    // A hot spot outside the picture fails (reported).
    bool ApplyOption(const Fragment& item) override;

    bool HasHotSpot() const { return m_hotSpotX != -1 || m_hotSpotY != -1; }
    std::int32_t GetHotSpotX() const { return m_hotSpotX; }
    std::int32_t GetHotSpotY() const { return m_hotSpotY; }
    std::uint32_t GetSelectingValue() const { return m_selectingValue; }
    void SetSelectingValue(std::uint32_t value) { m_selectingValue = value; }

private:
    static bool IsHotSpot(const Fragment& item);

    std::int32_t m_hotSpotX = -1;
    std::int32_t m_hotSpotY = -1;
    std::uint32_t m_selectingValue = 1;
};
