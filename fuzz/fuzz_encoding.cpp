// UTF-16, GB2312 and UTF-8 converters on arbitrary bytes.
// Input layout: byte 0 selects the source mode of the to-UTF-8 path (bits 0-1:
// 0/2 UTF-16 little-endian, 1 big-endian, 3 GB2312), the iconv target (bits
// 2-3) and its output room (bits 4-7, times 4); the rest is the source text.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "api/VXN_encodingConverter.h"
#include "engine/VXN_misc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int mode = data[0] & 3;
  const int target = (data[0] >> 2) & 3;
  const int room = (data[0] >> 4) * 4;
  const uint8_t* src = data + 1;
  const int bytes = (int)(size - 1);
  CVxnEncodeConvert converter;

  // Exact-size copies so that any read past the source is caught; EUC-KR
  // needs up to one output byte per input byte plus the terminator.
  std::vector<uint8_t> in(src, src + bytes);
  std::vector<char> out(bytes + 1);
  converter.ConvertUtf16ToEuckr(out.data(), in.data(), bytes);
  converter.ConvertUtf16ToAscii(out.data(), in.data(), bytes);
  converter.ConvertUtf16ToAscii_2(out.data(), in.data(), bytes);
  converter.ConvertUtf16ToAscii_5(out.data(), in.data(), bytes);

  // Zero-terminated source: a NUL byte for GB2312, a zero unit for UTF-16.
  std::vector<uint8_t> terminated(src, src + bytes);
  terminated.insert(terminated.end(), 3, 0);
  converter.sourceMode = mode;
  char* utf8 = converter.ConvertUtf16orGB2312toUtf8(terminated.data());
  VXN_free(utf8);
  utf8 = converter.ConvertGB2312ToUtf8(reinterpret_cast<const char*>(terminated.data()));
  VXN_free(utf8);

  std::vector<char> limited(room + 1, 0);
  const char* text = reinterpret_cast<const char*>(terminated.data());
  // One iconv target per input: opening a converter dominates the run time.
  switch (target) {
    case 0: converter.ConvertUtf8ToEuckr(limited.data(), text, room); break;
    case 1: converter.ConvertUtf8ToAscii(limited.data(), text, room); break;
    case 2: converter.ConvertUtf8ToAscii_2(limited.data(), text, room); break;
    default: converter.ConvertUtf8ToAscii_5(limited.data(), text, room); break;
  }
  if (limited[room] != 0) __builtin_trap();  // wrote past the room it was given
  return 0;
}
