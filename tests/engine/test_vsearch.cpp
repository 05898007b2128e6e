#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/VXN_label.h"
#include "engine/VXN_sstream.h"
#include "engine/VXN_vsearch.h"
#include "tests/engine/generation_fixture.h"
#include "tests/engine/prosody_fixture.h"

// Unit search on small databases whose lattices are worked out by hand.

namespace {

using vxn::voice::ProsodyDatabase;
using vxn::voice::ProsodyUnit;
using vxn_test::phone_index;
using vxn_test::unit;

VXN_VTTarget target(const ProsodyDatabase& db, const std::string& left, const std::string& right,
                    const std::vector<std::string>& context = {"x", "x", "x", "x"},
                    int left_voiced = 0, int right_voiced = 0) {
  VXN_VTTarget t;
  t.left = phone_index(db, left);
  t.right = phone_index(db, right);
  t.left_prev2 = phone_index(db, context[0]);
  t.left_prev = phone_index(db, context[1]);
  t.right_next = phone_index(db, context[2]);
  t.right_next2 = phone_index(db, context[3]);
  t.left_voiced = left_voiced;
  t.right_voiced = right_voiced;
  return t;
}

// Runs the search over the given targets; the context keeps the lattice.
int search(VXN_VTContext* vt, std::vector<VXN_VTTarget>& targets) {
  vt->targets = (VXN_VTTarget*)VXN_calloc(targets.size(), sizeof(VXN_VTTarget));
  std::copy(targets.begin(), targets.end(), vt->targets);
  vt->target_count = (int)targets.size();
  EXPECT_EQ(Hybrid_VTInitialise(vt), 1);
  return Hybrid_VTSearch(vt);
}

ProsodyDatabase codebook_db(std::vector<std::string> phones) {
  ProsodyDatabase db;
  db.phones = vxn_test::base_phones(phones);
  db.slope_codebook = {0.0f};
  db.f0_codebook = {0.0f};
  db.contours = {{{0.0f, 0.0f, 0.0f, 0.0f, 0.0f}}};
  return db;
}

TEST(PhonemeWord, ReadsPhoneAndWordInPhrase) {
  char name[VXN_VT_NAME_SIZE];
  int word = -1;
  EXPECT_EQ(VXN_Get_Phoneme_Word(
                "r^ai-t+a=b@3_1/A:0_0_0/B:1-1-3@1-1&1-1#1-1$2-2!0-0;0-0|ai/C:1+1+2/D:0_0/"
                "E:content+1@3+1&2+2#0+0/F:content_2/G:0_0/H:1=1@1=2|0/I:2=1/J:3+2-2",
                name, &word),
            1);
  EXPECT_STREQ(name, "t");
  EXPECT_EQ(word, 3);
  // A pause has "x" for its word fields: word number 0.
  EXPECT_EQ(VXN_Get_Phoneme_Word("x^x-pau+hh=ax@x_x/A:0_0_0/E:x+x@x+x&x+x/F:content_2", name,
                                 &word),
            1);
  EXPECT_STREQ(name, "pau");
  EXPECT_EQ(word, 0);
  // The phone ends at ':' too and is cut to four characters.
  EXPECT_EQ(VXN_Get_Phoneme_Word("a-abcdefg:1/E:c+1@12+1", name, &word), 1);
  EXPECT_STREQ(name, "abcd");
  EXPECT_EQ(word, 12);
  for (const char* bad : {"no dash", "x^x-pau", "x^x-a+b/F:c+1@2+1", "x^x-a+b/E:c+1@2"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(VXN_Get_Phoneme_Word(bad, name, &word), 0);
  }
}

// "sp" goes before a label whose word number changes to 2 or more; the
// first label is never compared.
TEST(PhonemeWord, ContextSequenceMarksLaterWords) {
  const std::vector<std::string> text = {"x^x-a+b/E:c+1@3+1", "x^x-b+c/E:c+1@3+1",
                                         "x^x-pau+c/E:x+x@x+x", "x^x-c+d/E:c+1@2+1",
                                         "x^x-d+e/E:c+1@2+1",  "x^x-e+x/E:c+1@5+1"};
  std::vector<const char*> labels;
  for (const std::string& t : text) labels.push_back(t.c_str());
  char seq[18][VXN_VT_NAME_SIZE];
  int length = 0, pos[6];
  ASSERT_EQ(VXN_VT_phone_context(labels.data(), 6, seq, &length, pos), 1);
  std::vector<std::string> got(seq, seq + length);
  EXPECT_EQ(got, (std::vector<std::string>{"x", "x", "x", "a", "b", "pau", "sp", "c", "d", "sp",
                                           "e", "x", "x", "x"}));
  EXPECT_EQ(std::vector<int>(pos, pos + 6), (std::vector<int>{3, 4, 5, 7, 8, 10}));
  labels[4] = "no phone";
  EXPECT_EQ(VXN_VT_phone_context(labels.data(), 6, seq, &length, pos), 0);
  EXPECT_EQ(length, 4);
}

TEST(TargetCost, TenthsForEachContextMismatch) {
  ProsodyDatabase db = codebook_db({"a", "b", "c"});
  db.units = {unit(db, "a", {"pau", "sp", "x", "x"}), unit(db, "b", {"x", "x", "c", "pau"})};
  db.units[1].voiced = false;  // the voiced mark takes no part in the comparison
  vxn_test::LoadedDb l;
  l.load(db);
  const VXN_VTDiphone* e = &l.vt()->diphones[phone_index(db, "a") * 6 + phone_index(db, "b")];
  const std::vector<std::string> match = {"pau", "sp", "c", "pau"};
  VXN_VTTarget t = target(db, "a", "b", match);
  EXPECT_FLOAT_EQ(GetTargetCost(l.vt(), &t, e), 0.0f);
  const float weight[4] = {0.2f, 0.3f, 0.3f, 0.2f};
  for (int k = 0; k < 4; k++) {
    std::vector<std::string> context = match;
    context[(size_t)k] = "a";
    t = target(db, "a", "b", context);
    EXPECT_FLOAT_EQ(GetTargetCost(l.vt(), &t, e), weight[k]) << k;
  }
  t = target(db, "a", "b", {"a", "a", "a", "a"});
  EXPECT_FLOAT_EQ(GetTargetCost(l.vt(), &t, e), 1.0f);
  t.left_prev2 = -1;  // an absent phone never matches
  EXPECT_FLOAT_EQ(GetTargetCost(l.vt(), &t, e), 1.0f);
  const VXN_VTDiphone empty = {-1, -1, nullptr};
  EXPECT_FLOAT_EQ(GetTargetCost(l.vt(), &t, &empty), 1.0f);
}

// Pairs a b whose target cost against an all-"x" target is 0, 0.2 or 1.0.
void add_pairs(ProsodyDatabase* db, int n, float cost) {
  const std::string far = "pau";
  for (int i = 0; i < n; i++) {
    if (cost == 0.0f) {
      db->units.push_back(unit(*db, "a"));
      db->units.push_back(unit(*db, "b"));
    } else if (cost < 0.5f) {
      db->units.push_back(unit(*db, "a", {far, "x", "x", "x"}));
      db->units.push_back(unit(*db, "b"));
    } else {
      db->units.push_back(unit(*db, "a", {far, far, "x", "x"}));
      db->units.push_back(unit(*db, "b", {"x", "x", far, far}));
    }
  }
}

TEST(Candidates, CutOffKeepsTheCheapestWhenThereAreEnough) {
  struct Case {
    int zero, fifth, full;  // pairs at cost 0, 0.2 and 1.0, in this unit order
    int expect;             // candidates kept
    float max_cost;
    int first_left;         // left unit of the first candidate
  };
  // 51 at 0 with 101 up to 0.2: cut at 0. 50 at 0: the next cut-off, 0.2,
  // keeps 110 of 115. Too few for any cut-off: all of them.
  const Case cases[] = {{51, 50, 0, 51, 0.0f, 100}, {50, 60, 5, 110, 0.2f, 0},
                        {10, 0, 5, 15, 1.0f, 0},    {0, 0, 1, 1, 1.0f, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expect);
    ProsodyDatabase db = codebook_db({"a", "b"});
    if (c.first_left == 0) {
      add_pairs(&db, c.zero, 0.0f);
      add_pairs(&db, c.fifth, 0.2f);
    } else {
      add_pairs(&db, c.fifth, 0.2f);
      add_pairs(&db, c.zero, 0.0f);
    }
    add_pairs(&db, c.full, 1.0f);
    vxn_test::LoadedDb l;
    l.load(db);
    VXN_VTTarget t = target(db, "a", "b");
    VXN_VTColumn column = {};
    ASSERT_EQ(GetCandidate(l.vt(), &t, &column), c.expect);
    EXPECT_EQ(column.path_count, c.expect);
    int listed = 0;
    float worst = 0.0f;
    for (VXN_VTCandidate* k = column.candidates; k; k = k->next, listed++) {
      EXPECT_EQ(column.paths[listed].candidate, k);
      EXPECT_EQ(column.paths[listed].cost, 0.0f);
      EXPECT_EQ(column.paths[listed].pruned, 0);
      worst = std::max(worst, k->target_cost);
    }
    EXPECT_EQ(listed, c.expect);
    EXPECT_FLOAT_EQ(worst, c.max_cost);
    EXPECT_EQ(column.candidates[0].diphone->left, c.first_left);
    VXN_free(column.candidates);
    VXN_free(column.paths);
  }
}

// Units a b c pau a b c: two candidates per diphone of the sentence a b c.
// Target costs: (a,b) 0.5 for units 0-1, 0 for 4-5; (b,c) 0.6 for 1-2, 0
// for 5-6. F0/slope of unit 1: 5.0/0.1, of unit 5: 5.3/-0.1, so joining
// 1 to 5 costs 0.5 and a unit to itself 0.
class HandLattice : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = codebook_db({"a", "b", "c"});
    db_.slope_codebook = {0.1f, -0.1f};
    db_.f0_codebook = {5.0f, 5.3f};
    db_.units = {unit(db_, "a", {"pau", "x", "x", "x"}), unit(db_, "b", {"x", "pau", "c", "x"}),
                 unit(db_, "c", {"x", "x", "x", "x"}),   unit(db_, "pau"),
                 unit(db_, "a", {"x", "pau", "x", "x"}), unit(db_, "b", {"x", "a", "c", "x"}),
                 unit(db_, "c", {"x", "x", "pau", "x"})};
    db_.units[5].f0_row = db_.units[5].slope_row = 1;
    targets_ = {target(db_, "a", "b", {"x", "pau", "c", "x"}),
                target(db_, "b", "c", {"x", "a", "pau", "x"})};
  }
  void TearDown() override { Hybrid_close(l_.vt()); }
  const VXN_VTPath& path(int column, int i) { return l_.vt()->lattice[column].paths[i]; }
  int left_unit(int k) { return l_.vt()->best_path[k].candidate->diphone->left; }

