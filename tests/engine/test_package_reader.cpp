// Package reader: accepted layouts (slot widths, R = 1 trees, GV after a short
// .dt, unknown section kinds, interpolation) and rejected ones (truncation,
// flipped bytes, indexes out of range), which must leave the model set empty.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/VXN_package_key.h"
#include "tests/engine/package_fixture.h"
#include "tools/voicebuild/VXN_synthetic_voice.h"

namespace {

using vxn_test::LoadedVoice;
using vxn_test::read_bytes;
using vxn_test::single_leaf_voice;
using vxn_test::write_bytes;
using Bytes = std::vector<unsigned char>;

class Reader : public ::testing::Test {
 protected:
  void SetUp() override { g_nStatePrint = 3; }
  void TearDown() override { g_nStatePrint = 2; }
};

bool model_set_empty(const VXN_Engine& e) {
  return e.ms.nstate == -1 && e.ms.stream == nullptr && e.ms.gv == nullptr &&
         e.ms.duration.model == nullptr && e.ms.am_file == nullptr && e.duration_iw == nullptr &&
         e.parameter_iw[0] == nullptr && e.gv_iw[0] == nullptr;
}

// Loads the package at stem into a fresh engine; returns the result and the
// printed report, and checks that a rejection leaves nothing behind.
struct Attempt {
  int result;
  std::string message;
};

Attempt attempt(const std::string& stem, int n = 1) {
  VXN_Engine engine;
  VXN_Engine_initialize(&engine, 3);
  g_nStatePrint = 2;
  testing::internal::CaptureStderr();
  const int r = vxn_test::load_package(&engine, stem, n);
  Attempt a{r, testing::internal::GetCapturedStderr()};
  g_nStatePrint = 3;
  if (!r) {
    EXPECT_TRUE(model_set_empty(engine)) << stem;
  }
  VXN_Engine_clear(&engine);
  return a;
}

Bytes scrambled_table(const std::vector<std::string>& entries, unsigned m) {
  Bytes b = {(unsigned char)entries.size(), 0, (unsigned char)(m & 0xFF), (unsigned char)(m >> 8)};
  for (const auto& e : entries) {
    b.insert(b.end(), e.begin(), e.end());
    b.push_back(',');
  }
  unsigned char key[5];
  VXN_package_key(key);
  for (size_t i = 4; i < b.size(); i++) b[i] = (unsigned char)(b[i] + key[i % 5]);
  return b;
}

int32_t le32(const Bytes& b, size_t at) {
  return (int32_t)(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | ((uint32_t)b[at + 3] << 24));
}

TEST_F(Reader, StringTableSlotsHoldEntriesOfExactlyM) {
  // Question names of 5 bytes (the longest entry) survive into the model.
  vxn::voice::Voice voice = single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.9f);
  voice.questions[0].name = "ABCDE";
  voice.questions.push_back({"Q2", {"*-a+*"}});
  voice.questions.push_back({"Q3", {"*-a+*", "*-b+*"}});
  voice.duration.trees[0] = {2, {{0, 2, 1, true, 2, true}}, 2};
  voice.duration.pdfs[0].push_back(voice.duration.pdfs[0][0]);
  voice.duration.pdfs[0][1].mean[0] = 9.0f;
  LoadedVoice v(voice);
  ASSERT_TRUE(v.loaded) << v.error;
  const Bytes qt = read_bytes(v.stem + ".qt");
  EXPECT_EQ(qt[0], 3);
  EXPECT_EQ(qt[2], 5);  // M
  const VXN_Question* q = v.ms()->duration.model[0].question;
  ASSERT_NE(q, nullptr);
  EXPECT_STREQ(q->string, "Q3");
  EXPECT_STREQ(q->head->string, "*-a+*");
  EXPECT_STREQ(q->head->next->string, "*-b+*");
  EXPECT_STREQ(v.ms()->stream[0].model[0].question->string, "ABCDE");

