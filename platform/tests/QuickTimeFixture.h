// The QuickTime tests' common ground: a fake clock, a temporary C: drive, QuickTime started on the null audio
// sink, and movie files written there. Every test must leave nothing open.
#pragma once

#include "platform/quicktime/QuickTime.h"
#include "platform/testing/Clock.h"
#include "platform/testing/Drives.h"
#include "platform/testing/MediaWriter.h"
#include "platform/testing/QuickTimeTesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qt::tests {

inline constexpr Fixed kBackwards = -kFixed1;

class QuickTimeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_session.Started()); }

    void TearDown() override {
        testing::ClearFailures();
        testing::OpenObjects open = testing::GetOpenObjects();
        EXPECT_TRUE(open.None()) << "left open: movies " << open.movies << ", controllers "
                                 << open.controllers << ", ports " << open.windowPorts << ", worlds "
                                 << open.worlds << ", handles " << open.handles << ", files " << open.files;
    }

    // Writes a media file on C: and returns its Windows path.
    std::string Write(const std::string& name, const testing::MediaFile& file) {
        testing::WriteMediaFile(m_drives.HostPath('C', name), file);
        return "C:\\" + name;
    }

    static testing::MediaFile Pictures(int frames = 10, int width = 64, int height = 48) {
        testing::MediaFile file;
        testing::PictureTrack track;
        track.frames = frames;
        track.width = width;
        track.height = height;
        file.pictures.push_back(track);
        return file;
    }

    static testing::MediaFile Sound(double seconds = 1.0) {
        testing::MediaFile file;
        testing::SoundTrack track;
        track.seconds = seconds;
        file.sounds.push_back(track);
        return file;
    }

    static FSSpec Spec(const std::string& path) {
        FSSpec spec{};
        OSErr error = NativePathToFileSpec(path.c_str(), &spec, 0);
        EXPECT_TRUE(error == noErr || error == fnfErr) << path << ": " << error;
        return spec;
    }

    // Opens, reads and closes the file as the movie engine does.
    static Movie Open(const std::string& path) {
        FSSpec spec = Spec(path);
        std::int16_t file = 0;
        EXPECT_EQ(OpenMovieFile(&spec, &file, 1), noErr) << path;
        Movie movie = nullptr;
        EXPECT_EQ(NewMovieFromFile(&movie, file, nullptr, nullptr, 0, nullptr), noErr) << path;
        EXPECT_EQ(CloseMovieFile(file), noErr);
        return movie;
    }

    void Advance(std::uint32_t milliseconds) { m_clock.Advance(milliseconds); }

    platform::testing::FakeClock m_clock{1000};
    win32::testing::TemporaryDrives m_drives{{'C', win32::DRIVE_FIXED}};
    testing::QuickTimeSession m_session;
};

// A 32-bit graphics world over memory of its own.
class TestWorld {
public:
    TestWorld(int width, int height, OSType format = k32BGRAPixelFormat, int bits = 32)
        : m_width(width), m_height(height), m_rowBytes((width * bits + 31) / 32 * 4),
          m_pixels(static_cast<std::size_t>(m_rowBytes) * height, 0) {
        Rect bounds{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
        EXPECT_EQ(NewGraphicsWorldFromMemory(&m_world, format, &bounds, nullptr, nullptr, 0, m_pixels.data(),
                                             m_rowBytes),
                  noErr);
        EXPECT_TRUE(LockPixels(GetGWorldPixMap(m_world)));
    }
    ~TestWorld() {
        UnlockPixels(GetGWorldPixMap(m_world));
        DisposeGraphicsWorld(m_world);
    }
    TestWorld(const TestWorld&) = delete;
    TestWorld& operator=(const TestWorld&) = delete;

    GWorldPtr World() const { return m_world; }
    std::uint32_t Pixel32(int x, int y) const {
        return reinterpret_cast<const std::uint32_t*>(m_pixels.data() +
                                                      static_cast<std::size_t>(y) * m_rowBytes)[x] &
               0xFFFFFF;
    }
    std::uint8_t Byte(int x, int y) const {
        return static_cast<std::uint8_t>(m_pixels[static_cast<std::size_t>(y) * m_rowBytes + x]);
    }

private:
    int m_width;
    int m_height;
    int m_rowBytes;
    std::vector<char> m_pixels;
    GWorldPtr m_world = nullptr;
};

// Colours agree within a little, as scaling may blend.
inline bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 6) {
    for (int shift : {0, 8, 16}) {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance) {
            return false;
        }
    }
    return true;
}

} // namespace qt::tests
