#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "lang/VXN_LangAnalEu.h"
#include "lang/VXN_LangAnalEu_factory.h"

namespace {

// Splits a full-form label into its fields by walking the literal pieces of
// the label format: each field runs up to the next literal piece.
struct Label {
  std::string phones[5];
  std::vector<std::string> f;  // fields after the phones, in order
  explicit Label(const std::string& s) {
    static const char* const seps[] = {
        "^", "-", "+", "=", "@", "_", "/A:", "_", "_", "/B:", "-", "-", "@", "-", "&", "-", "#", "-", "$", "-",
        "!", "-", ";", "-", "|", "/C:", "+", "+", "/D:", "_", "/E:", "+", "@", "+", "&", "+", "#", "+", "/F:", "_",
        "/G:", "_", "/H:", "=", "@", "=", "|", "/I:", "=", "/J:", "+", "-", nullptr};
    size_t at = 0;
    std::vector<std::string> all;
    for (int k = 0; seps[k]; ++k) {
      size_t e = s.find(seps[k], at);
      if (e == std::string::npos) break;
      all.push_back(s.substr(at, e - at));
      at = e + strlen(seps[k]);
    }
    all.push_back(s.substr(at));
    for (size_t k = 0; k < all.size(); ++k) {
      if (k < 5) phones[k] = all[k];
      else f.push_back(all[k]);
    }
  }
  // Field by name: p6 p7 a1..a3 b1..b16 c1..c3 d1 d2 e1..e8 f1 f2 g1 g2 h1..h5 i1 i2 j1..j3.
  const std::string& get(const std::string& name) const {
    static const char* const order[] = {"p6", "p7", "a1", "a2", "a3", "b1", "b2", "b3", "b4", "b5", "b6", "b7",
                                        "b8", "b9", "b10", "b11", "b12", "b13", "b14", "b15", "b16", "c1", "c2",
                                        "c3", "d1", "d2", "e1", "e2", "e3", "e4", "e5", "e6", "e7", "e8", "f1",
                                        "f2", "g1", "g2", "h1", "h2", "h3", "h4", "h5", "i1", "i2", "j1", "j2", "j3"};
    for (size_t k = 0; k < sizeof(order) / sizeof(order[0]); ++k)
      if (name == order[k]) return f.at(k);
    static const std::string none = "?";
    return none;
  }
};

// An analyzer with the language's module loaded from <build>/voice/Lib/.
class AnalyzerBase : public ::testing::Test {
 protected:
  void load(int language) {
    g_nStatePrint = 3;
    static char lib[512], dict[512];
    snprintf(lib, sizeof(lib), "%s/voice/Lib/", VXN_TEST_BINARY_DIR);
    snprintf(dict, sizeof(dict), "%s/voice/Dict/", VXN_TEST_BINARY_DIR);
    a_.SetLanguage(language);
    ASSERT_EQ(a_.InitialLoad(lib, dict), 1);
  }
  void TearDown() override { g_nStatePrint = 2; }
  // All labels of the first piece of text.
  std::vector<std::string> first_piece(const char* text) {
    a_.RefreshInput();
    int n = a_.TextAnalyze(text);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(a_.labels[i]);
    return out;
  }
  CLangAnalEu a_;
};

class Analyzer : public AnalyzerBase {
 protected:
  void SetUp() override { load(1); }
};

// An abbreviation the input step joined to its name with a no-break space
// (0xA0 in the analyzer's encoding) is one phrase with it: no pause after
// "mister", while a plain dot before a capital still ends a phrase.
TEST_F(Analyzer, JoinedAbbreviationHasNoPauseAfterIt) {
  auto pauses = [](const std::vector<std::string>& labels) {
    int n = 0;
    for (const std::string& l : labels) n += Label(l).phones[2] == "pau";
    return n;
  };
  std::vector<std::string> joined = first_piece("Mr.\xA0Smith arrived.");
  ASSERT_GT(joined.size(), 4u);
  EXPECT_EQ(Label(joined[1]).phones[2], "m");
  EXPECT_EQ(pauses(joined), 2);
  std::vector<std::string> plain = first_piece("Dr. Smith arrived.");
  EXPECT_EQ(pauses(plain), 3);
}

// "Hello world." is hh ax . l ow1 | w er1 l d between two pauses, one phrase
// of two content words and three syllables.
TEST_F(Analyzer, HelloWorldLabelsFieldByField) {
  std::vector<std::string> labels = first_piece("Hello world.");
  ASSERT_EQ(labels.size(), 10u);
  const char* expectPhones[10] = {"pau", "hh", "ax", "l", "ow", "w", "er", "l", "d", "pau"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Label(labels[i]).phones[2], expectPhones[i]) << labels[i];
  // Leading pause: absent neighbours are x, its own syllable and word fields
  // are x placeholders, the next syllable is hh-ax (unstressed, two phones).
  EXPECT_EQ(labels[0].rfind("x^x-pau+hh=ax@x_x/A:0_0_0/B:x-x-x@x-x&x-x#x-x$x-x!x-x;x-x|x/C:0+0+2/D:0_0/", 0), 0u)
      << labels[0];
  EXPECT_NE(labels[0].find("/E:x+x@x+x&x+x#x+x/F:content_2/G:0_0/H:x=x@x=x|0/I:3=2/J:3+2-1"), std::string::npos);
  // Trailing pause: its J fields come through the previous segment.
  EXPECT_EQ(labels[9], "l^d-pau+x=x@x_x/A:1_1_4/B:x-x-x@x-x&x-x#x-x$x-x!x-x;x-x|x/C:0+0+0/D:content_1/"
                       "E:x+x@x+x&x+x#x+x/F:0_0/G:3_2/H:x=x@x=x|0/I:0=0/J:3+2-1");
  Label hh(labels[1]);
  EXPECT_EQ(hh.get("p6"), "1");
  EXPECT_EQ(hh.get("p7"), "2");
  EXPECT_EQ(hh.get("b1"), "0");   // hel is unstressed
  EXPECT_EQ(hh.get("b3"), "2");   // two phones
  EXPECT_EQ(hh.get("b4"), "1");
  EXPECT_EQ(hh.get("b5"), "2");
  EXPECT_EQ(hh.get("b6"), "1");
  EXPECT_EQ(hh.get("b7"), "3");   // three syllables to the phrase end
  EXPECT_EQ(hh.get("b16"), "ax");
  EXPECT_EQ(hh.get("d1"), "0");   // no previous word
  EXPECT_EQ(hh.get("e1"), "content");
  EXPECT_EQ(hh.get("e2"), "2");
  EXPECT_EQ(hh.get("e3"), "1");
  EXPECT_EQ(hh.get("e4"), "2");   // hello and world to the phrase end
  EXPECT_EQ(hh.get("f1"), "content");
  EXPECT_EQ(hh.get("f2"), "1");
  EXPECT_EQ(hh.get("h1"), "3");
  EXPECT_EQ(hh.get("h2"), "2");
  EXPECT_EQ(hh.get("h3"), "1");
  EXPECT_EQ(hh.get("h4"), "1");
  EXPECT_EQ(hh.get("h5"), "L-L%");
  EXPECT_EQ(hh.get("j1"), "3");
  EXPECT_EQ(hh.get("j2"), "2");
  EXPECT_EQ(hh.get("j3"), "1");
  // Last syllable "w er l d": w and er have no pause within two segments and
  // count one more unit after them (b7, e4 2); l and d see the pause (1).
  EXPECT_EQ(Label(labels[5]).get("b7"), "2");
  EXPECT_EQ(Label(labels[6]).get("b7"), "2");
  EXPECT_EQ(Label(labels[7]).get("b7"), "1");
  EXPECT_EQ(Label(labels[8]).get("b7"), "1");
  EXPECT_EQ(Label(labels[5]).get("e4"), "2");
  EXPECT_EQ(Label(labels[8]).get("e4"), "1");
  EXPECT_EQ(Label(labels[5]).get("b1"), "1");
  EXPECT_EQ(Label(labels[5]).get("d1"), "content");
  EXPECT_EQ(Label(labels[5]).get("d2"), "2");
}

// A final function word gets e6 adjusted only while no pause is near.
TEST_F(Analyzer, FunctionWordClassesAndE6Adjustment) {
  std::vector<std::string> labels = first_piece("Tell me of it");
  // pau t eh l m iy ah v ih t pau: "of" is class in, "it" content.
  ASSERT_GE(labels.size(), 5u);
  bool sawIn = false;
  for (const std::string& l : labels) {
    Label x(l);
    if (x.phones[2] == "pau") continue;
    if (x.get("e1") == "in") sawIn = true;
  }
  EXPECT_TRUE(sawIn);
  std::vector<std::string> q = first_piece("Where is the cat of the house");
  int det = 0, wp = 0, aux = 0;
  for (const std::string& l : q) {
    Label x(l);
    if (x.phones[2] == "pau") continue;
    det += x.get("e1") == "det";
    wp += x.get("e1") == "wp";
    aux += x.get("e1") == "aux";
  }
  EXPECT_GT(det, 0);
  EXPECT_GT(wp, 0);
  EXPECT_GT(aux, 0);
}

TEST_F(Analyzer, PhrasesRemainingAreCappedAtThree) {
  std::vector<std::string> labels = first_piece("One, two, three, four, five, six.");
  ASSERT_GT(labels.size(), 3u);
  Label first(labels[1]);
  EXPECT_EQ(first.get("j3"), "6");
  EXPECT_EQ(first.get("h3"), "1");
  EXPECT_EQ(first.get("h4"), "3");
  // The last phrase has one phrase remaining.
  Label last(labels[labels.size() - 2]);
  EXPECT_EQ(last.get("h3"), "6");
  EXPECT_EQ(last.get("h4"), "1");
  // Commas give pauses between the phrases.
  int pauses = 0;
  for (const std::string& l : labels) pauses += Label(l).phones[2] == "pau";
  EXPECT_EQ(pauses, 7);
}

TEST_F(Analyzer, QuestionTypeAndReducedForm) {
  a_.SetLanguage(-1);
  std::vector<std::string> labels = first_piece("Is it?");
  ASSERT_FALSE(labels.empty());
  EXPECT_EQ(a_.uttType, 'B');
  for (const std::string& l : labels) {
    EXPECT_NE(l.find("/T:uttB"), std::string::npos) << l;
    EXPECT_EQ(l.find("/G:"), std::string::npos) << l;
  }
  EXPECT_EQ(labels[0].rfind("x^x-pau+ih=z/A:0_0/B:x-x@x-x&x-x|x/C:1+1/D:0_0/E:x+x@x+x&x+x#x+x/F:aux_1/H:x=x@1=1|0/J:2-1/T:uttB", 0), 0u)
      << labels[0];
}

TEST_F(Analyzer, PiecesAndEmptyResults) {
  a_.RefreshInput();
  EXPECT_EQ(a_.TextAnalyze("<silence=500>"), -1);
  EXPECT_EQ(a_.silenceTime, 500);
  a_.RefreshInput();
  EXPECT_EQ(a_.TextAnalyze("..."), 0);  // only the two pauses (or fewer)
  // Two sentences come in two calls; the second ends the text.
  a_.RefreshInput();
  EXPECT_GT(a_.TextAnalyze("Good evening. Here is the weather."), 0);
  EXPECT_FALSE(a_.textDone);
  EXPECT_GT(a_.GetPorcessedTextLength(), 0);
  EXPECT_GT(a_.TextAnalyze("ignored while a remainder is pending"), 0);
  EXPECT_TRUE(a_.textDone);
  EXPECT_EQ(a_.GetPorcessedTextLength(), 0);
}

// Cutting needs no module: the piece is left in curText.
class Cutting : public ::testing::Test {
 protected:
  void SetUp() override { g_nStatePrint = 3; }
  void TearDown() override { g_nStatePrint = 2; }
  std::vector<std::string> pieces(const char* text) {
    std::vector<std::string> out;
    a_.RefreshInput();
    int guard = 0;
    do {
      EXPECT_EQ(a_.TextAnalyze(text), 0);  // no voice: nothing synthesised
      out.push_back(a_.curText);
    } while (!a_.textDone && ++guard < 100);
    return out;
  }
  CLangAnalEu a_;
};

TEST_F(Cutting, AbbreviationsAndQuotes) {
  std::vector<std::string> p = pieces("Dr. Smith arrived. He left.");
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0], "Dr. Smith arrived.");
  EXPECT_EQ(p[1], "He left.");
  p = pieces("He said \"Go.\" Then he left.");
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0], "He said \"Go.\"");
  EXPECT_EQ(p[1], "Then he left.");
  p = pieces("St. Mary is here? Yes!\n\nNew part");
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0], "St. Mary is here?");
  EXPECT_EQ(p[1], "Yes!");
  EXPECT_EQ(p[2], "New part");
}

