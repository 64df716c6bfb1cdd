#include "engines/media/quicktime/QuickTimeMovieControllerGraphic.h"

#include "engines/media/quicktime/QuickTimeErrorCodes.h"
#include "engines/media/quicktime/QuickTimeMovieHandle.h"
#include "engines/media/quicktime/QuickTimeMovieViewport.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/gdi/SystemPalette.h"
#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"

#include <algorithm>
#include <span>

namespace Vemo {

namespace {

constexpr std::uint32_t kSystemMemory = static_cast<std::uint32_t>(GraphicSystem::Memory::System);
constexpr std::uint32_t kManualPresentation = 1;
constexpr std::uint32_t kColorTag = 1;
// QuickDraw coordinates are 16-bit.
constexpr std::int32_t kLargestSide = 0x7FFF;

bool Fail(ErrorCode code) {
    RaiseError(code);
    return false;
}

std::uint32_t RoundUp(std::uint32_t value, std::uint32_t step) {
    return (value + step - 1) / step * step;
}

// A bitmap row: its bytes, and the pixels they hold. 32-bit rows are padded to 16 bytes, 24-bit rows to 24
// pixels, every other depth to 8 bytes.
struct PaddedRow {
    std::uint32_t bytes;
    std::uint32_t pixels;
};

PaddedRow PadRow(std::uint32_t width, DepthCode depth) {
    if (depth == 0 || depth == 7) {
        const std::uint32_t bytes = RoundUp(width * 4, 16);
        return {bytes, bytes / 4};
    }
    if (depth == 6) {
        const std::uint32_t pixels = RoundUp(width, 24);
        return {pixels * 3, pixels};
    }
    const std::uint32_t bytes = RoundUp(BytesFromPixels(width, depth), 8);
    return {bytes, PixelsFromBytes(static_cast<std::int32_t>(bytes), depth)};
}

// The QuickTime pixel format that draws a standard format, 0 for one QuickTime cannot draw.
qt::OSType QuickTimeFormatOf(StandardPixelFormat format) {
    switch (format) {
    case StandardPixelFormat::Indexed1:
        return 1;
    case StandardPixelFormat::Indexed2:
        return 2;
    case StandardPixelFormat::Indexed4:
        return 4;
    case StandardPixelFormat::Indexed8:
        return 8;
    case StandardPixelFormat::Rgb555:
        return qt::k16LE555PixelFormat;
    case StandardPixelFormat::Rgb565:
        return qt::k16LE565PixelFormat;
    case StandardPixelFormat::Rgb24:
        return qt::k24BGRPixelFormat;
    case StandardPixelFormat::Bgr24:
        return qt::k24RGBPixelFormat;
    case StandardPixelFormat::Xrgb32:
    case StandardPixelFormat::Argb32:
        return qt::k32BGRAPixelFormat;
    case StandardPixelFormat::Xbgr32:
    case StandardPixelFormat::Abgr32:
        return qt::k32RGBAPixelFormat;
    case StandardPixelFormat::Rgba32:
        return qt::k32ABGRPixelFormat;
    case StandardPixelFormat::Bgra32:
        return qt::k32ARGBPixelFormat;
    default:
        return 0;
    }
}

// The standard format of a format index, None for an index without one.
StandardPixelFormat FormatOfIndex(std::uint32_t formatIndex) {
    switch (formatIndex) {
    case 0:
    case 7:
        return StandardPixelFormat::Xrgb32;
    case 1:
        return StandardPixelFormat::Indexed1;
    case 3:
        return StandardPixelFormat::Indexed4;
    case 4:
        return StandardPixelFormat::Indexed8;
    case 5:
        return StandardPixelFormat::Rgb555;
    case 6:
        return StandardPixelFormat::Rgb24;
    default:
        return StandardPixelFormat::None;
    }
}

// Whether an offscreen can be made of the standard format: format 2 and the numbers past the standard
// layouts cannot.
bool OffscreenFormat(StandardPixelFormat format) {
    return format != StandardPixelFormat::Indexed2 && format < StandardPixelFormat::Other;
}

// A bottom-up DIB section of the padded width with the table as its colour table, made against the screen
// DC; null, with the failure reported, when there is no screen DC or no section.
win32::HBITMAP MakeSection(std::uint32_t paddedWidth, std::int32_t height, std::uint32_t bits,
                           std::span<const win32::RGBQUAD> table, void*& pixels) {
    struct {
        win32::BITMAPV4HEADER header;
        win32::RGBQUAD colors[256];
    } info{};
    info.header.bV4Size = sizeof(info.header);
    info.header.bV4Width = static_cast<win32::LONG>(paddedWidth);
    info.header.bV4Height = height;
    info.header.bV4Planes = 1;
    info.header.bV4BitCount = static_cast<win32::WORD>(bits);
    info.header.bV4V4Compression = win32::BI_RGB;
    std::copy(table.begin(), table.end(), info.colors);
    const win32::HDC screen = win32::GetDC(nullptr);
    if (screen == nullptr) {
        Fail(QuickTimeMovieErrScreenContext);
        return nullptr;
    }
    const win32::HBITMAP bitmap =
        win32::CreateDIBSection(screen, reinterpret_cast<const win32::BITMAPINFO*>(&info),
                                win32::DIB_RGB_COLORS, &pixels, nullptr, 0);
    win32::ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) {
        Fail(QuickTimeMovieErrBitmap);
    }
    return bitmap;
}

qt::ColorTable ColorTableOf(std::span<const win32::RGBQUAD> table) {
    qt::ColorTable colors{};
    colors.ctSize = static_cast<std::int16_t>(table.size()) - 1;
    for (std::size_t index = 0; index < table.size(); ++index) {
        colors.ctTable[index].value = static_cast<std::int16_t>(index);
        colors.ctTable[index].rgb = {static_cast<std::uint16_t>(table[index].rgbRed * 257),
                                     static_cast<std::uint16_t>(table[index].rgbGreen * 257),
                                     static_cast<std::uint16_t>(table[index].rgbBlue * 257)};
    }
    return colors;
}

} // namespace

