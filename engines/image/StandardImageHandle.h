// The image handle of the standard image engine, the base of every codec's handle. It holds the encoded
// bytes (the whole file, from the file, from the caller's memory or from an encode), the File they come from
// or go to, and what the codec's ReadHeader found: the size, pixel format, palette and where the pixel bytes
// lie. Load, Save and the release of the bytes are the same for every format.
//
// Every header reader refuses an image wider or higher than kMaxImageSide or of more than kMaxImagePixels
// pixels, so that no input asks for a graphic or a work buffer beyond that.
//
// Virtual operations are declared in their slot order, after the ImageHandle's.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/PixelValue.h"
#include "engines/image/ImageHandle.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Vemo {

class AccessStatus;
class Graphic;
class StandardImageEngine;
class StandardImageFile;

class StandardImageHandle : public ImageHandle {
public:
    static constexpr std::uint32_t kMaxImageSide = 32767;
    static constexpr std::uint64_t kMaxImagePixels = 1ull << 26;

    explicit StandardImageHandle(StandardImageEngine* engine);
    // Releases the read record and deletes the file object, owned or shared.
    ~StandardImageHandle() override;

    std::uint32_t GetWidth() override;
    std::uint32_t GetHeight() override;
    Size GetSize() override;
    std::uint32_t GetDepth() override;
    std::uint32_t GetColorTag() override;
    bool HasPalette() override;
    PixelFormat GetPixelFormat() override;
    // True at once while bytes are held; otherwise reads the whole file (opened by the path when there is no
    // file object yet) and its header. A header that fails leaves the handle without bytes.
    bool Load() override;
    // Writes the bytes at the start of the file (created by the path when there is no file object yet) and
    // cuts the file to their size.
    bool Save(std::uint8_t fileMode) override;
    void Unload() override;
    // Drops the bytes this handle owns and the palette; with closeFile also a file it opened itself.
    virtual void ReleaseData(bool closeFile);
    // Parses the header of the bytes held: size, pixel format, palette and where the pixels lie.
    virtual bool ReadHeader();

    // What the engine gives a handle it opened: the bytes and, when they were read from a file, the record
    // that owns them (released with them).
    void TakeData(const std::uint8_t* data, std::uint32_t size, bool owned, AccessStatus* record);
    // Makes the handle's file object, sharing the File, and takes the File's name as the handle's path.
    bool ShareFile(const File& file);
    // Makes the handle's file object and creates the file at the path with the mode, emptied.
    bool CreateFile(const Path& path, std::uint8_t fileMode);
    // Whether the file object was opened by this handle (by path), and goes with its bytes on Unload.
    void SetOwnsFile(bool ownsFile) { m_ownsFile = ownsFile; }
    void SetColorTag(std::uint32_t colorTag) { m_colorTag = colorTag; }
    void SetPixelFormat(const PixelFormat& format) { m_pixelFormat = format; }

    const std::uint8_t* GetData() const { return m_data; }
    std::uint32_t GetDataSize() const { return m_size; }
    const std::uint8_t* GetPixelData() const { return m_pixelData; }
    std::uint32_t GetPixelDataSize() const { return m_pixelDataSize; }
    StandardImageFile* GetFile() const { return m_file; }
    const std::vector<PixelValue>& GetPalette() const { return m_palette; }
    StandardImageEngine* GetStandardEngine() const { return m_engine; }

    // Whether a header may describe an image of that size.
    static bool IsAllowedSize(std::uint64_t width, std::uint64_t height);

protected:
    // Keeps a table that already holds count entries; otherwise makes one of count black entries.
    void AllocatePalette(std::uint32_t count);
    void FreePalette();
    // Entry index of a table that AllocatePalette made large enough.
    void SetPaletteEntry(std::uint32_t index, PixelValue color) { m_palette[index] = color; }
    // Where the pixel bytes lie inside the bytes held; null clears them.
    void SetPixelData(const std::uint8_t* pixels, std::uint32_t size);
    // Takes a block this handle allocated (an encode's output) as its bytes.
    void TakeEncoded(std::unique_ptr<std::uint8_t[]> data, std::uint32_t size);
    // Opens out on the target's graphic, for writing the image into it: the graphic must be drawable (not
    // read-only, not lost), at least as large as the image, and the pixel bytes found.
    bool OpenTargetGraphic(Graphic& out);
    // Opens out on the target's graphic, for reading it: a surface that is there and not lost.
    bool OpenSourceGraphic(Graphic& out);
    // For an image of palette indices of the depth: an indexed graphic must be at least as deep (else
    // false) and gets the image's palette, entry by entry in index order, and black for the entries after it
    // up to the image's 2^bits. A direct-colour graphic is left as it is.
    bool PutPaletteIntoGraphic(Graphic& graphic, DepthCode imageDepth);

    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::uint32_t m_colorTag = 0;
    PixelFormat m_pixelFormat;

private:
    void ReleaseRecord();

    const std::uint8_t* m_data = nullptr;
    std::uint32_t m_size = 0;
    bool m_dataOwned = false;
    // The block behind m_data when this handle allocated it.
    std::unique_ptr<std::uint8_t[]> m_encoded;
    const std::uint8_t* m_pixelData = nullptr;
    std::uint32_t m_pixelDataSize = 0;
    std::vector<PixelValue> m_palette;
    StandardImageFile* m_file = nullptr;
    AccessStatus* m_readRecord = nullptr;
    bool m_ownsFile = false;
    StandardImageEngine* m_engine;
};

} // namespace Vemo
