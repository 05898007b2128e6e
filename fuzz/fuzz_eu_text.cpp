// Fuzz target for the text path of a European module (built once per
// module: fuzz_de_text, fuzz_es_text, fuzz_uken_text, fuzz_fr_text, ...):
// arbitrary bytes, read as text in the module's encoding, go through the
// token rules, the lexicon and its letter-to-sound rules, syllables,
// phrasing and post-lexical rules, and every segment's label row is formed.
// Byte 0 bit 0 chooses UTF-8 input instead (converted first).
#include <stdint.h>
#include <string.h>

#include <string>

#include "frontend/kvap_g2p.h"
#include "frontend/synth_util.h"
#include "modules/common/eu_voice.h"
#include "modules/auen/auen_lang.h"
#include "modules/br/br_lang.h"
#include "modules/da/da_lang.h"
#include "modules/de/de_lang.h"
#include "modules/es/es_lang.h"
#include "modules/fi/fi_lang.h"
#include "modules/nb/nb_lang.h"
#include "modules/nl/nl_lang.h"
#include "modules/pl/pl_lang.h"
#include "modules/pt/pt_lang.h"
#include "modules/ru/ru_lang.h"
#include "modules/sv/sv_lang.h"
#include "modules/fr/fr_lang.h"
#include "modules/it/it_lang.h"
#include "modules/uken/uken_lang.h"

namespace {

const size_t kMaxText = 400;

cst_voice* voice(bool utf8) {
  static cst_voice* own = eu_voice_new(&VXN_FUZZ_LANGUAGE, 0, nullptr, nullptr);
  static cst_voice* unicode = eu_voice_new(&VXN_FUZZ_LANGUAGE, 0, nullptr, "utf-8");
  return utf8 ? unicode : own;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool utf8 = data[0] & 1;
  size_t n = size - 1 < kMaxText ? size - 1 : kMaxText;
  std::string text((const char*)data + 1, n);
  text = text.c_str();  // the module takes a C string
  cst_utterance* u = flite_synth_text(text.c_str(), voice(utf8), nullptr);
  if (u) {
    char row[300];
    for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s))
      gen_HTS_features(s, row, sizeof row);
    delete_utterance(u);
  }
  return 0;
}