TEST_F(Cutting, LongWordGetsBreakMarker) {
  std::string word(40, 'k');
  std::vector<std::string> p = pieces(word.c_str());
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0], std::string(25, 'k'));
  EXPECT_EQ(p[1], std::string(15, 'k'));
  // The first piece ended by a soft cut, the second at the end.
  EXPECT_TRUE(a_.normalCur);
  EXPECT_FALSE(a_.normalPrev);
}

TEST_F(Cutting, LongRunsCutAtSpaceOrComma) {
  std::string run;
  for (int i = 0; i < 60; ++i) run += "word ";  // spaces at 4, 9, ..., 204, ...
  std::vector<std::string> p = pieces(run.c_str());
  ASSERT_GE(p.size(), 2u);
  EXPECT_EQ(p[0].size(), 204u);  // first space 200 bytes or more after the start
  std::string commas;
  for (int i = 0; i < 30; ++i) commas += "word, ";  // commas at 4, 10, ..., 100, ...
  p = pieces(commas.c_str());
  ASSERT_GE(p.size(), 2u);
  EXPECT_EQ(p[0].size(), 101u);  // the comma at 100 stays with the piece
  EXPECT_EQ(p[0].back(), ',');
}

TEST_F(Cutting, ProcessedLengthCountsMarkers) {
  std::string word(40, 'k');
  a_.RefreshInput();
  a_.TextAnalyze(word.c_str());
  // 25 letters, the marker that became the terminator.
  EXPECT_EQ(a_.GetPorcessedTextLength(), 26);
}

