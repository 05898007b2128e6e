#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <unistd.h>
#include <stdlib.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/VXN_engine.h"
#include "engine/VXN_prosody_key.h"
#include "engine/VXN_vsearch.h"
#include "tests/engine/prosody_fixture.h"

// Prosody database loader and diphone index.

namespace {

using vxn::voice::ProsodyDatabase;
using vxn_test::unit;

// Three phones a, b, c after the base ones; contours 0 and 1; slope and F0
// codebooks of two rows.
ProsodyDatabase small_db() {
  ProsodyDatabase db;
  db.phones = vxn_test::base_phones({"a", "b", "c"});
  db.slope_codebook = {-0.5f, 0.25f};
  db.f0_codebook = {5.0f, 5.5f};
  db.contours = {{{0.0f, 0.0f, 0.0f, 0.0f, 0.0f}}, {{5.0f, 5.1f, 5.2f, 5.3f, 5.4f}}};
  db.units = {unit(db, "a", {"x", "pau", "b", "c"}, 1), unit(db, "b", {"pau", "a", "c", "x"}, 0)};
  db.units[1].voiced = false;
  db.units[1].slope_row = 1;
  db.units[1].f0_row = 1;
  return db;
}

std::vector<uint8_t> encode(const ProsodyDatabase& db) {
  std::vector<uint8_t> image;
  std::string error;
  EXPECT_TRUE(vxn::voice::encode_prosody_database(db, &image, &error)) << error;
  return image;
}

// Offsets into the image of small_db(): the phone list and the three counts.
struct Layout {
  size_t list, counts, sets, units;
};
Layout layout(const std::vector<uint8_t>& image) {
  Layout l;
  l.list = 3;
  l.counts = 3 + (size_t)(image[1] | (image[2] << 8));
  l.sets = l.counts + 12;
  l.units = image.size() - 2 * VXN_VT_RECORD_BYTES;
  return l;
}

void put_i32(std::vector<uint8_t>& image, size_t at, int32_t v) { memcpy(&image[at], &v, 4); }

std::vector<uint8_t> scrambled_list(const std::string& text, int phones) {
  uint8_t key[VXN_PROSODY_KEY_SIZE];
  VXN_prosody_key(key);
  std::vector<uint8_t> out = {(uint8_t)phones, (uint8_t)text.size(), (uint8_t)(text.size() >> 8)};
  for (size_t i = 0; i < text.size(); i++) out.push_back((uint8_t)((uint8_t)text[i] + key[i % 5]));
  return out;
}

// The image of small_db() with its phone list replaced.
std::vector<uint8_t> with_list(const std::string& text, int phones) {
  const std::vector<uint8_t> image = encode(small_db());
  std::vector<uint8_t> out = scrambled_list(text, phones);
  out.insert(out.end(), image.begin() + (long)layout(image).counts, image.end());
  return out;
}

class Loader : public ::testing::Test {
 protected:
  void TearDown() override { Hybrid_FreeDB(&vt_); }
  // Loads an image; returns what the loader printed.
  std::string load(const std::vector<uint8_t>& image, int expect) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Hybrid_LoadingPD_from_memory(&vt_, image.data(), image.size(), "db.pd"), expect);
    return testing::internal::GetCapturedStderr();
  }
  VXN_VTContext vt_ = {};
};

TEST_F(Loader, ReadsEveryField) {
  load(encode(small_db()), 1);
  ASSERT_EQ(vt_.phone_count, 6);
  EXPECT_STREQ(vt_.phone_names[0], "x");
  EXPECT_STREQ(vt_.phone_names[5], "c");
  ASSERT_EQ(vt_.unit_count, 2);
  ASSERT_EQ(vt_.set_count, 3);
  EXPECT_EQ(vt_.sets[VXN_VT_SET_SLOPE].rows, 2);
  EXPECT_EQ(vt_.sets[VXN_VT_SET_SLOPE].columns, 1);
  EXPECT_EQ(vt_.sets[VXN_VT_SET_CONTOUR].columns, 5);
  const uint8_t a[7] = {3, 0, 2, 4, 5 | VXN_VT_VOICED_MARK, 0, 0};
  EXPECT_EQ(memcmp(vt_.units[0].b, a, 7), 0);
  EXPECT_EQ(vt_.units[0].contour, 1);
  const uint8_t b[7] = {4, 2, 3, 5, 0, 1, 1};  // unvoiced: no top bit
  EXPECT_EQ(memcmp(vt_.units[1].b, b, 7), 0);
  EXPECT_FLOAT_EQ(GetF0Coef(&vt_, 1), 5.5f);
  EXPECT_FLOAT_EQ(GetSlopeCoef(&vt_, 1), 0.25f);
  EXPECT_FLOAT_EQ(GetParameterSequence(&vt_, 0)[4], 5.4f);
}

