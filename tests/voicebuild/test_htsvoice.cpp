#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tests/voicebuild/hts_fixture.h"
#include "tools/voicebuild/VXN_htsvoice.h"

using vxn::voice::HtsVoice;
using vxn::voice::hts_pattern_match;
using vxn::voice::hts_tree_leaf;
using vxn::voice::parse_htsvoice;
using vxn_test::HtsFixture;

namespace {

bool parse(const std::string& bytes, HtsVoice* v, std::string* err) {
  return parse_htsvoice(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), v,
                        err);
}

// Expects rejection with a message containing `needle`.
void expect_reject(const std::string& bytes, const std::string& needle) {
  HtsVoice v;
  std::string err;
  EXPECT_FALSE(parse(bytes, &v, &err)) << "accepted; expected: " << needle;
  EXPECT_NE(err.find(needle), std::string::npos) << "message: " << err;
}

TEST(HtsVoiceReader, ReadsEveryPartOfAValidVoice) {
  HtsFixture f;
  HtsVoice v;
  std::string err;
  ASSERT_TRUE(parse(f.bytes(), &v, &err)) << err;
  EXPECT_EQ(v.sampling_frequency, 32000);
  EXPECT_EQ(v.frame_period, 160);
  EXPECT_EQ(v.num_states, 5);
  EXPECT_EQ(v.fullcontext_format, "HTS_TTS_ENG");
  ASSERT_EQ(v.gv_off_context.size(), 1u);
  EXPECT_EQ(v.gv_off_context[0], "*-pau+*");

  // Duration: one tree of 3 pdfs with 5 values each.
  ASSERT_EQ(v.duration_pdf.pdfs.size(), 1u);
  ASSERT_EQ(v.duration_pdf.pdfs[0].size(), 3u);
  EXPECT_FLOAT_EQ(v.duration_pdf.pdfs[0][2].mean[4], vxn_test::fixture_mean(0, 3, 4));
  EXPECT_FLOAT_EQ(v.duration_pdf.pdfs[0][2].vari[4], vxn_test::fixture_vari(0, 3, 4));
  ASSERT_EQ(v.duration_tree.questions.size(), 3u);
  EXPECT_EQ(v.duration_tree.questions[1].name, "C-Vowel");
  ASSERT_EQ(v.duration_tree.questions[1].patterns.size(), 2u);
  EXPECT_EQ(v.duration_tree.questions[1].patterns[1], "*-i+*");

  ASSERT_EQ(v.streams.size(), 2u);
  const auto& mcp = v.streams[0];
  EXPECT_EQ(mcp.name, "MCP");
  EXPECT_EQ(mcp.vector_length, 2);
  EXPECT_FALSE(mcp.msd);
  EXPECT_EQ(mcp.option, "ALPHA=0.45");
  ASSERT_EQ(mcp.windows.size(), 3u);
  EXPECT_EQ(mcp.windows[1], (std::vector<double>{-0.5, 0.0, 0.5}));
  ASSERT_EQ(mcp.pdf.pdfs.size(), 5u);
  // Static, delta and delta-delta blocks of V = 2: six means per pdf.
  EXPECT_FLOAT_EQ(mcp.pdf.pdfs[3][1].mean[5], vxn_test::fixture_mean(3, 2, 5));
  ASSERT_EQ(mcp.tree.trees.size(), 5u);
  for (int t = 0; t < 5; ++t) EXPECT_EQ(mcp.tree.trees[t].state, t + 2);
  ASSERT_EQ(mcp.gv_pdf.pdfs[0].size(), 1u);
  EXPECT_EQ(mcp.gv_pdf.pdfs[0][0].mean.size(), 2u);

  const auto& lf0 = v.streams[1];
  EXPECT_TRUE(lf0.msd);
  EXPECT_FLOAT_EQ(lf0.pdf.pdfs[0][0].msd, vxn_test::fixture_weight(1));
  EXPECT_FLOAT_EQ(lf0.pdf.pdfs[0][1].msd, vxn_test::fixture_weight(2));
  // The single-leaf tree of state 4.
  const auto& single = lf0.tree.trees[2];
  ASSERT_EQ(single.nodes.size(), 1u);
  EXPECT_EQ(single.nodes[0].question, -1);
  EXPECT_EQ(hts_tree_leaf(lf0.tree, 2, "x^y-a+b=c"), 1);
}

