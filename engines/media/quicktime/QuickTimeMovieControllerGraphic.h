// The graphic a QuickTime controller draws its movie into: either an offscreen, whose pixels (a DIB section)
// are shared by the graphic and a QuickTime graphics world, or a viewport, whose window's QuickTime port the
// movie draws into. Attaching a movie handle moves the movie's drawing into this graphic's port; detaching
// stops the movie and gives it back its own port.
//
// Virtual operations are declared in their slot order, after the movie controller graphic's.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/media/MovieControllerGraphic.h"
#include "platform/quicktime/QuickTime.h"
#include "platform/win32/Types.h"

#include <cstdint>
#include <memory>

namespace Vemo {

class QuickTimeMovieViewport;

class QuickTimeMovieControllerGraphic : public MovieControllerGraphic {
public:
    QuickTimeMovieControllerGraphic();
    // A viewport gets its presentation mode back; an offscreen's world and pixels go.
    ~QuickTimeMovieControllerGraphic() override;

    // The graphic of the viewport's buffer, drawn through the port of the window the viewport shows: the
    // viewport is presented by hand from then on, its front buffer shown. False when the viewport shows no
    // window or the window has no QuickTime port.
    bool OpenOnViewport(Viewport* viewport, std::uint32_t bufferIndex, std::uint8_t flag) override;
    // Only handles of the QuickTime movie engine (else QuickTimeMovieErrForeignHandle); a previous one is
    // detached first.
    bool AttachMovieHandle(MovieHandle* movieHandle) override;
    bool DetachMovieHandle() override;
    // An offscreen of the size in the format (a format of depth 0: 32-bit x-R-G-B), in the memory kind (0:
    // system memory). The flag must be 0 or 1 (QuickTimeMovieErrOffscreenFlag); a format QuickTime cannot
    // draw is refused (QuickTimeMovieErrPixelFormat), as is a failing world (QuickTimeMovieErrWorld); no
    // screen DC is QuickTimeMovieErrScreenContext, no DIB section QuickTimeMovieErrBitmap. The DIB section,
    // the graphic's palette and the world of an indexed offscreen all take the display's fixed table of
    // their depth, so a movie's colours show as that table's nearest entries.
    virtual bool CreateOffscreenWithFormat(std::int32_t width, std::int32_t height, const PixelFormat& format,
                                           std::uint32_t memoryKind, std::uint32_t flag);
    // As above by format index: 0 or 7 32 bits, 1 one bit, 3 four bits, 4 eight bits, 5 16 bits, 6 24 bits;
    // 2 and others QuickTimeMovieErrFormatIndex. The palette reference must be empty
    // (QuickTimeMovieErrPaletteGiven).
    virtual bool CreateOffscreen(std::int32_t width, std::int32_t height, std::uint32_t formatIndex,
                                 std::uint32_t memoryKind, const PaletteReference& palette,
                                 std::uint32_t flag);

    // The port the movie draws into, null before an open.
    qt::CGrafPtr GetPort() const { return m_port; }

private:
    bool MakeOffscreen(std::int32_t width, std::int32_t height, const PixelFormat& format,
                       std::uint32_t memoryKind);
    // Closes the graphic's handle and deletes the DIB section under it.
    void DropOffscreen();

    // The DIB section holding the offscreen's pixels, rows of whole padded widths; null without one.
    win32::HBITMAP m_bitmap = nullptr;
    qt::CGrafPtr m_port = nullptr;
    // What the attached movie drew into before.
    qt::CGrafPtr m_savedPort = nullptr;
    qt::GDHandle m_savedDevice = nullptr;
    std::unique_ptr<QuickTimeMovieViewport> m_viewport;
    std::uint32_t m_savedMode = 2;
};

} // namespace Vemo