TEST_F(Loader, PhoneListWithoutFinalCommaLosesItsLastName) {
  load(with_list("x,sp,pau,a,b,c", 6), 1);
  EXPECT_EQ(PhonemeToIndex(vt_.phone_names, vt_.phone_count, "b"), 4);
  EXPECT_EQ(PhonemeToIndex(vt_.phone_names, vt_.phone_count, "c"), -1);
  EXPECT_EQ(PhonemeToIndex(vt_.phone_names, vt_.phone_count, ""), -1);
}

TEST_F(Loader, RefusesBadFilesWithNumberedMessage) {
  const std::vector<uint8_t> good = encode(small_db());
  const Layout at = layout(good);
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> edit;
  };
  const Case cases[] = {
      {"ends inside its header", [](std::vector<uint8_t>& im) { im.resize(2); }},
      {"inventory is empty", [](std::vector<uint8_t>& im) { im[0] = 0; }},
      {"runs past the end", [](std::vector<uint8_t>& im) { im.resize(10); }},
      {"unit count -1", [&](std::vector<uint8_t>& im) { put_i32(im, at.counts, -1); }},
      {"unit count 1000001", [&](std::vector<uint8_t>& im) { put_i32(im, at.counts, 1000001); }},
      {"unit records of 10 bytes", [&](std::vector<uint8_t>& im) { put_i32(im, at.counts + 4, 10); }},
      {"contour set count 2", [&](std::vector<uint8_t>& im) { put_i32(im, at.counts + 8, 2); }},
      {"contour set 0 has 0 rows", [&](std::vector<uint8_t>& im) { put_i32(im, at.sets, 0); }},
      {"contour set 0 has 101 columns",
       [&](std::vector<uint8_t>& im) { put_i32(im, at.sets + 4, 101); }},
      {"contour set 0 (100000 x 1) runs past",
       [&](std::vector<uint8_t>& im) { put_i32(im, at.sets, 100000); }},
      {"not a finite number",
       [&](std::vector<uint8_t>& im) { memset(&im[at.sets + 8], 0xff, 4); }},
      {"phone index 6 in byte 0", [&](std::vector<uint8_t>& im) { im[at.units] = 6; }},
      {"phone index 6 in byte 4",
       [&](std::vector<uint8_t>& im) { im[at.units + 4] = 6 | VXN_VT_VOICED_MARK; }},
      {"slope row 2", [&](std::vector<uint8_t>& im) { im[at.units + 5] = 2; }},
      {"F0 row 7", [&](std::vector<uint8_t>& im) { im[at.units + 6] = 7; }},
      {"contour row 257", [&](std::vector<uint8_t>& im) { im[at.units + 8] = 1; }},
      {"need 18 bytes, the file holds 17", [](std::vector<uint8_t>& im) { im.pop_back(); }},
      {"1 bytes follow the last unit record", [](std::vector<uint8_t>& im) { im.push_back(0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> image = good;
    c.edit(image);
    const std::string err = load(image, 0);
    EXPECT_NE(err.find("error [1070] : Hybrid_LoadingPD: db.pd: "), std::string::npos) << err;
    EXPECT_NE(err.find(c.what), std::string::npos) << err;
    EXPECT_EQ(vt_.units, nullptr);
    EXPECT_EQ(vt_.phone_count, 0);
    EXPECT_EQ(vt_.set_count, 0);
  }
}

TEST_F(Loader, RefusesBadPhoneLists) {
  EXPECT_NE(load(with_list("x,sp,pau,abcde,b,c,", 6), 0).find("'abcde', not a name"),
            std::string::npos);
  EXPECT_NE(load(with_list("x,,pau,a,b,c,", 6), 0).find("phone 1 of the list is ''"),
            std::string::npos);
  EXPECT_NE(load(with_list("x,sp,pau,a,a,c,", 6), 0).find("phone 'a' appears twice"),
            std::string::npos);
  EXPECT_NE(load(with_list("x,sp,pau,a,b,c,d,", 6), 0).find("names more than its 6 phones"),
            std::string::npos);
  EXPECT_NE(load(with_list("x,sp,p u,a,b,c,", 6), 0).find("not a name"), std::string::npos);
}

TEST_F(Loader, FileThatCannotBeOpened) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(Hybrid_LoadingPD(&vt_, "/nonexistent/db.pd"), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "error [1070] : Hybrid_LoadingPD: /nonexistent/db.pd: cannot open the file"),
            std::string::npos);
}

