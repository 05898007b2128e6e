// Typography of the input step on arbitrary text: byte 0 selects the
// language (modulo 18) and whether the rest is read as UTF-8 or UTF-16.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "api/VXN_typography.h"
#include "engine/VXN_misc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int language = (data[0] & 0x7F) % 18;
  if (data[0] & 0x80) {
    // Exact-size unit copy, so that a read past the end is caught.
    std::vector<short> units((size - 1) / 2);
    if (!units.empty()) memcpy(units.data(), data + 1, units.size() * 2);
    int count = 0;
    short* out = VXN_typography_utf16(language, units.data(), (int)units.size(), &count);
    if (out && out[count] != 0) __builtin_trap();
    VXN_free(out);
  } else {
    std::vector<char> text(data + 1, data + size);
    text.push_back(0);
    char* out = VXN_typography_utf8(language, text.data());
    VXN_free(out);
  }
  return 0;
}
