#include "frontend/norm_common.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>

// See norm_common.h: slot 55 of Flite's value table has no delete function.
CST_VAL_REG_TD_TYPE_NODEL(stringtable, norm_stringtable_entry, 55)
CST_VAL_REGISTER_TYPE_NODEL(stringtable, norm_stringtable_entry)
CST_VAL_REG_TD_FUNCPTR(aswdfunc, norm_aswdfunc, 55)
CST_VAL_REGISTER_FUNCPTR(aswdfunc, norm_aswdfunc)
CST_VAL_REG_TD_FUNCPTR(stringtransform_func, norm_stringtransform_func, 55)
CST_VAL_REGISTER_FUNCPTR(stringtransform_func, norm_stringtransform_func)

namespace {

const char* nz(const char* s) { return s ? s : ""; }

char* dup_range(const char* s, size_t n) {
  char* r = cst_alloc(char, n + 1);
  memcpy(r, s, n);
  r[n] = '\0';
  return r;
}

// A voice feature of the token's utterance, or null.
const cst_val* voice_val(const cst_item* token, const char* name) {
  const cst_features* f = norm_token_features(token);
  if (!f || !feat_present(f, name)) return nullptr;
  const cst_val* v = feat_val(f, name);
  return v;
}

const char* voice_string(const cst_item* token, const char* name, const char* def) {
  const cst_val* v = voice_val(token, name);
  if (!v || cst_val_consp(v) || CST_VAL_TYPE(v) != CST_VAL_TYPE_STRING) return def;
  return val_string(v);
}

bool in_set(unsigned char c, const char* set) { return c && set && strchr(set, c) != nullptr; }

const char* const* voice_table(const cst_item* token, const char* name) {
  const cst_val* v = voice_val(token, name);
  if (!v || cst_val_consp(v) || CST_VAL_TYPE(v) != cst_val_type_stringtable) return nullptr;
  return val_stringtable(v);
}

// Appends the space-separated words of text (at most max, 0 = unlimited) to
// the reversed list acc.
cst_val* push_words(cst_val* acc, const char* text, int max) {
  int n = 0;
  const char* p = nz(text);
  while (*p) {
    while (*p == ' ') ++p;
    if (!*p) break;
    const char* e = p;
    while (*e && *e != ' ') ++e;
    if (max > 0 && n >= max) break;
    char* w = dup_range(p, (size_t)(e - p));
    acc = cons_val(string_val(w), acc);
    cst_free(w);
    ++n;
    p = e;
  }
  return acc;
}

}  // namespace

const cst_features* norm_token_features(const cst_item* token) {
  if (!token) return nullptr;
  cst_utterance* u = item_utt(token);
  return u ? u->features : nullptr;
}

// ---------------------------------------------------------------------------
// String utilities
// ---------------------------------------------------------------------------

int norm_str_split(const char* s, char c, char** out, int max) {
  if (!out || max < 1) return 0;
  const char* p = nz(s);
  int n = 0;
  while (n < max - 1) {
    const char* q = strchr(p, c);
    if (!q || c == '\0') break;
    out[n++] = dup_range(p, (size_t)(q - p));
    p = q + 1;
  }
  out[n++] = cst_strdup(p);
  return n;
}

cst_val* norm_str_split_to_val_list(const char* s, char c) {
  cst_val* acc = nullptr;
  const char* p = nz(s);
  for (;;) {
    const char* q = c ? strchr(p, c) : nullptr;
    size_t len = q ? (size_t)(q - p) : strlen(p);
    char* piece = dup_range(p, len);
    acc = cons_val(string_val(piece), acc);
    cst_free(piece);
    if (!q) break;
    p = q + 1;
  }
  return val_reverse(acc);
}

char* norm_str_join(const char* a, const char* b) { return norm_str_join_sep(a, "", b); }

