#include <gtest/gtest.h>

#include <string>

#include "engine/VXN_label.h"

namespace {

class LabelSequence : public ::testing::Test {
 protected:
  void SetUp() override {
    g_nStatePrint = 3;
    VXN_Label_initialize(&label_);
  }
  void TearDown() override {
    VXN_Label_clear(&label_);
    g_nStatePrint = 2;
  }
  void load_list(std::initializer_list<const char*> lines) {
    std::vector<char*> v;
    for (const char* s : lines) v.push_back(const_cast<char*>(s));
    VXN_Label_load_from_string_list(&label_, 24000, 120, v.data(), (int)v.size());
  }
  VXN_Label label_;
};

TEST_F(LabelSequence, ListPauseClasses) {
  load_list({"x^x-#s+a=b", "x^x-#l+a=b", "x^x-#e+a=b", "x^x-a+b=c", "x^#-pau+a"});
  ASSERT_EQ(VXN_Label_get_size(&label_), 5);
  EXPECT_EQ(VXN_Label_get_dur_rate(&label_, 0), 2);
  EXPECT_EQ(VXN_Label_get_dur_rate(&label_, 1), 3);
  EXPECT_EQ(VXN_Label_get_dur_rate(&label_, 2), 4);
  EXPECT_EQ(VXN_Label_get_dur_rate(&label_, 3), 1);
  EXPECT_EQ(VXN_Label_get_dur_rate(&label_, 4), 1);  // a '#' elsewhere is no pause mark
  EXPECT_EQ(VXN_Label_get_frame_specified_flag(&label_, 3), 0);
}

TEST_F(LabelSequence, TimedListElementsBecomeFrames) {
  // 0.05 s = 500000 units of 100 ns = 10 frames of 5 ms.
  load_list({"1000 501000 a^b-c+d=e", "0 100 x", "untimed with blanks"});
  ASSERT_EQ(VXN_Label_get_size(&label_), 3);
  EXPECT_STREQ(VXN_Label_get_string(&label_, 0), "a^b-c+d=e");
  EXPECT_EQ(VXN_Label_get_frame_specified_flag(&label_, 0), 1);
  EXPECT_FLOAT_EQ(VXN_Label_get_frame(&label_, 0), 10.0f);
  EXPECT_FLOAT_EQ(VXN_Label_get_frame(&label_, 1), 1.0f);
  EXPECT_STREQ(VXN_Label_get_string(&label_, 2), "untimed with blanks");
}

TEST_F(LabelSequence, ListStopsAtNonGraphicElement) {
  load_list({"a", "b", " c", "d"});
  EXPECT_EQ(VXN_Label_get_size(&label_), 2);
}

TEST_F(LabelSequence, StringLoaderMixesTimedAndUntimed) {
  VXN_Label_load_from_string(&label_, 24000, 120, "0 100 a b c");
  ASSERT_EQ(VXN_Label_get_size(&label_), 3);
  EXPECT_STREQ(VXN_Label_get_string(&label_, 0), "a");
  EXPECT_EQ(VXN_Label_get_frame_specified_flag(&label_, 0), 1);
  EXPECT_FLOAT_EQ(VXN_Label_get_frame(&label_, 0), 1.0f);
  EXPECT_STREQ(VXN_Label_get_string(&label_, 1), "b");
  EXPECT_EQ(VXN_Label_get_frame_specified_flag(&label_, 2), 0);
  // Timed entry whose end precedes its start still lasts one frame.
  VXN_Label_clear(&label_);
  VXN_Label_load_from_string(&label_, 24000, 120, "900000 0 z");
  EXPECT_FLOAT_EQ(VXN_Label_get_frame(&label_, 0), 1.0f);
}

TEST_F(LabelSequence, StreamLoaderMarksPauses) {
  FILE* fp = tmpfile();
  fputs("x^x-#+a=b\nx^#-a+b=c\n", fp);
  rewind(fp);
  VXN_Label_load_from_fp(&label_, 24000, 120, fp);
  fclose(fp);
  ASSERT_EQ(VXN_Label_get_size(&label_), 2);
  EXPECT_EQ(VXN_Label_get_dur_rate(&label_, 0), 2);
  EXPECT_EQ(VXN_Label_get_dur_rate(&label_, 1), 1);
}

TEST_F(LabelSequence, LoadingIntoNonEmptySequenceAppendsAndReports) {
  load_list({"a"});
  g_nStatePrint = 2;
  testing::internal::CaptureStderr();
  load_list({"b"});
  EXPECT_NE(testing::internal::GetCapturedStderr().find("label list is not initialized"),
            std::string::npos);
  EXPECT_EQ(VXN_Label_get_size(&label_), 2);
  testing::internal::CaptureStderr();
  VXN_Label_load_from_string(&label_, 24000, 120, "c");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("error [2010]"), std::string::npos);
  EXPECT_EQ(VXN_Label_get_size(&label_), 3);
}