TEST(AnalyzerText, CharacterTestsAndType) {
  EXPECT_EQ(CLangAnalEu::CheckType("Is it?"), 'B');
  EXPECT_EQ(CLangAnalEu::CheckType("Is it?\""), 'B');
  EXPECT_EQ(CLangAnalEu::CheckType("It is."), 'A');
  EXPECT_EQ(CLangAnalEu::CheckType("?"), 'A');
  EXPECT_EQ(CLangAnalEu::CheckPunctuation(". ab"), 1);
  EXPECT_EQ(CLangAnalEu::CheckPunctuation(".\" b"), 2);
  EXPECT_EQ(CLangAnalEu::CheckPunctuation("\n\nab"), 1);
  EXPECT_EQ(CLangAnalEu::CheckPunctuation(". a"), 0);  // fewer than four bytes
  EXPECT_TRUE(CLangAnalEu::CheckComma(", a"));
  EXPECT_FALSE(CLangAnalEu::CheckComma(", "));
  EXPECT_FALSE(CLangAnalEu::CheckInput(".", "."));  // the last byte never matches
}

TEST(AnalyzerText, EnglishPreparation) {
  char out[128];
  CLangAnalEu::TextAnalyzePreprocessEnglish("Dr.Smith and St.2", out);
  EXPECT_STREQ(out, "Dr Smith and St 2");
  CLangAnalEu::TextAnalyzePreprocessEnglish("at 10:30 am today", out);
  EXPECT_STREQ(out, "at 10:30 A m today");
  CLangAnalEu::TextAnalyzePreprocessEnglish("turn it, off now, only", out);
  EXPECT_STREQ(out, "turn it  off now  only");
}

TEST(AnalyzerText, LongLetterStrings) {
  CLangAnalEu a;
  char text[256] = "see ABCDEFGHIJKLMNOPQRST now";
  a.ProcessLongLetterText(text);
  EXPECT_STREQ(text, "see ABCDEFGHIJ KLMNOPQRST now");
  EXPECT_EQ(a.spellPauseCount, 2u);
  char fifty[256];
  std::string s60(60, 'x');
  snprintf(fifty, sizeof(fifty), "%s", s60.c_str());
  a.spellPauseCount = 0;
  a.ProcessLongLetterText(fifty);
  EXPECT_EQ(strlen(fifty), 54u);  // cut to 50, four spaces
  EXPECT_EQ(a.spellPauseCount, 5u);
  char shortText[64] = "A short text, unchanged.";
  a.PreprocessFirstSentence(shortText);
  EXPECT_STREQ(shortText, "A short text, unchanged.");
  EXPECT_EQ(a.spellPauseCount, 0u);
}

TEST(AnalyzerText, FirstSentenceGetsEarlyBreak) {
  CLangAnalEu a;
  char text[256] = "this sentence runs on without any stop, and it goes on and on for a while";
  a.PreprocessFirstSentence(text);
  EXPECT_EQ(text[38], '.');  // the last comma among the first 50 bytes
  char text2[256] = "this sentence runs on without any stop and it goes on and on for a while";
  a.PreprocessFirstSentence(text2);
  EXPECT_EQ(text2[29], VXN_BREAK_MARKER);  // first space from position 26
}

TEST(AnalyzerModule, MissingModuleAndFactories) {
  g_nStatePrint = 3;
  CLangAnalEuBase* a = CreateLangEnglish();
  char lib[] = "/nonexistent/";
  char dict[] = "/nonexistent/";
  EXPECT_EQ(a->InitialLoad(lib, dict), 0);
  EXPECT_EQ(a->TextAnalyze("Hello."), 0);
  DestroyLangEnglish(a);
  DestroyLangEnglish(nullptr);
  CLangAnalEuBase* b = VXN_create_european_analyzer();
  ASSERT_NE(b, nullptr);
  delete b;
  g_nStatePrint = 2;
}

}  // namespace

// European modules through the analyzer: one sentence each, its labels
// worked out by hand field by field.
typedef AnalyzerBase EuropeanAnalyzer;

// "Guten Abend." is g uu1 . t ax n | gs aa1 . b ax n t: two content words of
// two syllables each, one phrase ending in a statement.
TEST_F(EuropeanAnalyzer, GermanSentenceFieldByField) {
  load(4);
  std::vector<std::string> labels = first_piece("Guten Abend.");
  ASSERT_EQ(labels.size(), 13u);
  const char* phones[13] = {"pau", "g", "uu", "t", "ax", "n", "gs", "aa", "b", "ax", "n", "t", "pau"};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  EXPECT_EQ(a_.uttType, 'A');
  Label t(labels[3]);  // first phone of "ten"
  // b8 is 1: the standard ssyl_in does not count the phrase's first syllable.
  EXPECT_EQ(t.phones[0] + t.phones[1] + t.phones[3] + t.phones[4], "guuaxn");
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "3"},  {"a1", "1"},  {"a2", "0"},  {"a3", "2"},  {"b1", "0"},       {"b2", "0"},
      {"b3", "3"},  {"b4", "2"},  {"b5", "1"},  {"b6", "2"},  {"b7", "3"},  {"b8", "1"},       {"b9", "2"},
      {"b10", "1"}, {"b11", "2"}, {"b12", "1"}, {"b13", "1"}, {"b14", "0"}, {"b15", "2"},      {"b16", "ax"},
      {"c1", "1"},  {"c2", "0"},  {"c3", "2"},  {"d1", "0"},  {"d2", "0"},  {"e1", "content"}, {"e2", "2"},
      {"e3", "1"},  {"e4", "2"},  {"e5", "1"},  {"e6", "2"},  {"e7", "0"},  {"e8", "1"},       {"f1", "content"},
      {"f2", "2"},  {"g1", "0"},  {"g2", "0"},  {"h1", "4"},  {"h2", "2"},  {"h3", "1"},       {"h4", "1"},
      {"h5", "S"},  {"i1", "0"},  {"i2", "0"},  {"j1", "4"},  {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(t.get(e[0]), e[1]) << e[0] << " in " << labels[3];
  // Last syllable b ax n t: b sees no pause within two segments (b7 2), n does (1).
  EXPECT_EQ(Label(labels[8]).get("b7"), "2");
  EXPECT_EQ(Label(labels[10]).get("b7"), "1");
  EXPECT_EQ(Label(labels[8]).get("b1"), "0");
  EXPECT_EQ(Label(labels[7]).get("b1"), "1");
  EXPECT_EQ(Label(labels[8]).get("d1"), "content");
  // German never adjusts e6, even on a phrase-final word without a pause near.
  EXPECT_EQ(Label(labels[8]).get("e6"), "1");
}

