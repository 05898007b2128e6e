// sd_vxn: the engine as a speech-dispatcher output module.
//
// speech-dispatcher starts the module with the path of its configuration
// file and talks to it over standard input and output (commands and replies,
// one per line, blocks ended by a line holding a dot); standard error is the
// module's log. Speech goes back to the server as "705 AUDIO" events, chunk
// by chunk while the engine streams, and the server plays it.
//
// The main thread reads commands; one worker thread speaks a message at a
// time through the engine's public interface. STOP and PAUSE are handled at
// once: the engine's stop request ends the current piece within a frame, no
// further audio is sent, and the worker reports 703 STOP or 704 PAUSE. Index
// marks of the message are reported as they are passed; a pause repeats the
// last one, where the server resumes the message.
//
// Configuration (dotconf, as speech-dispatcher's own files):
//   VxnVoiceDir "/path/to/voice/"   voice directory (default: the installed one)
//   VxnRate 24000                   output rate sent to the server
#include <dotconf.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "include/vxn_engine.h"
#include "tools/common/VXN_voice_list.h"
#include "tools/speechd/VXN_sd_audio.h"
#include "tools/speechd/VXN_sd_settings.h"
#include "tools/speechd/VXN_sd_text.h"

namespace {

struct Config {
  std::string voiceDir;
  int rate = 24000;
};

// Output to the server: replies and events never interleave.
std::mutex g_out_mutex;

void send(const std::string& text) {
  std::lock_guard<std::mutex> lock(g_out_mutex);
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

void log_line(const char* format, const std::string& value) {
  fprintf(stderr, "sd_vxn: ");
  fprintf(stderr, format, value.c_str());
  fputc('\n', stderr);
}

// ---------------------------------------------------------------------------
// Configuration

DOTCONF_CB(on_voice_dir) {
  static_cast<Config*>(cmd->context)->voiceDir = cmd->data.str;
  return nullptr;
}

DOTCONF_CB(on_rate) {
  const long rate = cmd->data.value;
  if (rate == 16000 || rate == 24000 || rate == 48000)
    static_cast<Config*>(cmd->context)->rate = (int)rate;
  else
    fprintf(stderr, "sd_vxn: VxnRate %ld is not 16000, 24000 or 48000; keeping %d\n", rate,
            static_cast<Config*>(cmd->context)->rate);
  return nullptr;
}

FUNC_ERRORHANDLER(on_config_error) {
  (void)configfile;
  (void)type;
  (void)dc_errno;
  fprintf(stderr, "sd_vxn: configuration: %s\n", msg);
  return 0;  // unknown options are reported and skipped
}

bool is_dir(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The installed voice directory: <libdir>/vxn/voice/ seen from
// <libdir>/speech-dispatcher-modules/, else the configured install path.
std::string default_voice_dir() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (n > 0) {
    path[n] = '\0';
    std::string dir(path);
    dir = dir.substr(0, dir.rfind('/') + 1) + "../vxn/voice/";
    if (is_dir(dir + "Model")) return dir;
  }
  return VXN_INSTALL_VOICE_DIR "/";
}

Config read_config(const char* path) {
  Config config;
  static const configoption_t kOptions[] = {{"VxnVoiceDir", ARG_STR, on_voice_dir, nullptr, 0},
                                            {"VxnRate", ARG_INT, on_rate, nullptr, 0},
                                            {"", 0, nullptr, nullptr, 0}};
  if (path && access(path, R_OK) == 0) {
    configfile_t* file = dotconf_create(const_cast<char*>(path), kOptions, &config,
                                        CASE_INSENSITIVE);
    if (file) {
      file->errorhandler = (dotconf_errorhandler_t)on_config_error;
      if (!dotconf_command_loop(file)) log_line("cannot read the configuration %s", path);
      dotconf_cleanup(file);
    }
  }
  if (config.voiceDir.empty()) config.voiceDir = default_voice_dir();
  if (config.voiceDir.back() != '/') config.voiceDir += '/';
  return config;
}

// ---------------------------------------------------------------------------
// Speaking

struct Job {
  std::vector<VXN_SdPiece> pieces;
  VXN_SdSettings settings;
};

class Speaker {
 public:
  explicit Speaker(const Config& config) : config_(config) {}
  ~Speaker() { Quit(); }

  // Lists the voices and loads the first; false with *why when none loads.
  bool Init(std::string* why) {
    voices_ = VXN_list_voices(config_.voiceDir);
    if (voices_.empty()) {
      *why = "no voice in " + config_.voiceDir + "Model/";
      return false;
    }
    engine_ = create();
    VXNSetPrintLevel(engine_, 2);
    if (!Load(VXN_sd_choose_voice(voices_, VXN_SdSettings()))) {
      *why = "cannot load the voice " + voices_[0].stem + " from " + config_.voiceDir;
      return false;
    }
    worker_ = std::thread(&Speaker::Run, this);
    return true;
  }

  const std::vector<VXN_VoiceEntry>& voices() const { return voices_; }
  bool busy() const { return busy_; }

  void Speak(Job job) {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = std::move(job);
    pending_ = true;
    busy_ = true;
    stop_ = pause_ = false;
    wake_.notify_one();
  }

  // From the command thread while the worker speaks.
  void Stop(bool pause) {
    if (!busy_) return;
    (pause ? pause_ : stop_) = true;
    if (engine_) VXNSetControlStop(engine_);
  }

  void Quit() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
      wake_.notify_one();
    }
    Stop(false);
    if (worker_.joinable()) worker_.join();
    if (engine_) destroy(engine_);
    engine_ = nullptr;
  }

