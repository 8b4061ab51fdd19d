#include "app/Pacing.h"

#include <gtest/gtest.h>

// Idle calls every millisecond: a second of them ticks close to 60 times, never more.
TEST(Pacing, AboutSixtyTicksASecond) {
    int ticks = 0;
    for (int now = 1, lastTick = 0; now <= 1000; ++now) {
        ticks += tickDue(now, lastTick) ? (lastTick = now, 1) : 0;
    }
    EXPECT_TRUE(ticks >= 57 && ticks <= 60) << ticks;
}
