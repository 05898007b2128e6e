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
    {"beyoncé", "b iy0 aa1 n s ey0"},
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

  Lexicon() {
    const cst_lexicon* cmu = cmulex_init();
    lex = *cmu;
    for (const auto& entry : kLoanwords) {
      std::vector<std::string> row = {"0" + latin9(entry[0])};
      const char* p = entry[1];
      while (*p) {
        const char* end = strchr(p, ' ');
        if (!end) end = p + strlen(p);
        row.emplace_back(p, end);
        p = *end ? end + 1 : end;
      }
      words.push_back(row);
    }
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