char* norm_str_join_sep(const char* a, const char* sep, const char* b) {
  size_t la = strlen(nz(a)), ls = strlen(nz(sep)), lb = strlen(nz(b));
  char* r = cst_alloc(char, la + ls + lb + 1);
  memcpy(r, nz(a), la);
  memcpy(r + la, nz(sep), ls);
  memcpy(r + la + ls, nz(b), lb);
  r[la + ls + lb] = '\0';
  return r;
}

char* norm_str_strip(const char* s, char c) {
  const char* p = nz(s);
  char* r = cst_alloc(char, strlen(p) + 1);
  char* w = r;
  for (; *p; ++p)
    if (*p != c) *w++ = *p;
  *w = '\0';
  return r;
}

char* norm_str_lstrip(const char* s, char c) {
  const char* p = nz(s);
  while (c && *p == c) ++p;
  return cst_strdup(p);
}

char* norm_str_prefix(const char* s, int n) {
  size_t len = strlen(nz(s));
  size_t keep = n <= 0 ? len : ((size_t)n >= len ? 0 : len - (size_t)n);
  return dup_range(nz(s), keep);
}

char* norm_str_trim(const char* s, int n) {
  size_t len = strlen(nz(s));
  size_t keep = n <= 0 ? 0 : ((size_t)n > len ? len : (size_t)n);
  return dup_range(nz(s), keep);
}

const char* norm_dict_value(const char* const* dict, const char* key) {
  if (!dict || !key) return nullptr;
  for (; dict[0] && dict[1]; dict += 2)
    if (strcmp(dict[0], key) == 0) return dict[1];
  return nullptr;
}

const char* norm_dict_key(const char* const* dict, const char* value) {
  if (!dict || !value) return nullptr;
  for (; dict[0] && dict[1]; dict += 2)
    if (strcmp(dict[1], value) == 0) return dict[0];
  return nullptr;
}

char* norm_token_str(const cst_item* token) {
  if (!token) return cst_strdup("");
  char* head = norm_str_join(item_feat_string(token, "prepunctuation"), item_feat_string(token, "name"));
  char* all = norm_str_join(head, item_feat_string(token, "punc"));
  cst_free(head);
  return all;
}

char* norm_implode(const cst_val* list) {
  size_t len = 0;
  for (const cst_val* v = list; v && cst_val_consp(v); v = val_cdr(v))
    if (val_car(v) && val_stringp(val_car(v))) len += strlen(val_string(val_car(v)));
  char* r = cst_alloc(char, len + 1);
  char* w = r;
  for (const cst_val* v = list; v && cst_val_consp(v); v = val_cdr(v)) {
    if (!val_car(v) || !val_stringp(val_car(v))) continue;
    const char* s = val_string(val_car(v));
    size_t l = strlen(s);
    memcpy(w, s, l);
    w += l;
  }
  *w = '\0';
  return r;
}

int norm_search_backwards(const cst_item* token, const cst_regex* match, const cst_regex* cont, int n) {
  if (!token || !match) return 0;
  const cst_item* t = item_prev(token);
  for (int k = 0; t && k < n; ++k, t = item_prev(t)) {
    const char* name = item_feat_string(t, "name");
    if (cst_regex_match(match, name)) return 1;
    if (cont && !cst_regex_match(cont, name)) return 0;
  }
  return 0;
}

cst_val* string_split(const char* s, const char* separators) {
  cst_val* acc = nullptr;
  const char* p = nz(s);
  const char* seps = nz(separators);
  while (*p) {
    while (*p && strchr(seps, *p)) ++p;
    if (!*p) break;
    const char* e = p;
    while (*e && !strchr(seps, *e)) ++e;
    char* piece = dup_range(p, (size_t)(e - p));
    acc = cons_val(string_val(piece), acc);
    cst_free(piece);
    p = e;
  }
  return val_reverse(acc);
}

char* string_n(const char* s, int n) {
  size_t l = strlen(nz(s));
  size_t count = n > 0 ? (size_t)n : 0;
  char* r = cst_alloc(char, l * count + 1);
  for (size_t i = 0; i < count; ++i) memcpy(r + i * l, nz(s), l);
  r[l * count] = '\0';
  return r;
}