 private:
  bool Load(int voice) {
    if (voice < 0) return false;
    if (voice == loaded_) return true;
    const VXN_VoiceEntry& v = voices_[(size_t)voice];
    VXNFree(engine_);
    VXNSetLanguage(engine_, v.language, 0);
    VXNModelSelect(engine_, v.index);
    std::string dir = config_.voiceDir;
    loaded_ = -1;
    if (VXNInit(engine_, &dir[0], &dir[0]) != 1 || !VXNIsLanguageReady(engine_)) return false;
    VXNSetSamplingRate(engine_, config_.rate);
    VXNSetChannel(engine_, 1);
    // Chunks of 100 ms: the server hears the first one early.
    VXNSetMemory(engine_, config_.rate / 10, 4);
    VXNSetStreamCallback(engine_, OnChunk);
    loaded_ = voice;
    return true;
  }

  static void OnChunk(short* samples, int count, int state) {
    (void)state;
    Speaker* self = current_;
    if (!self || count <= 0 || self->stop_ || self->pause_) return;
    send(VXN_sd_audio_event(samples, count, self->config_.rate, 1, self->gain_));
  }

  void Run() {
    for (;;) {
      Job job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return pending_ || quit_; });
        if (quit_) return;
        job = std::move(job_);
        pending_ = false;
      }
      send("701 BEGIN\n");
      const int voice = VXN_sd_choose_voice(voices_, job.settings);
      if (!Load(voice)) log_line("cannot load the voice %s", voices_[(size_t)voice].stem);
      gain_ = VXN_sd_gain(job.settings.volume);
      if (loaded_ >= 0)
        VXNVoiceControl(engine_, VXN_sd_pitch(job.settings.pitch), 256,
                        VXN_sd_speed_step(job.settings.rate));
      current_ = this;
      std::string lastMark;
      for (const VXN_SdPiece& piece : job.pieces) {
        if (stop_ || pause_) break;
        if (piece.mark) {
          send("700-" + piece.value + "\n700 INDEX MARK\n");
          lastMark = piece.value;
          continue;
        }
        if (loaded_ < 0) continue;
        // Start first, then look at the request: a stop that comes in
        // between is seen either here or by the engine.
        VXNSetControlStart(engine_);
        if (stop_ || pause_) break;
        std::string text = piece.value;
        VXNStartStreamingPlayUtf8(engine_, (unsigned char*)&text[0], (int)text.size(), 0, 0);
        VXNRefresh(engine_);
      }
      current_ = nullptr;
      const bool paused = pause_, stopped = stop_;
      // The server pauses its playback at the next index mark and resumes
      // the message from it: the mark before the piece that was cut short
      // is repeated, so that the piece is spoken again from its start.
      if (paused && !lastMark.empty()) send("700-" + lastMark + "\n700 INDEX MARK\n");
      busy_ = false;
      send(paused ? "704 PAUSE\n" : stopped ? "703 STOP\n" : "702 END\n");
    }
  }

  Config config_;
  std::vector<VXN_VoiceEntry> voices_;
  void* engine_ = nullptr;
  int loaded_ = -1;
  float gain_ = 1.0f;
  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable wake_;
  Job job_;
  bool pending_ = false;
  bool quit_ = false;
  std::atomic<bool> busy_{false};
  std::atomic<bool> stop_{false};
  std::atomic<bool> pause_{false};
  static Speaker* current_;
};

