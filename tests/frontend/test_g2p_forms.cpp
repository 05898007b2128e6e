#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontend/kvap_g2p.h"
#include "frontend/synth_util.h"
#include "modules/usen/usen_voice.h"

namespace {

class Forms : public ::testing::Test {
 protected:
  void SetUp() override { voice_ = usen_voice_new(0, nullptr, "iso-8859-15"); }
  void TearDown() override { usen_voice_delete(voice_); }
  std::string one(const char* text, unsigned flags) {
    char** results = nullptr;
    int count = 0;
    g2p(voice_, text, &results, &count, flags);
    std::string out = count > 0 ? results[0] : "<none>";
    EXPECT_EQ(count, 1);
    free_g2p_results(results);
    return out;
  }
  cst_voice* voice_;
};

// hello = hh ax0 . l ow1, world = w er1 l d
TEST_F(Forms, PronunciationDecorations) {
  EXPECT_EQ(one("Hello world.", 0), "hhaxlowwerld");
  EXPECT_EQ(one("Hello world.", G2P_PHONE_BOUNDARY | G2P_STRESS_MARK), "hh ax l ow1 w er1 l d");
  EXPECT_EQ(one("Hello world.", G2P_WORD_BOUNDARY | G2P_SYL_BOUNDARY), "#|hhax|low#|werld");
  EXPECT_EQ(one("Hello world.", G2P_TOKEN_BOUNDARY | G2P_STRESS_MARK), "$hhaxlow1$wer1ld");
  EXPECT_EQ(one("Hello world.", G2P_WORD_DETAIL | G2P_PHONE_BOUNDARY), "#hello\thh ax l ow\n#world\tw er l d");
  EXPECT_EQ(one("Hello world.", G2P_TOKEN_DETAIL), "$Hello\thello\n$world\tworld");
  // A comma ends a phrase named BB under the English phrasing tree.
  EXPECT_EQ(one("Yes, no", G2P_BREAK_MARK), "yehs`now`");
}

TEST_F(Forms, NormalisedAndAnnotatedText) {
  EXPECT_EQ(one("Dr. Smith paid $5.", G2P_NORM), "doctor smith paid five dollars");
  EXPECT_EQ(one("\"Hello\" world.", G2P_ANNOTATED), "\"Hello<!hh.ax.l.ow1!>\" world<!w.er1.l.d!>.");
  EXPECT_EQ(one("Yes, no.", G2P_ANNOTATED | G2P_BREAK_MARK), "Yes<!y.eh1.s!>,` no<!n.ow1!>.`");
  // The label form wins over the others when several are asked for.
  std::string rows = one("Hi.", G2P_TTS | G2P_NORM);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 3);  // pau hh ay pau
}

TEST_F(Forms, LabelRowsCarryNoEndAdjustment) {
  std::string rows = one("Hello world.", G2P_TTS);
  std::vector<std::string> lines;
  std::stringstream ss(rows);
  for (std::string l; std::getline(ss, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 10u);
  auto fields = [](const std::string& l) {
    std::vector<std::string> f;
    std::stringstream s(l);
    for (std::string x; s >> x;) f.push_back(x);
    return f;
  };
  std::vector<std::string> w = fields(lines[5]);  // w of world
  ASSERT_EQ(w.size(), 59u);
  EXPECT_EQ(w[2], "w");
  EXPECT_EQ(w[16], "1");  // b7 unadjusted (the label has 2)
  EXPECT_EQ(w[34], "1");  // e4 unadjusted
  EXPECT_EQ(w[53], "world");
  EXPECT_EQ(w[55], ".");
  std::vector<std::string> p = fields(lines[0]);
  ASSERT_EQ(p.size(), 59u);
  EXPECT_EQ(p[0], "x");
  EXPECT_EQ(p[2], "pau");
  EXPECT_EQ(p[58], "utt_boundary");
}

TEST_F(Forms, PhrasingRows) {
  std::string rows = one("I think, so.", G2P_PHRASING | G2P_BLANK_LINE);
  // i has no break after it; think and so end phrases.
  EXPECT_EQ(rows, "0\t1\t1\t1\t#\ti\tx\tx\tthink\tso\t1\t1\n"
                  "1\t2\t2\t1\ti\tthink\t,\tx\tso\t#\t1\t1\n"
                  "1\t1\t1\t1\tthink\tso\t.\tx\t#\t#\t0\t0\n");
}

TEST_F(Forms, DebugTable) {
  std::string table = one("The cat.", G2P_DEBUG);
  EXPECT_EQ(table.rfind("token | norm | word | pos f | lex | postlex | pron ", 0), 0u) << table;
  EXPECT_NE(table.find("The   |      | the  |"), std::string::npos) << table;
  EXPECT_NE(table.find("k ae1 t"), std::string::npos);
  EXPECT_NE(table.find("= BB\n"), std::string::npos);
  std::string pron(60, 'p');
  char* cut = get_trimmed_string(pron.c_str(), 50);
  EXPECT_EQ(strlen(cut), 50u);
  EXPECT_EQ(std::string(cut), std::string(49, 'p') + "~");
  cst_free(cut);
}

TEST_F(Forms, WordPronunciationString) {
  cst_utterance* u = flite_synth_text("about", voice_, nullptr);
  char* s = get_word_pron_string(relation_head(utt_relation(u, "Word")));
  EXPECT_STREQ(s, "ax . b aw1 t");
  cst_free(s);
  delete_utterance(u);
}

std::string run_tool(const std::string& args, const std::string& input) {
  std::string cmd = std::string("printf '%s\\n' '") + input + "' | " VXN_TEST_BINARY_DIR "/bin/vxn-g2p " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buf[512];
  while (p && fgets(buf, sizeof(buf), p)) out += buf;
  if (p) pclose(p);
  return out;
}

TEST(Tool, ConvertsLinesOfStandardInput) {
  EXPECT_EQ(run_tool("-pb -sm", "Hello world."), "hh ax l ow1 w er1 l d\n");
  EXPECT_EQ(run_tool("-norm", "It costs $3."), "it costs three dollars\n");
  // The English tagger reads a lone "live" as an adjective: that comes first.
  EXPECT_EQ(run_tool("-mp -wb -sm", "live"), "#lay1v\t#lih1v\n");
  EXPECT_EQ(run_tool("-version", ""), "Module version: usen-1.0\n");
  EXPECT_EQ(run_tool("-encoding", ""), "iso-8859-15\n");
  EXPECT_NE(run_tool("-nosuch", "x").find("unknown option"), std::string::npos);
  // UTF-8 in and out: the e-acute becomes one Latin-9 byte inside, a letter
  // of its word for the English token rules, and UTF-8 again on output.
  EXPECT_EQ(run_tool("-u -norm", "caf\xc3\xa9"), "caf\xc3\xa9\n");
}

}  // namespace