cst_val* add_break(cst_val* list) {
  if (!list || !cst_val_consp(list)) return list;
  cst_val* last = list;
  while (val_cdr(last) && cst_val_consp(val_cdr(last))) last = (cst_val*)val_cdr(last);
  const cst_val* word = val_car(last);
  if (!word) return list;
  if (cst_val_consp(word)) {
    const cst_val* extra = val_cdr(word);
    if (extra && !cst_val_consp(extra) && CST_VAL_TYPE(extra) == cst_val_type_features) {
      feat_set_string(val_features(extra), "break", "1");
      return list;
    }
    word = val_car(word);
  }
  cst_features* f = new_features();
  feat_set_string(f, "break", "1");
  cst_val* pair = cons_val(word, features_val(f));
  // The word value now has a reference from the pair as well; replacing the
  // list cell's car drops the old reference. (Flite's set_car would adjust
  // reference counts as if the new car were an atom, which a pair is not.)
  cst_val* old = CST_VAL_CAR(last);
  CST_VAL_CAR(last) = pair;
  delete_val(old);
  return list;
}

// ---------------------------------------------------------------------------
// Classification and case
// ---------------------------------------------------------------------------

int is_letter(const cst_item* token, unsigned char c) {
  if (c < 128 && isalpha(c)) return 1;
  return in_set(c, voice_string(token, "lc_diacritics", "")) || in_set(c, voice_string(token, "uc_diacritics", ""));
}

int text_is_letters(const cst_item* token, const char* s) {
  if (!s || !*s) return 0;
  for (const unsigned char* p = (const unsigned char*)s; *p; ++p)
    if (!is_letter(token, *p)) return 0;
  return 1;
}

int is_ignored_char(const cst_item* token, unsigned char c) { return in_set(c, voice_string(token, "ignored_chars", "")); }
int is_left_sepchar(const cst_item* token, unsigned char c) { return in_set(c, voice_string(token, "left_sepchars", "")); }
int is_right_sepchar(const cst_item* token, unsigned char c) { return in_set(c, voice_string(token, "right_sepchars", "")); }

int find_subtoken_boundary(const cst_item* token, const char* s) {
  if (!s) return 0;
  const unsigned char* t = (const unsigned char*)s;
  size_t n = strlen(s);
  size_t i = 0;
  while (i < n && is_ignored_char(token, t[i])) ++i;
  while (i < n && is_left_sepchar(token, t[i])) ++i;
  if (i >= n) return (int)n;
  enum { LETTER, DIGIT, OTHER } cls = is_letter(token, t[i]) ? LETTER : isdigit(t[i]) ? DIGIT : OTHER;
  ++i;
  for (; i < n; ++i) {
    if (is_ignored_char(token, t[i])) continue;
    // A right separator belongs to the subtoken it closes.
    if (is_right_sepchar(token, t[i])) return (int)(i + 1);
    if (cls == OTHER) return (int)i;
    if (cls == LETTER && !is_letter(token, t[i])) return (int)i;
    if (cls == DIGIT && !isdigit(t[i])) return (int)i;
  }
  return (int)n;
}

int has_subtokens(const cst_item* token, const char* s) {
  if (!s || !*s) return 0;
  return (size_t)find_subtoken_boundary(token, s) < strlen(s);
}

int count_subtokens(const cst_item* token, const char* s) {
  if (!s) return 0;
  int count = 0;
  const char* p = s;
  while (*p) {
    int b = find_subtoken_boundary(token, p);
    if (b <= 0) b = 1;  // cannot happen for a non-empty text; guards the loop
    p += b;
    ++count;
  }
  return count;
}

char* generic_downcase(const cst_item* token, const char* s) {
  const cst_val* v = voice_val(token, "downcase_func");
  if (v && !cst_val_consp(v) && CST_VAL_TYPE(v) == cst_val_type_stringtransform_func) {
    norm_stringtransform_func f = val_stringtransform_func(v);
    if (f) return f(nz(s));
  }
  return default_downcase(token, s);
}

