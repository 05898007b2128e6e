// Emoji transducer and single-symbol step on arbitrary bytes, for every
// language id. Input layout: the whole input is the text (NUL bytes end it).
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>

#include "api/VXN_preprocessing_single_symbol.h"
#include "emoji/VXN_preprocessing_emoji.h"
#include "engine/VXN_misc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* s = text.c_str();
  for (int language = -1; language <= 18; ++language) {
    CUtf8EmojiTransducer transducer(language, s);
    const std::string out = transducer.transform();
    // Without a substitution the text must come back byte for byte.
    if (!transducer.has_changed() && out != s) __builtin_trap();

    std::string copy(s);
    char* name = nullptr;
    if (VXN_single_symbol(&copy[0], language, &name)) {
      if (!name || !*name) __builtin_trap();
      VXN_free(name);
    }
  }
  return 0;
}