  ProsodyDatabase db_;
  std::vector<VXN_VTTarget> targets_;
  vxn_test::LoadedDb l_;
};

TEST_F(HandLattice, CheapestPathFollowsTheRecordedUnits) {
  l_.load(db_);
  ASSERT_EQ(search(l_.vt(), targets_), 1);
  EXPECT_FLOAT_EQ(path(0, 0).candidate->target_cost, 0.5f);
  EXPECT_FLOAT_EQ(path(0, 1).candidate->target_cost, 0.0f);
  EXPECT_FLOAT_EQ(path(1, 0).candidate->target_cost, 0.6f);
  EXPECT_FLOAT_EQ(path(0, 0).cost, 0.0f);  // no target cost in the first column
  // Units 1-2: from 0-1, 0 + 0 + (0.6 + 0.5) / 2; from 4-5, 0 + 0.5 + 0.3.
  EXPECT_NEAR(path(1, 0).cost, 0.55f, 1e-5);
  EXPECT_EQ(path(1, 0).back, &path(0, 0));
  // Units 5-6: from 0-1, 0.5 + 0.25; from 4-5 nothing at all.
  EXPECT_NEAR(path(1, 1).cost, 0.0f, 1e-6);
  EXPECT_EQ(path(1, 1).back, &path(0, 1));
  ASSERT_EQ(FindBestPath(l_.vt()), 1);
  EXPECT_EQ(left_unit(0), 4);
  EXPECT_EQ(left_unit(1), 5);
}

