#include "engines/image/StandardImageHandle.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/image/ImageContainerHandle.h"
#include "engines/image/StandardImageEngine.h"
#include "engines/image/StandardImageFile.h"
#include "foundation/String.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"

#include <limits>
#include <utility>

namespace Vemo {

StandardImageHandle::StandardImageHandle(StandardImageEngine* engine)
    : ImageHandle(engine), m_engine(engine) {}

StandardImageHandle::~StandardImageHandle() {
    ReleaseRecord();
    delete m_file;
}

bool StandardImageHandle::IsAllowedSize(std::uint64_t width, std::uint64_t height) {
    return width != 0 && height != 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

std::uint32_t StandardImageHandle::GetWidth() {
    return m_width;
}

std::uint32_t StandardImageHandle::GetHeight() {
    return m_height;
}

Size StandardImageHandle::GetSize() {
    return Size(static_cast<std::int32_t>(m_width), static_cast<std::int32_t>(m_height));
}

std::uint32_t StandardImageHandle::GetDepth() {
    return m_pixelFormat.depth;
}

std::uint32_t StandardImageHandle::GetColorTag() {
    return m_colorTag;
}

bool StandardImageHandle::HasPalette() {
    return m_pixelFormat.colorCount > 0;
}

PixelFormat StandardImageHandle::GetPixelFormat() {
    return m_pixelFormat;
}

bool StandardImageHandle::Load() {
    if (m_data != nullptr) {
        return true;
    }
    if (m_file == nullptr) {
        String text;
        if (m_path.GetText(text, true, true).IsEmpty()) {
            return false;
        }
        m_ownsFile = true;
        m_file = new StandardImageFile(this);
        if (!m_file->Open(m_path, nullptr, false)) {
            delete std::exchange(m_file, nullptr);
            return false;
        }
    }
    const std::uint64_t size = m_file->Size();
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    AccessStatus* record = m_file->ReadAt(0, size, nullptr);
    if (record == nullptr) {
        return false;
    }
    TakeData(static_cast<const std::uint8_t*>(record->m_buffer), record->m_count, true, record);
    if (!ReadHeader()) {
        ReleaseData(false);
        return false;
    }
    return true;
}

bool StandardImageHandle::Save(std::uint8_t fileMode) {
    if (m_data == nullptr) {
        return false;
    }
    if (m_file == nullptr && !CreateFile(m_path, fileMode)) {
        return false;
    }
    AccessStatus* written = m_file->WriteAt(0, m_size, m_data);
    if (written == nullptr) {
        return false;
    }
    const bool whole = written->m_count == m_size;
    written->Release();
    return m_file->SetSize(m_size) && whole;
}

bool StandardImageHandle::CreateFile(const Path& path, std::uint8_t fileMode) {
    String text;
    if (path.GetText(text, true, true).IsEmpty()) {
        return false;
    }
    m_ownsFile = true;
    m_file = new StandardImageFile(this);
    const AccessStyle writing(true, true, false, false);
    if (!m_file->Create(path, &writing, fileMode != 0)) {
        delete std::exchange(m_file, nullptr);
        return false;
    }
    m_path = path;
    return true;
}

bool StandardImageHandle::ShareFile(const File& file) {
    m_file = new StandardImageFile(this);
    if (!m_file->Share(file)) {
        delete std::exchange(m_file, nullptr);
        return false;
    }
    return m_path.Assign(*m_file);
}

void StandardImageHandle::Unload() {
    ReleaseData(true);
}

void StandardImageHandle::ReleaseData(bool closeFile) {
    // Caller memory stays, and with it the palette read from it: the next decode needs both and finds the
    // header already read.
    const bool dataKept = m_data != nullptr && !m_dataOwned;
    if (m_data != nullptr && m_dataOwned) {
        m_encoded.reset();
        m_data = nullptr;
        m_size = 0;
        m_dataOwned = false;
        SetPixelData(nullptr, 0);
    }
    ReleaseRecord();
    if (m_file != nullptr && closeFile && m_ownsFile) {
        delete std::exchange(m_file, nullptr);
        m_ownsFile = false;
    }
    if (!dataKept) {
        FreePalette();
    }
}

void StandardImageHandle::ReleaseRecord() {
    if (AccessStatus* record = std::exchange(m_readRecord, nullptr)) {
        record->Release();
    }
}

bool StandardImageHandle::ReadHeader() {
    return false;
}

void StandardImageHandle::TakeData(const std::uint8_t* data, std::uint32_t size, bool owned,
                                   AccessStatus* record) {
    m_data = data;
    m_size = size;
    m_dataOwned = owned;
    m_readRecord = record;
}

void StandardImageHandle::TakeEncoded(std::unique_ptr<std::uint8_t[]> data, std::uint32_t size) {
    m_encoded = std::move(data);
    TakeData(m_encoded.get(), size, true, nullptr);
}

void StandardImageHandle::AllocatePalette(std::uint32_t count) {
    if (m_palette.size() < count) {
        m_palette.assign(count, PixelValue());
    }
}

void StandardImageHandle::FreePalette() {
    m_palette.clear();
    m_palette.shrink_to_fit();
}

void StandardImageHandle::SetPixelData(const std::uint8_t* pixels, std::uint32_t size) {
    m_pixelData = pixels;
    m_pixelDataSize = pixels != nullptr ? size : 0;
}

bool StandardImageHandle::OpenSourceGraphic(Graphic& out) {
    if (m_target == nullptr || !m_target->GetGraphic(out)) {
        return false;
    }
    GraphicHandle* handle = out.GetGraphicHandle();
    return handle != nullptr && handle->GetLostFlag() == 0 && handle->IsAvailable();
}

bool StandardImageHandle::OpenTargetGraphic(Graphic& out) {
    if (!OpenSourceGraphic(out)) {
        return false;
    }
    const GraphicHandle* handle = out.GetGraphicHandle();
    return !handle->IsReadOnly() && handle->GetWidth() >= 0 && handle->GetHeight() >= 0 &&
           static_cast<std::uint32_t>(handle->GetWidth()) >= m_width &&
           static_cast<std::uint32_t>(handle->GetHeight()) >= m_height && m_pixelData != nullptr;
}

bool StandardImageHandle::PutPaletteIntoGraphic(Graphic& graphic, DepthCode imageDepth) {
    if (!graphic.IsPalettized()) {
        return true;
    }
    if (graphic.GetDepth() < imageDepth) {
        return false;
    }
    const std::uint32_t entries = 1u << BitsPerPixelFromDepth(imageDepth);
    for (std::uint32_t index = 0; index < entries; ++index) {
        graphic.SetPaletteEntryImpl(index < m_palette.size() ? m_palette[index] : PixelValue(), index);
    }
    return true;
}

} // namespace Vemo
