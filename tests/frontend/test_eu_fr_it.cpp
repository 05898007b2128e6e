// The French and Italian modules and the kit pieces they brought: elided
// forms read as one word with the form's phones, stress on the last full
// vowel, digit groups separated by spaces, the no-break space, abbreviations
// glued to their number, feminine counts, number parts that run on, French
// liaison, and the Italian readings of the degree sign and of "20.30".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/kvap_g2p.h"
#include "modules/common/eu_voice.h"
#include "modules/de/de_lang.h"
#include "modules/fr/fr_lang.h"
#include "modules/it/it_lang.h"
#include "tests/frontend/eu_test_util.h"

namespace {

using vxn_eu_test::golden_dir;
using vxn_eu_test::Normaliser;

const unsigned kNorm = G2P_NORM;
const unsigned kPhones = G2P_PHONE_BOUNDARY | G2P_STRESS_MARK;
const unsigned kSyllables = G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK;

std::vector<std::string> vxn_split(const std::string& s) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < s.size()) {
    size_t space = s.find(' ', start);
    if (space == std::string::npos) space = s.size();
    if (space > start) out.push_back(s.substr(start, space - start));
    start = space + 1;
  }
  return out;
}

std::string lookup(Normaliser& n, const char* word) {
  const cst_lexicon* lex = val_lexicon(feat_val(n.voice()->features, "lexicon"));
  cst_val* v = eu_lts_function(lex, word, "", nullptr);
  std::string s;
  for (const cst_val* p = v; p; p = val_cdr(p)) s += std::string(s.empty() ? "" : " ") + val_string(val_car(p));
  delete_val(v);
  return s;
}

// An elided form gives its phones before the word's own; a word that only
// looks elided, or a form with nothing after it, is looked up as it is.
TEST(EuElision, FormPhonesBeforeTheWord) {
  Normaliser fr(&fr_language, nullptr);
  EXPECT_EQ(lookup(fr, "l'homme"), "l " + lookup(fr, "homme"));
  EXPECT_EQ(lookup(fr, "jusqu'\xE0"), "zh ue0 s k " + lookup(fr, "\xE0"));  // jusqu'à
  EXPECT_EQ(lookup(fr, "x'homme"), lookup(fr, "xhomme"));  // not a form of the table
  EXPECT_FALSE(lookup(fr, "l'").empty());
  Normaliser it(&it_language, nullptr);
  EXPECT_EQ(lookup(it, "dell'anno"), "d e0 l l " + lookup(it, "anno"));
  // The form's vowels never take the stress: the word keeps its own.
  const std::string unaltra = lookup(it, "un'altra");
  EXPECT_EQ(unaltra.substr(0, 5), "u0 n ");
  EXPECT_NE(unaltra.find('1'), std::string::npos);
  // Read from text: the form joins the first word the rest is read as.
  Normaliser frText(&fr_language);
  EXPECT_EQ(frText.run("l'ONU et d'1 euro", kNorm), "l'onu et d'un euro");
  EXPECT_EQ(frText.run("rock'n'roll", kNorm), "rock n roll");
}

// French stress: exactly one, on the last vowel that is not a schwa.
TEST(EuStress, FrenchLastFullVowel) {
  Normaliser fr(&fr_language, nullptr);
  for (const char* word : {"fen\xEAtre", "table", "maison", "le", "samedi", "parlent", "gouvernement", "bonjour"}) {
    const std::string p = lookup(fr, word);
    std::vector<std::string> phones = vxn_split(p);
    int stressed = 0;
    bool fullVowelAfter = false;
    for (const std::string& ph : phones) {
      if (ph.back() == '1') ++stressed;
      else if (stressed && ph.back() == '0' && ph != "ax0") fullVowelAfter = true;
    }
    EXPECT_EQ(stressed, 1) << word << ": " << p;
    EXPECT_FALSE(fullVowelAfter) << word << ": " << p;
  }
}

