// Label sequence of one sentence: full-context label strings with optional
// given durations and the speech-speed factor.
// Owns its entries and their strings; cleared between sentences by the engine
// record's refresh. Not thread-safe.
#ifndef VXN_LABEL_H
#define VXN_LABEL_H

#include <stdint.h>
#include <stdio.h>

#include "engine/VXN_misc.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _VXN_LabelString {
  struct _VXN_LabelString* next;
  char* name;                 // owned copy of the label string
  int32_t frame_specified;    // 1 when a duration was given
  float frame;                // given duration in frames (>= 1.0 when given)
  int32_t dur_rate;           // pause class 1..4
} VXN_LabelString;

typedef struct _VXN_Label {
  VXN_LabelString* head;
  uint32_t size;
  float speech_speed;         // 1.0 after initialisation
} VXN_Label;

void VXN_Label_initialize(VXN_Label* label);
int VXN_Label_load_from_fn(VXN_Label* label, int sampling_rate, int fperiod, const char* path);
void VXN_Label_load_from_fp(VXN_Label* label, int sampling_rate, int fperiod, FILE* fp);
void VXN_Label_load_from_string(VXN_Label* label, int sampling_rate, int fperiod, const char* text);
void VXN_Label_load_from_string_list(VXN_Label* label, int sampling_rate, int fperiod,
                                     char** lines, int count);
void VXN_Label_set_frame(VXN_Label* label, int index, float frame);
void VXN_Label_set_speech_speed(VXN_Label* label, float speed);
int VXN_Label_get_size(const VXN_Label* label);
const char* VXN_Label_get_string(const VXN_Label* label, int index);
int VXN_Label_get_dur_rate(const VXN_Label* label, int index);
int VXN_Label_get_frame_specified_flag(const VXN_Label* label, int index);
float VXN_Label_get_frame(const VXN_Label* label, int index);
float VXN_Label_get_speech_speed(const VXN_Label* label);
void VXN_Label_clear(VXN_Label* label);

#ifdef __cplusplus
}
#endif

#endif