  // Hand-written tables: an entry longer than M, a count that differs from N,
  // entries allowed to be longer than the 1023 bytes a name or pattern may have.
  for (auto bad : {scrambled_table({"abcdef", "x", "y"}, 5), scrambled_table({"a", "b"}, 5),
                   scrambled_table({"a", "b", "c"}, 1024)}) {
    bad[0] = 3;
    write_bytes(v.stem + ".qt", bad);
    const Attempt a = attempt(v.stem);
    EXPECT_EQ(a.result, 0);
    EXPECT_NE(a.message.find("error [3040]"), std::string::npos) << a.message;
  }
}

TEST_F(Reader, SingleRecordTreeYieldsRootWithTwoLeaves) {
  LoadedVoice v(single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.9f));
  ASSERT_TRUE(v.loaded) << v.error;
  // The duration tree packet follows one question packet: R = 1 means L = 24.
  const Bytes dt = read_bytes(v.stem + ".dt");
  const size_t q_len = (size_t)le32(dt, 9 + 4);
  const size_t tree = 9 + 8 + q_len;
  EXPECT_EQ(le32(dt, tree + 4), 24);
  EXPECT_EQ(dt[tree + 12 + 7 + 8], 3);  // flags: both children are leaves
  const VXN_Node* root = v.ms()->duration.model[0].tree->root;
  EXPECT_EQ(root->yes->pdf, 1);
  EXPECT_EQ(root->no->pdf, 1);
  EXPECT_EQ(v.ms()->nstate, 5);
  EXPECT_EQ(v.ms()->duration.model[0].ntree, 1);
  EXPECT_EQ(v.ms()->stream[1].msd_flag, 1);
  EXPECT_EQ(v.ms()->stream[0].msd_flag, 0);
  EXPECT_EQ(VXN_ModelSet_get_window_size(v.ms(), 2), 3);
  EXPECT_EQ(v.ms()->am_file != nullptr, true);
}

TEST_F(Reader, GvAfterShortTreeFileAndUnknownKinds) {
  vxn::voice::Voice voice = single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.9f);
  voice.gv[2] = {true, {1, 2, 3}, {4, 5, 6}};
  LoadedVoice v(voice);
  ASSERT_TRUE(v.loaded);
  EXPECT_EQ(VXN_ModelSet_use_gv(v.ms(), 2), 1);
  // An .am section of kind 3 at the end loads nothing and is accepted.
  Bytes am = read_bytes(v.stem + ".am");
  am.insert(am.end(), {0, 0, 0, 0xEF, 0x35, 0, 0, 0, 0});
  write_bytes(v.stem + ".am", am);
  EXPECT_EQ(attempt(v.stem).result, 1);
  // A section marker of the form EF 00 00 00 reads as 0: rejected.
  am[am.size() - 9] = 0xEF;
  am[am.size() - 6] = 0;
  write_bytes(v.stem + ".am", am);
  const Attempt a = attempt(v.stem);
  EXPECT_EQ(a.result, 0);
  EXPECT_NE(a.message.find("error [3050]"), std::string::npos) << a.message;
}

// Splits a file into sections: header offset, body offset and body size. The
// writer stores each .am body's size in the header's 4-byte field.
struct Section {
  size_t header, body, size;
};
std::vector<Section> sections(const Bytes& b) {
  std::vector<Section> out;
  for (size_t at = 0; at + 9 <= b.size();) {
    const size_t size = (size_t)le32(b, at + 5);
    out.push_back({at, at + 9, size});
    at += 9 + size;
  }
  return out;
}