TEST(EuNumbers, DigitGroupsSeparatedBySpaces) {
  Normaliser fr(&fr_language);
  EXPECT_EQ(fr.run("les 2 000 et 300", kNorm), "les deux mille et trois cents");
  EXPECT_EQ(fr.run("2 000,50", kNorm), "deux mille virgule cinq zéro");
  EXPECT_EQ(fr.run("20 000 000 000", kNorm), "vingt milliards");
  // A group of four digits, punctuation or a quote between: no grouping.
  EXPECT_EQ(fr.run("1 5000", kNorm), "un cinq mille");
  EXPECT_EQ(fr.run("1, 500", kNorm), "un cinq cents");
  EXPECT_EQ(fr.run("1 \"500\"", kNorm), "un cinq cents");
  // A no-break space is a space: "1 500", "12,50 €".
  EXPECT_EQ(fr.run("1\xC2\xA0" "500 et 12,50\xC2\xA0\xE2\x82\xAC", kNorm), "mille cinq cents et douze euros cinquante");
  // German groups with dots: a space does not join.
  Normaliser de(&de_language);
  EXPECT_EQ(de.run("1 500", kNorm), "eins fünf hundert");
}

TEST(EuNumbers, CountsPartsAndGluedAbbreviations) {
  Normaliser fr(&fr_language);
  EXPECT_EQ(fr.run("1 t, 21 h, 1 \xC2\xA3", kNorm), "une tonne vingt et une heures une livre");
  EXPECT_EQ(fr.run("1 km", kNorm), "un kilomètre");
  EXPECT_EQ(fr.run("n°12", kNorm), "numéro douze");
  EXPECT_EQ(fr.run("M6", kNorm), "emme six");  // M. needs its dot
  Normaliser it(&it_language);
  EXPECT_EQ(it.run("21 38 23 101", kNorm), "ventuno trentotto venti tré cento uno");
  EXPECT_EQ(it.run("1 t", kNorm), "una tonnellata");
  Normaliser de(&de_language);
  EXPECT_EQ(de.run("21", kNorm), "ein und zwanzig");  // the German parts stay apart
}

TEST(FrenchText, ClockTimesOrdinalsAndTelephoneNumbers) {
  Normaliser fr(&fr_language);
  EXPECT_EQ(fr.run("0h30", kNorm), "zéro heure trente");
  EXPECT_EQ(fr.run("20 h", kNorm), "vingt heures");
  EXPECT_EQ(fr.run("20h01", kNorm), "vingt heures une");
  EXPECT_EQ(fr.run("25h00", kNorm), "vingt cinq h zéro zéro");  // no such hour
  EXPECT_EQ(fr.run("IIIe", kNorm), "troisième");
  // Words that look like a Roman numeral with a mark stay words.
  EXPECT_EQ(fr.run("Le Ce Vers Les Ces Ve", kNorm), "le ce vers les ces cinquième");
  EXPECT_EQ(fr.run("les 3es", kNorm), "les troisièmes");
  // Pairs after a leading zero only.
  EXPECT_EQ(fr.run("10 20", kNorm), "dix vingt");
  EXPECT_EQ(fr.run("06 07", kNorm), "zéro six zéro sept");
}

// Liaison: the consonant opens the next word's first syllable; none across
// a pause, before an aspirated h, or after a word without a latent consonant.
TEST(FrenchLiaison, ConsonantJoinsTheNextSyllable) {
  Normaliser fr(&fr_language);
  EXPECT_EQ(fr.run("les amis", kSyllables), "|l e1 |z a |m i1");
  EXPECT_EQ(fr.run("les, amis", kPhones), "l e1 a m i1");
  EXPECT_EQ(fr.run("les hiboux", kPhones).find(" z "), std::string::npos);
  EXPECT_EQ(fr.run("la amie", kPhones).find(" z "), std::string::npos);
  EXPECT_EQ(fr.run("un ami", kSyllables), "|oen1 |n a |m i1");
}

TEST(ItalianText, DegreeSignAndDottedTimes) {
  Normaliser it(&it_language);
  EXPECT_EQ(it.run("con 30\xC2\xB0", kNorm), "con trenta gradi");
  EXPECT_EQ(it.run("il 30\xC2\xB0 anniversario", kNorm), "il trentesimo anniversario");
  EXPECT_EQ(it.run("il 30\xC2\xB0.", kNorm), "il trenta gradi");
  EXPECT_EQ(it.run("ore 9.05", kNorm), "ore nove e cinque");
  EXPECT_EQ(it.run("ore 25.30", kNorm), "ore venti cinque virgola tre zero");
  EXPECT_EQ(it.run("costa 20.30", kNorm), "costa venti virgola tre zero");
  EXPECT_EQ(it.run("alle 13:00", kNorm), "alle tredici");
  EXPECT_EQ(it.run("all'1:00", kNorm), "all'una");
}

}  // namespace
