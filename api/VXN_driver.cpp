// Streaming synthesis driver: the three synthesis entries of the facade. Each
// brings the text into the analyzer's encoding, then loops over pieces:
// analyse, load the labels, build state and parameter streams and generate the
// speech, which the frame loop delivers through the stream callback.
// Every buffer made here (replacement text, emoji copy, typeset copy,
// conversion buffer, piece buffers) is released before the entry returns.
// All three entries poll the stop request at the same points (before the
// analysis, after it, before each of the three generation stages) and skip a
// piece whose parameters could not be generated. Without an analyzer every
// pass yields nothing, so a call ends with the end notice alone.
#include <string.h>
#include <unistd.h>

#include <vector>

#include "api/VXN_TimeCheck.h"
#include "api/VXN_driver_text.h"
#include "api/VXN_encodingConverter.h"
#include "api/VXN_typography.h"
#include "engine/VXN_engine.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"

namespace {

const int kSliceMicroseconds = 10000;
// An analyzer that keeps saying "nothing here, text not done" would hold the
// call forever; after this many such passes in a row the driver gives up.
const int kMaxIdlePasses = 256;
// A call that needs a language (VXNSetLanguage) before it, or after VXNFree.
const char* const kNoLanguage =
    "Not initialized in %s\n";
// A null pointer where the call needs text, a path or an output buffer.
const char* const kNullInput = "Null input parameter in the %s";
const char* const kAllocFailed = "Cannot Allocate the Memory with VXN_calloc";

enum Entry { kUtf8Entry, kUtf16Entry, kEncodedEntry };

struct DriverCall {
  CVxnSynth* synth;
  CVxnLanguage* language;
  CVxnTimeCheck* timer;
  int timeLog;
  Entry entry;
  int pauseFlag;
  int pauseMs;
  VXNLabelCallback labelCallback;
  void* labelUser;
};

bool stopped(const VXN_Engine* engine) { return VXN_Engine_get_control_state(engine) == 0; }

// Checks of an entry before its text is read: false when the call is refused
// (a negative length, no voice loaded); a zero length with text and a stop
// still pending are reported, and the call ends with the end notice alone.
bool may_speak(CVxnLanguage* language, const char* call, int length, bool hasText) {
  if (length < 0) {
    VXN_print(VXN_LEVEL_ERROR,
              "error [0070] : %s: the text length %d is negative; nothing is spoken.\n", call,
              length);
    return false;
  }
  const VXN_Engine* engine = &language->engine;
  if (VXN_ModelSet_get_nstate(&engine->ms) < 1 || !engine->ms.stream) {
    VXN_print(VXN_LEVEL_ERROR,
              "error [0080] : %s: no voice is loaded (VXNInit has not succeeded); nothing is "
              "spoken.\n", call);
    return false;
  }
  if (length == 0 && hasText)
    VXN_print(VXN_LEVEL_ERROR, "error [0070] : %s: the text length is 0; nothing is spoken.\n",
              call);
  if (stopped(engine))
    VXN_print(VXN_LEVEL_ERROR,
              "error [0090] : %s: a stop is pending (VXNSetControlStop); nothing is spoken until "
              "VXNSetControlStart.\n", call);
  return true;
}

// Sleeps `slices` slices of 10 ms, cut short by a stop request.
void pace(const VXN_Engine* engine, int slices) {
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  slices = 0;
#endif
  for (int i = 0; i < slices && !stopped(engine); i++) usleep(kSliceMicroseconds);
}

void end_notice(VXN_Engine* engine) {
  if (!engine->stream_callback) return;
  short* chunk = engine->ring_buffer
                     ? engine->ring_buffer + (size_t)engine->chunk_index * engine->chunk_size
                     : nullptr;
  engine->stream_callback(chunk, 0, 1);
}

// One piece of the text: cut and analyse it. Returns the analysis result.
int analyse_piece(const DriverCall& call, char* text) {
  CVxnLanguage* language = call.language;
  if (language->languageId == 0) {
    // Every byte may gain a comma in front of it at most.
    const size_t n = strlen(text);
    char* piece = static_cast<char*>(VXN_calloc(2 * n + 256, 1));
    if (!piece) return 0;
    VXN_driver_text_split(text, piece);
    language->LangTextPreprocessFirst(piece);
    const int result = language->LangTextAnalyze(piece);
    VXN_free(piece);
    return result;
  }
  language->LangTextPreprocessFirst(text);
  if (stopped(&language->engine)) return 0;
  return language->LangTextAnalyze(text);
}

// Hands the piece's labels to the host's label callback; true when the host
// asks to skip the piece's synthesis.
bool report_labels(const DriverCall& call) {
  const VXN_Label* label = &call.language->engine.label;
  std::vector<const char*> names;
  for (const VXN_LabelString* l = label->head; l; l = l->next) names.push_back(l->name);
  return call.labelCallback(names.data(), (int)names.size(), call.labelUser) != 0;
}

// Parameter and speech generation of a piece whose labels are ready.
// False when a stop request ends the call; *skipped when the host's label
// callback asked for analysis only.
bool synthesise_piece(const DriverCall& call, bool* skipped) {
  CVxnLanguage* language = call.language;
  VXN_Engine* engine = &language->engine;
  if (language->speed != 1.0f) VXN_Label_set_speech_speed(&engine->label, language->speed);
  language->SetLabel();
  *skipped = call.labelCallback && report_labels(call);
  if (*skipped) return true;
  call.timer->GetStartTimeTick(call.timeLog);
  engine->ms.pause_mode = call.pauseFlag == 1 ? 1 : 0;
  engine->ms.pause_frames = call.pauseFlag == 1 ? (float)(call.pauseMs / 5.0) : 0.0f;
  const bool normalCur = language->GetNormalCur();
  const bool normalPrev = language->GetNormalPrev();
  if (stopped(engine)) return false;
  if (call.entry == kUtf16Entry)
    VXN_print(VXN_LEVEL_INFO, engine->hybrid_active ? "Hybrid info : hybrid sstream\n"
                                                    : "Hybrid info : basic sstream\n");
  VXN_Engine_create_sstream(engine, normalPrev == 0, normalCur == 0);
  engine->stage_time[1] = call.timer->GetTimeDuration(call.timeLog);
  call.timer->WriteLog(call.timeLog, 1, engine->stage_time[1]);
  call.timer->GetStartTimeTick(call.timeLog);
  if (stopped(engine)) return false;
  // A piece whose parameters could not be generated is skipped.
  if (VXN_Engine_create_pstream(engine) < 0) return true;
  engine->stage_time[2] = call.timer->GetTimeDuration(call.timeLog);
  call.timer->WriteLog(call.timeLog, 2, engine->stage_time[2]);
  call.timer->GetStartTimeTick(call.timeLog);
  if (stopped(engine)) return false;
  if (VXN_Engine_create_gstream(engine) >= 0) {
    engine->stage_time[3] = call.timer->GetTimeDuration(call.timeLog);
    engine->total_time = engine->stage_time[0] + engine->stage_time[1] +
                         engine->stage_time[2] + engine->stage_time[3];
    call.timer->WriteLog(call.timeLog, 3, engine->stage_time[3]);
  }
  return true;
}

// The pass loop shared by the three entries; `text` is the whole text in the
// analyzer's encoding. Returns the last analysis result, or 0 when the last
// piece was analysed only (so that the end notice still closes the call).
int run_passes(const DriverCall& call, char* text) {
  CVxnLanguage* language = call.language;
  VXN_Engine* engine = &language->engine;
  int result = 0;
  int idle = 0;
  bool skipped = false;
  for (int pass = 1;; pass++) {
    call.synth->VXNRefresh();
    const int processed = language->GetPorcessedTextLength();
    if (call.entry == kUtf8Entry) {
      VXN_print(VXN_LEVEL_INFO, "process length is: %d\n", processed);
      pace(engine, pass == 1 ? 0 : (pass == 2 && processed <= 9) ? 2 : 10);
    }
    if (stopped(engine)) break;
    call.timer->GetStartTimeTick(call.timeLog);
    engine->stage_time[0] = call.timer->GetTimeDuration(call.timeLog);
    call.timer->WriteLog(call.timeLog, 0, engine->stage_time[0]);

    result = analyse_piece(call, text);
    skipped = false;
    if (stopped(engine)) break;
    engine->last_piece = language->GetProcInTxt() ? 1 : 0;
    if (result == -1) {
      const int ms = language->GetSilenceTime();
      if (ms > 0) VXN_GStreamSet_silence(engine, ms, engine->output_rate);
    } else if (result != 0) {
      if (!synthesise_piece(call, &skipped)) break;
    }
    if (language->GetProcInTxt()) break;
    idle = result == 0 ? idle + 1 : 0;
    if (idle >= kMaxIdlePasses) {
      VXN_print(VXN_LEVEL_ERROR, "The analyzer made no progress; synthesis ends here\n");
      break;
    }
  }
  return skipped ? 0 : result;
}

}  // namespace

