#include "engines/image/StandardImageEngine.h"

#include "engines/image/ImageSearchCriterion.h"
#include "engines/image/ImageSystem.h"
#include "engines/image/StandardImageCodec.h"
#include "engines/image/StandardImageContainerHandle.h"
#include "engines/image/StandardImageContainerImage.h"
#include "engines/image/StandardImageFile.h"
#include "engines/image/StandardImageHandle.h"
#include "engines/image/codecs/BMPStandardImageCodec.h"
#include "engines/image/codecs/JPEGStandardImageCodec.h"
#include "engines/image/codecs/PCXStandardImageCodec.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/File.h"
#include "resources/storage/Path.h"

#include <limits>
#include <memory>

namespace Vemo {

namespace {

constexpr std::uint32_t kDefaultColorTag = 1;

String ExtensionOfPath(const Path& path) {
    String text;
    return StandardImageEngine::GetExtension(path.GetText(text, true, true));
}

String ExtensionOfFile(const File& file) {
    const String* name = const_cast<File&>(file).PathText(false, false);
    return StandardImageEngine::GetExtension(name != nullptr ? *name : String());
}

// The whole file, read at once; null when it is too large to hold or the read fails.
AccessStatus* ReadWhole(const File& file) {
    File& readable = const_cast<File&>(file);
    const std::uint64_t size = readable.Size();
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        return nullptr;
    }
    return readable.ReadAt(0, size, nullptr);
}

} // namespace

StandardImageEngine::StandardImageEngine() : ImageEngine(kStandardImageTypeId, "Standard Image Engine") {}

StandardImageEngine::~StandardImageEngine() {
    Terminate();
}

StandardImageEngine* StandardImageEngine::Create(StandardImageEngine* engine) {
    return CreateThrough(
        engine, [] { return new StandardImageEngine; },
        [](StandardImageEngine* made) { return ResourceEngine::Create(made); });
}

bool StandardImageEngine::Initialize() {
    StandardImageCodec* codecs[] = {new BMPStandardImageCodec(this), new PCXStandardImageCodec(this),
                                    new JPEGStandardImageCodec(this)};
    for (StandardImageCodec* codec : codecs) {
        if (codec->Start()) {
            m_codecs.PushBack(codec);
        } else {
            delete codec;
        }
    }
    return true;
}

bool StandardImageEngine::Terminate() {
    while (!m_codecs.Empty()) {
        StandardImageCodec* codec = m_codecs[m_codecs.Size() - 1];
        m_codecs.Erase(m_codecs.End() - 1);
        codec->Stop();
        delete codec;
    }
    return true;
}

String StandardImageEngine::GetExtension(const String& name) {
    const char* text = name.CStr();
    const std::uint32_t length = name.Length();
    std::uint32_t component = 0;
    std::uint32_t dot = length;
    for (std::uint32_t i = 0; i < length; ++i) {
        if (text[i] == '\\' || text[i] == '/' || text[i] == ':') {
            component = i + 1;
            dot = length;
        } else if (text[i] == '.') {
            dot = i;
        }
    }
    const std::uint32_t start = dot < length ? dot + 1 : component;
    return name.Substring(start, length - start);
}

StandardImageCodec* StandardImageEngine::CodecForBytes(const void* data, std::uint64_t size) {
    const auto available = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, 0xFFFFFFFFu));
    for (StandardImageCodec* codec : m_codecs) {
        if (codec->Identify(data, available, size, nullptr, nullptr)) {
            return codec;
        }
    }
    return nullptr;
}

StandardImageCodec* StandardImageEngine::CodecForExtension(const String& extension, const File* file) {
    if (extension.IsEmpty()) {
        return nullptr;
    }
    for (StandardImageCodec* codec : m_codecs) {
        if (codec->Identify(nullptr, 0, 0, file, &extension)) {
            return codec;
        }
    }
    return nullptr;
}

StandardImageHandle* StandardImageEngine::CreateHandleForData(const void* data, std::uint32_t size,
                                                              std::uint32_t sizeHigh) {
    const std::uint64_t fileSize = static_cast<std::uint64_t>(sizeHigh) << 32 | size;
    StandardImageCodec* codec = CodecForBytes(data, fileSize);
    return codec != nullptr ? codec->CreateHandle(nullptr, nullptr, nullptr) : nullptr;
}

StandardImageHandle* StandardImageEngine::CreateHandleForName(const String& name, const std::uint32_t* depth,
                                                              const PixelFormat* format,
                                                              const std::uint32_t* colorTag) {
    StandardImageCodec* codec = CodecForExtension(GetExtension(name), nullptr);
    return codec != nullptr ? codec->CreateHandle(depth, format, colorTag) : nullptr;
}

