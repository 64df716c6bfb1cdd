// A libjpeg source over a block of memory. When the block is used up it supplies an end-of-image marker, as
// libjpeg's own file source does, so that data lacking only its final marker still decodes; a scan cut short
// then shows as libjpeg's warning of a premature end of data (JErrorManager::HitEndOfData).
#pragma once

#include "engines/image/codecs/JSourceManager.h"

#include <cstddef>
#include <cstdint>

namespace Vemo {

class MemSourceManager : public JSourceManager {
public:
    MemSourceManager(const std::uint8_t* buffer, std::size_t size);
    ~MemSourceManager() override;

    void InitSource(JCommon& common) override;
    bool FillInputBuffer(JCommon& common) override;
    // Skips at most the bytes left.
    void SkipInputData(JCommon& common, long count) override;

private:
    const std::uint8_t* m_buffer;
    std::size_t m_size;
};

} // namespace Vemo
