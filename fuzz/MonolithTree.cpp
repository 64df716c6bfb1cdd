// Reads a Monolith tree from arbitrary bytes: the first byte's bit 0 chooses a little-endian tree, the rest
// is the tree payload. A tree that loads is listed, searched and measured, and must write back to bytes that
// load again and write back to the very same bytes.
#include "foundation/BasicList.h"
#include "resources/archive/MonolithTreeChunk.h"
#include "resources/archive/MonolithTreeDirectory.h"
#include "resources/archive/MonolithTreeFile.h"
#include "resources/archive/Stream.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/StorageFlags.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using TreeChunk = Vemo::MonolithStorageEngine::MonolithTreeChunk;
using TreeDirectory = Vemo::MonolithStorageEngine::MonolithTreeDirectory;
using TreeEntry = Vemo::MonolithStorageEngine::MonolithTreeEntry;
using TreeFile = Vemo::MonolithStorageEngine::MonolithTreeFile;

std::vector<std::uint8_t> Written(const TreeChunk& tree) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(tree.Root()->RecordSize()));
    Vemo::Stream stream(bytes.data(), bytes.size(), !tree.IsLittleEndian());
    if (!tree.Root()->Write(stream) || stream.Position() != bytes.size()) {
        std::abort();
    }
    return bytes;
}

void Explore(const TreeDirectory& directory) {
    Vemo::StorageFlags access;
    access.m_readable = 1;
    Vemo::BasicList<Vemo::Descriptor*> list;
    directory.List(Vemo::String("*"), list, access);
    for (Vemo::Descriptor* descriptor : list) {
        delete descriptor;
    }
    std::uint32_t index = 0;
    for (const TreeEntry* child : directory.GetChildren()) {
        directory.ChildOffset(index++);
        std::uint32_t found = 0;
        TreeDirectory* subdirectory = nullptr;
        TreeFile* file = nullptr;
        directory.FindDirectory(child->Name(), found, subdirectory);
        directory.FindFile(child->Name(), found, file);
        if (const auto* inner = dynamic_cast<const TreeDirectory*>(child)) {
            Explore(*inner);
        }
    }
    directory.ChildOffset(index + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::vector<std::uint8_t> payload(data + 1, data + size);
    TreeChunk tree(nullptr);
    tree.SetLittleEndian((data[0] & 1) != 0);
    if (!tree.LoadPayload(payload.data(), payload.size())) {
        return 0;
    }
    Explore(*tree.Root());

    std::vector<std::uint8_t> written = Written(tree);
    TreeChunk again(nullptr);
    again.SetLittleEndian(tree.IsLittleEndian());
    if (!again.LoadPayload(written.data(), written.size()) || Written(again) != written) {
        std::abort();
    }
    tree.Root()->RecomputeSizes();
    return 0;
}
