// The pronunciation data generator: phone map parsing and mapping (stress,
// coda forms, multi-symbol keys), the stress rule, and letter-to-sound
// training on a small lexicon whose letters map regularly.
#include <gtest/gtest.h>

#include "data/lexgen/lexgen.h"

namespace {

using lexgen::Entry;

lexgen::PhoneMap german_like() {
  lexgen::PhoneMap m;
  std::string error;
  EXPECT_TRUE(m.parse("# comment\n@\tax\na:\taa\nr\tr\txr\nI ;\tj\n;\t-\nts\tt s\nt\tt\nI\ti\nn\tn\n", &error))
      << error;
  m.vowels = {"ax", "aa", "i"};
  return m;
}

std::string joined(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& p : v) s += (s.empty() ? "" : " ") + p;
  return s;
}

// A '#' inside a symbol belongs to it (espeak-ng's Danish "&#", Norwegian
// "a#"); at the start of a line or after a blank it starts a comment.
TEST(LexgenPhoneMap, HashInsideSymbolsAndComments) {
  lexgen::PhoneMap m;
  std::string error;
  ASSERT_TRUE(m.parse("&#\ta # open a\n# a comment line\na#\tax\t# coda note\nW#:\tooe\nk\tk\n", &error)) << error;
  m.vowels = {"a", "ax", "ooe"};
  ASSERT_EQ(m.rows.size(), 4u);
  std::vector<std::string> phones;
  std::string unknown;
  ASSERT_TRUE(m.map("k '&# k a#", &phones, &unknown)) << unknown;
  EXPECT_EQ(joined(phones), "k a1 k ax0");
  ASSERT_TRUE(m.map("'W#:", &phones, &unknown)) << unknown;
  EXPECT_EQ(joined(phones), "ooe1");
  // A line that starts with '#' is a comment whatever follows; a row whose
  // phones are a comment is malformed.
  lexgen::PhoneMap other;
  EXPECT_TRUE(other.parse("#x\tk\n", &error));
  EXPECT_TRUE(other.rows.empty());
  EXPECT_FALSE(other.parse("k\t#x\n", &error));
  EXPECT_NE(error.find("line 1"), std::string::npos) << error;
}

TEST(LexgenPhoneMap, MapsStressCodaAndLongestKeys) {
  lexgen::PhoneMap m = german_like();
  std::vector<std::string> phones;
  std::string unknown;
  ASSERT_TRUE(m.map("t 'a: r", &phones, &unknown));
  EXPECT_EQ(joined(phones), "t aa1 xr");  // r after a vowel, before none: coda form
  ASSERT_TRUE(m.map("r 'a: n", &phones, &unknown));
  EXPECT_EQ(joined(phones), "r aa1 n");
  ASSERT_TRUE(m.map("n I ; 'a: ts @", &phones, &unknown));
  EXPECT_EQ(joined(phones), "n j aa1 t s ax0");  // "I ;" as one key, ";" alone maps to nothing
  ASSERT_TRUE(m.map("' t a: ,I", &phones, &unknown));
  EXPECT_EQ(joined(phones), "t aa1 i0");  // a lone mark stresses the next vowel; "," is dropped
  EXPECT_FALSE(m.map("t Q", &phones, &unknown));
  EXPECT_EQ(unknown, "Q");
  std::string error;
  lexgen::PhoneMap bad;
  EXPECT_FALSE(bad.parse("a\n", &error));
  EXPECT_EQ(error, "phone map line 1: expected KEY<TAB>PHONES[<TAB>CODA]: 'a'");
  EXPECT_FALSE(bad.parse("a b c d\tx\n", &error));
  // '#' inside a symbol belongs to it (espeak-ng's reduced "a#"); after
  // white space or at the start of a line it starts a comment.
  lexgen::PhoneMap reduced;
  ASSERT_TRUE(reduced.parse("# reduced vowels\na#\tax # as in Polish\na\ta\ni\ti\nk\tk\nk ;\tki\n;\tj\n; i\ti\n", &error))
      << error;
  reduced.vowels = {"a", "ax", "i"};
  ASSERT_TRUE(reduced.map("k ; 'a k a#", &phones, &unknown));
  EXPECT_EQ(joined(phones), "ki a1 k ax0");
  ASSERT_TRUE(reduced.map("k ; 'i a# ; i", &phones, &unknown));
  EXPECT_EQ(joined(phones), "ki i1 ax0 i0");  // "; i" is one key: no glide before i
  EXPECT_FALSE(reduced.map("E#", &phones, &unknown));
  EXPECT_EQ(unknown, "E#");
}

