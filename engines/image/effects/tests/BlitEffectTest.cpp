#include "engines/image/effects/BlitEffect.h"

#include "engines/image/effects/BlitRoutineTable.h"
#include "engines/image/effects/BlitRoutines.h"
#include "engines/image/effects/tests/EffectTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

using F = StandardPixelFormat;

// A record of every format number 0 to 19: the cleared one, the standard ones and 10-10-10 custom masks.
PixelFormat FormatOfNumber(std::uint32_t number) {
    if (number == FormatNumber(F::Other)) {
        PixelFormat format;
        format.SetMasks(7, 0x3FF00000, 0xFFC00, 0x3FF, 0, ExtraChannel());
        return format;
    }
    return PixelFormat(static_cast<StandardPixelFormat>(number));
}

class BlitEffectTest : public EffectTest {};

TEST_F(BlitEffectTest, ThePairsWithRoutinesOfTheirOwn) {
    struct Row {
        F source;
        F destination;
        BlitEffect::Routine routine;
    };
    const Row rows[] = {
        {F::Indexed8, F::Indexed8, &BlitIndexed8To8},
        {F::Indexed8, F::Argb4444, &BlitIndexed8To16},
        {F::Indexed8, F::Rgb565, &BlitIndexed8To16},
        {F::Indexed8, F::Rgb24, &BlitIndexed8To24},
        {F::Indexed8, F::Bgr24, &BlitIndexed8To24},
        {F::Indexed8, F::Xrgb32, &BlitIndexed8To32},
        {F::Indexed8, F::Rgb565Depth16, &BlitIndexed8To32},
        {F::Rgb555, F::Rgb555, &Blit555To555},
        {F::Rgb555, F::Rgb565, &Blit555To565},
        {F::Rgb565, F::Rgb555, &Blit565To555},
        {F::Rgb565, F::Rgb565, &Blit565To565},
        {F::Rgb24, F::Argb1555, &BlitRGB24To16},
        {F::Bgr24, F::Rgb565, &BlitBGR24To16},
        // Everything else between the standard numbers is the generic blit.
        {F::Xrgb32, F::Xrgb32, &BlitGeneric},
        {F::Rgb565, F::Xrgb32, &BlitGeneric},
        {F::Indexed4, F::Xrgb32, &BlitGeneric},
        {F::Argb1555, F::Rgb565, &BlitGeneric},
        {F::Rgb24, F::Rgb24, &BlitGeneric},
        {F::None, F::Rgb565, &BlitGeneric},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(FormatNumber(row.source)) + " -> " +
                     std::to_string(FormatNumber(row.destination)));
        EXPECT_EQ(BlitRoutineTable::Find(FormatNumber(row.source), FormatNumber(row.destination)),
                  row.routine);
        MemoryGraphicHandle destination(4, 4, Format(row.destination));
        MemoryGraphicHandle source(4, 4, Format(row.source));
        BlitEffect effect(&destination, &source);
        EXPECT_TRUE(effect.Set(Point(1, 2), Rect(0, 0, 2, 2), RasterOp::Xor));
        EXPECT_EQ(effect.GetRoutine(), row.routine);
        EXPECT_EQ(effect.GetDestinationRect().left, 1);
        EXPECT_EQ(effect.GetDestinationRect().top, 2);
        EXPECT_EQ(effect.GetSourceRect(), Rect(0, 0, 2, 2));
        EXPECT_EQ(effect.GetOp(), RasterOp::Xor);
    }
}

TEST_F(BlitEffectTest, CustomFormatsAndLostSurfacesTakeTheGenericBlit) {
    EXPECT_EQ(BlitRoutineTable::Find(19, 11), nullptr);
    EXPECT_EQ(BlitRoutineTable::Find(11, 19), nullptr);
    EXPECT_EQ(BlitRoutineTable::Find(20, 11), nullptr);

    MemoryGraphicHandle custom(4, 4, FormatOfNumber(19));
    MemoryGraphicHandle indexed(4, 4, Format(F::Indexed8));
    MemoryGraphicHandle direct(4, 4, Format(F::Rgb565));
    BlitEffect fromCustom(&direct, &custom);
    EXPECT_TRUE(fromCustom.Set(Point(0, 0), Rect(0, 0, 4, 4), RasterOp::Copy));
    EXPECT_EQ(fromCustom.GetRoutine(), &BlitGeneric);

    indexed.SetLost(1);
    BlitEffect fromLost(&direct, &indexed);
    EXPECT_TRUE(fromLost.Set(Point(0, 0), Rect(0, 0, 4, 4), RasterOp::Copy));
    EXPECT_EQ(fromLost.GetRoutine(), &BlitGeneric);
    indexed.SetLost(0);
    direct.SetLost(1);
    BlitEffect toLost(&direct, &indexed);
    EXPECT_TRUE(toLost.Set(Point(0, 0), Rect(0, 0, 4, 4), RasterOp::Copy));
    EXPECT_EQ(toLost.GetRoutine(), &BlitGeneric);
}

