#include <gtest/gtest.h>

#include <vector>

#include <stdio.h>
#include <string.h>

#include <string>

#include "engine/VXN_misc.h"

namespace {

FILE* stream_of(const char* text) {
  FILE* fp = tmpfile();
  fputs(text, fp);
  rewind(fp);
  return fp;
}

class PrintLevel : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = g_nStatePrint; }
  void TearDown() override { g_nStatePrint = saved_; }
  int saved_ = 2;
};

TEST_F(PrintLevel, LevelFiltersAndPrefixes) {
  g_nStatePrint = 2;
  testing::internal::CaptureStderr();
  VXN_print(1, "hidden %d\n", 1);
  VXN_print(2, "shown %d\n", 2);
  VXN_print(7, "also shown\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\nTTS_Fatal Error: shown 2\n\nTTS_Fatal Error: also shown\n");

  g_nStatePrint = 0;
  testing::internal::CaptureStderr();
  VXN_print(0, "d");
  VXN_print(1, "i");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nTTS_Debug: d\nTTS_Info: i");
}

TEST_F(PrintLevel, ErrorAlwaysPrints) {
  g_nStatePrint = 5;
  testing::internal::CaptureStderr();
  VXN_error(0, "w");
  VXN_error(3, "e");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "\nTTS_Warning: w\nTTS_Error: e");
}

TEST(ByteOrder, SwapsEachElement) {
  unsigned char b[4] = {1, 2, 3, 4};
  EXPECT_EQ(VXN_byte_swap(b, 2, 2), 2);
  EXPECT_EQ(b[0], 2);
  EXPECT_EQ(b[1], 1);
  EXPECT_EQ(b[2], 4);
  EXPECT_EQ(b[3], 3);

  FILE* fp = stream_of("\x01\x02\x03\x04");
  uint32_t v = 0;
  EXPECT_EQ(VXN_fread_big_endian(&v, 4, 1, fp), 1);
  EXPECT_EQ(v, 0x01020304u);
  fclose(fp);
}

TEST(Tokens, StreamTokensThenEmptyThenFalse) {
  FILE* fp = stream_of("  ab\tcd\n");
  char buf[1024];
  ASSERT_TRUE(VXN_get_token(fp, buf));
  EXPECT_STREQ(buf, "ab");
  ASSERT_TRUE(VXN_get_token(fp, buf));
  EXPECT_STREQ(buf, "cd");
  ASSERT_TRUE(VXN_get_token(fp, buf));
  EXPECT_STREQ(buf, "");
  EXPECT_FALSE(VXN_get_token(fp, buf));
  fclose(fp);

  // End of file met while skipping separators ends the stream at once.
  fp = stream_of("x\n\n");
  ASSERT_TRUE(VXN_get_token(fp, buf));
  EXPECT_FALSE(VXN_get_token(fp, buf));
  fclose(fp);
}

TEST(Tokens, StringTokensAdvanceIndex) {
  const char* text = " one two\tthree";
  int index = 0;
  char buf[1024];
  ASSERT_TRUE(VXN_get_token_from_string(text, &index, buf));
  EXPECT_STREQ(buf, "one");
  ASSERT_TRUE(VXN_get_token_from_string(text, &index, buf));
  EXPECT_STREQ(buf, "two");
  ASSERT_TRUE(VXN_get_token_from_string(text, &index, buf));
  EXPECT_STREQ(buf, "three");
  EXPECT_EQ(text[index], '\0');
  EXPECT_FALSE(VXN_get_token_from_string(text, &index, buf));
}

TEST(Tokens, PatternTokensKeepQuotedBlanks) {
  FILE* fp = stream_of("'a b' , x");
  char buf[1024];
  char* end = VXN_get_pattern_token(fp, buf);
  EXPECT_STREQ(buf, "a b");
  EXPECT_EQ(end, buf + 3);
  end = VXN_get_pattern_token(fp, buf);
  EXPECT_STREQ(buf, ",");
  EXPECT_EQ(end, buf);
  VXN_get_pattern_token(fp, buf);
  EXPECT_STREQ(buf, "x");
  fclose(fp);

  fp = stream_of("\"*-a+*\"\n\"*-b+*\"");
  VXN_get_pattern_token(fp, buf);
  EXPECT_STREQ(buf, "*-a+*");
  VXN_get_pattern_token(fp, buf);
  EXPECT_STREQ(buf, "*-b+*");
  fclose(fp);
}

TEST(Allocation, MatrixRowsShareOneZeroedBlock) {
  float** m = VXN_alloc_matrix(3, 4);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m[1], m[0] + 4);
  EXPECT_EQ(m[2][3], 0.0f);
  VXN_free_matrix(m, 3);
  double** d = VXN_alloc_matrix_double(2, 2);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d[1], d[0] + 2);
  VXN_free_matrix_double(d, 2);

  char* s = VXN_strdup("label");
  EXPECT_STREQ(s, "label");
  VXN_free(s);
  VXN_free(nullptr);
}

TEST(Allocation, LargeMatrixBlocksAreKeptAndComeBackZeroed) {
  VXN_release_kept_blocks();
  // A sentence's matrix, filled and freed, is kept...
  float** m = VXN_alloc_matrix(400, 105);
  ASSERT_NE(m, nullptr);
  for (int t = 0; t < 400; t++)
    for (int d = 0; d < 105; d++) m[t][d] = 1.5f;
  VXN_free_matrix(m, 400);
  EXPECT_EQ(VXN_kept_block_bytes(), 400u * 105u * sizeof(float));
  // ...and the next request it fits (not more than twice its size) gets it
  // back zeroed.
  double** d = VXN_alloc_matrix_double(120, 80);  // 76,800 bytes: too small a request for it
  EXPECT_EQ(VXN_kept_block_bytes(), 400u * 105u * sizeof(float));
  VXN_free_matrix_double(d, 120);
  float** again = VXN_alloc_matrix(390, 105);
  ASSERT_NE(again, nullptr);
  float sum = 0;
  for (int t = 0; t < 390; t++)
    for (int k = 0; k < 105; k++) sum += again[t][k];
  EXPECT_EQ(sum, 0.0f);
  EXPECT_EQ(VXN_kept_block_bytes(), 120u * 80u * sizeof(double));
  VXN_free_matrix(again, 390);
  // Small blocks go straight back; at most eight large ones are kept.
  float** small = VXN_alloc_matrix(10, 10);
  VXN_free_matrix(small, 10);
  VXN_release_kept_blocks();
  EXPECT_EQ(VXN_kept_block_bytes(), 0u);
  std::vector<float**> many;
  for (int i = 0; i < 10; i++) many.push_back(VXN_alloc_matrix(200 + i, 100));
  for (int i = 0; i < 10; i++) VXN_free_matrix(many[i], 200 + i);
  size_t eight = 0;
  for (int i = 0; i < 8; i++) eight += (size_t)(200 + i) * 100 * sizeof(float);
  EXPECT_EQ(VXN_kept_block_bytes(), eight);
  VXN_release_kept_blocks();
  EXPECT_EQ(VXN_kept_block_bytes(), 0u);
}

}  // namespace