Speaker* Speaker::current_ = nullptr;

// ---------------------------------------------------------------------------
// Protocol

bool read_line(std::string* line) {
  line->clear();
  int c;
  while ((c = getchar()) != EOF && c != '\n') *line += (char)c;
  return c != EOF || !line->empty();
}

// Lines up to the one holding a single dot; a leading doubled dot is undone.
std::vector<std::string> read_block() {
  std::vector<std::string> lines;
  std::string line;
  while (read_line(&line) && line != ".") {
    if (line.compare(0, 2, "..") == 0) line.erase(0, 1);
    lines.push_back(line);
  }
  return lines;
}

std::string join(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); i++) text += (i ? "\n" : "") + lines[i];
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const Config config = read_config(argc > 1 ? argv[1] : nullptr);
  Speaker speaker(config);
  VXN_SdSettings settings;
  bool ready = false;
  std::string line;
  while (read_line(&line)) {
    if (line == "INIT") {
      std::string why;
      ready = speaker.Init(&why);
      if (ready) {
        send("299-sd_vxn: " + std::to_string(speaker.voices().size()) + " voice(s) in " +
             config.voiceDir + "\n299 OK LOADED SUCCESSFULLY\n");
      } else {
        send("399-sd_vxn: " + why + "\n399 ERR CANT INIT MODULE\n");
      }
    } else if (line == "AUDIO") {
      send("207 OK RECEIVING AUDIO SETTINGS\n");
      bool server = false;
      for (const std::string& l : read_block()) server |= l == "audio_output_method=server";
      // Speech is always handed to the server, which plays it.
      send(server ? "203 OK AUDIO INITIALIZED\n"
                  : "300-sd_vxn: only server audio output is supported\n300 UNKNOWN ERROR\n");
    } else if (line == "LOGLEVEL") {
      send("207 OK RECEIVING LOGLEVEL SETTINGS\n");
      read_block();
      send("203 OK LOGLEVEL SET\n");
    } else if (line.compare(0, 5, "DEBUG") == 0) {
      send("200 OK DEBUGGING SET\n");
    } else if (line == "SET") {
      send("203 OK RECEIVING SETTINGS\n");
      for (const std::string& l : read_block())
        if (!VXN_SdSettings_set(&settings, l)) log_line("ignored setting '%s'", l);
      send("203 OK SETTINGS RECEIVED\n");
    } else if (line == "LIST VOICES") {
      std::string list;
      for (const VXN_VoiceEntry& v : speaker.voices())
        list += "200-" + VXN_sd_voice_name(v) + "\t" + VXN_sd_voice_language(v) + "\tnone\n";
      send(list + "200 OK VOICE LIST SENT\n");
    } else if (line == "SPEAK" || line == "CHAR" || line == "KEY" || line == "SOUND_ICON") {
      send("202 OK RECEIVING MESSAGE\n");
      const std::string text = join(read_block());
      if (!ready || speaker.busy()) {
        send("301 ERROR CANT SPEAK\n");
        continue;
      }
      Job job;
      job.settings = settings;
      if (line == "SPEAK") {
        std::string error;
        if (!VXN_sd_parse_ssml(text, &job.pieces, &error)) log_line("%s", error);
      } else {
        job.pieces.push_back({false, line == "KEY" ? VXN_sd_key_text(text) : text});
      }
      send("200 OK SPEAKING\n");
      speaker.Speak(std::move(job));
    } else if (line == "STOP" || line == "PAUSE") {
      speaker.Stop(line == "PAUSE");  // no reply
    } else if (line == "QUIT") {
      speaker.Quit();
      send("210 OK QUIT\n");
      return 0;
    } else {
      send("300 ERR UNKNOWN COMMAND\n");
    }
  }
  speaker.Quit();
  return 0;
}