TEST_F(Reader, TwoInterpolatedModelsPerStream) {
  vxn::voice::SyntheticOptions o;
  o.leaves = 6;
  o.duration_leaves = 6;
  o.static_length[0] = 4;
  LoadedVoice v(vxn::voice::make_synthetic_voice(o));
  ASSERT_TRUE(v.loaded) << v.error;
  // Duplicate every tree block and every body: n = 2 models per stream.
  Bytes am = read_bytes(v.stem + ".am"), dt = read_bytes(v.stem + ".dt"), am2, dt2;
  for (const Section& s : sections(dt)) {
    dt2.insert(dt2.end(), dt.begin() + s.header, dt.begin() + s.body + s.size);
    dt2.insert(dt2.end(), dt.begin() + s.body, dt.begin() + s.body + s.size);
  }
  for (const Section& s : sections(am)) {
    am2.insert(am2.end(), am.begin() + s.header, am.begin() + s.body + s.size);
    am2.insert(am2.end(), am.begin() + s.body, am.begin() + s.body + s.size);
  }
  const std::string stem2 = v.dir.path() + "/twice";
  write_bytes(stem2 + ".am", am2);
  write_bytes(stem2 + ".dt", dt2);
  write_bytes(stem2 + ".qt", read_bytes(v.stem + ".qt"));
  write_bytes(stem2 + ".pt", read_bytes(v.stem + ".pt"));
  VXN_Engine e;
  VXN_Engine_initialize(&e, 3);
  ASSERT_EQ(vxn_test::load_package(&e, stem2, 2), 1);
  EXPECT_EQ(VXN_ModelSet_get_duration_interpolation_size(&e.ms), 2);
  EXPECT_EQ(VXN_ModelSet_get_parameter_interpolation_size(&e.ms, 1), 2);
  EXPECT_EQ(VXN_ModelSet_get_gv_interpolation_size(&e.ms, 2), 2);
  EXPECT_FLOAT_EQ(e.duration_iw[1], 0.5f);
  EXPECT_FLOAT_EQ(e.parameter_iw[2][0], 0.5f);
  EXPECT_FLOAT_EQ(e.gv_iw[0][1], 0.5f);
  // The same models twice: lookups agree with the single-model package.
  std::mt19937 rng(3);
  for (int i = 0; i < 20; i++) {
    const std::string label = vxn::voice::make_synthetic_label(rng);
    float a[12], av[12], b[12], bv[12];
    VXN_ModelSet_get_parameter(&e.ms, label.c_str(), a, av, nullptr, 0, 4);
    VXN_ModelSet_get_parameter(v.ms(), label.c_str(), b, bv, nullptr, 0, 4);
    for (int d = 0; d < 12; d++) EXPECT_EQ(a[d], b[d]);
  }
  VXN_Engine_clear(&e);
  // The same package read with n = 1 has .dt sections left over: rejected.
  EXPECT_EQ(attempt(stem2, 1).result, 0);
}

class Corrupt : public Reader {
 protected:
  void SetUp() override {
    Reader::SetUp();
    vxn::voice::SyntheticOptions o;
    o.leaves = 5;
    o.duration_leaves = 5;
    o.static_length[0] = 3;
    voice_.reset(new LoadedVoice(vxn::voice::make_synthetic_voice(o)));
    ASSERT_TRUE(voice_->loaded) << voice_->error;
    stem_ = voice_->stem;
    for (const char* ext : {".qt", ".pt", ".am", ".dt"}) original_[ext] = read_bytes(stem_ + ext);
  }
  void restore() {
    for (auto& f : original_) write_bytes(stem_ + f.first, f.second);
  }
  // Writes a modified copy of one file, loads, restores.
  Attempt with(const std::string& ext, const Bytes& bytes) {
    write_bytes(stem_ + ext, bytes);
    Attempt a = attempt(stem_);
    restore();
    return a;
  }
  std::unique_ptr<LoadedVoice> voice_;
  std::string stem_;
  std::map<std::string, Bytes> original_;
};

TEST_F(Corrupt, EveryTruncationIsRejected) {
  for (const char* ext : {".qt", ".pt", ".dt"}) {
    const Bytes& b = original_[ext];
    for (size_t len = 0; len < b.size(); len += 1 + len / 16) {
      const Attempt a = with(ext, Bytes(b.begin(), b.begin() + len));
      EXPECT_EQ(a.result, 0) << ext << " cut at " << len;
      EXPECT_NE(a.message.find("error ["), std::string::npos) << ext << " " << len;
    }
  }
  // The .am file may lose whole GV sections (they are optional) but nothing else.
  const Bytes& am = original_[".am"];
  const auto secs = sections(am);
  ASSERT_EQ(secs.size(), 7u);
  for (size_t len = 0; len < am.size(); len += 1 + len / 16) {
    const bool boundary = len == secs[4].header || len == secs[5].header || len == secs[6].header;
    EXPECT_EQ(with(".am", Bytes(am.begin(), am.begin() + len)).result, boundary ? 1 : 0) << len;
  }
}

