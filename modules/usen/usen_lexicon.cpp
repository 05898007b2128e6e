#include "modules/usen/usen_lexicon.h"

#include <string.h>

#include <vector>

#include "frontend/lex_common.h"

extern "C" cst_lexicon* cmulex_init(void);

namespace {

// Loanwords with their accents (UTF-8 here, ISO-8859-15 in the lexicon) and
// their phones in the CMU lexicon's notation.
const char* const kLoanwords[][2] = {
    {"café", "k ae0 f ey1"},
    {"cafés", "k ae0 f ey1 z"},
    {"résumé", "r eh1 z ax0 m ey2"},
    {"résumés", "r eh1 z ax0 m ey2 z"},
    {"pokémon", "p ow1 k ey0 m aa2 n"},
    {"beyoncé", "b iy0 y aa1 n s ey0"},
    {"cliché", "k l iy0 sh ey1"},
    {"clichés", "k l iy0 sh ey1 z"},
    {"fiancé", "f iy2 aa0 n s ey1"},
    {"fiancée", "f iy2 aa0 n s ey1"},
    {"touché", "t uw0 sh ey1"},
    {"entrée", "aa1 n t r ey0"},
    {"entrées", "aa1 n t r ey0 z"},
    {"soirée", "s w aa0 r ey1"},
    {"protégé", "p r ow1 t ax0 zh ey2"},
    {"exposé", "eh2 k s p ow0 z ey1"},
    {"sauté", "s ao0 t ey1"},
    {"sautéed", "s ao0 t ey1 d"},
    {"rosé", "r ow0 z ey1"},
    {"passé", "p ae0 s ey1"},
    {"née", "n ey1"},
    {"josé", "hh ow0 z ey1"},
    {"renée", "r ax0 n ey1"},
    {"andré", "aa1 n d r ey0"},
    {"zoë", "z ow1 iy0"},
    {"chloë", "k l ow1 iy0"},
    {"naïve", "n ay0 iy1 v"},
    {"noël", "n ow0 eh1 l"},
    {"déjà", "d ey1 zh aa2"},
    {"señor", "s ey0 n y ao1 r"},
    {"señora", "s ey0 n y ao1 r ax0"},
    {"piñata", "p iy0 n y aa1 t ax0"},
    {"jalapeño", "hh aa2 l ax0 p ey1 n y ow0"},
    {"jalapeños", "hh aa2 l ax0 p ey1 n y ow0 z"},
    {"crème", "k r eh1 m"},
    {"brûlée", "b r uw0 l ey1"},
    {"éclair", "ey0 k l eh1 r"},
    {"über", "uw1 b er0"},
    {"häagen", "hh aa1 g ax0 n"},
};

// British spellings (the unit names the number rules write, and words of
// programme guides) that the letter-to-sound rules misread: "metres" as
// "met-rz", "humour" with the vowel of "roar".
const char* const kBritishSpellings[][2] = {
    {"metre", "m iy1 t er0"},
    {"metres", "m iy1 t er0 z"},
    {"kilometre", "k ih0 l aa1 m ax0 t er0"},
    {"kilometres", "k ih0 l aa1 m ax0 t er0 z"},
    {"centimetre", "s eh1 n t ax0 m iy2 t er0"},
    {"centimetres", "s eh1 n t ax0 m iy2 t er0 z"},
    {"millimetre", "m ih1 l ax0 m iy2 t er0"},
    {"millimetres", "m ih1 l ax0 m iy2 t er0 z"},
    {"litre", "l iy1 t er0"},
    {"litres", "l iy1 t er0 z"},
    {"millilitre", "m ih1 l ax0 l iy2 t er0"},
    {"millilitres", "m ih1 l ax0 l iy2 t er0 z"},
    {"humour", "hh y uw1 m er0"},
    {"rumour", "r uw1 m er0"},
    {"rumours", "r uw1 m er0 z"},
    {"neighbours", "n ey1 b er0 z"},
    {"realise", "r iy1 ax0 l ay2 z"},
    {"realised", "r iy1 ax0 l ay2 z d"},
    {"analyse", "ae1 n ax0 l ay2 z"},
    {"analysed", "ae1 n ax0 l ay2 z d"},
    {"paralysed", "p eh1 r ax0 l ay2 z d"},
    {"practise", "p r ae1 k t ax0 s"},
    {"practised", "p r ae1 k t ax0 s t"},
    {"practises", "p r ae1 k t ax0 s ax0 z"},
    {"sceptical", "s k eh1 p t ih0 k ax0 l"},
    {"manoeuvre", "m ax0 n uw1 v er0"},
    {"pyjamas", "p ax0 jh aa1 m ax0 z"},
    {"jewellery", "jh uw1 ax0 l r iy0"},
};

// Word parts the expansions write that the letter-to-sound rules misread
// (Wi-Fi is "wi fi", said like "why"), "lead", which the lexicon gives only
// the metal's reading (the token rules write that one "led"), and words of
// television menus that the letter-to-sound rules misread ("rewind" with the
// vowel of "wind", "username" with an s).
const char* const kWordParts[][2] = {
    {"wi", "w ay1"},
    {"lead", "l iy1 d"},
    // Words of menus and remote controls.
    {"rewind", "r iy0 w ay1 n d"},
    {"rewinds", "r iy0 w ay1 n d z"},
    {"rewinding", "r iy0 w ay1 n d ih0 ng"},
    {"username", "y uw1 z er0 n ey2 m"},
    {"usernames", "y uw1 z er0 n ey2 m z"},
    {"login", "l ao1 g ih0 n"},
    {"logins", "l ao1 g ih0 n z"},
    {"websites", "w eh1 b s ay2 t s"},
    {"emails", "iy1 m ey2 l z"},
    {"livestream", "l ay1 v s t r iy2 m"},
    {"livestreams", "l ay1 v s t r iy2 m z"},
    {"fullscreen", "f uh1 l s k r iy1 n"},
};

// Contractions the CMU lexicon has no entry for: its letter-to-sound rules
// read them as if the apostrophe were not there ("don't" as "dant", "I'm" as
// "im"). Phones as the CMU pronouncing dictionary gives them.
const char* const kContractions[][2] = {
    {"don't", "d ow1 n t"},       {"won't", "w ow1 n t"},          {"can't", "k ae1 n t"},
    {"aren't", "aa1 r ax0 n t"},  {"isn't", "ih1 z ax0 n t"},       {"doesn't", "d ah1 z ax0 n t"},
    {"wasn't", "w aa1 z ax0 n t"}, {"weren't", "w er1 n t"},        {"hasn't", "hh ae1 z ax0 n t"},
    {"hadn't", "hh ae1 d ax0 n t"}, {"haven't", "hh ae1 v ax0 n t"}, {"didn't", "d ih1 d ax0 n t"},
    {"couldn't", "k uh1 d ax0 n t"}, {"wouldn't", "w uh1 d ax0 n t"}, {"shouldn't", "sh uh1 d ax0 n t"},
    {"mustn't", "m ah1 s ax0 n t"}, {"needn't", "n iy1 d ax0 n t"},  {"mightn't", "m ay1 t ax0 n t"},
    {"oughtn't", "ao1 t ax0 n t"}, {"shan't", "sh ae1 n t"},          {"ain't", "ey1 n t"},
    {"i'm", "ay1 m"},             {"i'd", "ay1 d"},                  {"i'll", "ay1 l"},
    {"i've", "ay1 v"},            {"you're", "y uh1 r"},             {"we're", "w ih1 r"},
    {"they're", "dh eh1 r"},      {"who're", "hh uw1 er0"},          {"what're", "w ah1 t er0"},
    {"where're", "w eh1 r er0"},  {"there're", "dh eh1 r er0"},      {"how're", "hh aw1 er0"},
    {"why're", "w ay1 er0"},      {"must've", "m ah1 s t ax0 v"},    {"could've", "k uh1 d ax0 v"},
    {"would've", "w uh1 d ax0 v"}, {"should've", "sh uh1 d ax0 v"},  {"might've", "m ay1 t ax0 v"},
    {"that'd", "dh ae1 t ax0 d"}, {"there'd", "dh eh1 r d"},         {"what'd", "w ah1 t ax0 d"},
    {"where'd", "w eh1 r d"},     {"it'd", "ih1 t ax0 d"},           {"that'll", "dh ae1 t ax0 l"},
    {"there'll", "dh eh1 r ax0 l"}, {"it'll", "ih1 t ax0 l"},        {"there've", "dh eh1 r ax0 v"},
    {"ma'am", "m ae1 m"},
};

// UTF-8 letters of U+00A0..U+00FF as ISO-8859-15 bytes (all the table uses).
std::string latin9(const char* utf8) {
  std::string out;
  for (const unsigned char* p = (const unsigned char*)utf8; *p; ++p) {
    if (*p == 0xC3 && p[1]) out += (char)(*++p + 0x40);
    else if (*p == 0xC2 && p[1]) out += (char)*++p;
    else out += (char)*p;
  }
  return out;
}

struct Lexicon {
  cst_lexicon lex;
  std::vector<std::vector<std::string>> words;  // "0word", phones...
  std::vector<std::vector<const char*>> rows;
  std::vector<char**> addenda;

