// A button's picture: a bitmap placed at an offset inside the button, so that the looks of one button may
// differ in size and place. Its script value adds the option "Offset"(x, y) to those of every bitmap.
#pragma once

#include "runtime/pictures/Bitmap.h"

#include <cstdint>

class ButtonBitmap : public Bitmap {
public:
    ButtonBitmap() = default;

    bool ParseOption(const Fragment& item, Options& options) override;
    bool ApplyOption(const Fragment& item) override;

    // The picture's top-left corner in the button's coordinates.
    std::int32_t GetOffsetX() const { return m_offsetX; }
    std::int32_t GetOffsetY() const { return m_offsetY; }

protected:
    // Whether the item is an "Offset" item.
    static bool IsOffset(const Fragment& item);

private:
    std::int32_t m_offsetX = 0;
    std::int32_t m_offsetY = 0;
};
