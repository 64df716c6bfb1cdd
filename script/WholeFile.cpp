#include "script/WholeFile.h"

#include "foundation/String.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/File.h"

WholeFile::WholeFile(Vemo::File& file) {
    const std::uint64_t size = file.Size();
    if (size == 0) {
        m_read = true;
        return;
    }
    m_record = file.ReadAt(0, size, nullptr);
    if (m_record == nullptr) {
        return;
    }
    m_read = m_record->m_status == Vemo::AccessStatus::kDone && m_record->m_count == size;
    if (m_read) {
        m_data = static_cast<const char*>(m_record->m_buffer);
        m_size = m_record->m_count;
    }
}

WholeFile::~WholeFile() {
    if (m_record != nullptr) {
        m_record->Release();
    }
}

bool WholeFile::Replace(Vemo::File& file, std::uint64_t position, const Vemo::String& text) {
    if (!text.IsEmpty()) {
        Vemo::AccessStatus* written = file.WriteAt(position, text.Length(), text.CStr());
        if (written == nullptr) {
            return false;
        }
        const bool whole = written->m_status == Vemo::AccessStatus::kDone;
        written->Release();
        if (!whole) {
            return false;
        }
    }
    return file.SetSize(position + text.Length());
}
