#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "api/VXN_TimeCheck.h"
#include "api/VXN_encodingConverter.h"
#include "api/VXN_languages.h"
#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "engine/VXN_vsearch.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"

const VXN_LanguageRow kVxnLanguages[VXN_LANGUAGE_COUNT] = {
    {"KOREAN", "Ko/vxnf_kr_%d_%d", "Ko/vxnm_kr_%d_%d"},
    {"US ENGLISH", "EnUS/vxnf_usen_%d_%d", "EnUS/vxnm_usen_%d_%d"},
    {"UK ENGLISH", "EnGB/vxnf_uken_%d_%d", "EnGB/vxnm_uken_%d_%d"},
    {"AU ENGLISH", "EnAU/vxnf_auen_%d_%d", "EnAU/vxnm_auen_%d_%d"},
    {"GERMAN", "De/vxnf_ge_%d_%d", "De/vxnm_ge_%d_%d"},
    {"FRENCH", "Fr/vxnf_fr_%d_%d", "Fr/vxnm_fr_%d_%d"},
    {"SPANISH", "Es/vxnf_es_%d_%d", "Es/vxnm_es_%d_%d"},
    {"ITALIAN", "It/vxnf_it_%d_%d", "It/vxnm_it_%d_%d"},
    {"DUTCH", "Nl/vxnf_nl_%d_%d", "Nl/vxnm_nl_%d_%d"},
    {"CHINESE", "Ch/vxnf_ch_%d_%d", "Ch/vxnm_ch_%d_%d"},
    {"BRAZIL PORTUGUESE", "Br/vxnf_br_%d_%d", "Br/vxnm_br_%d_%d"},
    {"POLISH", "Pl/vxnf_pl_%d_%d", "Pl/vxnm_pl_%d_%d"},
    {"RUSSIAN", "Ru/vxnf_ru_%d_%d", "Ru/vxnm_ru_%d_%d"},
    {"DANISH", "Dk/vxnf_dk_%d_%d", "Dk/vxnm_dk_%d_%d"},
    {"SWEDISH", "Se/vxnf_se_%d_%d", "Se/vxnm_se_%d_%d"},
    {"FINNISH", "Fi/vxnf_fi_%d_%d", "Fi/vxnm_fi_%d_%d"},
    {"NORWEIGIAN", "No/vxnf_no_%d_%d", "No/vxnm_no_%d_%d"},
    {"PORTUGAL PORTUGUESE", "Pt/vxnf_pt_%d_%d", "Pt/vxnm_pt_%d_%d"},
};

// Platform codes of the languages, in id order; Norwegian also answers to nn_NO.
static const char* const kLanguageCodes[VXN_LANGUAGE_COUNT] = {
    "ko_KR", "en_US", "en_GB", "en_AU", "de_DE", "fr_FR", "es_ES", "it_IT", "nl_NL",
    "zh_CN", "pt_BR", "pl_PL", "ru_RU", "da_DK", "sv_SE", "fi_FI", "nb_NO", "pt_PT"};

namespace {

const int kModelRate = 24;
const int kCodebookSize = 256;
const float kSpeedTable[11] = {0.65f, 0.75f, 0.79f, 0.86f, 0.93f, 1.0f,
                               1.2f,  1.3f,  1.5f,  1.75f, 2.0f};
// A call that needs a language (VXNSetLanguage) before it, or after VXNFree.
const char* const kNoLanguage =
    "Not initialized in %s\n";
// A null pointer where the call needs text, a path or an output buffer.
const char* const kNullInput = "Null input parameter in the %s\n";
const char* const kModelMissing = "error [1030] : Model name or path is invalid.\n";

// Output settings a host may ask for.
const int kMinRate = 8000;
const int kMaxRate = 48000;
// The largest output ring, in samples (32 MiB).
const long long kMaxRingSamples = 1 << 24;

// value within lo..hi; outside, the nearest bound, reported.
int in_range(const char* call, const char* what, int lo, int hi, int value) {
  if (value >= lo && value <= hi) return value;
  const int used = value < lo ? lo : hi;
  VXN_print(VXN_LEVEL_ERROR, "error [0060] : %s: %s %d is outside %d..%d; %d is used.\n", call,
            what, value, lo, hi, used);
  return used;
}

// Opens every path; closes them again. False when one does not open, whose
// path is then reported after the numbered error (a language without its
// voice package names the package it lacks).
bool all_files_open(const std::string* paths, int count) {
  FILE* files[16] = {nullptr};
  bool ok = true;
  for (int i = 0; i < count && ok; i++) {
    files[i] = fopen(paths[i].c_str(), "rb");
    ok = files[i] != nullptr;
    if (!ok) VXN_print(VXN_LEVEL_ERROR, "Missing file of the voice: %s\n", paths[i].c_str());
  }
  for (int i = 0; i < count; i++)
    if (files[i]) fclose(files[i]);
  return ok;
}

}  // namespace

