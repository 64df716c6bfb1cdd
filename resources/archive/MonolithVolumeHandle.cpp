#include "resources/archive/MonolithVolumeHandle.h"

#include "resources/archive/MonolithChunk.h"
#include "resources/archive/QuibFile.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/File.h"

namespace Vemo {

namespace {

template <class Result>
Result NotSupported(const char* operation, Result result) {
    Error().Report(ResourceSystemErrNotSupported, String(operation));
    return result;
}

} // namespace

MonolithVolumeHandle::MonolithVolumeHandle(ResourceEngine* engine, QuibStorageEngine::QuibFile* quibFile,
                                           MonolithStorageEngine::MonolithChunk* topChunk)
    : QuibVolumeHandle(engine), m_quibFile(quibFile), m_topChunk(topChunk) {
    Vemo::File* file = quibFile->GetFile();
    if (file != nullptr) {
        const String* name = file->PathText(false, false);
        const String ownName = name != nullptr ? *name : String();
        const String* nativeName = file->PathText(false, true);
        SetNames(ownName, nativeName != nullptr ? *nativeName : String());
    }
    m_flags.m_readable = quibFile->Readable();
    m_flags.m_writeable = quibFile->Writeable();
}

MonolithVolumeHandle::~MonolithVolumeHandle() {
    delete m_quibFile;
    delete m_topChunk;
}

bool MonolithVolumeHandle::Lock() {
    return NotSupported("MonolithVolumeHandle::Lock", false);
}

bool MonolithVolumeHandle::Unlock() {
    return NotSupported("MonolithVolumeHandle::Unlock", false);
}

bool MonolithVolumeHandle::Insert() {
    return NotSupported("MonolithVolumeHandle::Insert", false);
}

bool MonolithVolumeHandle::Remove() {
    return NotSupported("MonolithVolumeHandle::Remove", false);
}

bool MonolithVolumeHandle::Lockable() {
    return NotSupported("MonolithVolumeHandle::Lockable", false);
}

bool MonolithVolumeHandle::Removable() {
    return NotSupported("MonolithVolumeHandle::Removable", false);
}

bool MonolithVolumeHandle::Verify() {
    return m_topChunk != nullptr && m_quibFile != nullptr && m_quibFile->Verify();
}

File* MonolithVolumeHandle::ContainerFile() {
    return m_topChunk != nullptr && m_quibFile != nullptr ? m_quibFile->GetFile() : nullptr;
}

std::uint64_t MonolithVolumeHandle::Size() {
    return NotSupported<std::uint64_t>("MonolithVolumeHandle::Size", 0);
}

std::uint64_t MonolithVolumeHandle::Free() {
    return NotSupported<std::uint64_t>("MonolithVolumeHandle::Free", 0);
}

std::uint32_t MonolithVolumeHandle::ClusterSize() {
    return NotSupported<std::uint32_t>("MonolithVolumeHandle::ClusterSize", 0);
}

std::uint32_t MonolithVolumeHandle::ReadAhead() {
    return NotSupported<std::uint32_t>("MonolithVolumeHandle::ReadAhead", 0);
}

bool MonolithVolumeHandle::SetLabel(const String&) {
    return NotSupported("MonolithVolumeHandle::Label", false);
}

const String* MonolithVolumeHandle::Label() {
    return NotSupported<const String*>("MonolithVolumeHandle::Label", &m_name);
}

std::uint32_t MonolithVolumeHandle::Serial() {
    return NotSupported<std::uint32_t>("MonolithVolumeHandle::Serial", 0);
}

bool MonolithVolumeHandle::MatchName(const String& name) {
    if (m_name.Compare(name) == 0) {
        return true;
    }
    String withExtension = name;
    withExtension.Append(".qib");
    return m_name.Compare(withExtension) == 0;
}

} // namespace Vemo
