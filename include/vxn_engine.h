/* Public interface of libVXN_engine_sh, the multilingual text-to-speech engine.
 *
 * A host creates one engine handle, selects a language and a voice, initialises
 * it with a voice directory, sets the output format and a stream callback, and
 * hands it text. Speech arrives as 16-bit PCM through the callback, chunk by
 * chunk, on the calling thread, while later text is still being analysed.
 *
 * Typical order: create -> VXNSetLanguage -> (VXNSetHybrid) -> VXNModelSelect ->
 * VXNInit -> VXNSetSamplingRate, VXNSetChannel, VXNSetMemory,
 * VXNSetStreamCallback, VXNVoiceControl -> VXNStartStreamingPlayUtf8 ... each
 * followed by VXNRefresh -> VXNFree -> destroy.
 *
 * Results: 1 success, 0 failure, -1 from VXNInit for missing model files.
 *
 * Threads. The library creates no threads; every call runs on the caller's
 * thread and the callback is called on it.
 * - Different handles share no synthesis state: several engines may run at
 *   once, each in its own thread, from create to destroy, and each delivers
 *   the same samples as it would alone.
 * - One handle is used by one thread at a time, except VXNSetControlStop and
 *   VXNGetControlState, which another thread may call while that handle
 *   synthesises.
 * - VXNSetPrintLevel (and the level every create sets, 2) is one setting for
 *   the whole process; messages of concurrent engines do not interleave.
 * - The stream callback has no context argument: a host running several
 *   engines tells their chunks apart by thread or gives each engine its own
 *   callback.
 * - The language and version queries (VXNLanguageCode, VXNLanguageName,
 *   VXNLanguageId, VXNVoiceStem, VXNGetVersion) may be called from any thread.
 * - The platform wrapper (tts_init, tts_get_pcm_data, tts_release) drives one
 *   process-wide engine; its calls take turns under one lock.
 * - A time log requested through VXNSetLanguage is one file in the working
 *   directory, shared by every engine that asks for it. */
#ifndef VXN_ENGINE_PUBLIC_H
#define VXN_ENGINE_PUBLIC_H

#define VXN_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Language ids. Voice index 0 is female, 1 male. */
enum {
  VXN_LANG_KOREAN = 0,
  VXN_LANG_US_ENGLISH = 1,
  VXN_LANG_UK_ENGLISH = 2,
  VXN_LANG_AU_ENGLISH = 3,
  VXN_LANG_GERMAN = 4,
  VXN_LANG_FRENCH = 5,
  VXN_LANG_SPANISH = 6,
  VXN_LANG_ITALIAN = 7,
  VXN_LANG_DUTCH = 8,
  VXN_LANG_CHINESE = 9,
  VXN_LANG_BR_PORTUGUESE = 10,
  VXN_LANG_POLISH = 11,
  VXN_LANG_RUSSIAN = 12,
  VXN_LANG_DANISH = 13,
  VXN_LANG_SWEDISH = 14,
  VXN_LANG_FINNISH = 15,
  VXN_LANG_NORWEGIAN = 16,
  VXN_LANG_PT_PORTUGUESE = 17
};

/* Stream callback states. */
enum {
  VXN_CHUNK_MIDDLE = 0, /* further chunk of a piece; also the faded chunk of a stop */
  VXN_CHUNK_END = 1,    /* last chunk of the text, the closing chunk of a stop, or the empty end notice */
  VXN_CHUNK_FIRST = 2,  /* first full chunk of a piece (or of a silence) */
  VXN_CHUNK_PIECE_END = 3 /* last chunk of a piece when more text follows */
};

/* [in] samples: the chunk (valid only during the call), count: 16-bit values in
 * it (interleaved when stereo), state: one of the VXN_CHUNK_* values. */
typedef void (*VXNStreamCallback)(short* samples, int count, int state);

/* Creates an engine handle; destroy(null) is ignored. */
VXN_API void* create(void);
VXN_API void destroy(void* handle);

/* [in] languageId 0..17, timeLog 1 writes SynthesisTime.txt. 1, or 0 for an unknown id. */
VXN_API int VXNSetLanguage(void* handle, int languageId, int timeLog);
/* Requests hybrid (unit-selection) prosody; takes effect at VXNInit. */
VXN_API void VXNSetHybrid(void* handle, int flag);
/* Selects the voice (0 female, 1 male; UK English also 2, 3) and resets pitch, timbre, speed. */
VXN_API int VXNModelSelect(void* handle, int index);
/* [in] basePath: voice directory with trailing '/', dictPath: dictionary directory.
 * 1 on success, 0 on a null argument or no language, -1 when a model file is missing. */
