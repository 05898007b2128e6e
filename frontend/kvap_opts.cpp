#include "frontend/kvap_opts.h"

#include <setjmp.h>
#include <stdio.h>
#include <string.h>

#include "frontend/kvap_iconv.h"
#include "frontend/synth_util.h"

const char kvap_setvoice_tag[] = "setvoice";

void set_ext_options(cst_voice* voice, kvap_option* options) {
  if (!voice || !options) return;
  for (int i = 0; options[i]; ++i) {
    if (!options[i][0] || !options[i][1]) continue;
    // Feature names are not copied by the feature set; keep our own copy.
    const char* name = feat_own_string(voice->features, options[i][0]);
    feat_set_string(voice->features, name, options[i][1]);
  }
  apply_ext_options(voice);
}

cst_lexicon* flite_voice_add_lex_addenda(cst_voice* voice, const char* path) {
  if (!voice || !feat_present(voice->features, "lexicon")) return nullptr;
  FILE* probe = fopen(path, "r");
  if (!probe) {
    cst_errmsg("apply_ext_options: cannot open user dictionary %s\n", path);
    return nullptr;
  }
  fclose(probe);
  cst_lexicon* lex = val_lexicon(feat_val(voice->features, "lexicon"));
  cst_val* added = cst_lex_load_addenda(lex, path);
  lex->lex_addenda = val_append(added, lex->lex_addenda);
  return lex;
}

void apply_ext_options(cst_voice* voice) {
  if (!voice) return;
  cst_features* f = voice->features;
  const char* userDict = get_param_string(f, "kvap.user_dict", nullptr);
  const char* input = get_param_string(f, "kvap.input_encoding", nullptr);
  const char* encoding = get_param_string(f, "encoding", "iso-8859-15");
  int translit = get_param_int(f, "kvap.iconv_translit", 0);
  int ignore = get_param_int(f, "kvap.iconv_ignore", 0);
  const char* voiceName = get_param_string(f, "kvap.voice_name", nullptr);
  if (userDict && userDict[0]) flite_voice_add_lex_addenda(voice, userDict);
  if (voiceName && feat_present(f, "setvoice_func")) {
    const kvap_setvoice* d = (const kvap_setvoice*)val_userdata(feat_val(f, "setvoice_func"));
    if (d && d->tag == kvap_setvoice_tag && d->fn) d->fn(voiceName);
  }
  if (input && input[0] && strcmp(input, encoding) != 0) {
    if (feat_present(f, "iconv_handler")) common_deinit(voice);
    char to[128];
    snprintf(to, sizeof(to), "%s%s", encoding, translit ? "//TRANSLIT" : ignore ? "//IGNORE" : "");
    kvap_iconv_t h = open_iconv_handler(to, input);
    if (h == (kvap_iconv_t)-1) {
      if (jmp_buf* jump = kvap_chain_jump()) longjmp(*jump, 1);
      return;
    }
    feat_set(f, "iconv_handler", iconvhand_val(h));
  }
}

void common_deinit(cst_voice* voice) {
  if (!voice || !feat_present(voice->features, "iconv_handler")) return;
  close_iconv_handler(val_iconvhand(feat_val(voice->features, "iconv_handler")));
  feat_remove(voice->features, "iconv_handler");
}
