// The storage engine class of the ".qib" chunk file format, and the machinery over that format that the
// Monolith engine does all its byte work with: QuibFile binds one ".qib" file and moves its bytes, QuibChunk
// is one open chunk of it, QuibChunkIdent names a chunk.
//
// The format: an 18-byte file header ("QUIB", file size u64, version u16 = 1, CRC u32 of the top-level chunk
// headers), then top-level chunks that fill the rest of the file exactly. A chunk is a 20-byte header (family
// u16, type u16, size u64 including the header, flags u32, CRC u32) and its data area. Flag bit 0 marks a
// data chunk, whose CRC covers its data; any other chunk is a container whose data area is its children, back
// to back, and whose CRC covers their headers. All numbers are big-endian. No free space, padding or table
// exists: every chunk starts where the one before it ends.
#pragma once

#include "foundation/String.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/storage/StorageEngine.h"

#include <cstdint>

namespace Vemo {

inline constexpr ErrorCode QuibErrAlreadyBound = MakeErrorCode(kQuibStorageEngineFacility, 1);
inline constexpr ErrorCode QuibErrOpenFailed = MakeErrorCode(kQuibStorageEngineFacility, 2);
inline constexpr ErrorCode QuibErrBadHeader = MakeErrorCode(kQuibStorageEngineFacility, 3);
inline constexpr ErrorCode QuibErrNoFile = MakeErrorCode(kQuibStorageEngineFacility, 4);
inline constexpr ErrorCode QuibErrReserved5 = MakeErrorCode(kQuibStorageEngineFacility, 5);
inline constexpr ErrorCode QuibErrCreateFailed = MakeErrorCode(kQuibStorageEngineFacility, 6);
inline constexpr ErrorCode QuibErrReserved7 = MakeErrorCode(kQuibStorageEngineFacility, 7);
inline constexpr ErrorCode QuibErrNotFound = MakeErrorCode(kQuibStorageEngineFacility, 8);
inline constexpr ErrorCode QuibErrNotAContainer = MakeErrorCode(kQuibStorageEngineFacility, 9);
inline constexpr ErrorCode QuibErrNotOpenHere = MakeErrorCode(kQuibStorageEngineFacility, 10);
inline constexpr ErrorCode QuibErrMoveFailed = MakeErrorCode(kQuibStorageEngineFacility, 11);
inline constexpr ErrorCode QuibErrReserved12 = MakeErrorCode(kQuibStorageEngineFacility, 12);
inline constexpr ErrorCode QuibErrAccessFailed = MakeErrorCode(kQuibStorageEngineFacility, 13);
inline constexpr ErrorCode QuibErrStateFlag = MakeErrorCode(kQuibStorageEngineFacility, 14);
inline constexpr ErrorCode QuibErrBeyondEnd = MakeErrorCode(kQuibStorageEngineFacility, 15);
inline constexpr ErrorCode QuibErrResizeFailed = MakeErrorCode(kQuibStorageEngineFacility, 16);
inline constexpr ErrorCode QuibErrRemoveFailed = MakeErrorCode(kQuibStorageEngineFacility, 17);
inline constexpr ErrorCode QuibErrChildOpen = MakeErrorCode(kQuibStorageEngineFacility, 18);
inline constexpr ErrorCode QuibErrBadLayout = MakeErrorCode(kQuibStorageEngineFacility, 19);
inline constexpr ErrorCode QuibErrCrcMismatch = MakeErrorCode(kQuibStorageEngineFacility, 20);

class QuibStorageEngine : public StorageEngine {
public:
    class QuibChunkIdent;
    class PositionLess;
    class QuibFile;
    class QuibChunk;

    static constexpr std::uint32_t kFileHeaderSize = 18;
    static constexpr std::uint32_t kChunkHeaderSize = 20;
    static constexpr std::uint16_t kVersion = 1;
    static constexpr std::uint32_t kDataChunk = 1;
    // Moves copy through a buffer of at most this many bytes a step, checksums read at most kCrcStep at once.
    static constexpr std::uint64_t kMoveStep = 0x20000;
    static constexpr std::uint64_t kCrcStep = 0x100000;
    // The "none" value of a chunk's position and of a search's start offset.
    static constexpr std::uint64_t kNoOffset = ~std::uint64_t{0};
    // Containers nested deeper than this are refused by verification, so that a crafted file cannot exhaust
    // the stack.
    static constexpr std::uint32_t kMaxContainerDepth = 512;

    QuibStorageEngine(std::uint32_t typeId, const String& name);
    ~QuibStorageEngine() override;

    // Given null, makes the "Quib Storage Engine". Runs the storage engine factory on the engine and gives it
    // the extension ".qib"; null when that fails (an engine made here is deleted again).
    static QuibStorageEngine* Create(QuibStorageEngine* engine = nullptr);

    const String& GetExtension() const { return m_extension; }

protected:
    String m_extension;

private:
    using StepReader = bool (*)(void* context, std::uint64_t offset, std::uint64_t count,
                                std::uint8_t* buffer);
    using StepWriter = bool (*)(void* context, std::uint64_t offset, std::uint64_t count,
                                const std::uint8_t* buffer);

    // Moves count bytes from source to destination through one buffer of at most kMoveStep bytes, front first
    // when moving down and back first when moving up, so that overlapping ranges come out right.
    static bool MoveInSteps(std::uint64_t source, std::uint64_t destination, std::uint64_t count,
                            void* context, StepReader read, StepWriter write);
};

// A chunk's name: family and type. In searches a 0 in either half matches anything.
class QuibStorageEngine::QuibChunkIdent {
public:
    QuibChunkIdent(std::uint16_t family = 0, std::uint16_t type = 0) : m_family(family), m_type(type) {}
    QuibChunkIdent(const QuibChunkIdent&) = default;
    QuibChunkIdent& operator=(const QuibChunkIdent&) = default;
    virtual ~QuibChunkIdent();

    bool Matches(std::uint16_t family, std::uint16_t type) const {
        return (m_family == 0 || m_family == family) && (m_type == 0 || m_type == type);
    }
    // As error texts show it: family, full stop, type, both in decimal ("1.5").
    String Text() const;

    std::uint16_t m_family;
    std::uint16_t m_type;
};

// Orders open chunks by their position in their container.
class QuibStorageEngine::PositionLess {
public:
    bool operator()(const QuibChunk* a, const QuibChunk* b) const;
};

} // namespace Vemo