  void add(const char* word, const char* phones) {
    std::vector<std::string> row = {"0" + latin9(word)};
    for (const char* p = phones; *p;) {
      const char* end = strchr(p, ' ');
      if (!end) end = p + strlen(p);
      row.emplace_back(p, end);
      p = *end ? end + 1 : end;
    }
    words.push_back(row);
  }

  Lexicon() {
    const cst_lexicon* cmu = cmulex_init();
    lex = *cmu;
    for (const auto& entry : kLoanwords) add(entry[0], entry[1]);
    for (const auto& entry : kContractions) add(entry[0], entry[1]);
    for (const auto& entry : kBritishSpellings) add(entry[0], entry[1]);
    for (const auto& entry : kWordParts) add(entry[0], entry[1]);
    for (const auto& row : words) {
      std::vector<const char*> ptrs;
      for (const std::string& s : row) ptrs.push_back(s.c_str());
      ptrs.push_back(nullptr);
      rows.push_back(ptrs);
    }
    for (auto& r : rows) addenda.push_back(const_cast<char**>(r.data()));
    for (int i = 0; cmu->addenda && cmu->addenda[i]; ++i) addenda.push_back(cmu->addenda[i]);
    addenda.push_back(nullptr);
    lex.addenda = addenda.data();
  }
};

}  // namespace

