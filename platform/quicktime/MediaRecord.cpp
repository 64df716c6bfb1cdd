#include "platform/quicktime/MediaRecord.h"

#include "platform/quicktime/Layer.h"

namespace qt {

MediaRecord::MediaRecord() {
    detail::Layer::Instance().media.insert(this);
}

MediaRecord::~MediaRecord() {
    detail::Layer::Instance().media.erase(this);
}

} // namespace qt
