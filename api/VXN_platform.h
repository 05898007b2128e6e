// Platform wrapper state: the wrapper's engine, the collection buffer and the
// broadcast region found by tts_init. Process-wide: the three wrapper calls
// hold one lock, so concurrent callers take turns on the one engine; the
// wrapper owns g_vxn from tts_init until tts_release.
#ifndef VXN_PLATFORM_H
#define VXN_PLATFORM_H

class CVxnSynth;

enum { VXN_SPEECH_CAPACITY = 160000 };

extern CVxnSynth* g_vxn;
extern short g_speech[VXN_SPEECH_CAPACITY];
extern int g_speech_count;
extern int g_dtv_type;

struct VXN_LanguageCode {
  const char* code;
  int languageId;
};

// Speed index (-5..5) and pitch (-70..70) for a platform level 1..15; other
// levels count as the middle band.
int engine_get_speed(const char* language, int level);
int engine_get_pitch(int level);
// The callback the wrapper registers: collects the chunks into g_speech.
void stream_cb(short* samples, int count, int state);
// Empties the collection before a synthesis (once per call).
void VXN_platform_restart_collection();

#endif
