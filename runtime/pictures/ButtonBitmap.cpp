#include "runtime/pictures/ButtonBitmap.h"

#include "script/Fragment.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"

bool ButtonBitmap::IsOffset(const Fragment& item) {
    static const KeywordIds<int>* const words = new KeywordIds<int>({{"Offset", 0}}, -1);
    return (*words)[item.GetText()] == 0;
}

bool ButtonBitmap::ParseOption(const Fragment& item, Options& options) {
    if (!IsOffset(item)) {
        return Bitmap::ParseOption(item, options);
    }
    FragmentStream(item.GetChildren()) >> m_offsetX >> m_offsetY;
    return true;
}

bool ButtonBitmap::ApplyOption(const Fragment& item) {
    return IsOffset(item) || Bitmap::ApplyOption(item);
}
