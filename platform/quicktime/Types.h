// The QuickTime types, records and constants that the runtime's code is written against, defined for this
// host. Objects (movies, tracks, media, controllers, ports, time bases) are opaque pointers to records the
// layer keeps; every call checks that the object it is given is alive and answers an error for one that is
// not.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace qt {

using OSErr = std::int16_t;
using QDErr = OSErr;
using OSType = std::uint32_t;
using Boolean = std::uint8_t;
using TimeValue = std::int32_t;
using TimeScale = std::int32_t;
using Fixed = std::int32_t;
using ComponentResult = std::int32_t;
using ScriptCode = std::int16_t;
using Size = std::int32_t;
using Ptr = char*;
using Handle = char**;

// A four-character code as QuickTime keeps it: the first character in the most significant byte.
constexpr OSType MakeOSType(const char (&code)[5]) {
    return (static_cast<OSType>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<OSType>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<OSType>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<OSType>(static_cast<unsigned char>(code[3]));
}

constexpr Fixed kFixed1 = 0x10000;

struct MovieRecord;
using Movie = MovieRecord*;
struct TrackRecord;
using Track = TrackRecord*;
struct MediaRecord;
using Media = MediaRecord*;
struct TimeBaseRecord;
using TimeBase = TimeBaseRecord*;
struct ControllerRecord;
using MovieController = ControllerRecord*;
struct GrafPortRecord;
using CGrafPtr = GrafPortRecord*;
using GrafPtr = CGrafPtr;
using GWorldPtr = CGrafPtr;
struct GDeviceRecord;
using GDHandle = GDeviceRecord*;
struct QTVRInstanceRecord;
using QTVRInstance = QTVRInstanceRecord*;

// A QuickDraw rectangle: top and left inclusive, bottom and right exclusive, in 16-bit coordinates.
struct Rect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};

struct Point {
    std::int16_t v;
    std::int16_t h;
};

struct TimeRecord {
    std::int64_t value;
    TimeScale scale;
    TimeBase base;
};

// A file record (FSSpec): the drive's number (1 for A:) and the file's full Windows path as a Pascal string
// (a length byte, then at most 255 characters). The file need not exist.
struct FSSpec {
    std::int16_t vRefNum;
    std::int32_t parID;
    unsigned char name[256];
};

// Colour tables of indexed pixel formats: ctSize is the number of entries less one.
struct RGBColor {
    std::uint16_t red;
    std::uint16_t green;
    std::uint16_t blue;
};
struct ColorSpec {
    std::int16_t value;
    RGBColor rgb;
};
struct ColorTable {
    std::int32_t ctSeed;
    std::int16_t ctFlags;
    std::int16_t ctSize;
    ColorSpec ctTable[256];
};
using CTabPtr = ColorTable*;
using CTabHandle = CTabPtr*;

// The pixels of a graphics world, as GetGWorldPixMap hands them out.
struct PixMap {
    Ptr baseAddr;          // the top row
    std::int32_t rowBytes; // negative for rows stored bottom-up
    Rect bounds;
    OSType pixelFormat;
    std::int16_t pixelSize; // bits per pixel
};
using PixMapPtr = PixMap*;
using PixMapHandle = PixMapPtr*;

// A sound sample description as AddMediaSample reads it from its handle (36 bytes, native byte order).
struct SoundDescription {
    std::int32_t descSize;
    OSType dataFormat;
    std::int32_t resvd1;
    std::int16_t resvd2;
    std::int16_t dataRefIndex;
    std::int16_t version;
    std::int16_t revlevel;
    std::int32_t vendor;
    std::int16_t numChannels;
    std::int16_t sampleSize;
    std::int16_t compressionID;
    std::int16_t packetSize;
    std::uint32_t sampleRate; // 16.16 fixed
};
static_assert(sizeof(SoundDescription) == 36);
using SampleDescriptionHandle = Handle;

// An event for a controller, made from a window message by NativeEventToEvent. `where` is in the client
// coordinates of `window`, the window the message was for.
struct EventRecord {
    std::uint16_t what;
    std::uint32_t message;
    std::uint32_t when;
    Point where;
    std::uint16_t modifiers;
    win32::HWND window;
};

// Event kinds.
constexpr std::uint16_t nullEvent = 0;
constexpr std::uint16_t mouseDown = 1;
constexpr std::uint16_t mouseUp = 2;
constexpr std::uint16_t keyDown = 3;
constexpr std::uint16_t keyUp = 4;
constexpr std::uint16_t autoKey = 5;
constexpr std::uint16_t updateEvt = 6;
constexpr std::uint16_t activateEvt = 8;
// The pointer moved (a mouse move with or without a button): osEvt with mouseMovedMessage in the message's
// top byte.
constexpr std::uint16_t osEvt = 15;
constexpr std::uint32_t mouseMovedMessage = 0xFA;

// Event modifiers: the keys held with a mouse event.
constexpr std::uint16_t shiftKey = 0x0200;
constexpr std::uint16_t controlKey = 0x1000;