// espeak-ng writes some symbols with a '#' ("v#", "s#"): inside a key it is
// part of the symbol; at the start of a line or after white space it begins
// a comment.
TEST(LexgenPhoneMap, HashInDutchSymbols) {
  lexgen::PhoneMap m;
  std::string error;
  ASSERT_TRUE(m.parse("# v#\tx\nv#\tw # Dutch v#\ns#\tsh\t# coda too\na\ta\n", &error)) << error;
  ASSERT_EQ(m.rows.size(), 3u);
  m.vowels = {"a"};
  std::vector<std::string> phones;
  std::string unknown;
  ASSERT_TRUE(m.map("v# 'a s#", &phones, &unknown));
  EXPECT_EQ(joined(phones), "w a1 sh");
  EXPECT_FALSE(m.map("x", &phones, &unknown));  // the commented row is not there
}

// A key ending in "$" holds only at the end of the word and wins there over
// the same key without it, whichever row comes first.
TEST(LexgenPhoneMap, WordFinalKeys) {
  lexgen::PhoneMap m;
  std::string error;
  ASSERT_TRUE(m.parse("eI N\tex\neI N $\tae jx\neI N s# $\tae jx sh\nt\tt\nb\tb\nU\tu\ns#\ts\n", &error))
      << error;
  m.vowels = {"ex", "ae", "u"};
  std::vector<std::string> phones;
  std::string unknown;
  lexgen::PhoneMap bad;
  ASSERT_TRUE(m.map("b 'eI N", &phones, &unknown));
  EXPECT_EQ(joined(phones), "b ae1 jx");
  ASSERT_TRUE(m.map("t 'eI N t U", &phones, &unknown));
  EXPECT_EQ(joined(phones), "t ex1 t u0");  // not at the end: the plain key
  ASSERT_TRUE(m.map("'eI N t eI N", &phones, &unknown));
  EXPECT_EQ(joined(phones), "ex1 t ae0 jx");
  ASSERT_TRUE(m.map("b 'eI N s#", &phones, &unknown));  // three symbols and the end
  EXPECT_EQ(joined(phones), "b ae1 jx sh");
  EXPECT_FALSE(bad.parse("a b c d $\tx\n", &error));  // at most three symbols before it
  EXPECT_FALSE(bad.parse("$\tx\n", &error));
  EXPECT_EQ(error, "phone map line 1: '$' (the end of the word) must follow a symbol: '$\tx'");
}

// A key written with a leading ' matches a stressed symbol only (Italian
// "i ;" is the glide j, a stressed one the vowel before a hiatus).
TEST(LexgenPhoneMap, StressedOnlyKeys) {
  lexgen::PhoneMap m;
  std::string error;
  ASSERT_TRUE(m.parse("'i ;\ti\ni ;\tj\ni\ti\na\ta\nm\tm\nr\tr\n", &error)) << error;
  m.vowels = {"a", "i"};
  std::vector<std::string> phones;
  std::string unknown;
  ASSERT_TRUE(m.map("m a r 'i ; a", &phones, &unknown));
  EXPECT_EQ(joined(phones), "m a0 r i1 a0");
  ASSERT_TRUE(m.map("m 'a r i ; a", &phones, &unknown));
  EXPECT_EQ(joined(phones), "m a1 r j a0");
  ASSERT_TRUE(m.map("m 'i ;", &phones, &unknown));
  EXPECT_EQ(joined(phones), "m i1");
  // The stressed key is no plain key: ";" after another vowel stays unknown.
  EXPECT_FALSE(m.map("a ;", &phones, &unknown));
  EXPECT_EQ(unknown, ";");
}

