// The European module kit with its German, Spanish, Polish and Russian
// modules: golden television text (tests/golden/<lang>), the phone sets of every
// kit module against the engine's class tests, the lexicon (exceptions, letter-to-sound rules,
// stress), maximal-onset syllables and the encoding the text arrives in.
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>

#include "engine/VXN_model.h"
#include "frontend/kvap_g2p.h"
#include "frontend/kvap_iconv.h"
#include "frontend/kvap_opts.h"
#include "frontend/sylstruct_common.h"
#include "frontend/synth_util.h"
#include "modules/common/eu_voice.h"
#include "modules/auen/auen_lang.h"
#include "modules/de/de_lang.h"
#include "modules/es/es_lang.h"
#include "modules/pl/pl_lang.h"
#include "modules/ru/ru_lang.h"
#include "modules/uken/uken_lang.h"
#include "tests/frontend/eu_normaliser.h"
#include "tests/frontend/golden_util.h"

namespace {

TEST(GoldenDe, EveryCaseMatchesOrIsAKnownFailure) {
  Normaliser norm(&de_language);
  vxn_golden::check_golden_dir(golden_dir("de"), "de",
                               [&norm](const std::string& t, unsigned f) { return norm.run(t, f); });
}

TEST(GoldenEs, EveryCaseMatchesOrIsAKnownFailure) {
  Normaliser norm(&es_language);
  vxn_golden::check_golden_dir(golden_dir("es"), "es",
                               [&norm](const std::string& t, unsigned f) { return norm.run(t, f); });
}

TEST(GoldenPl, EveryCaseMatchesOrIsAKnownFailure) {
  Normaliser norm(&pl_language);
  vxn_golden::check_golden_dir(golden_dir("pl"), "pl",
                               [&norm](const std::string& t, unsigned f) { return norm.run(t, f); });
}

TEST(GoldenRu, EveryCaseMatchesOrIsAKnownFailure) {
  Normaliser norm(&ru_language);
  vxn_golden::check_golden_dir(golden_dir("ru"), "ru",
                               [&norm](const std::string& t, unsigned f) { return norm.run(t, f); });
}

struct Classes {
  const eu_language* lang;
  int (*vowel)(const char*);
  int (*voiced)(const char*);
};

const Classes kClasses[] = {{&de_language, VXN_Check_German_Vowel, VXN_Check_German_VocalSound},
                            {&es_language, VXN_Check_Spanish_Vowel, VXN_Check_Spanish_VocalSound},
                            {&uken_language, VXN_Check_UKEnglish_Vowel, VXN_Check_UKEnglish_VocalSound},
                            {&auen_language, VXN_Check_AUEnglish_Vowel, VXN_Check_AUEnglish_VocalSound},
                            {&pl_language, VXN_Check_Polish_Vowel, VXN_Check_Polish_VocalSound},
                            {&ru_language, VXN_Check_Russian_Vowel, VXN_Check_Russian_VocalSound}};

std::string label_of(const std::string& phone) { return "a^b-" + phone + "+c=d"; }

std::string lexgen_base(std::string phone) {
  if (phone.size() > 1 && isdigit((unsigned char)phone.back())) phone.pop_back();
  return phone;
}

// Every phone of a module is one the language's class tests know: vowels
// are exactly the vowel class, voiced consonants exactly the rest of the
// voiced-sound class; the voice's nucleus test (of the syllable editing;
// by default a name starting with a vowel letter) holds for the vowels only.
TEST(EuPhoneSets, MatchTheEngineClassTests) {
  for (const Classes& k : kClasses) {
    cst_voice* voice = eu_voice_new(k.lang, 0, nullptr, nullptr);
    ASSERT_NE(voice, nullptr) << k.lang->code;
    kvap_phonefunc nucleus = feat_present(voice->features, "syl_nucleus_func")
                                 ? val_phonefunc(feat_val(voice->features, "syl_nucleus_func"))
                                 : default_is_syl_nucleus;
    std::set<std::string> phones;
    for (const eu_phone* p = k.lang->phones + 1; p->name; ++p) {
      phones.insert(p->name);
      const bool vowel = p->features[0] == '+';
      EXPECT_EQ(k.vowel(label_of(p->name).c_str()), vowel ? 1 : 0) << k.lang->code << " " << p->name;
      if (!vowel) {
        EXPECT_EQ(k.voiced(label_of(p->name).c_str()), p->features[7] == '+' ? 1 : 0) << k.lang->code << " " << p->name;
      }
      EXPECT_EQ(nucleus(p->name), vowel) << k.lang->code << " " << p->name;
    }
    EXPECT_STREQ(k.lang->phones[0].name, "pau");
    // The generated data use no phone outside the set.
    const eu_lexdata* d = k.lang->lexdata;
    auto check = [&](std::string phone) {
      if (phone.size() > 1 && isdigit((unsigned char)phone.back())) phone.pop_back();
      EXPECT_TRUE(phones.count(phone)) << k.lang->code << ": generated phone " << phone << " is not in the set";
    };
    for (int i = 1; i <= d->phone_count; ++i) check(d->phones[i]);
    for (int i = 1; d->lts.phone_table[i]; ++i) {
      std::string em = d->lts.phone_table[i];
      size_t dash = em.find('-');
      check(em.substr(0, dash));
      if (dash != std::string::npos) check(em.substr(dash + 1));
    }
    for (int i = 0; d->vowels[i]; ++i) EXPECT_EQ(k.vowel(label_of(d->vowels[i]).c_str()), 1) << d->vowels[i];
    // So do the fixed pronunciations, whose vowels carry a stress digit.
    for (const eu_name* p = k.lang->pronunciations; p && p->text; ++p)
      for (const std::string& phone : vxn_golden::split(p->words, ' ')) {
        check(phone);
        const bool vowel = k.vowel(label_of(lexgen_base(phone)).c_str()) == 1;
        EXPECT_EQ(vowel, isdigit((unsigned char)phone.back()) != 0) << k.lang->code << " " << p->text << ": " << phone;
      }
    eu_voice_delete(voice);
  }
}

std::string phones_of(const eu_lexdata* d, const char* word) {
  cst_val* v = eu_lexicon_lookup(d, word);
  std::string s;
  for (const cst_val* p = v; p; p = val_cdr(p)) s += std::string(s.empty() ? "" : " ") + val_string(val_car(p));
  delete_val(v);
  return s;
}

// Words in the exception lexicon come from it, others from the rules; each
// result carries exactly one primary stress.
TEST(EuLexicon, ExceptionsRulesAndOneStress) {
  const eu_lexdata* d = de_language.lexdata;
  ASSERT_GT(d->entry_count, 1000u);
  // The first and the last exception are found (the index ends are right).
  const char* first = (const char*)d->entries;
  std::string expected;
  for (const unsigned char* p = d->entries + strlen(first) + 1; *p; ++p)
    expected += std::string(expected.empty() ? "" : " ") + d->phones[*p];
  EXPECT_EQ(phones_of(d, first), expected);
  for (const char* word : {"fernsehen", "nachrichten", "zzzxyq", "a"}) {
    std::string p = phones_of(d, word);
    int stressed = 0;
    for (size_t at = p.find('1'); at != std::string::npos; at = p.find('1', at + 1)) ++stressed;
    EXPECT_EQ(stressed, 1) << word << ": " << p;
  }
  // Bytes the rules do not know are skipped; a word of none has no phones.
  EXPECT_EQ(phones_of(d, "\x01\x02"), "");
  EXPECT_EQ(phones_of(d, ""), "");
  EXPECT_EQ(phones_of(es_language.lexdata, "casa"), "k a1 s a0");
  EXPECT_EQ(phones_of(es_language.lexdata, "canci\xF3n"), "k a0 n th j o1 n");  // canción
}

// Flite's lts_apply writes the letter window and a terminator into a buffer
// of 2 * window + extra-feature bytes, so the data declare one extra byte
// (found by fuzzing "nach 1 km": a one-byte overflow under AddressSanitizer).
TEST(EuLexicon, LetterWindowBufferHoldsItsTerminator) {
  for (const eu_language* lang : {&de_language, &es_language, &pl_language, &ru_language}) {
    EXPECT_GE(lang->lexdata->lts.context_extra_feats, 1) << lang->code;
    // "km", in Russian "км" (ISO-8859-5).
    EXPECT_FALSE(phones_of(lang->lexdata, lang == &ru_language ? "\xDA\xDC" : "km").empty()) << lang->code;
  }
}

// Syllables by maximal onset on the language's onsets, stress from the lexicon.
TEST(EuSyllables, MaximalOnset) {
  Normaliser de(&de_language);
  EXPECT_EQ(de.run("Fenster", G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK), "|f e1 n |s t axr");
  EXPECT_EQ(de.run("Kinder", G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK), "|k i1 n |d axr");
  Normaliser es(&es_language);
  EXPECT_EQ(es.run("hablar", G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK), "|a |bh l a1 r");
  // A glide joins the onset before it: "pue-blo".
  EXPECT_EQ(es.run("pueblo", G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK), "|p w e1 |bh l o");
  EXPECT_TRUE(eu_is_onset(&es_language, "p r w"));
  EXPECT_FALSE(eu_is_onset(&es_language, "n s"));
  EXPECT_FALSE(eu_is_onset(&de_language, "ng"));
}

// Text in the module's own encoding and in UTF-8 reads the same.
TEST(EuEncoding, OwnEncodingAndConvertedInput) {
  Normaliser latin(&de_language, nullptr);
  Normaliser utf8(&de_language);
  EXPECT_EQ(latin.run("Gr\xFC\xDF" "e aus K\xF6ln", G2P_NORM), "grüße aus köln");
  EXPECT_EQ(utf8.run("Grüße aus Köln", G2P_NORM), "grüße aus köln");
  // Bytes with no character in the encoding of the words are dropped, not read.
  EXPECT_EQ(latin.run("\x01\x7F", G2P_NORM), "");
}

}  // namespace