TEST_F(HandLattice, UnvoicedUnitUnderVoicedLabelCostsTwoInTheFirstColumn) {
  db_.units[4].voiced = false;
  targets_[0].left_voiced = 1;
  l_.load(db_);
  ASSERT_EQ(search(l_.vt(), targets_), 1);
  EXPECT_FLOAT_EQ(path(0, 1).cost, 2.0f);
  // Units 1-2: 0.55 as before; units 5-6: from 0-1 0.75, from 4-5 2.0.
  EXPECT_NEAR(path(1, 1).cost, 0.75f, 1e-5);
  EXPECT_EQ(path(1, 1).back, &path(0, 0));
  ASSERT_EQ(FindBestPath(l_.vt()), 1);
  EXPECT_EQ(left_unit(0), 0);
  EXPECT_EQ(left_unit(1), 1);
}

TEST_F(HandLattice, BothSidesUnvoicedStillCostTwo) {
  db_.units[4].voiced = db_.units[5].voiced = false;
  targets_[0].left_voiced = targets_[0].right_voiced = 1;
  l_.load(db_);
  ASSERT_EQ(search(l_.vt(), targets_), 1);
  EXPECT_FLOAT_EQ(path(0, 1).cost, 2.0f);
}

TEST_F(HandLattice, MissingDiphoneFailsTheSearch) {
  l_.load(db_);
  targets_.push_back(target(db_, "c", "b"));  // never recorded
  EXPECT_EQ(search(l_.vt(), targets_), 0);
  targets_.back() = target(db_, "c", "pau");
  targets_.back().right = -1;  // a phone outside the inventory
  Hybrid_close(l_.vt());
  EXPECT_EQ(search(l_.vt(), targets_), 0);
}

