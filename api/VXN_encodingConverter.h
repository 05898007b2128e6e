// Text encoding converter: brings input text into the encoding each language
// analyzer reads (EUC-KR, ISO-8859-15/-2/-5, UTF-8). UTF-8 sources go through
// iconv; UTF-16 and GB2312 sources through tables generated at build time.
// Buffers returned by the to-UTF-8 conversions belong to the caller (release
// with VXN_free). Stateless apart from sourceMode; one thread per object.
#ifndef VXN_ENCODINGCONVERTER_H
#define VXN_ENCODINGCONVERTER_H

#include <stdint.h>

class CVxnEncodeConvert {
 public:
  CVxnEncodeConvert() = default;

  // UTF-8 (NUL-terminated src) to EUC-KR, ISO-8859-15, ISO-8859-2 and
  // ISO-8859-5; characters without a mapping are dropped. At most size bytes
  // are written to out and no terminator is added (out is caller-zeroed).
  // 0 on success, -1 when the converter cannot be opened or stops early
  // (output full or invalid input); the bytes converted so far stay in out.
  int ConvertUtf8ToEuckr(char* out, const char* src, int size);
  int ConvertUtf8ToAscii(char* out, const char* src, int size);
  int ConvertUtf8ToAscii_2(char* out, const char* src, int size);
  int ConvertUtf8ToAscii_5(char* out, const char* src, int size);

  // UTF-16 (bytes bytes; FE FF / FF FE byte-order mark honoured and skipped,
  // little-endian without one) to single/double-byte encodings. out is
  // NUL-terminated and needs room for bytes + 1 bytes (EUC-KR) or
  // bytes / 2 + 1 bytes (the ISO-8859 sets). Null out or src: nothing happens.
  void ConvertUtf16ToEuckr(char* out, const void* src, int bytes);
  void ConvertUtf16ToAscii(char* out, const void* src, int bytes);
  void ConvertUtf16ToAscii_2(char* out, const void* src, int bytes);
  void ConvertUtf16ToAscii_5(char* out, const void* src, int bytes);

  // UTF-16 (terminated by a zero unit; byte order by sourceMode) or GB2312
  // (sourceMode 3, NUL-terminated) to a new UTF-8 buffer; null for empty input
  // or when memory runs out.
  char* ConvertUtf16orGB2312toUtf8(const void* src);
  char* ConvertGB2312ToUtf8(const char* src);

  // 3 x the bytes before the first NUL, counting at most length (0 for null).
  int GetUtfSize(const unsigned char* text, int length);
  // 2 x the code units before the first zero unit, counting at most length.
  int GetUtfSize(const short* text, int length);

  // 1 UTF-16 big-endian, 3 GB2312, anything else UTF-16 little-endian.
  int32_t sourceMode = 0;
};

// Tables generated at build time by data/gen_encoding_tables.cpp.
extern const uint8_t VXN_utf16_euckr_table[65536][2];
extern const uint8_t VXN_latin2_table[128];
// GB2312 pair -> UTF-8 of its character, "" where the pair has none.
extern const char VXN_gb2312_utf8_table[87 * 94][4];

#endif