TEST(HtsVoiceReader, TreeWalkFollowsQuestions) {
  HtsFixture f;
  HtsVoice v;
  std::string err;
  ASSERT_TRUE(parse(f.bytes(), &v, &err)) << err;
  // Root asks C-Vowel (no: leaf 3); node -1 asks C-a (no: leaf 2, yes: leaf 1).
  EXPECT_EQ(hts_tree_leaf(v.duration_tree, 0, "x^y-a+b=c"), 1);
  EXPECT_EQ(hts_tree_leaf(v.duration_tree, 0, "x^y-i+b=c"), 2);
  EXPECT_EQ(hts_tree_leaf(v.duration_tree, 0, "x^y-k+b=c"), 3);
  EXPECT_EQ(hts_tree_leaf(v.duration_tree, 0, "x^y-aa+b=c"), 3);
  EXPECT_EQ(hts_tree_leaf(v.duration_tree, 1, "x^y-a+b=c"), -1);  // no such tree
}

TEST(HtsVoiceReader, PatternMatchIsAnchoredGlob) {
  EXPECT_TRUE(hts_pattern_match("", "*"));
  EXPECT_TRUE(hts_pattern_match("", ""));
  EXPECT_FALSE(hts_pattern_match("a", ""));
  EXPECT_TRUE(hts_pattern_match("abc", "a?c"));
  EXPECT_FALSE(hts_pattern_match("ac", "a?c"));
  EXPECT_FALSE(hts_pattern_match("abcd", "a?c"));
  EXPECT_TRUE(hts_pattern_match("x^y-a+b=c", "*-a+*"));
  EXPECT_FALSE(hts_pattern_match("x^y-aa+b=c", "*-a+*"));
  EXPECT_TRUE(hts_pattern_match("xaxbx", "*a*b*"));
  EXPECT_TRUE(hts_pattern_match("ab", "*a*b*"));
  EXPECT_FALSE(hts_pattern_match("ba", "*a*b*"));
  EXPECT_FALSE(hts_pattern_match("", "*?*"));
  EXPECT_TRUE(hts_pattern_match("q", "*?*"));
  EXPECT_FALSE(hts_pattern_match("abcd", "abcde*"));
  EXPECT_TRUE(hts_pattern_match("a/J:7+3-1", "*/J:?+*"));
  EXPECT_FALSE(hts_pattern_match("a/J:17+3-1", "*/J:?+*"));
}

TEST(HtsVoiceReader, RejectsBrokenHeaders) {
  {
    HtsFixture f;
    f.remove_header("NUM_STATES");
    expect_reject(f.bytes(), "missing key NUM_STATES");
  }
  {
    HtsFixture f;
    f.set_header("FRAME_PERIOD", "320");
    expect_reject(f.bytes(), "is not 5 ms");
  }
  {
    HtsFixture f;
    f.set_header("NUM_STREAMS", "3");
    expect_reject(f.bytes(), "STREAM_TYPE lists 2 streams");
  }
  {
    HtsFixture f;
    f.set_header("HTS_VOICE_VERSION", "2.0");
    expect_reject(f.bytes(), "HTS_VOICE_VERSION");
  }
  {
    HtsFixture f;
    f.set_header("VECTOR_LENGTH[MCP]", "two");
    expect_reject(f.bytes(), "is not an integer");
  }
  {
    HtsFixture f;
    f.header.push_back({"NUM_STATES", "5"});
    expect_reject(f.bytes(), "appears twice");
  }
  {
    std::string b = HtsFixture().bytes();
    b.replace(b.find("[DATA]"), 6, "[DATE]");
    expect_reject(b, "unknown section [DATE]");
  }
  {
    std::string b = HtsFixture().bytes();
    expect_reject(b.substr(0, b.find("[DATA]")), "no [DATA] line");
  }
  expect_reject("", "no [DATA] line");
}

