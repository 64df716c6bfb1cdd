// The image handle of a JFIF file, read and written through libjpeg. Its header reader sets the size and
// no pixel format; greyscale files decode through a grey palette, colour files by their channels (dithered
// into 16-bit graphics when asked); other component counts are refused. The encoder writes 24-bit colour at
// quality 100 into a block of the handle's own that grows as the data needs.
//
// Every libjpeg call runs under its JErrorManager's Guard: a libjpeg error makes the operation answer false
// after the libjpeg objects are destroyed and the graphic is unlocked.
#pragma once

#include "engines/image/StandardImageHandle.h"
#include "engines/image/codecs/RowConverters.h"

namespace Vemo {

class Graphic;
class StandardImageTargetWriter;

class JPEGStandardImageHandle : public StandardImageHandle {
public:
    explicit JPEGStandardImageHandle(StandardImageEngine* engine);
    ~JPEGStandardImageHandle() override;

    // True only when every row was decoded: a file cut inside its scan data converts the rows before the cut
    // and answers false.
    bool Decode(bool dither, const TaggedColor* keyColor) override;
    // A failed encode leaves the handle without encoded bytes.
    bool Encode() override;
    bool ReadHeader() override;

private:
    // Begins the writer for rows of one component (through a grey palette, which an indexed graphic also
    // gets) or of colour in the layout; the converter, null when the rows cannot go into the graphic.
    RowConverter BeginRows(int components, SourcePixels pixels, bool diffuse, const TaggedColor* keyColor,
                           Graphic& graphic, StandardImageTargetWriter& writer);
};

} // namespace Vemo
