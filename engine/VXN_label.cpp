#include "engine/VXN_label.h"

#include <stdlib.h>
#include <string.h>

enum { VXN_LABEL_TOKEN_MAX = 1024 };

void VXN_Label_initialize(VXN_Label* label) {
  label->head = NULL;
  label->size = 0;
  label->speech_speed = 1.0f;
}

void VXN_Label_clear(VXN_Label* label) {
  for (VXN_LabelString* e = label->head; e;) {
    VXN_LabelString* next = e->next;
    VXN_free(e->name);
    VXN_free(e);
    e = next;
  }
  VXN_Label_initialize(label);
}

static bool is_graphic(unsigned char c) { return c >= 0x21 && c <= 0x7E; }

// Frames per 100-ns unit.
static float frame_rate(int sampling_rate, int fperiod) {
  return (float)sampling_rate / ((float)1.0e7 * (float)fperiod);
}

static VXN_LabelString* append_entry(VXN_Label* label) {
  VXN_LabelString* e = (VXN_LabelString*)VXN_calloc(1, sizeof(VXN_LabelString));
  if (!e) return NULL;
  VXN_LabelString** tail = &label->head;
  while (*tail) tail = &(*tail)->next;
  *tail = e;
  label->size++;
  return e;
}

static void set_timed(VXN_LabelString* e, const char* start, const char* end, float rate) {
  // Times are signed decimal integers; conversion stops at the first other
  // character. The difference is taken in double so that no value overflows.
  const double span = (double)strtoll(end, NULL, 10) - (double)strtoll(start, NULL, 10);
  e->frame_specified = 1;
  e->frame = (float)span * rate;
  if (!(e->frame >= 1.0f)) e->frame = 1.0f;
}

// Token loaders: '#' at character 3 or 4 marks a pause entry.
static int token_dur_rate(const char* s) {
  const size_t n = strlen(s);
  return ((n > 3 && s[3] == '#') || (n > 4 && s[4] == '#')) ? 2 : 1;
}

// List loader: the character after the '#' tells short, long or other pause.
static int list_dur_rate(const char* s) {
  const size_t n = strlen(s);
  int at = -1;
  if (n > 4 && s[4] == '#') at = 5;
  else if (n > 3 && s[3] == '#') at = 4;
  if (at < 0) return 1;
  if (s[at] == 's') return 2;
  if (s[at] == 'l') return 3;
  return 4;
}

static bool is_separator(int c) { return c == ' ' || c == '\n' || c == '\t'; }

// Token readers with the semantics of VXN_get_token and
// VXN_get_token_from_string, but they tell a token longer than
// VXN_LABEL_TOKEN_MAX - 1 bytes (*too_long; buf then holds its start).
typedef bool (*TokenReader)(void* source, int* index, char* buf, int* too_long);

static bool read_fp(void* source, int* index, char* buf, int* too_long) {
  (void)index;
  FILE* fp = (FILE*)source;
  buf[0] = '\0';
  *too_long = 0;
  if (feof(fp)) return false;
  int c = fgetc(fp);
  while (is_separator(c)) {
    c = fgetc(fp);
    if (c == EOF) return false;
  }
  int n = 0;
  while (c != EOF && !is_separator(c)) {
    if (n < VXN_LABEL_TOKEN_MAX - 1)
      buf[n++] = (char)c;
    else
      *too_long = 1;
    c = fgetc(fp);
  }
  buf[n] = '\0';
  return true;
}

static bool read_string(void* source, int* index, char* buf, int* too_long) {
  const char* text = (const char*)source;
  int i = *index;
  buf[0] = '\0';
  *too_long = 0;
  if (text[i] == '\0') return false;
  while (text[i] != '\0' && is_separator((unsigned char)text[i])) i++;
  int n = 0;
  while (text[i] != '\0' && !is_separator((unsigned char)text[i])) {
    if (n < VXN_LABEL_TOKEN_MAX - 1)
      buf[n++] = text[i];
    else
      *too_long = 1;
    i++;
  }
  buf[n] = '\0';
  if (text[i] != '\0') i++;
  *index = i;
  return true;
}

static void report_long_token(void) {
  VXN_print(VXN_LEVEL_ERROR,
            "error [2020] : A label token is longer than 1023 bytes; the entry is not loaded.\n");
}