VXN_API int VXNInit(void* handle, char* basePath, char* dictPath);
/* Output rate in Hz (after VXNInit). */
VXN_API void VXNSetSamplingRate(void* handle, int rate);
/* Messages below this level (0 debug, 1 info, 2 error) are not printed. */
VXN_API void VXNSetPrintLevel(void* handle, int level);
/* 1 mono, 2 duplicated stereo. */
VXN_API void VXNSetChannel(void* handle, int channels);
/* Ring of chunkCount chunks of chunkSize samples; chunkSize >= 10 output frames. */
VXN_API void VXNSetMemory(void* handle, int chunkSize, int chunkCount);
VXN_API void VXNSetStreamCallback(void* handle, VXNStreamCallback callback);
/* pitch -70..70, timbre -10..10, speed -5..5; 256 leaves a setting unchanged. */
VXN_API int VXNVoiceControl(void* handle, int pitch, int alpha, int speed);
/* Extension, off by default: sharpens the generated spectrum towards the
 * voice's global variance (0 off, 100 full), for voices that sound muffled.
 * 0 generates exactly as without the call. Call after VXNModelSelect; the
 * setting lasts until VXNSetLanguage. 1, or 0 without a language. */
VXN_API int VXNSetSpectralVariance(void* handle, int percent);
/* 1 running, 0 stop requested, -1 without a language. */
VXN_API int VXNGetControlState(void* handle);
VXN_API void VXNSetControlStart(void* handle);
/* Requests a stop; may be called from another thread during synthesis. */
VXN_API void VXNSetControlStop(void* handle);
/* [in] text: NUL-terminated UTF-8, length: bytes counted for sizing at most.
 * pauseFlag 1 makes every pause at least pauseMs long. 1 after synthesis, 0 on failure. */
VXN_API int VXNStartStreamingPlayUtf8(void* handle, unsigned char* text, int length,
                                      int pauseFlag, int pauseMs);
/* Tool extension: speaks the full-context labels of a label file (one label per
 * line, optionally preceded by HTK start and end times) as one piece through the
 * stream callback, with the current voice settings. 1 after synthesis, 0 when
 * the file cannot be read, holds no label, or no voice is loaded. */
VXN_API int VXNStartStreamingPlayLabels(void* handle, const char* labelPath);
/* Drops the per-utterance data; call after each synthesis. */
VXN_API int VXNRefresh(void* handle);
/* Releases the language, the voice and the analyzer. destroy releases them as
 * well when the host did not. */
VXN_API int VXNFree(void* handle);

/* ---- Extensions: C-linkage equivalents of calls that the facade offers
 * only as class methods (or, for the rate, under a C++ name). ---- */
/* Output rate in Hz and channel count; 0 without a language. */
VXN_API int VXNGetSamplingRate(void* handle);
VXN_API int VXNGetChannel(void* handle);
/* [in] text: UTF-16 code units, terminated by a zero unit or bounded by length
 * units; byte order from a leading byte-order mark, little-endian without one. */
VXN_API int VXNStartStreamingPlayUtf16(void* handle, short* text, int length, int pauseFlag,
                                       int pauseMs);
/* [in] text: NUL-terminated, already in the analyzer's encoding (EUC-KR,
 * ISO-8859-x, GB2312). */
VXN_API int VXNStartStreamingPlay(void* handle, char* text, int pauseFlag, int pauseMs);
/* [out] out: at least 51 bytes, "language:<NAME>  speaker:<female|male>\n". */
VXN_API int VXNShowLanguage(void* handle, char* out);

/* ---- Extensions for tools and desktop hosts. ---- */
/* 1 when the language's analyzer can read text (for European languages: its
 * language module was found and loaded by VXNInit), 0 otherwise. VXNInit
 * still returns 1 without the module; it prints error 1060 naming it. */
VXN_API int VXNIsLanguageReady(void* handle);

