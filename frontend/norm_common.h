// Language-independent token normalisation: string helpers, letter and
// subtoken classification driven by voice features, downcasing, the
// word-or-spell test, letter spelling, symbol names and explicit expansion
// tables. Results are new Flite values or strings owned by the caller; the
// tables are constant. Stateless; one thread per utterance.
#ifndef NORM_COMMON_H
#define NORM_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// ---------------------------------------------------------------------------
// Value types stored as voice features by the language modules.
//
// Flite dispatches value deletion through its own fixed table, so a new type
// number must index an entry of that table whose delete function is empty.
// Slot 39 carries the iconv handle; slot 55 (the table's last entry) is the
// only other one, so the three types below share it. None of them owns its
// target: the tables are static data and functions need no release.
// ---------------------------------------------------------------------------

// 256 strings indexed by a byte of the 8-bit text encoding; each entry holds
// zero or more words separated by spaces ("spelling_table", "symbol_name_table").
typedef const char* norm_stringtable_entry;
// Word test: 1 when s is said as a word, 0 when it is spelled ("aswd_func").
typedef int (*norm_aswdfunc)(const cst_item* token, const char* s);
// Downcasing replacement: new string owned by the caller ("downcase_func").
typedef char* (*norm_stringtransform_func)(const char* s);

extern VXN_EXPORT const int cst_val_type_stringtable;
extern VXN_EXPORT const int cst_val_type_aswdfunc;
extern VXN_EXPORT const int cst_val_type_stringtransform_func;
VXN_EXPORT norm_stringtable_entry* val_stringtable(const cst_val* v);
VXN_EXPORT cst_val* stringtable_val(const norm_stringtable_entry* v);
VXN_EXPORT norm_aswdfunc val_aswdfunc(const cst_val* v);
VXN_EXPORT cst_val* aswdfunc_val(const norm_aswdfunc v);
VXN_EXPORT norm_stringtransform_func val_stringtransform_func(const cst_val* v);
VXN_EXPORT cst_val* stringtransform_func_val(const norm_stringtransform_func v);

// The voice feature set a token sees (its utterance's features), or null for
// an item outside an utterance.
VXN_EXPORT const cst_features* norm_token_features(const cst_item* token);

// ---------------------------------------------------------------------------
// String utilities. Every returned char* is new (cst_alloc) and owned by the
// caller; null arguments count as empty strings.
// ---------------------------------------------------------------------------

// Splits s at c into at most max pieces (the last keeps the rest); writes new
// strings to out[0..n-1] and returns n (0 when max < 1).
VXN_EXPORT int norm_str_split(const char* s, char c, char** out, int max);
// Splits s at every c into a list of string values (empty pieces kept).
VXN_EXPORT cst_val* norm_str_split_to_val_list(const char* s, char c);
VXN_EXPORT char* norm_str_join(const char* a, const char* b);
VXN_EXPORT char* norm_str_join_sep(const char* a, const char* sep, const char* b);
// Removes every c.
VXN_EXPORT char* norm_str_strip(const char* s, char c);
// Removes leading c.
VXN_EXPORT char* norm_str_lstrip(const char* s, char c);
// Drops the last n characters.
VXN_EXPORT char* norm_str_prefix(const char* s, int n);
// Keeps the first n characters.
VXN_EXPORT char* norm_str_trim(const char* s, int n);
// dict is a null-terminated flat list "key0, value0, key1, value1, ..., null".
VXN_EXPORT const char* norm_dict_value(const char* const* dict, const char* key);
VXN_EXPORT const char* norm_dict_key(const char* const* dict, const char* value);
// Prepunctuation + name + punctuation of a token.
VXN_EXPORT char* norm_token_str(const cst_item* token);
// The string members of a list joined into one word (other members skipped).
VXN_EXPORT char* norm_implode(const cst_val* list);
// True when one of the n previous tokens' names matches `match`; the search
// stops early at a token that does not match `cont` (null: never stops).
VXN_EXPORT int norm_search_backwards(const cst_item* token, const cst_regex* match, const cst_regex* cont, int n);
// Splits s at runs of any of the separator bytes into a list of the
// non-empty pieces.
VXN_EXPORT cst_val* string_split(const char* s, const char* separators);
// s repeated n times (empty for n < 1).
VXN_EXPORT char* string_n(const char* s, int n);
// Pairs the last word of a word list with a feature set holding break = "1"
// (a word already paired gets the feature added). Returns the list.
VXN_EXPORT cst_val* add_break(cst_val* list);

