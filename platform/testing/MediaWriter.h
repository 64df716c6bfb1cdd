// Test-only: writes tiny movies and sounds with libavformat and libavcodec, so that tests play real files.
// Frame n of a picture track is filled with FrameColor(n); sound tracks hold a sine tone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qt::testing {

struct PictureTrack {
    int width = 64;
    int height = 48;
    int frames = 10;
    int framesPerSecond = 10;
    // "qtrle" (QuickTime Animation, lossless), "mjpeg" or "mpeg4".
    std::string codec = "qtrle";
    // Frames between key frames.
    int keyInterval = 4;
    bool enabled = true;
};

struct SoundTrack {
    int sampleRate = 8000;
    int channels = 1;
    double seconds = 1.0;
    double frequency = 440.0;
    double amplitude = 0.5;
    bool enabled = true;
};

struct MediaFile {
    std::vector<PictureTrack> pictures;
    std::vector<SoundTrack> sounds;
    // The container: "mov", or another libavformat muxer ("wav" for a sound file).
    std::string format = "mov";
    // The time scale of a QuickTime file's movie header.
    int movieTimeScale = 600;
};

// x-R-G-B.
std::uint32_t FrameColor(int frame);

// Writes the file at the host path; throws std::runtime_error saying what failed.
void WriteMediaFile(const std::string& hostPath, const MediaFile& file);

// Overwrites the time scale of a QuickTime file's movie header in place, as a malformed file would have it.
void PatchMovieTimeScale(const std::string& hostPath, std::uint32_t timeScale);

// FFmpeg alone, for benchmarks to measure the layer against: decodes every frame of the file's first picture
// track and converts it with swscale into a 32-bit picture of the same size. Returns the frames converted;
// throws std::runtime_error when the file cannot be decoded.
int DecodeAndConvertWithFfmpeg(const std::string& hostPath);

} // namespace qt::testing
