#include "runtime/SectionKeys.h"

#include "script/ErrorString.h"
#include "script/Script.h"

#include <limits>

bool FindSectionKeys(Script& script, const Vemo::String& section, std::initializer_list<SectionKey> keys) {
    for (const SectionKey& key : keys) {
        const Vemo::String name(key.name);
        Vemo::String text;
        *key.value = nullptr;
        if (script.GetValueText(section, name, text) && !script.GetFragments(section, name, *key.value)) {
            return false;
        }
    }
    return true;
}

bool FitsInt32(std::int64_t number) {
    return number >= std::numeric_limits<std::int32_t>::min() &&
           number <= std::numeric_limits<std::int32_t>::max();
}

bool RectFromExtents(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
                     Vemo::Rect& out) {
    const std::int64_t right = left + width;
    const std::int64_t bottom = top + height;
    if (!FitsInt32(left) || !FitsInt32(top) || !FitsInt32(right) || !FitsInt32(bottom)) {
        return false;
    }
    out = Vemo::Rect(static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
                     static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom));
    return true;
}

bool RefuseKeyValue(const Script* script, const Vemo::String& section, const Vemo::String& key) {
    if (script != nullptr) {
        RaiseQuotedItems(Script::kErrorKeyNotParsed, {ScriptPathText(script), section, key});
    } else {
        RaiseQuotedItems(Script::kErrorKeyNotParsed, {section, key});
    }
    return false;
}

bool CheckPlacementKeys(const Script* script, const Vemo::String& section, const Vemo::Point& position,
                        const Vemo::Size& size, bool hasSizeKey) {
    Vemo::Rect placed;
    return RectFromExtents(position.x, position.y, size.width, size.height, placed) ||
           RefuseKeyValue(script, section, Vemo::String(hasSizeKey ? "Size" : "Position"));
}
