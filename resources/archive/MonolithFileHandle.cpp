#include "resources/archive/MonolithFileHandle.h"

#include "resources/archive/MonolithFileChunk.h"
#include "resources/archive/MonolithTreeFile.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"

#include <limits>

namespace Vemo {

namespace {

// Settles the requests that move no bytes: without a chunk (reported, the request left as it is) and for a
// count of 0 (done at once). False for those.
bool NeedsTransfer(const MonolithStorageEngine::MonolithFileChunk* chunk, const String& name,
                   AccessStatus* request) {
    if (chunk == nullptr) {
        Error().Report(StorageEngineErrFileNotListed, name);
        return false;
    }
    if (request->m_count == 0) {
        request->m_status = AccessStatus::kDone;
        return false;
    }
    return true;
}

} // namespace

MonolithFileHandle::MonolithFileHandle(ResourceEngine* engine,
                                       MonolithStorageEngine::MonolithFileChunk* chunk)
    : QuibFileHandle(engine), m_chunk(chunk) {}

MonolithFileHandle::~MonolithFileHandle() {
    if (m_chunk != nullptr && m_chunk->Release()) {
        delete m_chunk;
    }
}

// The position after a transfer is where it ended, so that the File's own Read and Write go on from there.
AccessStatus* MonolithFileHandle::Read(AccessStatus* request) {
    if (!NeedsTransfer(m_chunk, m_name, request)) {
        return request;
    }
    const std::uint64_t dataOffset = m_chunk->CurrentOffset();
    // The bytes go straight into the request's buffer: the archive's own file needs no record of its own.
    AccessStatus read(nullptr, 0, 0, false, nullptr);
    const bool done = request->m_position <= std::numeric_limits<std::uint64_t>::max() - dataOffset &&
                      m_chunk->ReadInto(nullptr, dataOffset + request->m_position, request->m_count,
                                        request->m_buffer, read);
    if (!done || read.m_count == 0) {
        Error().Report(QuibErrAccessFailed, m_chunk->Ident().Text());
        request->m_count = 0;
        return request;
    }
    if (read.m_count == request->m_count) {
        request->m_status = read.m_status;
    }
    request->m_count = read.m_count;
    m_position = request->m_position + request->m_count;
    return request;
}

AccessStatus* MonolithFileHandle::Write(AccessStatus* request) {
    if (!NeedsTransfer(m_chunk, m_name, request)) {
        return request;
    }
    if (!OpenedForWriting()) {
        return request;
    }
    const std::uint64_t dataOffset = m_chunk->CurrentOffset();
    const std::uint64_t end = request->m_position + request->m_count;
    bool written =
        request->m_position <= std::numeric_limits<std::uint64_t>::max() - dataOffset - request->m_count;
    const bool grows = written && end > m_chunk->Remaining();
    written =
        written &&
        m_chunk->Write(nullptr, dataOffset + request->m_position, request->m_count, request->m_buffer) &&
        m_chunk->UpdateHeader();
    // The tree must record the grown chunk, or the offsets of the later siblings would no longer match.
    if (written && grows && m_treeFile != nullptr) {
        written = m_treeFile->SetContentSize(m_chunk->Remaining());
    }
    if (!written) {
        Error().Report(QuibErrAccessFailed, m_chunk->Ident().Text());
        return request;
    }
    request->m_status = AccessStatus::kDone;
    m_position = end;
    return request;
}

bool MonolithFileHandle::SetSize(std::uint64_t size) {
    if (m_chunk == nullptr || !OpenedForWriting() || !m_chunk->SetSize(size)) {
        return false;
    }
    return m_treeFile != nullptr && m_treeFile->SetContentSize(size);
}

// Nothing else stands between a handle opened only for reading and the archive's bytes, which other handles
// may be reading on the promise that nobody writes them.
bool MonolithFileHandle::OpenedForWriting() {
    if (m_accessStyle.m_write == 0) {
        Error().Report(StorageEngineErrAccessDenied, m_name);
        return false;
    }
    return true;
}

std::uint64_t MonolithFileHandle::Size() {
    return m_chunk != nullptr ? m_chunk->Remaining() : 0;
}

bool MonolithFileHandle::SetName(const String&) {
    Error().Report(ResourceSystemErrNotSupported, String("MonolithFileHandle::Name"));
    return false;
}

} // namespace Vemo
