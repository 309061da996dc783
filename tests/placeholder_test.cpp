#include <gtest/gtest.h>
TEST(Build, HostTestsLink) { SUCCEED(); }