QuickTimeMovieControllerGraphic::QuickTimeMovieControllerGraphic() = default;

QuickTimeMovieControllerGraphic::~QuickTimeMovieControllerGraphic() {
    if (m_viewport != nullptr) {
        if (m_viewport->IsOpen()) {
            m_viewport->SetPresentMode(m_savedMode);
        }
    } else if (m_port != nullptr) {
        qt::UnlockPixels(qt::GetGWorldPixMap(m_port));
        qt::DisposeGraphicsWorld(m_port);
    }
    // The graphic goes before the pixels it shows.
    ReleaseHandle();
    if (m_bitmap != nullptr) {
        win32::DeleteObject(m_bitmap);
    }
}

bool QuickTimeMovieControllerGraphic::CreateOffscreenWithFormat(std::int32_t width, std::int32_t height,
                                                                const PixelFormat& format,
                                                                std::uint32_t memoryKind,
                                                                std::uint32_t flag) {
    if (flag > 1) {
        return Fail(QuickTimeMovieErrOffscreenFlag);
    }
    const bool standard32 = format.depth == 0 || format.format == StandardPixelFormat::None;
    const PixelFormat used = standard32 ? PixelFormat(StandardPixelFormat::Xrgb32) : format;
    if (!OffscreenFormat(used.format)) {
        return Fail(QuickTimeMovieErrPixelFormat);
    }
    return MakeOffscreen(width, height, used, memoryKind != 0 ? memoryKind : kSystemMemory);
}

bool QuickTimeMovieControllerGraphic::CreateOffscreen(std::int32_t width, std::int32_t height,
                                                      std::uint32_t formatIndex, std::uint32_t memoryKind,
                                                      const PaletteReference& palette, std::uint32_t flag) {
    if (!palette.IsEmpty()) {
        return Fail(QuickTimeMovieErrPaletteGiven);
    }
    if (flag > 1) {
        return Fail(QuickTimeMovieErrOffscreenFlag);
    }
    const StandardPixelFormat format = FormatOfIndex(formatIndex);
    if (format == StandardPixelFormat::None) {
        return Fail(QuickTimeMovieErrFormatIndex);
    }
    return MakeOffscreen(width, height, PixelFormat(format), memoryKind != 0 ? memoryKind : kSystemMemory);
}

