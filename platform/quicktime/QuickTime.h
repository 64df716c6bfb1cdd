// QuickTime for this host: movies and sounds on FFmpeg (libavformat, libavcodec, libswscale, libswresample),
// played through the audio backend of platform/video/AudioBackend.h.
//
// The emulated QuickTime reports version 6.0. VEMO_QUICKTIME, read at every StartQTML, sets another one as
// "MAJOR[.MINOR[.BUGFIX]]" ("3.0", "4.1", "5.0.2"; major 0-255, the others 0-15), which QueryFeature("qtim")
// answers as major << 24 | minor << 20 | bug-fix << 16; "none" makes QuickTime missing: StartQTML fails with
// qtmlLibraryNotFound (-2093). Any other text is said on the standard error and 6.0 is used.
//
// Time. A movie's time runs on the platform clock (platform/win32/kernel/Time.h, which a test may replace
// with a fake clock) while the movie is active at a non-zero rate: nothing has to call the layer for time to
// pass. Tasking a movie (TaskMovies while it is active; controller action 2 and ControllerIdle at any time)
// draws its current frame into its port, scaled to its box. A movie whose time reaches its end stops there
// (or starts again, when its controller loops it); IsMovieDone then answers true. Playing, active movies with
// sound are mixed by the audio backend at the same clock's pace.
//
// Movies. A movie is a list of tracks; a track is an edit list over its media. Media come from files, read
// by FFmpeg (each track keeps its own reader of the file that was opened, so closing the movie's file after
// NewMovieFromFile stops nothing, and what later comes to stand under the file's name is never read), or from
// samples added in memory (sound only). Scaled edits hold frames longer or shorter and play their sound
// faster or slower. New movies have time scale 600; a movie read from a QuickTime file has the time scale of
// its movie header (a header that gives 0 is refused with invalidMovie), other files 600. Decoding errors end
// the movie where they happen and show in GetMoviesError after the task that met them.
//
// Ports. A movie draws into a graphics world over caller memory or into a window's port. A window's port
// draws into what the window shows, as overlays of platform/video/Overlays.h at the movie's box (client
// coordinates of the window).
//
// Controllers. A controller made with mcNotVisible draws nothing of its own; any other is the standard
// controller: the movie fills the controller's rectangle above a 16-pixel bar with a play/pause button and a
// position bar, and is made active. The button or the space bar toggles play, a click on the bar sets the
// time; a deactivated controller takes no events. The controller of a QuickTime VR movie shows the movie's
// current node instead of its frames, and its bar has zoom buttons in place of play and position: see
// QTVRInstanceRecord.h for what the user does with it. Its view moves with time on ControllerIdle (or
// controller action 1).
//
// Threads. Every call may come from any thread; one lock guards the layer (the audio backend mixes under it).
// GetMoviesError and GetMemoryError answer for the calling thread's last call.
//
// Calls the layer does not make: GetDC, CreateDIBSection, ReleaseDC and DeleteObject are the GDI's
// (platform/win32/gdi/Gdi.h).
#pragma once

#include "platform/quicktime/Types.h"
#include "platform/win32/windows/Window.h"