TEST_F(LabelSequence, SpeedFramesAndOutOfRangeGetters) {
  VXN_Label_set_speech_speed(&label_, 0.0f);
  VXN_Label_set_speech_speed(&label_, -1.0f);
  VXN_Label_set_speech_speed(&label_, 10.5f);
  EXPECT_FLOAT_EQ(VXN_Label_get_speech_speed(&label_), 1.0f);
  VXN_Label_set_speech_speed(&label_, 10.0f);
  EXPECT_FLOAT_EQ(VXN_Label_get_speech_speed(&label_), 10.0f);

  load_list({"a", "b"});
  VXN_Label_set_frame(&label_, 1, 4.5f);
  EXPECT_EQ(VXN_Label_get_frame_specified_flag(&label_, 1), 1);
  VXN_Label_set_frame(&label_, 1, -1.0f);
  EXPECT_EQ(VXN_Label_get_frame_specified_flag(&label_, 1), 0);
  VXN_Label_set_frame(&label_, 7, 3.0f);  // no such entry: nothing happens
  EXPECT_EQ(VXN_Label_get_string(&label_, 2), nullptr);
  EXPECT_EQ(VXN_Label_get_dur_rate(&label_, 2), 0);
  EXPECT_FLOAT_EQ(VXN_Label_get_frame(&label_, 2), 0.0f);

  VXN_Label_clear(&label_);
  EXPECT_EQ(VXN_Label_get_size(&label_), 0);
  EXPECT_FLOAT_EQ(VXN_Label_get_speech_speed(&label_), 1.0f);
}

TEST_F(LabelSequence, TokensLongerThan1023BytesAreNotLoaded) {
  const std::string longest(1023, 'a'), too_long(1024, 'b');
  g_nStatePrint = 2;
  testing::internal::CaptureStderr();
  const std::string text = "x " + too_long + " " + longest + " 0 500000 " + too_long + " y";
  VXN_Label_load_from_string(&label_, 24000, 120, text.c_str());
  std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(VXN_Label_get_size(&label_), 3);
  EXPECT_STREQ(VXN_Label_get_string(&label_, 0), "x");
  EXPECT_EQ(std::string(VXN_Label_get_string(&label_, 1)), longest);
  EXPECT_STREQ(VXN_Label_get_string(&label_, 2), "y");  // the timed entry went with its token
  EXPECT_NE(err.find("error [2020] : A label token is longer than 1023 bytes"), std::string::npos);

  VXN_Label_clear(&label_);
  FILE* fp = tmpfile();
  fputs(("a " + too_long + "\n" + longest + "\n").c_str(), fp);
  rewind(fp);
  testing::internal::CaptureStderr();
  VXN_Label_load_from_fp(&label_, 24000, 120, fp);
  testing::internal::GetCapturedStderr();
  fclose(fp);
  ASSERT_EQ(VXN_Label_get_size(&label_), 2);
  EXPECT_EQ(std::string(VXN_Label_get_string(&label_, 1)), longest);

  // The list loader copies untimed elements whole, but its timed form is tokens.
  VXN_Label_clear(&label_);
  const std::string timed = "0 100 " + too_long;
  const std::string untimed = "q" + too_long;
  testing::internal::CaptureStderr();
  load_list({timed.c_str(), untimed.c_str(), "10 20 z"});
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(VXN_Label_get_size(&label_), 2);
  EXPECT_EQ(std::string(VXN_Label_get_string(&label_, 0)), untimed);
  EXPECT_STREQ(VXN_Label_get_string(&label_, 1), "z");
}

TEST_F(LabelSequence, HugeTimesDoNotOverflow) {
  VXN_Label_load_from_string(&label_, 24000, 120, "0 99999999999999 a 5 2 b");
  ASSERT_EQ(VXN_Label_get_size(&label_), 2);
  EXPECT_GT(VXN_Label_get_frame(&label_, 0), 1.0e6f);
  EXPECT_FLOAT_EQ(VXN_Label_get_frame(&label_, 1), 1.0f);  // end before start
}

}  // namespace
