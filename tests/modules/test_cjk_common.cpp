// Resource files, piece cutting and the label writer shared by the Korean
// and Chinese analyzers.
#include <gtest/gtest.h>

#include "modules/cjk/cjk_label.h"
#include "modules/cjk/cjk_piece.h"
#include "modules/cjk/cjk_resource.h"
#include "modules/cjk/cjk_text.h"

namespace {

TEST(ResourceFile, SectionsEntriesAndComments) {
  cjk::ResourceFile f;
  ASSERT_TRUE(f.Parse("# comment\n[a]\nk\tv w\nx=1\n#\tsharp\n\n[b]\nonly\n", "t")) << f.error();
  ASSERT_EQ(f.Section("a").size(), 3u);
  EXPECT_EQ(f.Value("a", "k", ""), "v w");
  EXPECT_EQ(f.IntValue("a", "x", 0), 1);
  EXPECT_EQ(f.Value("a", "#", ""), "sharp");  // '#' with a tab is an entry, not a comment
  EXPECT_EQ(f.Value("b", "only", "?"), "");
  EXPECT_EQ(f.IntValue("a", "k", 7), 7);       // not a number
  EXPECT_TRUE(f.Section("none").empty());
}

TEST(ResourceFile, MalformedInputIsRejectedWithTheOffendingLine) {
  cjk::ResourceFile f;
  EXPECT_FALSE(f.Parse("k\tv\n", "t"));
  EXPECT_NE(f.error().find("entry before any section"), std::string::npos) << f.error();
  EXPECT_FALSE(f.Parse("[a\n", "t"));
  EXPECT_NE(f.error().find("'[a'"), std::string::npos) << f.error();
  EXPECT_FALSE(f.Parse("[a]\n\tv\n", "t"));
  EXPECT_FALSE(f.Parse(std::string("[a]\nk\0v\n", 8), "t"));
  EXPECT_FALSE(f.Parse("[a]\n" + std::string(5000, 'x') + "\n", "t"));
  EXPECT_FALSE(f.Load("/nonexistent/file"));
  EXPECT_NE(f.error().find("cannot open '/nonexistent/file'"), std::string::npos);
}

TEST(Utf8, MalformedBytesAreSkipped) {
  cjk::Text t = cjk::DecodeUtf8("a\xE4\xB8\xADz\xC0\xAF\xED\xA0\x80\xE4");
  EXPECT_EQ(t.cp, (std::vector<uint32_t>{'a', 0x4E2D, 'z'}));
  EXPECT_EQ(t.offset, (std::vector<size_t>{0, 1, 4, 11}));
}

std::vector<cjk::Piece> cut(const std::string& text, size_t max = 100) {
  cjk::PieceCutter c(max);
  c.Start(cjk::DecodeUtf8(text));
  std::vector<cjk::Piece> out;
  while (c.pending() && out.size() < 50) out.push_back(c.Next());
  return out;
}

std::string text_of(const cjk::Piece& p) { return cjk::Utf8(p.chars, 0, p.chars.size()); }

TEST(PieceCutter, SentencesSilencesAndForcedCuts) {
  auto p = cut("One. 3.5 is two! <silence=300> End?\" more");
  ASSERT_EQ(p.size(), 5u);
  EXPECT_EQ(text_of(p[0]), "One.");
  EXPECT_EQ(text_of(p[1]), "3.5 is two!");
  EXPECT_EQ(p[2].kind, cjk::Piece::kSilence);
  EXPECT_EQ(p[2].silenceMs, 300);
  EXPECT_EQ(text_of(p[3]), "End?\"");
  EXPECT_EQ(text_of(p[4]), "more");
  auto f = cut("aaaa, bbbb cccc dddd", 12);
  EXPECT_EQ(text_of(f[0]), "aaaa,");
  EXPECT_TRUE(f[0].normal);
  auto g = cut("abcdefghij", 4);
  EXPECT_EQ(text_of(g[0]), "abcd");
  EXPECT_FALSE(g[0].normal);
  EXPECT_TRUE(cut("   ").empty());
  EXPECT_EQ(cut("<b>x")[0].silenceMs, 0);
}

TEST(PieceCutter, ConsumedCountsInputBytes) {
  cjk::PieceCutter c(100);
  c.Start(cjk::DecodeUtf8("中文。 x"));
  EXPECT_EQ(c.consumed(), 0u);
  c.Next();
  EXPECT_EQ(c.consumed(), 10u);  // three 3-byte characters and the blank
  c.Next();
  EXPECT_FALSE(c.pending());
}

TEST(TagSilence, KeyMustMatchExactly) {
  auto body = [](const std::string& s) { return cjk::CodePoints(s); };
  EXPECT_EQ(cjk::TagSilence(body("silence=500")), 500);
  EXPECT_EQ(cjk::TagSilence(body("a=1,silence=30")), 0);
  EXPECT_EQ(cjk::TagSilence(body("silence=30=40")), 30);
  EXPECT_EQ(cjk::TagSilence(body("silence")), 0);
}

TEST(LabelWriter, PausesAndPositions) {
  cjk::Utterance u;
  u.startPause = "#";
  u.endPause = "#e";
  cjk::Phrase p1, p2;
  cjk::Word w1;
  w1.cls = "n";
  cjk::Syllable s1;
  s1.phones = {"k", "aa"};
  s1.f1 = "L";
  s1.f2 = "0";
  s1.nucleus = "aa";
  w1.syls = {s1, s1};
  p1.words = {w1};
  p1.pauseAfter = "#l";
  p1.endTone = "LH%";
  cjk::Word w2 = w1;
  w2.syls = {s1};
  p2.words = {w2};
  p2.endTone = "L%";
  u.phrases = {p1, p2, cjk::Phrase()};
  auto labels = cjk::WriteLabels(u);
  EXPECT_EQ(cjk::PhoneSequence(u), (std::vector<std::string>{"#", "k", "aa", "k", "aa", "#l", "k", "aa", "#e"}));
  ASSERT_EQ(labels.size(), 9u);
  EXPECT_EQ(labels[3], "k^aa-k+aa=#l/A:L_0_2/B:L-0-2@2-1&2-1#2-1|aa/C:L_0_2/D:x_0/E:n+2@1+1&1+1/F:n_1"
                       "/G:0_0/H:2=1@1=2|LH%/I:1=1/J:3+2-2/K:1_2");
  EXPECT_EQ(labels[5], "k^aa-#l+k=aa/A:L_0_2/B:x-x-x@x-x&x-x#x-x|x/C:L_0_2/D:n_2/E:x+x@x+x&x+x/F:n_1"
                       "/G:2_1/H:x=x@x=x|LH%/I:1=1/J:3+2-2/K:x_x");
  EXPECT_EQ(labels[8].substr(0, 12), "k^aa-#e+x=x/");
}

}  // namespace
