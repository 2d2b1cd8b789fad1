#include "app/ChartAxisScale.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using vantrel::app::ChartAxisScale;

namespace {

TEST(ChartAxisScaleTest, StepsAreOneTwoOrFiveTimesAPowerOfTenAndTheEndsWholeSteps) {
    EXPECT_EQ(ChartAxisScale::forRange(0, 950), (ChartAxisScale{0, 1000, 200}));
    EXPECT_EQ(ChartAxisScale::forRange(-130, 420), (ChartAxisScale{-200, 600, 200}));
    EXPECT_EQ(ChartAxisScale::forRange(12000, 48000), (ChartAxisScale{10000, 50000, 10000}));
    EXPECT_EQ(ChartAxisScale::forRange(420, -130), ChartAxisScale::forRange(-130, 420));
}

TEST(ChartAxisScaleTest, RoundingTheEndsOutwardsNeverGivesMoreTicksThanAllowed) {
    // A step of 20 would need 440..560, seven ticks.
    const ChartAxisScale scale = ChartAxisScale::forRange(450, 550, 6);
    EXPECT_EQ(scale, (ChartAxisScale{450, 550, 50}));
    EXPECT_LE(scale.ticks().size(), 6U);
    for (double high = 1; high < 5000; high *= 1.37) {
        EXPECT_LE(ChartAxisScale::forRange(-high / 3, high, 6).ticks().size(), 6U) << high;
    }
}

TEST(ChartAxisScaleTest, AFlatOrTinyRangeStillGetsAnAxisInWholeUnits) {
    EXPECT_EQ(ChartAxisScale::forRange(0, 0), (ChartAxisScale{-1, 1, 1}));
    EXPECT_EQ(ChartAxisScale::forRange(0, 2), (ChartAxisScale{0, 2, 1}));
    const ChartAxisScale flat = ChartAxisScale::forRange(500, 500);
    EXPECT_LT(flat.minimum, 500);
    EXPECT_GT(flat.maximum, 500);
}

TEST(ChartAxisScaleTest, TicksRunFromMinimumToMaximumAndFractionsPlaceValues) {
    const ChartAxisScale scale{-200, 600, 200};
    EXPECT_THAT(scale.ticks(), ElementsAre(-200, 0, 200, 400, 600));
    EXPECT_DOUBLE_EQ(scale.fraction(-200), 0);
    EXPECT_DOUBLE_EQ(scale.fraction(600), 1);
    EXPECT_DOUBLE_EQ(scale.fraction(0), 0.25);
}

} // namespace
