// vxn-soak: create-speak-free cycles through the public interface, for hours.
//
// Each cycle creates an engine, sets a language and a voice, initialises it
// with the voice directory, applies random output and voice settings, speaks
// a sentence of the language (UTF-8, sometimes UTF-16) and, now and then,
// asks for a stop from a second thread at a random moment; then VXNFree and
// destroy. The languages that have a voice in the voice directory take turns.
//
// Checked on every cycle: every call returns what it should, the stream
// callback delivers exactly one end notice (state VXN_CHUNK_END; none when a
// stop ended the call between pieces) and nothing after it, a stop asked for
// during a synthesis ends it within --stop-lag ms.
// Checked over the run: resident memory (VmRSS) after the warm-up (one cycle
// per language) does not grow by more than --rss-bound MiB.
//
//   vxn-soak [--short] [--cycles N] [--seconds S] [--voice-dir DIR] [--seed N]
//            [--stop-percent P] [--stop-lag MS] [--rss-bound MIB] [--report-every S]
//            [--languages en_US,de_DE,...]
//
// Exit status: 0 every check held, 1 a check failed, 2 usage or no voice.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "include/vxn_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

// A few short sentences of every language, in UTF-8, indexed by language id.
const std::vector<std::vector<const char*>> kSentences = {
    {"안녕하세요. 오늘 날씨는 맑습니다.", "뉴스는 아홉 시에 시작합니다.", "채널 7번입니다."},
    {"The evening news starts at nine.", "Turn the volume down, please.",
     "Channel 4 shows a film at 8:30 pm."},
    {"Good evening, here is the weather.", "The match kicks off at half past seven.",
     "Tickets cost £12.50."},
    {"G'day, the forecast is sunny.", "The cricket starts at ten.", "It costs $20."},
    {"Guten Abend, hier sind die Nachrichten.", "Das Wetter wird morgen schön.",
     "Um 20 Uhr beginnt der Film."},
    {"Bonsoir, voici les informations.", "Il fait très beau aujourd'hui.",
     "Le film commence à 20h30."},
    {"Buenas noches, estas son las noticias.", "Mañana hará sol en el norte.",
     "El partido empieza a las 9."},
    {"Buonasera, ecco il telegiornale.", "Domani il tempo sarà bello.",
     "Il film inizia alle ore 21."},
    {"Goedenavond, hier is het nieuws.", "Morgen wordt het zonnig weer.",
     "De film begint om 8 uur."},
    {"晚上好，这里是新闻。", "明天天气晴朗。", "电影八点开始。"},
    {"Boa noite, estas são as notícias.", "Amanhã vai fazer sol.", "O jogo começa às 9 horas."},
    {"Dobry wieczór, oto wiadomości.", "Jutro będzie słonecznie.", "Film zaczyna się o 20."},
    {"Добрый вечер, вот новости.", "Завтра будет солнечно.", "Фильм начнётся в 9 часов."},
    {"Godaften, her er nyhederne.", "I morgen bliver det solskin.", "Filmen starter klokken 8."},
    {"God kväll, här är nyheterna.", "I morgon blir det sol.", "Filmen börjar klockan 8."},
    {"Hyvää iltaa, tässä uutiset.", "Huomenna on aurinkoista.", "Elokuva alkaa kello 8."},
    {"God kveld, her er nyhetene.", "I morgen blir det sol.", "Filmen starter klokken 8."},
    {"Boa noite, estas são as notícias.", "Amanhã vai estar sol.", "O filme começa às 9 horas."},
};

struct Options {
  long cycles = 0;        // 0: no cycle limit
  double seconds = 0.0;   // 0: no time limit
  bool shortMode = false;
  std::string voiceDir;
  unsigned seed = 0;
  bool seedGiven = false;
  int stopPercent = 30;
  double stopLagMs = 1000.0;
#if defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer keeps freed blocks in quarantine (256 MiB by default):
  // resident memory says little about leaks there, LeakSanitizer does.
  double rssBoundMiB = 1024.0;
#else
  double rssBoundMiB = 24.0;
#endif
  double reportEvery = 10.0;
  std::string only;  // comma-separated language codes; empty: every voiced language
};

