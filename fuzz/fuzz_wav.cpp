// WAV parser: input is a whole file as bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/voicebuild/analysis/VXN_wav.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vxn::analysis::Wav wav;
  std::string error;
  if (vxn::analysis::parse_wav(data, size, "fuzz.wav", &wav, &error)) {
    volatile float sum = 0.0f;
    for (float v : wav.samples) sum = sum + v;
  }
  return 0;
}
