#include "app/Pacing.h"

#include <gtest/gtest.h>

// Idle calls come every millisecond: a second of them starts close to 60 ticks, never more.
TEST(Pacing, AnIdleCallEveryMillisecondTicksAboutSixtyTimesASecond) {
    int ticks = 0;
    for (int now = 1, lastTick = 0; now <= 1000; ++now) {
        if (tickDue(now, lastTick)) {
            lastTick = now;
            ++ticks;
        }
    }
    EXPECT_GE(ticks, 57);
    EXPECT_LE(ticks, 60);
}
