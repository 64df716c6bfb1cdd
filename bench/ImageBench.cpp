// Decoding a 640x480 picture through the image engine, as the runtime loads its bitmaps (an image container
// decoding its image: the file read, its header parsed, its pixels converted into the container graphic),
// against what it cannot do without, measured side by side in each iteration:
// - a 24-bit BMP against reading the file through the File front-end (opened, read whole, closed) plus a copy
//   of its pixels into a picture of their size. Goal: within 1.5 times;
// - a JPEG against reading the file the same way and libjpeg's own decode of it into a picture of its default
//   output (RGB rows). Goal: within 1.1 times.
// Each "ratio" is the engine's best pass over the yardstick's best pass, so that a burst of other work on the
// machine does not decide it.
#include "engines/graphics/Graphic.h"
#include "engines/image/ImageContainer.h"
#include "engines/image/codecs/testing/JpegFiles.h"
#include "engines/image/testing/ImageDriveSession.h"
#include "engines/image/testing/ImageFiles.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/File.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A photograph-like picture: smooth gradients with some detail.
void Scene(int x, int y, std::uint8_t* samples) {
    samples[0] = static_cast<std::uint8_t>(x * 255 / kWidth + (x * y % 7));
    samples[1] = static_cast<std::uint8_t>(y * 255 / kHeight + ((x ^ y) & 15));
    samples[2] = static_cast<std::uint8_t>(128 + ((x - 320) * (y - 240)) / 600);
}

class Session : public ImageDriveSession {
public:
    Session() : ImageDriveSession("vemo-bench-") {
        VemoTest::Picture rows;
        for (int y = kHeight; y-- > 0;) {
            rows.emplace_back();
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t samples[3];
                Scene(x, y, samples);
                rows.back().push_back(samples[2] | samples[1] << 8 | samples[0] << 16);
            }
        }
        VemoTest::BmpFile bmp;
        bmp.width = kWidth;
        bmp.height = kHeight;
        bmp.pixels = VemoTest::PackBmpRows(rows, 24);
        const VemoTest::Bytes bmpBytes = bmp.Encode();
        WriteFile("photo.bmp", bmpBytes.data(), bmpBytes.size());
        const VemoTest::Bytes jpegBytes = VemoTest::MakeJpeg(kWidth, kHeight, 3, Scene, 90);
        WriteFile("photo.jpg", jpegBytes.data(), jpegBytes.size());
    }
};

Session& SharedSession() {
    static Session* session = new Session;
    return *session;
}

template <class Pass>
double Seconds(Pass pass) {
    const auto start = std::chrono::steady_clock::now();
    if (!pass()) {
        return -1;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The whole file, read as the engine reads it: opened by its path, one request for all of it into a buffer
// the file allocates, closed.
bool ReadWhole(Session& session, const char* name,
               const std::function<void(const std::uint8_t*, std::uint32_t)>& use) {
    Vemo::File file;
    if (!file.Open(session.PathOf(name), nullptr, false)) {
        return false;
    }
    Vemo::AccessStatus* read = file.ReadAt(0, file.Size(), nullptr);
    if (read == nullptr) {
        return false;
    }
    use(static_cast<const std::uint8_t*>(read->m_buffer), read->m_count);
    read->Release();
    return true;
}

// The engine's pass and the yardstick's, alternating which goes first, each kept at its best. Each timed pass
// follows an untimed one of its own kind, so that neither is measured on caches that the other filled with
// its own picture.
template <class Pass>
double Warm(Pass pass) {
    return pass() ? Seconds(pass) : -1;
}

template <class Engine, class Yardstick>
void SideBySide(benchmark::State& state, Engine engine, Yardstick yardstick, double goal) {
    double engineBest = std::numeric_limits<double>::max();
    double yardstickBest = std::numeric_limits<double>::max();
    bool engineFirst = true;
    for (auto _ : state) {
        const double first = engineFirst ? Warm(engine) : Warm(yardstick);
        const double second = engineFirst ? Warm(yardstick) : Warm(engine);
        if (first < 0 || second < 0) {
            state.SkipWithError("a pass failed");
            return;
        }
        engineBest = std::min(engineBest, engineFirst ? first : second);
        yardstickBest = std::min(yardstickBest, engineFirst ? second : first);
        engineFirst = !engineFirst;
    }
    state.counters["engine_ms"] = engineBest * 1e3;
    state.counters["yardstick_ms"] = yardstickBest * 1e3;
    state.counters["ratio"] = engineBest / yardstickBest;
    state.counters["goal"] = goal;
}

// The container graphic is made once, as the runtime's bitmap cache makes it when it opens the file; each
// engine pass decodes the image into it again (opening and reading the file, parsing, converting). Each
// yardstick pass reads the file and makes of its bytes a picture of 640x480 RGB pixels with use.
void DecodeAgainst(benchmark::State& state, const char* name,
                   const std::function<void(const std::uint8_t*, std::uint32_t, std::uint8_t*)>& use,
                   double goal) {
    Session& session = SharedSession();
    Vemo::ImageContainer container;
    if (!container.Open(session.PathOf(name), 3, 0, nullptr)) {
        state.SkipWithError("the picture cannot be opened");
        return;
    }
    std::vector<std::uint8_t> picture(static_cast<std::size_t>(kWidth) * kHeight * 3);
    SideBySide(
        state, [&container] { return container.DecodeCurrentImage(); },
        [&] {
            return ReadWhole(session, name, [&](const std::uint8_t* bytes, std::uint32_t count) {
                use(bytes, count, picture.data());
                benchmark::DoNotOptimize(picture.data());
            });
        },
        goal);
}

// The yardstick copies the pixels, which end the file.
void BM_DecodeBmpAgainstReadAndCopy(benchmark::State& state) {
    DecodeAgainst(
        state, "photo.bmp",
        [](const std::uint8_t* bytes, std::uint32_t count, std::uint8_t* picture) {
            const std::size_t size = static_cast<std::size_t>(kWidth) * kHeight * 3;
            std::memcpy(picture, bytes + count - size, size);
        },
        1.5);
}
BENCHMARK(BM_DecodeBmpAgainstReadAndCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The yardstick is libjpeg decoding the file's rows into the picture.
void BM_DecodeJpegAgainstLibjpeg(benchmark::State& state) {
    DecodeAgainst(
        state, "photo.jpg",
        [](const std::uint8_t* bytes, std::uint32_t count, std::uint8_t* picture) {
            VemoTest::DecodeWithLibjpegInto(
                bytes, count,
                [picture](std::uint32_t index, std::size_t rowBytes) { return picture + index * rowBytes; });
        },
        1.1);
}
BENCHMARK(BM_DecodeJpegAgainstLibjpeg)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