// Sentence a b c d over units a b, N x (b c), c d. Every target cost is 0;
// the (b,c) column costs are the F0 codebook values of its b units, which
// are m for unit pair m < 60 and 1000 from 60 on (or m throughout).
class Pruning : public ::testing::Test {
 protected:
  void build(int n, bool skewed) {
    db_ = codebook_db({"a", "b", "c", "d"});
    db_.f0_codebook.clear();
    for (int m = 0; m <= 100; m++) db_.f0_codebook.push_back((float)m);
    db_.f0_codebook.push_back(1000.0f);  // row 101
    db_.f0_codebook.push_back(5000.0f);  // row 102
    db_.units = {unit(db_, "a"), unit(db_, "b")};
    for (int m = 0; m < n; m++) {
      ProsodyUnit b = unit(db_, "b"), c = unit(db_, "c");
      b.f0_row = (skewed && m >= 60) ? 101 : m;
      c.f0_row = (skewed && m < 60) ? 102 : 0;
      db_.units.push_back(b);
      db_.units.push_back(c);
    }
    db_.units.push_back(unit(db_, "c"));
    db_.units.push_back(unit(db_, "d"));
    l_.load(db_);
    targets_ = {target(db_, "a", "b"), target(db_, "b", "c"), target(db_, "c", "d")};
    ASSERT_EQ(search(l_.vt(), targets_), 1);
  }
  void TearDown() override { Hybrid_close(l_.vt()); }
  const VXN_VTColumn& column(int k) { return l_.vt()->lattice[k]; }

  ProsodyDatabase db_;
  std::vector<VXN_VTTarget> targets_;
  vxn_test::LoadedDb l_;
};