static void load_tokens(VXN_Label* label, int sampling_rate, int fperiod, TokenReader next,
                        void* source) {
  if (label->head || label->size)
    VXN_print(VXN_LEVEL_ERROR, "error [2010] : label is not initialized.\n");
  const float rate = frame_rate(sampling_rate, fperiod);
  char token[VXN_LABEL_TOKEN_MAX];
  char start[VXN_LABEL_TOKEN_MAX];
  char end[VXN_LABEL_TOKEN_MAX];
  int index = 0, long_token = 0;
  while (next(source, &index, token, &long_token) && is_graphic((unsigned char)token[0])) {
    const int timed = token[0] >= '0' && token[0] <= '9';
    int rejected = long_token;
    if (timed) {
      memcpy(start, token, sizeof(start));
      if (!next(source, &index, end, &long_token)) end[0] = '\0';
      rejected |= long_token;
      if (!next(source, &index, token, &long_token)) token[0] = '\0';
      rejected |= long_token;
    }
    if (rejected) {
      report_long_token();
      continue;
    }
    VXN_LabelString* e = append_entry(label);
    if (!e) return;
    if (timed) set_timed(e, start, end, rate);
    e->name = VXN_strdup(token);
    e->dur_rate = token_dur_rate(token);
  }
}

int VXN_Label_load_from_fn(VXN_Label* label, int sampling_rate, int fperiod, const char* path) {
  FILE* fp = VXN_get_fp(path, "r");
  if (!fp) return 0;
  VXN_Label_load_from_fp(label, sampling_rate, fperiod, fp);
  fclose(fp);
  return 1;
}

void VXN_Label_load_from_fp(VXN_Label* label, int sampling_rate, int fperiod, FILE* fp) {
  load_tokens(label, sampling_rate, fperiod, read_fp, fp);
}

void VXN_Label_load_from_string(VXN_Label* label, int sampling_rate, int fperiod,
                                const char* text) {
  load_tokens(label, sampling_rate, fperiod, read_string, (void*)text);
}

void VXN_Label_load_from_string_list(VXN_Label* label, int sampling_rate, int fperiod,
                                     char** lines, int count) {
  if (label->head || label->size)
    VXN_print(VXN_LEVEL_ERROR, "VXN_Label_load_from_fp: label list is not initialized.\n");
  const float rate = frame_rate(sampling_rate, fperiod);
  for (int i = 0; i < count; i++) {
    const char* line = lines[i];
    if (!line || !is_graphic((unsigned char)line[0])) break;
    if (line[0] >= '0' && line[0] <= '9') {
      // Timed element: start, end and label string as tokens.
      char start[VXN_LABEL_TOKEN_MAX], end[VXN_LABEL_TOKEN_MAX], name[VXN_LABEL_TOKEN_MAX];
      int index = 0, too_long = 0, rejected = 0;
      read_string((void*)line, &index, start, &too_long);
      rejected |= too_long;
      read_string((void*)line, &index, end, &too_long);
      rejected |= too_long;
      read_string((void*)line, &index, name, &too_long);
      rejected |= too_long;
      if (rejected) {
        report_long_token();
        continue;
      }
      VXN_LabelString* e = append_entry(label);
      if (!e) return;
      set_timed(e, start, end, rate);
      e->name = VXN_strdup(name);
      e->dur_rate = list_dur_rate(line);
    } else {
      VXN_LabelString* e = append_entry(label);
      if (!e) return;
      e->name = VXN_strdup(line);
      e->dur_rate = list_dur_rate(line);
    }
  }
}

static VXN_LabelString* entry_at(const VXN_Label* label, int index) {
  if (index < 0 || (uint32_t)index >= label->size) return NULL;
  VXN_LabelString* e = label->head;
  for (int i = 0; e && i < index; i++) e = e->next;
  return e;
}

void VXN_Label_set_frame(VXN_Label* label, int index, float frame) {
  VXN_LabelString* e = entry_at(label, index);
  if (!e) return;
  if (frame > 0.0f) {
    e->frame_specified = 1;
    e->frame = frame;
  } else {
    e->frame_specified = 0;
    e->frame = 0.0f;
  }
}

void VXN_Label_set_speech_speed(VXN_Label* label, float speed) {
  if (speed > 0.0f && speed <= 10.0f) label->speech_speed = speed;
}

int VXN_Label_get_size(const VXN_Label* label) { return (int)label->size; }

const char* VXN_Label_get_string(const VXN_Label* label, int index) {
  VXN_LabelString* e = entry_at(label, index);
  return e ? e->name : NULL;
}

int VXN_Label_get_dur_rate(const VXN_Label* label, int index) {
  VXN_LabelString* e = entry_at(label, index);
  return e ? e->dur_rate : 0;
}

int VXN_Label_get_frame_specified_flag(const VXN_Label* label, int index) {
  VXN_LabelString* e = entry_at(label, index);
  return e ? e->frame_specified : 0;
}

float VXN_Label_get_frame(const VXN_Label* label, int index) {
  VXN_LabelString* e = entry_at(label, index);
  return e ? e->frame : 0.0f;
}

float VXN_Label_get_speech_speed(const VXN_Label* label) { return label->speech_speed; }