int CVxnSynth::VXNStartStreamingPlayUtf8(unsigned char* text, int length, int pauseFlag,
                                         int pauseMs) {
  if (!text) {
    VXN_print(VXN_LEVEL_ERROR, kNullInput, "VXNStartStreamingPlayUtf8");
    return 0;
  }
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNStartStreamingPlayUtf8");
    return 0;
  }
  if (!may_speak(language, "VXNStartStreamingPlayUtf8", length, text[0] != 0)) return 0;
  const int id = language->languageId;
  const bool bom = text[0] == 0xEF && text[1] == 0xBB && text[2] == 0xBF;
  if (bom) {
    text += 3;
    length -= 3;
  }
  // Malformed UTF-8 is left out, so that no later step reads a cut sequence.
  long malformedAt = -1;
  int malformed = 0;
  char* repaired = VXN_driver_utf8_repair(text, length, &malformedAt, &malformed);
  if (repaired) {
    VXN_print(VXN_LEVEL_ERROR,
              "error [2030] : The text is not well-formed UTF-8 from byte %ld on (%d malformed "
              "runs); those bytes are left out.\n", malformedAt + (bom ? 3 : 0), malformed);
    text = reinterpret_cast<unsigned char*>(repaired);
    length = (int)strlen(repaired);
  }

  // Single symbol: the whole input may be replaced by the symbol's name.
  char* spoken = nullptr;
  char* copy = VXN_strdup(reinterpret_cast<char*>(text));
  if (copy && language->processing_single_symbol(copy, id, &spoken) && spoken) {
    text = reinterpret_cast<unsigned char*>(spoken);
    length = (int)strlen(spoken);
  }
  VXN_free(copy);

  // Emoji names; the conversion buffer is sized after this step so that a
  // long name is never cut.
  char* expanded = VXN_driver_expand_emoji(id, reinterpret_cast<char*>(text));
  if (expanded) {
    text = reinterpret_cast<unsigned char*>(expanded);
    length = (int)strlen(expanded);
  }
  // Typography the analyzer's encoding lacks (curly quotes, dashes, ellipses,
  // special spaces) becomes what the analyzer reads before the conversion
  // would drop it.
  char* typeset = VXN_typography_utf8(id, reinterpret_cast<char*>(text));
  if (typeset) {
    text = reinterpret_cast<unsigned char*>(typeset);
    length = (int)strlen(typeset);
  }
  const int size = VXN_driver_utf8_size(text, length);
  char* converted = static_cast<char*>(VXN_calloc((size_t)size + 3, 1));
  if (!converted) {
    VXN_print(VXN_LEVEL_ERROR, "%s", kAllocFailed);
    VXN_free(repaired);
    VXN_free(spoken);
    VXN_free(expanded);
    VXN_free(typeset);
    return 0;
  }

  language->LangRefreshInput();
  if (id == 0) VXN_print(VXN_LEVEL_DEBUG, "Convert EUC-kr\n");
  VXN_driver_convert_utf8(encoder, id, reinterpret_cast<char*>(text), converted, size);
  VXN_print(VXN_LEVEL_INFO, "Synthesis text: %s\n", converted);

  // The Chinese analyzer reads the UTF-8 text itself, cut where the buffer
  // ends as the conversions of the other languages are.
  if (id == 9) memcpy(converted, text, strnlen(reinterpret_cast<char*>(text), (size_t)size));
  const DriverCall call = {this, language, timer, timeLog, kUtf8Entry, pauseFlag, pauseMs,
                          labelCallback, labelUser};
  const int result = run_passes(call, converted);
  if (result == 0) end_notice(&language->engine);

  VXN_free(repaired);
  VXN_free(spoken);
  VXN_free(expanded);
  VXN_free(typeset);
  VXN_free(converted);
  return 1;
}

