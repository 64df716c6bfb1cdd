// The parsed values of the keys that configure a scripted object from its own section, and the checks that
// keep the rectangles and indexes built from a script's numbers inside 32 bits.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "script/Fragment.h"

#include <cstdint>
#include <initializer_list>

class Script;

struct SectionKey {
    const char* name;
    // Receives the key's parsed value, null when the key is missing.
    const Vemo::BasicArray<Fragment>** value;
};

// Looks every key up in the section. False when a value does not parse: the script has reported that, naming
// the file and the key.
bool FindSectionKeys(Script& script, const Vemo::String& section, std::initializer_list<SectionKey> keys);

// The rectangle at (left, top) with the extents, worked out in 64 bits; false, out unchanged, when an edge
// does not fit 32 bits.
bool RectFromExtents(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height,
                     Vemo::Rect& out);
// Whether the number fits a signed 32-bit index or edge.
bool FitsInt32(std::int64_t number);

// A value that parses but describes a rectangle or an index beyond 32 bits is refused as an unparsable one
// is: the report names the script's file (left out for a store without a file, such as the variables), the
// section and the key. Always false, so that the caller can return it.
bool RefuseKeyValue(const Script* script, const Vemo::String& section, const Vemo::String& key);
// Whether the rectangle a section's "Position" and "Size" keys place fits 32 bits; when not, refused as
// above, naming "Size" when the section has that key, else "Position".
bool CheckPlacementKeys(const Script* script, const Vemo::String& section, const Vemo::Point& position,
                        const Vemo::Size& size, bool hasSizeKey);