bool StandardImageEngine::MatchesName(const ImageSearchCriterion& criterion) {
    if (criterion.m_file != nullptr) {
        return CodecForExtension(ExtensionOfFile(*criterion.m_file), criterion.m_file) != nullptr;
    }
    return CodecForExtension(ExtensionOfPath(*criterion.m_path), nullptr) != nullptr;
}

bool StandardImageEngine::MatchSearchCriterion(ResourceSearchCriterion* criterion) {
    if (!ImageEngine::MatchSearchCriterion(criterion)) {
        return false;
    }
    const auto* image = dynamic_cast<const ImageSearchCriterion*>(criterion);
    if (image == nullptr) {
        return false;
    }
    if (image->m_kind != ImageSearchCriterion::kImage && image->m_kind != ImageSearchCriterion::kContainer) {
        return false;
    }
    if (image->m_file != nullptr || image->m_path != nullptr) {
        return MatchesName(*image);
    }
    if (image->m_data == nullptr) {
        return image->m_kind == ImageSearchCriterion::kContainer;
    }
    return image->m_size != nullptr && CodecForBytes(image->m_data, *image->m_size) != nullptr;
}

bool StandardImageEngine::MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) {
    if (!ImageEngine::MatchSearchCriterionThorough(criterion)) {
        return false;
    }
    const auto* image = dynamic_cast<const ImageSearchCriterion*>(criterion);
    if (image == nullptr) {
        return false;
    }
    if (image->m_kind == ImageSearchCriterion::kImage) {
        return image->m_file != nullptr || image->m_path != nullptr ||
               (image->m_data != nullptr && image->m_size != nullptr);
    }
    return image->m_kind == ImageSearchCriterion::kContainer;
}

ResourceHandle* StandardImageEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    const auto* image = dynamic_cast<const ImageSearchCriterion*>(criterion);
    if (image == nullptr) {
        Error().Report(ImageSystemErrBadCriterion);
        return nullptr;
    }
    if (image->m_kind == ImageSearchCriterion::kImage) {
        return CreateImageHandle(*image);
    }
    if (image->m_kind == ImageSearchCriterion::kContainer) {
        return CreateContainerHandle(*image);
    }
    return nullptr;
}

ResourceHandle* StandardImageEngine::CreateImageHandle(const ImageSearchCriterion& criterion) {
    if (criterion.m_file != nullptr) {
        return OpenFromFile(*criterion.m_file, false);
    }
    if (criterion.m_path != nullptr && criterion.m_openExisting != 0) {
        File file;
        if (!file.Open(*criterion.m_path, nullptr, false)) {
            return nullptr;
        }
        return OpenFromFile(file, true);
    }
    if (criterion.m_path != nullptr) {
        return CreateImageFile(criterion);
    }
    if (criterion.m_data != nullptr && criterion.m_size != nullptr) {
        return OpenFromMemory(criterion.m_data, *criterion.m_size);
    }
    return nullptr;
}

StandardImageHandle* StandardImageEngine::OpenFromFile(const File& file, bool ownsFile) {
    AccessStatus* record = ReadWhole(file);
    if (record == nullptr) {
        return nullptr;
    }
    StandardImageCodec* codec = CodecForBytes(record->m_buffer, record->m_count);
    std::unique_ptr<StandardImageHandle> handle(
        codec != nullptr ? codec->CreateHandle(nullptr, nullptr, nullptr) : nullptr);
    if (handle == nullptr) {
        record->Release();
        return nullptr;
    }
    handle->TakeData(static_cast<const std::uint8_t*>(record->m_buffer), record->m_count, true, record);
    if (!handle->ReadHeader() || !handle->ShareFile(file)) {
        return nullptr;
    }
    handle->SetOwnsFile(ownsFile);
    return handle.release();
}

StandardImageHandle* StandardImageEngine::CreateImageFile(const ImageSearchCriterion& criterion) {
    String text;
    if (criterion.m_path->GetText(text, true, true).IsEmpty()) {
        return nullptr;
    }
    const std::uint32_t colorTag = criterion.m_colorTag != nullptr ? *criterion.m_colorTag : kDefaultColorTag;
    StandardImageCodec* codec = CodecForExtension(GetExtension(text), nullptr);
    if (codec == nullptr || (criterion.m_pixelFormat == nullptr && criterion.m_depth == nullptr)) {
        return nullptr;
    }
    std::unique_ptr<StandardImageHandle> handle(
        criterion.m_pixelFormat != nullptr ? codec->CreateHandle(nullptr, criterion.m_pixelFormat, &colorTag)
                                           : codec->CreateHandle(criterion.m_depth, nullptr, &colorTag));
    if (handle == nullptr) {
        return nullptr;
    }
    const std::uint8_t fileMode = criterion.m_fileMode != nullptr ? *criterion.m_fileMode : 0;
    if (!handle->CreateFile(*criterion.m_path, fileMode) || !handle->GetFile()->SetSize(0)) {
        return nullptr;
    }
    return handle.release();
}

