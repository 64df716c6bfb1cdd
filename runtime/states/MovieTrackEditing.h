// The track edits that the movie control and the full-screen movie state make on the movies they compose:
// sound files mixed into a movie, the movie's picture held on its last frame while a longer sound plays.
#pragma once

#include <cstdint>

namespace Vemo {
class Movie;
}

// Lengthens the enabled visual tracks of a QuickTime movie that end at or after the movie's end but before
// the target (the movie's own time units): the last sample of each is stretched so that the track ends at
// the target. False when no QuickTime movie lies behind the movie.
bool ExtendVisualTracks(Vemo::Movie& movie, std::uint32_t target);

// Mixes the sound's tracks (only its audible ones with audioOnly) into the movie from its start: a sound
// longer than the movie first lengthens the movie's picture to the sound's duration, and the sound is then
// added over the shorter of the two durations. False, reported, when the tracks cannot be added.
bool MixSoundIntoMovie(Vemo::Movie& movie, Vemo::Movie& sound, bool audioOnly);