// Results.
constexpr OSErr noErr = 0;
constexpr OSErr bdNamErr = -37;
constexpr OSErr fnfErr = -43;
constexpr OSErr fBsyErr = -47;
constexpr OSErr dupFNErr = -48;
constexpr OSErr paramErr = -50;
constexpr OSErr rfNumErr = -51;
constexpr OSErr wrPermErr = -61;
constexpr OSErr memFullErr = -108;
constexpr OSErr nilHandleErr = -109;
constexpr OSErr memWZErr = -111;
constexpr OSErr dirNFErr = -120;
constexpr OSErr ioErr = -36;
constexpr OSErr cDepthErr = -157;
constexpr OSErr couldNotResolveDataRef = -2000;
constexpr OSErr cantFindHandler = -2003;
constexpr OSErr invalidMedia = -2008;
constexpr OSErr invalidTrack = -2009;
constexpr OSErr invalidMovie = -2010;
constexpr OSErr invalidDuration = -2014;
constexpr OSErr invalidTime = -2015;
constexpr OSErr mediaTypesDontMatch = -2018;
constexpr OSErr movieToolboxUninitialized = -2020;
constexpr OSErr invalidEditState = -2023;
constexpr OSErr badTrackIndex = -2028;
constexpr OSErr noMovieFound = -2048;
constexpr OSErr featureUnsupported = -2053;
// The QuickTime library could not be found (VEMO_QUICKTIME=none), or an entry point was missing.
constexpr OSErr qtmlLibraryNotFound = -2093;
constexpr OSErr qtmlEntryPointMissing = -2094;
constexpr OSErr gestaltUndefSelectorErr = -5551;
constexpr ComponentResult badComponentInstance = static_cast<ComponentResult>(0x80008001);

// Media types and characteristics.
constexpr OSType VideoMediaType = MakeOSType("vide");
constexpr OSType SoundMediaType = MakeOSType("soun");
constexpr OSType VisualMediaCharacteristic = MakeOSType("eyes");
constexpr OSType AudioMediaCharacteristic = MakeOSType("ears");

// GetMovieIndexedTrackOfType flags.
constexpr std::int32_t movieTrackMediaType = 1;
constexpr std::int32_t movieTrackCharacteristic = 2;
constexpr std::int32_t movieTrackEnabledOnly = 4;

// GetMovieNextInterestingTime and GetTrackNextInterestingTime flags: the next frame edge.
constexpr std::int16_t nextTimeStep = 16;

// NewMovie, NewMovieFromFile and CreateMovieFile flags.
constexpr std::int32_t newMovieActive = 1;
constexpr std::int32_t createMovieFileDeleteCurFile = static_cast<std::int32_t>(0x80000000);

// LoadMovieIntoMemory flags.
constexpr std::int32_t keepInRam = 1;
constexpr std::int32_t unkeepInRam = 2;
constexpr std::int32_t flushFromRam = 4;

// Movie-controller creation flags: mcNotVisible makes a controller that draws nothing of its own.
constexpr std::int32_t mcTopLeftMovie = 1;
constexpr std::int32_t mcScaleMovieToFit = 2;
constexpr std::int32_t mcWithBadge = 4;
constexpr std::int32_t mcNotVisible = 8;
constexpr std::int32_t mcWithFrame = 16;

// Controller actions and what their parameter is.
constexpr std::int16_t mcActionIdle = 1;            // none
constexpr std::int16_t mcActionDraw = 2;            // none
constexpr std::int16_t mcActionActivate = 3;        // none
constexpr std::int16_t mcActionDeactivate = 4;      // none
constexpr std::int16_t mcActionPlay = 8;            // Fixed rate, as the pointer's value; 0 pauses
constexpr std::int16_t mcActionGoToTime = 12;       // const TimeRecord*
constexpr std::int16_t mcActionSetVolume = 14;      // short volume, as the pointer's value
constexpr std::int16_t mcActionGetVolume = 15;      // short* out
constexpr std::int16_t mcActionSetLooping = 21;     // Boolean, as the pointer's value
constexpr std::int16_t mcActionSetKeysEnabled = 32; // Boolean, as the pointer's value
constexpr std::int16_t mcActionSetFlags = 38;       // long flags, as the pointer's value

// A value passed as a controller action's parameter.
inline void* ActionValue(std::intptr_t value) {
    return reinterpret_cast<void*>(value);
}

// Graphics-world pixel formats besides the plain depths 1, 2, 4, 8, 24 (RGB) and 32 (ARGB).
constexpr OSType k16LE555PixelFormat = MakeOSType("L555");
constexpr OSType k16LE565PixelFormat = MakeOSType("L565");
constexpr OSType k24BGRPixelFormat = MakeOSType("24BG");
constexpr OSType k32BGRAPixelFormat = MakeOSType("BGRA");
constexpr OSType k32RGBAPixelFormat = MakeOSType("RGBA");
constexpr OSType k32ABGRPixelFormat = MakeOSType("ABGR");
constexpr OSType k24RGBPixelFormat = 24;
constexpr OSType k32ARGBPixelFormat = 32;

// QuickTime VR: the angular units of QTVRSetAngularUnits, and the control settings of QTVRSetControlSetting
// (an object node's: wrap across its pan and tilt ranges, zoom, reversed and swapped drags, translation).
constexpr std::int32_t kQTVRDegrees = 0;
constexpr std::int32_t kQTVRRadians = 1;
constexpr std::int32_t kQTVRWrapPan = 1;
constexpr std::int32_t kQTVRWrapTilt = 2;
constexpr std::int32_t kQTVRCanZoom = 3;
constexpr std::int32_t kQTVRReverseHControl = 4;
constexpr std::int32_t kQTVRReverseVControl = 5;
constexpr std::int32_t kQTVRSwapHVControl = 6;
constexpr std::int32_t kQTVRTranslation = 7;

// CreatePortAssociation flags.
constexpr std::int32_t kQTMLNoIdleEvents = 2;

} // namespace qt
