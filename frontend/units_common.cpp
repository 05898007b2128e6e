#include "frontend/units_common.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The row of table with this key whose conditions hold, or -1.
int find_row(const cst_item* token, const char* s, const norm_unit* table, int allowRefused) {
  if (!table || !s) return -1;
  const cst_item* next = token ? item_next(token) : nullptr;
  for (int i = 0; table[i].key; ++i) {
    const norm_unit& u = table[i];
    if (strcmp(u.key, s) != 0) continue;
    if (u.next_token && (!next || strcmp(item_feat_string(next, "name"), u.next_token) != 0)) continue;
    if (u.refused && !allowRefused) continue;
    return i;
  }
  return -1;
}

void remove_feature(const cst_item* token, const char* name) {
  if (token && item_feat_present(token, name)) feat_remove(item_feats(token), name);
}

// Words of a form, split at spaces, as a new list.
cst_val* form_words(const char* form) {
  cst_val* acc = nullptr;
  const char* p = form ? form : "";
  while (*p) {
    while (*p == ' ') ++p;
    if (!*p) break;
    const char* e = p;
    while (*e && *e != ' ') ++e;
    char* w = cst_substr(p, 0, (int)(e - p));
    acc = cons_val(string_val(w), acc);
    cst_free(w);
    p = e;
  }
  return val_reverse(acc);
}

}  // namespace

int norm_unit_count(const norm_unit* table) {
  int n = 0;
  while (table && table[n].key) ++n;
  return n;
}

const char* generic_skip_real(const char* s, const char* separators) {
  if (!s) return nullptr;
  const char* p = s;
  if (*p == '+' || *p == '-') ++p;
  if (!is_digit(*p)) return nullptr;
  while (is_digit(*p)) ++p;
  if (*p && separators && strchr(separators, *p)) {
    if (!is_digit(p[1])) return nullptr;
    p += 2;
    while (is_digit(*p)) ++p;
  }
  return p;
}

int generic_is_real(const char* s, const char* separators) {
  const char* end = generic_skip_real(s, separators);
  return end && *end == '\0';
}

int generic_is_unit_ext(const cst_item* token, const char* s, const norm_unit* table, int allowRefused,
                        const char* featureName) {
  if (!s || !table) return 0;
  const char* slash = strchr(s, '/');
  if (slash) {
    char* pre = cst_substr(s, 0, (int)(slash - s));
    int a = find_row(token, pre, table, 1);
    int b = find_row(token, slash + 1, table, 1);
    cst_free(pre);
    if (a < 0 || b < 0) return 0;
    if (token) {
      if (featureName) remove_feature(token, featureName);
      item_set_int(token, "unit_compound_pre_id", a);
      item_set_int(token, "unit_compound_post_id", b);
    }
    return 1;
  }
  int row = find_row(token, s, table, allowRefused);
  if (row < 0) return 0;
  if (token) {
    remove_feature(token, "unit_compound_pre_id");
    remove_feature(token, "unit_compound_post_id");
    if (featureName) item_set_int(token, featureName, row);
  }
  return 1;
}

int generic_is_unit(const cst_item* token, const char* s, const norm_unit* table) {
  return generic_is_unit_ext(token, s, table, 0, "unit_id");
}

int generic_is_unit_expression(const cst_item* token, const char* s, const norm_unit_engine* engine) {
  if (!token || !s || !engine) return 0;
  if (strcmp(s, item_feat_string(token, "name")) != 0) return 0;
  const char* end = generic_skip_real(s, engine->decimal_separators);
  if (end) {
    if (*end == '\0') return 0;  // a number, no unit
    if (!generic_is_unit_ext(token, end, engine->units, 1, "unit_id")) return 0;
    item_set_int(token, "unit_real_length", (int)(end - s));
    return 1;
  }
  const cst_item* prev = item_prev(token);
  if (!prev || !generic_is_real(item_feat_string(prev, "name"), engine->decimal_separators)) return 0;
  if (!generic_is_unit_ext(token, s, engine->units, 0, "unit_id")) return 0;
  remove_feature(token, "unit_real_length");
  return 1;
}

int unit_disambig_sgpl(const cst_item* token, const char* number, int mode) {
  (void)token;
  if (mode == 2) return 0;
  if (!number || !*number) return 1;
  char* text = cst_strdup(number);
  for (char* p = text; *p; ++p)
    if (*p == ',') *p = '.';
  char* end = nullptr;
  double v = strtod(text, &end);
  bool whole = end != text && *end == '\0' && !isspace((unsigned char)text[0]);
  cst_free(text);
  return whole && v == 1.0 ? 0 : 1;
}

cst_val* generic_exp_unit(const cst_item* token, const norm_unit_engine* engine, int row, const char* number,
                          int mode) {
  if (!engine || row < 0 || row >= norm_unit_count(engine->units)) return nullptr;
  const norm_unit& u = engine->units[row];
  int form = 0;
  if (u.num_forms >= 2) {
    norm_unit_agreement_func choose = u.agreement ? u.agreement : engine->agreement;
    form = choose ? choose(token, number, mode) : 0;
    if (form < 0 || form > 1) form = 0;
  }
  if (mode == 0 && token) {
    const char* punc = item_feat_string(token, "punc");
    if (u.abbrev_dot && punc[0] == '.') {
      char* rest = cst_strdup(punc + 1);
      item_set_string(token, "punc", rest);
      cst_free(rest);
    }
    if (u.next_token && item_next(token)) item_set_string(item_next(token), "already_expanded", "1");
  }
  return form_words(u.forms[form]);
}

cst_val* generic_exp_unit_expression(const cst_item* token, const char* s, const norm_unit_engine* engine) {
  if (!generic_is_unit_expression(token, s, engine)) return nullptr;
  cst_val* numberWords = nullptr;
  char* number;
  if (item_feat_present(token, "unit_real_length")) {
    int len = item_feat_int(token, "unit_real_length");
    number = cst_substr(s, 0, len);
    if (engine->expand_number) numberWords = engine->expand_number(number);
  } else {
    number = cst_strdup(item_feat_string(item_prev(token), "name"));
  }
  cst_val* unitWords;
  if (item_feat_present(token, "unit_compound_pre_id")) {
    cst_val* first = generic_exp_unit(token, engine, item_feat_int(token, "unit_compound_pre_id"), number, 1);
    cst_val* second = generic_exp_unit(token, engine, item_feat_int(token, "unit_compound_post_id"), number, 2);
    unitWords = engine->construct_compound ? engine->construct_compound(first, second) : val_append(first, second);
  } else {
    unitWords = generic_exp_unit(token, engine, item_feat_int(token, "unit_id"), number, 0);
  }
  cst_free(number);
  cst_val* result = val_append(numberWords, unitWords);
  if (engine->postprocess) result = engine->postprocess(token, result);
  return result;
}

const char* const* generic_get_unit_tags(const cst_item* token, const norm_unit_engine* engine) {
  if (!token || !engine || !item_feat_present(token, "unit_id")) return nullptr;
  int row = item_feat_int(token, "unit_id");
  if (row < 0 || row >= norm_unit_count(engine->units)) return nullptr;
  return engine->units[row].tags;
}
