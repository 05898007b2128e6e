#include "frontend/synth_util.h"

#include <setjmp.h>
#include <string.h>

#include <mutex>

#include "frontend/intonation_common.h"
#include "frontend/lex_common.h"
#include "frontend/text_common.h"
#include "frontend/kvap_iconv.h"
#include "frontend/phrasing_common.h"
#include "frontend/postlex_common.h"

namespace {

// The slots live in a 16-bit sample buffer value: the utterance's feature set
// then frees them with the utterance. Choices first, counts after them.
const char kSlotFeature[] = "kvap_variant_slots";

struct ChainStep {
  const char* feature;
  cst_uttfunc fallback;
};

const ChainStep kChain[] = {
    {"convert_encoding_func", default_convert_encoding},
    {"preprocessing_func", default_preprocessing},
    {"tokenizer_func", default_tokenization},
    {"textanalysis_func", default_textanalysis},
    {"pos_tagger_func", default_pos_tagger},
    {"phonetic_pause_marker_func", default_phonetic_pause_marker},
    {"phrasing_func", default_phrasing},
    {"lexical_insertion_func", default_lexical_insertion},
    {"pause_insertion_func", default_pause_insertion},
    {"intonation_func", cart_intonation},
    {"postlex_wrapper_func", generic_postlex},
    {"transparent_pause_insertion_func", default_transparent_pause_insertion},
};
const int kNormSteps = 4;

cst_wave* slot_buffer(const cst_utterance* u) {
  if (!u || !feat_present(u->features, kSlotFeature)) return nullptr;
  return val_wave(feat_val(u->features, kSlotFeature));
}

cst_utterance* run_steps(cst_utterance* u, int count) {
  for (int i = 0; i < count && u; ++i) {
    cst_uttfunc fn = kvap_feature_uttfunc(u->features, kChain[i].feature);
    if (!fn) fn = kChain[i].fallback;
    u = fn(u);
  }
  return u;
}

// Flite's error jump is one pointer for the whole process: the chains of
// engines in different threads take turns (a chain may run another inside
// it), and the jump set by this thread's chain is also kept per thread.
std::recursive_mutex g_chain_mutex;
thread_local jmp_buf* t_chain_jump = nullptr;

// Flite reports fatal errors through cst_error(), which jumps to cst_errjmp
// when set and exits the process otherwise; the chain always sets it.
cst_utterance* guarded_steps(cst_utterance* u, int count) {
  std::lock_guard<std::recursive_mutex> lock(g_chain_mutex);
  jmp_buf env;
  jmp_buf* volatile saved = cst_errjmp;
  jmp_buf* volatile savedOwn = t_chain_jump;
  if (setjmp(env) != 0) {
    cst_errjmp = saved;
    t_chain_jump = savedOwn;
    return nullptr;
  }
  cst_errjmp = &env;
  t_chain_jump = &env;
  cst_utterance* r = run_steps(u, count);
  cst_errjmp = saved;
  t_chain_jump = savedOwn;
  return r;
}

cst_utterance* text_chain(const char* text, cst_voice* voice, cst_utterance* previous, int steps) {
  if (!text || !voice) return nullptr;
  cst_utterance* u = new_utterance();
  if (!utt_variants_advance(u, previous)) {
    delete_utterance(u);
    return nullptr;
  }
  feat_set_string(u->features, "input_text", text);
  u = utt_init(u, voice);
  if (!u) return nullptr;
  cst_utterance* r = guarded_steps(u, steps);
  if (!r) {
    delete_utterance(u);
    return nullptr;
  }
  return r;
}

bool is_in(char c, const char* set) { return c && strchr(set, c) != nullptr; }

}  // namespace

jmp_buf* kvap_chain_jump(void) { return t_chain_jump; }

cst_uttfunc kvap_feature_uttfunc(const cst_features* f, const char* name) {
  if (!f || !feat_present(f, name)) return nullptr;
  const cst_val* v = feat_val(f, name);
  if (!v || cst_val_consp(v) || CST_VAL_TYPE(v) != cst_val_type_uttfunc) return nullptr;
  return val_uttfunc(v);
}

short* utt_variant_choices(const cst_utterance* u) {
  cst_wave* w = slot_buffer(u);
  return w ? w->samples : nullptr;
}

short* utt_variant_counts(const cst_utterance* u) {
  cst_wave* w = slot_buffer(u);
  return w ? w->samples + KVAP_VARIANT_SLOTS : nullptr;
}

