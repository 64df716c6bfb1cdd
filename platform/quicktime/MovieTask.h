// Tasking a movie: its current frames, and a standard controller's bar, drawn into its port. Internal to the
// layer; under the layer's lock.
#pragma once

#include "platform/quicktime/MovieRecord.h"

namespace qt::detail {

void TaskMovie(MovieRecord& movie);
// Takes the movie's picture off its window (its port changed or went away); the next task draws afresh.
void ForgetPicture(MovieRecord& movie);

} // namespace qt::detail