// ---------------------------------------------------------------------------
// Classification and case ("lc_diacritics", "uc_diacritics", "ignored_chars",
// "left_sepchars", "right_sepchars", "downcase_func").
// ---------------------------------------------------------------------------

VXN_EXPORT int is_letter(const cst_item* token, unsigned char c);
VXN_EXPORT int text_is_letters(const cst_item* token, const char* s);
VXN_EXPORT int is_ignored_char(const cst_item* token, unsigned char c);
VXN_EXPORT int is_left_sepchar(const cst_item* token, unsigned char c);
VXN_EXPORT int is_right_sepchar(const cst_item* token, unsigned char c);
// Offset in s where the second subtoken starts (strlen(s) when s is one
// subtoken).
VXN_EXPORT int find_subtoken_boundary(const cst_item* token, const char* s);
VXN_EXPORT int has_subtokens(const cst_item* token, const char* s);
VXN_EXPORT int count_subtokens(const cst_item* token, const char* s);
// The voice's "downcase_func" or default_downcase. New string.
VXN_EXPORT char* generic_downcase(const cst_item* token, const char* s);
VXN_EXPORT char* default_downcase(const cst_item* token, const char* s);
// upper[i] becomes lower[i], then ASCII A-Z is lowered. New string.
VXN_EXPORT char* common_downcase(const char* s, const char* upper, const char* lower);
// Byte translation from[i] -> to[i] (bytes past the shorter string unchanged).
VXN_EXPORT char* text_tr(const char* s, const char* from, const char* to);
// True when the token is an e-mail address, a web address or a Wi-Fi standard
// name (802.11ac), whose dots are read out.
VXN_EXPORT int text_should_read_dot(const cst_item* token);
// True when the token is a web address with a path, whose slashes are read.
VXN_EXPORT int text_should_read_slash(const cst_item* token);
// The address patterns behind the two tests, on plain text.
VXN_EXPORT int norm_is_email_address(const char* s);
VXN_EXPORT int norm_is_web_address(const char* s);
VXN_EXPORT int norm_is_wifi_standard(const char* s);

// ---------------------------------------------------------------------------
// Words, letters and symbols ("vowel_string", "aswd_func", "spelling_table",
// "spelling_func", "symbol_name_table").
// ---------------------------------------------------------------------------

VXN_EXPORT int default_aswd(const cst_item* token, const char* s);
VXN_EXPORT int generic_aswd(const cst_item* token, const char* s);
// Exact member of default_acronym_exceptions.
VXN_EXPORT int text_is_acronym_exception(const char* s);
extern VXN_EXPORT const char* const default_acronym_exceptions[];  // null-terminated
// A word pair (downcased s, features): "acronym" and "acronym_original_form"
// when acronym, "ignore_dictionaries" when acronym and ignoreDictionaries,
// "dot_interpreted" when dotInterpreted; a plain string value when none apply.
VXN_EXPORT cst_val* auxiliary_exp_letters(const cst_item* token, const char* s, int acronym, int ignoreDictionaries, int dotInterpreted);
VXN_EXPORT cst_val* default_exp_letters(const cst_item* token, const char* s);
VXN_EXPORT cst_val* default_exp_letters_ext(const cst_item* token, const char* s, int ignoreDictionaries);
VXN_EXPORT cst_val* default_spell_letters(const cst_item* token);
VXN_EXPORT cst_val* generic_spell_letters(const cst_item* token);
// Spells any text with the token's voice "spelling_table" (no message when absent).
VXN_EXPORT cst_val* norm_spell_text(const cst_item* token, const char* s);
VXN_EXPORT int generic_is_symbol(const cst_item* token, const char* s);
VXN_EXPORT cst_val* generic_exp_symbol(const cst_item* token, const char* s);

// ---------------------------------------------------------------------------
// Explicit expansion tables: a null-terminated array of rows; a row is key,
// flags, one or more words, null. Flags: 'C' case-sensitive key, 'D' only when
// the punctuation begins with '.', 'E' only when another token follows, 'S'
// spell the token instead of the words.
// ---------------------------------------------------------------------------

typedef const char* const* norm_expansion_row;
extern VXN_EXPORT const norm_expansion_row common_explicit_expansions[];

VXN_EXPORT cst_val* exp_explicit(cst_item* token, const char* s, const norm_expansion_row* table);
// table (may be null), then common_explicit_expansions.
VXN_EXPORT cst_val* exp_abbrev(cst_item* token, const char* s, const norm_expansion_row* table);
VXN_EXPORT cst_val* words_with_explicit_phones(const cst_item* token);
VXN_EXPORT cst_val* words_with_explicit_phones_ext(const cst_item* token, int downcase);

}  // extern "C"

#endif
