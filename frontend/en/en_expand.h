// English number and name expansion: cardinals, ordinals, identifiers and
// years, reals, digit strings, clock times, Roman numerals, two-digit years,
// currency names and money symbols, and the regnal/section/month context tests.
// Every expansion returns a new Flite list of string values owned by the
// caller (null for no words). Constant tables; stateless and reentrant.
#ifndef EN_EXPAND_H
#define EN_EXPAND_H

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

extern VXN_EXPORT const char* const digit2num[10];
extern VXN_EXPORT const char* const digit2teen[10];
extern VXN_EXPORT const char* const digit2enty[10];
extern VXN_EXPORT const char* const ord2num[10];
extern VXN_EXPORT const char* const ord2teen[10];
extern VXN_EXPORT const char* const ord2enty[10];

// Cardinal words of a digit string; with skip_zero a zero value gives no words.
VXN_EXPORT cst_val* en_exp_number_ext(const char* digits, int skip_zero);
extern "C++" VXN_EXPORT cst_val* en_exp_number(const char* digits);
// Ordinal words; commas in the text are ignored.
extern "C++" VXN_EXPORT cst_val* en_exp_ordinal(const char* digits);
// Digits read as in years and codes (1984: nineteen eighty four).
extern "C++" VXN_EXPORT cst_val* en_exp_id(const char* digits);
// Signed decimal with optional exponent (-3.14: minus three point one four).
extern "C++" VXN_EXPORT cst_val* en_exp_real(const char* text);
// One word per character ("umpty" for a non-digit).
extern "C++" VXN_EXPORT cst_val* en_exp_digits(const char* text);
// Hours and minutes of a clock time "h:mm" (10:05: ten oh five; 10:00: ten).
VXN_EXPORT cst_val* en_exp_time(const char* text);
// Same as en_exp_number.
VXN_EXPORT cst_val* en_exp_numeric_arabic(const char* digits, unsigned options);

// Value of an upper-case Roman numeral (other characters add nothing).
VXN_EXPORT int norm_romantoi(const char* numeral);
// A two-character year gets its century: 05 -> 2005, 87 -> 1987. New string.
VXN_EXPORT char* norm_extend_year(const char* year);
// True when a two-digit year starts with '0' or '1'.
VXN_EXPORT int norm_cond_is_current_century_year(const char* year);

// Currency word of an ISO code (any case): major or minor unit, singular or
// plural. Null when the code is unknown.
VXN_EXPORT const char* en_currency_name(const char* code, int plural, int minor);
// Words after a price for the period written after its slash, in any case
// ("month" and "mo": "a month", "night": "a night", "person": "per
// person"), or null when the text names no period.
VXN_EXPORT const char* en_price_period(const char* period);
// True for a word after which a code is read character by character
// ("code", "PIN", "passcode"), in any case.
VXN_EXPORT int en_announces_code(const char* word);
// True for a word after which a slashed pair of small numbers is a date
// ("airs on 3/4", "from", "until", "since"), in any case.
VXN_EXPORT int en_leads_date(const char* word);
// ISO code of a one-byte money symbol of the 8-bit text encoding, or null.
VXN_EXPORT const char* money_symbol_to_iso(unsigned char symbol);

// A Roman numeral read in the given mode: ordinal ("the eighth"), cardinal,
// else the cardinal when it has at least min_length letters and is not XXX,
// CI or DVI, else spelled letter by letter with the token's spelling table.
VXN_EXPORT cst_val* en_exp_numeric_roman(const cst_item* token, const char* numeral,
                                         unsigned ordinal, unsigned cardinal, unsigned min_length);

// US state table row: abbreviation, "ambiguous" or "", up to three words.
struct state_row {
  const char* abbrev;
  const char* ambiguous;
  const char* words[3];
};
extern VXN_EXPORT const state_row states[];  // 99 rows and an empty one
// The state's name for an abbreviation in its token's context, or null.
VXN_EXPORT cst_val* state_name(const char* abbrev, const cst_item* token);

// Context tests on token items: a regnal number (Henry VIII), a section number
// (chapter IV), a month name.
VXN_EXPORT int rex_like(const cst_item* token);
VXN_EXPORT int section_like(const cst_item* token);
VXN_EXPORT int month_like(const cst_item* item);

}  // extern "C"

#endif