TEST_F(Corrupt, FlippedBytesNeverCrashAndRejectionsAreClean) {
  std::mt19937 rng(11);
  int rejected = 0;
  for (const char* ext : {".qt", ".pt", ".am", ".dt"}) {
    const Bytes& b = original_[ext];
    for (int n = 0; n < 60; n++) {
      Bytes m = b;
      const size_t at = rng() % m.size();
      m[at] ^= (unsigned char)(1 + rng() % 255);
      const Attempt a = with(ext, m);  // model_set_empty is checked on rejection
      rejected += a.result == 0;
    }
  }
  EXPECT_GT(rejected, 60);
}

TEST_F(Corrupt, OutOfRangeIndexesNameTheProblem) {
  const Bytes& dt = original_[".dt"];
  const size_t q_len = (size_t)le32(dt, 9 + 4);
  const size_t qrec = 9 + 12 + 8;                // first question record
  const size_t trec = 9 + 8 + q_len + 12 + 7;    // first node record of the first tree
  struct Case {
    size_t at;
    std::vector<unsigned char> bytes;
    const char* code;
  } cases[] = {
      {qrec, {0xFF, 0xFF}, "error [3080]"},           // question index past the table
      {qrec + 4, {0xFF, 0xFF}, "error [3080]"},       // pattern index past the table
      {qrec - 4, {0, 0}, "error [3080]"},             // Nq = 0
      {trec, {0x10, 0x00}, "error [3090]"},           // node id +16
      {trec + 2, {0xFF, 0x7F}, "error [3090]"},       // question 32767
      {trec + 8, {0x80}, "error [3090]"},             // unknown flag
      {trec + 4, {0x30, 0x75, 0xFE, 0xFF, 0x00}, "error [3090]"},  // no child 30000, no leaf
      {trec + 8, {0x03}, "error [3100]"},             // an internal child becomes leaf < 1
      {0, {0, 0, 0, 0xEE}, "error [3050]"},           // section marker
      {4, {0x13}, "error [3050]"},                    // .dt kind does not match the .am
      {9 + 8, {0, 0, 0, 0xAA}, "error [3070]"},        // packet type
  };
  for (const Case& c : cases) {
    Bytes m = dt;
    std::copy(c.bytes.begin(), c.bytes.end(), m.begin() + c.at);
    const Attempt a = with(".dt", m);
    EXPECT_EQ(a.result, 0) << c.code;
    EXPECT_NE(a.message.find(c.code), std::string::npos) << c.code << ": " << a.message;
  }
  // .am: stream index 3, a codebook size that codes exceed, a wrong type, a
  // non-positive pdf count.
  const Bytes& am = original_[".am"];
  const auto secs = sections(am);
  struct AmCase {
    size_t at;
    std::vector<unsigned char> bytes;
    const char* code;
  } am_cases[] = {
      {secs[1].header + 4, {0x13}, "error [3050]"},
      {secs[0].body + 8, {0, 0, 0, 0}, "error [3110]"},
      {secs[0].body + 12, {0}, "error [3110]"},
      {secs[0].body + 4, {0, 0, 0, 0}, "error [3020]"},
      {secs[0].body, {0, 0, 0, 0x80}, "error [3010]"},
      {secs[5].header + 4, {0x23 + 0x10}, "loads nothing"},
  };
  for (const AmCase& c : am_cases) {
    Bytes m = am;
    std::copy(c.bytes.begin(), c.bytes.end(), m.begin() + c.at);
    const Attempt a = with(".am", m);
    if (std::string(c.code) == "loads nothing") continue;  // covered: no crash, clean state
    EXPECT_EQ(a.result, 0) << c.code;
    EXPECT_NE(a.message.find(c.code), std::string::npos) << c.code << ": " << a.message;
  }
}

