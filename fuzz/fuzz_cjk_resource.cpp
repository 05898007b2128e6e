// The resource file parser of the Korean and Chinese analyzers on arbitrary
// bytes: the whole input is one file.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "modules/cjk/cjk_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cjk::ResourceFile f;
  if (f.Parse(std::string((const char*)data, size), "fuzz")) {
    f.Value("a", "b", "");
    f.IntValue("settings", "max_phrase_syllables", 0);
  }
  return 0;
}
