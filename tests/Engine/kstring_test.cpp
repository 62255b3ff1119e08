#include "Engine/kstring.h"
#include <gtest/gtest.h>
TEST(Kstring, Smoke) { EXPECT_EQ(kstring("0.1.7").token(".", 3), "7"); }