// The stem pattern of voice `index` of language `id`, or null when the
// language has no such voice.
static const char* voice_pattern(int id, int index) {
  if (id < 0 || id >= VXN_LANGUAGE_COUNT) return nullptr;
  if (index == 0) return kVxnLanguages[id].female_pattern;
  if (index == 1) return kVxnLanguages[id].male_pattern;
  if (id == VXN_LANG_UK_ENGLISH && index == 2) return kVxnLanguages[VXN_LANG_AU_ENGLISH].female_pattern;
  if (id == VXN_LANG_UK_ENGLISH && index == 3) return kVxnLanguages[VXN_LANG_AU_ENGLISH].male_pattern;
  return nullptr;
}

CVxnSynth::CVxnSynth()
    : encoder(new CVxnEncodeConvert()),
      timer(new CVxnTimeCheck()),
      language(nullptr),
      timeLog(0),
      labelCallback(nullptr),
      labelUser(nullptr) {
  VXN_set_print_level(2);
}

// A host that destroys the engine without VXNFree still gets the language
// host, its voice and its module released.
CVxnSynth::~CVxnSynth() {
  if (language) VXNFree();
  delete encoder;
  delete timer;
}

int CVxnSynth::VXNSetLanguage(int languageId, int log) {
  VXN_print(VXN_LEVEL_INFO, "info : Set language %d\n", languageId);
  // A host that skipped VXNFree would leak the old analyzer and voice: release them here.
  if (language) VXNFree();
  if (languageId < 0 || languageId >= VXN_LANGUAGE_COUNT) {
    VXN_print(VXN_LEVEL_ERROR, "error [0010] : This language is not supported.\n");
    return 0;
  }
  language = new CVxnLanguage();
  timeLog = log;
  if (timeLog == 1) remove(CVxnTimeCheck::kLogName);
  language->languageId = languageId;
  language->pitch = 0.0f;
  language->speed = 1.0f;
  VXN_Engine_initialize(&language->engine, 3);
  language->engine.language_id = languageId;
  language->engine.ms.language = languageId;
  language->engine.pss.language_id = languageId;
  return 1;
}

void CVxnSynth::VXNSetHybrid(int flag) {
  VXN_print(VXN_LEVEL_INFO, "info : Set hybrid mode %d\n", flag);
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNSetHybrid");
    return;
  }
  language->engine.hybrid_request = flag;
}

int CVxnSynth::VXNModelSelect(int index) {
  VXN_print(VXN_LEVEL_INFO, "Model selection %d\n", index);
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNModelSelect");
    return 0;
  }
  VXN_Engine* engine = &language->engine;
  VXN_free(engine->model_name);
  VXN_free(engine->prosody_name);
  engine->model_name = (char*)VXN_calloc(VXN_NAME_BUFFER_SIZE, 1);
  engine->prosody_name = (char*)VXN_calloc(VXN_NAME_BUFFER_SIZE, 1);
  if (!engine->model_name || !engine->prosody_name) return 0;
  snprintf(engine->prosody_name, VXN_NAME_BUFFER_SIZE, "aa");

  language->modelIndex = index;
  engine->model_index = index;
  engine->ms.model_select = index;
  engine->pss.model_index = index;

  const int id = language->languageId;
  const char* pattern = voice_pattern(id, index);
  if (!pattern) {
    pattern = kVxnLanguages[id].female_pattern;
    VXN_print(VXN_LEVEL_ERROR,
              "error [0020] : The selected model does not match the language.\n It will be set "
              "to the default model.\n");
  }
  snprintf(engine->model_name, VXN_NAME_BUFFER_SIZE, pattern, kModelRate, kCodebookSize);
  if (id == VXN_LANG_US_ENGLISH && (index == 0 || index == 1))
    snprintf(engine->prosody_name, VXN_NAME_BUFFER_SIZE, "%s.pd", engine->model_name);
  VXN_print(VXN_LEVEL_DEBUG, "The name of selected model is %s\n", engine->model_name);

  language->pitch = 0.0f;
  engine->pitch_shift = 0;
  engine->voice_alpha = 0.45f;
  VXN_Engine_set_alpha(engine, engine->voice_alpha);
  language->speed = 1.0f;
  return 1;
}

