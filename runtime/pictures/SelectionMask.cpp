#include "runtime/pictures/SelectionMask.h"

#include "resources/error/Error.h"
#include "script/Fragment.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/Messenger.h"

bool SelectionMask::IsHotSpot(const Fragment& item) {
    static const KeywordIds<int>* const words = new KeywordIds<int>({{"HotSpot", 0}}, -1);
    return (*words)[item.GetText()] == 0;
}

bool SelectionMask::ParseOption(const Fragment& item, Options& options) {
    return IsHotSpot(item) || ButtonBitmap::ParseOption(item, options);
}

bool SelectionMask::ApplyOption(const Fragment& item) {
    if (IsOffset(item)) {
        return true;
    }
    if (!IsHotSpot(item)) {
        return Bitmap::ApplyOption(item);
    }
    FragmentStream(item.GetChildren()) >> m_hotSpotX >> m_hotSpotY;
    const std::int64_t x = static_cast<std::int64_t>(m_hotSpotX) - GetOffsetX();
    const std::int64_t y = static_cast<std::int64_t>(m_hotSpotY) - GetOffsetY();
    if (x < 0 || x >= GetWidth() || y < 0 || y >= GetHeight()) {
        RaiseError(Messenger::kErrorSettings);
        return false;
    }
    return true;
}
