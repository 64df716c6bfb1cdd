// The one image engine of the system, "Standard Image Engine": it keeps the codecs (BMP, PCX, JPEG, in that
// order, the first that accepts winning), decides which codec serves a file, a File or a block of memory,
// makes the codec's handle and gives it its bytes or its file, and makes image container handles with their
// graphic.
//
// Opening an image file by path needs two matches: the engine serves the criterion only when some codec
// accepts the path's extension, and the handle is then made by the first codec that accepts the bytes.
// Creating an image file looks at the extension only; opening from a File or from memory at the bytes. An
// empty extension (a name ending in '.', or no name) is never put to the codecs: it matches none.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/image/ImageEngine.h"
#include "foundation/BasicArray.h"
#include "foundation/String.h"

#include <cstdint>

namespace Vemo {

class File;
class ImageSearchCriterion;
class StandardImageCodec;
class StandardImageContainerHandle;
class StandardImageHandle;

class StandardImageEngine : public ImageEngine {
public:
    StandardImageEngine();

    // Only an ImageSearchCriterion (else ImageSystemErrBadCriterion); every other failure answers null for
    // the system to report.
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Terminates first when the codecs are still there.
    ~StandardImageEngine() override;
    // Makes and starts the codecs; a codec that does not start is left out.
    bool Initialize() override;
    // Stops and deletes the codecs, last first.
    bool Terminate() override;
    bool MatchSearchCriterion(ResourceSearchCriterion* criterion) override;
    bool MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) override;

    // Runs the engine base's factory on the given engine, or on a new one; null when that fails.
    static StandardImageEngine* Create(StandardImageEngine* engine = nullptr);

    // The text after the last '.' of the name's last component (what follows its last '\', '/' or ':'); the
    // whole component when it has no '.'; empty for an empty name.
    static String GetExtension(const String& name);
    // A handle made by the first codec that accepts the bytes, or that accepts the name's extension (with
    // the depth, format and colour tag of a new file); null when none does.
    StandardImageHandle* CreateHandleForData(const void* data, std::uint32_t size, std::uint32_t sizeHigh);
    StandardImageHandle* CreateHandleForName(const String& name, const std::uint32_t* depth,
                                             const PixelFormat* format, const std::uint32_t* colorTag);

    const BasicArray<StandardImageCodec*>& GetCodecs() const { return m_codecs; }

private:
    StandardImageCodec* CodecForBytes(const void* data, std::uint64_t size);
    // Null for an empty extension.
    StandardImageCodec* CodecForExtension(const String& extension, const File* file);
    bool MatchesName(const ImageSearchCriterion& criterion);

    ResourceHandle* CreateImageHandle(const ImageSearchCriterion& criterion);
    StandardImageHandle* OpenFromFile(const File& file, bool ownsFile);
    StandardImageHandle* CreateImageFile(const ImageSearchCriterion& criterion);
    StandardImageHandle* OpenFromMemory(const void* data, std::uint32_t size);
    ResourceHandle* CreateContainerHandle(const ImageSearchCriterion& criterion);

    BasicArray<StandardImageCodec*> m_codecs;
};

} // namespace Vemo