int CVxnSynth::VXNInit(char* basePath, char* dictPath) {
  CVxnCode reader;
  VXN_print(VXN_LEVEL_INFO, "Load acoustic model\n");
  if (!basePath || !dictPath) {
    VXN_print(VXN_LEVEL_ERROR, "Null input parameter in VXNInit\n");
    return 0;
  }
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNInit");
    return 0;
  }
  VXN_Engine* engine = &language->engine;
  if (!engine->model_name) VXNModelSelect(0);
  timer->GetStartTimeTick(timeLog);

  const std::string base(basePath);
  const std::string modelDir = base + "Model/";
  const std::string libDir = base + "Lib/";
  const std::string dataDir = base + "Data/";
  const std::string stem = modelDir + engine->model_name;
  const std::string package[4] = {stem + ".am", stem + ".dt", stem + ".qt", stem + ".pt"};
  if (!all_files_open(package, 4)) {
    VXN_print(VXN_LEVEL_ERROR, "%s", kModelMissing);
    return -1;
  }

  const std::string prosody = modelDir + engine->prosody_name;
  const int prosodyExists = access(prosody.c_str(), F_OK) == 0;
  VXN_print(VXN_LEVEL_INFO, "Hybrid info : prosody:%s\n", prosody.c_str());
  VXN_print(VXN_LEVEL_INFO, "Hybrid info : prosody:%s,%d\n", prosody.c_str(), prosodyExists);
  const bool hybridWanted = prosodyExists && engine->hybrid_request != 0;

  if (language->languageId == VXN_LANG_KOREAN) {
    const std::string files[4] = {modelDir + "Ko/config.ini", modelDir + "Ko/main.model",
                                  modelDir + "Ko/vxnkr.pb", dataDir + "symbol.ini"};
    if (!all_files_open(files, 4)) {
      VXN_print(VXN_LEVEL_ERROR, "%s", kModelMissing);
      return -1;
    }
  } else if (language->languageId == VXN_LANG_CHINESE) {
    const std::string cn = modelDir + "Ch/LangCN/";
    const std::string files[7] = {cn + "CNFamilyNameList.txt", cn + "English_wordList_US.txt",
                                  cn + "HMM20POS.model",       cn + "longbrkmodel",
                                  cn + "NER_model",            cn + "posmodel",
                                  cn + "shortbrkmodel"};
    if (!all_files_open(files, 7)) {
      VXN_print(VXN_LEVEL_ERROR, "%s", kModelMissing);
      return -1;
    }
  }

  // The voice package. A file that opens but is rejected is damaged, not
  // missing: the reader has printed why, and the file is named here.
  if (!reader.VXN_Code_load_question_from_fn((char*)package[2].c_str(),
                                             (char*)package[3].c_str()) ||
      !reader.VXN_Code_load_parameter_from_fn(engine, (char*)package[0].c_str(),
                                              (char*)package[1].c_str(), 1)) {
    VXN_ModelSet_clear_voice(&engine->ms, 3);
    const char* damaged = reader.VXN_Code_damaged_file();
    if (damaged)
      VXN_print(VXN_LEVEL_ERROR, "error [1040] : The model file %s%s is damaged.\n", stem.c_str(),
                damaged);
    else
      VXN_print(VXN_LEVEL_ERROR, "%s", kModelMissing);
    return -1;
  }

  VXN_Engine_set_sampling_rate(engine, 24000);
  VXN_Engine_set_fperiod(engine, 120);
  VXN_Engine_set_alpha(engine, 0.45f);
  VXN_Engine_set_gamma(engine, 0);
  VXN_Engine_set_log_gain(engine, 1);
  VXN_Engine_set_beta(engine, 0.0f);
  VXN_Engine_set_msd_threshold(engine, 1, 0.5f);
  for (int s = 0; s < 3; s++) VXN_Engine_set_gv_weight(engine, s, 1.0f);

  if (hybridWanted) VXN_VT_initialize(engine, prosody.c_str());
  // Hybrid is in use only when the unit database actually took.
  engine->hybrid_active = hybridWanted ? VXN_VT_is_hybrid(&engine->vt) : 0;
  VXN_print(VXN_LEVEL_INFO, engine->hybrid_active ? "Hybrid info : Hybrid mode\n"
                                                  : "Hybrid info : basic mode\n");

  if (engine->ms.nstream > 0) engine->stream_count = engine->ms.nstream;

  std::string model = modelDir, lib = libDir, data = dataDir, dict = dictPath;
  language->LangInitialLoad(&model[0], &lib[0], &data[0], &dict[0]);

  engine->stage_time[0] = timer->GetTimeDuration(timeLog);
  timer->WriteLog(timeLog, 0, engine->stage_time[0]);
  VXN_print(VXN_LEVEL_INFO, "End of VXN INIT\n");
  return 1;
}

