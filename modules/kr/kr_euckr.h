// EUC-KR input of the Korean analyzer as code points with byte offsets.
// Stateless; each call opens and closes its own converter.
#ifndef KR_EUCKR_H
#define KR_EUCKR_H

#include <stddef.h>

#include "modules/cjk/cjk_text.h"

namespace kr {

// Bytes below 0x80 are ASCII; a pair of bytes 0xA1..0xFE is one KS X 1001
// character. Any other byte, and a pair without a character, is skipped.
cjk::Text DecodeEucKr(const char* bytes, size_t length);

}  // namespace kr

#endif
