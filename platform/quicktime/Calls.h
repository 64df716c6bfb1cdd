// The first steps of every call: the lock, a failure a test asked for, and a check of the object given.
// Internal to the layer.
#pragma once

#include "platform/quicktime/ControllerRecord.h"
#include "platform/quicktime/GrafPortRecord.h"
#include "platform/quicktime/Layer.h"
#include "platform/quicktime/MovieRecord.h"
#include "platform/win32/files/HostPath.h"

#include <mutex>
#include <string>
#include <vector>

namespace qt::detail {

using LayerGuard = std::lock_guard<std::recursive_mutex>;

// With the lock held. The code the call fails with (an injected one, or the object's kind of invalid
// handle), noErr when it may go on. The movies error is set to it.
OSErr Enter(Layer& layer, const char* call);
OSErr Enter(Layer& layer, const char* call, Movie movie);
OSErr Enter(Layer& layer, const char* call, Track track);
OSErr Enter(Layer& layer, const char* call, Media media);
OSErr Enter(Layer& layer, const char* call, MovieController controller);

// The nearest of the edges (movie times, ascending) after time, or before it going backwards, as the
// next-interesting-time calls answer it: -1 when there is none; duration to the following edge or the end.
void NearestEdge(const std::vector<std::int64_t>& edges, std::int64_t end, std::int16_t flags, TimeValue time,
                 Fixed rate, TimeValue* found, TimeValue* duration);

// The host file an FSSpec names: fnfErr when only the file is missing (path still filled), dirNFErr,
// bdNamErr. A file that is a link leading out of its drive is missing to a call that opens it
// (HostPath.h), and the link itself to one that replaces or deletes it.
OSErr ResolveSpec(const FSSpec* spec, win32::HostPath& host, win32::LeafUse use = win32::LeafUse::Open);

// Reads a movie from a file's bytes, as NewMovieFromFile does. A QuickTime VR movie gets its world; a VR part
// that is damaged is said on the standard error, naming the file, and the movie is read as an ordinary one.
OSErr ReadMovie(const std::shared_ptr<MediaSource>& source, Movie& movie, const std::string& name);

// Writes a movie's in-memory sound tracks as a QuickTime file.
OSErr WriteMovie(MovieRecord& movie, const std::string& hostPath, int descriptor);

} // namespace qt::detail