TEST_F(Pruning, HundredPathsAreNeverPruned) {
  build(100, false);
  ASSERT_EQ(column(1).path_count, 100);
  EXPECT_EQ(column(1).active, 100);
  for (int i = 0; i < 100; i++) EXPECT_EQ(column(1).paths[i].pruned, 0);
}

TEST_F(Pruning, HundredAndOnePathsArePrunedAtTheMean) {
  build(101, false);
  // Mean 50; fewer than 51 paths lie below 0.9, 0.945, 0.97 or 1.0 times
  // it, so everything from 50 on goes.
  ASSERT_EQ(column(1).path_count, 101);
  EXPECT_EQ(column(1).active, 50);
  EXPECT_EQ(column(1).paths[49].pruned, 0);
  EXPECT_EQ(column(1).paths[50].pruned, 1);
}

TEST_F(Pruning, FirstLevelWithMoreThanFiftyBelowItAndPrunedPathsSkipped) {
  build(101, true);
  // Mean (0 + ... + 59 + 41 x 1000) / 101 = 423.5; 60 paths lie below 0.9
  // of it, so the 41 paths at 1000 go.
  EXPECT_EQ(column(1).active, 60);
  EXPECT_EQ(column(1).paths[59].pruned, 0);
  EXPECT_EQ(column(1).paths[60].pruned, 1);
  // The c units of the pruned paths join the last column at no cost
  // (1000 + 0), the others at 5000; with 60 active paths the pruned ones are
  // skipped, so the path comes from 0 at 0 + 5000.
  EXPECT_FLOAT_EQ(column(2).paths[0].cost, 5000.0f);
  EXPECT_EQ(column(2).paths[0].back, &column(1).paths[0]);
}

TEST(LinearScaling, InterpolatesBetweenVoicedPoints) {
  const float p[5] = {5.0f, 5.2f, 5.4f, 5.6f, 5.8f};
  std::vector<float> out(10);
  DoLinearScalingLf0(p, out.data(), 5, 10);
  const float ten[10] = {5.0f, 5.1f, 5.2f, 5.3f, 5.4f, 5.5f, 5.6f, 5.7f, 5.8f, 5.8f};
  for (int f = 0; f < 10; f++) EXPECT_NEAR(out[(size_t)f], ten[f], 1e-5) << f;
  out.assign(2, -1.0f);
  DoLinearScalingLf0(p, out.data(), 5, 2);  // x = 0, 2.5
  EXPECT_FLOAT_EQ(out[0], 5.0f);
  EXPECT_NEAR(out[1], 5.5f, 1e-5);
  // A point at or below 1.0 gives 0 for every frame that touches it.
  const float gap[5] = {5.0f, 1.0f, 5.4f, 0.0f, 5.8f};
  out.assign(5, -1.0f);
  DoLinearScalingLf0(gap, out.data(), 5, 5);
  EXPECT_EQ(out, (std::vector<float>{0.0f, 0.0f, 0.0f, 0.0f, 5.8f}));
}

// The whole prosody step over hand-made state streams: 5 states per label,
// 2 frames per state, log-F0 means 4 + 0.01 x global state.
class ProsodyStep : public ::testing::Test {
 protected:
  void SetUp() override { VXN_Label_initialize(&label_); }
  void TearDown() override {
    Hybrid_close(l_.vt());
    VXN_SStreamSet_clear(&sss_);
    VXN_Label_clear(&label_);
  }
  // Labels "phone:word" (word "x" for a pause); a label is voiced unless it
  // is a pause.
  void sentence(const std::vector<std::pair<std::string, std::string>>& labels, char type) {
    std::vector<std::string> text;
    for (const auto& l : labels)
      text.push_back("x^x-" + l.first + "+x=x@1_1/A:0_0_0/E:c+1@" + l.second + "+1&0+0");
    std::vector<char*> lines;
    for (std::string& t : text) lines.push_back(&t[0]);
    VXN_Label_load_from_string_list(&label_, 24000, 120, lines.data(), (int)lines.size());
    const int L = (int)labels.size();
    vxn_test::build_sss(&sss_, vxn_test::voice_shapes(), 5, L);
    vxn_test::set_durations(&sss_, std::vector<int>((size_t)L * 5, 2));
    for (int i = 0; i < L; i++)
      for (int s = 0; s < 5; s++) {
        const int st = i * 5 + s;
        sss_.sstream[1].msd[st] = labels[(size_t)i].first == "pau" ? 0.0f : 0.9f;
        sss_.sstream[1].mean[st][0] = 4.0f + 0.01f * (float)st;
      }
    sss_.sentence_type = type;
  }
  std::vector<float> frames(int label) {
    int count = 0;
    const float* t = VXN_VT_get_lf0_target(l_.vt(), &count);
    EXPECT_EQ(count, sss_.total_frame);
    if (!t) return {};
    return std::vector<float>(t + label * 10, t + label * 10 + 10);
  }
  float model(int label, int frame) { return 4.0f + 0.01f * (float)(label * 5 + frame / 2); }