namespace qt {

// --- Start-up ---
// Counts start-ups for the process. The audio backend opens with the first movie made after it and closes
// with the last StopQTML. flags are accepted as given (3 and 6 are the ones used).
OSErr StartQTML(std::int32_t flags);
void StopQTML();
// Counted as well; the movie calls that make movies, controllers and files need them started
// (movieToolboxUninitialized otherwise).
OSErr StartMovieServices();
void StopMovieServices();
// "qtim": the version (above); any other selector: gestaltUndefSelectorErr.
OSErr QueryFeature(OSType selector, std::int32_t* response);
// Two optional start-up services that this host does not have; both answer noErr.
OSErr Selector17000E(std::int32_t value);
OSErr Selector170003(std::int32_t value, std::int32_t other);

// --- Files ---
// The path goes through the drive table (platform/win32/files/HostPath.h). fnfErr when only the file itself
// is missing (the FSSpec is filled), dirNFErr for a missing folder or drive, bdNamErr for a text that is no
// drive path or longer than 255 characters.
OSErr NativePathToFileSpec(const char* path, FSSpec* spec, std::int32_t flags);
// Permission 1 reads; 2 or 3 also allow AddMovieResource. fnfErr for a missing file or a folder, ioErr at
// once for what is no regular file (a FIFO, a socket, a device node: never waited on).
OSErr OpenMovieFile(const FSSpec* spec, std::int16_t* refNum, std::int8_t permission);
OSErr CloseMovieFile(std::int16_t refNum);
// Creates the file (createMovieFileDeleteCurFile replaces an existing one, else dupFNErr), opens it for
// writing and makes a new, empty movie for it (active with newMovieActive).
OSErr CreateMovieFile(const FSSpec* spec, OSType creator, ScriptCode script, std::int32_t createFlags,
                      std::int16_t* refNum, Movie* newMovie);
// fBsyErr while the file is open through OpenMovieFile or CreateMovieFile.
OSErr DeleteMovieFile(const FSSpec* spec);

// --- Movies ---
Movie NewMovie(std::int32_t flags);
// Reads the movie of an open file. resId, resName and dataRefWasChanged may be null.
OSErr NewMovieFromFile(Movie* movie, std::int16_t refNum, std::int16_t* resId, const unsigned char* resName,
                       std::int16_t flags, Boolean* dataRefWasChanged);
// Writes the movie into its open file (a QuickTime file that NewMovieFromFile reads back). Only tracks of
// media made in memory can be written (featureUnsupported otherwise).
OSErr AddMovieResource(Movie movie, std::int16_t refNum, std::int16_t* resId, const unsigned char* resName);
void DisposeMovie(Movie movie);
// The calling thread's last result of a movie call.
OSErr GetMoviesError();
// keepInRam reads the movie's files into memory; unkeepInRam/flushFromRam let them go again.
OSErr LoadMovieIntoMemory(Movie movie, TimeValue time, TimeValue duration, std::int32_t flags);
void SetMoviePlayHints(Movie movie, std::int32_t flags, std::int32_t flagsMask);

void StartMovie(Movie movie);
void StopMovie(Movie movie);
void GoToMovieStart(Movie movie);
void GoToMovieEnd(Movie movie);
void SetMovieTimeValue(Movie movie, TimeValue value);
TimeValue GetMovieTime(Movie movie, TimeRecord* currentTime);
TimeScale GetMovieTimeScale(Movie movie);
TimeBase GetMovieTimeBase(Movie movie);
TimeValue GetMovieDuration(Movie movie);
Fixed GetMoviePreferredRate(Movie movie);
void SetMoviePreferredRate(Movie movie, Fixed rate);
OSErr PrerollMovie(Movie movie, TimeValue time, Fixed rate);
// Playing forwards (or at rate 0 with a non-negative preferred rate): at the end; backwards: at the start.
// Also true from the time a decoding error ended the movie.
Boolean IsMovieDone(Movie movie);
// Draws the current frame of one active movie, or of every active movie when movie is null.
void TaskMovies(Movie movie, std::int32_t maxMilliseconds);
void SetMovieActive(Movie movie, Boolean active);
Boolean GetMovieActive(Movie movie);
// 256 is full volume; a negative volume is silent.
void SetMovieVolume(Movie movie, std::int16_t volume);
std::int16_t GetMovieVolume(Movie movie);
void GetMovieBox(Movie movie, Rect* box);
void SetMovieBox(Movie movie, const Rect* box);
// With nextTimeStep: the nearest frame edge after time (rate > 0) or before it (rate < 0) of the movie's
// enabled visual tracks; -1 when there is none. duration, when asked, is the time to the following edge or
// the end.
void GetMovieNextInterestingTime(Movie movie, std::int16_t flags, std::int16_t numMediaTypes,
                                 const OSType* whichMediaTypes, TimeValue time, Fixed rate,
                                 TimeValue* interestingTime, TimeValue* interestingDuration);
void GetMovieGraphicsPort(Movie movie, CGrafPtr* port, GDHandle* device);
void SetMovieGraphicsPort(Movie movie, CGrafPtr port, GDHandle device);

// --- Tracks and media ---
std::int32_t GetMovieTrackCount(Movie movie);
// 1-based.
Track GetMovieIndexedTrack(Movie movie, std::int32_t index);
// With movieTrackCharacteristic the type is "eyes" (visual) or "ears" (audible); with movieTrackMediaType a
// media type. movieTrackEnabledOnly counts enabled tracks only. 1-based.
Track GetMovieIndexedTrackOfType(Movie movie, std::int32_t index, OSType type, std::int32_t flags);
// A new track of dstMovie over the source track's media, with no edits.
OSErr AddEmptyTrackToMovie(Track srcTrack, Movie dstMovie, Handle dataRef, OSType dataRefType,
                           Track* dstTrack);
// Copies the source track's edits from srcIn for srcDuration (source movie time) into the destination track
// at dstIn (destination movie time), moving later edits on; a gap before dstIn becomes an empty edit.
OSErr InsertTrackSegment(Track srcTrack, Track dstTrack, TimeValue srcIn, TimeValue srcDuration,
                         TimeValue dstIn);
OSErr ScaleMovieSegment(Movie movie, TimeValue startTime, TimeValue oldDuration, TimeValue newDuration);
OSErr ScaleTrackSegment(Track track, TimeValue startTime, TimeValue oldDuration, TimeValue newDuration);
// Where the track's first edit with media begins, and how long it lasts from there (movie time).
TimeValue GetTrackOffset(Track track);
TimeValue GetTrackDuration(Track track);
// As GetMovieNextInterestingTime, for the one track.
void GetTrackNextInterestingTime(Track track, std::int16_t flags, TimeValue time, Fixed rate,
                                 TimeValue* interestingTime, TimeValue* interestingDuration);

// Tracks of media made in memory; only sound media ("soun") can be made.
Track NewMovieTrack(Movie movie, Fixed width, Fixed height, std::int16_t volume);
Media NewTrackMedia(Track track, OSType mediaType, TimeScale timeScale, Handle dataRef, OSType dataRefType);
OSErr BeginMediaEdits(Media media);
OSErr EndMediaEdits(Media media);
// Sound samples in the formats "raw " (8-bit unsigned), "twos" (signed, big-endian) and "sowt" (signed,
// little-endian), 1 or 2 channels, as the description says; each lasts durationPerSample media units.
OSErr AddMediaSample(Media media, Handle data, std::int32_t offset, std::uint32_t size,
                     TimeValue durationPerSample, SampleDescriptionHandle description,
                     std::int32_t numberOfSamples, std::int16_t sampleFlags, TimeValue* sampleTime);
OSErr InsertMediaIntoTrack(Track track, TimeValue trackStart, TimeValue mediaTime, TimeValue mediaDuration,
                           Fixed mediaRate);
TimeValue GetMediaDuration(Media media);

// --- Memory ---
Handle NewHandle(Size size);
void SetHandleSize(Handle handle, Size size);
Size GetHandleSize(Handle handle);
// The calling thread's last result of a memory call.
OSErr GetMemoryError();
void LockHandle(Handle handle);
void UnlockHandle(Handle handle);
void DisposeHandle(Handle handle);

// --- Controllers ---
MovieController NewMovieController(Movie movie, const Rect* bounds, std::int32_t flags);
void DisposeMovieController(MovieController controller);
// The parameter of each action is listed with its number in Types.h. 0 when done.
ComponentResult ControllerAction(MovieController controller, std::int16_t action, void* params);
// The movie's time; its scale into scale when given.
TimeValue GetControllerTime(MovieController controller, TimeScale* scale);
// The rectangle the controller takes in its port: the movie's box for a controller that draws nothing.
ComponentResult GetControllerBounds(MovieController controller, Rect* bounds);
// Makes the controller and its movie draw into the port.
ComponentResult SetControllerPort(MovieController controller, CGrafPtr port);
ComponentResult ControllerMovieChanged(MovieController controller);
Movie ControllerGetMovie(MovieController controller);
// Draws the movie's current frame and the controller.
ComponentResult ControllerIdle(MovieController controller);
// True when the message becomes an event a controller can take (mouse buttons, pointer moves as osEvt with
// mouseMovedMessage, keys, paint, activation). Mouse events carry shiftKey and controlKey.
bool NativeEventToEvent(const win32::MSG* message, EventRecord* event);
// 1 when the controller took the event.
ComponentResult ControllerHandleEvent(MovieController controller, const EventRecord* event);

// --- Ports ---
// Gives a window a port (QuickTime must be started). A second association of the same window gives the same
// port; it goes when every association is destroyed.
CGrafPtr CreatePortAssociation(win32::HWND window, Ptr storage, std::int32_t flags);
void DestroyPortAssociation(CGrafPtr port);
// The port associated with the window, or null.
CGrafPtr GetNativeWindowPort(win32::HWND window);
// A graphics world over caller memory, which stays the caller's: buffer is the top row; a negative rowBytes
// walks rows upwards (a bottom-up bitmap). Formats: 1, 2, 4, 8 (indexed: cTable, or when null the standard
// table of the depth), "L555", "L565", "24BG", 24, "BGRA", "RGBA", "ABGR", 32; others give cDepthErr. The
// movie draws into the world only while its pixels are locked.
QDErr NewGraphicsWorldFromMemory(GWorldPtr* world, OSType pixelFormat, const Rect* bounds, CTabHandle cTable,
                                 GDHandle device, std::uint32_t flags, Ptr buffer, std::int32_t rowBytes);
PixMapHandle GetGWorldPixMap(GWorldPtr world);
Boolean LockPixels(PixMapHandle pixels);
void UnlockPixels(PixMapHandle pixels);
// Movies that draw into the world lose their port.
void DisposeGraphicsWorld(GWorldPtr world);

// --- QuickTime VR ---
// The VR library is the layer's own: it "loads" at once. A movie read from a QuickTime VR file (panorama and
// object nodes, hot spots) has its world read with it; a VR part that is damaged is said on the standard
// error and the movie plays as an ordinary one.
int QuickTimeVRLibrary_Load();
void QuickTimeVRLibrary_Unload();
// The movie's "qtvr" track for index 1 when the movie is a VR movie; null otherwise (and for any other
// index).
Track QTVRGetQTVRTrack(Movie movie, std::int32_t index);
// The VR instance of the movie's controller (it lives as long as the controller): paramErr, with the instance
// null, for a track that is not the VR track of the controller's movie, or a controller whose VR movie's
// first node cannot be shown (that controller plays the movie as an ordinary one).
OSErr QTVRGetQTVRInstance(QTVRInstance* instance, Track vrTrack, MovieController controller);
// kQTVRDegrees or kQTVRRadians (paramErr otherwise): the units the instance's angles are given in.
OSErr QTVRSetAngularUnits(QTVRInstance instance, std::int32_t units);
// Sets one of an object node's control settings (kQTVRWrapPan to kQTVRTranslation; paramErr for any other),
// in place of what the node's file says, for this and every object node the instance shows: kQTVRCanZoom
// lets Shift, Control and the bar's zoom buttons zoom the object's view, kQTVRTranslation gives the bar a
// translate button with which a drag moves a zoomed-in view instead of turning the object. A panorama keeps
// them for the object nodes it leads to.
OSErr QTVRSetControlSetting(QTVRInstance instance, std::int32_t setting, Boolean enable);

} // namespace qt
