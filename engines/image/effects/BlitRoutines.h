// The point-blit routines of the format-pair table. Each reads from the effect the two handles, the
// destination point, the source rectangle (already clipped to both surfaces) and the operation, and answers
// whether it drew.
//
// The specialised routines refuse an operation above 15 and answer NoOp with true at once; otherwise they
// lock the destination, then the source, walk the rows top to bottom, unlock in reverse and answer true
// (false, nothing written, when a lock fails). While the source's colour key is on, source pixels equal to
// the key (by each routine's comparison) leave the destination pixel as it is, whatever the operation.
#pragma once

#include "engines/image/effects/BlitEffect.h"

namespace Vemo {

// Every pair without a routine of its own, and every pair while either surface is lost: Copy only (any other
// operation answers false), a pixel at a time as the handles read and write colours. A source pixel whose
// colour equals the source's colour key in its 24 colour bits and its tag is skipped. False as soon as a
// pixel write fails.
bool BlitGeneric(BlitEffect& effect);

// 8-bit indexed to 8-bit indexed: the operation acts on the colours of the two palettes, the result being the
// destination palette's entry nearest to it; Clear and Set write the indices 0 and 255, Copy and CopyInverted
// the entry nearest to the (inverted) source colour, Invert the entry nearest to the inverted destination
// colour. A source index equal to the key pixel's low byte is transparent.
bool BlitIndexed8To8(BlitEffect& effect);
// 8-bit indexed to the direct formats: each index through a table of the source palette packed into the
// destination format (a palette colour of another tag as black, alpha bits 0). A source index equal to the
// key pixel's low byte is transparent.
bool BlitIndexed8To16(BlitEffect& effect);
bool BlitIndexed8To24(BlitEffect& effect);
bool BlitIndexed8To32(BlitEffect& effect);

// Between the 5-5-5 and 5-6-5 formats. 5-5-5 to 5-6-5 moves red and green up a bit (the new lowest green bit
// 0), 5-6-5 to 5-5-5 drops the lowest green bit. Keys: a 5-5-5 source to 5-5-5 compares the whole pixel with
// the key's low 15 bits (a pixel with bit 15 set is never transparent), to 5-6-5 both without bit 15; a 5-6-5
// source compares all 16 bits.
bool Blit555To555(BlitEffect& effect);
bool Blit555To565(BlitEffect& effect);
bool Blit565To555(BlitEffect& effect);
bool Blit565To565(BlitEffect& effect);

// 24-bit sources (red in the high byte, or blue) to the 16-bit formats, packed by the destination's channel
// shifts and losses. A pixel is transparent when its three bytes, lowest first, equal the whole 32-bit key
// pixel (so a key with a top byte makes none transparent).
bool BlitRGB24To16(BlitEffect& effect);
bool BlitBGR24To16(BlitEffect& effect);

} // namespace Vemo