char* default_downcase(const cst_item* token, const char* s) {
  return common_downcase(s, voice_string(token, "uc_diacritics", ""), voice_string(token, "lc_diacritics", ""));
}

char* common_downcase(const char* s, const char* upper, const char* lower) {
  char* r = text_tr(s, upper, lower);
  for (char* p = r; *p; ++p)
    if (*p >= 'A' && *p <= 'Z') *p = (char)(*p - 'A' + 'a');
  return r;
}

char* text_tr(const char* s, const char* from, const char* to) {
  char* r = cst_strdup(nz(s));
  const char* f = nz(from);
  size_t n = strlen(f);
  size_t m = strlen(nz(to));
  if (m < n) n = m;
  for (char* p = r; *p; ++p) {
    const char* hit = (const char*)memchr(f, *p, n);
    if (hit) *p = to[hit - f];
  }
  return r;
}

// Address patterns, matched by hand so that each rule reads as plain code:
//  e-mail:   local@label(.label)+   local = [A-Za-z0-9._%+-]+, no leading dot
//  web:      scheme "http://", "https://", "ftp://" followed by a host, or
//            "www." host, or a host ending in a known top-level domain; a host
//            is label(.label)+ with labels of [A-Za-z0-9-]; an optional
//            ":port" and "/path" (any non-space bytes) may follow
//  Wi-Fi:    "802.11" followed by at most two letters, then any number of
//            "/x" or "/xx" letter groups (802.11ac, 802.11b/g/n)
namespace {

const char* const kTopLevelDomains[] = {"com", "org", "net", "edu", "gov", "int", "mil", "info", "biz", "tv", "io",
                                        "co",  "uk",  "de",  "fr",  "es",  "it",  "nl",  "eu",   "us",  "au", "ca",
                                        "kr",  "cn",  "jp",  "ru",  "pl",  "br",  "pt",  "se",   "dk",  "no", "fi",
                                        "ch",  "at",  "be",  "ie",  "nz",  "app", "dev", "media", nullptr};

bool host_char(unsigned char c) { return (c < 128 && isalnum(c)) || c == '-'; }

// Length of a host "label(.label)+" at s (0 when none); *lastLabel receives
// the start of its last label.
size_t scan_host(const char* s, const char** lastLabel) {
  size_t i = 0;
  int labels = 0;
  const char* last = s;
  for (;;) {
    size_t start = i;
    while (host_char((unsigned char)s[i])) ++i;
    if (i == start) return 0;
    last = s + start;
    ++labels;
    if (s[i] == '.' && host_char((unsigned char)s[i + 1])) {
      ++i;
      continue;
    }
    break;
  }
  if (labels < 2) return 0;
  if (lastLabel) *lastLabel = last;
  return i;
}

bool known_tld(const char* label, size_t n) {
  for (const char* const* t = kTopLevelDomains; *t; ++t)
    if (strlen(*t) == n && strncasecmp(label, *t, n) == 0) return true;
  return false;
}

// Optional ":port" and "/path" after a host; true when the rest is acceptable.
bool address_tail(const char* p) {
  if (*p == ':') {
    ++p;
    if (!isdigit((unsigned char)*p)) return false;
    while (isdigit((unsigned char)*p)) ++p;
  }
  if (*p == '\0') return true;
  if (*p != '/') return false;
  for (; *p; ++p)
    if (isspace((unsigned char)*p)) return false;
  return true;
}

const char* skip_scheme(const char* s) {
  static const char* const schemes[] = {"http://", "https://", "ftp://", nullptr};
  for (const char* const* sc = schemes; *sc; ++sc)
    if (strncasecmp(s, *sc, strlen(*sc)) == 0) return s + strlen(*sc);
  return nullptr;
}

// Strips trailing sentence punctuation a token's name never carries but a
// full text might.
size_t core_length(const char* s) {
  size_t n = strlen(s);
  while (n > 0 && strchr(".,;:!?)", s[n - 1])) --n;
  return n;
}

}  // namespace

