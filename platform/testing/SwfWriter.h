// Test-only: writes small uncompressed Flash movies ("FWS"), so that tests and the demo play real files. The
// first frame sets the background colour, places a filled rectangle and runs fscommand(command, arguments)
// (a GetURL of "FSCommand:" + command); each later frame moves the rectangle right by step pixels. A movie
// that stops ends its last frame with a stop; otherwise it loops (given two frames or more), and its
// fscommand runs again each time the first frame comes round.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace swf::testing {

struct FlashMovie {
    int width = 160;
    int height = 120;
    int framesPerSecond = 12;
    int frames = 1;
    bool stopAtEnd = true;
    // 0xRRGGBB.
    std::uint32_t background = 0x000000;
    std::uint32_t rectangleColor = 0xFFFFFF;
    // The rectangle in pixels, right and bottom exclusive.
    int rectangleLeft = 40;
    int rectangleTop = 30;
    int rectangleRight = 120;
    int rectangleBottom = 90;
    int step = 0;
    // No fscommand when empty.
    std::string command = "quit";
    std::string arguments;
};

std::vector<std::uint8_t> FlashMovieBytes(const FlashMovie& movie);

// Writes the file at the host path; throws std::runtime_error saying what failed.
void WriteFlashMovie(const std::string& hostPath, const FlashMovie& movie);

} // namespace swf::testing
