// What the archive tests run in: a test application with a recording error engine, a machine whose one fixed
// drive C: (the volume HD0) is a fresh temporary folder, and a storage system with the Win32 and Monolith
// engines. Host() is the root directory of HD0; archives are real files in that folder.
//
//     ArchiveTestEnvironment environment;
//     environment.WriteHostFile("a.qib", bytes);
//     QuibStorageEngine::QuibFile file;
//     file.Open(environment.Host(), "a", false);
//     EXPECT_EQ(environment.TakeReports(), Reports{});
#pragma once

#include "platform/testing/Drives.h"
#include "resources/archive/CRC32.h"
#include "resources/archive/MonolithStorageEngine.h"
#include "resources/storage/Directory.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/Volume.h"
#include "resources/storage/win32/Win32StorageEngine.h"
#include "resources/testing/TestResourceFamily.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ArchiveTest {

using Bytes = std::vector<std::uint8_t>;
using VemoTest::Reported;
using VemoTest::Reports;

class ArchiveTestEnvironment {
public:
    ArchiveTestEnvironment() : m_drives({win32::testing::TemporaryDrive('C')}) {
        Vemo::StorageSystem* system = Vemo::StorageSystem::Create();
        m_application.m_storageSystem = system;
        system->AddEngine(Vemo::Win32StorageEngine::Create());
        m_monolith = Vemo::MonolithStorageEngine::Create();
        system->AddEngine(m_monolith);
        m_volume = std::make_unique<Vemo::Volume>();
        m_host = std::make_unique<Vemo::Directory>();
        const Vemo::String drive("HD0");
        m_volume->Open(&drive, nullptr, false);
        m_host->OpenRoot(*m_volume);
    }

    ~ArchiveTestEnvironment() {
        m_host.reset();
        m_volume.reset();
        if (m_application.m_storageSystem != nullptr) {
            m_application.m_storageSystem->Shutdown();
            m_application.m_storageSystem = nullptr;
        }
    }

    ArchiveTestEnvironment(const ArchiveTestEnvironment&) = delete;
    ArchiveTestEnvironment& operator=(const ArchiveTestEnvironment&) = delete;

    Vemo::Directory& Host() { return *m_host; }
    Vemo::MonolithStorageEngine* Monolith() const { return m_monolith; }
    Vemo::StorageSystem* System() const { return m_application.m_storageSystem; }

    std::string HostPath(const std::string& name) const { return m_drives.HostPath('C', name); }

