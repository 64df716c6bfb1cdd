// The shape of the per-operation routine tables of the line, vertical-line and span effects: one row per
// depth code 0 to 7 and one column per raster operation, 128 entries indexed depth x 16 + operation, built as
// constant data from a function template entry<depth, op>() that names each entry's routine.
#pragma once

#include "engines/graphics/DepthCode.h"
#include "engines/image/effects/RasterOp.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace Vemo {

inline constexpr std::uint32_t kDepthCodeCount = 8;
inline constexpr std::size_t kEffectTableSize = kDepthCodeCount * kRasterOpCount;

template <class Routine, class Entry, std::size_t... Index>
constexpr std::array<Routine, kEffectTableSize> MakeEffectTable(Entry entry, std::index_sequence<Index...>) {
    return {entry.template operator()<static_cast<DepthCode>(Index / kRasterOpCount),
                                      static_cast<RasterOp>(Index % kRasterOpCount)>()...};
}

template <class Routine, class Entry>
constexpr std::array<Routine, kEffectTableSize> MakeEffectTable(Entry entry) {
    return MakeEffectTable<Routine>(entry, std::make_index_sequence<kEffectTableSize>());
}

// The entry for the depth and operation, or null when either lies outside the table.
template <class Routine>
Routine FindEffectRoutine(const std::array<Routine, kEffectTableSize>& table, DepthCode depth, RasterOp op) {
    if (depth >= kDepthCodeCount || !IsValidRasterOp(op)) {
        return nullptr;
    }
    return table[depth * kRasterOpCount + static_cast<std::uint32_t>(op)];
}

} // namespace Vemo