  ProsodyDatabase db_;
  vxn_test::LoadedDb l_;
  VXN_SStreamSet sss_ = {};
  VXN_Label label_;
};

void expect_frames(const std::vector<float>& got, const std::vector<float>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t f = 0; f < want.size(); f++) EXPECT_NEAR(got[f], want[f], 1e-4) << "frame " << f;
}

// Units pau a b pau b pau; contours a 5.0..5.4, first b 5.5..5.9, second b
// 6.0 6.1 6.3 6.4 6.5. The second b fits the context of the sentence
// pau a b pau better (phone two before it: a), so it ends the path.
class FourLabels : public ProsodyStep {
 protected:
  void SetUp() override {
    ProsodyStep::SetUp();
    db_ = codebook_db({"a", "b"});
    db_.contours = {{{0.0f, 0.0f, 0.0f, 0.0f, 0.0f}},
                    {{5.0f, 5.1f, 5.2f, 5.3f, 5.4f}},
                    {{5.5f, 5.6f, 5.7f, 5.8f, 5.9f}},
                    {{6.0f, 6.1f, 6.3f, 6.4f, 6.5f}}};
    db_.units = {unit(db_, "pau"),
                 unit(db_, "a", {"x", "x", "x", "x"}, 1),
                 unit(db_, "b", {"x", "sp", "pau", "x"}, 2),
                 unit(db_, "pau"),
                 unit(db_, "b", {"a", "sp", "pau", "x"}, 3),
                 unit(db_, "pau")};
    db_.units[0].voiced = db_.units[3].voiced = db_.units[5].voiced = false;
    l_.load(db_);
  }
  void run(char type) {
    sentence({{"pau", "x"}, {"a", "1"}, {"b", "2"}, {"pau", "x"}}, type);
    VXN_VT_prosody_step(l_.vt(), &sss_, &label_);
  }
};

TEST_F(FourLabels, ContextHasShortPauseBeforeLaterWords) {
  run('B');
  ASSERT_EQ(l_.vt()->target_count, 3);
  const VXN_VTTarget* t = l_.vt()->targets;
  const int x = 0, sp = 1, pau = 2, a = 3, b = 4;
  EXPECT_EQ(t[0].left, pau);
  EXPECT_EQ(t[0].left_prev2, x);
  EXPECT_EQ(t[0].right_next, sp);
  EXPECT_EQ(t[0].right_next2, b);
  EXPECT_EQ(t[1].left_prev, pau);
  EXPECT_EQ(t[1].right_next, pau);
  EXPECT_EQ(t[2].left_prev2, a);
  EXPECT_EQ(t[2].left_prev, sp);
  EXPECT_EQ(t[2].right_next2, x);
  EXPECT_EQ(t[0].left_voiced, 0);
  EXPECT_EQ(t[0].right_voiced, 1);
  ASSERT_NE(l_.vt()->best_path, nullptr);
  EXPECT_EQ(l_.vt()->best_path[2].candidate->diphone->left, 4);
}

