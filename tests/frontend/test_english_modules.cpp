// The British and Australian English modules on the European kit: golden
// television text (tests/golden/uken, tests/golden/auen) and the English
// rules the golden cases do not pin down one by one: fixed pronunciations
// before the generated data, clitics after the phone before them, "the"
// before a vowel, the Australian flap, amounts as adjectives, dates that
// take two following tokens, and the tables the two modules share.
#include <gtest/gtest.h>

#include <string>

#include "frontend/kvap_g2p.h"
#include "modules/auen/auen_lang.h"
#include "modules/common/eu_voice.h"
#include "modules/english/english_rules.h"
#include "modules/uken/uken_lang.h"
#include "tests/frontend/eu_normaliser.h"
#include "tests/frontend/golden_util.h"

namespace {

const unsigned kPhones = G2P_PHONE_BOUNDARY | G2P_STRESS_MARK;

TEST(GoldenUken, EveryCaseMatchesOrIsAKnownFailure) {
  Normaliser norm(&uken_language);
  vxn_golden::check_golden_dir(golden_dir("uken"), "uken",
                               [&norm](const std::string& t, unsigned f) { return norm.run(t, f); });
}

TEST(GoldenAuen, EveryCaseMatchesOrIsAKnownFailure) {
  Normaliser norm(&auen_language);
  vxn_golden::check_golden_dir(golden_dir("auen"), "auen",
                               [&norm](const std::string& t, unsigned f) { return norm.run(t, f); });
}

// Fixed pronunciations come before the exceptions and the rules: weak forms
// of function words, letter names, contractions; other words still come from
// the generated data.
TEST(EnglishLexicon, FixedPronunciationsFirst) {
  Normaliser uk(&uken_language);
  EXPECT_EQ(uk.run("the", kPhones), "dh ax");
  EXPECT_EQ(uk.run("a", kPhones), "ax");
  EXPECT_EQ(uk.run("won't", kPhones), "w ou1 n t");
  EXPECT_EQ(uk.run("BBC", kPhones), "b ii1 b ii1 s ii1");
  // "one" corrects the oracle's northern vowel.
  EXPECT_EQ(uk.run("one", kPhones), "w uh1 n");
  // A word of the generated data.
  EXPECT_EQ(uk.run("weather", kPhones), "w e1 dh ax");
  const eu_lexicon_record* lex =
      (const eu_lexicon_record*)val_lexicon(feat_val(uk.voice()->features, "lexicon"));
  ASSERT_NE(lex->fixed, nullptr);
  EXPECT_GT(lex->fixed->size(), 100u);
}

// 's is z after a voiced phone, s after a voiceless one and ax z after a
// sibilant; 'll and 've take a schwa after a consonant.
TEST(EnglishPostlex, CliticsFollowThePhoneBefore) {
  Normaliser uk(&uken_language);
  EXPECT_EQ(uk.run("John's", G2P_NORM), "john 's");
  EXPECT_EQ(uk.run("John's", kPhones), "jh o1 n z");
  EXPECT_EQ(uk.run("Pat's", kPhones), "p a1 t s");
  EXPECT_EQ(uk.run("Rose's", kPhones), "r ou1 z ax z");
  EXPECT_EQ(uk.run("Jack'll", kPhones), "jh a1 k ax l");
  // "the" keeps its schwa before a consonant and takes ii before a vowel.
  EXPECT_EQ(uk.run("the end", kPhones), "dh ii e1 n d");
  EXPECT_EQ(uk.run("the news", kPhones), "dh ax n y uu1 z");
}

// Australian t and d are flapped between a vowel and an unstressed vowel,
// also across words, but not before a stressed vowel, after a consonant or
// at the start of a word; the British module never flaps.
TEST(EnglishPostlex, AustralianFlap) {
  Normaliser au(&auen_language);
  EXPECT_EQ(au.run("butter", kPhones), "b uh1 dx ax");
  EXPECT_EQ(au.run("got it", kPhones), "g o1 dx i t");
  EXPECT_EQ(au.run("attack", kPhones), "ax t a1 k");
  EXPECT_EQ(au.run("after", kPhones), "aa1 f t ax");
  EXPECT_EQ(au.run("a tomato", kPhones).find("dx"), std::string::npos);
  Normaliser uk(&uken_language);
  EXPECT_EQ(uk.run("butter", kPhones), "b uh1 t ax");
}

// After "a" and before a noun an amount or a measure is an adjective.
TEST(EnglishRules, AmountsAsAdjectives) {
  Normaliser uk(&uken_language);
  EXPECT_EQ(uk.run("a 10km walk", G2P_NORM), "a ten kilometre walk");
  EXPECT_EQ(uk.run("walk 10km today", G2P_NORM), "walk ten kilometres today");
  EXPECT_EQ(uk.run("a 10km.", G2P_NORM), "a ten kilometres");
  EXPECT_EQ(uk.run("a £5 note", G2P_NORM), "a five pound note");
  EXPECT_EQ(uk.run("a £2m deal", G2P_NORM), "a two million pound deal");
}

// A day before a month takes the month and the year after it; the tokens
// taken say nothing of their own, and their punctuation stays with the date.
TEST(EnglishRules, DatesTakeTheTokensAfterThem) {
  Normaliser uk(&uken_language);
  EXPECT_EQ(uk.run("on 3 April 2025 in Leeds", G2P_NORM), "on the third of april twenty twenty five in leeds");
  EXPECT_EQ(uk.run("3 April, 2025", G2P_NORM), "the third of april twenty twenty five");
  EXPECT_EQ(uk.run("the 3rd of May", G2P_NORM), "the third of may");
  EXPECT_EQ(uk.run("May 3 1999", G2P_NORM), "may the third nineteen ninety nine");
  // A comma after the year moves to the date and still closes a phrase.
  const std::string marked = uk.run("3 April 2025, Leeds", G2P_PHONE_BOUNDARY | G2P_BREAK_MARK);
  EXPECT_NE(marked.find("f ai v `l ii d z"), std::string::npos) << marked;
  EXPECT_EQ(uk.run("3 April 2025 Leeds", G2P_PHONE_BOUNDARY | G2P_BREAK_MARK).find("v `"), std::string::npos);
}

// Clock times: with am/pm as digits are read, otherwise the British way;
// a dot makes a time only with am/pm or after words that announce one.
TEST(EnglishRules, ClockTimes) {
  Normaliser uk(&uken_language);
  EXPECT_EQ(uk.run("9:05am", G2P_NORM), "nine oh five _a m");
  EXPECT_EQ(uk.run("12:30 a.m.", G2P_NORM), "twelve thirty _a m");
  EXPECT_EQ(uk.run("13pm", G2P_NORM), "thirteen pm");  // not a time: read as it stands
  EXPECT_EQ(uk.run("14:01", G2P_NORM), "one minute past two");
  EXPECT_EQ(uk.run("14:59", G2P_NORM), "one minute to three");
  EXPECT_EQ(uk.run("11:40", G2P_NORM), "twenty to twelve");
  EXPECT_EQ(uk.run("at 7.30", G2P_NORM), "at half past seven");
  EXPECT_EQ(uk.run("up 7.30", G2P_NORM), "up seven point three zero");
}

// Words said or spelled: the English automata for short capitals, with the
// fixed table first; the Australian table adds its own.
TEST(EnglishRules, AcronymsSaidOrSpelled) {
  Normaliser uk(&uken_language);
  EXPECT_EQ(uk.run("NEWS", G2P_NORM), "news");
  EXPECT_EQ(uk.run("USA", G2P_NORM), "u s _a");
  EXPECT_EQ(uk.run("NASA", G2P_NORM), "nasa");
  EXPECT_EQ(uk.run("ACT NOW", G2P_NORM), "act now");
  Normaliser au(&auen_language);
  EXPECT_EQ(au.run("the ACT", G2P_NORM), "the _a c t");
  EXPECT_EQ(au.run("WA", G2P_NORM), "western australia");
  EXPECT_EQ(uk.run("NSW", G2P_NORM), "n s w");
  EXPECT_EQ(au.run("NSW", G2P_NORM), "new south wales");
}

// The Australian tables are the English ones with their own entries first.
TEST(EnglishTables, AustralianTablesExtendTheEnglishOnes) {
  int english = 0, australian = 0;
  for (const eu_phone* p = english_phones; p->name; ++p) ++english;
  for (const eu_phone* p = auen_language.phones; p->name; ++p) ++australian;
  EXPECT_EQ(australian, english + 1);
  EXPECT_STREQ(auen_language.phones[australian - 1].name, "dx");
  EXPECT_STREQ(auen_language.phones[0].name, "pau");
  bool gday = false, dont = false;
  for (const eu_name* n = auen_language.pronunciations; n->text; ++n) {
    gday = gday || std::string(n->text) == "g'day";
    dont = dont || std::string(n->text) == "don't";
  }
  EXPECT_TRUE(gday && dont);
  for (const eu_name* n = uken_language.pronunciations; n->text; ++n) EXPECT_STRNE(n->text, "g'day");
}

}  // namespace
