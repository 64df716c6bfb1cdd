// The File through which a standard image handle reads and writes its image file.
#pragma once

#include "resources/storage/File.h"

namespace Vemo {

class StandardImageHandle;

class StandardImageFile : public File {
public:
    explicit StandardImageFile(StandardImageHandle* owner);
    ~StandardImageFile() override;

    StandardImageHandle* GetOwner() const { return m_owner; }

private:
    StandardImageHandle* m_owner;
};

} // namespace Vemo
