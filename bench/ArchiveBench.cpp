// Reading a 64 MiB file stored in a Monolith archive against the same bytes in a plain file, both through the
// File front-end; and the CRC-32 of the archives, byte by byte through the table and in blocks.
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/Volume.h"
#include "resources/archive/CRC32.h"
#include "resources/testing/TemporaryDriveStorage.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::uint64_t kFileSize = 64ull * 1024 * 1024;
constexpr std::uint64_t kReadStep = 1024 * 1024;

std::vector<std::uint8_t> Content(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t seed = 0x12345678;
    for (std::uint8_t& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(seed >> 24);
    }
    return bytes;
}

// The temporary drive C: (HD0) holding plain.raw and bench.qib (whose root holds plain.raw too). Made once
// and kept for the whole run.
class Storage : public TemporaryDriveStorage {
public:
    Storage() : TemporaryDriveStorage("vemo-bench-") {
        const std::vector<std::uint8_t> content = Content(kFileSize);
        WriteFile("plain.raw", content.data(), content.size());
        const Vemo::String archiveName("bench");
        m_archive.Open(&archiveName, &Host(), true);
        m_archiveRoot.OpenRoot(m_archive);
        Vemo::File stored;
        const Vemo::String name("plain.raw");
        const Vemo::AccessStyle writing(true, true, false, false);
        if (!stored.Open(&name, m_archiveRoot, &writing, true) || !stored.SetSize(kFileSize)) {
            std::abort();
        }
        if (Vemo::AccessStatus* written = stored.WriteAt(0, kFileSize, content.data())) {
            written->Release();
        }
    }

    Vemo::Directory& ArchiveRoot() { return m_archiveRoot; }

private:
    Vemo::Volume m_archive;
    Vemo::Directory m_archiveRoot;
};

Storage& SharedStorage() {
    static Storage* storage = new Storage;
    return *storage;
}

void ReadWholeFile(benchmark::State& state, Vemo::Directory& directory) {
    Vemo::File file;
    const Vemo::String name("plain.raw");
    if (!file.Open(&name, directory, nullptr, false) || file.Size() != kFileSize) {
        state.SkipWithError("the file cannot be opened");
        return;
    }
    std::vector<std::uint8_t> buffer(kReadStep);
    for (auto _ : state) {
        for (std::uint64_t position = 0; position < kFileSize; position += kReadStep) {
            Vemo::AccessStatus* read = file.ReadAt(position, kReadStep, buffer.data());
            if (read == nullptr || read->m_count != kReadStep) {
                state.SkipWithError("short read");
                return;
            }
            read->Release();
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kFileSize));
}

void BM_ReadPlainFile(benchmark::State& state) {
    ReadWholeFile(state, SharedStorage().Host());
}
BENCHMARK(BM_ReadPlainFile)->Unit(benchmark::kMillisecond);

void BM_ReadFileInMonolithArchive(benchmark::State& state) {
    ReadWholeFile(state, SharedStorage().ArchiveRoot());
}
BENCHMARK(BM_ReadFileInMonolithArchive)->Unit(benchmark::kMillisecond);

const std::vector<std::uint8_t>& CrcInput() {
    static const std::vector<std::uint8_t> input = Content(16 * 1024 * 1024);
    return input;
}

// One byte at a time through the 256-entry table.
void BM_Crc32Table(benchmark::State& state) {
    const std::vector<std::uint8_t>& input = CrcInput();
    for (auto _ : state) {
        CRC32 crc;
        for (std::uint8_t byte : input) {
            crc.Update(byte);
        }
        benchmark::DoNotOptimize(crc.Result());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_Crc32Table)->Unit(benchmark::kMillisecond);

// Whole blocks, as every checksum of the archives is computed.
void BM_Crc32Blocks(benchmark::State& state) {
    const std::vector<std::uint8_t>& input = CrcInput();
    for (auto _ : state) {
        CRC32 crc;
        crc.Update(input.data(), input.size());
        benchmark::DoNotOptimize(crc.Result());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_Crc32Blocks)->Unit(benchmark::kMillisecond);

} // namespace
