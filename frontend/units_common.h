// Measurement units with number agreement, language-independent part: the unit
// table and unit engine records, number scanning, the unit tests that mark
// tokens with the matched table rows, and the expansion of "5kg", "5 kg" and
// "km/h". Tables and engines are constant data owned by the language; word
// lists returned are new and owned by the caller. One thread per utterance.
#ifndef UNITS_COMMON_H
#define UNITS_COMMON_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// Form chooser: 0 singular, 1 plural. mode 0 a simple unit, 1 the first part
// of a compound (agrees with the number), 2 its second part.
typedef int (*norm_unit_agreement_func)(const cst_item* token, const char* number, int mode);

// One unit. Keys are bytes of the 8-bit text encoding.
typedef struct {
  const char* key;
  int num_forms;               // 1 or 2
  const char* forms[2];        // singular, plural; words separated by spaces
  int refused;                 // not a unit as a token of its own after a number
  int abbrev_dot;              // consumes a '.' at the start of the token's punctuation
  norm_unit_agreement_func agreement;  // row-specific chooser, or null
  const char* next_token;      // required name of the next token, or null
  const char* const* tags;     // null-terminated, or null
} norm_unit;

typedef struct {
  const norm_unit* units;  // terminated by a row with a null key
  norm_unit_agreement_func agreement;
  cst_val* (*expand_number)(const char* number);
  // Joins the words of a compound's two parts; takes ownership of both.
  cst_val* (*construct_compound)(cst_val* first, cst_val* second);
  const char* decimal_separators;
  // Optional final rewrite of an expansion (takes ownership), or null.
  cst_val* (*postprocess)(const cst_item* token, cst_val* words);
} norm_unit_engine;

// Scans [+-]digits[sep digits]: the position after the number, or null when s
// does not start with one or a separator is not followed by a digit.
VXN_EXPORT const char* generic_skip_real(const char* s, const char* separators);
// The whole text is such a number.
VXN_EXPORT int generic_is_real(const char* s, const char* separators);
// Unit test of s against table. "a/b" is a compound when both parts are units
// (refused rows allowed): rows recorded in "unit_compound_pre_id" and
// "unit_compound_post_id". Otherwise the first row with key s, its required
// next token present and not refused (unless allowRefused) is recorded under
// featureName. 1 when s is a unit.
VXN_EXPORT int generic_is_unit_ext(const cst_item* token, const char* s, const norm_unit* table, int allowRefused,
                                   const char* featureName);
// generic_is_unit_ext(token, s, table, 0, "unit_id").
VXN_EXPORT int generic_is_unit(const cst_item* token, const char* s, const norm_unit* table);
// s (the token's name) is a number glued to a unit ("5kg"; "unit_real_length"
// set) or a unit after a token that is a number ("5" "kg").
VXN_EXPORT int generic_is_unit_expression(const cst_item* token, const char* s, const norm_unit_engine* engine);
// Words of table row `row` for number in mode (see norm_unit_agreement_func).
VXN_EXPORT cst_val* generic_exp_unit(const cst_item* token, const norm_unit_engine* engine, int row,
                                     const char* number, int mode);
// Number words (glued number only) followed by the unit words; null when s is
// no unit expression.
VXN_EXPORT cst_val* generic_exp_unit_expression(const cst_item* token, const char* s, const norm_unit_engine* engine);
// Tags of the row recorded in the token's "unit_id", or null.
VXN_EXPORT const char* const* generic_get_unit_tags(const cst_item* token, const norm_unit_engine* engine);
// Singular for mode 2 and for a number equal to 1 (',' read as '.'), plural otherwise.
VXN_EXPORT int unit_disambig_sgpl(const cst_item* token, const char* number, int mode);
// Number of rows of a unit table.
VXN_EXPORT int norm_unit_count(const norm_unit* table);

}  // extern "C"

#endif
