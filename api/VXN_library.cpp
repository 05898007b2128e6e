// The shared engine library is assembled from the subsystem libraries; this
// unit only gives the target a source of its own.
#include "include/vxn_engine.h"
