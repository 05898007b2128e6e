// Fuzz target: the voice description reader (<stem>.info beside a package).
// Input layout: the whole input is the file's text. An accepted description
// has an index in 0..99 and a kind among the four.
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "tools/common/VXN_voice_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VXN_VoiceInfo info;
  std::string error;
  if (VXN_VoiceInfo_parse(reinterpret_cast<const char*>(data), size, &info, &error)) {
    if (info.index < -1 || info.index > 99) abort();
    if (!info.kind.empty() && info.kind != "imported" && info.kind != "trained" &&
        info.kind != "converted" && info.kind != "derived")
      abort();
  } else if (error.empty()) {
    abort();  // a refusal always says why
  }
  return 0;
}
