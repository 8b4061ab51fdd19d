#include "app/Pacing.h"

#include <gtest/gtest.h>

TEST(Pacing, TickIsDueOnlyWhenMoreThanASixtiethOfASecondHasPassed) {
    EXPECT_FALSE(tickDue(1016, 1000));
    EXPECT_TRUE(tickDue(1017, 1000));
}
