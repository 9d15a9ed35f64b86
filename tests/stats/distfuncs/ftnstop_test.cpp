// The library's fatal stop ends the process with a failure status.
#include "stats/distfuncs/ftnstop.h"

#include <gtest/gtest.h>

namespace {

TEST(Ftnstop, WritesTheMessageAndExitsWithStatusOne) {
  EXPECT_EXIT(numlib::ftnstop("N < 0 in IGNNBN"), ::testing::ExitedWithCode(1),
              "^N < 0 in IGNNBN\n$");
}

TEST(Ftnstop, NullMessagePrintsNothing) {
  EXPECT_EXIT(numlib::ftnstop(nullptr), ::testing::ExitedWithCode(1), "^$");
}

}  // namespace
