#include "engine/VXN_misc.h"

#include <stdarg.h>
#include <stdlib.h>
#include <string.h>

int g_nStatePrint = 2;

static void vxn_vprint(const char* prefix, const char* format, va_list args) {
  fflush(stdout);
  fflush(stderr);
  fputs(prefix, stderr);
  vfprintf(stderr, format, args);
  fflush(stderr);
}

void VXN_print(int level, const char* format, ...) {
  if (level < g_nStatePrint) return;
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

template <typename T>
static T** alloc_matrix(int rows, int cols) {
  if (rows <= 0 || cols <= 0) return NULL;
  T** m = (T**)calloc((size_t)rows, sizeof(T*));
  if (!m) {
    VXN_print(VXN_LEVEL_ERROR, "error [1050]: Cannot allocate matrix.\n");
    return NULL;
  }
  T* block = (T*)calloc((size_t)rows * (size_t)cols, sizeof(T));
  if (!block) {
    free(m);
    VXN_print(VXN_LEVEL_ERROR, "error [1050]: Cannot allocate matrix space.\n");
    return NULL;
  }
  for (int i = 0; i < rows; i++) m[i] = block + (size_t)i * cols;
  return m;
}

float** VXN_alloc_matrix(int rows, int cols) { return alloc_matrix<float>(rows, cols); }
double** VXN_alloc_matrix_double(int rows, int cols) { return alloc_matrix<double>(rows, cols); }

void VXN_free_matrix(float** m, int rows) {
  (void)rows;
  if (!m) return;
  free(m[0]);
  free(m);
}

void VXN_free_matrix_double(double** m, int rows) {
  (void)rows;
  if (!m) return;
  free(m[0]);
  free(m);
}