// Units a b a b c: every consecutive pair is a diphone, chained per
// (left, right) in unit order, each chain closed by an empty entry.
TEST(DiphoneIndex, ChainsConsecutiveUnits) {
  ProsodyDatabase db = small_db();
  db.units = {unit(db, "a"), unit(db, "b"), unit(db, "a"), unit(db, "b"), unit(db, "c")};
  vxn_test::LoadedDb l;
  l.load(db);
  VXN_VTContext* vt = l.vt();
  const int P = 6, a = 3, b = 4, c = 5;
  auto count = [&](int L, int R) { return vt->diphone_counts[L * P + R]; };
  EXPECT_EQ(count(a, b), 2);
  EXPECT_EQ(count(b, a), 1);
  EXPECT_EQ(count(b, c), 1);
  int total = 0;
  for (int i = 0; i < P * P; i++) total += vt->diphone_counts[i];
  EXPECT_EQ(total, 4);
  const VXN_VTDiphone* e = &vt->diphones[a * P + b];
  EXPECT_EQ(e->left, 0);
  EXPECT_EQ(e->right, 1);
  // The second (a, b) entry is the first one taken from the block after the
  // heads; the block holds P * P + A - 1 entries.
  ASSERT_EQ(e->next, &vt->diphones[P * P]);
  EXPECT_EQ(e->next->left, 2);
  EXPECT_EQ(e->next->right, 3);
  ASSERT_NE(e->next->next, nullptr);
  EXPECT_EQ(e->next->next->left, -1);
  EXPECT_EQ(e->next->next->next, nullptr);
  EXPECT_EQ(vt->diphones[P * P + 3].left, -1);  // the last entry ends (b, c)
  EXPECT_EQ(vt->diphones[b * P + c].next, &vt->diphones[P * P + 3]);
  EXPECT_EQ(vt->diphones[c * P + a].left, -1);  // an empty chain is its head alone
}

TEST(DiphoneIndex, OneUnitHasNoDiphones) {
  ProsodyDatabase db = small_db();
  db.units = {unit(db, "a")};
  vxn_test::LoadedDb l;
  l.load(db);
  for (int i = 0; i < 36; i++) {
    EXPECT_EQ(l.vt()->diphone_counts[i], 0);
    EXPECT_EQ(l.vt()->diphones[i].left, -1);
  }
}

// Through the engine hooks: a good file turns hybrid mode on, a bad one is
// refused and leaves the process in basic mode.
TEST(ProsodyHooks, InitializeSetsHybridOnlyForGoodFiles) {
  char path[] = "/tmp/vxn_pdXXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  std::vector<uint8_t> image = encode(small_db());
  for (int corrupt = 0; corrupt <= 1; corrupt++) {
    SCOPED_TRACE(corrupt ? "corrupt" : "good");
    if (corrupt) image[layout(image).units] = 200;
    FILE* fp = fopen(path, "wb");
    ASSERT_NE(fp, nullptr);
    fwrite(image.data(), 1, image.size(), fp);
    fclose(fp);
    VXN_Engine engine;
    VXN_Engine_initialize(&engine, 3);
    testing::internal::CaptureStderr();
    VXN_VT_initialize(&engine, path);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(VXN_VT_is_hybrid(&engine.vt), corrupt ? 0 : 1);
    EXPECT_EQ(engine.vt.unit_count, corrupt ? 0 : 2);
    EXPECT_EQ(err.find("error [1070]") != std::string::npos, corrupt == 1) << err;
    VXN_VT_clear(&engine);
    EXPECT_EQ(engine.vt.units, nullptr);
    EXPECT_EQ(engine.vt.diphones, nullptr);
    VXN_Engine_clear(&engine);
  }
  unlink(path);
}

}  // namespace
