// Engines side by side: every job (a language, a voice and two sentences,
// optionally in hybrid mode) is first spoken alone, one engine at a time;
// then all jobs are spoken at once, one engine per thread, for several
// rounds; then all engines are open in one thread and take turns, sentence by
// sentence. Each engine must deliver exactly the samples it delivered alone.
// Only the public header is used, as a host would.
//
// Usage: parallel_engines <voice dir> [prosody database] [rounds, default 2]
// With a prosody database, a scratch copy of the voice directory (links)
// holds it beside the US English female voice and a hybrid job joins.
// Exit status 0 = pass.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "vxn_engine.h"

namespace {

struct Job {
  const char* lang;
  int voice;
  bool hybrid;
  const char* text[2];
};

const Job kJobs[] = {
    {"en_US", 0, false, {"Good evening. Here is the news at nine.", "Rain will spread from the west, 12 mm by midnight."}},
    {"en_US", 1, false, {"The match starts at 7:45 on channel 4.", "Next: a documentary about the deep sea."}},
    {"de_DE", 0, false, {"Guten Abend. Hier sind die Nachrichten.", "Morgen wird es sonnig und warm, bis 24 Grad."}},
    {"fr_FR", 0, false, {"Bonsoir. Voici la météo de ce soir.", "Demain, des averses sur la Bretagne."}},
    {"ru_RU", 0, false, {"Добрый вечер. Вот прогноз погоды.", "Завтра будет солнечно."}},
    {"es_ES", 1, false, {"Buenas noches. Aquí está el tiempo.", "Mañana lloverá en el norte."}},
    {"en_US", 0, true, {"Good evening. Here is the news at nine.", "Tonight's film starts at ten."}},
};

// The callback carries no user pointer: each thread collects into its own
// buffer.
thread_local std::vector<short>* t_samples = nullptr;
thread_local int t_ends = 0;

void on_chunk(short* samples, int count, int state) {
  if (t_samples && count > 0) t_samples->insert(t_samples->end(), samples, samples + count);
  if (state == 1) t_ends++;
}

struct Result {
  std::vector<short> samples;
  int ends = 0;
  std::string error;
};

// Creates and prepares an engine for the job; null (with out->error set)
// when the language or voice is missing.
void* open_engine(const Job& job, const std::string& voiceDir, Result* out) {
  void* engine = create();
  const int id = VXNLanguageId(job.lang);
  std::string dir = voiceDir;
  if (id < 0 || !VXNSetLanguage(engine, id, 0)) {
    out->error = std::string("cannot set the language ") + job.lang;
  } else {
    VXNSetHybrid(engine, job.hybrid ? 1 : 0);
    VXNModelSelect(engine, job.voice);
    if (VXNInit(engine, &dir[0], &dir[0]) == 1 && VXNIsLanguageReady(engine)) {
      VXNSetSamplingRate(engine, 16000);
      VXNSetChannel(engine, 1);
      VXNSetMemory(engine, 1600, 4);
      VXNSetStreamCallback(engine, on_chunk);
      VXNVoiceControl(engine, 0, 0, 0);
      return engine;
    }
    out->error = std::string("no voice or module for ") + job.lang + " in " + voiceDir;
  }
  VXNFree(engine);
  destroy(engine);
  return nullptr;
}

void say(void* engine, const char* text, Result* out) {
  t_samples = &out->samples;
  t_ends = 0;
  std::string t = text;
  VXNStartStreamingPlayUtf8(engine, (unsigned char*)&t[0], (int)t.size(), 0, 0);
  VXNRefresh(engine);
  out->ends += t_ends;
  t_samples = nullptr;
}

void close_engine(void* engine) {
  VXNFree(engine);
  destroy(engine);
}

// The whole job on one engine.
void speak(const Job& job, const std::string& voiceDir, Result* out) {
  void* engine = open_engine(job, voiceDir, out);
  if (!engine) return;
  for (const char* text : job.text) say(engine, text, out);
  close_engine(engine);
}

// Compares a run with the job's run alone; prints and counts a difference.
int compare(const char* what, const Job& job, const Result& alone, const Result& run) {
  const std::vector<short>& a = alone.samples;
  const std::vector<short>& b = run.samples;
  size_t first = 0;
  while (first < a.size() && first < b.size() && a[first] == b[first]) first++;
  const bool same = a.size() == b.size() && first == a.size() && alone.ends == run.ends;
  printf("%s %-5s voice %d%s: %s", what, job.lang, job.voice, job.hybrid ? " hybrid" : "",
         same ? "identical" : "DIFFERENT");
  if (!same)
    printf(" (%zu vs %zu samples, first difference at %zu, %d vs %d end notices)", a.size(),
           b.size(), first, alone.ends, run.ends);
  printf("\n");
  return same ? 0 : 1;
}

// A voice directory of links to the files of voiceDir, with the prosody
// database copied in beside the US English female voice. Returns "" when it
// cannot be made.
std::string hybrid_voice_dir(const std::string& voiceDir, const std::string& database) {
  namespace fs = std::filesystem;
  char tmpl[] = "/tmp/vxn_parallelXXXXXX";
  if (!mkdtemp(tmpl)) return "";
  const fs::path dir = tmpl;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(voiceDir, error)) {
    const fs::path to = dir / fs::relative(entry.path(), voiceDir);
    if (entry.is_directory())
      fs::create_directories(to, error);
    else
      fs::create_symlink(entry.path(), to, error);
    if (error) return "";
  }
  // A database the voice directory already has is only a link here: replace
  // the link, never write through it.
  const fs::path pd = dir / "Model/EnUS/vxnf_usen_24_256.pd";
  fs::remove(pd, error);
  fs::copy_file(database, pd, error);
  return error ? "" : dir.string() + "/";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: parallel_engines <voice dir> [prosody database] [rounds]\n");
    return 2;
  }
  // Absolute, so that the links of the hybrid voice directory resolve.
  char* absolute = realpath(argv[1], nullptr);
  std::string voiceDir = absolute ? absolute : argv[1];
  free(absolute);
  if (voiceDir.back() != '/') voiceDir += '/';
  const std::string database = argc > 2 ? argv[2] : "";
  const int rounds = argc > 3 ? atoi(argv[3]) : 2;

  std::string hybridDir;
  if (!database.empty() && std::filesystem::exists(database)) hybridDir = hybrid_voice_dir(voiceDir, database);

  std::vector<Job> jobs;
  std::vector<std::string> dirs;
  for (const Job& job : kJobs) {
    if (job.hybrid) {
      if (hybridDir.empty()) continue;
      dirs.push_back(hybridDir);
    } else {
      dirs.push_back(voiceDir);
    }
    jobs.push_back(job);
  }

  int failures = 0;
  // Alone: one engine at a time, each in a thread of its own.
  std::vector<Result> alone(jobs.size());
  for (size_t j = 0; j < jobs.size(); j++) {
    std::thread t(speak, std::cref(jobs[j]), std::cref(dirs[j]), &alone[j]);
    t.join();
    const Result& r = alone[j];
    printf("alone  %-5s voice %d%s: %zu samples, %d end notices%s%s\n", jobs[j].lang,
           jobs[j].voice, jobs[j].hybrid ? " hybrid" : "", r.samples.size(), r.ends,
           r.error.empty() ? "" : ", ", r.error.c_str());
    if (!r.error.empty() || r.samples.size() < 8000 || r.ends != 2) {
      fprintf(stderr, "parallel_engines: %s voice %d did not speak both sentences alone\n",
              jobs[j].lang, jobs[j].voice);
      failures++;
    }
  }

  // Together: all engines at once, one per thread.
  for (int round = 0; round < rounds; round++) {
    std::vector<Result> together(jobs.size());
    std::vector<std::thread> threads;
    for (size_t j = 0; j < jobs.size(); j++)
      threads.emplace_back(speak, std::cref(jobs[j]), std::cref(dirs[j]), &together[j]);
    for (std::thread& t : threads) t.join();
    const std::string what = "round " + std::to_string(round);
    for (size_t j = 0; j < jobs.size(); j++)
      failures += compare(what.c_str(), jobs[j], alone[j], together[j]);
  }

  // Interleaved in one thread: every engine open at once, each saying its
  // first sentence in turn, then each its second.
  {
    std::vector<Result> interleaved(jobs.size());
    std::vector<void*> engines(jobs.size());
    for (size_t j = 0; j < jobs.size(); j++)
      engines[j] = open_engine(jobs[j], dirs[j], &interleaved[j]);
    for (int sentence = 0; sentence < 2; sentence++)
      for (size_t j = 0; j < jobs.size(); j++)
        if (engines[j]) say(engines[j], jobs[j].text[sentence], &interleaved[j]);
    for (void* engine : engines)
      if (engine) close_engine(engine);
    for (size_t j = 0; j < jobs.size(); j++)
      failures += compare("one thread", jobs[j], alone[j], interleaved[j]);
  }

  if (!hybridDir.empty()) {
    std::error_code error;
    std::filesystem::remove_all(hybridDir, error);
  }
  printf("%s: %zu engines, %d rounds, %d failures\n", failures ? "FAIL" : "PASS", jobs.size(),
         rounds, failures);
  return failures ? 1 : 0;
}
