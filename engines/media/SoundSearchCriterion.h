// What a sound front-end asks the Sound System for: the File or the Path to read, or a new sound. The File
// and Path pointers lead into the builder's stack frame, so a criterion lives for one open call only.
#pragma once

#include "resources/ResourceSearchCriterion.h"

namespace Vemo {

class File;
class Path;

class SoundSearchCriterion : public ResourceSearchCriterion {
public:
    // Of the sound family, quick search, any engine of the family.
    SoundSearchCriterion();
    ~SoundSearchCriterion() override;

    const File* m_file = nullptr;
    const Path* m_path = nullptr;
    bool m_create = false;
    // The file stays open after the sound has been read.
    bool m_keepFileOpen = false;
    // The sound plays from its file instead of being read into memory first.
    bool m_streamed = false;
};

} // namespace Vemo