int CVxnSynth::VXNRefresh() {
  VXN_print(VXN_LEVEL_INFO, "Refresh memory\n");
  if (language) VXN_Engine_refresh(&language->engine);
  return 1;
}

int CVxnSynth::VXNFree() {
  VXN_print(VXN_LEVEL_INFO, "Free memory\n");
  if (language) {
    language->LangCloseModule();
    VXN_Engine_clear(&language->engine);
    delete language;
    language = nullptr;
  } else {
    // Releasing twice, or before VXNSetLanguage, is harmless.
    VXN_print(VXN_LEVEL_INFO, "info [0050] : VXNFree: no language is set; nothing to release.\n");
  }
  return 1;
}

int CVxnSynth::VXNSetSpectralVariance(int percent) {
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNSetSpectralVariance");
    return 0;
  }
  percent = in_range("VXNSetSpectralVariance", "percent", 0, 100, percent);
  VXN_Engine_set_spectral_variance(&language->engine, 0.01f * (float)percent);
  return 1;
}

int CVxnSynth::VXNVoiceControl(int pitch, int alpha, int speed) {
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNVoiceControl");
    return 0;
  }
  VXN_Engine* engine = &language->engine;
  const int kUnchanged = 256;
  if (pitch != kUnchanged) {
    pitch = in_range("VXNVoiceControl", "pitch", -70, 70, pitch);
    language->pitch = (float)pitch;
    engine->pitch_shift = pitch;
  }
  if (alpha != kUnchanged) {
    alpha = in_range("VXNVoiceControl", "timbre", -10, 10, alpha);
    engine->voice_alpha = 0.35f + 0.01f * (float)(alpha + 10);
    VXN_Engine_set_alpha(engine, engine->voice_alpha);
  }
  if (speed != kUnchanged) {
    speed = in_range("VXNVoiceControl", "speed", -5, 5, speed);
    language->speed = kSpeedTable[speed + 5];
  }
  return 1;
}

void CVxnSynth::VXNSetStreamCallback(void (*callback)(short*, int, int)) {
  VXN_print(VXN_LEVEL_INFO, "Set CBF for streaming\n");
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNSetStreamCallback");
    return;
  }
  language->engine.stream_callback = callback;
}

void CVxnSynth::VXNSetMemory(int chunkSize, int chunkCount) {
  VXN_print(VXN_LEVEL_INFO, "Memory allocation for streaming. The size is %d , count is %d\n",
            chunkSize, chunkCount);
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNSetMemory");
    return;
  }
  const bool fits =
      chunkSize > 0 && chunkCount > 0 && (long long)chunkSize * chunkCount <= kMaxRingSamples;
  if (!fits)
    VXN_print(VXN_LEVEL_ERROR,
              "error [1080] : VXNSetMemory: a ring of %d chunks of %d samples is outside 1..%lld "
              "samples; there is no output ring and nothing is delivered.\n",
              chunkCount, chunkSize, kMaxRingSamples);
  VXN_Engine* engine = &language->engine;
  VXN_free(engine->ring_buffer);
  engine->ring_buffer = nullptr;
  engine->chunk_size = 0;
  engine->chunk_count = 0;
  engine->chunk_fill = 0;
  engine->chunk_index = 0;
  if (!fits) return;
  engine->ring_buffer = (short*)VXN_calloc((size_t)chunkSize * (size_t)chunkCount, sizeof(short));
  if (!engine->ring_buffer) return;
  engine->chunk_size = chunkSize;
  engine->chunk_count = chunkCount;
}

// Level 3 silences every message.
void CVxnSynth::VXNSetPrintLevel(int level) {
  VXN_set_print_level(in_range("VXNSetPrintLevel", "level", 0, 3, level));
}

void CVxnSynth::VXNSetSamplingRate(int rate) {
  VXN_print(VXN_LEVEL_INFO, "Set sampling rate as %dHz\n", rate);
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNSetSamplingRate");
    return;
  }
  if (rate < kMinRate || rate > kMaxRate) {
    VXN_print(VXN_LEVEL_ERROR,
              "error [0060] : VXNSetSamplingRate: %d Hz is outside %d..%d; the rate stays %d Hz.\n",
              rate, kMinRate, kMaxRate, language->engine.output_rate);
    return;
  }
  VXN_Engine* engine = &language->engine;
  engine->output_rate = rate;
  engine->output_fperiod = rate / 200;
  engine->rate_ratio = (float)engine->sampling_rate / (float)rate;
}

