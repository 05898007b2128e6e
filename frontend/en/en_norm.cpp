#include "frontend/en/en_norm.h"

#include <ctype.h>
#include <string.h>

// The automata are generated from lists of English onsets and codas by
// data/gen_en_aswd_fsm.py (see there for the construction and the sizes).
#include "frontend/en/en_aswd_fsm.inc"
// The 256-entry spelling and symbol name tables, from data/gen_en_letter_tables.py.
#include "frontend/en/en_letter_tables.inc"

const norm_fsm fsm_aswdP = {128, 203, fsm_aswdP_trans};
const norm_fsm fsm_aswdS = {128, 454, fsm_aswdS_trans};

int norm_fsm_transition(const norm_fsm* fsm, int state, int symbol) {
  if (!fsm || state < 0 || symbol < 0 || symbol >= fsm->vocab_size) return -1;
  for (int i = state; i < fsm->num_transitions && fsm->trans[i] != 0; ++i) {
    int entry = fsm->trans[i];
    if (entry % fsm->vocab_size == symbol) {
      int target = entry / fsm->vocab_size;
      return target < fsm->num_transitions ? target : -1;
    }
  }
  return -1;
}

namespace {

int map_letter(unsigned char c) {
  if (c == 'n' || c == 'm') return 'N';
  if (strchr("aeiouy", c) && c) return 'V';
  return c;
}

// Walks the automaton from its '#' state over the mapped letters of s in the
// given direction: 1 when a vowel is reached through a complete cluster.
bool cluster_then_vowel(const norm_fsm* fsm, const char* s, bool backwards) {
  int state = norm_fsm_transition(fsm, 0, '#');
  size_t n = strlen(s);
  for (size_t k = 0; k < n && state >= 0; ++k) {
    unsigned char c = (unsigned char)s[backwards ? n - 1 - k : k];
    int symbol = map_letter(c);
    int next = norm_fsm_transition(fsm, state, symbol);
    if (next < 0) return false;
    if (symbol == 'V') return true;
    state = next;
  }
  return false;
}

bool member(const char* const* list, const char* s) {
  for (; *list; ++list)
    if (strcmp(*list, s) == 0) return true;
  return false;
}

}  // namespace

const char* const en_acronym_exceptions[] = {"HD",  "UK",  "VCR", "PVR", "AKA", "USA", "EU",
                                             "UN",  "OTT", "ITV", "ABC", "AI",  "FAQ", nullptr};

// "ota" (over the air updates) is the product term.
const char* const en_case_insensitive_acronym_exceptions[] = {"id", "ip", "uhd", "oss", "ota", nullptr};

int en_is_acronym(const char* s, const char* lower) {
  if (!s) return 0;
  if (member(en_acronym_exceptions, s) || member(default_acronym_exceptions, s)) return 1;
  char* own = nullptr;
  if (!lower) {
    own = cst_strdup(s);
    for (char* p = own; *p; ++p) *p = (char)tolower((unsigned char)*p);
    lower = own;
  }
  int r = member(en_case_insensitive_acronym_exceptions, lower);
  cst_free(own);
  return r;
}

int en_aswd_onset(const char* low) { return low && cluster_then_vowel(&fsm_aswdP, low, false) ? 1 : 0; }

int en_aswd(const cst_item* token, const char* s) {
  if (!s || !*s) return 0;
  char* low = generic_downcase(token, s);
  int word = 0;
  if (!en_is_acronym(s, low))
    word = cluster_then_vowel(&fsm_aswdP, low, false) && cluster_then_vowel(&fsm_aswdS, low, true);
  cst_free(low);
  return word;
}

// ---------------------------------------------------------------------------
// Explicit expansions
// ---------------------------------------------------------------------------

