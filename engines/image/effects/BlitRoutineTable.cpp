#include "engines/image/effects/BlitRoutineTable.h"

#include "engines/graphics/PixelFormat.h"
#include "engines/image/effects/BlitRoutines.h"

#include <array>

namespace Vemo {

namespace {

using Routine = BlitEffect::Routine;
using Table = std::array<std::array<Routine, kPixelFormatCount>, kPixelFormatCount>;

constexpr std::uint32_t kOther = static_cast<std::uint32_t>(StandardPixelFormat::Other);

constexpr std::uint32_t Number(StandardPixelFormat format) {
    return static_cast<std::uint32_t>(format);
}

// Every pair of numbers 0 to 18 gets the routine; the rows and columns of 19 stay empty.
constexpr Table FilledTable(Routine routine) {
    Table table{};
    for (std::uint32_t source = 0; source < kOther; ++source) {
        for (std::uint32_t destination = 0; destination < kOther; ++destination) {
            table[source][destination] = routine;
        }
    }
    return table;
}

constexpr void Enter(Table& table, StandardPixelFormat source, StandardPixelFormat firstDestination,
                     StandardPixelFormat lastDestination, Routine routine) {
    for (std::uint32_t destination = Number(firstDestination); destination <= Number(lastDestination);
         ++destination) {
        table[Number(source)][destination] = routine;
    }
}

constexpr Table PointBlitTable() {
    using F = StandardPixelFormat;
    Table table = FilledTable(&BlitGeneric);
    Enter(table, F::Indexed8, F::Indexed8, F::Indexed8, &BlitIndexed8To8);
    Enter(table, F::Indexed8, F::Argb4444, F::Rgb565, &BlitIndexed8To16);
    Enter(table, F::Indexed8, F::Rgb24, F::Bgr24, &BlitIndexed8To24);
    Enter(table, F::Indexed8, F::Xrgb32, F::Rgb565Depth16, &BlitIndexed8To32);
    Enter(table, F::Rgb555, F::Rgb555, F::Rgb555, &Blit555To555);
    Enter(table, F::Rgb555, F::Rgb565, F::Rgb565, &Blit555To565);
    Enter(table, F::Rgb565, F::Rgb555, F::Rgb555, &Blit565To555);
    Enter(table, F::Rgb565, F::Rgb565, F::Rgb565, &Blit565To565);
    Enter(table, F::Rgb24, F::Argb4444, F::Rgb565, &BlitRGB24To16);
    Enter(table, F::Bgr24, F::Argb4444, F::Rgb565, &BlitBGR24To16);
    return table;
}

constinit const Table kPointBlits = PointBlitTable();
constinit const Table kRectToRectBlits = FilledTable(&BlitEffect::Refuse);

Routine Lookup(const Table& table, std::uint32_t source, std::uint32_t destination) {
    if (source >= kPixelFormatCount || destination >= kPixelFormatCount) {
        return nullptr;
    }
    return table[source][destination];
}

} // namespace

BlitEffect::Routine BlitRoutineTable::Find(std::uint32_t sourceFormat, std::uint32_t destinationFormat) {
    return Lookup(kPointBlits, sourceFormat, destinationFormat);
}

BlitEffect::Routine BlitRoutineTable::FindRectToRect(std::uint32_t sourceFormat,
                                                     std::uint32_t destinationFormat) {
    return Lookup(kRectToRectBlits, sourceFormat, destinationFormat);
}

} // namespace Vemo
