// Label-driven synthesis for tools: a label file becomes one piece of speech
// through the same pipeline stages and callback protocol as analysed text.
#include <stdio.h>

#include "api/VXN_TimeCheck.h"
#include "engine/VXN_engine.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"

// A call that needs a language (VXNSetLanguage) before it, or after VXNFree.
static const char* const kNoLanguage =
    "Not initialized in %s\n";
// A null pointer where the call needs text, a path or an output buffer.
static const char* const kNullInput = "Null input parameter in the %s\n";

int CVxnSynth::VXNStartStreamingPlayLabels(const char* labelPath) {
  if (!labelPath) {
    VXN_print(VXN_LEVEL_ERROR, kNullInput, "VXNStartStreamingPlayLabels");
    return 0;
  }
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNStartStreamingPlayLabels");
    return 0;
  }
  VXN_Engine* engine = &language->engine;
  if (VXN_ModelSet_get_nstate(&engine->ms) < 1 || !engine->ms.stream) {
    VXN_print(VXN_LEVEL_ERROR, "VXNStartStreamingPlayLabels: no voice is loaded\n");
    return 0;
  }
  VXNRefresh();
  if (!VXN_Engine_load_label_from_fn(engine, labelPath)) return 0;
  if (VXN_Label_get_size(&engine->label) < 1) {
    VXN_print(VXN_LEVEL_ERROR, "VXNStartStreamingPlayLabels: %s holds no label\n", labelPath);
    return 0;
  }
  if (language->speed != 1.0f) VXN_Label_set_speech_speed(&engine->label, language->speed);
  engine->ms.pause_mode = 0;
  engine->ms.pause_frames = 0.0f;
  engine->last_piece = 1;
  if (VXN_Engine_get_control_state(engine) == 0) return 1;
  timer->GetStartTimeTick(timeLog);
  VXN_Engine_create_sstream(engine, 0, 0);
  engine->stage_time[1] = timer->GetTimeDuration(timeLog);
  timer->GetStartTimeTick(timeLog);
  if (VXN_Engine_create_pstream(engine) < 0) return 0;
  engine->stage_time[2] = timer->GetTimeDuration(timeLog);
  if (VXN_Engine_get_control_state(engine) == 0) return 1;
  timer->GetStartTimeTick(timeLog);
  const int result = VXN_Engine_create_gstream(engine);
  engine->stage_time[3] = timer->GetTimeDuration(timeLog);
  return result >= 0 ? 1 : 0;
}
