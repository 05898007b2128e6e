// Grapheme-to-phoneme results of the front end: every pronunciation variant of
// a text formatted in one of the output forms (pronunciation, normalised text,
// annotated text, label rows, phrasing rows, debug table). Result arrays are
// owned by the caller (free_flite_g2p_results). One thread per voice.
#ifndef KVAP_G2P_H
#define KVAP_G2P_H

#include <stdio.h>

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

enum {
  KVAP_G2P_MAX_RESULTS = 100,
  G2P_WORD_BOUNDARY = 0x1,
  G2P_SYL_BOUNDARY = 0x2,
  G2P_PHONE_BOUNDARY = 0x4,
  G2P_STRESS_MARK = 0x8,
  G2P_NORM = 0x10,
  G2P_DEBUG = 0x20,
  G2P_TTS = 0x80,
  G2P_UTF8 = 0x200,
  G2P_TOKEN_BOUNDARY = 0x400,
  G2P_BLANK_LINE = 0x800,
  G2P_TOKEN_DETAIL = 0x1000,
  G2P_WORD_DETAIL = 0x2000,
  G2P_ANNOTATED = 0x4000,
  G2P_PHRASING = 0x8000,
  G2P_BREAK_MARK = 0x10000,
};

// All variants of text (at most 100) formatted by flags; *results gets a new
// 100-entry array. Returns the number of variants.
VXN_EXPORT int flite_g2p(cst_voice* voice, const char* text, char*** results, int* count, unsigned flags);
VXN_EXPORT int g2p(cst_voice* voice, const char* text, char*** results, int* count, unsigned flags);
VXN_EXPORT void free_flite_g2p_results(char** results);
VXN_EXPORT void free_g2p_results(char** results);
VXN_EXPORT const char* g2p_version(cst_voice* voice);
VXN_EXPORT const char* g2p_encoding(cst_voice* voice);

// One variant in the form the flags select, as a new string (cst_free).
VXN_EXPORT char* create_flite_g2p_variant(const cst_utterance* u, unsigned flags);
VXN_EXPORT void print_flite_utterance(FILE* out, const cst_utterance* u, unsigned flags);

// Label row of a segment and phrasing row of a word, written into out (size bytes).
VXN_EXPORT void gen_HTS_features(const cst_item* segment, char* out, size_t size);
VXN_EXPORT void gen_phrasing_features(const cst_item* word, char* out, size_t size);
// Phones of a word with stress digits, " " inside and " . " between syllables.
VXN_EXPORT char* get_word_pron_string(const cst_item* word);
// s cut to width bytes, the last one replaced by '~' when cut (new string).
VXN_EXPORT char* get_trimmed_string(const char* s, int width);

}  // extern "C"

#endif
