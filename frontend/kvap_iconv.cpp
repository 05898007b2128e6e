#include "frontend/kvap_iconv.h"

#include <errno.h>
#include <iconv.h>
#include <string.h>

// Flite's value-type table leaves slot 39 unused; values of this type carry no
// delete function, so deleting the value leaves the handle open.
const int cst_val_type_iconvhand = 39;

kvap_iconv_t open_iconv_handler(const char* to, const char* from) {
  iconv_t h = iconv_open(to, from);
  if (h == (iconv_t)-1) {
    cst_errmsg("Could not open iconv handler for conversion %s -> %s.\n", from, to);
    return (kvap_iconv_t)-1;
  }
  return (kvap_iconv_t)h;
}

void close_iconv_handler(kvap_iconv_t handle) {
  if (handle && handle != (kvap_iconv_t)-1) iconv_close((iconv_t)handle);
}

int simple_iconv(kvap_iconv_t handle, const char* in, char* out, size_t outSize) {
  if (outSize == 0) return 0;
  out[0] = '\0';
  if (!in || handle == (kvap_iconv_t)-1 || !handle) {
    cst_errmsg("iconv error - %s.\n", "unknown error");
    return 1;
  }
  iconv((iconv_t)handle, nullptr, nullptr, nullptr, nullptr);  // reset shift state
  char* src = const_cast<char*>(in);
  size_t srcLeft = strlen(in);
  char* dst = out;
  size_t dstLeft = outSize - 1;
  size_t r = iconv((iconv_t)handle, &src, &srcLeft, &dst, &dstLeft);
  // With //IGNORE, glibc converts everything it can and still reports EILSEQ
  // for the characters it skipped: the whole input was read, so it succeeded.
  if (r == (size_t)-1 && errno == EILSEQ && srcLeft == 0) r = 0;
  if (r == (size_t)-1) {
    const char* why;
    switch (errno) {
      case E2BIG: why = "not sufficient room in the output buffer"; break;
      case EINVAL: why = "an incomplete multibyte sequence has been encountered in the input"; break;
      case EILSEQ: why = "an invalid multibyte sequence has been encountered in the input"; break;
      default: why = "unknown error"; break;
    }
    out[0] = '\0';
    cst_errmsg("iconv error - %s.\n", why);
    return 1;
  }
  *dst = '\0';
  return 0;
}

cst_val* iconvhand_val(kvap_iconv_t handle) { return val_new_typed(cst_val_type_iconvhand, handle); }

kvap_iconv_t val_iconvhand(const cst_val* v) {
  if (!v || cst_val_consp(v) || CST_VAL_TYPE(v) != cst_val_type_iconvhand) return (kvap_iconv_t)-1;
  return (kvap_iconv_t)CST_VAL_VOID(v);
}
