#include "platform/testing/DemoMedia.h"

#include "platform/testing/MediaWriter.h"
#include "platform/testing/SwfWriter.h"
#include "platform/testing/VrMovieWriter.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <vector>

namespace demo {

namespace {

using Painter = std::function<std::uint32_t(int x, int y)>;

void PutLittle(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// A bottom-up 24-bit BMP whose pixel (x, y) is paint(x, y) as 0xRRGGBB.
void WriteBmp(const std::filesystem::path& path, int width, int height, const Painter& paint) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
    std::vector<std::uint8_t> bytes;
    bytes.push_back('B');
    bytes.push_back('M');
    PutLittle(bytes, 54 + pixelBytes, 4);
    PutLittle(bytes, 0, 4);
    PutLittle(bytes, 54, 4);
    PutLittle(bytes, 40, 4);
    PutLittle(bytes, static_cast<std::uint32_t>(width), 4);
    PutLittle(bytes, static_cast<std::uint32_t>(height), 4);
    PutLittle(bytes, 1, 2);
    PutLittle(bytes, 24, 2);
    PutLittle(bytes, 0, 4);
    PutLittle(bytes, pixelBytes, 4);
    PutLittle(bytes, 2835, 4);
    PutLittle(bytes, 2835, 4);
    PutLittle(bytes, 0, 4);
    PutLittle(bytes, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t color = paint(x, y);
            bytes.push_back(static_cast<std::uint8_t>(color));
            bytes.push_back(static_cast<std::uint8_t>(color >> 8));
            bytes.push_back(static_cast<std::uint8_t>(color >> 16));
        }
        for (int pad = width * 3; pad < rowBytes; ++pad) {
            bytes.push_back(0);
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
}

// The button's shape: an ellipse filling its 160 x 48 box.
bool InButton(int x, int y) {
    const double dx = (x - 79.5) / 80.0;
    const double dy = (y - 23.5) / 24.0;
    return dx * dx + dy * dy <= 1.0;
}

Painter ButtonLook(std::uint32_t face) {
    return [face](int x, int y) { return InButton(x, y) ? face : Rgb(0, 0, 0); };
}

// Digits 0-9 on a 3 x 5 grid, one row of three bits a line.
constexpr std::uint8_t kDigitRows[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

std::uint32_t Glyphs(int x, int y) {
    const int digit = x / kGlyphCell;
    const int column = (x % kGlyphCell) / 3;
    const int row = y / 3;
    if (digit > 9 || column > 2 || row > 4) {
        return Rgb(0, 0, 0);
    }
    return (kDigitRows[digit][row] >> (2 - column)) & 1 ? Rgb(255, 220, 40) : Rgb(0, 0, 0);
}

// The title's pointer: a grid of 24 x 8 cells of 26 x 26 pixels on magenta, the transparent colour. The cells
// of the pointer's rows show an arrow; the first row's cells 1 to 9 (the animation over something to click)
// show a ring that grows and shrinks.
constexpr int kCursorCell = 26;

std::uint32_t CursorCells(int x, int y) {
    const std::uint32_t clear = Rgb(255, 0, 255);
    const int column = x / kCursorCell;
    const int row = y / kCursorCell;
    const int cx = x % kCursorCell;
    const int cy = y % kCursorCell;
    if (row == 0 && column >= 1 && column <= 9) {
        const double radius = 6.0 + (column <= 5 ? column : 10 - column);
        const double distance = std::hypot(cx - 12.5, cy - 12.5);
        if (distance > radius) {
            return clear;
        }
        return distance > radius - 2.0 ? Rgb(0, 0, 0) : Rgb(255, 230, 60);
    }
    if (cy > 18 || cx > cy * 2 / 3) {
        return clear;
    }
    const bool edge = cx == 0 || cy == 18 || cx == cy * 2 / 3;
    return edge ? Rgb(0, 0, 0) : Rgb(255, 255, 255);
}

void WriteTone(const std::filesystem::path& path, double seconds, double frequency, double amplitude) {
    qt::testing::MediaFile file;
    qt::testing::SoundTrack track;
    track.seconds = seconds;
    track.frequency = frequency;
    track.amplitude = amplitude;
    file.sounds.push_back(track);
    file.format = "wav";
    qt::testing::WriteMediaFile(path.string(), file);
}

void WriteMovie(const std::filesystem::path& path, int frames, bool withSound) {
    qt::testing::MediaFile file;
    qt::testing::PictureTrack pictures;
    pictures.width = 160;
    pictures.height = 120;
    pictures.frames = frames;
    pictures.framesPerSecond = 10;
    file.pictures.push_back(pictures);
    if (withSound) {
        qt::testing::SoundTrack sound;
        sound.seconds = frames / 10.0;
        sound.frequency = 523.25;
        sound.amplitude = 0.3;
        file.sounds.push_back(sound);
    }
    qt::testing::WriteMediaFile(path.string(), file);
}

// A room seen all around: sky above the horizon, floor below, a pillar every 45 degrees, and a dark doorway
// where the link to the other room is.
qt::testing::VrPanoramaSpec DemoRoom(qt::testing::VrPanoramaSpec room, std::uint32_t sky,
                                     std::uint32_t floor) {
    room.width = 1080;
    room.height = 180;
    room.tiles = 6;
    room.minTilt = -25;
    room.maxTilt = 25;
    room.maxFov = 50;
    room.defaultFov = 45;
    const qt::testing::VrLinkSpec door = room.links.front();
    room.paint = [sky, floor, door](double pan, double tilt) {
        if (pan >= door.fromPan && pan < door.toPanEdge && tilt >= door.bottomTilt && tilt <= door.topTilt) {
            return Rgb(60, 35, 20);
        }
        if (std::fmod(pan, 45.0) < 3 && tilt < 15) {
            return Rgb(200, 190, 170);
        }
        const double shade = 0.6 + 0.4 * std::abs(tilt) / 25;
        const std::uint32_t base = tilt >= 0 ? sky : floor;
        return Rgb(static_cast<int>(((base >> 16) & 0xFF) * shade),
                   static_cast<int>(((base >> 8) & 0xFF) * shade), static_cast<int>((base & 0xFF) * shade));
    };
    return room;
}

// Two rooms, each with a doorway into the other.
void WritePanorama(const std::filesystem::path& path) {
    qt::testing::VrMovieSpec spec = qt::testing::TwoLinkedPanoramas();
    spec.sceneName = "Quorven demo rooms";
    spec.panoramas[0] = DemoRoom(spec.panoramas[0], Rgb(110, 150, 230), Rgb(150, 110, 70));
    spec.panoramas[1] = DemoRoom(spec.panoramas[1], Rgb(150, 200, 250), Rgb(70, 140, 60));
    qt::testing::WriteVrMovie(path.string(), spec);
}

// The Flash movie of the web screen: an amber block crossing a night-blue stage in two seconds, over and
// over; each turn starts with fscommand("hello").
void WriteFlashMovie(const std::filesystem::path& path) {
    swf::testing::FlashMovie movie;
    movie.width = 200;
    movie.height = 150;
    movie.framesPerSecond = 12;
    movie.frames = 24;
    movie.stopAtEnd = false;
    movie.background = Rgb(32, 48, 80);
    movie.rectangleColor = Rgb(240, 192, 48);
    movie.rectangleLeft = 10;
    movie.rectangleTop = 55;
    movie.rectangleRight = 50;
    movie.rectangleBottom = 95;
    movie.step = 6;
    movie.command = "hello";
    swf::testing::WriteFlashMovie(path.string(), movie);
}

} // namespace

void WriteDemoMedia(const std::string& folder) {
    const std::filesystem::path at(folder);
    std::filesystem::create_directories(at);
    WriteBmp(at / "backdrop.bmp", 160, 120, [](int x, int y) { return Rgb(20 + x / 4, 30 + y / 3, 90 + y); });
    WriteBmp(at / "cinema.bmp", 160, 120, [](int x, int y) { return Rgb(40 + y / 2, 10 + x / 8, 20); });
    WriteBmp(at / "up.bmp", 160, 48, ButtonLook(Rgb(60, 110, 200)));
    WriteBmp(at / "over.bmp", 160, 48, ButtonLook(Rgb(90, 160, 250)));
    WriteBmp(at / "down.bmp", 160, 48, ButtonLook(Rgb(30, 60, 130)));
    WriteBmp(at / "off.bmp", 160, 48, ButtonLook(Rgb(110, 110, 110)));
    WriteBmp(at / "mask.bmp", 160, 48,
             [](int x, int y) { return InButton(x, y) ? Rgb(255, 255, 255) : Rgb(0, 0, 0); });
    WriteBmp(at / "cursor.bmp", 24 * kCursorCell, 8 * kCursorCell, &CursorCells);
    WriteBmp(at / "digits.bmp", 10 * kGlyphCell, kGlyphHeight + 3, &Glyphs);
    WriteTone(at / "ambient.wav", 4.0, 220.0, 0.2);
    WriteTone(at / "rollover.wav", 0.15, 880.0, 0.3);
    WriteTone(at / "hello.wav", 1.0, 660.0, 0.4);
    WriteTone(at / "score.wav", 3.0, 330.0, 0.3);
    WriteMovie(at / "intro.mov", 30, true);
    WriteMovie(at / "cinema.mov", 20, false);
    WritePanorama(at / "panorama.mov");
    WriteBmp(at / "webpicture.bmp", 120, 80, [](int x, int y) {
        const double dx = (x - 59.5) / 40.0;
        const double dy = (y - 39.5) / 30.0;
        return dx * dx + dy * dy <= 1.0 ? Rgb(240, 192, 48) : Rgb(32, 48 + y, 80 + x);
    });
    WriteFlashMovie(at / "flash.swf");
}

} // namespace demo