int norm_is_email_address(const char* s) {
  if (!s) return 0;
  const char* at = strchr(s, '@');
  if (!at || at == s || s[0] == '.') return 0;
  for (const char* p = s; p < at; ++p) {
    unsigned char c = (unsigned char)*p;
    if (!((c < 128 && isalnum(c)) || strchr("._%+-", c))) return 0;
  }
  const char* last = nullptr;
  size_t h = scan_host(at + 1, &last);
  if (h == 0) return 0;
  size_t rest = strlen(at + 1);
  if (h != rest) return 0;
  // The last label is alphabetic and at least two letters (a top-level domain).
  size_t ln = (size_t)(at + 1 + h - last);
  if (ln < 2) return 0;
  for (size_t i = 0; i < ln; ++i)
    if (!isalpha((unsigned char)last[i])) return 0;
  return 1;
}

int norm_is_web_address(const char* s) {
  if (!s || !*s) return 0;
  char* core = dup_range(s, core_length(s));
  const char* p = skip_scheme(core);
  bool explicitForm = p != nullptr;
  if (!p) p = core;
  if (strncasecmp(p, "www.", 4) == 0) explicitForm = true;
  const char* last = nullptr;
  size_t h = scan_host(p, &last);
  int ok = 0;
  if (h > 0) {
    size_t ln = (size_t)(p + h - last);
    if ((explicitForm || known_tld(last, ln)) && address_tail(p + h)) ok = 1;
  }
  cst_free(core);
  return ok;
}

int norm_is_wifi_standard(const char* s) {
  if (!s || strncmp(s, "802.11", 6) != 0) return 0;
  const char* p = s + 6;
  int letters = 0;
  while (isalpha((unsigned char)*p) && letters < 2) ++p, ++letters;
  if (isalpha((unsigned char)*p)) return 0;
  while (*p == '/') {
    ++p;
    int k = 0;
    while (isalpha((unsigned char)*p) && k < 2) ++p, ++k;
    if (k == 0 || isalpha((unsigned char)*p)) return 0;
  }
  return *p == '\0';
}

int text_should_read_dot(const cst_item* token) {
  if (!token) return 0;
  const char* name = item_feat_string(token, "name");
  return norm_is_email_address(name) || norm_is_web_address(name) || norm_is_wifi_standard(name);
}

int text_should_read_slash(const cst_item* token) {
  if (!token) return 0;
  const char* name = item_feat_string(token, "name");
  if (!norm_is_web_address(name)) return 0;
  const char* p = skip_scheme(name);
  return strchr(p ? p : name, '/') != nullptr;
}

// ---------------------------------------------------------------------------
// Words, letters and symbols
// ---------------------------------------------------------------------------

int text_is_acronym_exception(const char* s) {
  if (!s) return 0;
  for (const char* const* a = default_acronym_exceptions; *a; ++a)
    if (strcmp(*a, s) == 0) return 1;
  return 0;
}

int default_aswd(const cst_item* token, const char* s) {
  if (!s || text_is_acronym_exception(s)) return 0;
  char* low = generic_downcase(token, s);
  const char* vowels = voice_string(token, "vowel_string", "aeiou");
  int word = strpbrk(low, vowels) != nullptr;
  cst_free(low);
  return word;
}

int generic_aswd(const cst_item* token, const char* s) {
  const cst_val* v = voice_val(token, "aswd_func");
  if (v && !cst_val_consp(v) && CST_VAL_TYPE(v) == cst_val_type_aswdfunc) {
    norm_aswdfunc f = val_aswdfunc(v);
    if (f) return f(token, s);
  }
  return default_aswd(token, s);
}

cst_val* auxiliary_exp_letters(const cst_item* token, const char* s, int acronym, int ignoreDictionaries,
                               int dotInterpreted) {
  char* low = generic_downcase(token, s);
  cst_val* word = string_val(low);
  cst_free(low);
  if (!acronym && !dotInterpreted) return word;
  cst_features* f = new_features();
  if (acronym) {
    feat_set_string(f, "acronym", "1");
    feat_set_string(f, "acronym_original_form", token ? item_feat_string(token, "name") : nz(s));
    if (ignoreDictionaries) feat_set_string(f, "ignore_dictionaries", "1");
  }
  if (dotInterpreted) feat_set_string(f, "dot_interpreted", "1");
  return cons_val(word, features_val(f));
}