// One per load of the module, destroyed when the host unloads it (at every
// VXNFree), after the voice that points to it.
cst_lexicon* usen_lexicon() {
  static Lexicon shared;
  return &shared.lex;
}

bool usen_lexicon_has_accented(const cst_lexicon* lex, const std::string& lower) {
  if (!lex) return false;
  if (lex_in_addenda(lex, lower.c_str())) return true;
  for (int i = 0; lex->addenda && lex->addenda[i]; ++i)
    if (strcmp(lex->addenda[i][0] + 1, lower.c_str()) == 0) return true;
  return false;
}

std::string usen_fold_accents(const std::string& s) {
  // ISO-8859-15 0xC0..0xFF folded; "" entries are not letters.
  static const char* const high[64] = {
      "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
      "D", "N", "O", "O", "O", "O", "O", "",  "O", "U", "U", "U", "U", "Y", "TH", "ss",
      "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
      "d", "n", "o", "o", "o", "o", "o", "",  "o", "u", "u", "u", "u", "y", "th", "y"};
  std::string out;
  for (char c : s) {
    const unsigned char u = (unsigned char)c;
    if (u >= 0xC0 && high[u - 0xC0][0]) out += high[u - 0xC0];
    else if (u == 0xA6) out += 'S';
    else if (u == 0xA8) out += 's';
    else if (u == 0xB4) out += 'Z';
    else if (u == 0xB8) out += 'z';
    else if (u == 0xBC) out += "OE";
    else if (u == 0xBD) out += "oe";
    else if (u == 0xBE) out += 'Y';
    else out += c;
  }
  return out;
}