TEST_F(Corrupt, MissingStringTablesOrFilesAreRejected) {
  VXN_Engine e;
  VXN_Engine_initialize(&e, 3);
  CVxnCode reader;
  std::string am = stem_ + ".am", dt = stem_ + ".dt", missing = stem_ + ".none";
  g_nStatePrint = 2;
  testing::internal::CaptureStderr();
  EXPECT_EQ(reader.VXN_Code_load_parameter_from_fn(&e, &am[0], &dt[0], 1), 0);  // no tables
  EXPECT_EQ(reader.VXN_Code_load_question_from_fn(&missing[0], &missing[0]), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("error [3040]"), std::string::npos);
  EXPECT_NE(err.find("error [1030] : Model name or path is invalid.\n"), std::string::npos);
  EXPECT_TRUE(model_set_empty(e));
  VXN_Engine_clear(&e);
}

TEST_F(Reader, OnDemandLayoutReadsCodesFromTheFile) {
  vxn::voice::SyntheticOptions o;
  o.leaves = 7;
  o.duration_leaves = 9;
  o.static_length[0] = 2;
  LoadedVoice v(vxn::voice::make_synthetic_voice(o));
  ASSERT_TRUE(v.loaded) << v.error;
  const auto secs = sections(read_bytes(v.stem + ".am"));
  FILE* fp = fopen((v.stem + ".am").c_str(), "rb");
  ASSERT_NE(fp, nullptr);
  CVxnCode reader;
  // Re-read the duration and pitch bodies with the codes left on disk and
  // give their state offsets to the loaded models.
  const int which[2] = {0, 2};
  VXN_Model* targets[2] = {&v.ms()->duration.model[0], &v.ms()->stream[1].model[0]};
  for (int i = 0; i < 2; i++) {
    VXN_Model m;
    CVxnCode::VXN_Code_initialize(&m);
    fseek(fp, (long)secs[which[i]].body, SEEK_SET);
    ASSERT_EQ(reader.VXN_Code_load_pdf_fp(&m, fp, i == 0 ? 1 : 5, i), 1);
    EXPECT_EQ(m.pdf[2], nullptr);  // no codes in memory
    EXPECT_EQ(ftell(fp), (long)(secs[which[i]].body + secs[which[i]].size));
    targets[i]->state_offset = m.state_offset;
    m.state_offset = nullptr;
    VXN_Model_clear(&m);
  }
  fclose(fp);
  v.ms()->language = 6;
  std::mt19937 rng(8);
  for (int n = 0; n < 40; n++) {
    const std::string label = vxn::voice::make_synthetic_label(rng);
    float a[8], av[8], b[8], bv[8], wa = -1, wb = -2;
    VXN_ModelSet_get_duration_fp(v.ms(), label.c_str(), a, av);
    const unsigned char* code = VXN_Model_find_pdf(targets[0], label.c_str(), -1);
    ASSERT_NE(code, nullptr);
    for (int d = 0; d < 5; d++) {
      EXPECT_EQ(a[d + 2], targets[0]->codebook[d][code[d]]);  // no smoothing
      EXPECT_EQ(av[d + 2], targets[0]->codebook[5 + d][code[5 + d]]);
    }
    for (int state = 2; state <= 6; state++) {
      VXN_ModelSet_get_parameter_fp(v.ms(), label.c_str(), a, av, &wa, 1, state);
      VXN_ModelSet_get_parameter(v.ms(), label.c_str(), b, bv, &wb, 1, state);
      for (int d = 0; d < 3; d++) {
        EXPECT_EQ(a[d], b[d]);
        EXPECT_EQ(av[d], bv[d]);
      }
      EXPECT_EQ(wa, wb);
    }
  }
}