TEST_F(BlitEffectTest, ANullHandleRefuses) {
    MemoryGraphicHandle surface(4, 4, Format(F::Rgb565));
    BlitEffect noSource(&surface, nullptr);
    EXPECT_EQ(noSource.GetRoutine(), &BlitEffect::Refuse);
    EXPECT_FALSE(noSource.Set(Point(0, 0), Rect(0, 0, 1, 1), RasterOp::Copy));
    EXPECT_EQ(noSource.GetRoutine(), &BlitEffect::Refuse);
    BlitEffect noDestination(nullptr, &surface);
    EXPECT_FALSE(noDestination.SetRectToRect(Rect(0, 0, 2, 2), Rect(0, 0, 1, 1), RasterOp::Copy));
    EXPECT_FALSE(noDestination.RunIfSet(true));
}

TEST_F(BlitEffectTest, RectangleToRectangleBlitsAnswerFalseForEveryPair) {
    for (std::uint32_t from = 0; from < kPixelFormatCount; ++from) {
        for (std::uint32_t to = 0; to < kPixelFormatCount; ++to) {
            SCOPED_TRACE(std::to_string(from) + " -> " + std::to_string(to));
            MemoryGraphicHandle destination(4, 4, FormatOfNumber(to));
            MemoryGraphicHandle source(2, 2, FormatOfNumber(from));
            std::mt19937 random(from * 20 + to);
            FillRandom(source, random);
            const std::vector<std::uint8_t> before = destination.Memory();
            BlitEffect effect(&destination, &source);
            EXPECT_TRUE(effect.SetRectToRect(Rect(0, 0, 4, 4), Rect(0, 0, 2, 2), RasterOp::Copy));
            EXPECT_EQ(effect.GetDestinationRect(), Rect(0, 0, 4, 4));
            EXPECT_FALSE(effect.Run());
            EXPECT_FALSE(destination.BlitScaled(Rect(0, 0, 4, 4), &source, Rect(0, 0, 2, 2), 3));
            EXPECT_EQ(destination.Memory(), before);
            EXPECT_EQ(destination.LocksAsked(), 0);
        }
    }
}

TEST_F(BlitEffectTest, TheHandleOperationsBlitThroughTheEffect) {
    MemoryGraphicHandle destination(8, 4, Format(F::Rgb565));
    MemoryGraphicHandle source(4, 4, Format(F::Rgb565));
    source.PutPixel(0, 0, 0x1234);
    source.PutPixel(3, 3, 0x4321);
    EXPECT_TRUE(destination.Blit(Point(-1, 0), &source, 3));
    EXPECT_EQ(destination.PixelAt(2, 3), 0x4321u);
    EXPECT_EQ(destination.PixelAt(0, 0), 0u);
    // Equal sizes make a scaled blit an unscaled one.
    EXPECT_TRUE(destination.BlitScaled(Rect(4, 0, 8, 4), &source, Rect(0, 0, 4, 4), 3));
    EXPECT_EQ(destination.PixelAt(4, 0), 0x1234u);
    EXPECT_EQ(destination.GetLockCount(), 0u);
}

TEST_F(BlitEffectTest, ADrawingSuppressedDestinationAnswersFalseThoughSetSucceeded) {
    MemoryGraphicHandle destination(4, 4, Format(F::Rgb565));
    MemoryGraphicHandle source(4, 4, Format(F::Rgb565));
    source.PutPixel(0, 0, 0xFFFF);
    destination.SetReadOnly(true);
    EXPECT_FALSE(destination.BlitRectImpl(Point(0, 0), &source, Rect(0, 0, 4, 4), 3));
    EXPECT_EQ(destination.PixelAt(0, 0), 0u);
    EXPECT_EQ(destination.LocksAsked(), 0);
}

} // namespace
