#include "kinematics.h"
#include <gtest/gtest.h>
TEST(Kinematics, Placeholder) { EXPECT_DOUBLE_EQ(Misc::triangle(10, 6, 0), 10.24); }
