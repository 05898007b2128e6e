#include "engine/VXN_sstream.h"

#include <string.h>

void VXN_SStreamSet_initialize(VXN_SStreamSet* sss) {
  const char type = sss->sentence_type;
  memset(sss, 0, sizeof(*sss));
  sss->sentence_type = type;
  sss->output_gain = 1.0f;
}

void VXN_SStreamSet_clear(VXN_SStreamSet* sss) { VXN_SStreamSet_initialize(sss); }

void VXN_SStreamSet_create(VXN_SStreamSet* sss, VXN_ModelSet* ms, VXN_Label* label,
                           float* duration_iw, float** parameter_iw, float** gv_iw,
                           int delete_start_pause, int delete_end_pause) {
  (void)sss; (void)ms; (void)label; (void)duration_iw; (void)parameter_iw; (void)gv_iw;
  (void)delete_start_pause; (void)delete_end_pause;
  VXN_print(VXN_LEVEL_ERROR, "VXN_SStreamSet_create: state streams are not built yet\n");
}

int VXN_SStreamSet_get_duration(const VXN_SStreamSet* sss, int state) {
  return sss->duration[state];
}
