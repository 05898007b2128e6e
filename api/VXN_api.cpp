// Handle-based exported functions: each forwards to the facade method of the
// same name.
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"

#define SYNTH(handle) static_cast<CVxnSynth*>(handle)

extern "C" {

void* create(void) { return new CVxnSynth(); }

void destroy(void* handle) { delete SYNTH(handle); }

int VXNSetLanguage(void* handle, int languageId, int timeLog) {
  return handle ? SYNTH(handle)->VXNSetLanguage(languageId, timeLog) : 0;
}

void VXNSetHybrid(void* handle, int flag) {
  if (handle) SYNTH(handle)->VXNSetHybrid(flag);
}

int VXNModelSelect(void* handle, int index) {
  return handle ? SYNTH(handle)->VXNModelSelect(index) : 0;
}

int VXNInit(void* handle, char* basePath, char* dictPath) {
  return handle ? SYNTH(handle)->VXNInit(basePath, dictPath) : 0;
}

void VXNSetSamplingRate(void* handle, int rate) {
  if (handle) SYNTH(handle)->VXNSetSamplingRate(rate);
}

void VXNSetPrintLevel(void* handle, int level) {
  if (handle) SYNTH(handle)->VXNSetPrintLevel(level);
}

void VXNSetChannel(void* handle, int channels) {
  if (handle) SYNTH(handle)->VXNSetChannel(channels);
}

void VXNSetMemory(void* handle, int chunkSize, int chunkCount) {
  if (handle) SYNTH(handle)->VXNSetMemory(chunkSize, chunkCount);
}

void VXNSetStreamCallback(void* handle, VXNStreamCallback callback) {
  if (handle) SYNTH(handle)->VXNSetStreamCallback(callback);
}

int VXNVoiceControl(void* handle, int pitch, int alpha, int speed) {
  return handle ? SYNTH(handle)->VXNVoiceControl(pitch, alpha, speed) : 0;
}

int VXNSetSpectralVariance(void* handle, int percent) {
  return handle ? SYNTH(handle)->VXNSetSpectralVariance(percent) : 0;
}

int VXNGetControlState(void* handle) { return handle ? SYNTH(handle)->VXNGetControlState() : -1; }

void VXNSetControlStart(void* handle) {
  if (handle) SYNTH(handle)->VXNSetControlStart();
}

void VXNSetControlStop(void* handle) {
  if (handle) SYNTH(handle)->VXNSetControlStop();
}

int VXNStartStreamingPlayUtf8(void* handle, unsigned char* text, int length, int pauseFlag,
                              int pauseMs) {
  return handle ? SYNTH(handle)->VXNStartStreamingPlayUtf8(text, length, pauseFlag, pauseMs) : 0;
}

int VXNStartStreamingPlayLabels(void* handle, const char* labelPath) {
  return handle ? SYNTH(handle)->VXNStartStreamingPlayLabels(labelPath) : 0;
}

int VXNRefresh(void* handle) { return handle ? SYNTH(handle)->VXNRefresh() : 0; }

int VXNFree(void* handle) { return handle ? SYNTH(handle)->VXNFree() : 0; }

int VXNGetSamplingRate(void* handle) { return handle ? SYNTH(handle)->VXNGetSamplingRate() : 0; }

int VXNGetChannel(void* handle) { return handle ? SYNTH(handle)->VXNGetChannel() : 0; }

int VXNStartStreamingPlayUtf16(void* handle, short* text, int length, int pauseFlag,
                               int pauseMs) {
  return handle ? SYNTH(handle)->VXNStartStreamingPlayUtf16(text, length, pauseFlag, pauseMs) : 0;
}

int VXNStartStreamingPlay(void* handle, char* text, int pauseFlag, int pauseMs) {
  return handle ? SYNTH(handle)->VXNStartStreamingPlay(text, pauseFlag, pauseMs) : 0;
}

int VXNShowLanguage(void* handle, char* out) {
  return handle ? SYNTH(handle)->VXNShowLanguage(out) : 0;
}

int VXNIsLanguageReady(void* handle) {
  if (!handle) return 0;
  CVxnLanguage* language = SYNTH(handle)->Language();
  return language && language->IsReady() ? 1 : 0;
}

void VXNSetLabelCallback(void* handle, VXNLabelCallback callback, void* user) {
  if (handle) SYNTH(handle)->VXNSetLabelCallback(callback, user);
}

const char* VXNGetVersion(void) { return VXN_VERSION_STRING; }

}  // extern "C"

int VXNGetSampingRate(void* handle) { return handle ? SYNTH(handle)->VXNGetSamplingRate() : 0; }