TEST(HtsVoiceReader, RejectsPositionsThatDoNotAddUp) {
  HtsFixture f;
  const std::string good = f.bytes();
  const std::size_t data = good.size() - (good.size() - good.find("[DATA]\n") - 7);
  const std::size_t total = good.size() - data;
  expect_reject(f.bytes({{"DURATION_PDF", "0-" + std::to_string(total)}}), "runs past the data");
  expect_reject(f.bytes({{"DURATION_PDF", "10-4"}}), "ends before it starts");
  expect_reject(f.bytes({{"DURATION_PDF", "0-122"}}), "the range holds 123");
  expect_reject(f.bytes({{"DURATION_PDF", "0-62"}}), "more than the block holds");
  expect_reject(f.bytes({{"STREAM_PDF[LF0]", "-"}}), "missing key STREAM_PDF[LF0]");
  expect_reject(f.bytes({{"GV_TREE[MCP]", "-"}}), "missing key GV_TREE[MCP]");
  // Two window ranges for three windows.
  std::string win;
  for (const auto& p : {std::string("STREAM_WIN[MCP]")}) {
    std::string b = f.bytes();
    std::size_t at = b.find(p + ":");
    std::size_t eol = b.find('\n', at);
    std::string line = b.substr(at, eol - at);
    win = line.substr(0, line.rfind(','));
    b.replace(at, eol - at, win);
    expect_reject(b, "2 ranges for 3 windows");
  }
}

TEST(HtsVoiceReader, RejectsBadPdfBlocks) {
  {
    HtsFixture f;
    f.block("DURATION_PDF") = vxn_test::pdf_block({0}, 5, false);
    expect_reject(f.bytes(), "has 0 pdfs");
  }
  {
    HtsFixture f;  // claims 2 pdfs, holds 3
    std::string& b = f.block("DURATION_PDF");
    b[0] = 2;
    expect_reject(f.bytes(), "need");
  }
  {
    HtsFixture f;  // a huge count must not be trusted
    std::string& b = f.block("STREAM_PDF[MCP]");
    b[3] = 0x7f;
    expect_reject(f.bytes(), "more than the block holds");
  }
  {
    HtsFixture f;
    std::string& b = f.block("STREAM_PDF[MCP]");
    float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(&b[20 + 4 * 2], &nan, 4);
    expect_reject(f.bytes(), "mean is not finite");
  }
  {
    HtsFixture f;
    std::string& b = f.block("STREAM_PDF[MCP]");
    float zero = 0.0f;
    std::memcpy(&b[20 + 4 * 7], &zero, 4);
    expect_reject(f.bytes(), "variance is not a positive");
  }
  {
    HtsFixture f;
    std::string& b = f.block("STREAM_PDF[LF0]");
    float w = 1.5f;
    std::memcpy(&b[20 + 4 * 6], &w, 4);
    expect_reject(f.bytes(), "voiced weight outside 0..1");
  }
  {
    HtsFixture f;
    f.block("STREAM_WIN[MCP]#1") = "3 -0.5 0.5\n";
    expect_reject(f.bytes(), "width 3 but 2 coefficients");
  }
  {
    HtsFixture f;
    f.block("STREAM_WIN[MCP]#1") = "2 -0.5 0.5\n";
    expect_reject(f.bytes(), "even window width");
  }
}

