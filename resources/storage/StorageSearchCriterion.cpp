#include "resources/storage/StorageSearchCriterion.h"

#include "resources/error/ErrorFacilities.h"

namespace Vemo {

StorageSearchCriterion::StorageSearchCriterion(std::uint32_t kind)
    : ResourceSearchCriterion(kStorageTypeId, kSearchQuick), m_kind(kind) {}

StorageSearchCriterion::~StorageSearchCriterion() = default;

} // namespace Vemo
