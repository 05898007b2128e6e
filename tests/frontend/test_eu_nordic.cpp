// The Danish, Swedish, Finnish and Norwegian modules: golden television
// text (tests/golden/da, sv, fi, nb), the vowel sets of their class tables,
// and the kit's parts they brought: non-syllabic vowels (Finnish
// diphthongs), numbers grouped by spaces, a currency before its amount,
// ordinal marks with a colon, single-letter Roman numerals, clock times with
// a dot.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "engine/VXN_model.h"
#include "modules/common/eu_voice.h"
#include "modules/da/da_lang.h"
#include "modules/fi/fi_lang.h"
#include "modules/nb/nb_lang.h"
#include "modules/sv/sv_lang.h"
#include "tests/frontend/eu_test_util.h"
#include "tests/frontend/golden_util.h"

namespace {

using vxn_eu_test::golden_dir;
using vxn_eu_test::Normaliser;

void check_golden(const eu_language* lang, const char* dir) {
  Normaliser norm(lang);
  vxn_golden::check_golden_dir(golden_dir(dir), dir, [&norm](const std::string& t, unsigned f) { return norm.run(t, f); });
}

TEST(GoldenDa, EveryCaseMatchesOrIsAKnownFailure) { check_golden(&da_language, "da"); }
TEST(GoldenSv, EveryCaseMatchesOrIsAKnownFailure) { check_golden(&sv_language, "sv"); }
TEST(GoldenFi, EveryCaseMatchesOrIsAKnownFailure) { check_golden(&fi_language, "fi"); }
TEST(GoldenNb, EveryCaseMatchesOrIsAKnownFailure) { check_golden(&nb_language, "nb"); }

// Each module's vowels are the whole vowel class of its language (the class
// sizes of the engine's tables), and the lexicon's vowel list is the same set.
TEST(NordicPhoneSets, VowelsAreTheWholeClass) {
  struct Row {
    const eu_language* lang;
    int (*vowel)(const char*);
    int size;
  };
  const Row rows[] = {{&da_language, VXN_Check_Danish_Vowel, 26},
                      {&sv_language, VXN_Check_Swedish_Vowel, 20},
                      {&fi_language, VXN_Check_Finnish_Vowel, 22},
                      {&nb_language, VXN_Check_Norwegian_Vowel, 24}};
  for (const Row& r : rows) {
    int vowels = 0, listed = 0;
    for (const eu_phone* p = r.lang->phones + 1; p->name; ++p) {
      if (p->features[0] != '+') continue;
      ++vowels;
      EXPECT_EQ(r.vowel(("x^x-" + std::string(p->name) + "+x=x").c_str()), 1) << r.lang->code << " " << p->name;
    }
    for (int i = 0; r.lang->lexdata->vowels[i]; ++i) ++listed;
    EXPECT_EQ(vowels, r.size) << r.lang->code;
    EXPECT_EQ(listed, r.size) << r.lang->code;
  }
}

// The converted voices of these languages are built through the phone maps
// in docs/phone-maps/: every phone a module emits needs a row there, or the
// voice's questions about its donor phone never hold for it.
std::set<std::string> phone_map_targets(const std::string& path) {
  std::set<std::string> targets;
  std::ifstream in(path);
  std::string line;
  bool table = false;
  while (std::getline(in, line)) {
    if (line.rfind("| target |", 0) == 0) {
      table = true;
      continue;
    }
    if (line.empty() || line[0] != '|') {
      table = false;
      continue;
    }
    if (!table || line.rfind("|---", 0) == 0) continue;
    const std::size_t end = line.find('|', 1);
    std::string cell = line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    cell.erase(0, cell.find_first_not_of(' '));
    cell.erase(cell.find_last_not_of(' ') + 1);
    targets.insert(cell);
  }
  return targets;
}

TEST(NordicPhoneSets, EveryPhoneHasARowInTheVoicePhoneMap) {
  struct Row {
    const eu_language* lang;
    const char* map;
  };
  const Row rows[] = {{&da_language, "da"}, {&sv_language, "sv"}, {&fi_language, "fi"}, {&nb_language, "no"}};
  for (const Row& r : rows) {
    const std::string path = std::string(VXN_TEST_SOURCE_DIR) + "/docs/phone-maps/" + r.map + ".md";
    const std::set<std::string> targets = phone_map_targets(path);
    ASSERT_GT(targets.size(), 20u) << path;
    for (const eu_phone* p = r.lang->phones; p->name; ++p)
      EXPECT_EQ(targets.count(p->name), 1u) << r.lang->code << " phone " << p->name << " has no row in " << path;
  }
}

const unsigned kSyllables = G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK;

// The second part of a Finnish diphthong stays in the syllable of the vowel
// before it and keeps that syllable's stress (printed on every vowel of the
// stressed syllable); long consonants split.
TEST(NordicSyllables, FinnishDiphthongsAndLongConsonants) {
  Normaliser fi(&fi_language);
  EXPECT_EQ(fi.run("laiva", kSyllables), "|l a1 ix1 |v a");
  EXPECT_EQ(fi.run("kukka", kSyllables), "|k u1 k |k a");
  EXPECT_EQ(fi.run("tietää", kSyllables), "|t i1 ex1 |t aae");
  // Two vowels that are no diphthong are two syllables (ko-e).
  EXPECT_EQ(fi.run("koe", kSyllables), "|k o1 |e");
  EXPECT_TRUE(eu_is_nonsyllabic(&fi_language, "ix"));
  EXPECT_TRUE(eu_is_nonsyllabic(&fi_language, "oex"));
  EXPECT_FALSE(eu_is_nonsyllabic(&fi_language, "i"));
  EXPECT_FALSE(eu_is_nonsyllabic(&fi_language, "k"));
  EXPECT_FALSE(eu_is_nonsyllabic(&da_language, "ix"));
  EXPECT_FALSE(eu_is_nonsyllabic(nullptr, "ix"));
}

TEST(NordicSyllables, ScandinavianOnsets) {
  EXPECT_TRUE(eu_is_onset(&sv_language, "s t r"));
  EXPECT_TRUE(eu_is_onset(&nb_language, "rn"));
  EXPECT_FALSE(eu_is_onset(&da_language, "rh"));
  EXPECT_FALSE(eu_is_onset(&fi_language, "s t"));
}

// Numbers grouped by spaces join into one number, also before a currency
// or a unit; a group starting with 0 (telephone numbers) does not.
TEST(NordicTokens, NumbersGroupedBySpaces) {
  Normaliser sv(&sv_language);
  EXPECT_EQ(sv.run("1 500 000 kronor", G2P_NORM), "en miljon fem hundra tusen kronor");
  EXPECT_EQ(sv.run("2 499 kr", G2P_NORM), "två tusen fyra hundra nittio nio kronor");
  EXPECT_EQ(sv.run("3 000,50 kr", G2P_NORM), "tre tusen kronor och femtio öre");
  EXPECT_EQ(sv.run("12 000 km", G2P_NORM), "tolv tusen kilometer");
  Normaliser fi(&fi_language);
  EXPECT_EQ(fi.run("040 123", G2P_NORM), "nolla neljä nolla yksi kaksi kolme");
  // Groups of other sizes stay numbers of their own.
  EXPECT_EQ(fi.run("12 34", G2P_NORM), "kaksitoista kolme kymmentä neljä");
  // Danish groups with a dot: a space separates numbers.
  Normaliser da(&da_language);
  EXPECT_EQ(da.run("3 000", G2P_NORM), "tre nul nul nul");
}

// A currency before its amount, with or without an abbreviation dot; alone
// it is read by the abbreviation table.
TEST(NordicTokens, CurrencyBeforeAmount) {
  Normaliser nb(&nb_language);
  EXPECT_EQ(nb.run("kr 299,-", G2P_NORM), "to hundre og nitti ni kroner");
  EXPECT_EQ(nb.run("kr 1 299,-", G2P_NORM), "tusen to hundre og nitti ni kroner");
  EXPECT_EQ(nb.run("€ 5", G2P_NORM), "fem euro");
  EXPECT_EQ(nb.run("i kr", G2P_NORM), "i kroner");
  Normaliser da(&da_language);
  EXPECT_EQ(da.run("kr. 12,50", G2P_NORM), "tolv kroner og halvtreds øre");
}

TEST(NordicTokens, OrdinalMarksRomanNumeralsAndPrices) {
  Normaliser sv(&sv_language);
  EXPECT_EQ(sv.run("den 2:a", G2P_NORM), "den andra");
  EXPECT_EQ(sv.run("25:-", G2P_NORM), "tjugo fem kronor");
  EXPECT_EQ(sv.run("9:90 kr", G2P_NORM), "nio kronor och nittio öre");
  // A colon time is no price without a currency.
  EXPECT_EQ(sv.run("9:30", G2P_NORM), "nio och trettio");
  Normaliser nb(&nb_language);
  EXPECT_EQ(nb.run("Olav V", G2P_NORM), "olav den femte");
  // A single I is a word, not a numeral; V needs a name before it.
  EXPECT_EQ(nb.run("Olav I", G2P_NORM), "olav i");
  EXPECT_EQ(nb.run("V", G2P_NORM), "ve");
  Normaliser fi(&fi_language);
  EXPECT_EQ(fi.run("3. kerralla", G2P_NORM), "kolmannella kerralla");
  EXPECT_EQ(fi.run("3. kerta", G2P_NORM), "kolmas kerta");
}

TEST(NordicTokens, DottedClockTimes) {
  int h = -1, m = -1;
  EXPECT_TRUE(eu_dotted_time("20.15", &h, &m));
  EXPECT_EQ(h, 20);
  EXPECT_EQ(m, 15);
  EXPECT_TRUE(eu_dotted_time("8.05", &h, &m));
  EXPECT_EQ(h, 8);
  EXPECT_EQ(m, 5);
  EXPECT_TRUE(eu_dotted_time("24.00", &h, &m));
  for (const char* bad : {"25.00", "20.60", "20.5", "120.15", ".15", "20.", "2a.15", "20.1a", ""})
    EXPECT_FALSE(eu_dotted_time(bad, &h, &m)) << bad;
  // A day and month before a sentence end is a date, after a clock word a time.
  Normaliser nb(&nb_language);
  EXPECT_EQ(nb.run("Fra 24.12.", G2P_NORM), "fra tjue fjerde desember");
  EXPECT_EQ(nb.run("kl. 10.12.", G2P_NORM), "klokka ti tolv");
}

}  // namespace
