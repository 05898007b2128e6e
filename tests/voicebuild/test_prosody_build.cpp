#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_prosody_build.h"
#include "tools/voicebuild/VXN_prosody_db.h"
#include "tools/voicebuild/VXN_segment_align.h"

// Prosody database building: timed labels, units from an F0 track, codebooks,
// shared contours and the segment alignment of the stand-in corpus.

using namespace vxn::voice;

namespace {

std::string label(const std::string& phone, const std::string& word) {
  return "x^x-" + phone + "+x=x@1_1/A:0_0_0/E:c+1@" + word + "+1&0+0";
}

TEST(TimedLabels, ParsesTimesInHundredNanoseconds) {
  std::vector<TimedLabel> out;
  std::string error;
  ASSERT_TRUE(parse_timed_labels("0 500000 a\n\n500000 1250000 b\r\n", "t.lab", &out, &error))
      << error;
  ASSERT_EQ(out.size(), 2u);
  EXPECT_DOUBLE_EQ(out[1].start, 0.05);
  EXPECT_DOUBLE_EQ(out[1].end, 0.125);
  EXPECT_EQ(out[1].label, "b");
  for (const char* bad : {"a^b-c+d", "0 10", "20 10 a", "0 x a", "0 10 a extra", "-5 10 a"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(parse_timed_labels(std::string("0 1 ok\n") + bad, "t.lab", &out, &error));
    EXPECT_NE(error.find("parse_timed_labels: t.lab line 2:"), std::string::npos) << error;
  }
}

// pau a b pau, 10 frames each; frames 10..29 voiced, log F0 5.00 + 0.01 per
// frame from frame 10.
class Units : public ::testing::Test {
 protected:
  void SetUp() override {
    labels_ = {{0.00, 0.05, label("pau", "x")},
               {0.05, 0.10, label("a", "1")},
               {0.10, 0.15, label("b", "2")},
               {0.15, 0.20, label("pau", "x")}};
    lf0_.assign(40, 0.0);
    for (int t = 10; t < 30; t++) lf0_[(size_t)t] = 5.0 + 0.01 * (t - 10);
  }
  std::vector<TimedLabel> labels_;
  std::vector<double> lf0_;
  std::vector<RawProsodyUnit> units_;
  std::string error_;
};

TEST_F(Units, ContextContourMeanAndSlope) {
  ASSERT_TRUE(make_prosody_units(labels_, lf0_, &units_, &error_)) << error_;
  ASSERT_EQ(units_.size(), 4u);
  const RawProsodyUnit& a = units_[1];
  EXPECT_EQ(a.phones, (std::array<std::string, 5>{"a", "x", "pau", "sp", "b"}));
  EXPECT_EQ(units_[2].phones, (std::array<std::string, 5>{"b", "a", "sp", "pau", "x"}));
  EXPECT_TRUE(a.voiced);
  // Points at frames 10, 12, 14, 16, 18, each the mean of the voiced frames
  // within one frame inside the unit.
  const float want[5] = {5.005f, 5.02f, 5.04f, 5.06f, 5.08f};
  for (int j = 0; j < 5; j++) EXPECT_NEAR(a.contour[(size_t)j], want[j], 1e-5) << j;
  EXPECT_NEAR(a.lf0, 5.045f, 1e-5);
  EXPECT_NEAR(a.slope, 0.2f, 1e-4);  // 0.01 per 5 ms frame
  // Pauses: unvoiced, no contour; their level is the held neighbour.
  EXPECT_FALSE(units_[0].voiced);
  EXPECT_EQ(units_[0].contour, (std::array<float, 5>{}));
  EXPECT_NEAR(units_[0].lf0, 5.0f, 1e-6);
  EXPECT_NEAR(units_[3].lf0, 5.19f, 1e-5);
  EXPECT_NEAR(units_[3].slope, 0.0f, 1e-6);
}

TEST_F(Units, HalfVoicedUnitIsUnvoicedAndGapsAreInterpolated) {
  for (int t = 15; t < 25; t++) lf0_[(size_t)t] = 0.0;  // second half of a, first of b
  ASSERT_TRUE(make_prosody_units(labels_, lf0_, &units_, &error_)) << error_;
  EXPECT_FALSE(units_[1].voiced);  // 5 of 10 frames
  EXPECT_NEAR(units_[1].contour[2], 5.035f, 1e-5);  // frames 13 and 14
  EXPECT_EQ(units_[1].contour[3], 0.0f);
  // Frames 15..24 lie on the line between frames 14 and 25: the same track.
  EXPECT_NEAR(units_[1].lf0, 5.045f, 1e-5);
  EXPECT_NEAR(units_[2].slope, 0.2f, 1e-4);
}

TEST_F(Units, RefusesSilentTracksAndLabelsWithoutPhones) {
  EXPECT_FALSE(make_prosody_units(labels_, std::vector<double>(40, 0.0), &units_, &error_));
  EXPECT_NE(error_.find("no voiced frame"), std::string::npos);
  labels_[2].label = "no phone";
  EXPECT_FALSE(make_prosody_units(labels_, lf0_, &units_, &error_));
  EXPECT_NE(error_.find("label 2 has no phone or word number: 'no phone'"), std::string::npos)
      << error_;
}

TEST(KMeans, ScalarCodebook) {
  std::vector<float> centroids;
  std::vector<int> index;
  const std::vector<float> v = {1, 1, 2, 10, 11, 12};
  const double err = kmeans_1d(v, 2, &centroids, &index);
  ASSERT_EQ(centroids.size(), 2u);
  EXPECT_NEAR(centroids[0], 4.0f / 3.0f, 1e-5);
  EXPECT_NEAR(centroids[1], 11.0f, 1e-5);
  EXPECT_EQ(index, (std::vector<int>{0, 0, 0, 1, 1, 1}));
  EXPECT_NEAR(err, std::sqrt((2 * 1.0 / 9 + 4.0 / 9 + 2) / 6), 1e-5);
  // No more centroids than distinct values, and then no error.
  EXPECT_EQ(kmeans_1d(v, 256, &centroids, &index), 0.0);
  EXPECT_EQ(centroids, (std::vector<float>{1, 2, 10, 11, 12}));
  EXPECT_EQ(index[4], 3);
  EXPECT_EQ(kmeans_1d({}, 4, &centroids, &index), 0.0);
  EXPECT_TRUE(centroids.empty());
}

RawProsodyUnit raw(const std::string& phone, float contour0, float lf0) {
  RawProsodyUnit u;
  u.phones = {phone, "x", "x", "x", "x"};
  u.contour = {contour0, 0, 0, 0, 0};
  u.voiced = contour0 > 0;
  u.lf0 = lf0;
  return u;
}

TEST(Builder, SharesContoursAndQuantises) {
  ProsodyBuilder b;
  ASSERT_TRUE(b.add({raw("a", 5.0f, 5.0f), raw("b", 0.0f, 5.1f), raw("a", 5.0f, 5.2f)}));
  ASSERT_TRUE(b.add({raw("pau", 0.0f, 5.3f), raw("c", 5.5f, 5.4f)}));
  EXPECT_EQ(b.unit_count(), 5);
  EXPECT_EQ(b.contour_count(), 3);
  ProsodyBuildReport report;
  const ProsodyDatabase db = b.finish(2, &report);
  std::string error;
  EXPECT_TRUE(check_prosody_database(db, &error)) << error;
  EXPECT_EQ(db.phones, (std::vector<std::string>{"x", "sp", "pau", "a", "b", "c"}));
  ASSERT_EQ(db.units.size(), 5u);
  EXPECT_EQ(db.units[0].contour_row, db.units[2].contour_row);
  EXPECT_EQ(db.contours[(size_t)db.units[4].contour_row][0], 5.5f);
  EXPECT_EQ(db.f0_codebook.size(), 2u);
  EXPECT_EQ(db.units[0].f0_row, db.units[1].f0_row);
  EXPECT_NE(db.units[0].f0_row, db.units[4].f0_row);
  EXPECT_EQ(report.units, 5);
  EXPECT_EQ(report.voiced_units, 3);
  EXPECT_EQ(report.diphone_types, 4);  // a-b, b-a, a-pau, pau-c
}

TEST(Builder, RefusesAnUtteranceThatOverflowsTheContourTable) {
  ProsodyBuilder b;
  std::vector<RawProsodyUnit> many;
  for (int i = 0; i < kMaxContours; i++) many.push_back(raw("a", 2.0f + 1e-4f * (float)i, 5.0f));
  ASSERT_TRUE(b.add(many));
  EXPECT_FALSE(b.add({raw("a", 2.0f, 5.0f), raw("a", 100.0f, 5.0f)}));
  EXPECT_EQ(b.unit_count(), kMaxContours);
  EXPECT_TRUE(b.add({raw("a", 2.0f, 5.0f)}));  // a contour already in the table
  EXPECT_EQ(b.contour_count(), kMaxContours);
}

std::vector<TimedSegment> segments(const std::string& text) {
  std::vector<TimedSegment> s;
  std::string error;
  EXPECT_TRUE(parse_segments(text, "s", &s, &error)) << error;
  return s;
}

TEST(SegmentAlign, TimesFromTheSegments) {
  SegmentAlignment a;
  std::string error;
  ASSERT_TRUE(align_segments({"pau", "hh", "ax", "pau"}, segments("pau:0.1 hh:0.2 ax:0.35 pau:0.5"),
                             0, &a, &error))
      << error;
  EXPECT_EQ(a.start, (std::vector<double>{0.0, 0.1, 0.2, 0.35}));
  EXPECT_EQ(a.end, (std::vector<double>{0.1, 0.2, 0.35, 0.5}));
}

TEST(SegmentAlign, PausesOnEitherSideAndSubstitutions) {
  SegmentAlignment a;
  std::string error;
  // Two pieces of ours meet where flite has one pause; flite pauses inside
  // a clause where we do not; one vowel differs.
  ASSERT_TRUE(align_segments({"pau", "a", "pau", "pau", "b", "c", "pau"},
                             segments("pau:0.1 ax:0.2 pau:0.3 b:0.4 pau:0.45 c:0.5 pau:0.6"), 1, &a,
                             &error))
      << error;
  EXPECT_EQ(a.substitutions, 1);
  EXPECT_EQ(a.pauses_added, 1);
  EXPECT_EQ(a.pauses_dropped, 1);
  EXPECT_DOUBLE_EQ(a.start[1], 0.1);
  EXPECT_DOUBLE_EQ(a.start[4], 0.3);
  EXPECT_DOUBLE_EQ(a.end[4], 0.4);
  EXPECT_DOUBLE_EQ(a.start[5], 0.45);  // the pause between b and c is left out
  EXPECT_DOUBLE_EQ(a.end[2] - a.start[2] + a.end[3] - a.start[3], 0.1);
  EXPECT_FALSE(align_segments({"pau", "a", "pau"}, segments("pau:0.1 ax:0.2 pau:0.3"), 0, &a,
                              &error));
  EXPECT_NE(error.find("1 phones differ, more than 0"), std::string::npos) << error;
}

TEST(SegmentAlign, MissingPhonesFail) {
  SegmentAlignment a;
  std::string error;
  EXPECT_FALSE(align_segments({"pau", "a", "b", "pau"}, segments("pau:0.1 a:0.2 pau:0.3"), 3, &a,
                              &error));
  EXPECT_NE(error.find("phone 'b' (2) has no segment"), std::string::npos) << error;
  EXPECT_FALSE(align_segments({"pau", "a", "pau"}, segments("pau:0.1 a:0.2 t:0.25 pau:0.3"), 3, &a,
                              &error));
  EXPECT_NE(error.find("segment 't' (2) has no phone of ours"), std::string::npos) << error;
  std::vector<TimedSegment> s;
  EXPECT_FALSE(parse_segments("pau:0.2 a:0.1", "x.seg", &s, &error));
  EXPECT_NE(error.find("bad segment 'a:0.1'"), std::string::npos) << error;
  EXPECT_FALSE(parse_segments("pau", "x.seg", &s, &error));
}

}  // namespace
