// Handle-based exported functions: each forwards to the facade method of the
// same name.
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"

#define SYNTH(handle) static_cast<CVxnSynth*>(handle)

// True for a handle; a null handle is reported, naming the call, which then
// does nothing and returns its failure value.
static bool live(void* handle, const char* call) {
  if (!handle) VXN_print(VXN_LEVEL_ERROR, "error [0030] : Null engine handle in %s.\n", call);
  return handle != nullptr;
}

extern "C" {

void* create(void) { return new CVxnSynth(); }

void destroy(void* handle) { delete SYNTH(handle); }

int VXNSetLanguage(void* handle, int languageId, int timeLog) {
  return live(handle, "VXNSetLanguage") ? SYNTH(handle)->VXNSetLanguage(languageId, timeLog) : 0;
}

void VXNSetHybrid(void* handle, int flag) {
  if (live(handle, "VXNSetHybrid")) SYNTH(handle)->VXNSetHybrid(flag);
}

int VXNModelSelect(void* handle, int index) {
  return live(handle, "VXNModelSelect") ? SYNTH(handle)->VXNModelSelect(index) : 0;
}

int VXNInit(void* handle, char* basePath, char* dictPath) {
  return live(handle, "VXNInit") ? SYNTH(handle)->VXNInit(basePath, dictPath) : 0;
}

void VXNSetSamplingRate(void* handle, int rate) {
  if (live(handle, "VXNSetSamplingRate")) SYNTH(handle)->VXNSetSamplingRate(rate);
}

void VXNSetPrintLevel(void* handle, int level) {
  if (live(handle, "VXNSetPrintLevel")) SYNTH(handle)->VXNSetPrintLevel(level);
}

void VXNSetChannel(void* handle, int channels) {
  if (live(handle, "VXNSetChannel")) SYNTH(handle)->VXNSetChannel(channels);
}

void VXNSetMemory(void* handle, int chunkSize, int chunkCount) {
  if (live(handle, "VXNSetMemory")) SYNTH(handle)->VXNSetMemory(chunkSize, chunkCount);
}

void VXNSetStreamCallback(void* handle, VXNStreamCallback callback) {
  if (live(handle, "VXNSetStreamCallback")) SYNTH(handle)->VXNSetStreamCallback(callback);
}

int VXNVoiceControl(void* handle, int pitch, int alpha, int speed) {
  return live(handle, "VXNVoiceControl") ? SYNTH(handle)->VXNVoiceControl(pitch, alpha, speed) : 0;
}

int VXNSetSpectralVariance(void* handle, int percent) {
  if (!live(handle, "VXNSetSpectralVariance")) return 0;
  return SYNTH(handle)->VXNSetSpectralVariance(percent);
}

int VXNGetControlState(void* handle) {
  return live(handle, "VXNGetControlState") ? SYNTH(handle)->VXNGetControlState() : -1;
}

void VXNSetControlStart(void* handle) {
  if (live(handle, "VXNSetControlStart")) SYNTH(handle)->VXNSetControlStart();
}

void VXNSetControlStop(void* handle) {
  if (live(handle, "VXNSetControlStop")) SYNTH(handle)->VXNSetControlStop();
}

int VXNStartStreamingPlayUtf8(void* handle, unsigned char* text, int length, int pauseFlag,
                              int pauseMs) {
  if (!live(handle, "VXNStartStreamingPlayUtf8")) return 0;
  return SYNTH(handle)->VXNStartStreamingPlayUtf8(text, length, pauseFlag, pauseMs);
}

int VXNStartStreamingPlayLabels(void* handle, const char* labelPath) {
  if (!live(handle, "VXNStartStreamingPlayLabels")) return 0;
  return SYNTH(handle)->VXNStartStreamingPlayLabels(labelPath);
}

int VXNRefresh(void* handle) {
  return live(handle, "VXNRefresh") ? SYNTH(handle)->VXNRefresh() : 0;
}

int VXNFree(void* handle) { return live(handle, "VXNFree") ? SYNTH(handle)->VXNFree() : 0; }

int VXNGetSamplingRate(void* handle) {
  return live(handle, "VXNGetSamplingRate") ? SYNTH(handle)->VXNGetSamplingRate() : 0;
}

int VXNGetChannel(void* handle) {
  return live(handle, "VXNGetChannel") ? SYNTH(handle)->VXNGetChannel() : 0;
}

int VXNStartStreamingPlayUtf16(void* handle, short* text, int length, int pauseFlag,
                               int pauseMs) {
  if (!live(handle, "VXNStartStreamingPlayUtf16")) return 0;
  return SYNTH(handle)->VXNStartStreamingPlayUtf16(text, length, pauseFlag, pauseMs);
}

int VXNStartStreamingPlay(void* handle, char* text, int pauseFlag, int pauseMs) {
  if (!live(handle, "VXNStartStreamingPlay")) return 0;
  return SYNTH(handle)->VXNStartStreamingPlay(text, pauseFlag, pauseMs);
}

int VXNShowLanguage(void* handle, char* out) {
  return live(handle, "VXNShowLanguage") ? SYNTH(handle)->VXNShowLanguage(out) : 0;
}

int VXNIsLanguageReady(void* handle) {
  if (!live(handle, "VXNIsLanguageReady")) return 0;
  CVxnLanguage* language = SYNTH(handle)->Language();
  return language && language->IsReady() ? 1 : 0;
}

void VXNSetLabelCallback(void* handle, VXNLabelCallback callback, void* user) {
  if (live(handle, "VXNSetLabelCallback")) SYNTH(handle)->VXNSetLabelCallback(callback, user);
}

const char* VXNGetVersion(void) { return VXN_VERSION_STRING; }

}  // extern "C"

int VXNGetSampingRate(void* handle) {
  return live(handle, "VXNGetSampingRate") ? SYNTH(handle)->VXNGetSamplingRate() : 0;
}
