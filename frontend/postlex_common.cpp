#include "frontend/postlex_common.h"

#include "frontend/synth_util.h"

cst_utterance* generic_postlex(cst_utterance* u) {
  if (get_param_int(u->features, "kvap.no_postlex", 0)) return u;
  cst_uttfunc f = kvap_feature_uttfunc(u->features, "postlex_func");
  return f ? f(u) : u;
}
