#include "app/Pacing.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Pacing, TickIsDueOnlyWhenMoreThanASixtiethOfASecondHasPassed) {
    EXPECT_FALSE(tickDue(0, 0));
    EXPECT_FALSE(tickDue(16, 0));
    EXPECT_TRUE(tickDue(17, 0));
    EXPECT_FALSE(tickDue(1016, 1000));
    EXPECT_TRUE(tickDue(1017, 1000));
}

TEST(Pacing, PollingFromAStartAtZeroAcceptsEverySeventeenthMillisecond) {
    int time0 = 0;
    std::vector<int> accepted;
    for (int now = 0; now <= 100; ++now) {
        if (tickDue(now, time0)) {
            accepted.push_back(now);
            time0 = now;
        }
    }
    EXPECT_EQ(accepted, (std::vector<int>{17, 34, 51, 68, 85}));
}