namespace {

#define ROW(name, ...) const char* const name[] = {__VA_ARGS__, nullptr};

ROW(x247, "24/7", "", "twenty", "four", "seven")
ROW(x24x7, "24x7", "", "twenty", "four", "by", "seven")
ROW(x5star, "5*", "", "five", "star")
ROW(xintl, "int'l", "", "international")
ROW(xamp, "&", "", "and")
// Listings: "w/" and "w/o", the San Francisco 49ers.
ROW(xwith, "w/", "", "with")
ROW(xwithout, "w/o", "", "without")
ROW(x49ers, "49ers", "", "forty", "niners")

// Generic rows.
ROW(a_chlist, "chlist", "", "channel", "list")
ROW(a_jr, "jr", "", "junior")
ROW(a_wifi, "wifi", "", "wi", "fi")
ROW(a_xtra, "xtra", "", "extra")
ROW(a_xpanded, "xpanded", "", "expanded")
ROW(a_eeprom, "eeprom", "", "e", "e", "p", "rom")
ROW(a_mpeg, "mpeg", "", "m", "peg")
ROW(a_stb, "STB", "C", "set", "top", "box")
ROW(a_ng, "ng", "", "n", "g")
// Titles and addresses: only as abbreviations (with their dot).
ROW(a_dr, "dr", "D", "doctor")
ROW(a_st, "st", "D", "saint")
ROW(a_mr, "mr", "D", "mister")
ROW(a_mrs, "mrs", "D", "missus")
ROW(a_sr, "sr", "D", "senior")
ROW(a_prof, "prof", "D", "professor")
ROW(a_ave, "ave", "D", "avenue")
ROW(a_blvd, "blvd", "D", "boulevard")
ROW(a_approx, "approx", "D", "approximately")
ROW(a_dept, "dept", "D", "department")
ROW(a_etc, "etc", "D", "et", "cetera")
ROW(a_vs, "vs", "", "versus")
ROW(a_feat, "feat", "D", "featuring")
// Programme guide: numbered items, with their dot and a following number.
ROW(a_vol, "vol", "DE", "volume")
ROW(a_ch, "ch", "DE", "channel")
ROW(a_ep, "ep", "DE", "episode")
ROW(a_ser, "ser", "DE", "series")
ROW(a_no, "No", "CDE", "number")
ROW(a_pt, "pt", "DE", "part")
ROW(a_avg, "avg", "D", "average")
ROW(a_ext, "ext", "DE", "extension")
ROW(a_min, "min", "D", "minimum")
ROW(a_max, "max", "D", "maximum")
// Upper- and mixed-case forms read in a fixed way.
ROW(a_tba, "TBA", "C", "to", "be", "announced")
ROW(a_tbc, "TBC", "C", "to", "be", "confirmed")
ROW(a_ok, "OK", "C", "okay")
ROW(a_pip, "PiP", "C", "picture", "in", "picture")
ROW(a_us, "US", "C", "u", "s")
ROW(a_cbeebies, "CBeebies", "C", "c", "beebies")
// Sports listings: Man Utd, Leeds Utd.
ROW(a_utd, "Utd", "C", "united")
// Channel, service and product names split into speakable parts.
ROW(a_itv, "itv", "", "i", "t", "v")
ROW(a_itvx, "itvx", "", "i", "t", "v", "x")
ROW(a_youtube, "youtube", "", "you", "tube")
ROW(a_hbomax, "hbomax", "", "h", "b", "o", "max")
ROW(a_disneyplus, "disneyplus", "", "disney", "plus")
ROW(a_appletv, "appletv", "", "apple", "t", "v")
ROW(a_firetv, "firetv", "", "fire", "t", "v")
ROW(a_smarttv, "smarttv", "", "smart", "t", "v")
ROW(a_iplayer, "iplayer", "", "i", "player")
ROW(a_skynews, "skynews", "", "sky", "news")
ROW(a_skysports, "skysports", "", "sky", "sports")
ROW(a_primevideo, "primevideo", "", "prime", "video")
ROW(a_freeview, "freeview", "", "free", "view")
ROW(a_freesat, "freesat", "", "free", "sat")
ROW(a_youview, "youview", "", "you", "view")
ROW(a_playstation, "playstation", "", "play", "station")
ROW(a_xbox, "xbox", "", "x", "box")
ROW(a_chromecast, "chromecast", "", "chrome", "cast")
ROW(a_airplay, "airplay", "", "air", "play")
ROW(a_4k, "4k", "", "four", "k")
ROW(a_8k, "8k", "", "eight", "k")
ROW(a_hdr10, "hdr10", "", "h", "d", "r", "ten")
ROW(a_dazn, "dazn", "", "da", "zone")
// The flag string "c" is no flag: the key matches in any case.
ROW(a_ios, "iOS", "c", "i", "o", "s")

#undef ROW

}  // namespace

const norm_expansion_row en_explicit_expansion_dictionary[] = {x247, x24x7, x5star, xintl, xamp, xwith, xwithout, x49ers,
                                                               nullptr};

const norm_expansion_row en_expanded_abbrevs_acronyms[] = {
    a_chlist,  a_jr,       a_wifi,        a_xtra,     a_xpanded,  a_eeprom,    a_mpeg,    a_stb,
    a_ng,      a_dr,       a_st,          a_mr,       a_mrs,      a_sr,        a_prof,    a_ave,
    a_blvd,    a_approx,   a_dept,        a_etc,      a_vs,       a_feat,      a_vol,     a_ch,
    a_ep,      a_ser,      a_no,          a_pt,       a_min,      a_max,       a_tba,     a_tbc,
    a_ok,      a_pip,      a_us,          a_cbeebies, a_itv,      a_itvx,      a_youtube, a_hbomax,
    a_disneyplus, a_appletv, a_firetv,    a_smarttv,  a_iplayer,  a_skynews,   a_skysports, a_primevideo,
    a_freeview, a_freesat, a_youview,     a_playstation, a_xbox,  a_chromecast, a_airplay, a_4k,
    a_8k,      a_hdr10,    a_dazn,        a_ios,      a_utd,      a_avg,      a_ext,       nullptr};

cst_val* en_exp_abbrev(cst_item* token, const char* s) {
  cst_val* r = exp_explicit(token, s, en_explicit_expansion_dictionary);
  if (!r) r = exp_abbrev(token, s, en_expanded_abbrevs_acronyms);
  return r;
}

void en_norm_set_features(cst_features* f) {
  if (!f) return;
  feat_set(f, "spelling_table", stringtable_val(en_spelling_table));
  feat_set(f, "symbol_name_table", stringtable_val(en_symbol_name_table));
  feat_set(f, "aswd_func", aswdfunc_val(en_aswd));
}
