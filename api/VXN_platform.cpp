// Platform wrapper: initialise for a broadcast region's language, synthesise a
// text into one 48 kHz PCM buffer, release.
#include "api/VXN_platform.h"

#include <dirent.h>
#include <stdlib.h>
#include <string.h>

#include <mutex>
#include <string>

#include "engine/VXN_misc.h"
#include "include/vxn_engine.h"

CVxnSynth* g_vxn = nullptr;
short g_speech[VXN_SPEECH_CAPACITY];
int g_speech_count = 0;
int g_dtv_type = -1;

// The wrapper's state is one set of globals; its calls take turns.
static std::mutex g_wrapper_mutex;

namespace {

const VXN_LanguageCode tts_languages_atsc[] = {{"en_US", 1}, {"en_GB", 1}, {"ko_KR", 0}};

const VXN_LanguageCode tts_languages_dvb[] = {
    {"ko_KR", 0},  {"en_US", 2},  {"en_GB", 2},  {"de_DE", 4},  {"fr_FR", 5},  {"es_ES", 6},
    {"it_IT", 7},  {"nl_NL", 8},  {"pl_PL", 11}, {"ru_RU", 12}, {"da_DK", 13}, {"sv_SE", 14},
    {"fi_FI", 15}, {"nn_NO", 16}, {"nb_NO", 16}, {"pt_PT", 17}};

const VXN_LanguageCode tts_languages_isdb[] = {
    {"en_AU", 3}, {"en_US", 2}, {"en_GB", 2}, {"fr_FR", 5}, {"fr_CA", 5},
    {"pt_PT", 10}, {"pt_BR", 10}, {"zh_CN", 9}, {"es_ES", 6}, {"es_MX", 6}};

const VXN_LanguageCode tts_languages_ww[] = {
    {"ko_KR", 0},  {"en_US", 1},  {"en_GB", 2},  {"de_DE", 4},  {"fr_FR", 5},
    {"es_ES", 6},  {"it_IT", 7},  {"nl_NL", 8},  {"pl_PL", 11}, {"ru_RU", 12},
    {"da_DK", 13}, {"sv_SE", 14}, {"fi_FI", 15}, {"nn_NO", 16}, {"nb_NO", 16},
    {"pt_PT", 17}, {"zh_CN", 9},  {"pt_BR", 10}, {"en_AU", 3}};

struct Region {
  const char* probe;
  const char* voice;
  const VXN_LanguageCode* table;
  int count;
};

const Region kRegions[4] = {
    {"/opt/usr/apps/org.morel.tts-engine-qx-ATSC/",
     "/opt/usr/apps/org.morel.tts-engine-qx-ATSC/shared/voice/tts/vxn_qx/", tts_languages_atsc,
     3},
    {"/opt/usr/apps/org.morel.tts-engine-qx-DVB/",
     "/opt/usr/apps/org.morel.tts-engine-qx-DVB/shared/voice/tts/vxn_qx/", tts_languages_dvb,
     16},
    {"/opt/usr/apps/org.morel.tts-engine-qx-DVBISDB/",
     "/opt/usr/apps/org.morel.tts-engine-qx-DVBISDB/shared/voice/tts/vxn_qx/",
     tts_languages_isdb, 10},
    {"/opt/usr/apps/org.morel.tts-engine-qx-WW/",
     "/opt/usr/apps/org.morel.tts-engine-qx-WW/shared/voice/tts/vxn_qx/", tts_languages_ww, 19},
};

const int kMaxTextBytes = 1023;
bool g_speech_truncated = false;

// The install paths, under $VXN_INSTALL_ROOT when it is set (for staging and tests).
std::string installed(const char* path) {
  const char* root = getenv("VXN_INSTALL_ROOT");
  std::string prefix = root ? root : "";
  while (!prefix.empty() && prefix.back() == '/') prefix.pop_back();
  return prefix + path;
}

int band_of(int level) {
  if (level < 1 || level > 15) return 2;
  return (level - 1) / 3;
}

void release_engine() {
  if (!g_vxn) return;
  g_vxn->VXNFree();
  delete g_vxn;
  g_vxn = nullptr;
}

}  // namespace

int engine_get_speed(const char* language, int level) {
  // US English speaks at factor 1.3 in the middle band (index 2 of the
  // facade's speed table).
  static const int kUsEnglish[5] = {-4, 0, 2, 4, 5};
  static const int kOthers[5] = {-3, -1, 0, 3, 5};
  const bool us = language && strcmp(language, "en_US") == 0;
  return (us ? kUsEnglish : kOthers)[band_of(level)];
}

int engine_get_pitch(int level) {
  static const int kPitch[5] = {-30, -15, 0, 15, 30};
  return kPitch[band_of(level)];
}

void VXN_platform_restart_collection() {
  g_speech_count = 0;
  g_speech_truncated = false;
}