    void WriteHostFile(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(HostPath(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    Bytes ReadHostFile(const std::string& name) const {
        std::ifstream in(HostPath(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // The errors reported since the last call, oldest first.
    Reports TakeReports() { return m_application.TakeReports(); }

private:
    VemoTest::TestApplication m_application;
    win32::testing::TemporaryDrives m_drives;
    Vemo::MonolithStorageEngine* m_monolith = nullptr;
    std::unique_ptr<Vemo::Volume> m_volume;
    std::unique_ptr<Vemo::Directory> m_host;
};

// Big-endian pieces of hand-built files.
inline void PutU16(Bytes& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes.push_back(static_cast<std::uint8_t>(value));
}

inline void PutU32(Bytes& bytes, std::uint32_t value) {
    PutU16(bytes, static_cast<std::uint16_t>(value >> 16));
    PutU16(bytes, static_cast<std::uint16_t>(value));
}

inline void PutU64(Bytes& bytes, std::uint64_t value) {
    PutU32(bytes, static_cast<std::uint32_t>(value >> 32));
    PutU32(bytes, static_cast<std::uint32_t>(value));
}

inline std::uint32_t GetU32(const Bytes& bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

inline std::uint64_t GetU64(const Bytes& bytes, std::size_t at) {
    return (std::uint64_t{GetU32(bytes, at)} << 32) | GetU32(bytes, at + 4);
}

inline std::uint32_t Crc(const Bytes& bytes) {
    CRC32 crc;
    crc.Update(bytes.data(), bytes.size());
    return crc.Result();
}

// A chunk to build into a hand-made file: a data chunk (flags bit 0) holds its bytes, a container its
// children. Size and CRC are computed unless given.
struct ChunkSpec {
    std::uint16_t family = 1;
    std::uint16_t type = 1;
    std::uint32_t flags = 0;
    Bytes data;
    std::vector<ChunkSpec> children;
    std::optional<std::uint64_t> size;
    std::optional<std::uint32_t> crc;
};

inline ChunkSpec DataChunk(std::uint16_t family, std::uint16_t type, Bytes data = {}) {
    ChunkSpec spec;
    spec.family = family;
    spec.type = type;
    spec.flags = 1;
    spec.data = std::move(data);
    return spec;
}

inline ChunkSpec Container(std::uint16_t family, std::uint16_t type, std::vector<ChunkSpec> children = {}) {
    ChunkSpec spec;
    spec.family = family;
    spec.type = type;
    spec.children = std::move(children);
    return spec;
}

inline ChunkSpec WithSize(ChunkSpec spec, std::uint64_t size) {
    spec.size = size;
    return spec;
}

inline ChunkSpec WithCrc(ChunkSpec spec, std::uint32_t crc) {
    spec.crc = crc;
    return spec;
}

inline Bytes BuildChunk(const ChunkSpec& spec) {
    Bytes body;
    Bytes childHeaders;
    if ((spec.flags & 1) != 0) {
        body = spec.data;
    } else {
        for (const ChunkSpec& child : spec.children) {
            const Bytes built = BuildChunk(child);
            childHeaders.insert(childHeaders.end(), built.begin(), built.begin() + 20);
            body.insert(body.end(), built.begin(), built.end());
        }
    }
    Bytes chunk;
    PutU16(chunk, spec.family);
    PutU16(chunk, spec.type);
    PutU64(chunk, spec.size.value_or(20 + body.size()));
    PutU32(chunk, spec.flags);
    PutU32(chunk, spec.crc.value_or(Crc((spec.flags & 1) != 0 ? body : childHeaders)));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

// "QUIB", the file's size, version 1 and the CRC of the top-level headers, then the chunks; trailing bytes
// are appended as they are (and counted in the size).
inline Bytes BuildQuibFile(const std::vector<ChunkSpec>& chunks, const Bytes& trailing = {},
                           std::uint16_t version = 1) {
    Bytes body;
    Bytes headers;
    for (const ChunkSpec& spec : chunks) {
        const Bytes built = BuildChunk(spec);
        headers.insert(headers.end(), built.begin(), built.begin() + 20);
        body.insert(body.end(), built.begin(), built.end());
    }
    body.insert(body.end(), trailing.begin(), trailing.end());
    Bytes file = {'Q', 'U', 'I', 'B'};
    PutU64(file, 18 + body.size());
    PutU16(file, version);
    PutU32(file, Crc(headers));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// Tree records in either byte order, the way a hand-made archive spells them.
class TreeRecords {
public:
    explicit TreeRecords(bool bigEndian = true) : m_bigEndian(bigEndian) {}

    TreeRecords& U16(std::uint16_t value) { return Put(value, 2); }
    TreeRecords& U32(std::uint32_t value) { return Put(value, 4); }
    TreeRecords& U64(std::uint64_t value) { return Put(value, 8); }
    TreeRecords& Name(const std::string& name) {
        for (char c : name) {
            U16(static_cast<unsigned char>(c));
        }
        return U16(0);
    }
    TreeRecords& Directory(std::uint32_t attributes, const std::string& name, std::uint64_t size,
                           std::uint32_t children) {
        return U16(1).U32(attributes).Name(name).U64(size).U32(children);
    }
    TreeRecords& File(std::uint32_t attributes, const std::string& name, std::uint64_t size) {
        return U16(2).U32(attributes).Name(name).U64(size).U64(1).U64(2).U64(3);
    }

    Bytes m_bytes;

private:
    TreeRecords& Put(std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (m_bigEndian ? width - 1 - i : i);
            m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
        return *this;
    }

    bool m_bigEndian;
};

} // namespace ArchiveTest
