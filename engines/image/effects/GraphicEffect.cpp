#include "engines/image/effects/GraphicEffect.h"

namespace Vemo {

GraphicEffect::~GraphicEffect() = default;

} // namespace Vemo
