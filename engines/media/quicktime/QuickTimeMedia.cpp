#include "engines/media/quicktime/QuickTimeMedia.h"

#include "engines/media/quicktime/QuickTimeSettings.h"
#include "resources/error/Error.h"
#include "resources/storage/Path.h"

#include <vector>

namespace Vemo {

namespace {

constexpr std::int8_t kReadPermission = 1;
// LoadMovieIntoMemory: keep in memory; let go of memory and flush it.
constexpr std::int32_t kLoadFlags = qt::keepInRam;
constexpr std::int32_t kReleaseFlags = qt::unkeepInRam | qt::flushFromRam;
// Times below this multiply before dividing without leaving 32 bits; a time beyond 32 bits in the other unit
// is given as the largest.
constexpr std::uint32_t kMultiplyFirstLimit = 4294967;
constexpr std::uint32_t kLargest = 0xFFFFFFFF;
// The tracks the source plays: of the characteristic, enabled.
constexpr std::int32_t kPlayedTracks = qt::movieTrackCharacteristic | qt::movieTrackEnabledOnly;

bool Fail(ErrorCode code) {
    RaiseError(code);
    return false;
}

} // namespace

bool QuickTimeMedia::MakeFileSpec(const Path& path, qt::FSSpec& spec, const QuickTimeMediaCodes& codes) {
    String text;
    path.GetText(text, true, true);
    if (text.IsEmpty()) {
        return Fail(codes.path);
    }
    const qt::OSErr converted = qt::NativePathToFileSpec(text.CStr(), &spec, 0);
    if (converted != qt::noErr && converted != qt::fnfErr) {
        return Fail(codes.path);
    }
    pathText = text;
    return true;
}

bool QuickTimeMedia::OpenFile(const qt::FSSpec& spec, const QuickTimeMediaCodes& codes) {
    if (qt::OpenMovieFile(&spec, &fileReference, kReadPermission) != qt::noErr) {
        fileReference = 0;
        return Fail(codes.openFile);
    }
    if (qt::NewMovieFromFile(&movie, fileReference, nullptr, nullptr, 0, nullptr) != qt::noErr) {
        movie = nullptr;
        qt::CloseMovieFile(fileReference);
        fileReference = 0;
        return Fail(codes.readMovie);
    }
    return true;
}

bool QuickTimeMedia::CreateFile(const Path& path, const QuickTimeMediaCodes& codes) {
    qt::FSSpec spec{};
    if (!MakeFileSpec(path, spec, codes)) {
        return false;
    }
    if (qt::CreateMovieFile(&spec, kQuickTimeCreator, kQuickTimeSystemScript,
                            qt::createMovieFileDeleteCurFile, &fileReference, &movie) != qt::noErr) {
        fileReference = 0;
        movie = nullptr;
        return Fail(codes.createFile);
    }
    return true;
}

bool QuickTimeMedia::CreateEmpty(const QuickTimeMediaCodes& codes) {
    movie = qt::NewMovie(0);
    return movie != nullptr || Fail(codes.newMovie);
}

bool QuickTimeMedia::Load(bool streamedPlay, const QuickTimeMediaCodes& codes) {
    streamed = streamedPlay;
    if (!streamedPlay && qt::LoadMovieIntoMemory(movie, 0, Duration(), kLoadFlags) != qt::noErr) {
        return Fail(codes.memory);
    }
    return true;
}

void QuickTimeMedia::CloseFileUnlessKept(bool keepFileOpen) {
    if (!keepFileOpen && fileReference != 0) {
        qt::CloseMovieFile(fileReference);
        fileReference = 0;
    }
}

void QuickTimeMedia::Discard() {
    if (controller != nullptr) {
        qt::DisposeMovieController(controller);
        controller = nullptr;
    }
    if (fileReference != 0) {
        qt::CloseMovieFile(fileReference);
        fileReference = 0;
    }
    if (movie != nullptr) {
        qt::DisposeMovie(movie);
        movie = nullptr;
    }
}

bool QuickTimeMedia::Release(const QuickTimeMediaCodes& codes) {
    bool result = true;
    if (qt::LoadMovieIntoMemory(movie, 0, Duration(), kReleaseFlags) != qt::noErr) {
        result = Fail(codes.memory);
    }
    if (fileReference != 0) {
        if (qt::CloseMovieFile(fileReference) != qt::noErr) {
            result = Fail(codes.closeFile);
        }
        fileReference = 0;
    }
    if (controller != nullptr) {
        qt::DisposeMovieController(controller);
        if (qt::GetMoviesError() != qt::noErr) {
            result = Fail(codes.disposeController);
        }
        controller = nullptr;
    }
    qt::DisposeMovie(movie);
    if (qt::GetMoviesError() != qt::noErr) {
        result = Fail(codes.disposeMovie);
    }
    movie = nullptr;
    return result;
}

void QuickTimeMedia::Play(qt::Fixed rate) {
    if (controller != nullptr) {
        qt::ControllerAction(controller, qt::mcActionPlay, qt::ActionValue(rate));
    } else {
        qt::StartMovie(movie);
    }
    playing = true;
}

void QuickTimeMedia::Stop() {
    if (controller != nullptr) {
        qt::ControllerAction(controller, qt::mcActionPlay, qt::ActionValue(0));
    } else {
        qt::StopMovie(movie);
    }
    playing = false;
}

void QuickTimeMedia::StopIfDone() {
    if (qt::IsMovieDone(movie) && playing) {
        Stop();
    }
}

void QuickTimeMedia::GoToTime(qt::TimeValue time) {
    if (controller != nullptr) {
        qt::TimeRecord record{time, qt::GetMovieTimeScale(movie), qt::GetMovieTimeBase(movie)};
        qt::ControllerAction(controller, qt::mcActionGoToTime, &record);
    } else {
        qt::SetMovieTimeValue(movie, time);
    }
}

void QuickTimeMedia::GoToStart() {
    if (controller != nullptr) {
        GoToTime(0);
    } else {
        qt::GoToMovieStart(movie);
    }
}

void QuickTimeMedia::GoToEnd() {
    if (controller != nullptr) {
        GoToTime(Duration());
    } else {
        qt::GoToMovieEnd(movie);
    }
}

qt::TimeValue QuickTimeMedia::CurrentTime() const {
    return controller != nullptr ? qt::GetControllerTime(controller, nullptr)
                                 : qt::GetMovieTime(movie, nullptr);
}

qt::TimeValue QuickTimeMedia::Duration() const {
    return qt::GetMovieDuration(movie);
}

void QuickTimeMedia::Task() {
    if (controller != nullptr) {
        qt::ControllerAction(controller, qt::mcActionDraw, qt::ActionValue(0));
    } else if (movie != nullptr) {
        qt::TaskMovies(movie, 0);
    }
}

void QuickTimeMedia::SetActive(bool active) {
    qt::SetMovieActive(movie, active ? 1 : 0);
}

bool QuickTimeMedia::IsActive() const {
    return qt::GetMovieActive(movie) != 0;
}

void QuickTimeMedia::SetVolume(std::uint8_t volume) {
    const std::int16_t sent = volume == 0 ? 0 : static_cast<std::int16_t>(volume + 1);
    if (controller != nullptr) {
        qt::ControllerAction(controller, qt::mcActionSetVolume, qt::ActionValue(sent));
    } else {
        qt::SetMovieVolume(movie, sent);
    }
}

std::uint8_t QuickTimeMedia::GetVolume() const {
    std::int16_t volume = 0;
    if (controller != nullptr) {
        qt::ControllerAction(controller, qt::mcActionGetVolume, &volume);
    } else {
        volume = qt::GetMovieVolume(movie);
    }
    return volume > 0 ? static_cast<std::uint8_t>(volume - 1) : 0;
}

std::uint32_t QuickTimeMedia::FromMovieTime(std::uint32_t native) const {
    const auto scale = static_cast<std::uint32_t>(qt::GetMovieTimeScale(movie));
    if (scale == 0) {
        return 0;
    }
    if (native < kMultiplyFirstLimit) {
        return native * 1000 / scale;
    }
    const std::uint32_t seconds = native / scale;
    return seconds <= kLargest / 1000 ? seconds * 1000 : kLargest;
}

std::uint32_t QuickTimeMedia::ToMovieTime(std::uint32_t milliseconds) const {
    const auto scale = static_cast<std::uint32_t>(qt::GetMovieTimeScale(movie));
    if (scale == 0) {
        return 0;
    }
    if (milliseconds < kLargest / scale) {
        return scale * milliseconds / 1000;
    }
    const std::uint32_t seconds = milliseconds / 1000;
    return seconds <= kLargest / scale ? seconds * scale : kLargest;
}

std::uint32_t QuickTimeMedia::ToNative(std::uint32_t value, MediaTimeUnit unit) const {
    return unit == MediaTimeUnit::Milliseconds ? ToMovieTime(value) : value;
}

std::uint32_t QuickTimeMedia::FromNative(std::uint32_t native, MediaTimeUnit unit) const {
    return unit == MediaTimeUnit::Milliseconds ? FromMovieTime(native) : native;
}

qt::TimeValue QuickTimeMedia::NextFrameEdge(qt::TimeValue time, bool forward) const {
    // The edges of the visual tracks, which the call takes without a list of media types.
    const qt::OSType visual = qt::VisualMediaCharacteristic;
    qt::TimeValue edge = -1;
    qt::GetMovieNextInterestingTime(movie, qt::nextTimeStep, 0, &visual, time,
                                    forward ? qt::kFixed1 : -qt::kFixed1, &edge, nullptr);
    return edge;
}

std::uint32_t QuickTimeMedia::FrameCount() const {
    std::uint32_t count = 1;
    qt::TimeValue previous = 0;
    for (qt::TimeValue edge = NextFrameEdge(0, true); edge > previous; edge = NextFrameEdge(edge, true)) {
        ++count;
        previous = edge;
    }
    return count;
}

bool QuickTimeMedia::InsertTracks(const QuickTimeMedia& source, Tracks tracks, qt::TimeValue at,
                                  qt::TimeValue sourceStart, qt::TimeValue sourceDuration,
                                  const QuickTimeMediaCodes& codes) {
    std::vector<qt::Track> chosen;
    if (tracks == Tracks::All) {
        const std::int32_t count = qt::GetMovieTrackCount(source.movie);
        for (std::int32_t index = 1; index <= count; ++index) {
            qt::Track track = qt::GetMovieIndexedTrack(source.movie, index);
            if (track == nullptr) {
                return Fail(codes.insertNoTrack);
            }
            chosen.push_back(track);
        }
    } else {
        const qt::OSType characteristic =
            tracks == Tracks::Visual ? qt::VisualMediaCharacteristic : qt::AudioMediaCharacteristic;
        for (std::int32_t index = 1;; ++index) {
            qt::Track track =
                qt::GetMovieIndexedTrackOfType(source.movie, index, characteristic, kPlayedTracks);
            if (track == nullptr) {
                break;
            }
            chosen.push_back(track);
        }
    }
    for (qt::Track track : chosen) {
        qt::Track added = nullptr;
        if (qt::AddEmptyTrackToMovie(track, movie, nullptr, 0, &added) != qt::noErr) {
            return Fail(codes.insertAddTrack);
        }
        if (qt::InsertTrackSegment(track, added, sourceStart, sourceDuration, at) != qt::noErr) {
            return Fail(codes.insertSegment);
        }
    }
    if (controller != nullptr) {
        qt::ControllerMovieChanged(controller);
    }
    return true;
}

} // namespace Vemo
