// Text encoding converter: brings input text into the encoding each language
// analyzer reads. Buffers returned by the to-UTF-8 conversions belong to the
// caller. Stateless apart from the source mode of the UTF-16/GB2312 path.
#ifndef VXN_ENCODINGCONVERTER_H
#define VXN_ENCODINGCONVERTER_H

#include <stdint.h>

class CVxnEncodeConvert {
 public:
  CVxnEncodeConvert() = default;

  // 1 UTF-16 big-endian, 3 GB2312, anything else UTF-16 little-endian.
  int32_t sourceMode = 0;
};

#endif
