// label_dump: writes the full-context labels that a language's front end
// makes for each line of text (one label per line), for measuring how voices
// answer our labels (vxn-voice coverage).
//   label_dump LANGUAGE_ID VOICE_DIR < sentences.txt > labels.lab
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/VXN_engine.h"
#include "engine/VXN_label.h"
#include "lang/VXN_language.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: label_dump LANGUAGE_ID VOICE_DIR < text > labels\n");
    return 2;
  }
  const std::string base = std::string(argv[2]) + "/";
  std::string model = base + "Model/", lib = base + "Lib/", data = base + "Data/", dict = base;
  CVxnLanguage host;
  host.languageId = std::atoi(argv[1]);
  VXN_Engine_initialize(&host.engine, 3);
  host.LangInitialLoad(&model[0], &lib[0], &data[0], &dict[0]);
  if (!host.HasAnalyzer()) {
    std::fprintf(stderr, "label_dump: no analyzer for language %s in %s\n", argv[1], lib.c_str());
    VXN_Engine_clear(&host.engine);
    return 1;
  }
  char line[4096];
  long labels = 0;
  while (std::fgets(line, sizeof line, stdin)) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text.empty()) continue;
    host.LangRefreshInput();
    for (int pass = 0; pass < 1000; ++pass) {
      VXN_Engine_refresh(&host.engine);
      host.LangTextPreprocessFirst(&text[0]);
      if (host.LangTextAnalyze(&text[0]) > 0) {
        host.SetLabel();
        for (int i = 0; i < VXN_Label_get_size(&host.engine.label); ++i, ++labels)
          std::printf("%s\n", VXN_Label_get_string(&host.engine.label, i));
      }
      if (host.GetProcInTxt()) break;
    }
  }
  host.LangCloseModule();
  VXN_Engine_clear(&host.engine);
  std::fprintf(stderr, "label_dump: %ld labels\n", labels);
  return 0;
}
