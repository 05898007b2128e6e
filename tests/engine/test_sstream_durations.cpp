#include <gtest/gtest.h>

#include "engine/VXN_sstream.h"

namespace {

TEST(SStreamDurations, AdjustMovesTimeFromFlaggedStates) {
  float d[5] = {10.0f, 10.0f, 10.0f, 10.0f, 10.0f};
  const int flags[5] = {1, 0, 1, 1, 0};
  // Two flagged states with 20 whole frames: the three others share 60 % of
  // them, the flagged ones keep 40 % of their own.
  VXN_SStream_AdjustDuration(d, flags, 5, 2, 20);
  const float want[5] = {14.0f, 4.0f, 14.0f, 14.0f, 4.0f};
  for (int s = 0; s < 5; s++) EXPECT_FLOAT_EQ(d[s], want[s]) << "state " << s;
}

TEST(SStreamDurations, AdjustNeedsSomeButNotAllStatesFlagged) {
  const int none[5] = {1, 1, 1, 1, 1};
  const int all[5] = {0, 0, 0, 0, 0};
  float d[5] = {3.0f, 4.0f, 5.0f, 6.0f, 7.0f};
  VXN_SStream_AdjustDuration(d, none, 5, 0, 0);
  VXN_SStream_AdjustDuration(d, all, 5, 5, 25);
  for (int s = 0; s < 5; s++) EXPECT_FLOAT_EQ(d[s], 3.0f + s);
}

TEST(SStreamDurations, AdjustCanLeaveAStateWithoutFrames) {
  // One frame, flagged: 0.4 of it truncates to 0 frames.
  float d[5] = {1.0f, 3.0f, 3.0f, 3.0f, 3.0f};
  const int flags[5] = {0, 1, 1, 1, 1};
  VXN_SStream_AdjustDuration(d, flags, 5, 1, 1);
  EXPECT_EQ((int)d[0], 0);
  EXPECT_FLOAT_EQ(d[1], 3.15f);
}

TEST(SStreamDurations, PauseDeletionKeepsOneFrame) {
  float d[5] = {4.0f, 5.0f, 6.0f, 7.0f, 8.0f};
  VXN_SStream_DeleteStartPause(d, 5);
  const float start[5] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
  for (int s = 0; s < 5; s++) EXPECT_EQ(d[s], start[s]);
  float e[5] = {4.0f, 5.0f, 6.0f, 7.0f, 8.0f};
  VXN_SStream_DeleteEndPause(e, 5);
  const float end[5] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  for (int s = 0; s < 5; s++) EXPECT_EQ(e[s], end[s]);
  VXN_SStream_SetDurationZero(e, 5);
  for (int s = 0; s < 5; s++) EXPECT_EQ(e[s], 0.0f);
}

}  // namespace