cst_val* default_exp_letters(const cst_item* token, const char* s) { return default_exp_letters_ext(token, s, 0); }

cst_val* default_exp_letters_ext(const cst_item* token, const char* s, int ignoreDictionaries) {
  return cons_val(auxiliary_exp_letters(token, s, 1, ignoreDictionaries, 0), nullptr);
}

cst_val* norm_spell_text(const cst_item* token, const char* s) {
  const char* const* table = voice_table(token, "spelling_table");
  if (!table || !s) return nullptr;
  cst_val* acc = nullptr;
  for (const unsigned char* p = (const unsigned char*)s; *p; ++p) acc = push_words(acc, table[*p], 0);
  return val_reverse(acc);
}

cst_val* default_spell_letters(const cst_item* token) {
  if (!voice_table(token, "spelling_table")) {
    fprintf(stderr, "Cannot find feature value 'spelling_table'. Please specify the feature value.\n");
    return nullptr;
  }
  return norm_spell_text(token, item_feat_string(token, "name"));
}

cst_val* generic_spell_letters(const cst_item* token) {
  const cst_val* v = voice_val(token, "spelling_func");
  if (v && !cst_val_consp(v) && CST_VAL_TYPE(v) == cst_val_type_itemfunc) {
    cst_itemfunc f = val_itemfunc(v);
    if (f) return f((cst_item*)token);
  }
  return default_spell_letters(token);
}

int generic_is_symbol(const cst_item* token, const char* s) {
  if (!s || !s[0] || s[1]) return 0;
  unsigned char c = (unsigned char)s[0];
  return !is_letter(token, c) && !isdigit(c);
}

cst_val* generic_exp_symbol(const cst_item* token, const char* s) {
  const char* const* table = voice_table(token, "symbol_name_table");
  if (!table || !s || !s[0]) return nullptr;
  return val_reverse(push_words(nullptr, table[(unsigned char)s[0]], 10));
}

// ---------------------------------------------------------------------------
// Explicit expansions
// ---------------------------------------------------------------------------

namespace {

const char* const kCtrl[] = {"ctrl", "", "control", nullptr};

}  // namespace

const norm_expansion_row common_explicit_expansions[] = {kCtrl, nullptr};

cst_val* exp_explicit(cst_item* token, const char* s, const norm_expansion_row* table) {
  if (!table || !s) return nullptr;
  char* low = nullptr;
  const char* const* row = nullptr;
  for (const norm_expansion_row* r = table; *r; ++r) {
    const char* const* candidate = *r;
    if (!candidate[0] || !candidate[1]) continue;
    bool caseSensitive = strchr(candidate[1], 'C') != nullptr;
    bool hit;
    if (caseSensitive) {
      hit = strcmp(candidate[0], s) == 0;
    } else {
      if (!low) low = generic_downcase(token, s);
      char* key = generic_downcase(token, candidate[0]);
      hit = strcmp(key, low) == 0;
      cst_free(key);
    }
    if (hit) {
      row = candidate;
      break;
    }
  }
  cst_free(low);
  if (!row) return nullptr;
  const char* flags = row[1];
  const char* punc = token ? item_feat_string(token, "punc") : "";
  cst_item* next = token ? item_next(token) : nullptr;
  bool ok = true;
  if (strchr(flags, 'D') && punc[0] != '.') ok = false;
  if (strchr(flags, 'E') && !next) ok = false;
  cst_val* result = nullptr;
  if (ok) {
    if (strchr(flags, 'S')) {
      // The token's own text goes through the voice's spelling function.
      bool own = token && strcmp(s, item_feat_string(token, "name")) == 0;
      result = own ? generic_spell_letters(token) : norm_spell_text(token, s);
    } else {
      cst_val* acc = nullptr;
      for (const char* const* w = row + 2; *w; ++w) acc = cons_val(string_val(*w), acc);
      result = val_reverse(acc);
    }
  }
  // A dot after a known abbreviation followed by a token that does not start
  // with a capital is the abbreviation's, not a sentence end; so is a dot
  // the input step joined to the next word with a no-break space (0xA0 in
  // the analyzers' encodings: Mr. Smith).
  if (token && punc[0] == '.' && next) {
    const char* nn = item_feat_string(next, "name");
    const bool joined = strchr(item_feat_string(next, "whitespace"), '\xA0') != nullptr;
    if (joined || !(nn[0] >= 'A' && nn[0] <= 'Z')) {
      char* rest = cst_strdup(punc + 1);
      item_set_string(token, "punc", rest);
      cst_free(rest);
    }
  }
  return result;
}

