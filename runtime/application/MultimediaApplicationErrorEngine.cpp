#include "runtime/application/MultimediaApplicationErrorEngine.h"

#include "resources/CreateThrough.h"
#include "resources/error/ErrorFacilities.h"

MultimediaApplicationErrorEngine::MultimediaApplicationErrorEngine()
    : MultimediaApplicationErrorEngine(Vemo::kErrorTypeId, "Multimedia Application Error Engine") {}

MultimediaApplicationErrorEngine::MultimediaApplicationErrorEngine(std::uint32_t typeId,
                                                                   const Vemo::String& name)
    : ErrorEngine(typeId, name) {}

MultimediaApplicationErrorEngine::~MultimediaApplicationErrorEngine() = default;

void MultimediaApplicationErrorEngine::SetDisplayMode(int mode) {
    m_displayMode = mode;
}

int MultimediaApplicationErrorEngine::GetDisplayMode() const {
    return m_displayMode;
}

MultimediaApplicationErrorEngine*
MultimediaApplicationErrorEngine::Create(MultimediaApplicationErrorEngine* engine) {
    return Vemo::CreateThrough(
        engine, [] { return new MultimediaApplicationErrorEngine; }, &Vemo::ErrorEngine::Create);
}
