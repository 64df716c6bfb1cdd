// Opens arbitrary bytes as a ".qib" file and walks every chunk it can reach: the top level, every container's
// children, every data chunk's bytes; then verifies the file and changes it (header updates, a new child that
// is written past its end, resized and removed, a data chunk grown and cut). Nothing may crash, hang or
// touch memory it does not own, whatever the sizes in the headers say.
#include "resources/archive/QuibFile.h"
#include "fuzz/ArchiveFuzzStorage.h"
#include "resources/archive/QuibChunk.h"
#include "resources/storage/AccessStatus.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using QuibFile = Vemo::QuibStorageEngine::QuibFile;
using QuibChunk = Vemo::QuibStorageEngine::QuibChunk;
using Ident = Vemo::QuibStorageEngine::QuibChunkIdent;
using Chunks = std::vector<std::unique_ptr<QuibChunk>>;

constexpr std::uint64_t kNone = Vemo::QuibStorageEngine::kNoOffset;
constexpr int kMaxWalkDepth = 24;

void Walk(QuibChunk& chunk, int depth);

void ReadData(QuibChunk& chunk) {
    std::uint8_t buffer[4096];
    for (std::uint64_t offset = chunk.CurrentOffset(); offset < chunk.Size(); offset += sizeof buffer) {
        if (Vemo::AccessStatus* record = chunk.Read(nullptr, offset, sizeof buffer, buffer)) {
            record->Release();
        }
    }
}

// Every child of a container, found one after the other with a wildcard ident.
Chunks Children(QuibChunk& container, int depth) {
    Chunks children;
    QuibChunk* after = nullptr;
    while (true) {
        auto child = std::make_unique<QuibChunk>(&container, Ident(0, 0), 0);
        if (!container.FindChild(child.get(), after, kNone)) {
            break;
        }
        Walk(*child, depth + 1);
        after = child.get();
        children.push_back(std::move(child));
    }
    return children;
}

void Walk(QuibChunk& chunk, int depth) {
    chunk.FileOffset();
    chunk.Remaining();
    if (chunk.IsDataChunk()) {
        ReadData(chunk);
    } else if (depth < kMaxWalkDepth) {
        Children(chunk, depth);
    }
}

void Change(QuibFile& file, QuibChunk& chunk) {
    static const std::uint8_t kBytes[64] = {1, 2, 3, 4, 5, 6, 7, 8};
    chunk.UpdateHeader();
    if (chunk.IsDataChunk()) {
        chunk.Write(nullptr, chunk.Size(), sizeof kBytes, kBytes);
        chunk.SetSize(std::min<std::uint64_t>(chunk.Remaining(), 3));
    } else {
        QuibChunk child(&chunk, Ident(7, 7), 1);
        if (child.Open(true, nullptr, kNone)) {
            child.Write(nullptr, 20, sizeof kBytes, kBytes);
            child.UpdateHeader();
            chunk.ResizeChild(&child, 30);
            const std::uint64_t offset = child.Position() - chunk.CurrentOffset();
            chunk.RemoveChildAt(offset);
        }
    }
    file.UpdateHeader();
    file.Verify();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ArchiveFuzzStorage::Instance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ArchiveFuzzStorage& storage = ArchiveFuzzStorage::Instance();
    storage.WriteFile("fuzz.qib", data, size);
    QuibFile file;
    if (!file.Open(storage.Host(), Vemo::String("fuzz"), false)) {
        return 0;
    }
    file.Verify();
    Chunks top;
    QuibChunk* after = nullptr;
    while (true) {
        auto chunk = std::make_unique<QuibChunk>(&file, Ident(0, 0), 0);
        if (!file.FindChunk(chunk.get(), after, kNone)) {
            break;
        }
        Walk(*chunk, 0);
        after = chunk.get();
        top.push_back(std::move(chunk));
    }
    if (!top.empty()) {
        Change(file, *top.front());
    }
    return 0;
}
