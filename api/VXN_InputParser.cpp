// Silence tag recognition; see VXN_InputParser.h.
#include "api/VXN_InputParser.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>

#include "engine/VXN_misc.h"

CVxnInputParser::~CVxnInputParser() { VXN_free(body_); }

bool CVxnInputParser::ParsingText(const char* text) {
  if (!text) return false;
  const size_t len = strlen(text);
  if (len < 5 || len > INT_MAX) return false;
  const int n = (int)len;
  const int l = ForwardSearchChar(text, '<', n, 3);
  if (l < 0) return false;
  const int r = BackwardSearchChar(text, '>', n, 3);
  const int body_length = r - l - 1;
  if (r < 0 || body_length < 1) return false;
  char* body = (char*)VXN_calloc(body_length + 1, 1);
  if (!body) return false;
  memcpy(body, text + l + 1, body_length);
  VXN_free(body_);
  body_ = body;
  return true;
}

bool CVxnInputParser::GetTagState(const char* text) { return ParsingText(text); }

char* CVxnInputParser::GetText() { return body_; }

int CVxnInputParser::GetSilenceTime(const char* body, const char* key) {
  if (!body || !key) return 0;
  const size_t key_length = strlen(key);
  int value = 0;
  for (const char* eq = strchr(body, '='); eq; eq = strchr(eq + 1, '=')) {
    if ((size_t)(eq - body) != key_length || memcmp(body, key, key_length) != 0) continue;
    const long v = strtol(eq + 1, nullptr, 10);
    // Out-of-range numbers saturate rather than wrap.
    value = v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : (int)v;
  }
  return value;
}

int CVxnInputParser::ForwardSearchChar(const char* text, char c, int length, int limit) {
  if (!text) return -1;
  const int end = limit < length ? limit : length;
  for (int i = 0; i < end; ++i)
    if (text[i] == c) return i;
  return -1;
}

int CVxnInputParser::BackwardSearchChar(const char* text, char c, int length, int limit) {
  if (!text || limit < 0) return -1;
  const int start = length - limit > 0 ? length - limit : 0;
  for (int i = start; i < length; ++i)
    if (text[i] == c) return i;
  return -1;
}

int CVxnInputParser::GetUtf8ByteSize(const char* lead) {
  if (!lead) return -1;
  const unsigned char b = (unsigned char)*lead | 0x0F;
  if (b < 0x80) return 1;
  if (b == 0xCF || b == 0xDF) return 2;
  if (b == 0xEF) return 3;
  if (b == 0xFF) return 4;
  return -1;
}
