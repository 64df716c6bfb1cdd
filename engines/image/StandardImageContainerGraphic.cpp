#include "engines/image/StandardImageContainerGraphic.h"

#include "engines/image/ImageContainerHandle.h"

namespace Vemo {

StandardImageContainerGraphic::StandardImageContainerGraphic(ImageContainerHandle* owner) : m_owner(owner) {}

StandardImageContainerGraphic::~StandardImageContainerGraphic() = default;

void StandardImageContainerGraphic::OnRestored(bool* handled) {
    if (handled != nullptr && !*handled && m_owner != nullptr) {
        *handled = m_owner->DecodeCurrentImage();
    }
}

} // namespace Vemo
