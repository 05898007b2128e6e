// Driver of the grapheme-to-phoneme command-line tools: option parsing into
// output flags and voice options, the module's init and deinit calls, and the
// line-by-line loop over standard input. Options arrays are owned by the
// caller of add_option (freed by app). Single-threaded.
#ifndef KVAP_APP_H
#define KVAP_APP_H

#include "frontend/kvap_opts.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

typedef cst_voice* (*kvap_init_func)(int multiplePronunciations, kvap_option* options);
typedef void (*kvap_deinit_func)(cst_voice* voice);

enum { KVAP_LINE_SIZE = 18432 };

// Parses argv; returns 1 on success, -2 for an unknown option, -10 for
// -version, -11 for -encoding, -1 when an option cannot be stored.
VXN_EXPORT int parse_options(int argc, char** argv, unsigned* flags, int* multiplePronunciations,
                             kvap_option** options);
// Appends a copy of (name, value) to the null-terminated options array; 0 on failure.
VXN_EXPORT int add_option(kvap_option** options, const char* name, const char* value);
VXN_EXPORT void free_options(kvap_option* options);
// Splits "name:value" (braces around either part are dropped); 1 on success.
VXN_EXPORT int get_name_val(const char* arg, char** name, char** value);
// Reads standard input line by line and writes the variants of each line.
VXN_EXPORT int run(cst_voice* voice, unsigned flags);
// The whole tool: returns the process exit status.
VXN_EXPORT int app(int argc, char** argv, kvap_init_func init, kvap_deinit_func deinit);

}  // extern "C"

#endif
