// The US English text transducer (source data/en_norm.wfst, compiled into this
// module at build time): rewrites time and day ranges, season and episode
// numbers, video formats, frame rates, surround layouts, speed factors and
// aspect ratios before tokenisation. Read-only after the first call; the
// first call may come from any thread.
#ifndef USEN_NORM_WFST_H
#define USEN_NORM_WFST_H

#include "frontend/wfst_common.h"

// The loaded transducer, valid for the life of the process (null only when the
// compiled data fail validation). Install it with
//   feat_set(voice->features, "norm_wfst", wfst_val(en_norm_wfst()));
// and use wfst_preprocessing as "preprocessing_func".
const VXN_Wfst* en_norm_wfst(void);

#endif