TEST(HtsVoiceReader, RejectsTreesThatDoNotFitTheirPdfs) {
  const std::string q = vxn_test::fixture_questions();
  struct Case {
    std::string tree;
    std::string needle;
  } cases[] = {
      {"{*}[2]\n{\n 0 C-a \"d_1\" \"d_4\"\n}\n", "names pdf 4 of a tree with 3 pdfs"},
      {"{*}[2]\n{\n 0 C-a \"d_0\" \"d_1\"\n}\n", "names pdf 0"},
      {"{*}[2]\n{\n 0 C-a \"d\" \"d_1\"\n}\n", "does not end in _N"},
      {"{*}[2]\n{\n 0 C-b \"d_1\" \"d_2\"\n}\n", "unknown question C-b"},
      {"{*}[2]\n{\n 0 C-a -1 \"d_2\"\n}\n", "undefined node -1"},
      {"{*}[2]\n{\n 0 C-a -1 \"d_2\"\n -1 C-a \"d_1\" \"d_2\"\n -1 C-a \"d_1\" \"d_3\"\n}\n",
       "defined twice"},
      {"{*}[2]\n{\n 0 C-a \"d_1\" \"d_2\"\n -1 C-a -2 \"d_3\"\n -2 C-a -1 \"d_3\"\n}\n",
       "does not reach"},
      {"{*}[2]\n{\n 0 C-a -1 -1\n -1 C-a \"d_1\" \"d_2\"\n}\n", "two parents"},
      {"{*}[2]\n{\n 0 C-a 0 \"d_2\"\n}\n", "refers back to the root"},
      {"{*}[2]\n{\n -1 C-a \"d_1\" \"d_2\"\n}\n", "no root node 0"},
      {"{*}[2]\n{\n 0 C-a 3 \"d_2\"\n}\n", "neither a node id"},
      {"{*}[3]\n{\n 0 C-a \"d_1\" \"d_2\"\n}\n", "serves state 3, expected 2"},
      {"{*}[2]\n{\n 0 C-a \"d_1\" \"d_2\"\n", "unterminated tree"},
      {"{*}[2]\n{\n}\n", "tree without nodes"},
      {"{*}[2]\n\"d_1\"\n{*}[3]\n\"d_1\"\n", "more trees than the pdf block"},
      {"", "0 trees for 1 pdf sets"},
      {"[2]\n\"d_1\"\n", "expected a tree header"},
  };
  for (const Case& c : cases) {
    HtsFixture f;
    f.block("DURATION_TREE") = q + c.tree;
    SCOPED_TRACE(c.tree);
    expect_reject(f.bytes(), c.needle);
  }
  const std::string bad_questions[][2] = {
      {"QS C-a { }\n", "has no patterns"},
      {"QS C-a { \"*-a+*\" \"*-i+*\" }\n", "expected ',' or '}'"},
      {"QS C-a { \"*-a+*\" }\nQS C-a { \"*-i+*\" }\n", "question C-a is defined twice"},
      {"QS C-a { \"*-a+* }\n", "line break inside a quoted string"},
      {"QX C-a { \"*-a+*\" }\n", "expected QS"},
  };
  for (const auto& b : bad_questions) {
    HtsFixture f;
    f.block("DURATION_TREE") = b[0] + std::string("{*}[2]\n\"d_1\"\n");
    SCOPED_TRACE(b[0]);
    expect_reject(f.bytes(), b[1]);
  }
  HtsFixture f;  // five trees needed for a parameter stream
  std::string& t = f.block("STREAM_TREE[LF0]");
  t = t.substr(0, t.find("{*}[6]"));
  expect_reject(f.bytes(), "4 trees for 5 pdf sets");
}

TEST(HtsVoiceReader, ReadsTheFileFromDisk) {
  HtsVoice v;
  std::string err;
  EXPECT_FALSE(vxn::voice::read_htsvoice("/nonexistent/voice.htsvoice", &v, &err));
  EXPECT_NE(err.find("cannot open"), std::string::npos);
  const std::string path = ::testing::TempDir() + "fixture.htsvoice";
  FILE* fp = std::fopen(path.c_str(), "wb");
  ASSERT_NE(fp, nullptr);
  const std::string b = HtsFixture().bytes();
  std::fwrite(b.data(), 1, b.size(), fp);
  std::fclose(fp);
  ASSERT_TRUE(vxn::voice::read_htsvoice(path, &v, &err)) << err;
  EXPECT_EQ(v.streams.size(), 2u);
  std::remove(path.c_str());
}

}  // namespace