// What the stream callback saw during one synthesis. The callback runs on
// the synthesising thread; the stop thread only reads nothing of it.
struct CallRecord {
  long chunks = 0;
  long samples = 0;
  int ends = 0;
  long afterEnd = 0;  // callbacks that arrived after the end notice
  int badCount = 0;   // negative counts, or counts larger than the ring's chunk
  int chunkLimit = 0;
  int lastState = -1;
};
CallRecord g_call;

void on_chunk(short* samples, int count, int state) {
  if (g_call.ends > 0) g_call.afterEnd++;
  g_call.chunks++;
  if (count < 0 || count > g_call.chunkLimit || (count > 0 && !samples)) g_call.badCount++;
  if (count > 0) g_call.samples += count;
  if (state == VXN_CHUNK_END) g_call.ends++;
  g_call.lastState = state;
}

long rss_kib() {
  FILE* f = fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kib = -1;
  while (fgets(line, sizeof(line), f))
    if (strncmp(line, "VmRSS:", 6) == 0) kib = strtol(line + 6, nullptr, 10);
  fclose(f);
  return kib;
}

double mib(long kib) { return kib / 1024.0; }

// UTF-8 to UTF-16 code units, zero-terminated; valid input assumed.
std::vector<short> to_utf16(const char* s) {
  std::vector<short> out;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(s);
  while (*p) {
    unsigned cp;
    int extra;
    if (*p < 0x80) { cp = *p; extra = 0; }
    else if ((*p & 0xE0) == 0xC0) { cp = *p & 0x1F; extra = 1; }
    else if ((*p & 0xF0) == 0xE0) { cp = *p & 0x0F; extra = 2; }
    else { cp = *p & 0x07; extra = 3; }
    p++;
    for (int i = 0; i < extra && *p; i++, p++) cp = (cp << 6) | (*p & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back((short)(0xD800 + (cp >> 10)));
      out.push_back((short)(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back((short)cp);
    }
  }
  out.push_back(0);
  return out;
}

bool file_exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

struct Voice {
  int language;
  int index;
};

// Every voice of the language table whose package is in the directory.
std::vector<std::vector<int>> voices_in(const std::string& dir) {
  std::vector<std::vector<int>> byLanguage(18);
  for (int id = 0; id < 18; id++) {
    for (int index = 0; index < 4; index++) {
      char stem[256];
      if (!VXNVoiceStem(id, index, stem, sizeof(stem))) continue;
      const std::string base = dir + "Model/" + stem;
      if (file_exists(base + ".am") && file_exists(base + ".dt") && file_exists(base + ".qt") &&
          file_exists(base + ".pt"))
        byLanguage[id].push_back(index);
    }
  }
  return byLanguage;
}

struct Totals {
  long cycles = 0;
  long utf16 = 0;
  long stops = 0;          // stops asked for while the synthesis ran
  long stopsHonoured = 0;  // ... and the call returned within the lag
  long lateStops = 0;      // stops that came after the call had returned
  long endNotices = 0;
  long lostEnds = 0;
  long stoppedWithoutEnd = 0;  // stopped between pieces: no end notice, as designed
  long duplicateEnds = 0;
  long chunksAfterEnd = 0;
  long badChunks = 0;
  long badReturns = 0;
  long silentCalls = 0;    // calls without a stop that delivered no sample
  long samples = 0;
  double worstStopLagMs = 0.0;
};

void usage() {
  fprintf(stderr,
          "usage: vxn-soak [--short] [--cycles N] [--seconds S] [--voice-dir DIR] [--seed N]\n"
          "                [--stop-percent P] [--stop-lag MS] [--rss-bound MIB]\n"
          "                [--report-every S] [--languages en_US,de_DE,...]\n");
}

bool parse(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; i++) {
    const std::string a = argv[i];
    auto value = [&](const char** out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    const char* v = nullptr;
    if (a == "--short") o->shortMode = true;
    else if (a == "--cycles" && value(&v)) o->cycles = atol(v);
    else if (a == "--seconds" && value(&v)) o->seconds = atof(v);
    else if (a == "--voice-dir" && value(&v)) o->voiceDir = v;
    else if (a == "--seed" && value(&v)) { o->seed = (unsigned)strtoul(v, nullptr, 10); o->seedGiven = true; }
    else if (a == "--stop-percent" && value(&v)) o->stopPercent = atoi(v);
    else if (a == "--stop-lag" && value(&v)) o->stopLagMs = atof(v);
    else if (a == "--rss-bound" && value(&v)) o->rssBoundMiB = atof(v);
    else if (a == "--report-every" && value(&v)) o->reportEvery = atof(v);
    else if (a == "--languages" && value(&v)) o->only = v;
    else return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!parse(argc, argv, &opt)) {
    usage();
    return 2;
  }
  if (opt.voiceDir.empty()) {
    const char* env = getenv("VXN_VOICE_DIR");
#ifdef VXN_SOAK_VOICE_DIR
    opt.voiceDir = env ? env : VXN_SOAK_VOICE_DIR;
#else
    opt.voiceDir = env ? env : "build/voice/";
#endif
  }
  if (opt.voiceDir.back() != '/') opt.voiceDir += '/';
  if (!opt.seedGiven) opt.seed = (unsigned)time(nullptr);
  // The short mode: the warm-up and at most four more rounds, within 40 s.
  if (opt.shortMode) {
    if (opt.seconds <= 0.0) opt.seconds = 40.0;
  }

  const std::vector<std::vector<int>> voices = voices_in(opt.voiceDir);
  std::vector<int> languages;
  for (int id = 0; id < 18; id++)
    if (!voices[id].empty() &&
        (opt.only.empty() || ("," + opt.only + ",").find(std::string(",") + VXNLanguageCode(id) +
                                                         ",") != std::string::npos))
      languages.push_back(id);
  if (languages.empty()) {
    fprintf(stderr, "vxn-soak: no voice in %sModel/ (run scripts/build-voices.sh)\n",
            opt.voiceDir.c_str());
    return 2;
  }
  if (opt.shortMode && opt.cycles <= 0) opt.cycles = 5 * (long)languages.size();
  const long warmup = (long)languages.size();
  if (opt.cycles > 0 && opt.cycles < warmup) opt.cycles = warmup;
  if (opt.cycles <= 0 && opt.seconds <= 0.0) opt.seconds = 600.0;

  printf("vxn-soak: voice directory %s, %zu languages, seed %u, stops %d%%, RSS bound %.1f MiB\n",
         opt.voiceDir.c_str(), languages.size(), opt.seed, opt.stopPercent, opt.rssBoundMiB);
  fflush(stdout);

  std::mt19937 rng(opt.seed);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto chance = [&](int percent) { return uniform(0, 99) < percent; };

  Totals t;
  const Clock::time_point start = Clock::now();
  auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  long rssStart = -1, rssPeak = -1, rssAfterWarmup = -1;
  double lastReport = 0.0;
  std::string dir = opt.voiceDir;
  std::vector<double> callUs(18, 200000.0);  // duration of each language's last whole call
  int failures = 0;
  auto fail = [&](long cycle, int lang, const char* what) {
    failures++;
    fprintf(stderr, "vxn-soak: cycle %ld (%s): %s\n", cycle, VXNLanguageCode(lang), what);
  };

  for (long cycle = 0;; cycle++) {
    if (cycle >= warmup) {
      if (opt.cycles > 0 && cycle >= opt.cycles) break;
      if (opt.seconds > 0.0 && elapsed() >= opt.seconds) break;
    }
    const int lang = languages[(size_t)(cycle % (long)languages.size())];
    const std::vector<int>& indices = voices[lang];
    const int index = indices[(size_t)uniform(0, (int)indices.size() - 1)];
    const std::vector<const char*>& sentences = kSentences[lang];
    const char* sentence = sentences[(size_t)uniform(0, (int)sentences.size() - 1)];
    const bool utf16 = chance(25);
    const bool stop = chance(opt.stopPercent);
    // The stop falls anywhere in the time the language's last call took
    // (and a little after it, so that some stops come too late).
    const int stopDelayUs = uniform(0, (int)(callUs[lang] * 1.1));
    const int rate = uniform(8000, 48000);
    const int channels = uniform(1, 2);
    // A chunk holds at least ten output frames of every channel.
    const int minChunk = 10 * (rate / 200) * channels;
    const int chunkSize = uniform(minChunk, minChunk * 4);
    const int chunkCount = uniform(2, 8);
    const int pitch = uniform(-70, 70), alpha = uniform(-10, 10), speed = uniform(-5, 5);
    const bool variance = chance(20);
    const int variancePercent = uniform(0, 100);

    void* h = create();
    if (!h) {
      fail(cycle, lang, "create returned null");
      break;
    }
    int bad = 0;
    bad += VXNSetLanguage(h, lang, 0) != 1;
    bad += VXNModelSelect(h, index) != 1;
    const int init = VXNInit(h, &dir[0], &dir[0]);
    if (init != 1) {
      fail(cycle, lang, "VXNInit did not return 1");
      t.badReturns++;
      VXNFree(h);
      destroy(h);
      continue;
    }
    VXNSetSamplingRate(h, rate);
    VXNSetChannel(h, channels);
    VXNSetMemory(h, chunkSize, chunkCount);
    VXNSetStreamCallback(h, on_chunk);
    bad += VXNVoiceControl(h, pitch, alpha, speed) != 1;
    if (variance) bad += VXNSetSpectralVariance(h, variancePercent) != 1;
    bad += VXNGetSamplingRate(h) != rate;
    bad += VXNGetChannel(h) != channels;
    bad += VXNGetControlState(h) != 1;

    g_call = CallRecord();
    g_call.chunkLimit = chunkSize;
    std::atomic<bool> returned(false);
    std::atomic<long long> stoppedAtUs(-1);
    std::thread stopper;
    const Clock::time_point callStart = Clock::now();
    auto sinceCallUs = [&] {
      return (long long)std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() -
                                                                              callStart)
          .count();
    };
    if (stop) {
      stopper = std::thread([&] {
        // Sleep in slices so that a call that returns early ends the wait.
        const Clock::time_point until = callStart + std::chrono::microseconds(stopDelayUs);
        while (Clock::now() < until && !returned.load())
          std::this_thread::sleep_for(std::chrono::microseconds(500));
        if (returned.load()) return;
        stoppedAtUs.store(sinceCallUs());
        VXNSetControlStop(h);
      });
    }
    int spoke;
    if (utf16) {
      std::vector<short> units = to_utf16(sentence);
      spoke = VXNStartStreamingPlayUtf16(h, units.data(), (int)units.size() - 1, 0, 0);
      t.utf16++;
    } else {
      std::string text = sentence;
      spoke = VXNStartStreamingPlayUtf8(h, reinterpret_cast<unsigned char*>(&text[0]),
                                        (int)text.size(), 0, 0);
    }
    const long long returnedAtUs = sinceCallUs();
    returned.store(true);
    if (stoppedAtUs.load() < 0) callUs[lang] = (double)returnedAtUs;
    if (stopper.joinable()) stopper.join();
    bad += spoke != 1;
    bad += VXNRefresh(h) != 1;

    const long long stoppedAt = stoppedAtUs.load();
    if (stoppedAt >= 0 && stoppedAt <= returnedAtUs) {
      // The stop came while the call ran (or just as it returned).
      t.stops++;
      const double lagMs = (returnedAtUs - stoppedAt) / 1000.0;
      t.worstStopLagMs = std::max(t.worstStopLagMs, lagMs);
      if (lagMs <= opt.stopLagMs && VXNGetControlState(h) == 0) t.stopsHonoured++;
      else fail(cycle, lang, "stop not honoured in time");
    } else if (stop) {
      t.lateStops++;
    }
    if (stoppedAt < 0 && g_call.samples == 0) {
      t.silentCalls++;
      fail(cycle, lang, "a synthesis without a stop delivered no sample");
    }

    t.endNotices += g_call.ends;
    // A call that a stop ended between pieces (in the pacing sleep, the
    // analysis or before a generation stage) ends without an end notice by
    // design; every other call ends with exactly one.
    if (g_call.ends == 0 && stoppedAt >= 0) {
      t.stoppedWithoutEnd++;
    } else if (g_call.ends == 0) {
      t.lostEnds++;
      char what[160];
      snprintf(what, sizeof(what), "no end notice%s (%ld chunks, the last of state %d)",
               stoppedAt >= 0 ? " after a stop" : "", g_call.chunks, g_call.lastState);
      fail(cycle, lang, what);
    } else if (g_call.ends > 1) {
      t.duplicateEnds++;
      fail(cycle, lang, "more than one end notice");
    }
    if (g_call.afterEnd > 0) {
      t.chunksAfterEnd += g_call.afterEnd;
      fail(cycle, lang, "chunks after the end notice");
    }
    if (g_call.badCount > 0) {
      t.badChunks += g_call.badCount;
      fail(cycle, lang, "chunk with a count outside 0..chunk size");
    }
    t.samples += g_call.samples;

    bad += VXNFree(h) != 1;
    bad += VXNGetControlState(h) != -1;
    destroy(h);
    if (bad) {
      t.badReturns += bad;
      fail(cycle, lang, "an interface call returned an unexpected value");
    }
    t.cycles++;

    const long rss = rss_kib();
    if (cycle + 1 == warmup) {
      rssAfterWarmup = rss;
      rssStart = rss;
      rssPeak = rss;
      printf("vxn-soak: warm-up done (%ld cycles, %.1f s), RSS %.1f MiB\n", t.cycles, elapsed(),
             mib(rss));
      fflush(stdout);
      lastReport = elapsed();
    } else if (cycle + 1 > warmup) {
      rssPeak = std::max(rssPeak, rss);
      if (elapsed() - lastReport >= opt.reportEvery) {
        lastReport = elapsed();
        printf("vxn-soak: %.0f s, cycle %ld, stops %ld (%ld honoured), end notices %ld, "
               "failures %d, RSS %.1f MiB (+%.1f)\n",
               lastReport, t.cycles, t.stops, t.stopsHonoured, t.endNotices, failures,
               mib(rss), mib(rss - rssAfterWarmup));
        fflush(stdout);
      }
    }
  }

  const long rssEnd = rss_kib();
  if (rssPeak < rssEnd) rssPeak = rssEnd;
  const double growth = mib(rssEnd - rssAfterWarmup);
  const double peakGrowth = mib(rssPeak - rssAfterWarmup);
  const bool rssOk = rssAfterWarmup < 0 || (growth <= opt.rssBoundMiB && peakGrowth <= opt.rssBoundMiB);
  if (!rssOk) {
    failures++;
    fprintf(stderr, "vxn-soak: resident memory grew by %.1f MiB (peak +%.1f) after the warm-up, "
                    "more than %.1f MiB\n", growth, peakGrowth, opt.rssBoundMiB);
  }
  printf("vxn-soak summary: cycles %ld (warm-up %ld), languages %zu, utf16 %ld, stops %ld, "
         "stops honoured %ld, late stops %ld, worst stop lag %.1f ms\n",
         t.cycles, warmup, languages.size(), t.utf16, t.stops, t.stopsHonoured, t.lateStops,
         t.worstStopLagMs);
  printf("vxn-soak summary: end notices %ld, lost %ld, duplicated %ld, stopped between pieces "
         "without one %ld, chunks after end %ld, bad chunks %ld, bad returns %ld, silent calls "
         "%ld, samples %ld\n",
         t.endNotices, t.lostEnds, t.duplicateEnds, t.stoppedWithoutEnd, t.chunksAfterEnd,
         t.badChunks, t.badReturns, t.silentCalls, t.samples);
  printf("vxn-soak summary: RSS start %.1f MiB, peak %.1f MiB, end %.1f MiB (growth %+.1f MiB, "
         "bound %.1f), %.1f s, %s\n",
         mib(rssStart), mib(rssPeak), mib(rssEnd), growth, opt.rssBoundMiB, elapsed(),
         failures ? "FAILED" : "passed");
  return failures ? 1 : 0;
}
