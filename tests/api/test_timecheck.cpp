#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "api/VXN_TimeCheck.h"
#include "include/vxn_engine.h"

namespace {

std::string read_log() {
  std::ifstream in(CVxnTimeCheck::kLogName);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(TimeCheck, DisabledDoesNothing) {
  remove(CVxnTimeCheck::kLogName);
  CVxnTimeCheck timer;
  EXPECT_EQ(timer.GetStartTimeTick(0), 0u);
  EXPECT_EQ(timer.GetTimeDuration(0), 0.0f);
  timer.WriteLog(0, 0, 1.0f);
  EXPECT_NE(access(CVxnTimeCheck::kLogName, F_OK), 0);
}

TEST(TimeCheck, StagesAppendToLog) {
  remove(CVxnTimeCheck::kLogName);
  CVxnTimeCheck timer;
  EXPECT_GT(timer.GetStartTimeTick(1), 0u);
  usleep(20000);
  const float seconds = timer.GetTimeDuration(1);
  EXPECT_GE(seconds, 0.015f);
  EXPECT_LT(seconds, 5.0f);
  timer.WriteLog(1, 0, 0.25f);
  timer.WriteLog(1, 1, 0.5f);
  timer.WriteLog(1, 2, 1.0f);
  timer.WriteLog(1, 3, 2.0f);
  EXPECT_EQ(read_log(),
            "------------------------------------------------\n"
            "Input text : start\n"
            "Model loading\t\t : 0.250 sec\n"
            "Parameter Loading\t : 0.500 sec\n"
            "Parameter Generation : 1.000 sec\n"
            "Speech Generation\t : 2.000 sec\n");
  // Selecting a language with the timing log on starts a fresh log.
  CVxnSynth synth;
  ASSERT_EQ(synth.VXNSetLanguage(1, 1), 1);
  EXPECT_NE(access(CVxnTimeCheck::kLogName, F_OK), 0);
  synth.VXNFree();
}

}  // namespace