cst_val* exp_abbrev(cst_item* token, const char* s, const norm_expansion_row* table) {
  cst_val* r = table ? exp_explicit(token, s, table) : nullptr;
  if (!r) r = exp_explicit(token, s, common_explicit_expansions);
  return r;
}

cst_val* words_with_explicit_phones(const cst_item* token) { return words_with_explicit_phones_ext(token, 1); }

cst_val* words_with_explicit_phones_ext(const cst_item* token, int downcase) {
  if (!token || !item_feat_present(token, "phones")) return nullptr;
  const char* name = item_feat_string(token, "name");
  if (!downcase) return cons_val(string_val(name), nullptr);
  char* low = generic_downcase(token, name);
  cst_val* r = cons_val(string_val(low), nullptr);
  cst_free(low);
  return r;
}

// ---------------------------------------------------------------------------
// Acronyms that are always spelled although they contain vowels: interfaces,
// broadcast and video standards, audio formats, networking and device terms
// that a television's menus and programme guide show.
// ---------------------------------------------------------------------------

const char* const default_acronym_exceptions[] = {
    "HDMI", "USB", "LAN", "WAN", "WLAN", "RCA", "VGA", "DVI", "SPDIF", "S/PDIF", "ARC", "eARC", "CEC", "HDCP",
    "MHL", "SATA", "NFC", "IR", "SD", "SDHC", "SDXC", "CI", "RJ45", "HDMI/USB/RJ45", "LED", "LCD", "OLED",
    "QLED", "UHD", "FHD", "HDR", "HDR10", "HLG", "SDR", "VRR", "ALLM", "MEMC", "FALD", "IPS", "WCG", "EOTF",
    "DCI", "RGB", "YUV", "CRT", "OFDM", "OSD", "UI", "GUI", "DVB", "DVBT", "DVBT2", "DVBC", "DVBS", "DVBS2",
    "ATSC", "ISDB", "ISDBT", "NTSC", "IPTV", "ABR", "EPG", "HbbTV", "MHEG", "VOD", "SVOD", "AVOD", "QAM", "DVR",
    "DRM", "AVC", "HEVC", "VVC", "AV1", "VP9", "MPEG2", "MPEG4", "UHDTV", "HDTV", "SDTV", "EAS", "CC", "AAC",
    "HEAAC", "AC3", "EAC3", "AC4", "DTS", "PCM", "LPCM", "MP3", "DAC", "ADC", "EQ", "AVL", "SRS", "BT", "A2DP",
    "AVRCP", "IP", "IPV4", "IPV6", "DNS", "DHCP", "URL", "URI", "HTTP", "HTTPS", "FTP", "SSID", "WPA", "WPA2",
    "WPA3", "WPS", "UPNP", "DLNA", "SMB", "NAS", "VPN", "API", "SDK", "OTT", "ID", "OS", "IEEE", "ISO", "IEC",
    "ITU", "EBU", "UEFI", "BIOS", "CPU", "GPU", "HFR", "PIP", "PBP", "EDID", "TMDS", "DSC", "FRL", "QMS",
    "CVBS",
    nullptr};
