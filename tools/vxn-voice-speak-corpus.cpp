// vxn-voice speak-corpus: speaks a list of sentences through the engine and
// keeps, for every piece the analyzer cuts, what a voice trainer needs: the
// 24 kHz speech (wav/ID.wav), the full-context labels with the frames the
// engine gave them (labels/ID.lab, HTK 100 ns units), the prompt
// (etc/txt.done.data) and the voice's own generated mel-cepstrum and log F0
// with its state durations (reference/ID.mcep, ID.lf0: float32 rows, log F0
// -1e10 where unvoiced; ID.dur: int32 frames of every state).
// A trained voice is measured against the reference with the same durations.
#include <errno.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/VXN_engine.h"
#include "include/vxn_engine.h"
#include "lang/VXN_language.h"
#include "tools/voicebuild/analysis/VXN_wav.h"

namespace {

enum { kExitOk = 0, kExitBad = 1, kExitUsage = 2 };

const char* kSpeakUsage =
    "usage: vxn-voice speak-corpus --voice-dir DIR [--lang ID] [--voice N] SENTENCES OUTDIR\n"
    "  SENTENCES: one sentence a line; ID language id (default 1, US English)\n";

struct Capture {
  CVxnSynth* synth = nullptr;
  std::string out;
  std::string id;       // sentence id
  int piece = 0;        // pieces of the sentence written so far
  bool done = false;    // the current piece has been written
  bool failed = false;
  std::vector<std::string> prompts;  // "ID text" lines of the pieces written
  std::string text;
  std::string error;
};
Capture g_capture;

bool make_dir(const std::string& path) {
  return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

bool write_floats(const std::string& path, const std::vector<float>& v) {
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) return false;
  const bool ok = std::fwrite(v.data(), sizeof(float), v.size(), fp) == v.size();
  return std::fclose(fp) == 0 && ok;
}

// Writes the piece the engine has just finished.
void write_piece(Capture& c) {
  VXN_Engine* engine = &c.synth->Language()->engine;
  const int frames = VXN_PStreamSet_get_total_frame(&engine->pss);
  const int nsample = VXN_GStreamSet_get_total_nsample(&engine->gss);
  if (frames <= 0 || nsample <= 0) return;
  ++c.piece;
  const std::string id = c.piece == 1 ? c.id : c.id + "_" + std::to_string(c.piece);
  std::vector<float> speech(nsample);
  for (int i = 0; i < nsample; ++i) speech[i] = engine->gss.speech[i];
  std::string error;
  if (!vxn::analysis::write_wav(c.out + "/wav/" + id + ".wav", speech.data(), speech.size(),
                                engine->sampling_rate, &error)) {
    c.failed = true;
    c.error = error;
    return;
  }
  FILE* fp = std::fopen((c.out + "/labels/" + id + ".lab").c_str(), "w");
  if (!fp) {
    c.failed = true;
    c.error = "cannot write labels/" + id + ".lab";
    return;
  }
  VXN_Engine_save_label(engine, fp);
  std::fclose(fp);
  const int order = VXN_PStreamSet_get_static_length(&engine->pss, 0);
  std::vector<float> mcep((std::size_t)frames * order), lf0(frames, -1e10f);
  int voiced = 0;
  for (int t = 0; t < frames; ++t) {
    const float* v = VXN_PStreamSet_get_parameter_vector(&engine->pss, 0, t);
    std::memcpy(&mcep[(std::size_t)t * order], v, sizeof(float) * order);
    if (VXN_PStreamSet_get_msd_flag(&engine->pss, 1, t))
      lf0[t] = VXN_PStreamSet_get_parameter(&engine->pss, 1, voiced++, 0);
  }
  std::vector<std::int32_t> durations(engine->sss.total_state);
  for (int k = 0; k < engine->sss.total_state; ++k)
    durations[k] = VXN_SStreamSet_get_duration(&engine->sss, k);
  FILE* dp = std::fopen((c.out + "/reference/" + id + ".dur").c_str(), "wb");
  const bool dur_ok = dp && std::fwrite(durations.data(), 4, durations.size(), dp) == durations.size();
  if (dp) std::fclose(dp);
  if (!dur_ok || !write_floats(c.out + "/reference/" + id + ".mcep", mcep) ||
      !write_floats(c.out + "/reference/" + id + ".lf0", lf0)) {
    c.failed = true;
    c.error = "cannot write reference/" + id;
    return;
  }
  c.prompts.push_back("( " + id + " \"" + c.text + "\" )");
}

void on_chunk(short*, int, int state) {
  Capture& c = g_capture;
  if (state == 2 || state == 0) {
    c.done = false;
  } else if (!c.done && !c.failed) {
    write_piece(c);
    c.done = true;
  }
}

}  // namespace

