// Character-set conversion for the front end: iconv handles opened and closed
// here, and the extra value type "iconvhand" that lets a voice keep a handle as
// a feature. The value does not own the handle: common_deinit closes it.
// A handle must not be used by two threads at once.
#ifndef KVAP_ICONV_H
#define KVAP_ICONV_H

#include <stddef.h>

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

typedef void* kvap_iconv_t;  // an iconv_t

// Opens a conversion from `from` to `to`; reports "Could not open iconv handler
// for conversion %s -> %s.\n" and returns (kvap_iconv_t)-1 on failure.
VXN_EXPORT kvap_iconv_t open_iconv_handler(const char* to, const char* from);
VXN_EXPORT void close_iconv_handler(kvap_iconv_t handle);
// Converts all of `in` into `out` (room for outSize - 1 bytes plus the
// terminator). Returns 0 on success; on failure empties `out`, reports
// "iconv error - %s.\n" and returns non-zero. outSize 0 returns 0 at once.
VXN_EXPORT int simple_iconv(kvap_iconv_t handle, const char* in, char* out, size_t outSize);

// The "iconvhand" value type (Flite's free value slot 39).
extern const int cst_val_type_iconvhand;
VXN_EXPORT cst_val* iconvhand_val(kvap_iconv_t handle);
// The handle of an "iconvhand" value; (kvap_iconv_t)-1 for any other value.
VXN_EXPORT kvap_iconv_t val_iconvhand(const cst_val* v);

}  // extern "C"

#endif
