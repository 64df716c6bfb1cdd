// The directory handle class of the Quib engine family; it adds nothing and is the base of the Monolith
// engine's.
#pragma once

#include "resources/storage/DirectoryHandle.h"

namespace Vemo {

class QuibDirectoryHandle : public DirectoryHandle {
public:
    explicit QuibDirectoryHandle(ResourceEngine* engine) : DirectoryHandle(engine) {}
    ~QuibDirectoryHandle() override = default;
};

} // namespace Vemo
