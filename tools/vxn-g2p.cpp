// vxn-g2p: grapheme-to-phoneme conversion of standard input, one line at a
// time, in the output form the options select, with the voice of a language
// module (US English by default).
//
//   echo "Hello world." | vxn-g2p -pb -sm
//   hh ax l ow1 w er1 l d
//   echo "Um 20:15 Uhr." | vxn-g2p -l de_DE -norm -u
//   um zwanzig uhr fünfzehn
//
// Options: -l LANG (en_US, en_GB, en_AU, de_DE, es_ES, nl_NL, pt_BR, pt_PT, da_DK, sv_SE, fi_FI, nb_NO, fr_FR, it_IT, pl_PL, ru_RU), -wb -sb -pb -sm -tb -gb
// (decorations), -td -pd (detail lines), -norm -annontext -tts -ph -debug
// (output forms), -u (UTF-8 in and out), -b (blank line after each line),
// -mp (all pronunciation variants), -O name:value (voice option), -version,
// -encoding.
// Exit status: 0 success, 1 no voice or a failed run, 2 bad option.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "frontend/app.h"
#include "modules/common/eu_voice.h"
#include "modules/auen/auen_lang.h"
#include "modules/br/br_lang.h"
#include "modules/da/da_lang.h"
#include "modules/de/de_lang.h"
#include "modules/es/es_lang.h"
#include "modules/fi/fi_lang.h"
#include "modules/fr/fr_lang.h"
#include "modules/it/it_lang.h"
#include "modules/nb/nb_lang.h"
#include "modules/nl/nl_lang.h"
#include "modules/pl/pl_lang.h"
#include "modules/pt/pt_lang.h"
#include "modules/ru/ru_lang.h"
#include "modules/sv/sv_lang.h"
#include "modules/uken/uken_lang.h"
#include "modules/usen/usen_voice.h"

namespace {

struct Language {
  const char* code;
  const eu_language* european;  // null: US English
};

const Language kLanguages[] = {{"en_US", nullptr},      {"en_GB", &uken_language}, {"en_AU", &auen_language},
                               {"de_DE", &de_language}, {"es_ES", &es_language},   {"nl_NL", &nl_language},
                               {"pt_BR", &br_language}, {"pt_PT", &pt_language},   {"da_DK", &da_language},
                               {"sv_SE", &sv_language}, {"fi_FI", &fi_language},   {"nb_NO", &nb_language},
                               {"fr_FR", &fr_language}, {"it_IT", &it_language},
                               {"pl_PL", &pl_language}, {"ru_RU", &ru_language}};
const Language* g_language = &kLanguages[0];

cst_voice* init(int multiplePronunciations, kvap_option* options) {
  cst_voice* voice = g_language->european
                         ? eu_voice_new(g_language->european, multiplePronunciations, nullptr, nullptr)
                         : usen_voice_new(multiplePronunciations, nullptr, "iso-8859-15");
  if (voice) set_ext_options(voice, options);
  return voice;
}

void deinit(cst_voice* voice) {
  if (g_language->european)
    eu_voice_delete(voice);
  else
    usen_voice_delete(voice);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (strcmp(argv[i], "-l") != 0) {
      args.push_back(argv[i]);
      continue;
    }
    const char* code = i + 1 < argc ? argv[++i] : "";
    g_language = nullptr;
    for (const Language& l : kLanguages)
      if (strcmp(l.code, code) == 0) g_language = &l;
    if (!g_language) {
      std::string known;
      for (const Language& l : kLanguages) known += std::string(known.empty() ? "" : ", ") + l.code;
      fprintf(stderr, "vxn-g2p: unknown language '%s' for -l (%s)\n", code, known.c_str());
      return 2;
    }
  }
  args.push_back(nullptr);
  return app((int)args.size() - 1, args.data(), init, deinit);
}
