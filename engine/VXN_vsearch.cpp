#include "engine/VXN_vsearch.h"

#include <string.h>

#include "engine/VXN_engine.h"

namespace {
struct VXN_UnitSelection {
  float* lf0_target;    // frame log-F0 target, one value per frame
  int lf0_target_count;
  int hybrid;
  float range;          // pitch range R (Hz)
  float expansion;      // E (Hz)
  float floor_hz;       // F (Hz)
};
VXN_UnitSelection g_vt = {NULL, 0, 0, 0.0f, 0.0f, 0.0f};
}  // namespace

int VXN_VT_is_hybrid(void) { return g_vt.hybrid; }

void VXN_VT_reset_hybrid(void) { g_vt.hybrid = 0; }

void VXN_VT_set_hybrid(int flag) { g_vt.hybrid = flag ? 1 : 0; }

void VXN_VT_initialize(const char* prosodyPath) {
  // The prosody database format has no loader yet: stay in basic mode rather
  // than run a search over an empty database.
  VXN_print(VXN_LEVEL_INFO, "Hybrid info : no unit database loader, basic mode for %s\n",
            prosodyPath ? prosodyPath : "(null)");
  Hybrid_close();
  g_vt.hybrid = 0;
}

void VXN_VT_clear(void) { Hybrid_close(); }

void VXN_VT_prosody_step(struct _VXN_SStreamSet* sss, struct _VXN_Label* label) {
  (void)sss;
  (void)label;
  // Any target of an earlier sentence is stale. Without a unit database there
  // is no search: generation keeps the model's log F0.
  Hybrid_close();
}

const float* VXN_VT_get_lf0_target(int* count) {
  if (count) *count = g_vt.lf0_target_count;
  return g_vt.lf0_target;
}

int VXN_VT_set_lf0_target(const float* values, int count) {
  Hybrid_close();
  if (!values || count <= 0) return 1;
  g_vt.lf0_target = (float*)VXN_calloc((size_t)count, sizeof(float));
  if (!g_vt.lf0_target) return 0;
  memcpy(g_vt.lf0_target, values, (size_t)count * sizeof(float));
  g_vt.lf0_target_count = count;
  return 1;
}

void Hybrid_close(void) {
  VXN_free(g_vt.lf0_target);
  g_vt.lf0_target = NULL;
  g_vt.lf0_target_count = 0;
}

void VXN_VT_get_pitch_range(float* range, float* expansion, float* floor_hz) {
  *range = g_vt.range;
  *expansion = g_vt.expansion;
  *floor_hz = g_vt.floor_hz;
}

void VXN_VT_set_pitch_range(float range, float expansion, float floor_hz) {
  g_vt.range = range;
  g_vt.expansion = expansion;
  g_vt.floor_hz = floor_hz;
}
