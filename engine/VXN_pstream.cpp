#include "engine/VXN_pstream.h"

#include <string.h>

void VXN_PStreamSet_initialize(VXN_PStreamSet* pss) {
  pss->pstream = NULL;
  pss->nstream = 0;
  pss->total_frame = 0;
}

void VXN_PStreamSet_clear(VXN_PStreamSet* pss) { VXN_PStreamSet_initialize(pss); }

int VXN_PStreamSet_create(VXN_PStreamSet* pss, VXN_SStreamSet* sss, const float* msd_threshold,
                          const float* gv_weight) {
  (void)pss; (void)sss; (void)msd_threshold; (void)gv_weight;
  VXN_print(VXN_LEVEL_ERROR, "VXN_PStreamSet_create: parameter generation is not built yet\n");
  return -1;
}