/* Called with each piece's full-context labels, in order, before the piece is
 * synthesised; labels[i] is valid only during the call. Returning non-zero
 * skips the synthesis of that piece (analysis only: no audio, the end notice
 * still arrives). A null callback switches the calls off. */
typedef int (*VXNLabelCallback)(const char* const* labels, int count, void* user);
VXN_API void VXNSetLabelCallback(void* handle, VXNLabelCallback callback, void* user);

/* The language table, needing no handle. Code: "en_US", "de_DE", ... (null
 * outside 0..17); name: as VXNShowLanguage prints it. */
VXN_API const char* VXNLanguageCode(int languageId);
VXN_API const char* VXNLanguageName(int languageId);
/* Language id of a code: "en_US", "en-us", "EN_us" and "en" (the first
 * language of the table with that language part) all work; "nn_NO" and
 * "no" give Norwegian. -1 for an unknown code or null. */
VXN_API int VXNLanguageId(const char* code);
/* Writes the model stem of a voice, relative to the model directory (for
 * example "EnUS/vxnf_usen_24_256"), as VXNModelSelect would select it.
 * 1 when index names a voice of the language, 0 otherwise (out untouched). */
VXN_API int VXNVoiceStem(int languageId, int index, char* out, int size);
/* The library version, "MAJOR.MINOR.PATCH". */
VXN_API const char* VXNGetVersion(void);

/* Platform wrapper: 48 kHz mono for the region's install directory (under
 * $VXN_INSTALL_ROOT when set). tts_init: 1 on success; tts_get_pcm_data: text
 * of at most 1023 bytes into pcm (room for 160000 samples; every piece of the
 * text is kept, speech beyond 160000 samples is dropped), 1 when speech was
 * produced; tts_release: 1. */
VXN_API int tts_init(const char* language, int speedLevel, int pitchLevel);
VXN_API int tts_get_pcm_data(const char* text, short* pcm, int* count);
VXN_API int tts_release(void);

#ifdef __cplusplus
}

/* Output rate in Hz; exported under its C++ name only. */
VXN_API int VXNGetSampingRate(void* handle);

class CVxnEncodeConvert;
class CVxnTimeCheck;
class CVxnLanguage;

/* The engine facade behind the handle. The methods below are exported with
 * their class-qualified names; hosts normally use the C functions above. */
class VXN_API CVxnSynth {
 public:
  CVxnSynth();
  ~CVxnSynth();
  CVxnSynth(const CVxnSynth&) = delete;
  CVxnSynth& operator=(const CVxnSynth&) = delete;

  int VXNSetLanguage(int languageId, int timeLog);
  void VXNSetHybrid(int flag);
  int VXNModelSelect(int index);
  int VXNInit(char* basePath, char* dictPath);
  int VXNStartStreamingPlayUtf8(unsigned char* text, int length, int pauseFlag, int pauseMs);
  int VXNStartStreamingPlayUtf16(short* text, int length, int pauseFlag, int pauseMs);
  int VXNStartStreamingPlay(char* text, int pauseFlag, int pauseMs);
  int VXNStartStreamingPlayLabels(const char* labelPath);
  void VXNSetLabelCallback(VXNLabelCallback callback, void* user);
  int VXNRefresh();
  int VXNFree();
  int VXNVoiceControl(int pitch, int alpha, int speed);
  int VXNSetSpectralVariance(int percent);
  void VXNSetStreamCallback(void (*callback)(short* samples, int count, int state));
  void VXNSetMemory(int chunkSize, int chunkCount);
  void VXNSetPrintLevel(int level);
  void VXNSetSamplingRate(int rate);
  void VXNSetChannel(int channels);
  int VXNGetControlState();
  void VXNSetControlStart();
  void VXNSetControlStop();
  int VXNGetSamplingRate();
  int VXNGetChannel();
  /* [out] out: at least 51 bytes: "language:<NAME>  speaker:<female|male>\n". */
  int VXNShowLanguage(char* out);
  /* In-place high-frequency boost of count samples. */
  void VXNHighBoost(short* samples, int count);

  /* The language host, or null before VXNSetLanguage and after VXNFree. */
  CVxnLanguage* Language() { return language; }

 private:
  CVxnEncodeConvert* encoder;
  CVxnTimeCheck* timer;
  CVxnLanguage* language;
  int timeLog;
  VXNLabelCallback labelCallback;
  void* labelUser;
};
#endif

#endif
