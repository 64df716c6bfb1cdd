#include "engines/image/StandardImageFile.h"

namespace Vemo {

StandardImageFile::StandardImageFile(StandardImageHandle* owner) : m_owner(owner) {}

StandardImageFile::~StandardImageFile() = default;

} // namespace Vemo