int cmd_speak_corpus(std::vector<std::string>& args) {
  std::string voice_dir, sentences, out;
  int lang = 1, voice = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--voice-dir" || a == "--lang" || a == "--voice") && i + 1 < args.size()) {
      const std::string& v = args[++i];
      if (a == "--voice-dir") voice_dir = v;
      else if (a == "--lang") lang = std::atoi(v.c_str());
      else voice = std::atoi(v.c_str());
    } else if (a.rfind("--", 0) == 0) {
      std::fprintf(stderr, "vxn-voice: unknown option %s\n\n%s", a.c_str(), kSpeakUsage);
      return kExitUsage;
    } else if (sentences.empty()) {
      sentences = a;
    } else if (out.empty()) {
      out = a;
    } else {
      std::fprintf(stderr, "vxn-voice: unexpected argument %s\n\n%s", a.c_str(), kSpeakUsage);
      return kExitUsage;
    }
  }
  if (voice_dir.empty() || sentences.empty() || out.empty()) {
    std::fprintf(stderr, "vxn-voice: speak-corpus needs --voice-dir, SENTENCES and OUTDIR\n\n%s",
                 kSpeakUsage);
    return kExitUsage;
  }
  if (voice_dir.back() != '/') voice_dir += '/';
  FILE* in = std::fopen(sentences.c_str(), "r");
  if (!in) {
    std::fprintf(stderr, "vxn-voice: speak-corpus: cannot open %s\n", sentences.c_str());
    return kExitBad;
  }
  std::vector<std::string> lines;
  char buf[4096];
  while (std::fgets(buf, sizeof(buf), in)) {
    std::string s(buf);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    if (!s.empty() && s[0] != '#') lines.push_back(s);
  }
  std::fclose(in);
  for (const char* d : {"", "/wav", "/labels", "/reference", "/etc"}) {
    if (!make_dir(out + d)) {
      std::fprintf(stderr, "vxn-voice: speak-corpus: cannot create %s%s\n", out.c_str(), d);
      return kExitBad;
    }
  }
  CVxnSynth synth;
  synth.VXNSetPrintLevel(2);
  synth.VXNSetLanguage(lang, 0);
  synth.VXNModelSelect(voice);
  if (synth.VXNInit(&voice_dir[0], &voice_dir[0]) != 1) {
    std::fprintf(stderr, "vxn-voice: speak-corpus: cannot initialise language %d with %s\n", lang,
                 voice_dir.c_str());
    return kExitBad;
  }
  synth.VXNSetSamplingRate(24000);
  synth.VXNSetMemory(2400, 4);
  synth.VXNSetStreamCallback(on_chunk);
  Capture& c = g_capture;
  c.synth = &synth;
  c.out = out;
  for (std::size_t i = 0; i < lines.size() && !c.failed; ++i) {
    char id[32];
    std::snprintf(id, sizeof(id), "utt_%04zu", i + 1);
    c.id = id;
    c.piece = 0;
    c.done = false;
    c.text = lines[i];
    for (char& ch : c.text)
      if (ch == '"') ch = '\'';
    std::string text = lines[i];
    synth.VXNStartStreamingPlayUtf8((unsigned char*)&text[0], (int)text.size(), 0, 0);
    synth.VXNRefresh();
    std::fprintf(stderr, "\rspeak-corpus: %zu/%zu sentences", i + 1, lines.size());
  }
  std::fprintf(stderr, "\n");
  synth.VXNFree();
  if (c.failed) {
    std::fprintf(stderr, "vxn-voice: speak-corpus: %s\n", c.error.c_str());
    return kExitBad;
  }
  FILE* fp = std::fopen((out + "/etc/txt.done.data").c_str(), "w");
  if (!fp) {
    std::fprintf(stderr, "vxn-voice: speak-corpus: cannot write etc/txt.done.data\n");
    return kExitBad;
  }
  for (const std::string& p : c.prompts) std::fprintf(fp, "%s\n", p.c_str());
  std::fclose(fp);
  std::printf("wrote %zu utterances from %zu sentences into %s\n", c.prompts.size(), lines.size(),
              out.c_str());
  return kExitOk;
}
