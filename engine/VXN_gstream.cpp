#include "engine/VXN_gstream.h"

#include "engine/VXN_misc.h"

void VXN_GStreamSet_initialize(VXN_GStreamSet* gss) {
  gss->total_nsample = 0;
  gss->total_frame = 0;
  gss->nstream = 0;
  gss->speech = NULL;
}

void VXN_GStreamSet_clear(VXN_GStreamSet* gss) {
  VXN_free(gss->speech);
  VXN_GStreamSet_initialize(gss);
}

int VXN_GStreamSet_get_total_nsample(const VXN_GStreamSet* gss) { return gss->total_nsample; }

int VXN_GStreamSet_create(struct _VXN_Engine* engine) {
  (void)engine;
  VXN_print(VXN_LEVEL_ERROR, "VXN_GStreamSet_create: speech generation is not built yet\n");
  return -1;
}