TEST_F(FourLabels, QuestionKeepsTheUnitContours) {
  run('B');
  expect_frames(frames(0), std::vector<float>(10, 0.0f));  // pause: unvoiced states
  expect_frames(frames(1), {5.0f, 5.05f, 5.1f, 5.15f, 5.2f, 5.25f, 5.3f, 5.35f, 5.4f, 5.4f});
  // Point 2 is the mean of the first b (5.7) and the second (6.3).
  expect_frames(frames(2), {5.5f, 5.55f, 5.6f, 5.8f, 6.0f, 6.2f, 6.4f, 6.45f, 6.5f, 6.5f});
  expect_frames(frames(3), std::vector<float>(10, 0.0f));
}

TEST_F(FourLabels, StatementFallsOverTheLastTwoVoicedLabels) {
  run('A');
  // The contour would rise from 5.0 to 6.5: it falls by 0.2 instead, over
  // the ten points of labels a and b.
  std::vector<float> a, b;
  for (int f = 0; f < 10; f++) {
    const float x = (float)f / 2.0f, step = 0.2f / 9.0f;
    const float lo = 5.0f - step * std::floor(x), hi = 5.0f - step * std::min(std::floor(x) + 1, 4.0f);
    a.push_back(hi * (x - std::floor(x)) + lo * (std::floor(x) + 1 - x));
    b.push_back(a.back() - 5 * step);
  }
  expect_frames(frames(1), a);
  expect_frames(frames(2), b);
  EXPECT_NEAR(frames(2)[9], 4.8f, 1e-5);
}

// Two labels: one diphone; points 0-1 of the first and 3-4 of the second
// label stay 0, so those frames take the model's mean.
TEST_F(ProsodyStep, TwoLabelsUseTheModelWhereNoUnitReaches) {
  db_ = codebook_db({"a", "b"});
  db_.contours = {{{5.0f, 5.1f, 5.2f, 5.3f, 5.4f}}, {{5.5f, 5.6f, 5.7f, 5.8f, 5.9f}}};
  db_.units = {unit(db_, "a", {"x", "x", "x", "x"}, 0), unit(db_, "b", {"x", "x", "x", "x"}, 1)};
  l_.load(db_);
  sentence({{"a", "1"}, {"b", "1"}}, 'A');
  VXN_VT_prosody_step(l_.vt(), &sss_, &label_);
  expect_frames(frames(0), {model(0, 0), model(0, 1), model(0, 2), model(0, 3), 5.2f, 5.25f, 5.3f,
                            5.35f, 5.4f, 5.4f});
  expect_frames(frames(1), {5.5f, 5.55f, 5.6f, 5.65f, model(1, 4), model(1, 5), model(1, 6),
                            model(1, 7), model(1, 8), model(1, 9)});
}

TEST_F(ProsodyStep, UnknownPhoneOrMissingWordLeavesNoTarget) {
  db_ = codebook_db({"a", "b"});
  db_.units = {unit(db_, "a"), unit(db_, "b")};
  l_.load(db_);
  sentence({{"a", "1"}, {"zz", "1"}}, 'A');
  VXN_VT_prosody_step(l_.vt(), &sss_, &label_);
  EXPECT_EQ(VXN_VT_get_lf0_target(l_.vt(), nullptr), nullptr);
  EXPECT_EQ(l_.vt()->targets, nullptr);
  VXN_SStreamSet_clear(&sss_);
  VXN_Label_clear(&label_);
  sentence({{"a", "1"}, {"b", "1"}}, 'A');
  VXN_VT_prosody_step(l_.vt(), &sss_, &label_);
  ASSERT_NE(VXN_VT_get_lf0_target(l_.vt(), nullptr), nullptr);
  // A label whose phone cannot be read drops the target of the sentence.
  VXN_Label_clear(&label_);
  char bad[] = "no phone here";
  char good[] = "x^x-a+x/E:c+1@1+1";
  char* lines[] = {good, bad};
  VXN_Label_load_from_string_list(&label_, 24000, 120, lines, 2);
  VXN_VT_prosody_step(l_.vt(), &sss_, &label_);
  EXPECT_EQ(VXN_VT_get_lf0_target(l_.vt(), nullptr), nullptr);
}

}  // namespace
