// What the image fuzz targets run on (see ImageDriveSession). Made once, in LLVMFuzzerInitialize, so that
// nothing it allocates is taken for a leak of an input.
//
// Exercise puts the bytes to every codec's Identify, opens them as an image file of the given name and from
// memory (identification by name and by bytes, the header reader), decodes the image into graphics of its own
// format and of one other (dithered and keyed into 16 bits), and writes what the first one shows back out as
// PCX or JPEG; the bytes pick the other format and the file.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/image/Image.h"
#include "engines/image/ImageContainer.h"
#include "engines/image/StandardImageCodec.h"
#include "engines/image/testing/ImageDriveSession.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <system_error>

class ImageFuzzSession : public ImageDriveSession {
public:
    static ImageFuzzSession& Instance() {
        static ImageFuzzSession* session = (PreferMemoryFolder(), new ImageFuzzSession);
        return *session;
    }

    void Exercise(const std::uint8_t* data, std::size_t size, const std::string& fileName) {
        const auto count = static_cast<std::uint32_t>(size);
        for (Vemo::StandardImageCodec* codec : Engine().GetCodecs()) {
            codec->Identify(data, count, size, nullptr, nullptr);
        }
        WriteFile(fileName, data, size);
        Vemo::Image fromFile;
        if (fromFile.Open(PathOf(fileName))) {
            DecodeAll(fromFile, Pick(data, size));
        }
        Vemo::Image fromMemory;
        if (size > 0 && fromMemory.Open(data, count) && Small(fromMemory)) {
            Decode(fromMemory, Vemo::PixelFormat(Vemo::StandardPixelFormat::Xrgb32), false);
        }
    }

private:
    // Every input is written to the drive and read back, and some are written out again: on a disk's file
    // system those truncations cost more than the decoding. Unless TMPDIR says otherwise, the drive lives in
    // shared memory when the machine has a writable /dev/shm.
    static void PreferMemoryFolder() {
        if (std::getenv("TMPDIR") != nullptr) {
            return;
        }
        std::error_code error;
        const std::filesystem::path probe =
            std::filesystem::path("/dev/shm") / ("vemo-fuzz-probe-" + std::to_string(std::random_device()()));
        if (std::filesystem::create_directory(probe, error)) {
            std::filesystem::remove(probe, error);
            setenv("TMPDIR", "/dev/shm", 1);
        }
    }

    // Decoding stops at images of more pixels than this: a larger picture takes the same paths through the
    // codecs and converters, only more times, and a header claiming a large one is what random bytes mostly
    // make. The readers still see every header, whatever size it claims.
    static constexpr std::uint64_t kMostPixels = 1u << 14;

    static bool Small(Vemo::Image& image) {
        return std::uint64_t{image.GetWidth()} * image.GetHeight() <= kMostPixels;
    }

    ImageFuzzSession() : ImageDriveSession("vemo-fuzz-") {}

    // Which of the conversions an input takes, from its bytes: each input decodes into its image's own
    // format, into one other and writes one file back, so that an input costs a few conversions instead of
    // all of them, while the inputs together still reach every one.
    static std::uint32_t Pick(const std::uint8_t* data, std::size_t size) {
        std::uint32_t hash = 2166136261u;
        for (std::size_t i = 0; i < size; ++i) {
            hash = (hash ^ data[i]) * 16777619u;
        }
        return hash;
    }

    void DecodeAll(Vemo::Image& image, std::uint32_t pick) {
        using Vemo::StandardPixelFormat;
        if (!Small(image)) {
            return;
        }
        if (Decode(image, image.GetPixelFormat(), false)) {
            Encode(pick % 2 == 0 ? "again.pcx" : "again.jpg");
        }
        constexpr StandardPixelFormat kFormats[] = {
            StandardPixelFormat::Indexed1, StandardPixelFormat::Indexed4, StandardPixelFormat::Indexed8,
            StandardPixelFormat::Rgb565,   StandardPixelFormat::Rgb24,    StandardPixelFormat::Bgr24,
            StandardPixelFormat::Xbgr32,   StandardPixelFormat::Argb32};
        const StandardPixelFormat number = kFormats[pick / 2 % std::size(kFormats)];
        Decode(image, Vemo::PixelFormat(number), number == StandardPixelFormat::Rgb565);
    }

    // Decodes into a new container graphic of the format (the image's own when it has none), one pixel
    // wider and higher than the image; the container is kept for Encode.
    bool Decode(Vemo::Image& image, const Vemo::PixelFormat& format, bool dither) {
        m_container = std::make_unique<Vemo::ImageContainer>();
        const Vemo::PixelFormat* chosen =
            format.format != Vemo::StandardPixelFormat::None ? &format : nullptr;
        if (!m_container->Create(image.GetWidth() + 1, image.GetHeight() + 1, chosen, 3, 1)) {
            return false;
        }
        const Vemo::TaggedColor key(Vemo::PixelValue(0, 0, 0), 1);
        m_container->SetDecodeOptions(dither, dither ? &key : nullptr);
        return m_container->SelectImage(image) && m_container->DecodeCurrentImage();
    }

    void Encode(const std::string& fileName) {
        Vemo::Image written;
        if (written.Create(PathOf(fileName), Vemo::DepthCode{0}, 1, 1) && m_container->SelectImage(written)) {
            m_container->SaveCurrentImage(1);
        }
    }

    std::unique_ptr<Vemo::ImageContainer> m_container;
};