void CVxnSynth::VXNSetChannel(int channels) {
  VXN_print(VXN_LEVEL_INFO, "Set channel as %d\n", channels);
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNSetChannel");
    return;
  }
  if (channels != 1 && channels != 2) {
    VXN_print(VXN_LEVEL_ERROR,
              "error [0060] : VXNSetChannel: %d channels is outside 1..2; %d is kept.\n",
              channels, language->engine.channels);
    return;
  }
  language->engine.channels = channels;
}

int CVxnSynth::VXNGetControlState() {
  return language ? VXN_Engine_get_control_state(&language->engine) : -1;
}

void CVxnSynth::VXNSetControlStart() {
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNSetControlStart");
    return;
  }
  VXN_Engine_set_control_state(&language->engine, 1);
}

void CVxnSynth::VXNSetControlStop() {
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNSetControlStop");
    return;
  }
  VXN_Engine_set_control_state(&language->engine, 0);
}

// Without a language there is no output format: both getters report 0.
int CVxnSynth::VXNGetSamplingRate() { return language ? language->engine.output_rate : 0; }

int CVxnSynth::VXNGetChannel() { return language ? language->engine.channels : 0; }

int CVxnSynth::VXNShowLanguage(char* out) {
  if (!out) {
    VXN_print(VXN_LEVEL_ERROR, kNullInput, "VXNShowLanguage");
    return 0;
  }
  if (!language) {
    VXN_print(VXN_LEVEL_ERROR, kNoLanguage, "VXNShowLanguage");
    return 0;
  }
  const int id = language->languageId;
  const bool known = id >= 0 && id < VXN_LANGUAGE_COUNT;
  // The language part is always written as a 50-byte field, zero-padded.
  memset(out, 0, 50);
  snprintf(out, 50, "language:%s  ", known ? kVxnLanguages[id].report_name : "NOT SUPPORT");
  if (!known) return 1;
  const int index = language->modelIndex;
  strcat(out, "speaker:");
  strcat(out, index == 0 ? "female\n" : index == 1 ? "male\n" : "NOT SUPPORT\n");
  return 1;
}

void CVxnSynth::VXNHighBoost(short* x, int n) {
  if (!x) {
    VXN_print(VXN_LEVEL_ERROR, kNullInput, "VXNHighBoost");
    return;
  }
  if (n < 3) return;
  const std::vector<short> c(x, x + n);
  for (int i = 1; i < n - 1; i++) {
    const int boost = (2 * c[i] - c[i - 1] - c[i + 1]) >> 1;
    x[i] = (short)(x[i] + boost);
  }
}

void CVxnSynth::VXNSetLabelCallback(VXNLabelCallback callback, void* user) {
  labelCallback = callback;
  labelUser = callback ? user : nullptr;
}

extern "C" {

const char* VXNLanguageCode(int id) {
  return id >= 0 && id < VXN_LANGUAGE_COUNT ? kLanguageCodes[id] : nullptr;
}

const char* VXNLanguageName(int id) {
  return id >= 0 && id < VXN_LANGUAGE_COUNT ? kVxnLanguages[id].report_name : nullptr;
}

int VXNLanguageId(const char* code) {
  if (!code) return -1;
  // Normalised: lower case, '-' as '_'.
  std::string want(code);
  for (char& c : want) c = c == '-' ? '_' : (char)tolower((unsigned char)c);
  if (want == "nn_no" || want == "nn" || want == "no" || want == "no_no") return VXN_LANG_NORWEGIAN;
  const bool bare = want.find('_') == std::string::npos;
  for (int id = 0; id < VXN_LANGUAGE_COUNT; id++) {
    std::string have(kLanguageCodes[id]);
    for (char& c : have) c = (char)tolower((unsigned char)c);
    if (bare ? have.compare(0, have.find('_'), want) == 0 && have.find('_') == want.size()
             : have == want)
      return id;
  }
  return -1;
}

int VXNVoiceStem(int languageId, int index, char* out, int size) {
  const char* pattern = voice_pattern(languageId, index);
  if (!pattern || !out || size < 1) return 0;
  char stem[VXN_NAME_BUFFER_SIZE];
  const int n = snprintf(stem, sizeof(stem), pattern, kModelRate, kCodebookSize);
  if (n < 0 || n >= size) return 0;
  memcpy(out, stem, (size_t)n + 1);
  return 1;
}

}  // extern "C"
