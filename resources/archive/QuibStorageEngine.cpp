#include "resources/archive/QuibStorageEngine.h"

#include "resources/CreateThrough.h"
#include "resources/archive/QuibChunk.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace Vemo {

QuibStorageEngine::QuibStorageEngine(std::uint32_t typeId, const String& name)
    : StorageEngine(typeId, name) {}

QuibStorageEngine::~QuibStorageEngine() = default;

QuibStorageEngine* QuibStorageEngine::Create(QuibStorageEngine* engine) {
    QuibStorageEngine* created = CreateThrough(
        engine, [] { return new QuibStorageEngine(kQuibStorageTypeId, "Quib Storage Engine"); },
        &StorageEngine::Create);
    if (created != nullptr) {
        created->m_extension = ".qib";
    }
    return created;
}

bool QuibStorageEngine::MoveInSteps(std::uint64_t source, std::uint64_t destination, std::uint64_t count,
                                    void* context, StepReader read, StepWriter write) {
    if (source == destination || count == 0) {
        return true;
    }
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(count, kMoveStep)));
    if (destination < source) {
        for (std::uint64_t done = 0; done < count;) {
            const std::uint64_t step = std::min(count - done, kMoveStep);
            if (!read(context, source + done, step, buffer.data()) ||
                !write(context, destination + done, step, buffer.data())) {
                return false;
            }
            done += step;
        }
        return true;
    }
    for (std::uint64_t left = count; left > 0;) {
        const std::uint64_t step = std::min(left, kMoveStep);
        left -= step;
        if (!read(context, source + left, step, buffer.data()) ||
            !write(context, destination + left, step, buffer.data())) {
            return false;
        }
    }
    return true;
}

QuibStorageEngine::QuibChunkIdent::~QuibChunkIdent() = default;

String QuibStorageEngine::QuibChunkIdent::Text() const {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u", static_cast<unsigned>(m_family), static_cast<unsigned>(m_type));
    return String(text);
}

bool QuibStorageEngine::PositionLess::operator()(const QuibChunk* a, const QuibChunk* b) const {
    return a->Position() < b->Position();
}

} // namespace Vemo
