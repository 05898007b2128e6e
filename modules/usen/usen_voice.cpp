#include "modules/usen/usen_voice.h"

#include <stdio.h>
#include <string.h>
#include <strings.h>

#include "frontend/en/en_gpos.h"
#include "frontend/en/en_norm.h"
#include "frontend/en/en_phrasing.h"
#include "frontend/en/en_pos.h"
#include "frontend/en/en_postlex.h"
#include "frontend/init_common.h"
#include "frontend/wfst_common.h"
#include "modules/usen/usen_lexicon.h"
#include "modules/usen/usen_norm_wfst.h"
#include "modules/usen/usen_tokens.h"
#include "frontend/sylstruct_common.h"

extern "C" {
// Flite's US English language package.
extern const cst_phoneset us_phoneset;
void us_ff_register(cst_features* ffunctions);
}

namespace {

const char kVersion[] = "usen-1.0";

}  // namespace

cst_voice* usen_voice_new(int multiplePronunciations, const char* dictPath, const char* encoding) {
  cst_voice* v = new_voice();
  v->name = "usen";
  cst_features* f = v->features;
  feat_set_string(f, "version", kVersion);
  feat_set_string(f, "encoding", encoding && encoding[0] ? encoding : "iso-8859-15");
  feat_set_string(f, "language", "usenglish");
  feat_set(f, "phoneset", phoneset_val(&us_phoneset));
  feat_set_string(f, "silence", us_phoneset.silence);
  // In the single-byte encoding the no-break space (0xA0) separates words
  // too: the input step writes it after abbreviations that go on with the
  // sentence. In UTF-8 the byte is part of other characters.
  const char* enc = get_param_string(f, "encoding", "");
  const bool utf8 = strcasecmp(enc, "utf-8") == 0 || strcasecmp(enc, "utf8") == 0;
  feat_set_string(f, "text_whitespace", utf8 ? " \t\n\r" : " \t\n\r\xA0");
  feat_set_string(f, "text_postpunctuation", cst_ts_default_postpunctuationsymbols);
  feat_set_string(f, "text_prepunctuation", cst_ts_default_prepunctuationsymbols);
  feat_set_string(f, "text_singlecharsymbols", cst_ts_default_singlecharsymbols);
  feat_set(f, "tokentowords_func", itemfunc_val(usen_tokentowords));
  // Television forms the token rules would split (time and day ranges,
  // episode codes, resolutions) are rewritten over the whole text first.
  feat_set(f, "norm_wfst", wfst_val(en_norm_wfst()));
  feat_set(f, "preprocessing_func", uttfunc_val(wfst_preprocessing));
  // Letter spelling, symbol names and the English word-or-spell test.
  en_norm_set_features(f);
  feat_set(f, "pos_tagger_cart", cart_val(&en_pos_cart));
  feat_set(f, "lex_pos_dict", userdata_val((void*)en_pos_dict));
  feat_set(f, "pos_tagger_func", uttfunc_val(en_pos_tagger));
  feat_set(f, "gpos_table", userdata_val((void*)en_gpos));
  feat_set(f, "phrasing_cart", cart_val(&en_phrasing_cart));
  // Accents and ToBI end tones from the trees (the default intonation step):
  // the US voices' label questions read tone names, not Q/S marks.
  feat_set(f, "int_cart_accents", cart_val(&en_int_accent_cart));
  feat_set(f, "int_cart_tones", cart_val(&en_int_tone_cart));
  feat_set(f, "lexicon", lexicon_val(usen_lexicon()));
  feat_set(f, "postlex_func", uttfunc_val(en_postlex));
  // Words the token rules mark as acronyms keep only their last stress.
  feat_set(f, "lexical_insertion_func", uttfunc_val(lexical_insertion_with_acronym_stress));
  feat_set_int(f, "kvap.multiple_pronunciations", multiplePronunciations ? 1 : 0);
  // Commas get their own pause, as the recorded voices pause there.
  feat_set_int(f, "kvap.phrasal_pauses", 1);
  us_ff_register(v->ffunctions);
  common_ff_register(v->ffunctions);
  en_ff_register_gpos(v->ffunctions);
  if (dictPath && dictPath[0]) {
    FILE* probe = fopen(dictPath, "r");
    if (probe) {
      fclose(probe);
      flite_voice_add_lex_addenda(v, dictPath);
    }
  }
  return v;
}

void usen_voice_delete(cst_voice* voice) {
  if (!voice) return;
  common_deinit(voice);
  delete_voice(voice);
}

void* initialize_g2p_enUS_tts(int multiplePronunciations, char* dictPath, char* encoding) {
  return usen_voice_new(multiplePronunciations, dictPath, encoding);
}

void deinitialize_g2p_enUS(void* voice) { usen_voice_delete((cst_voice*)voice); }