// "Buenas noches." is b w e1 . n a s | n o1 . ch e s; a glide joins the onset.
TEST_F(EuropeanAnalyzer, SpanishSentenceFieldByField) {
  load(6);
  std::vector<std::string> labels = first_piece("Buenas noches.");
  ASSERT_EQ(labels.size(), 13u);
  const char* phones[13] = {"pau", "b", "w", "e", "n", "a", "s", "n", "o", "ch", "e", "s", "pau"};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label w(labels[2]);
  const char* expected[][2] = {{"p6", "2"}, {"p7", "2"}, {"a1", "0"}, {"a3", "0"}, {"b1", "1"}, {"b3", "3"},
                               {"b4", "1"}, {"b5", "2"}, {"b6", "1"}, {"b7", "4"}, {"b16", "e"}, {"c1", "0"},
                               {"c3", "3"}, {"e1", "content"}, {"e2", "2"}, {"e4", "2"}, {"h1", "4"},
                               {"h2", "2"}, {"h5", "S"}, {"j1", "4"}, {"j2", "2"}, {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(w.get(e[0]), e[1]) << e[0] << " in " << labels[2];
  // The final s sees the pause: no end adjustment of b7, e4 and e6.
  Label s(labels[11]);
  EXPECT_EQ(s.get("b7"), "1");
  EXPECT_EQ(s.get("e4"), "1");
  EXPECT_EQ(s.get("e6"), "1");
  // A Spanish question: type B and a Q end tone.
  std::vector<std::string> q = first_piece("\xBFQui\xE9n gana?");  // "¿Quién gana?" in ISO-8859-15
  ASSERT_GT(q.size(), 2u);
  EXPECT_EQ(a_.uttType, 'B');
  EXPECT_EQ(Label(q[1]).get("h5"), "Q");
}

// "Goed weer." is kh oe1 t | w eh1 r: two content words of one syllable, one
// phrase; the last syllable carries the end tone and so counts as accented.
TEST_F(EuropeanAnalyzer, DutchSentenceFieldByField) {
  load(8);
  std::vector<std::string> labels = first_piece("Goed weer.");
  ASSERT_EQ(labels.size(), 8u);
  const char* phones[8] = {"pau", "kh", "oe", "t", "w", "eh", "r", "pau"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label u(labels[2]);
  const char* expected[][2] = {
      {"p6", "2"},  {"p7", "2"},  {"a1", "0"},  {"a2", "0"},  {"a3", "0"},  {"b1", "1"},       {"b2", "0"},
      {"b3", "3"},  {"b4", "1"},  {"b5", "1"},  {"b6", "1"},  {"b7", "2"},  {"b8", "1"},       {"b9", "2"},
      {"b10", "1"}, {"b11", "2"}, {"b12", "0"}, {"b13", "1"}, {"b14", "0"}, {"b15", "1"},      {"b16", "oe"},
      {"c1", "1"},  {"c2", "1"},  {"c3", "3"},  {"d1", "0"},  {"d2", "0"},  {"e1", "content"}, {"e2", "1"},
      {"e3", "1"},  {"e4", "2"},  {"e5", "1"},  {"e6", "2"},  {"e7", "0"},  {"e8", "1"},       {"f1", "content"},
      {"f2", "1"},  {"g1", "0"},  {"g2", "0"},  {"h1", "2"},  {"h2", "2"},  {"h3", "1"},       {"h4", "1"},
      {"h5", "S"},  {"i1", "0"},  {"i2", "0"},  {"j1", "2"},  {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(u.get(e[0]), e[1]) << e[0] << " in " << labels[2];
  // w: no pause within two segments, so b7 and e4 count one more unit; Dutch
  // never adjusts e6. e sees the pause: no adjustment. b8 of e is 1: the
  // phrase's first syllable (goed) is not counted.
  Label w(labels[4]), e(labels[5]);
  EXPECT_EQ(w.get("b7"), "2");
  EXPECT_EQ(w.get("e4"), "2");
  EXPECT_EQ(w.get("e6"), "1");
  EXPECT_EQ(e.get("b7"), "1");
  EXPECT_EQ(e.get("e4"), "1");
  EXPECT_EQ(e.get("b2"), "1");
  EXPECT_EQ(e.get("b8"), "1");
  EXPECT_EQ(e.get("b12"), "1");
  EXPECT_EQ(e.get("d1"), "content");
  EXPECT_EQ(e.get("d2"), "1");
}

// "Boa noite." in Portugal is b o1 . ax | n o1 j . t ie: the glide j closes
// the stressed syllable, t begins the last one.
TEST_F(EuropeanAnalyzer, EuropeanPortugueseSentenceFieldByField) {
  load(17);
  std::vector<std::string> labels = first_piece("Boa noite.");
  ASSERT_EQ(labels.size(), 10u);
  const char* phones[10] = {"pau", "b", "o", "ax", "n", "o", "j", "t", "ie", "pau"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label n(labels[4]);
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "3"},  {"a1", "0"},  {"a2", "0"},  {"a3", "1"},  {"b1", "1"},       {"b2", "0"},
      {"b3", "3"},  {"b4", "1"},  {"b5", "2"},  {"b6", "3"},  {"b7", "2"},  {"b8", "1"},       {"b9", "1"},
      {"b10", "1"}, {"b11", "2"}, {"b12", "2"}, {"b13", "0"}, {"b14", "0"}, {"b15", "1"},      {"b16", "o"},
      {"c1", "0"},  {"c2", "1"},  {"c3", "2"},  {"d1", "content"}, {"d2", "2"}, {"e1", "content"}, {"e2", "2"},
      {"e3", "2"},  {"e4", "2"},  {"e5", "2"},  {"e6", "1"},  {"e7", "1"},  {"e8", "0"},       {"f1", "0"},
      {"f2", "0"},  {"g1", "0"},  {"g2", "0"},  {"h1", "4"},  {"h2", "2"},  {"h3", "1"},       {"h4", "1"},
      {"h5", "S"},  {"i1", "0"},  {"i2", "0"},  {"j1", "4"},  {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(n.get(e[0]), e[1]) << e[0] << " in " << labels[4];
  // The reduced final vowel: unstressed, yet accented as the phrase's last syllable.
  Label ie(labels[8]);
  EXPECT_EQ(ie.get("b1"), "0");
  EXPECT_EQ(ie.get("b2"), "1");
  EXPECT_EQ(ie.get("b16"), "ie");
  EXPECT_EQ(ie.get("b7"), "1");
  // A question: type B and a Q end tone.
  std::vector<std::string> q = first_piece("Quem ganha?");
  ASSERT_GT(q.size(), 2u);
  EXPECT_EQ(a_.uttType, 'B');
  EXPECT_EQ(Label(q[1]).get("h5"), "Q");
}

// "Dobry wieczór." is d o1 . b r y | v j e1 . ch u r: two content words of
// two syllables each, stressed on the penultimate, one statement phrase.
TEST_F(EuropeanAnalyzer, PolishSentenceFieldByField) {
  load(11);
  std::vector<std::string> labels = first_piece("Dobry wiecz\xF3r.");  // ISO-8859-2
  ASSERT_EQ(labels.size(), 13u);
  const char* phones[13] = {"pau", "d", "o", "b", "r", "y", "v", "j", "e", "ch", "u", "r", "pau"};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  EXPECT_EQ(a_.uttType, 'A');
  Label b(labels[3]);  // first phone of "bry"
  EXPECT_EQ(b.phones[0] + " " + b.phones[1] + " " + b.phones[3] + " " + b.phones[4], "d o r y");
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "3"},  {"a1", "1"},  {"a2", "0"},  {"a3", "2"},  {"b1", "0"},       {"b2", "0"},
      {"b3", "3"},  {"b4", "2"},  {"b5", "1"},  {"b6", "2"},  {"b7", "3"},  {"b8", "1"},       {"b9", "2"},
      {"b10", "1"}, {"b11", "2"}, {"b12", "1"}, {"b13", "1"}, {"b14", "0"}, {"b15", "2"},      {"b16", "y"},
      {"c1", "1"},  {"c2", "0"},  {"c3", "3"},  {"d1", "0"},  {"d2", "0"},  {"e1", "content"}, {"e2", "2"},
      {"e3", "1"},  {"e4", "2"},  {"e5", "1"},  {"e6", "2"},  {"e7", "0"},  {"e8", "1"},       {"f1", "content"},
      {"f2", "2"},  {"g1", "0"},  {"g2", "0"},  {"h1", "4"},  {"h2", "2"},  {"h3", "1"},       {"h4", "1"},
      {"h5", "S"},  {"i1", "0"},  {"i2", "0"},  {"j1", "4"},  {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(b.get(e[0]), e[1]) << e[0] << " in " << labels[3];
  // "v j e": the glide joins the onset; the syllable is the stressed one.
  EXPECT_EQ(Label(labels[7]).get("p6"), "2");
  EXPECT_EQ(Label(labels[7]).get("b1"), "1");
  EXPECT_EQ(Label(labels[7]).get("b16"), "e");
  // Last syllable ch u r: ch sees no pause within two segments (b7 and e4
  // 2), u and r do (1); Polish never adjusts e6.
  EXPECT_EQ(Label(labels[9]).get("b7"), "2");
  EXPECT_EQ(Label(labels[9]).get("e4"), "2");
  EXPECT_EQ(Label(labels[9]).get("e6"), "1");
  EXPECT_EQ(Label(labels[10]).get("b7"), "1");
  EXPECT_EQ(Label(labels[11]).get("e4"), "1");
  // A question: type B and a Q end tone.
  std::vector<std::string> q = first_piece("Czy jutro b\xEA" "dzie pada\xE6?");
  ASSERT_GT(q.size(), 2u);
  EXPECT_EQ(a_.uttType, 'B');
  EXPECT_EQ(Label(q[1]).get("h5"), "Q");
  EXPECT_EQ(Label(q[1]).get("e1"), "cc");  // "czy" is a function word
}

// "Добрый вечер." is d o1 . b r y j | vj e1 . ch i r: a soft consonant is
// one phone of its own.
TEST_F(EuropeanAnalyzer, RussianSentenceFieldByField) {
  load(12);
  // ISO-8859-5
  std::vector<std::string> labels = first_piece("\xB4\xDE\xD1\xE0\xEB\xD9 \xD2\xD5\xE7\xD5\xE0.");
  ASSERT_EQ(labels.size(), 13u);
  const char* phones[13] = {"pau", "d", "o", "b", "r", "y", "j", "vj", "e", "ch", "i", "r", "pau"};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label b(labels[3]);
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "4"},  {"a1", "1"},  {"a3", "2"},  {"b1", "0"},  {"b3", "4"},  {"b4", "2"},
      {"b5", "1"},  {"b6", "2"},  {"b7", "3"},  {"b9", "2"},  {"b12", "1"}, {"b13", "1"}, {"b16", "y"},
      {"c1", "1"},  {"c3", "2"},  {"e1", "content"},       {"e2", "2"},  {"e4", "2"},  {"e6", "2"},
      {"f1", "content"},         {"f2", "2"},  {"h1", "4"},  {"h2", "2"},  {"h5", "S"},  {"j1", "4"},
      {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(b.get(e[0]), e[1]) << e[0] << " in " << labels[3];
  // The soft vj starts the stressed syllable "vj e".
  Label vj(labels[7]);
  EXPECT_EQ(vj.phones[1] + " " + vj.phones[3], "j e");
  EXPECT_EQ(vj.get("b1"), "1");
  EXPECT_EQ(vj.get("p7"), "2");
  EXPECT_EQ(vj.get("a3"), "4");
  EXPECT_EQ(Label(labels[9]).get("b7"), "2");
  EXPECT_EQ(Label(labels[9]).get("e6"), "1");  // never adjusted for Russian
  EXPECT_EQ(Label(labels[11]).get("b7"), "1");
  // "Вы придёте?" is a question.
  std::vector<std::string> q = first_piece("\xB2\xEB \xDF\xE0\xD8\xD4\xF1\xE2\xD5?");
  ASSERT_GT(q.size(), 2u);
  EXPECT_EQ(a_.uttType, 'B');
  EXPECT_EQ(Label(q[1]).get("h5"), "Q");
}

// "Boa noite." in Brazil ends n o1 j . ch i: t before i is the affricate.
TEST_F(EuropeanAnalyzer, BrazilianPortugueseSentenceFieldByField) {
  load(10);
  std::vector<std::string> labels = first_piece("Boa noite.");
  ASSERT_EQ(labels.size(), 10u);
  const char* phones[10] = {"pau", "b", "o", "ax", "n", "o", "j", "ch", "i", "pau"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label ch(labels[7]);
  const char* expected[][2] = {{"p6", "1"}, {"p7", "2"}, {"a1", "1"}, {"a3", "3"}, {"b1", "0"}, {"b2", "1"},
                               {"b3", "2"}, {"b4", "2"}, {"b5", "1"}, {"b6", "4"}, {"b7", "1"}, {"b16", "i"},
                               {"c1", "0"}, {"c3", "0"}, {"e1", "content"}, {"e3", "2"}, {"e4", "1"},
                               {"e6", "1"}, {"h1", "4"}, {"h5", "S"}, {"j1", "4"}, {"j2", "2"}, {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(ch.get(e[0]), e[1]) << e[0] << " in " << labels[7];
  // The syllable "bo": its next syllable is the vowel ax alone.
  EXPECT_EQ(Label(labels[1]).get("c3"), "1");
  EXPECT_EQ(Label(labels[1]).get("b11"), "2");
}

// "Les amis." is l e1 | z a . m i1: the liaison z opens the first syllable
// of "amis", a content word after a determiner, in one statement phrase.
TEST_F(EuropeanAnalyzer, FrenchSentenceFieldByField) {
  load(5);
  std::vector<std::string> labels = first_piece("Les amis.");
  ASSERT_EQ(labels.size(), 8u);
  const char* phones[8] = {"pau", "l", "e", "z", "a", "m", "i", "pau"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  EXPECT_EQ(a_.uttType, 'A');
  Label z(labels[3]);
  // b11 and b15: the phrase-final syllable mi is accented; b8 1 as the
  // phrase's first syllable (les) is not counted.
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "2"},  {"a1", "1"},  {"a2", "0"},       {"a3", "2"},  {"b1", "0"},  {"b2", "0"},
      {"b3", "2"},  {"b4", "1"},  {"b5", "2"},  {"b6", "2"},       {"b7", "2"},  {"b8", "1"},  {"b9", "2"},
      {"b10", "1"}, {"b11", "2"}, {"b12", "1"}, {"b13", "1"},      {"b14", "0"}, {"b15", "1"}, {"b16", "a"},
      {"c1", "1"},  {"c2", "1"},  {"c3", "2"},  {"d1", "det"},     {"d2", "1"},  {"e1", "content"},
      {"e2", "2"},  {"e3", "2"},  {"e4", "2"},  {"e5", "1"},       {"e6", "2"},  {"e7", "0"},  {"e8", "0"},
      {"f1", "0"},  {"f2", "0"},  {"h1", "3"},  {"h2", "2"},       {"h3", "1"},  {"h4", "1"},  {"h5", "S"},
      {"j1", "3"},  {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(z.get(e[0]), e[1]) << e[0] << " in " << labels[3];
  // French adjusts e6 like English: the final i sees the pause, so none of
  // b7, e4, e6 is raised there.
  Label i(labels[6]);
  EXPECT_EQ(i.get("b7"), "1");
  EXPECT_EQ(i.get("e4"), "1");
  EXPECT_EQ(i.get("e6"), "1");
  // A question with the mark after a space: type B and a Q end tone.
  std::vector<std::string> q = first_piece("Qui a gagn\xE9 ?");  // "Qui a gagné ?" in ISO-8859-15
  ASSERT_GT(q.size(), 2u);
  EXPECT_EQ(a_.uttType, 'B');
  EXPECT_EQ(Label(q[q.size() - 2]).get("h5"), "Q");
}

// "Buona sera." is b w oh1 . n a | s e1 . r a: a glide in the onset, two
// content words of two syllables.
TEST_F(EuropeanAnalyzer, ItalianSentenceFieldByField) {
  load(7);
  std::vector<std::string> labels = first_piece("Buona sera.");
  ASSERT_EQ(labels.size(), 11u);
  const char* phones[11] = {"pau", "b", "w", "oh", "n", "a", "s", "e", "r", "a", "pau"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label w(labels[2]);
  const char* expected[][2] = {
      {"p6", "2"},  {"p7", "2"},  {"a1", "0"},  {"a3", "0"},       {"b1", "1"},  {"b2", "0"},  {"b3", "3"},
      {"b4", "1"},  {"b5", "2"},  {"b6", "1"},  {"b7", "4"},       {"b8", "1"},  {"b9", "2"},  {"b10", "1"},
      {"b11", "2"}, {"b12", "0"}, {"b13", "2"}, {"b14", "0"},      {"b15", "3"}, {"b16", "oh"}, {"c1", "0"},
      {"c3", "2"},  {"d1", "0"},  {"e1", "content"}, {"e2", "2"},  {"e3", "1"},  {"e4", "2"},  {"e5", "1"},
      {"e6", "2"},  {"e8", "1"},  {"f1", "content"}, {"f2", "2"},  {"h1", "4"},  {"h2", "2"},  {"h5", "S"},
      {"j1", "4"},  {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(w.get(e[0]), e[1]) << e[0] << " in " << labels[2];
  // Italian adjusts e6 too: the s of sera, with no pause within two
  // segments and no content word after, has e6 2.
  EXPECT_EQ(Label(labels[6]).get("e6"), "2");
  EXPECT_EQ(Label(labels[9]).get("e6"), "1");
}

// "Good evening." is g u1 d | ii1 v . n i ng: two content words, the second
// of two syllables split by maximal onset (v n is no onset), one phrase.
TEST_F(EuropeanAnalyzer, BritishSentenceFieldByField) {
  load(2);
  std::vector<std::string> labels = first_piece("Good evening.");
  ASSERT_EQ(labels.size(), 10u);
  const char* phones[10] = {"pau", "g", "u", "d", "ii", "v", "n", "i", "ng", "pau"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  EXPECT_EQ(a_.uttType, 'A');
  Label ii(labels[4]);  // the stressed first syllable of "evening"
  EXPECT_EQ(ii.phones[0] + " " + ii.phones[1] + " " + ii.phones[3] + " " + ii.phones[4], "u d v n");
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "2"},  {"a1", "1"},  {"a3", "3"},  {"b1", "1"},       {"b3", "2"},  {"b4", "1"},
      {"b5", "2"},  {"b6", "2"},  {"b7", "2"},  {"b8", "1"},  {"b9", "1"},       {"b12", "1"}, {"b13", "0"},
      {"b16", "ii"}, {"c1", "0"}, {"c3", "3"},  {"d1", "content"}, {"d2", "1"}, {"e1", "content"},
      {"e2", "2"},  {"e3", "2"},  {"e4", "2"},  {"f1", "0"},  {"f2", "0"},       {"g1", "0"},  {"g2", "0"},
      {"h1", "3"},  {"h2", "2"},  {"h3", "1"},  {"h4", "1"},  {"h5", "L-L%"},    {"i1", "0"},  {"i2", "0"},
      {"j1", "3"},  {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(ii.get(e[0]), e[1]) << e[0] << " in " << labels[4];
  // Last syllable n i ng: n has no pause within two segments (b7 2), i and ng do (1).
  EXPECT_EQ(Label(labels[6]).get("b7"), "2");
  EXPECT_EQ(Label(labels[7]).get("b7"), "1");
  EXPECT_EQ(Label(labels[8]).get("b7"), "1");
  EXPECT_EQ(Label(labels[7]).get("b1"), "0");
  // English content-word counts include the word itself: "evening" has
  // itself after it (e6 2), and "good" has itself before it (e5 2).
  EXPECT_EQ(Label(labels[6]).get("e6"), "2");
  EXPECT_EQ(Label(labels[8]).get("e6"), "2");
  EXPECT_EQ(Label(labels[1]).get("e5"), "2");
  EXPECT_EQ(Label(labels[1]).get("e6"), "3");
  // "the" before a vowel is dh ii; a question ends in a rising tone.
  std::vector<std::string> q = first_piece("Is the end near?");
  ASSERT_GT(q.size(), 4u);
  EXPECT_EQ(a_.uttType, 'B');
  EXPECT_EQ(Label(q[3]).phones[2] + Label(q[4]).phones[2], "dhii");
}

// "Better water." is b e1 . t ax | w oo1 . t ax with both t flapped: dx
// between a vowel and an unstressed schwa.
TEST_F(EuropeanAnalyzer, AustralianSentenceFieldByField) {
  load(3);
  std::vector<std::string> labels = first_piece("Better water.");
  ASSERT_EQ(labels.size(), 10u);
  const char* phones[10] = {"pau", "b", "e", "dx", "ax", "w", "oo", "dx", "ax", "pau"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label dx(labels[3]);
  EXPECT_EQ(dx.phones[0] + " " + dx.phones[1] + " " + dx.phones[3] + " " + dx.phones[4], "b e ax w");
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "2"},  {"a1", "1"},  {"a3", "2"},  {"b1", "0"},  {"b3", "2"},  {"b4", "2"},
      {"b5", "1"},  {"b6", "2"},  {"b7", "3"},  {"b12", "1"}, {"b13", "1"}, {"b16", "ax"}, {"c1", "1"},
      {"c3", "2"},  {"d1", "0"},  {"d2", "0"},  {"e1", "content"}, {"e2", "2"}, {"e3", "1"}, {"e4", "2"},
      {"f1", "content"}, {"f2", "2"}, {"h1", "4"}, {"h2", "2"}, {"h3", "1"}, {"h4", "1"}, {"j1", "4"},
      {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(dx.get(e[0]), e[1]) << e[0] << " in " << labels[3];
}

// "Hyvää iltaa." is h y1 . v aae | i1 l . t aa: two content words of two
// syllables each in one phrase; the last syllable carries the end tone and so
// counts as accented.
TEST_F(EuropeanAnalyzer, FinnishSentenceFieldByField) {
  load(15);
  std::vector<std::string> labels = first_piece("Hyv\xE4\xE4 iltaa.");  // ISO-8859-15
  ASSERT_EQ(labels.size(), 10u);
  const char* phones[10] = {"pau", "h", "y", "v", "aae", "i", "l", "t", "aa", "pau"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  EXPECT_EQ(a_.uttType, 'A');
  Label l(labels[6]);  // the l of "il"
  EXPECT_EQ(l.phones[0] + " " + l.phones[1] + " " + l.phones[3] + " " + l.phones[4], "aae i t aa");
  // b8 1: ssyl_in stops at the phrase's first syllable (hy) without counting
  // it; b12 2 reaches back to it all the same. e4 2: "iltaa" is the last word
  // and no pause follows within two segments; e6 stays 1 (Finnish is never
  // adjusted). f1 "0": there is no next word.
  const char* expected[][2] = {
      {"p6", "2"},  {"p7", "1"},  {"a1", "0"},  {"a2", "0"},  {"a3", "2"},       {"b1", "1"},  {"b2", "0"},
      {"b3", "2"},  {"b4", "1"},  {"b5", "2"},  {"b6", "3"},  {"b7", "2"},       {"b8", "1"},  {"b9", "1"},
      {"b10", "1"}, {"b11", "2"}, {"b12", "2"}, {"b13", "0"}, {"b14", "0"},      {"b15", "1"}, {"b16", "i"},
      {"c1", "0"},  {"c2", "1"},  {"c3", "2"},  {"d1", "content"}, {"d2", "2"}, {"e1", "content"},
      {"e2", "2"},  {"e3", "2"},  {"e4", "2"},  {"e5", "2"},  {"e6", "1"},       {"e7", "1"},  {"e8", "0"},
      {"f1", "0"},  {"f2", "0"},  {"g1", "0"},  {"g2", "0"},  {"h1", "4"},       {"h2", "2"},  {"h3", "1"},
      {"h4", "1"},  {"h5", "S"},  {"i1", "0"},  {"i2", "0"},  {"j1", "4"},       {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(l.get(e[0]), e[1]) << e[0] << " in " << labels[6];
  // The diphthong of "laiva" is one syllable: a and ix share it (b3 3: l a ix).
  std::vector<std::string> laiva = first_piece("laiva");
  ASSERT_EQ(laiva.size(), 7u);
  EXPECT_EQ(Label(laiva[3]).phones[2], "ix");
  EXPECT_EQ(Label(laiva[3]).get("b3"), "3");
  EXPECT_EQ(Label(laiva[3]).get("b1"), "1");
  EXPECT_EQ(Label(laiva[3]).get("b16"), "a");
}

// "God aften." is g o1 dh | ao1 f . d ax n: "aften" splits before d (f d is
// no Danish onset), so the phrase has three syllables; the last carries the
// end tone.
TEST_F(EuropeanAnalyzer, DanishSentenceFieldByField) {
  load(13);
  std::vector<std::string> labels = first_piece("God aften.");
  ASSERT_EQ(labels.size(), 10u);
  const char* phones[10] = {"pau", "g", "o", "dh", "ao", "f", "d", "ax", "n", "pau"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label d(labels[6]);  // the d of "ten"
  EXPECT_EQ(d.phones[0] + " " + d.phones[1] + " " + d.phones[3] + " " + d.phones[4], "ao f ax n");
  // b8 2: "af" is stressed and counted, "god" is the phrase's first syllable
  // and not. b7 and e4 2: no pause within two segments of d.
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "3"},  {"a1", "1"},  {"a2", "0"},  {"a3", "2"},       {"b1", "0"},  {"b2", "1"},
      {"b3", "3"},  {"b4", "2"},  {"b5", "1"},  {"b6", "3"},  {"b7", "2"},       {"b8", "2"},  {"b9", "1"},
      {"b10", "1"}, {"b11", "1"}, {"b12", "1"}, {"b13", "0"}, {"b14", "0"},      {"b15", "0"}, {"b16", "ax"},
      {"c1", "0"},  {"c2", "0"},  {"c3", "0"},  {"d1", "content"}, {"d2", "1"}, {"e1", "content"},
      {"e2", "2"},  {"e3", "2"},  {"e4", "2"},  {"e5", "2"},  {"e6", "1"},       {"e7", "1"},  {"e8", "0"},
      {"f1", "0"},  {"f2", "0"},  {"g1", "0"},  {"g2", "0"},  {"h1", "3"},       {"h2", "2"},  {"h3", "1"},
      {"h4", "1"},  {"h5", "S"},  {"i1", "0"},  {"i2", "0"},  {"j1", "3"},       {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(d.get(e[0]), e[1]) << e[0] << " in " << labels[6];
}

// "God kväll." is g uu1 d | k v ea1 l: two stressed one-syllable words.
TEST_F(EuropeanAnalyzer, SwedishSentenceFieldByField) {
  load(14);
  std::vector<std::string> labels = first_piece("God kv\xE4ll.");  // ISO-8859-15
  ASSERT_EQ(labels.size(), 9u);
  const char* phones[9] = {"pau", "g", "uu", "d", "k", "v", "ea", "l", "pau"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label v(labels[5]);
  EXPECT_EQ(v.phones[0] + " " + v.phones[1] + " " + v.phones[3] + " " + v.phones[4], "d k ea l");
  const char* expected[][2] = {
      {"p6", "2"},  {"p7", "3"},  {"a1", "1"},  {"a2", "0"},  {"a3", "3"},       {"b1", "1"},  {"b2", "1"},
      {"b3", "4"},  {"b4", "1"},  {"b5", "1"},  {"b6", "2"},  {"b7", "2"},       {"b8", "1"},  {"b9", "1"},
      {"b10", "1"}, {"b11", "1"}, {"b12", "1"}, {"b13", "0"}, {"b14", "0"},      {"b15", "0"}, {"b16", "ea"},
      {"c1", "0"},  {"c2", "0"},  {"c3", "0"},  {"d1", "content"}, {"d2", "1"}, {"e1", "content"},
      {"e2", "1"},  {"e3", "2"},  {"e4", "2"},  {"e5", "2"},  {"e6", "1"},       {"e7", "1"},  {"e8", "0"},
      {"f1", "0"},  {"f2", "0"},  {"g1", "0"},  {"g2", "0"},  {"h1", "2"},       {"h2", "2"},  {"h3", "1"},
      {"h4", "1"},  {"h5", "S"},  {"i1", "0"},  {"i2", "0"},  {"j1", "2"},       {"j2", "2"},  {"j3", "1"}};
  for (const auto& e : expected) EXPECT_EQ(v.get(e[0]), e[1]) << e[0] << " in " << labels[5];
  // The final l sees the pause: no end adjustment.
  EXPECT_EQ(Label(labels[7]).get("b7"), "1");
  EXPECT_EQ(Label(labels[7]).get("e4"), "1");
}

// "Nå, Norge." is two phrases with a pause at the comma: n oo1 | pau |
// n o1 r . g ax. The g of "ge" is read in the second phrase.
TEST_F(EuropeanAnalyzer, NorwegianSentenceFieldByField) {
  load(16);
  std::vector<std::string> labels = first_piece("N\xE5, Norge.");  // ISO-8859-15
  ASSERT_EQ(labels.size(), 10u);
  const char* phones[10] = {"pau", "n", "oo", "pau", "n", "o", "r", "g", "ax", "pau"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Label(labels[i]).phones[2], phones[i]) << labels[i];
  Label g(labels[7]);
  EXPECT_EQ(g.phones[0] + " " + g.phones[1] + " " + g.phones[3] + " " + g.phones[4], "o r ax pau");
  // h3 2: one phrase (a minor one, "nå,") before; the previous phrase gives
  // g1 and g2; distances stop at the phrase.
  const char* expected[][2] = {
      {"p6", "1"},  {"p7", "2"},  {"a1", "1"},  {"a2", "0"},  {"a3", "3"},       {"b1", "0"},  {"b2", "1"},
      {"b3", "2"},  {"b4", "2"},  {"b5", "1"},  {"b6", "2"},  {"b7", "1"},       {"b8", "1"},  {"b9", "1"},
      {"b10", "1"}, {"b11", "1"}, {"b12", "1"}, {"b13", "0"}, {"b14", "0"},      {"b15", "0"}, {"b16", "ax"},
      {"c1", "0"},  {"c2", "0"},  {"c3", "0"},  {"d1", "content"}, {"d2", "1"}, {"e1", "content"},
      {"e2", "2"},  {"e3", "1"},  {"e4", "1"},  {"e5", "1"},  {"e6", "1"},       {"e7", "0"},  {"e8", "0"},
      {"f1", "0"},  {"f2", "0"},  {"g1", "1"},  {"g2", "1"},  {"h1", "2"},       {"h2", "1"},  {"h3", "2"},
      {"h4", "1"},  {"h5", "S"},  {"i1", "0"},  {"i2", "0"},  {"j1", "3"},       {"j2", "2"},  {"j3", "2"}};
  for (const auto& e : expected) EXPECT_EQ(g.get(e[0]), e[1]) << e[0] << " in " << labels[7];
  // The comma's phrase ends in P (a minor phrase).
  EXPECT_EQ(Label(labels[2]).get("h5"), "P");
}