bool QuickTimeMovieControllerGraphic::MakeOffscreen(std::int32_t width, std::int32_t height,
                                                    const PixelFormat& format, std::uint32_t memoryKind) {
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        return Fail(QuickTimeMovieErrBitmap);
    }
    const PaddedRow row = PadRow(static_cast<std::uint32_t>(width), format.depth);
    const std::uint32_t bits = BitsPerPixelFromDepth(format.depth);
    const std::span<const win32::RGBQUAD> table = win32::FixedPalette(bits);
    void* pixels = nullptr;
    const win32::HBITMAP bitmap = MakeSection(row.pixels, height, bits, table, pixels);
    if (bitmap == nullptr) {
        return false;
    }
    // An open graphic refuses, and keeps the pixels it shows.
    if (!Create(pixels, width, height, &format, static_cast<std::int32_t>(row.bytes),
                static_cast<GraphicSystem::Memory>(memoryKind), kColorTag)) {
        win32::DeleteObject(bitmap);
        return false;
    }
    m_bitmap = bitmap;
    const qt::OSType quickTimeFormat = QuickTimeFormatOf(GetPixelFormat().format);
    if (quickTimeFormat == 0) {
        DropOffscreen();
        return Fail(QuickTimeMovieErrPixelFormat);
    }
    qt::ColorTable colors = ColorTableOf(table);
    qt::CTabPtr colorsPointer = &colors;
    const qt::Rect bounds{0, 0, static_cast<std::int16_t>(height), static_cast<std::int16_t>(width)};
    if (qt::NewGraphicsWorldFromMemory(
            &m_port, quickTimeFormat, &bounds, table.empty() ? nullptr : &colorsPointer, nullptr, 0,
            static_cast<qt::Ptr>(pixels), static_cast<std::int32_t>(row.bytes)) != qt::noErr) {
        m_port = nullptr;
        DropOffscreen();
        return Fail(QuickTimeMovieErrWorld);
    }
    for (std::uint32_t index = 0; index < table.size(); ++index) {
        SetPaletteEntryImpl(PixelValue(table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue),
                            index);
    }
    qt::LockPixels(qt::GetGWorldPixMap(m_port));
    return true;
}

void QuickTimeMovieControllerGraphic::DropOffscreen() {
    ReleaseHandle();
    SetHandle(nullptr);
    win32::DeleteObject(m_bitmap);
    m_bitmap = nullptr;
}

bool QuickTimeMovieControllerGraphic::OpenOnViewport(Viewport* viewport, std::uint32_t bufferIndex,
                                                     std::uint8_t flag) {
    if (!MovieControllerGraphic::OpenOnViewport(viewport, bufferIndex, flag)) {
        return false;
    }
    auto shown = std::make_unique<QuickTimeMovieViewport>();
    if (!shown->OpenOnViewport(*viewport)) {
        return false;
    }
    const win32::HWND window = shown->GetNativeWindow();
    if (window == nullptr) {
        return false;
    }
    m_port = qt::GetNativeWindowPort(window);
    if (m_port == nullptr) {
        return false;
    }
    m_savedMode = shown->GetPresentMode();
    shown->SetPresentMode(kManualPresentation);
    if (shown->CanFlip()) {
        shown->FlipToBuffer(0, true);
    }
    m_viewport = std::move(shown);
    return true;
}

bool QuickTimeMovieControllerGraphic::AttachMovieHandle(MovieHandle* movieHandle) {
    QuickTimeMovieHandle* movie = movieHandle->GetEngine()->GetTypeId() == kQuickTimeMovieTypeId
                                      ? QuickTimeMovieHandle::FromMovieHandle(movieHandle)
                                      : nullptr;
    if (movie == nullptr) {
        return Fail(QuickTimeMovieErrForeignHandle);
    }
    if (m_movieHandle != nullptr) {
        DetachMovieHandle();
    }
    qt::GetMovieGraphicsPort(movie->GetMovie(), &m_savedPort, &m_savedDevice);
    qt::SetMovieGraphicsPort(movie->GetMovie(), m_port, nullptr);
    if (qt::MovieController controller = movie->GetMovieController()) {
        qt::SetControllerPort(controller, m_port);
    }
    m_movieHandle = movieHandle;
    return true;
}

bool QuickTimeMovieControllerGraphic::DetachMovieHandle() {
    QuickTimeMovieHandle* movie = QuickTimeMovieHandle::FromMovieHandle(m_movieHandle);
    if (movie == nullptr) {
        return MovieControllerGraphic::DetachMovieHandle();
    }
    movie->StopAndRewind(false);
    qt::SetMovieGraphicsPort(movie->GetMovie(), m_savedPort, m_savedDevice);
    if (qt::MovieController controller = movie->GetMovieController()) {
        qt::SetControllerPort(controller, m_savedPort);
    }
    m_savedPort = nullptr;
    m_savedDevice = nullptr;
    return MovieControllerGraphic::DetachMovieHandle();
}

} // namespace Vemo
