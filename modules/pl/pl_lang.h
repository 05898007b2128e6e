// The Polish module (libVXN_lang_pl.so): the Polish tables and rules of the
// European module kit, and the entries the analyzer looks up by name.
#ifndef PL_LANG_H
#define PL_LANG_H

#include "modules/common/eu_language.h"

extern const eu_language pl_language;

// Case and gender of a Polish ordinal: masculine nominative, genitive and
// locative, feminine nominative, genitive (also dative and locative) and
// instrumental, neuter nominative.
enum pl_ordinal_form { PL_NOM_M, PL_GEN_M, PL_LOC_M, PL_NOM_F, PL_GEN_F, PL_INS_F, PL_NOM_N };

// Words of the ordinal of n (1..9999) in the given form, as in "dwa tysiące
// dwudziestego czwartego": thousands and hundreds before the last ordinal
// parts are cardinals. False for numbers out of range.
bool pl_ordinal_words(eu_context* c, int n, pl_ordinal_form form, std::vector<std::string>* out);

extern "C" {
VXN_EXPORT void* initialize_g2p_plPL_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_plPL(void* voice);
}

#endif
