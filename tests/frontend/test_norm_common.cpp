#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "frontend/norm_common.h"
#include "tests/frontend/norm_test_util.h"

using normtest::take;
using normtest::token_at;
using normtest::tokenize;
using normtest::words;

namespace {

// A small spelling table: letters spell as themselves, digits by name.
const char* const* test_spelling_table() {
  static const char* table[256];
  static char letters[26][2];
  static bool ready = false;
  if (!ready) {
    for (int i = 0; i < 256; ++i) table[i] = "";
    for (int i = 0; i < 26; ++i) {
      letters[i][0] = (char)('a' + i);
      letters[i][1] = '\0';
      table['a' + i] = table['A' + i] = letters[i];
    }
    table['1'] = "one";
    table['/'] = "slash";
    table['&'] = "ampersand sign";
    ready = true;
  }
  return table;
}

TEST(NormStrings, SplitJoinAndTrim) {
  char* parts[3];
  ASSERT_EQ(norm_str_split("a:b:c:d", ':', parts, 3), 3);
  EXPECT_EQ(take(parts[0]), "a");
  EXPECT_EQ(take(parts[1]), "b");
  EXPECT_EQ(take(parts[2]), "c:d");  // the last piece keeps the rest
  ASSERT_EQ(norm_str_split("abc", ':', parts, 3), 1);
  EXPECT_EQ(take(parts[0]), "abc");
  EXPECT_EQ(norm_str_split("a:b", ':', parts, 0), 0);
  EXPECT_EQ(words(norm_str_split_to_val_list("x,,y", ',')), "x  y");  // empty piece kept
  EXPECT_EQ(words(string_split("  a  b\tc ", " \t")), "a b c");
  EXPECT_EQ(words(string_split("", " ")), "");
  EXPECT_EQ(take(norm_str_join("ab", "cd")), "abcd");
  EXPECT_EQ(take(norm_str_join_sep("ab", "-", "cd")), "ab-cd");
  EXPECT_EQ(take(norm_str_join_sep(nullptr, "-", nullptr)), "-");
  EXPECT_EQ(take(norm_str_strip("a.b.c.", '.')), "abc");
  EXPECT_EQ(take(norm_str_lstrip("000120", '0')), "120");
  EXPECT_EQ(take(norm_str_prefix("km/h", 2)), "km");
  EXPECT_EQ(take(norm_str_prefix("km", 5)), "");
  EXPECT_EQ(take(norm_str_trim("km/h", 2)), "km");
  EXPECT_EQ(take(norm_str_trim("km", 9)), "km");
  EXPECT_EQ(take(string_n("ab", 3)), "ababab");
  EXPECT_EQ(take(string_n("ab", -1)), "");
}

TEST(NormStrings, DictionariesListsAndTokens) {
  const char* const dict[] = {"usd", "dollar", "eur", "euro", nullptr};
  EXPECT_STREQ(norm_dict_value(dict, "eur"), "euro");
  EXPECT_STREQ(norm_dict_key(dict, "dollar"), "usd");
  EXPECT_EQ(norm_dict_value(dict, "gbp"), nullptr);
  EXPECT_EQ(norm_dict_key(dict, "usd"), nullptr);  // keys are not values

  cst_val* list = cons_val(string_val("wi"), cons_val(int_val(3), cons_val(string_val("fi"), nullptr)));
  EXPECT_EQ(take(norm_implode(list)), "wifi");
  delete_val(list);

  cst_utterance* u = tokenize("He said \"hello,\" to Dr. Who, the doctor.");
  EXPECT_EQ(take(norm_token_str(token_at(u, 2))), "\"hello,\"");
  cst_regex* dr = new_cst_regex("^Dr$");
  cst_regex* word = new_cst_regex("^[A-Za-z]+$");
  cst_item* doctor = token_at(u, 7);
  EXPECT_TRUE(norm_search_backwards(doctor, dr, nullptr, 4));
  EXPECT_FALSE(norm_search_backwards(doctor, dr, nullptr, 2));  // Dr is three back
  EXPECT_TRUE(norm_search_backwards(doctor, dr, word, 4));
  cst_regex* lower = new_cst_regex("^[a-z]+$");
  EXPECT_FALSE(norm_search_backwards(doctor, dr, lower, 4));  // stops at "Who"
  delete_cst_regex(dr);
  delete_cst_regex(word);
  delete_cst_regex(lower);
  delete_utterance(u);
}

TEST(NormStrings, AddBreakMarksTheLastWord) {
  cst_val* list = cons_val(string_val("one"), cons_val(string_val("two"), nullptr));
  list = add_break(list);
  const cst_val* last = val_car(val_cdr(list));
  ASSERT_TRUE(cst_val_consp(last));
  EXPECT_STREQ(val_string(val_car(last)), "two");
  EXPECT_STREQ(get_param_string(val_features(val_cdr(last)), "break", ""), "1");
  EXPECT_FALSE(cst_val_consp(val_car(list)));
  // A word that already carries features keeps them and gains the break.
  cst_utterance* u = tokenize("HDMI");
  cst_val* letters = default_exp_letters(token_at(u, 0), "HDMI");
  letters = add_break(letters);
  const cst_features* f = val_features(val_cdr(val_car(letters)));
  EXPECT_STREQ(get_param_string(f, "acronym", ""), "1");
  EXPECT_STREQ(get_param_string(f, "break", ""), "1");
  delete_val(letters);
  delete_val(list);
  EXPECT_EQ(add_break(nullptr), nullptr);
  delete_utterance(u);
}

TEST(NormClassify, SubtokenBoundariesFollowVoiceFeatures) {
  cst_utterance* u = tokenize("x");
  cst_item* t = token_at(u, 0);
  EXPECT_EQ(find_subtoken_boundary(t, "abc123"), 3);
  EXPECT_EQ(find_subtoken_boundary(t, "123abc"), 3);
  EXPECT_EQ(find_subtoken_boundary(t, "--x"), 1);  // an "other" subtoken is one character
  EXPECT_EQ(find_subtoken_boundary(t, "word"), 4);
  EXPECT_EQ(find_subtoken_boundary(t, ""), 0);
  EXPECT_EQ(count_subtokens(t, "mp3-player"), 4);  // mp, 3, -, player
  EXPECT_FALSE(has_subtokens(t, "hello"));
  EXPECT_TRUE(has_subtokens(t, "hello2"));

  feat_set_string(u->features, "ignored_chars", "'");
  feat_set_string(u->features, "left_sepchars", "(");
  feat_set_string(u->features, "right_sepchars", ")");
  EXPECT_EQ(find_subtoken_boundary(t, "it's9"), 4);        // the apostrophe does not split
  EXPECT_EQ(find_subtoken_boundary(t, "(abc)def"), 5);     // separators stay with their subtoken
  EXPECT_EQ(find_subtoken_boundary(t, "(abc)"), 5);
  EXPECT_EQ(find_subtoken_boundary(t, "''(("), 4);         // nothing but skipped characters
  EXPECT_EQ(count_subtokens(t, "(abc)def"), 2);

  // Diacritics from the voice count as letters.
  EXPECT_EQ(find_subtoken_boundary(t, "caf\xe9" "1"), 3);  // without the feature the é is no letter
  feat_set_string(u->features, "lc_diacritics", "\xe9\xe8");
  feat_set_string(u->features, "uc_diacritics", "\xc9\xc8");
  EXPECT_EQ(find_subtoken_boundary(t, "caf\xe9" "1"), 4);
  EXPECT_TRUE(text_is_letters(t, "CAF\xc9"));
  EXPECT_FALSE(text_is_letters(t, "caf\xea"));
  EXPECT_FALSE(text_is_letters(t, ""));
  EXPECT_TRUE(is_ignored_char(t, '\''));
  EXPECT_FALSE(is_left_sepchar(t, ')'));
  EXPECT_TRUE(is_right_sepchar(t, ')'));
  EXPECT_FALSE(is_right_sepchar(t, '\0'));
  delete_utterance(u);
}

char* shout(const char* s) {
  char* r = cst_strdup(s);
  for (char* p = r; *p; ++p) *p = (char)toupper((unsigned char)*p);
  return r;
}

TEST(NormClassify, DowncasingWithDiacritics) {
  cst_utterance* u = tokenize("x");
  cst_item* t = token_at(u, 0);
  // Without voice diacritics only ASCII is lowered.
  EXPECT_EQ(take(default_downcase(t, "\xc9T\xc9")), "\xc9t\xc9");
  feat_set_string(u->features, "uc_diacritics", "\xc9\xd6\xbe");  // É Ö Ÿ (ISO-8859-15)
  feat_set_string(u->features, "lc_diacritics", "\xe9\xf6\xff");
  EXPECT_EQ(take(generic_downcase(t, "\xc9T\xc9 \xd6L \xbe")), "\xe9t\xe9 \xf6l \xff");
  EXPECT_EQ(take(common_downcase("ABC", "B", "x")), "axc");
  EXPECT_EQ(take(text_tr("abcabc", "abc", "xy")), "xycxyc");  // 'c' has no partner
  feat_set(u->features, "downcase_func", stringtransform_func_val(shout));
  EXPECT_EQ(take(generic_downcase(t, "MixEd")), "MIXED");
  delete_utterance(u);
}

TEST(NormClassify, AddressesReadDotsAndSlashes) {
  cst_utterance* u = tokenize("info@example.co.uk www.bbc.co.uk/iplayer 802.11ac 802.11b/g/n 3.5 1/2 example.tv "
                              "http://10.0.0.1:8080/setup a@b end.");
  EXPECT_TRUE(text_should_read_dot(token_at(u, 0)));
  EXPECT_FALSE(text_should_read_slash(token_at(u, 0)));
  EXPECT_TRUE(text_should_read_dot(token_at(u, 1)));
  EXPECT_TRUE(text_should_read_slash(token_at(u, 1)));
  EXPECT_TRUE(text_should_read_dot(token_at(u, 2)));
  EXPECT_TRUE(text_should_read_dot(token_at(u, 3)));
  EXPECT_FALSE(text_should_read_slash(token_at(u, 3)));  // b/g/n: the slashes are silent
  EXPECT_FALSE(text_should_read_dot(token_at(u, 4)));    // a decimal number
  EXPECT_FALSE(text_should_read_slash(token_at(u, 5)));  // a fraction
  EXPECT_TRUE(text_should_read_dot(token_at(u, 6)));     // known top-level domain
  EXPECT_TRUE(text_should_read_slash(token_at(u, 7)));
  EXPECT_FALSE(text_should_read_dot(token_at(u, 8)));    // no domain after @
  EXPECT_FALSE(text_should_read_dot(token_at(u, 9)));
  EXPECT_FALSE(norm_is_web_address("file.txt"));
  EXPECT_FALSE(norm_is_wifi_standard("802.11abc"));
  EXPECT_FALSE(norm_is_email_address("@example.com"));
  delete_utterance(u);
}

int never_word(const cst_item*, const char*) { return 0; }

TEST(NormWords, WordTestAndAcronymExceptions) {
  cst_utterance* u = tokenize("x");
  cst_item* t = token_at(u, 0);
  EXPECT_TRUE(default_aswd(t, "Hello"));
  EXPECT_FALSE(default_aswd(t, "BBC"));
  EXPECT_FALSE(default_aswd(t, "HDMI"));  // has a vowel but is an exception
  EXPECT_TRUE(default_aswd(t, "hdmi"));   // exceptions are matched exactly
  // A 13-character upper-case exception is spelled although it has vowels.
  ASSERT_EQ(strlen("HDMI/USB/RJ45"), 13u);
  EXPECT_TRUE(text_is_acronym_exception("HDMI/USB/RJ45"));
  EXPECT_FALSE(default_aswd(t, "HDMI/USB/RJ45"));
  feat_set_string(u->features, "vowel_string", "aeiouy");
  EXPECT_TRUE(default_aswd(t, "gym"));
  feat_set(u->features, "aswd_func", aswdfunc_val(never_word));
  EXPECT_FALSE(generic_aswd(t, "hello"));
  int count = 0;
  for (const char* const* a = default_acronym_exceptions; *a; ++a) {
    ++count;
    for (const char* const* b = a + 1; *b; ++b) EXPECT_STRNE(*a, *b);
  }
  EXPECT_EQ(count, 142);
  delete_utterance(u);
}

TEST(NormWords, LetterExpansionCarriesFeatures) {
  cst_utterance* u = tokenize("USB");
  cst_item* t = token_at(u, 0);
  cst_val* pair = auxiliary_exp_letters(t, "USB", 1, 1, 1);
  ASSERT_TRUE(cst_val_consp(pair));
  EXPECT_STREQ(val_string(val_car(pair)), "usb");
  const cst_features* f = val_features(val_cdr(pair));
  EXPECT_STREQ(get_param_string(f, "acronym", ""), "1");
  EXPECT_STREQ(get_param_string(f, "acronym_original_form", ""), "USB");
  EXPECT_STREQ(get_param_string(f, "ignore_dictionaries", ""), "1");
  EXPECT_STREQ(get_param_string(f, "dot_interpreted", ""), "1");
  delete_val(pair);
  cst_val* plain = auxiliary_exp_letters(t, "USB", 0, 1, 0);
  EXPECT_FALSE(cst_val_consp(plain));  // nothing to mark: a plain word
  EXPECT_STREQ(val_string(plain), "usb");
  delete_val(plain);
  cst_val* list = default_exp_letters_ext(t, "USB", 0);
  ASSERT_EQ(val_length(list), 1);
  EXPECT_FALSE(feat_present(val_features(val_cdr(val_car(list))), "ignore_dictionaries"));
  delete_val(list);
  delete_utterance(u);
}

TEST(NormWords, SpellingAndSymbolTables) {
  cst_utterance* u = tokenize("AB1 & \xa7");
  cst_item* t = token_at(u, 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(default_spell_letters(t), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Cannot find feature value 'spelling_table'. Please specify the feature value.\n");
  feat_set(u->features, "spelling_table", stringtable_val(test_spelling_table()));
  EXPECT_EQ(words(generic_spell_letters(t)), "a b one");
  EXPECT_TRUE(generic_is_symbol(t, "&"));
  EXPECT_FALSE(generic_is_symbol(t, "a"));
  EXPECT_FALSE(generic_is_symbol(t, "7"));
  EXPECT_FALSE(generic_is_symbol(t, "&&"));
  EXPECT_EQ(words(generic_exp_symbol(t, "&")), "");  // no symbol table yet
  feat_set(u->features, "symbol_name_table", stringtable_val(test_spelling_table()));
  EXPECT_EQ(words(generic_exp_symbol(t, "&")), "ampersand sign");
  EXPECT_EQ(words(generic_exp_symbol(t, "\xa7")), "");  // empty entry
  delete_utterance(u);
}

TEST(NormExplicit, FlagsAndTheCommonTable) {
  static const char* const rowWifi[] = {"wifi", "", "wi", "fi", nullptr};
  static const char* const rowSTB[] = {"STB", "C", "set", "top", "box", nullptr};
  static const char* const rowDr[] = {"dr", "D", "doctor", nullptr};
  static const char* const rowCh[] = {"ch", "DE", "channel", nullptr};
  static const char* const rowUk[] = {"uk", "S", "ignored", nullptr};
  static const norm_expansion_row table[] = {rowWifi, rowSTB, rowDr, rowCh, rowUk, nullptr};
  cst_utterance* u = tokenize("WiFi STB stb Dr. Dr ctrl Ch. uk ch.");
  feat_set(u->features, "spelling_table", stringtable_val(test_spelling_table()));
  EXPECT_EQ(words(exp_explicit(token_at(u, 0), "WiFi", table)), "wi fi");
  EXPECT_EQ(words(exp_explicit(token_at(u, 1), "STB", table)), "set top box");
  EXPECT_EQ(words(exp_explicit(token_at(u, 2), "stb", table)), "");  // case-sensitive row
  EXPECT_EQ(words(exp_explicit(token_at(u, 3), "Dr", table)), "doctor");
  EXPECT_EQ(words(exp_explicit(token_at(u, 4), "Dr", table)), "");  // needs the dot
  // ctrl comes from the common table when the language table has no row.
  EXPECT_EQ(words(exp_explicit(token_at(u, 5), "ctrl", table)), "");
  EXPECT_EQ(words(exp_abbrev(token_at(u, 5), "ctrl", table)), "control");
  EXPECT_EQ(words(exp_abbrev(token_at(u, 5), "CTRL", nullptr)), "control");
  EXPECT_EQ(words(exp_explicit(token_at(u, 6), "Ch", table)), "channel");
  EXPECT_EQ(words(exp_explicit(token_at(u, 7), "uk", table)), "u k");  // 'S' spells
  EXPECT_EQ(words(exp_explicit(token_at(u, 8), "ch", table)), "");   // last token: 'E' fails
  delete_utterance(u);
}

cst_val* spell_by_voice(cst_item* token) {
  return cons_val(string_val("spelled"), cons_val(string_val(item_feat_string(token, "name")), nullptr));
}

TEST(NormExplicit, SpellingRowsUseTheVoiceSpellingFunction) {
  static const char* const rowUk[] = {"uk", "S", "ignored", nullptr};
  static const norm_expansion_row table[] = {rowUk, nullptr};
  cst_utterance* u = tokenize("UK");
  // A feature of the wrong value type counts as missing.
  feat_set_string(u->features, "spelling_table", "abc");
  testing::internal::CaptureStderr();
  EXPECT_EQ(words(exp_explicit(token_at(u, 0), "UK", table)), "");
  EXPECT_NE(testing::internal::GetCapturedStderr().find("'spelling_table'"), std::string::npos);
  feat_set(u->features, "spelling_func", itemfunc_val(spell_by_voice));
  EXPECT_EQ(words(exp_explicit(token_at(u, 0), "UK", table)), "spelled UK");
  // Another text than the token's own is spelled with the table.
  feat_set(u->features, "spelling_table", stringtable_val(test_spelling_table()));
  EXPECT_EQ(words(exp_explicit(token_at(u, 0), "uk", table)), "u k");
  delete_utterance(u);
}

TEST(NormExplicit, AbbreviationDotIsRemovedBeforeLowerCase) {
  static const char* const rowSt[] = {"st", "D", "saint", nullptr};
  static const char* const rowApprox[] = {"approx", "", "approximately", nullptr};
  static const norm_expansion_row table[] = {rowSt, rowApprox, nullptr};
  cst_utterance* u = tokenize("approx. five St. Albans approx. Then st. 4 st.");
  EXPECT_EQ(words(exp_explicit(token_at(u, 0), "approx", table)), "approximately");
  EXPECT_STREQ(item_feat_string(token_at(u, 0), "punc"), "");  // before "five": not a sentence end
  EXPECT_EQ(words(exp_explicit(token_at(u, 2), "St", table)), "saint");
  EXPECT_STREQ(item_feat_string(token_at(u, 2), "punc"), ".");  // before a capital: kept
  EXPECT_EQ(words(exp_explicit(token_at(u, 4), "approx", table)), "approximately");
  EXPECT_STREQ(item_feat_string(token_at(u, 4), "punc"), ".");
  EXPECT_EQ(words(exp_explicit(token_at(u, 6), "st", table)), "saint");
  EXPECT_STREQ(item_feat_string(token_at(u, 6), "punc"), "");  // a digit follows
  EXPECT_EQ(words(exp_explicit(token_at(u, 8), "st", table)), "saint");
  EXPECT_STREQ(item_feat_string(token_at(u, 8), "punc"), ".");  // no next token
  delete_utterance(u);
}

TEST(NormExplicit, WordsWithExplicitPhones) {
  cst_utterance* u = tokenize("Tomato tomato");
  item_set(token_at(u, 0), "phones", cons_val(string_val("t"), nullptr));
  EXPECT_EQ(words(words_with_explicit_phones(token_at(u, 0))), "tomato");
  EXPECT_EQ(words(words_with_explicit_phones_ext(token_at(u, 0), 0)), "Tomato");
  EXPECT_EQ(words(words_with_explicit_phones(token_at(u, 1))), "");
  delete_utterance(u);
}

}  // namespace
