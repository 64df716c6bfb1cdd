// The demo title's media, made rather than kept: 24-bit BMP pictures (backdrops, a button's four looks and
// its selection mask, a sheet of digit glyphs, the pointer's cells, the web page's picture), WAV tones,
// QuickTime movies of 160 x 120 pixels, written with FFmpeg, a QuickTime VR movie of two linked panoramic rooms
// and a Flash movie. The tool vemo-demo-media (scripts/make-demo-media) and the demo's tests call the same
// function.
#pragma once

#include <string>

namespace demo {

// Writes every media file of the demo into the folder (made when missing); throws std::runtime_error saying
// what failed.
void WriteDemoMedia(const std::string& folder);

// The glyph sheet's layout, which the title's "Char" keys repeat: digit d occupies the cell whose left edge
// is d * kGlyphCell, kGlyphWidth wide and kGlyphHeight high from the top.
inline constexpr int kGlyphCell = 12;
inline constexpr int kGlyphWidth = 9;
inline constexpr int kGlyphHeight = 15;

} // namespace demo
