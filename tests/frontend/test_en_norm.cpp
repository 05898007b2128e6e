#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>

#include "frontend/en/en_norm.h"
#include "frontend/synth_util.h"
#include "modules/usen/usen_voice.h"
#include "tests/frontend/norm_test_util.h"

using normtest::token_at;
using normtest::tokenize;
using normtest::words;

namespace {

// Tokens of text in an utterance that carries the US English voice's features.
class UsVoice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { voice_ = usen_voice_new(0, nullptr, nullptr); }
  static void TearDownTestSuite() {
    usen_voice_delete(voice_);
    voice_ = nullptr;
  }
  cst_utterance* utterance(const char* text) {
    cst_utterance* u = tokenize(text);
    return utt_init(u, voice_);
  }
  static cst_voice* voice_;
};
cst_voice* UsVoice::voice_ = nullptr;

// Every state an entry points at starts a transition list (index 0 or right
// after a terminating zero), and the array ends with a terminator.
void check_automaton(const norm_fsm& fsm, int count) {
  ASSERT_EQ(fsm.vocab_size, 128);
  ASSERT_EQ(fsm.num_transitions, count);
  std::set<int> starts = {0};
  for (int i = 0; i + 1 < count; ++i)
    if (fsm.trans[i] == 0) starts.insert(i + 1);
  EXPECT_EQ(fsm.trans[count - 1], 0);
  for (int i = 0; i < count; ++i) {
    if (fsm.trans[i] == 0) continue;
    int target = fsm.trans[i] / fsm.vocab_size;
    EXPECT_TRUE(starts.count(target)) << "entry " << i << " targets " << target;
  }
  EXPECT_GE(norm_fsm_transition(&fsm, 0, '#'), 2);
  EXPECT_EQ(norm_fsm_transition(&fsm, 0, 'b'), -1);
  EXPECT_EQ(norm_fsm_transition(&fsm, 0, 300), -1);
}

TEST(EnglishWordTest, AutomataAreWellFormed) {
  check_automaton(fsm_aswdP, 203);
  check_automaton(fsm_aswdS, 454);
}

TEST_F(UsVoice, RealWordsAreSaidAndConsonantStringsSpelled) {
  cst_utterance* u = utterance("x");
  cst_item* t = token_at(u, 0);
  for (const char* w : {"hello", "strength", "world", "texts", "sixths", "school", "square", "spring", "Thames",
                        "apple", "nymph", "phthalate", "yes", "angst", "Street"})
    EXPECT_TRUE(en_aswd(t, w)) << w;
  for (const char* w : {"xkcd", "bbc", "tv", "cnn", "nbc", "mtv", "dvd", "BBC", "hdtv", "kl", "bcd", "txt", "pht"})
    EXPECT_FALSE(en_aswd(t, w)) << w;
  // Onset fine, coda not: "abc" ends in b-c; onset not, coda fine: "ngo".
  EXPECT_FALSE(en_aswd(t, "abc"));
  EXPECT_FALSE(en_aswd(t, "ngo"));
  EXPECT_FALSE(en_aswd(t, ""));
  // The voice stores en_aswd as its word test.
  EXPECT_FALSE(generic_aswd(t, "xkcd"));
  EXPECT_TRUE(generic_aswd(t, "hello"));
  delete_utterance(u);
}

TEST_F(UsVoice, AcronymExceptionsAreSpelled) {
  cst_utterance* u = utterance("x");
  cst_item* t = token_at(u, 0);
  EXPECT_TRUE(en_is_acronym("HD", nullptr));
  EXPECT_TRUE(en_is_acronym("HDMI", nullptr));  // from the language-independent list
  EXPECT_TRUE(en_is_acronym("Uhd", nullptr));   // case-insensitive entry
  EXPECT_TRUE(en_is_acronym("OTA", "ota"));
  EXPECT_FALSE(en_is_acronym("hd", nullptr));   // case-sensitive entry
  EXPECT_FALSE(en_aswd(t, "UHD"));
  EXPECT_FALSE(en_aswd(t, "Ota"));
  EXPECT_FALSE(en_aswd(t, "AKA"));
  EXPECT_TRUE(en_aswd(t, "aka"));  // as a word when not written as the acronym
  ASSERT_EQ(strlen("HDMI/USB/RJ45"), 13u);
  EXPECT_FALSE(en_aswd(t, "HDMI/USB/RJ45"));
  int n = 0;
  for (const char* const* a = en_acronym_exceptions; *a; ++a) ++n;
  EXPECT_EQ(n, 13);
  n = 0;
  for (const char* const* a = en_case_insensitive_acronym_exceptions; *a; ++a) {
    ++n;
    for (const char* p = *a; *p; ++p) EXPECT_FALSE(isupper((unsigned char)*p)) << *a;
  }
  EXPECT_EQ(n, 5);
  delete_utterance(u);
}