bool utt_variants_advance(cst_utterance* u, const cst_utterance* previous) {
  cst_wave* w = new_wave();
  cst_wave_resize(w, 2 * KVAP_VARIANT_SLOTS, 1);
  short* choice = w->samples;
  short* count = w->samples + KVAP_VARIANT_SLOTS;
  const short* pc = utt_variant_choices(previous);
  const short* pn = utt_variant_counts(previous);
  if (!pc) {
    for (int k = 0; k < KVAP_VARIANT_SLOTS; ++k) {
      choice[k] = -1;
      count[k] = 1;
    }
  } else {
    memcpy(choice, pc, KVAP_VARIANT_SLOTS * sizeof(short));
    memcpy(count, pn, KVAP_VARIANT_SLOTS * sizeof(short));
    int carry = 1;
    for (int k = 0; k < KVAP_VARIANT_SLOTS; ++k) {
      int n = count[k] < 1 ? 1 : count[k];
      int c = (choice[k] < 0 ? 0 : choice[k]) + carry;
      carry = c / n;
      if (k == KVAP_VARIANT_SLOTS - 1 && c == n) {
        delete_wave(w);
        return false;
      }
      choice[k] = (short)(c % n);
    }
  }
  feat_set(u->features, kSlotFeature, wave_val(w));
  return true;
}

cst_utterance* utt_init(cst_utterance* u, cst_voice* voice) {
  if (!u || !voice) return u;
  feat_copy_into(voice->features, u->features);
  feat_copy_into(voice->ffunctions, u->ffunctions);
  if (voice->utt_init) u = voice->utt_init(u, voice);
  return u;
}

cst_utterance* utt_synth(cst_utterance* u) {
  return u ? guarded_steps(u, (int)(sizeof(kChain) / sizeof(kChain[0]))) : nullptr;
}

cst_utterance* utt_norm(cst_utterance* u) { return u ? guarded_steps(u, kNormSteps) : nullptr; }

cst_utterance* flite_synth_text(const char* text, cst_voice* voice, cst_utterance* previous) {
  return text_chain(text, voice, previous, (int)(sizeof(kChain) / sizeof(kChain[0])));
}

cst_utterance* flite_norm_text(const char* text, cst_voice* voice, cst_utterance* previous) {
  return text_chain(text, voice, previous, kNormSteps);
}

cst_utterance* default_convert_encoding(cst_utterance* u) {
  if (!feat_present(u->features, "iconv_handler")) return u;
  kvap_iconv_t h = val_iconvhand(feat_val(u->features, "iconv_handler"));
  if (h == (kvap_iconv_t)-1) return u;
  const char* text = get_param_string(u->features, "input_text", "");
  // Single-byte to UTF-8 grows at most threefold; transliteration may write
  // several characters for one.
  size_t room = strlen(text) * 4 + 1;
  if (get_param_int(u->features, "kvap.iconv_translit", 0)) room *= 2;
  char* out = cst_alloc(char, room);
  if (simple_iconv(h, text, out, room) == 0) feat_set_string(u->features, "input_text", out);
  cst_free(out);
  return u;
}

cst_utterance* default_preprocessing(cst_utterance* u) {
  const char* text = get_param_string(u->features, "input_text", "");
  const char* white = get_param_string(u->features, "text_whitespace", " \t\n\r");
  size_t n = strlen(text);
  char* a = cst_alloc(char, n + 1);
  // Parenthesised text is dropped only when a closing bracket follows.
  size_t j = 0;
  bool omit = get_param_int(u->features, "kvap.omit_parenthesized", 0) != 0;
  for (size_t i = 0; i < n; ++i) {
    if (omit && text[i] == '(') {
      const char* close = strchr(text + i + 1, ')');
      if (close) {
        i = (size_t)(close - text);
        a[j++] = ' ';
        continue;
      }
    }
    a[j++] = text[i];
  }
  a[j] = '\0';
  // Whitespace directly before a final punctuation run is removed.
  char* b = cst_alloc(char, j + 1);
  size_t k = 0;
  for (size_t i = 0; i < j;) {
    if (is_in(a[i], white)) {
      size_t e = i;
      while (e < j && is_in(a[e], white)) ++e;
      size_t p = e;
      while (p < j && is_in(a[p], ".,:;!?")) ++p;
      if (p > e && (p == j || is_in(a[p], white))) {
        i = e;
        continue;
      }
      while (i < e) b[k++] = a[i++];
      continue;
    }
    b[k++] = a[i++];
  }
  b[k] = '\0';
  feat_set_string(u->features, "input_text", b);
  cst_free(a);
  cst_free(b);
  return u;
}
