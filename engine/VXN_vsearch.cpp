#include "engine/VXN_vsearch.h"

#include "engine/VXN_engine.h"

namespace {
struct VXN_UnitSelection {
  int hybrid;
};
VXN_UnitSelection g_vt = {0};
}  // namespace

int VXN_VT_is_hybrid(void) { return g_vt.hybrid; }

void VXN_VT_reset_hybrid(void) { g_vt.hybrid = 0; }

void VXN_VT_initialize(const char* prosodyPath) {
  // The prosody database format has no loader yet: stay in basic mode rather
  // than run a search over an empty database.
  VXN_print(VXN_LEVEL_INFO, "Hybrid info : no unit database loader, basic mode for %s\n",
            prosodyPath ? prosodyPath : "(null)");
  g_vt.hybrid = 0;
}

void VXN_VT_clear(void) {}