TEST(EnglishExpansionTables, RowsAndFlags) {
  int rows = 0, caseRows = 0, lowerC = 0;
  std::set<std::string> keys;
  for (const norm_expansion_row* r = en_expanded_abbrevs_acronyms; *r; ++r) {
    ++rows;
    const char* flags = (*r)[1];
    ASSERT_NE((*r)[2], nullptr) << (*r)[0];  // at least one word
    caseRows += strchr(flags, 'C') != nullptr;
    lowerC += strchr(flags, 'c') != nullptr;
    std::string key = (*r)[0];
    if (!strchr(flags, 'C'))
      for (char& c : key) c = (char)tolower((unsigned char)c);
    EXPECT_TRUE(keys.insert(key).second) << "duplicate key " << key;
  }
  EXPECT_EQ(rows, 63);
  EXPECT_EQ(caseRows, 9);
  EXPECT_EQ(lowerC, 1);
  rows = 0;
  for (const norm_expansion_row* r = en_explicit_expansion_dictionary; *r; ++r) ++rows;
  EXPECT_EQ(rows, 8);
}

TEST_F(UsVoice, AbbreviationsAndProductNames) {
  cst_utterance* u = utterance("24/7 & int'l No. 5 no. way Dr. who WiFi STB stb CTRL iOS IOS Ch. 4 TBA");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 0), "24/7")), "twenty four seven");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 1), "&")), "and");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 2), "int'l")), "international");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 3), "No")), "number");
  EXPECT_STREQ(item_feat_string(token_at(u, 3), "punc"), "");  // dot consumed before "5"
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 5), "no")), "");    // 'C': lower case is the word no
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 7), "Dr")), "doctor");
  EXPECT_STREQ(item_feat_string(token_at(u, 7), "punc"), "");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 9), "WiFi")), "wi fi");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 10), "STB")), "set top box");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 11), "stb")), "");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 12), "CTRL")), "control");  // common table
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 13), "iOS")), "i o s");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 14), "IOS")), "i o s");  // 'c' is no flag
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 15), "Ch")), "channel");
  EXPECT_EQ(words(en_exp_abbrev(token_at(u, 17), "TBA")), "to be announced");
  delete_utterance(u);
}

TEST_F(UsVoice, SpellingAndSymbolNamesFromTheVoice) {
  cst_utterance* u = utterance("AB1 caf\xe9 @ \xa4 \xbd");
  EXPECT_EQ(words(generic_spell_letters(token_at(u, 0))), "a b one");
  EXPECT_EQ(words(generic_spell_letters(token_at(u, 1))), "c a f e acute");
  EXPECT_TRUE(generic_is_symbol(token_at(u, 2), "@"));
  EXPECT_EQ(words(generic_exp_symbol(token_at(u, 2), "@")), "at");
  EXPECT_EQ(words(generic_exp_symbol(token_at(u, 3), "\xa4")), "euro");  // ISO-8859-15 euro sign
  EXPECT_EQ(words(generic_spell_letters(token_at(u, 4))), "o e");       // œ
  EXPECT_EQ(words(generic_exp_symbol(token_at(u, 0), "a")), "");          // letters are no symbols
  for (int b = 0; b < 256; ++b) {
    ASSERT_NE(en_spelling_table[b], nullptr);
    ASSERT_NE(en_symbol_name_table[b], nullptr);
    if (b < 128 && isalnum(b)) {
      EXPECT_STRNE(en_spelling_table[b], "") << b;
    }
    if (en_symbol_name_table[b][0]) {
      EXPECT_STREQ(en_spelling_table[b], en_symbol_name_table[b]) << b;
    }
  }
  delete_utterance(u);
}

}  // namespace
