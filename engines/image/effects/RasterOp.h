// The sixteen raster operations by which every effect combines a source value s (the drawing colour, or a
// source pixel, in the destination's pixel format) with the destination pixel d. Only the bits of the pixel's
// width are written, so ApplyRasterOp works on whole words and its callers keep the bits they need: the
// operations are bitwise, so the 24-bit ones come out bytewise, and Set gives all ones of the pixel's width.
#pragma once

#include <cstdint>
#include <type_traits>

namespace Vemo {

enum class RasterOp : std::uint32_t {
    Clear = 0,         // 0
    And = 1,           // s AND d
    AndReverse = 2,    // s AND NOT d
    Copy = 3,          // s
    AndInverted = 4,   // NOT s AND d
    NoOp = 5,          // d; the routines return at once without locking
    Xor = 6,           // s XOR d
    Or = 7,            // s OR d
    Nor = 8,           // NOT (s OR d)
    Equiv = 9,         // NOT (s XOR d)
    Invert = 10,       // NOT d
    OrReverse = 11,    // s OR NOT d
    CopyInverted = 12, // NOT s
    OrInverted = 13,   // NOT s OR d
    Nand = 14,         // NOT (s AND d)
    Set = 15,          // all ones
};

inline constexpr std::uint32_t kRasterOpCount = 16;

constexpr bool IsValidRasterOp(RasterOp op) {
    return static_cast<std::uint32_t>(op) < kRasterOpCount;
}

// On words, or on the compiler's vectors of them (a chunk of pixels at once).
template <class Value>
constexpr Value ApplyRasterOp(RasterOp op, Value s, std::type_identity_t<Value> d) {
    switch (op) {
    case RasterOp::Clear:
        return Value{};
    case RasterOp::And:
        return s & d;
    case RasterOp::AndReverse:
        return s & ~d;
    case RasterOp::Copy:
        return s;
    case RasterOp::AndInverted:
        return ~s & d;
    case RasterOp::NoOp:
        return d;
    case RasterOp::Xor:
        return s ^ d;
    case RasterOp::Or:
        return s | d;
    case RasterOp::Nor:
        return ~(s | d);
    case RasterOp::Equiv:
        return ~(s ^ d);
    case RasterOp::Invert:
        return ~d;
    case RasterOp::OrReverse:
        return s | ~d;
    case RasterOp::CopyInverted:
        return ~s;
    case RasterOp::OrInverted:
        return ~s | d;
    case RasterOp::Nand:
        return ~(s & d);
    case RasterOp::Set:
        return ~Value{};
    }
    return d;
}

// Whether the operation reads the destination pixel.
constexpr bool ReadsDestination(RasterOp op) {
    return op != RasterOp::Clear && op != RasterOp::Copy && op != RasterOp::CopyInverted &&
           op != RasterOp::Set;
}

// Calls visit.template operator()<op>() with the operation as a constant, so that a routine's pixel loop is
// compiled once per operation and carries no test of it; an operation above 15 answers false unvisited.
template <class Visitor>
bool VisitRasterOp(RasterOp op, Visitor&& visit) {
    switch (op) {
    case RasterOp::Clear:
        return visit.template operator()<RasterOp::Clear>();
    case RasterOp::And:
        return visit.template operator()<RasterOp::And>();
    case RasterOp::AndReverse:
        return visit.template operator()<RasterOp::AndReverse>();
    case RasterOp::Copy:
        return visit.template operator()<RasterOp::Copy>();
    case RasterOp::AndInverted:
        return visit.template operator()<RasterOp::AndInverted>();
    case RasterOp::NoOp:
        return visit.template operator()<RasterOp::NoOp>();
    case RasterOp::Xor:
        return visit.template operator()<RasterOp::Xor>();
    case RasterOp::Or:
        return visit.template operator()<RasterOp::Or>();
    case RasterOp::Nor:
        return visit.template operator()<RasterOp::Nor>();
    case RasterOp::Equiv:
        return visit.template operator()<RasterOp::Equiv>();
    case RasterOp::Invert:
        return visit.template operator()<RasterOp::Invert>();
    case RasterOp::OrReverse:
        return visit.template operator()<RasterOp::OrReverse>();
    case RasterOp::CopyInverted:
        return visit.template operator()<RasterOp::CopyInverted>();
    case RasterOp::OrInverted:
        return visit.template operator()<RasterOp::OrInverted>();
    case RasterOp::Nand:
        return visit.template operator()<RasterOp::Nand>();
    case RasterOp::Set:
        return visit.template operator()<RasterOp::Set>();
    }
    return false;
}

} // namespace Vemo
