#include "engine/VXN_misc.h"

#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <mutex>

int g_nStatePrint = 2;

void VXN_set_print_level(int level) { __atomic_store_n(&g_nStatePrint, level, __ATOMIC_RELAXED); }

static void vxn_vprint(const char* prefix, const char* format, va_list args) {
  fflush(stdout);
  flockfile(stderr);
  fflush(stderr);
  fputs(prefix, stderr);
  vfprintf(stderr, format, args);
  fflush(stderr);
  funlockfile(stderr);
}

void VXN_print(int level, const char* format, ...) {
  if (level < __atomic_load_n(&g_nStatePrint, __ATOMIC_RELAXED)) return;
  const char* prefix = level == VXN_LEVEL_DEBUG  ? "\nTTS_Debug: "
                       : level == VXN_LEVEL_INFO ? "\nTTS_Info: "
                                                 : "\nTTS_Fatal Error: ";
  va_list args;
  va_start(args, format);
  vxn_vprint(prefix, format, args);
  va_end(args);
}

void VXN_error(int level, const char* format, ...) {
  va_list args;
  va_start(args, format);
  vxn_vprint(level < 1 ? "\nTTS_Warning: " : "\nTTS_Error: ", format, args);
  va_end(args);
}

FILE* VXN_get_fp(const char* path, const char* mode) {
  FILE* fp = path ? fopen(path, mode) : NULL;
  if (!fp) VXN_print(VXN_LEVEL_ERROR, "VXN_get_fp: Cannot open %s.\n", path ? path : "(null)");
  return fp;
}

int VXN_byte_swap(void* data, int size, int count) {
  unsigned char* p = (unsigned char*)data;
  for (int i = 0; i < count; i++, p += size) {
    for (int j = 0; j < size / 2; j++) {
      unsigned char t = p[j];
      p[j] = p[size - 1 - j];
      p[size - 1 - j] = t;
    }
  }
  return count;
}

int VXN_fread_big_endian(void* data, int size, int count, FILE* fp) {
  int n = (int)fread(data, size, count, fp);
  VXN_byte_swap(data, size, n);
  return n;
}

int VXN_fwrite_little_endian(const void* data, int size, int count, FILE* fp) {
  fwrite(data, size, count, fp);
  return size * count;
}

static bool is_token_separator(int c) { return c == ' ' || c == '\n' || c == '\t'; }

enum { VXN_TOKEN_MAX = 1023 };

bool VXN_get_token(FILE* fp, char* buf) {
  buf[0] = '\0';
  if (feof(fp)) return false;
  int c = fgetc(fp);
  while (is_token_separator(c)) {
    c = fgetc(fp);
    if (c == EOF) return false;  // end of file reached while skipping
  }
  int n = 0;
  while (c != EOF && !is_token_separator(c)) {
    if (n < VXN_TOKEN_MAX) buf[n++] = (char)c;
    c = fgetc(fp);
  }
  buf[n] = '\0';
  return true;
}

bool VXN_get_token_from_string(const char* text, int* index, char* buf) {
  int i = *index;
  if (text[i] == '\0') return false;
  while (text[i] != '\0' && is_token_separator((unsigned char)text[i])) i++;
  int n = 0;
  while (text[i] != '\0' && !is_token_separator((unsigned char)text[i])) {
    if (n < VXN_TOKEN_MAX) buf[n++] = text[i];
    i++;
  }
  buf[n] = '\0';
  if (text[i] != '\0') i++;  // consume the separator that ended the token
  *index = i;
  return true;
}

char* VXN_get_pattern_token(FILE* fp, char* buf) {
  int c = fgetc(fp);
  while (c == ' ' || c == '\n') c = fgetc(fp);
  if (c == ',') {
    buf[0] = ',';
    buf[1] = '\0';
    return buf;
  }
  int n = 0;
  if (c == '\'' || c == '"') {
    const int quote = c;
    for (c = fgetc(fp); c != EOF && c != quote; c = fgetc(fp))
      if (n < VXN_TOKEN_MAX) buf[n++] = (char)c;
  } else {
    while (c != EOF && c != ' ' && c != '\n') {
      if (n < VXN_TOKEN_MAX) buf[n++] = (char)c;
      c = fgetc(fp);
    }
  }
  buf[n] = '\0';
  return buf + n;
}

void* VXN_calloc(size_t count, size_t size) {
  void* p = calloc(count ? count : 1, size ? size : 1);
  if (!p) VXN_print(VXN_LEVEL_ERROR, "error [1050]: Cannot allocate memory.\n");
  return p;
}

void VXN_free(void* p) { free(p); }

char* VXN_strdup(const char* s) {
  if (!s) return NULL;
  size_t n = strlen(s) + 1;
  char* p = (char*)calloc(n, 1);
  if (!p) {
    VXN_print(VXN_LEVEL_ERROR, "error [1050]: Cannot allocate memory with VXN calloc");
    return NULL;
  }
  memcpy(p, s, n);
  return p;
}

