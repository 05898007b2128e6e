#include "engine/VXN_model.h"

#include <string.h>

// Lifecycle and shape getters; the package reader and the lookups fill the rest.

void VXN_ModelSet_initialize(VXN_ModelSet* ms, int nstream) {
  memset(ms, 0, sizeof(*ms));
  ms->nstate = -1;
  ms->nstream = nstream;
}

void VXN_ModelSet_clear(VXN_ModelSet* ms) {
  if (ms->am_file) fclose(ms->am_file);
  VXN_ModelSet_initialize(ms, -1);
}

int VXN_ModelSet_get_nstate(const VXN_ModelSet* ms) { return ms->nstate; }
int VXN_ModelSet_get_nstream(const VXN_ModelSet* ms) { return ms->nstream; }
int VXN_ModelSet_get_vector_length(const VXN_ModelSet* ms, int stream) {
  return ms->stream[stream].vector_length;
}
int VXN_ModelSet_is_msd(const VXN_ModelSet* ms, int stream) { return ms->stream[stream].msd_flag; }
int VXN_ModelSet_get_window_size(const VXN_ModelSet* ms, int stream) {
  return ms->stream[stream].window.size;
}
int VXN_ModelSet_use_gv(const VXN_ModelSet* ms, int stream) {
  return ms->gv && ms->gv[stream].vector_length >= 1;
}