TEST_F(Reader, SixteenLevelLayoutPacksTwoCodesPerByte) {
  // V = 2, one tree of 2 pdfs, K = 16: codebook entry e of dimension d is 100d + e.
  Bytes body;
  auto i32 = [&](int32_t x) {
    for (int k = 0; k < 4; k++) body.push_back((unsigned char)((uint32_t)x >> (8 * k)));
  };
  i32(2);
  i32(2);
  i32(16);
  body.push_back(1);
  for (int d = 0; d < 4; d++)
    for (int e = 0; e < 16; e++) {
      const float f = 100.0f * d + e;
      uint32_t u;
      memcpy(&u, &f, 4);
      i32((int32_t)u);
    }
  body.insert(body.end(), {0x12, 0x34, 0xF0, 0x0F});
  FILE* fp = fmemopen(body.data(), body.size(), "rb");
  CVxnCode reader;
  VXN_Model m;
  CVxnCode::VXN_Code_initialize(&m);
  ASSERT_EQ(reader.VXN_Code_load_pdf_16(&m, fp, 1, 0), 1);
  fclose(fp);
  // A hand tree: "*-a+*" selects leaf 2, anything else leaf 1.
  VXN_Pattern pat{const_cast<char*>("*-a+*"), nullptr, 0, 0};
  VXN_Question q{const_cast<char*>("C-a"), &pat, nullptr, 0};
  VXN_Node yes{0, 2, nullptr, nullptr, nullptr, nullptr}, no{0, 1, nullptr, nullptr, nullptr, nullptr};
  VXN_Node root{0, 0, &yes, &no, nullptr, &q};
  VXN_Tree tree{nullptr, nullptr, &root, 2};
  m.tree = &tree;
  VXN_ModelSet ms;
  VXN_ModelSet_initialize(&ms, 3);
  ms.nstate = 2;
  ms.duration.nmodel = 1;
  ms.duration.model = &m;
  float mean[4], vari[4];
  VXN_ModelSet_get_duration_16(&ms, "x-a+y", mean, vari);
  EXPECT_EQ(mean[2], 15.0f);   // 0xF0: mean code 15, variance code 0
  EXPECT_EQ(vari[2], 200.0f);
  EXPECT_EQ(mean[3], 100.0f);  // 0x0F
  EXPECT_EQ(vari[3], 315.0f);
  VXN_ModelSet_get_duration_16(&ms, "x-b+y", mean, vari);
  EXPECT_EQ(mean[2], 1.0f);    // 0x12
  EXPECT_EQ(vari[2], 202.0f);
  // The set borrows the model; only the question memo it built is its own.
  VXN_QuestionMemo_clear(&ms.memo);
  m.tree = nullptr;
  VXN_Model_clear(&m);

  // Codes must lie inside a smaller codebook.
  body[8] = 8;
  body.erase(body.begin() + 13 + 8 * 4 * 4, body.begin() + 13 + 16 * 4 * 4);
  fp = fmemopen(body.data(), body.size(), "rb");
  CVxnCode::VXN_Code_initialize(&m);
  g_nStatePrint = 2;
  testing::internal::CaptureStderr();
  EXPECT_EQ(reader.VXN_Code_load_pdf_16(&m, fp, 1, 0), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("error [3110]"), std::string::npos);
  fclose(fp);
  VXN_Model_clear(&m);
}

TEST_F(Reader, ReloadingReplacesTheVoiceAndAFailedReloadLeavesNothing) {
  vxn::voice::Voice with_gv = single_leaf_voice({5, 5, 5, 5, 5}, {1, 2, 3}, 0.9f);
  with_gv.gv[2] = {true, {1, 2}, {3, 4}};
  LoadedVoice v(with_gv);
  ASSERT_TRUE(v.loaded);
  ASSERT_NE(v.engine.gv_iw[2], nullptr);
  LoadedVoice plain(single_leaf_voice({2, 2, 2}, {1, 2, 3}, 0.9f));
  ASSERT_TRUE(plain.loaded);
  // The same engine record takes the second voice: no GV, three states.
  ASSERT_EQ(vxn_test::load_package(&v.engine, plain.stem), 1);
  EXPECT_EQ(v.ms()->nstate, 3);
  EXPECT_EQ(VXN_ModelSet_use_gv(v.ms(), 2), 0);
  EXPECT_EQ(v.engine.gv_iw[2], nullptr);
  // A broken package replaces it with nothing.
  write_bytes(plain.stem + ".am", Bytes(20, 0));
  g_nStatePrint = 3;
  EXPECT_EQ(vxn_test::load_package(&v.engine, plain.stem), 0);
  EXPECT_TRUE(model_set_empty(v.engine));
}

}  // namespace
