// Shared services of the engine: the levelled diagnostic printer, allocation
// helpers, token readers for the loaders and byte-order routines.
// Owns nothing. The print level is process-wide and unguarded: one thread at a
// time. Every allocation of the procedural core goes through VXN_calloc.
#ifndef VXN_MISC_H
#define VXN_MISC_H

#include <stddef.h>
#include <stdio.h>

#define VXN_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

// Diagnostic levels.
enum { VXN_LEVEL_DEBUG = 0, VXN_LEVEL_INFO = 1, VXN_LEVEL_ERROR = 2 };

// Messages below this level are suppressed; default 2. The level is one
// setting for the whole process; change it with VXN_set_print_level when
// other threads may be printing.
extern VXN_EXPORT int g_nStatePrint;
VXN_EXPORT void VXN_set_print_level(int level);

// Prints when level >= g_nStatePrint, with "\nTTS_Debug: ", "\nTTS_Info: " or
// "\nTTS_Fatal Error: " in front; messages from different threads do not
// interleave.
VXN_EXPORT void VXN_print(int level, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// Always prints, with "\nTTS_Warning: " (level < 1) or "\nTTS_Error: ".
VXN_EXPORT void VXN_error(int level, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Opens a file; prints "VXN_get_fp: Cannot open %s.\n" and returns null on failure.
FILE* VXN_get_fp(const char* path, const char* mode);

// Reverses the bytes of each of count elements of size bytes; returns count.
int VXN_byte_swap(void* data, int size, int count);
// Reads up to count elements and byte-swaps each one read; returns the count read.
int VXN_fread_big_endian(void* data, int size, int count, FILE* fp);
// Writes the elements unchanged (the host is little-endian); returns size * count.
int VXN_fwrite_little_endian(const void* data, int size, int count, FILE* fp);

// Whitespace-separated token from a stream into buf (room for 1024 bytes).
// False when the stream is already at its end.
bool VXN_get_token(FILE* fp, char* buf);
// The same on a string from *index, which is advanced past the token.
bool VXN_get_token_from_string(const char* text, int* index, char* buf);
// Question-pattern token: quoted tokens keep their blanks, "," is a token.
// Returns the terminating NUL of the token, or buf for the comma token.
char* VXN_get_pattern_token(FILE* fp, char* buf);

// Zeroed allocation; reports "error [1050]: Cannot allocate memory.\n" and
// returns null on failure.
void* VXN_calloc(size_t count, size_t size);
void VXN_free(void* p);
char* VXN_strdup(const char* s);
// Row pointers into one contiguous zeroed block; freed with VXN_free_matrix.
// Freed blocks of 64 KB and more are kept (at most 8, 32 MB) for the next
// sentence's matrices instead of going back to the system at once.
float** VXN_alloc_matrix(int rows, int cols);
double** VXN_alloc_matrix_double(int rows, int cols);
void VXN_free_matrix(float** m, int rows);
// frames row pointers, all to the first of `rows` zeroed rows of one block, for
// a matrix whose frames share rows (the caller points them); freed with
// VXN_free_matrix, so the first pointer must stay at the first row.
float** VXN_alloc_shared_rows(int frames, int rows, int cols);
void VXN_free_matrix_double(double** m, int rows);
// Bytes of freed matrix blocks kept for reuse; and their release (an engine
// does it when it is cleared).
size_t VXN_kept_block_bytes(void);
void VXN_release_kept_blocks(void);

#ifdef __cplusplus
}
#endif

#endif
