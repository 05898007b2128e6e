// English measurement units: the unit table (British spellings, keys in
// ISO-8859-15 bytes), the unit engine that reads numbers with en_exp_real and
// joins compounds with "per", and the English unit expression entry points.
// Constant data; stateless and reentrant (one thread per utterance).
#ifndef EN_UNITS_H
#define EN_UNITS_H

#include "frontend/units_common.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// 111 rows searched in order, terminated by a row with a null key.
extern VXN_EXPORT const norm_unit en_units[];
extern VXN_EXPORT const norm_unit_engine en_unit_engine;

// generic_is_unit_expression / generic_exp_unit_expression with en_unit_engine.
VXN_EXPORT int en_is_unit_expression(const cst_item* token, const char* s);
VXN_EXPORT cst_val* en_exp_unit_expression(const cst_item* token, const char* s);
// first, "per", second (takes ownership of both lists).
VXN_EXPORT cst_val* en_unit_construct_compound(cst_val* first, cst_val* second);

}  // extern "C"

#endif