// espeak-ng writes variants with '#' ("a#", "t#"): a '#' inside a symbol is
// part of it, one at the start of a line or after a blank starts a comment.
// A variety's map is read before the map it builds on; its rows win.
TEST(LexgenPhoneMap, HashSymbolsAndLayeredMaps) {
  lexgen::PhoneMap m;
  std::string error;
  ASSERT_TRUE(m.parse("a#\tax # the reduced a\nt#\tt\n# a comment line\naa n\ta n\n", &error)) << error;
  ASSERT_TRUE(m.parse("aa\taa\nn\tn\na\ta\nt\tt\n", &error)) << error;
  m.vowels = {"a", "aa", "ax"};
  std::vector<std::string> phones;
  std::string unknown;
  ASSERT_TRUE(m.map("'aa n t# a#", &phones, &unknown)) << unknown;
  EXPECT_EQ(joined(phones), "a1 n t ax0");  // "aa n" of the variety, then the base map's rows
  ASSERT_TRUE(m.map("'aa", &phones, &unknown));
  EXPECT_EQ(joined(phones), "aa1");
}

// Word lists: hunspell affix flags and fields dropped, words with other
// characters than letters left out, the lower-case spelling of a word listed
// both ways kept.
TEST(LexgenWords, HunspellFlagsAndLowerCaseSpellings) {
  lexgen::Converter latin9("ISO-8859-15");
  ASSERT_TRUE(latin9.ok());
  std::vector<std::string> original, lower;
  lexgen::read_word_list({"5", "Canberra/M", "US", "colour/AEGDS\tpo:noun", "us", "don't", "x", "caf\xC3\xA9/S",
                          "May", "may", "Polish", "arvo"},
                         icu::Locale("en_AU"), latin9, &original, &lower);
  ASSERT_EQ(original.size(), 7u);
  ASSERT_EQ(lower.size(), 7u);
  EXPECT_EQ(original[0], "Canberra");
  EXPECT_EQ(lower[0], "canberra");
  EXPECT_EQ(original[1], "us");  // listed as "US" first
  EXPECT_EQ(original[2], "colour");
  EXPECT_EQ(lower[3], "caf\xE9");  // in the module's encoding
  EXPECT_EQ(original[4], "may");
  EXPECT_EQ(original[5], "Polish");  // no lower-case twin
  EXPECT_EQ(lower[6], "arvo");
  lexgen::Converter none("no-such-encoding");
  EXPECT_FALSE(none.ok());
}

TEST(LexgenStress, OnePrimaryStress) {
  std::set<std::string> vowels = {"a", "ax", "i"};
  lexgen::StressRule first;
  first.unstressable = {"ax"};
  std::vector<std::string> p = {"ax0", "t", "a0", "i0"};
  first.apply(&p, vowels);
  EXPECT_EQ(joined(p), "ax0 t a1 i0");
  p = {"a1", "t", "i1"};
  first.apply(&p, vowels);
  EXPECT_EQ(joined(p), "a1 t i0");
  lexgen::StressRule penult;
  ASSERT_TRUE(penult.set_position("penultimate"));
  p = {"k", "a0", "s", "a0"};
  penult.apply(&p, vowels);
  EXPECT_EQ(joined(p), "k a1 s a0");
  p = {"t"};
  penult.apply(&p, vowels);
  EXPECT_EQ(joined(p), "t");
  // Last full vowel (French): a final schwa is passed over; the oracle's
  // stress is dropped when the rule alone decides.
  lexgen::StressRule last;
  ASSERT_TRUE(last.set_position("last"));
  last.unstressable = {"ax"};
  p = {"t", "a0", "b", "l", "ax0"};
  last.apply(&p, vowels);
  EXPECT_EQ(joined(p), "t a1 b l ax0");
  p = {"a1", "t", "i0", "ax0"};
  last.reassign(&p, vowels);
  EXPECT_EQ(joined(p), "a0 t i1 ax0");
  p = {"l", "ax0"};
  last.apply(&p, vowels);
  EXPECT_EQ(joined(p), "l ax1");
  EXPECT_FALSE(last.set_position("second"));
}