void stream_cb(short* samples, int count, int state) {
  // Every piece of the text is kept: the collection restarts once per call,
  // in tts_get_pcm_data, not at each piece's first chunk.
  if (count > 0 && samples) {
    const int room = VXN_SPEECH_CAPACITY - g_speech_count;
    const int take = count < room ? count : room;
    if (take > 0) memcpy(g_speech + g_speech_count, samples, (size_t)take * sizeof(short));
    g_speech_count += take;
    if (take < count && !g_speech_truncated) {
      g_speech_truncated = true;
      VXN_print(VXN_LEVEL_ERROR, "[ERROR] speech exceeds %d samples; the rest is dropped",
                VXN_SPEECH_CAPACITY);
    }
  }
  VXN_print(VXN_LEVEL_DEBUG, "nState = %d\n", state);
  VXN_print(VXN_LEVEL_DEBUG, "nSize = %d\n", count);
  VXN_print(VXN_LEVEL_DEBUG, "g_speech_count = %d\n", g_speech_count);
}

extern "C" {

int tts_init(const char* language, int speedLevel, int pitchLevel) {
  std::lock_guard<std::mutex> lock(g_wrapper_mutex);
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] start to initialize ...");
  g_dtv_type = -1;
  for (int r = 0; r < 4 && g_dtv_type < 0; r++) {
    DIR* dir = opendir(installed(kRegions[r].probe).c_str());
    if (dir) {
      g_dtv_type = r;
      closedir(dir);
    }
  }
  if (g_dtv_type < 0) {
    VXN_print(VXN_LEVEL_ERROR, "[ERROR] No TTSEngine installed");
    return 0;
  }
  const Region& region = kRegions[g_dtv_type];
  int languageId = -1;
  for (int i = 0; i < region.count && language; i++)
    if (strcmp(region.table[i].code, language) == 0) {
      languageId = region.table[i].languageId;
      break;
    }
  if (languageId < 0) {
    VXN_print(VXN_LEVEL_ERROR, "[ERROR] Can't support language: %s",
              language ? language : "(null)");
    return 0;
  }
  // The bands follow the platform's language code, whichever voice speaks it:
  // en_US everywhere has the US English bands, an ATSC en_GB the others.
  const int speed = engine_get_speed(language, speedLevel);
  const int pitch = engine_get_pitch(pitchLevel);

  // A second tts_init replaces the engine; the old one is released first.
  release_engine();
  g_vxn = new CVxnSynth();
  g_vxn->VXNSetPrintLevel(2);
  g_vxn->VXNSetLanguage(languageId, 0);
  if (languageId == 1) {
    VXN_print(VXN_LEVEL_DEBUG, "Set hybrid mode");
    g_vxn->VXNSetHybrid(1);
  } else {
    g_vxn->VXNSetHybrid(0);
  }
  g_vxn->VXNModelSelect(0);
  std::string voice = installed(region.voice);
  const int result = g_vxn->VXNInit(&voice[0], &voice[0]);
  if (result != 1) {
    VXN_print(VXN_LEVEL_ERROR, "[ERROR] VXNInit failed - %d", result);
    return 0;
  }
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] VXNInit Success ... ");
  g_vxn->VXNSetSamplingRate(48000);
  g_vxn->VXNSetChannel(1);
  g_vxn->VXNSetMemory(16000, 10);
  g_vxn->VXNSetStreamCallback(stream_cb);
  g_vxn->VXNVoiceControl(pitch, 256, speed);
  return 1;
}

int tts_get_pcm_data(const char* text, short* pcm, int* count) {
  std::lock_guard<std::mutex> lock(g_wrapper_mutex);
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] start to synthesize speech for text: %s ",
            text ? text : "(null)");
  if (!g_vxn) {
    VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] TTS engine is NULL.");
    return 0;
  }
  if (!pcm || !count || !text) {
    VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] reference variable is NULL.");
    return 0;
  }
  const size_t n = strlen(text);
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] input text: %s ", text);
  if (n > (size_t)kMaxTextBytes) {
    VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] input text is too long! max length is 1024.");
    return 0;
  }
  VXN_platform_restart_collection();
  g_vxn->VXNStartStreamingPlayUtf8((unsigned char*)const_cast<char*>(text), (int)n, 0, 0);
  g_vxn->VXNRefresh();
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] finished synthesis");
  if (g_speech_count < 1) {
    VXN_print(VXN_LEVEL_ERROR, "[ERROR] no speech generated");
    return 0;
  }
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] start to copy stream data into pcm");
  memcpy(pcm, g_speech, (size_t)g_speech_count * sizeof(short));
  *count = g_speech_count;
  g_speech_count = 0;
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] size=%d", *count);
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] finished speech stream data copy");
  return 1;
}

int tts_release(void) {
  std::lock_guard<std::mutex> lock(g_wrapper_mutex);
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] start to release resource");
  release_engine();
  VXN_print(VXN_LEVEL_DEBUG, "[DEBUG] finished resource release");
  return 1;
}

}  // extern "C"
