// Fuzz target for the US English text analysis: arbitrary bytes (read as
// ISO-8859-15 text, the module's encoding) go through the module's token
// rules, tagging, phrasing, lexicon and post-lexical rules, once for the
// normalised words and once for the phones. Byte 0 bit 0 chooses UTF-8 input
// instead (converted first, as the engine does).
#include <stdint.h>
#include <string.h>

#include <string>

#include "frontend/kvap_g2p.h"
#include "frontend/kvap_opts.h"
#include "modules/usen/usen_voice.h"

namespace {

const size_t kMaxText = 400;

cst_voice* voice(bool utf8) {
  static cst_voice* latin = usen_voice_new(0, nullptr, "iso-8859-15");
  static cst_voice* unicode = [] {
    cst_voice* v = usen_voice_new(0, nullptr, "iso-8859-15");
    char name[] = "kvap.input_encoding", value[] = "utf-8";
    char* pair[] = {name, value};
    kvap_option options[] = {pair, nullptr};
    set_ext_options(v, options);
    return v;
  }();
  return utf8 ? unicode : latin;
}

void run(cst_voice* v, const std::string& text, unsigned flags) {
  char** results = nullptr;
  int count = 0;
  g2p(v, text.c_str(), &results, &count, flags);
  free_g2p_results(results);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool utf8 = data[0] & 1;
  size_t n = size - 1 < kMaxText ? size - 1 : kMaxText;
  std::string text((const char*)data + 1, n);
  text = text.c_str();  // the entry takes a C string
  cst_voice* v = voice(utf8);
  const unsigned encoding = utf8 ? G2P_UTF8 : 0;
  run(v, text, G2P_NORM | encoding);
  run(v, text, G2P_PHONE_BOUNDARY | G2P_STRESS_MARK | encoding);
  return 0;
}