// Vowels after the primary stress change; those before it, the stressed
// vowel itself, consonants and words without a stress stay as they are.
TEST(LexgenStress, VowelsAfterTheStress) {
  std::set<std::string> vowels = {"a", "ah", "ax", "o"};
  lexgen::PostStressRule rule;
  ASSERT_TRUE(rule.parse("ah:ax", nullptr));
  std::vector<std::string> p = {"m", "ah0", "l", "ah0", "k", "o1", "ah0"};
  rule.apply(&p, vowels);
  EXPECT_EQ(joined(p), "m ah0 l ah0 k o1 ax0");
  p = {"g", "o1", "r", "ah0", "d", "ah0"};
  rule.apply(&p, vowels);
  EXPECT_EQ(joined(p), "g o1 r ax0 d ax0");
  p = {"ah0", "t", "ah0"};
  rule.apply(&p, vowels);
  EXPECT_EQ(joined(p), "ah0 t ah0");
  std::string error;
  for (const char* bad : {"ah", ":ax", "ah:", "a:b:c"}) {
    lexgen::PostStressRule broken;
    EXPECT_FALSE(broken.parse(bad, &error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
  lexgen::PostStressRule none;
  ASSERT_TRUE(none.parse("", &error));
  p = {"g", "o1", "r", "ah0"};
  none.apply(&p, vowels);
  EXPECT_EQ(joined(p), "g o1 r ah0");
}

// A lexicon where c is k before a and s before i, x is "k s" and h is silent:
// the trees must learn all of it from the aligned words.
TEST(LexgenTraining, LearnsContextAndDualPhones) {
  std::vector<Entry> words;
  const char* syllables[] = {"ca", "ci", "ta", "ti", "xa", "ha"};
  const char* phones[] = {"k a0", "s i0", "t a0", "t i0", "k s a0", "a0"};
  for (int a = 0; a < 6; ++a)
    for (int b = 0; b < 6; ++b) {
      Entry e;
      e.word = std::string(syllables[a]) + syllables[b];
      std::string p = std::string(phones[a]) + " " + phones[b];
      for (size_t start = 0; start < p.size();) {
        size_t sp = p.find(' ', start);
        e.phones.push_back(p.substr(start, sp == std::string::npos ? std::string::npos : sp - start));
        start = sp == std::string::npos ? p.size() : sp + 1;
      }
      words.push_back(e);
    }
  lexgen::Aligner aligner;
  aligner.train(words, 4);
  std::vector<lexgen::Alignment> alignments;
  for (const Entry& e : words) {
    lexgen::Alignment a;
    ASSERT_TRUE(aligner.align(e, &a)) << e.word;
    alignments.push_back(a);
  }
  lexgen::Alignment x;
  ASSERT_TRUE(aligner.align(words[4 * 6 + 2], &x));  // "xata"
  EXPECT_EQ(x[0], "k-s");
  lexgen::LtsModel model;
  model.train(words, alignments, 1000, 1);
  for (const Entry& e : words) EXPECT_EQ(joined(model.predict(e.word)), joined(e.phones)) << e.word;
  EXPECT_LT(model.node_count(), 1000);
  // A node budget smaller than the letters' roots still gives one leaf per letter.
  lexgen::LtsModel tiny;
  tiny.train(words, alignments, 2, 1);
  EXPECT_EQ(tiny.node_count(), (int)tiny.letter_bytes.size());
  EXPECT_EQ(joined(tiny.predict("zz")), "");  // letters it never saw give no phones
}

}  // namespace
