// Input layout: byte 0 selects voice options (bit 0 diacritics, bit 1 subtoken
// separators, bit 2 the English spelling and symbol tables and word test);
// the remaining bytes are a text (NUL bytes become spaces), tokenised with
// Flite's token stream into a Token relation. Every token then goes through
// the subtoken walk, downcasing, both word tests, the address tests, letter
// spelling, symbol names, the abbreviation tables (which may shorten the
// token's punctuation) and the English unit expressions, with the token's
// name and with the raw text, which usually differs from it.
#include <stdint.h>
#include <string.h>

#include <string>

#include "frontend/en/en_norm.h"
#include "frontend/en/en_units.h"

namespace {

void consume(cst_val* v) { delete_val(v); }

void drive_token(cst_item* t, const char* text, bool spell) {
  const char* name = item_feat_string(t, "name");
  for (const char* s : {name, text}) {
    int b = find_subtoken_boundary(t, s);
    if (b < 0 || (size_t)b > strlen(s)) __builtin_trap();
    count_subtokens(t, s);
    cst_free(generic_downcase(t, s));
    default_aswd(t, s);
    en_aswd(t, s);
    en_is_acronym(s, nullptr);
    generic_is_symbol(t, s);
    consume(generic_exp_symbol(t, s));
    consume(default_exp_letters(t, s));
    if (en_is_unit_expression(t, s)) consume(en_exp_unit_expression(t, s));
    consume(en_exp_unit_expression(t, s));
    consume(en_exp_abbrev(t, s));
    generic_skip_real(s, ".,");
  }
  text_should_read_dot(t);
  text_should_read_slash(t);
  // Without a table spelling only prints its message; once per input is enough.
  if (spell) consume(generic_spell_letters(t));
  consume(words_with_explicit_phones(t));
  cst_free(norm_token_str(t));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 2048) return 0;
  int options = data[0];
  std::string text((const char*)data + 1, size - 1);
  for (char& c : text)
    if (c == '\0') c = ' ';

  cst_utterance* u = new_utterance();
  if (options & 1) {
    feat_set_string(u->features, "uc_diacritics", "\xc0\xc9\xd6\xdc");
    feat_set_string(u->features, "lc_diacritics", "\xe0\xe9\xf6\xfc");
  }
  if (options & 2) {
    feat_set_string(u->features, "ignored_chars", "'-");
    feat_set_string(u->features, "left_sepchars", "(\"");
    feat_set_string(u->features, "right_sepchars", ")\".,");
  }
  if (options & 4) en_norm_set_features(u->features);

  cst_relation* r = utt_relation_create(u, "Token");
  cst_tokenstream* ts = ts_open_string(text.c_str(), cst_ts_default_whitespacesymbols,
                                       cst_ts_default_singlecharsymbols, cst_ts_default_prepunctuationsymbols,
                                       cst_ts_default_postpunctuationsymbols);
  while (ts && !ts_eof(ts)) {
    const char* token = ts_get(ts);
    if (!token || !token[0]) continue;
    cst_item* t = relation_append(r, nullptr);
    item_set_string(t, "name", token);
    item_set_string(t, "punc", ts->postpunctuation);
    item_set_string(t, "prepunctuation", ts->prepunctuation);
  }
  if (ts) ts_close(ts);
  for (cst_item* t = relation_head(r); t; t = item_next(t)) drive_token(t, text.c_str(), (options & 4) || t == relation_head(r));
  delete_utterance(u);
  return 0;
}