// Matrix blocks. Every sentence allocates its frame matrices afresh and frees
// them at its end; a block of a megabyte, fresh from the system, costs a page
// fault on first use of every 4 KB page, which made up half the time of
// parameter generation. So blocks of at least kKeepMin bytes are kept when
// freed (at most kKeptBlocks of them, kKeptBytes in all) and handed out again,
// zeroed, to a later request that they fit without wasting more than half;
// VXN_release_kept_blocks returns them to the system. Each block carries its
// size in a header in front of the data.
namespace {

const size_t kHeader = 64;  // keeps the data 64-byte aligned
const size_t kKeepMin = 64 * 1024;
const int kKeptBlocks = 8;
const size_t kKeptBytes = 32u << 20;

struct KeptBlocks {
  std::mutex mutex;
  char* blocks[kKeptBlocks] = {};
  size_t sizes[kKeptBlocks] = {};
  int count = 0;
  size_t bytes = 0;
};

KeptBlocks& kept() {
  static KeptBlocks k;
  return k;
}

size_t block_size(const char* data) { return *(const size_t*)(data - kHeader); }

// Data of a zeroed block of `bytes`, or null.
char* take_block(size_t bytes) {
  if (bytes >= kKeepMin) {
    KeptBlocks& k = kept();
    std::lock_guard<std::mutex> lock(k.mutex);
    int best = -1;
    for (int i = 0; i < k.count; i++)
      if (k.sizes[i] >= bytes && k.sizes[i] <= 2 * bytes && (best < 0 || k.sizes[i] < k.sizes[best]))
        best = i;
    if (best >= 0) {
      char* data = k.blocks[best];
      k.bytes -= k.sizes[best];
      k.blocks[best] = k.blocks[k.count - 1];
      k.sizes[best] = k.sizes[k.count - 1];
      k.count--;
      memset(data, 0, bytes);
      *(size_t*)(data - kHeader) = bytes;
      return data;
    }
  }
  char* base = (char*)calloc(1, kHeader + bytes);
  if (!base) return NULL;
  *(size_t*)base = bytes;
  return base + kHeader;
}

void give_block(char* data) {
  if (!data) return;
  const size_t bytes = block_size(data);
  if (bytes >= kKeepMin) {
    KeptBlocks& k = kept();
    std::lock_guard<std::mutex> lock(k.mutex);
    if (k.count < kKeptBlocks && k.bytes + bytes <= kKeptBytes) {
      k.blocks[k.count] = data;
      k.sizes[k.count] = bytes;
      k.count++;
      k.bytes += bytes;
      return;
    }
  }
  free(data - kHeader);
}

template <typename T>
T** alloc_matrix(int rows, int cols) {
  if (rows <= 0 || cols <= 0) return NULL;
  T** m = (T**)calloc((size_t)rows, sizeof(T*));
  if (!m) {
    VXN_print(VXN_LEVEL_ERROR, "error [1050]: Cannot allocate matrix.\n");
    return NULL;
  }
  const size_t count = (size_t)rows * (size_t)cols;
  T* block = count <= (SIZE_MAX - kHeader) / sizeof(T) ? (T*)take_block(count * sizeof(T)) : NULL;
  if (!block) {
    free(m);
    VXN_print(VXN_LEVEL_ERROR, "error [1050]: Cannot allocate matrix space.\n");
    return NULL;
  }
  for (int i = 0; i < rows; i++) m[i] = block + (size_t)i * cols;
  return m;
}

}  // namespace

float** VXN_alloc_matrix(int rows, int cols) { return alloc_matrix<float>(rows, cols); }

float** VXN_alloc_shared_rows(int frames, int rows, int cols) {
  if (frames <= 0) return NULL;
  float** shared = alloc_matrix<float>(rows, cols);
  if (!shared) return NULL;
  float** m = shared;
  if (frames != rows) {
    m = (float**)realloc(shared, (size_t)frames * sizeof(float*));
    if (!m) {
      VXN_free_matrix(shared, rows);
      VXN_print(VXN_LEVEL_ERROR, "error [1050]: Cannot allocate matrix.\n");
      return NULL;
    }
  }
  for (int t = 0; t < frames; t++) m[t] = m[0];
  return m;
}
double** VXN_alloc_matrix_double(int rows, int cols) { return alloc_matrix<double>(rows, cols); }

void VXN_free_matrix(float** m, int rows) {
  (void)rows;
  if (!m) return;
  give_block((char*)m[0]);
  free(m);
}

void VXN_free_matrix_double(double** m, int rows) {
  (void)rows;
  if (!m) return;
  give_block((char*)m[0]);
  free(m);
}

size_t VXN_kept_block_bytes(void) {
  KeptBlocks& k = kept();
  std::lock_guard<std::mutex> lock(k.mutex);
  return k.bytes;
}

void VXN_release_kept_blocks(void) {
  KeptBlocks& k = kept();
  std::lock_guard<std::mutex> lock(k.mutex);
  for (int i = 0; i < k.count; i++) free(k.blocks[i] - kHeader);
  k.count = 0;
  k.bytes = 0;
}
