// Fuzz target: the speech-dispatcher module's message reader (SSML or plain
// text into text pieces and index marks). Input layout: the whole input is
// the message. Text pieces are never blank; a refusal always says why.
#include <stdint.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "tools/speechd/VXN_sd_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string message(reinterpret_cast<const char*>(data), size);
  std::vector<VXN_SdPiece> pieces;
  std::string error;
  const bool ok = VXN_sd_parse_ssml(message, &pieces, &error);
  if (!ok && error.empty()) abort();
  for (const VXN_SdPiece& p : pieces)
    if (!p.mark && p.value.find_first_not_of(" \t\r\n") == std::string::npos) abort();
  return 0;
}