int CVxnSynth::VXNStartStreamingPlayUtf16(short* text, int length, int pauseFlag, int pauseMs) {
  VXN_print(VXN_LEVEL_INFO, "Synthesize input text of UTF-16\n");
  if (!text) {
    VXN_print(VXN_LEVEL_ERROR, kNullInput, "VXNStartStreamingPlayUtf16");
    return 0;
  }
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNStartStreamingPlayUtf16");
    return 0;
  }
  if (!may_speak(language, "VXNStartStreamingPlayUtf16", length, text[0] != 0)) return 0;
  const int id = language->languageId;
  // An owned, zero-terminated copy of at most `length` units, so that no
  // conversion reads past what the host handed over.
  int bytes = VXN_driver_utf16_size(text, length);
  short* units = static_cast<short*>(VXN_calloc((size_t)bytes / 2 + 1, sizeof(short)));
  char* converted = static_cast<char*>(VXN_calloc((size_t)bytes + 2, 1));
  if (!units || !converted) {
    VXN_print(VXN_LEVEL_ERROR, "%s", kAllocFailed);
    VXN_free(units);
    VXN_free(converted);
    return 0;
  }
  memcpy(units, text, (size_t)bytes);
  long loneAt = -1;
  const int lone = VXN_driver_utf16_drop_lone_surrogates(units, bytes / 2, &loneAt);
  if (lone > 0) {
    VXN_print(VXN_LEVEL_ERROR,
              "error [2040] : The text holds %d lone UTF-16 surrogates, the first at unit %ld; "
              "they stand for no character and are left out.\n", lone, loneAt);
    bytes -= 2 * lone;
  }
  int typesetCount = 0;
  short* typeset = VXN_typography_utf16(id, units, bytes / 2, &typesetCount);
  if (typeset) {
    char* larger = static_cast<char*>(VXN_calloc((size_t)typesetCount * 2 + 2, 1));
    if (!larger) {
      VXN_print(VXN_LEVEL_ERROR, "%s", kAllocFailed);
      VXN_free(typeset);
      VXN_free(units);
      VXN_free(converted);
      return 0;
    }
    VXN_free(units);
    VXN_free(converted);
    units = typeset;
    converted = larger;
    bytes = typesetCount * 2;
  }

  language->LangRefreshInput();
  if (id == 9) {
    encoder->sourceMode = 2;
    char* utf8 = VXN_driver_utf16_to_utf8(encoder, units);
    if (utf8) {
      VXN_free(converted);
      converted = utf8;
    }
  } else {
    VXN_driver_convert_utf16(encoder, id, units, bytes, converted);
  }
  VXN_free(units);

  const DriverCall call = {this, language, timer, timeLog, kUtf16Entry, pauseFlag, pauseMs,
                          labelCallback, labelUser};
  const int result = run_passes(call, converted);
  if (result == 0) end_notice(&language->engine);
  VXN_free(converted);
  return 1;
}

int CVxnSynth::VXNStartStreamingPlay(char* text, int pauseFlag, int pauseMs) {
  VXN_print(VXN_LEVEL_INFO, "Synthesize input text of euc-kr or ascii\n");
  if (!text) {
    VXN_print(VXN_LEVEL_ERROR, kNullInput, "VXNStartStreamingPlay");
    return 0;
  }
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNStartStreamingPlay");
    return 0;
  }
  if (!may_speak(language, "VXNStartStreamingPlay", 1, true)) return 0;
  char* utf8 = nullptr;
  if (language->languageId == 9) {
    encoder->sourceMode = 3;
    utf8 = VXN_driver_gb2312_to_utf8(encoder, text);
    if (!utf8) {
      VXN_print(VXN_LEVEL_INFO, "ConvertUtf16orGB2312toUtf8 failed\n");
      return 0;
    }
  }
  language->LangRefreshInput();
  const DriverCall call = {this, language, timer, timeLog, kEncodedEntry, pauseFlag, pauseMs,
                          labelCallback, labelUser};
  const int result = run_passes(call, utf8 ? utf8 : text);
  if (result == 0) end_notice(&language->engine);
  VXN_free(utf8);
  return 1;
}
