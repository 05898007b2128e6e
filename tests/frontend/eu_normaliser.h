// A European module's voice as vxn-g2p -l LANG -u builds it (UTF-8 in and
// out, or the module's own encoding), for the module tests.
#ifndef VXN_TEST_EU_NORMALISER_H
#define VXN_TEST_EU_NORMALISER_H

#include <string.h>

#include <string>
#include <vector>

#include "frontend/kvap_g2p.h"
#include "frontend/kvap_iconv.h"
#include "modules/common/eu_voice.h"

// A module voice as vxn-g2p -l LANG -u builds it: UTF-8 in, UTF-8 out.
class Normaliser {
 public:
  explicit Normaliser(const eu_language* lang, const char* input = "utf-8") {
    voice_ = eu_voice_new(lang, 0, nullptr, input);
    toUtf8_ = open_iconv_handler("utf-8", g2p_encoding(voice_));
  }
  ~Normaliser() {
    close_iconv_handler(toUtf8_);
    eu_voice_delete(voice_);
  }
  std::string run(const std::string& text, unsigned flags) {
    char** results = nullptr;
    int count = 0;
    g2p(voice_, text.c_str(), &results, &count, flags);
    std::string out = "<none>";
    if (count > 0 && results[0]) {
      std::vector<char> buf(2 * strlen(results[0]) + 1);
      out = simple_iconv(toUtf8_, results[0], buf.data(), buf.size()) == 0 ? buf.data() : "<iconv failed>";
    }
    free_g2p_results(results);
    return out;
  }
  cst_voice* voice() { return voice_; }

 private:
  cst_voice* voice_ = nullptr;
  kvap_iconv_t toUtf8_ = (kvap_iconv_t)-1;
};

inline std::string golden_dir(const char* lang) {
  return std::string(VXN_TEST_SOURCE_DIR) + "/tests/golden/" + lang;
}

#endif
