// A font container of the Win32 font engine: the container handle over a Win32FontContainerGraphic, whose
// text operations are the container handle's own.
#pragma once

#include "engines/font/FontContainerHandle.h"

namespace Vemo {

class Win32FontContainerGraphic;

class Win32FontContainerHandle : public FontContainerHandle {
public:
    // The handle owns the graphic from here on.
    Win32FontContainerHandle(ResourceEngine* engine, Win32FontContainerGraphic* graphic);
    ~Win32FontContainerHandle() override;
};

} // namespace Vemo
