// Fuzz target: the prosody database loader and, on what it accepts, the
// diphone index and a unit search over a sentence made of the phones of the
// first units. Input layout: the database file image itself
// (docs/prosody-database.md).
#include <stdint.h>
#include <stddef.h>

#include "engine/VXN_misc.h"
#include "engine/VXN_vsearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_nStatePrint = 3;
  VXN_VTContext vt = {};
  if (Hybrid_LoadingPD_from_memory(&vt, data, size, "fuzz") && Hybrid_DiphoneDB(&vt) &&
      vt.unit_count > 1) {
    const int L = vt.unit_count < 8 ? vt.unit_count : 8;
    vt.target_count = L - 1;
    vt.targets = (VXN_VTTarget*)VXN_calloc((size_t)(L - 1), sizeof(VXN_VTTarget));
    for (int k = 0; vt.targets && k + 1 < L; k++) {
      const VXN_VTUnit* u = &vt.units[k];
      VXN_VTTarget* t = &vt.targets[k];
      t->left = u->b[0];
      t->right = vt.units[k + 1].b[0];
      t->left_prev2 = u->b[1];
      t->left_prev = u->b[2];
      t->right_next = vt.units[k + 1].b[3];
      t->right_next2 = vt.units[k + 1].b[4] & 0x7f;
      t->left_voiced = (u->b[4] & VXN_VT_VOICED_MARK) != 0;
      t->right_voiced = k & 1;
    }
    if (vt.targets && Hybrid_VTInitialise(&vt) && Hybrid_VTSearch(&vt) && FindBestPath(&vt)) {
      volatile float sink = 0.0f;
      for (int k = 0; k < vt.target_count; k++) {
        const VXN_VTDiphone* e = vt.best_path[k].candidate->diphone;
        sink = sink + GetParameterSequence(&vt, e->left)[4] + GetParameterSequence(&vt, e->right)[0];
      }
      (void)sink;
    }
  }
  Hybrid_FreeDB(&vt);
  return 0;
}
