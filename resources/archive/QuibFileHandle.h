// The file handle class of the Quib engine family; it adds nothing and is the base of the Monolith engine's.
#pragma once

#include "resources/storage/FileHandle.h"

namespace Vemo {

class QuibFileHandle : public FileHandle {
public:
    explicit QuibFileHandle(ResourceEngine* engine) : FileHandle(engine) {}
    ~QuibFileHandle() override = default;
};

} // namespace Vemo