StandardImageHandle* StandardImageEngine::OpenFromMemory(const void* data, std::uint32_t size) {
    StandardImageCodec* codec = CodecForBytes(data, size);
    std::unique_ptr<StandardImageHandle> handle(
        codec != nullptr ? codec->CreateHandle(nullptr, nullptr, nullptr) : nullptr);
    if (handle == nullptr) {
        return nullptr;
    }
    handle->TakeData(static_cast<const std::uint8_t*>(data), size, false, nullptr);
    return handle->ReadHeader() ? handle.release() : nullptr;
}

ResourceHandle* StandardImageEngine::CreateContainerHandle(const ImageSearchCriterion& criterion) {
    auto container = std::make_unique<StandardImageContainerHandle>(this);
    ContainerGraphicSpec spec;
    spec.palette = criterion.m_palette != nullptr ? *criterion.m_palette : PaletteReference();
    spec.graphicFlags = criterion.m_graphicFlags != nullptr ? *criterion.m_graphicFlags : 0;
    spec.compatible = criterion.m_compatible;
    if (criterion.m_memory != nullptr) {
        spec.hasMemory = true;
        spec.memory = *criterion.m_memory;
    }
    spec.pitch = criterion.m_pitch != nullptr ? *criterion.m_pitch : 0;
    spec.graphicEngine = criterion.m_graphicEngine != nullptr ? *criterion.m_graphicEngine : kGraphicTypeId;
    const bool dither = criterion.m_ditherFlag != nullptr && *criterion.m_ditherFlag != 0;

    const bool hasSource = criterion.m_imageHandle != nullptr || criterion.m_file != nullptr ||
                           criterion.m_path != nullptr || criterion.m_data != nullptr;
    if (!hasSource) {
        spec.width = criterion.m_width != nullptr ? *criterion.m_width : 0;
        spec.height = criterion.m_height != nullptr ? *criterion.m_height : 0;
        spec.depth = criterion.m_depth != nullptr ? *criterion.m_depth : 0;
        spec.colorTag = criterion.m_colorTag != nullptr ? *criterion.m_colorTag : 0;
        if (criterion.m_pixelFormat != nullptr) {
            spec.pixelFormat = *criterion.m_pixelFormat;
        }
        if (!container->CreateGraphic(spec)) {
            return nullptr;
        }
        container->SetDecodeOptions(dither, criterion.m_keyColor);
        return container.release();
    }

    // The image to make the graphic for: the open one given, else one this container opens for itself.
    std::unique_ptr<StandardImageContainerImage> opened;
    ImageHandle* imageHandle = criterion.m_imageHandle;
    if (imageHandle == nullptr) {
        opened = std::make_unique<StandardImageContainerImage>(container.get());
        bool open = false;
        if (criterion.m_file != nullptr) {
            open = opened->Open(*criterion.m_file, GetTypeId());
        } else if (criterion.m_path != nullptr) {
            open = criterion.m_openExisting != 0 && opened->Open(*criterion.m_path, GetTypeId());
        } else if (criterion.m_size != nullptr) {
            open = opened->Open(criterion.m_data, *criterion.m_size, GetTypeId());
        }
        if (!open) {
            return nullptr;
        }
        imageHandle = opened->GetImageHandle();
    }
    if (container->GetContainerGraphic() == nullptr) {
        spec.width = criterion.m_width != nullptr ? *criterion.m_width : imageHandle->GetWidth();
        spec.height = criterion.m_height != nullptr ? *criterion.m_height : imageHandle->GetHeight();
        if (criterion.m_depth != nullptr) {
            spec.depth = *criterion.m_depth;
        } else if (criterion.m_pixelFormat != nullptr) {
            spec.pixelFormat = *criterion.m_pixelFormat;
        } else {
            spec.pixelFormat = imageHandle->GetPixelFormat();
        }
        spec.colorTag = criterion.m_colorTag != nullptr ? *criterion.m_colorTag : imageHandle->GetColorTag();
        spec.imageHandle = imageHandle;
        if (!container->CreateGraphic(spec)) {
            return nullptr;
        }
    }
    container->SetDecodeOptions(dither, criterion.m_keyColor);
    if (opened != nullptr) {
        if (!container->SelectImage(*opened)) {
            return nullptr;
        }
        container->DecodeCurrentImage();
    }
    return container.release();
}

} // namespace Vemo
