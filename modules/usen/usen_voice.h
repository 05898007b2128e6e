// US English grapheme-to-phoneme voice: Flite's CMU lexicon, letter-to-sound
// rules and phone set; the module's own token rules (usen_tokens); the front
// end's English normalisation tables, tagger, tagging, phrasing and
// intonation trees, post-lexical rules and feature functions. Each call builds a new voice owned by the caller until
// usen_voice_delete.
#ifndef USEN_VOICE_H
#define USEN_VOICE_H

#include "frontend/kvap_opts.h"

// multiplePronunciations: let words keep all their lexicon transcriptions as
// variants. dictPath: optional lexicon addenda file (ignored when absent).
cst_voice* usen_voice_new(int multiplePronunciations, const char* dictPath, const char* encoding);
void usen_voice_delete(cst_voice* voice);

extern "C" {
// Module entries looked up by name (dlsym) by the European analyzer.
VXN_EXPORT void* initialize_g2p_enUS_tts(int multiplePronunciations, char* dictPath, char* encoding);
VXN_EXPORT void deinitialize_g2p_enUS(void* voice);
}

#endif