namespace {

// Names with several plural forms follow the locale's plural rules: Polish
// one / few / many / fractions, Russian with 21 taking the "one" form; a
// name may carry its own rule set (feminine "dwie tony", "две тонны").
TEST(EuPlurals, FormsByTheLocalesRules) {
  Normaliser pl(&pl_language);
  EXPECT_EQ(pl.run("1 km, 2 km, 5 km, 12 km, 22 km, 2,5 km", G2P_NORM),
            "jeden kilometr dwa kilometry pięć kilometrów dwanaście kilometrów dwadzieścia dwa kilometry "
            "dwa przecinek pięć kilometra");
  EXPECT_EQ(pl.run("2 t i 2 h", G2P_NORM), "dwie tony i dwie godziny");
  EXPECT_EQ(pl.run("3,01 zł", G2P_NORM), "trzy złote jeden grosz");
  Normaliser ru(&ru_language);
  EXPECT_EQ(ru.run("21 км, 11 км, 3 км, 1 000 000 руб.", G2P_NORM),
            "двадцать один километр одиннадцать километров три километра один миллион рублей");
  EXPECT_EQ(ru.run("2 т и 1,02 руб.", G2P_NORM), "две тонны и один рубль две копейки");
  // A single form is the singular after exactly 1 and the plural otherwise.
  Normaliser de(&de_language);
  EXPECT_EQ(de.run("1 km und 2 t", G2P_NORM), "ein kilometer und zwei tonnen");
}

// Where spaces group digits, three-digit groups join the number before
// them, also across no-break spaces; a run followed by more digits is a
// telephone number and stays apart.
TEST(EuNumbers, SpaceGroupsAndFractions) {
  Normaliser pl(&pl_language);
  EXPECT_EQ(pl.run("2 500 000 osób", G2P_NORM), "dwa miliony pięćset tysięcy osób");
  EXPECT_EQ(pl.run("2\xC2\xA0" "500 osób", G2P_NORM), "dwa tysiące pięćset osób");
  EXPECT_EQ(pl.run("22 123 45", G2P_NORM), "dwadzieścia dwa sto dwadzieścia trzy czterdzieści pięć");
  EXPECT_EQ(pl.run("1234 i 12 345", G2P_NORM),
            "tysiąc dwieście trzydzieści cztery i dwanaście tysięcy trzysta czterdzieści pięć");
  // Russian reads fractions as ICU's Russian rules do, not digit by digit.
  Normaliser ru(&ru_language);
  EXPECT_EQ(ru.run("3,14", G2P_NORM), "три целых четырнадцать сотых");
  EXPECT_EQ(ru.run("-2,5", G2P_NORM), "минус две целых пять десятых");
  // Spanish keeps the decimal word and its digits.
  Normaliser es(&es_language);
  EXPECT_EQ(es.run("3,14", G2P_NORM), "tres coma uno cuatro");
}

// Polish ordinals by case and gender, with cardinal thousands and hundreds.
TEST(PlOrdinals, FormsAndCompounds) {
  cst_voice* v = eu_voice_new(&pl_language, 0, nullptr, nullptr);
  ASSERT_NE(v, nullptr);
  eu_context c{&pl_language, nullptr, (eu_voice_data*)val_userdata(feat_val(v->features, "eu_voice"))};
  struct Case {
    int n;
    pl_ordinal_form form;
    const char* text;
  } cases[] = {{1, PL_NOM_M, "pierwszy"},       {2, PL_GEN_M, "drugiego"},     {3, PL_NOM_F, "trzecia"},
               {3, PL_GEN_F, "trzeciej"},       {2, PL_INS_F, "drugą"},        {12, PL_LOC_M, "dwunastym"},
               {20, PL_NOM_N, "dwudzieste"},    {21, PL_GEN_M, "dwudziestego pierwszego"},
               {100, PL_NOM_M, "setny"},        {1989, PL_LOC_M, "tysiąc dziewięćset osiemdziesiątym dziewiątym"},
               {2000, PL_GEN_M, "dwutysięcznego"}, {2024, PL_GEN_M, "dwa tysiące dwudziestego czwartego"},
               {310, PL_NOM_F, "trzysta dziesiąta"}};
  for (const Case& k : cases) {
    std::vector<std::string> out;
    ASSERT_TRUE(pl_ordinal_words(&c, k.n, k.form, &out)) << k.n;
    std::string utf8;
    for (const std::string& w : out) utf8 += (utf8.empty() ? "" : " ") + w;
    EXPECT_EQ(utf8, k.text) << k.n;
  }
  std::vector<std::string> none;
  EXPECT_FALSE(pl_ordinal_words(&c, 0, PL_NOM_M, &none));
  EXPECT_FALSE(pl_ordinal_words(&c, 10000, PL_NOM_M, &none));
  EXPECT_FALSE(pl_ordinal_words(&c, 5000, PL_NOM_M, &none));  // no stem for five thousand
  eu_voice_delete(v);
}

// Text in the modules' own encodings (ISO-8859-2, ISO-8859-5) reads as the
// same text in UTF-8; characters the encoding lacks are dropped, not read,
// and the rest of the text still is.
TEST(EuEncoding, PolishAndRussianEncodings) {
  Normaliser latin2(&pl_language, nullptr);
  EXPECT_EQ(latin2.run("Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB1 ja\xBC\xF1", G2P_NORM), "zażółć gęślą jaźń");
  Normaliser cyrillic(&ru_language, nullptr);
  EXPECT_EQ(cyrillic.run("\xB4\xDE\xD1\xE0\xEB\xD9 \xD2\xD5\xE7\xD5\xE0", G2P_NORM), "добрый вечер");
  Normaliser ru(&ru_language);
  EXPECT_EQ(ru.run("Жара \xE2\x80\x94 35\xC2\xB0" "C \xE2\x82\xAC", G2P_NORM), "жара тридцать пять градусов цельсия");
  // A capital letter that is a word of the language is read as the word.
  EXPECT_EQ(ru.run("В Казани и С Петром", G2P_NORM), "в казани и с петром");
  EXPECT_EQ(ru.run("Буква Ж", G2P_NORM), "буква жэ");
  Normaliser pl(&pl_language);
  EXPECT_EQ(pl.run("W Gdyni i Z Sopotu, litera K", G2P_NORM), "w gdyni i z sopotu litera ka");
}

// Every word of the golden files and a sample of generated exceptions come
// out with one primary stress and phones of the language's set.
TEST(EuLexicon, PolishAndRussianStressAndSyllables) {
  Normaliser pl(&pl_language);
  EXPECT_EQ(pl.run("Warszawa", G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK), "|v a r |sh a1 |v a");
  EXPECT_EQ(pl.run("sprawa", G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK), "|s p r a1 |v a");
  EXPECT_TRUE(eu_is_onset(&pl_language, "p sh"));
  EXPECT_TRUE(eu_is_onset(&pl_language, "p j"));  // a glide after any onset
  EXPECT_FALSE(eu_is_onset(&pl_language, "n t"));
  Normaliser ru(&ru_language);
  EXPECT_EQ(ru.run("сестра", G2P_SYL_BOUNDARY | G2P_PHONE_BOUNDARY | G2P_STRESS_MARK), "|sj i |s t r a1");
  EXPECT_TRUE(eu_is_onset(&ru_language, "v z g lj"));
  EXPECT_FALSE(eu_is_onset(&ru_language, "r n"));
  for (const eu_language* lang : {&pl_language, &ru_language}) {
    const eu_lexdata* d = lang->lexdata;
    EXPECT_STREQ(d->language, lang->code);
    // Words with a vowel carry exactly one primary stress, words without none.
    for (const char* word : {"a", "zzz", "\xE0\xE0", "\xD0\xE0\xD0", "kot", "\xDA\xDE\xE2"}) {
      std::string p = phones_of(d, word);
      int stressed = 0, vowels = 0;
      for (size_t at = p.find('1'); at != std::string::npos; at = p.find('1', at + 1)) ++stressed;
      for (size_t at = p.find('0'); at != std::string::npos; at = p.find('0', at + 1)) ++vowels;
      EXPECT_EQ(stressed, vowels + stressed > 0 ? 1 : 0) << lang->code << " " << word << ": " << p;
    }
  }
}

}  // namespace
