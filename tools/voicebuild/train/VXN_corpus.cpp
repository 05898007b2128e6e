#include "tools/voicebuild/train/VXN_corpus.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "tools/voicebuild/analysis/VXN_wav.h"

namespace vxn {
namespace train {

namespace {

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

class FullContextSource : public LabelSource {
 public:
  bool labels(const std::string& dir, const std::string& id, const std::string&,
              std::vector<TimedLabel>* out, std::string* error) override {
    return read_label_file(dir + "/labels/" + id + ".lab", out, error);
  }
  std::string describe() const override { return "full-context labels (labels/ID.lab)"; }
};

class PhoneAlignmentSource : public LabelSource {
 public:
  explicit PhoneAlignmentSource(const PhoneSet& set) : set_(set) {}
  bool labels(const std::string& dir, const std::string& id, const std::string& prompt,
              std::vector<TimedLabel>* out, std::string* error) override {
    const std::string path = dir + "/lab/" + id + ".lab";
    std::vector<TimedPhone> phones;
    if (!read_phone_alignment(path, &phones, error)) return false;
    PhoneLabelReport report;
    if (!phone_labels(phones, prompt, set_, out, &report, error)) {
      if (error) *error = path + ": " + *error;
      return false;
    }
    if (!report.words_from_prompt) ++fallbacks_;
    return true;
  }
  std::string describe() const override {
    return "phone alignments (lab/ID.lab) with the prompts; " + std::to_string(fallbacks_) +
           " utterances with one word per phrase";
  }

 private:
  PhoneSet set_;
  int fallbacks_ = 0;
};

}  // namespace

std::unique_ptr<LabelSource> full_context_labels() {
  return std::unique_ptr<LabelSource>(new FullContextSource());
}

std::unique_ptr<LabelSource> phone_alignment_labels(const PhoneSet& set) {
  return std::unique_ptr<LabelSource>(new PhoneAlignmentSource(set));
}

bool read_prompts(const std::string& path, std::vector<std::pair<std::string, std::string>>* out,
                  std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "r");
  if (!fp) {
    if (error) *error = "read_prompts: " + path + ": cannot open";
    return false;
  }
  out->clear();
  std::string line;
  int number = 0;
  char buf[8192];
  bool ok = true;
  while (ok && std::fgets(buf, sizeof(buf), fp)) {
    ++number;
    line.assign(buf, strcspn(buf, "\r\n"));
    const std::size_t open = line.find('(');
    if (open == std::string::npos || line.find_first_not_of(" \t") == std::string::npos) {
      if (line.find_first_not_of(" \t") == std::string::npos) continue;
    }
    const std::size_t q1 = line.find('"'), q2 = line.rfind('"');
    std::string id;
    if (open != std::string::npos && q1 != std::string::npos) {
      const std::size_t s = line.find_first_not_of(" \t", open + 1);
      const std::size_t e = line.find_first_of(" \t\"", s);
      if (s != std::string::npos && e != std::string::npos && s < q1) id = line.substr(s, e - s);
    }
    if (open == std::string::npos || q1 == std::string::npos || q2 <= q1 || id.empty()) {
      if (error)
        *error = "read_prompts: " + path + ":" + std::to_string(number) +
                 ": expected ( ID \"text\" ), got \"" + line + "\"";
      ok = false;
      break;
    }
    const std::string text = line.substr(q1 + 1, q2 - q1 - 1);
    if (text.find_first_not_of(" \t") == std::string::npos) {
      if (error) *error = "read_prompts: " + path + ":" + std::to_string(number) + ": empty prompt for " + id;
      ok = false;
      break;
    }
    out->push_back({id, text});
  }
  std::fclose(fp);
  if (ok && out->empty()) {
    if (error) *error = "read_prompts: " + path + ": no prompts";
    ok = false;
  }
  return ok;
}

bool read_label_file(const std::string& path, std::vector<TimedLabel>* out, std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "r");
  if (!fp) {
    if (error) *error = "read_label_file: " + path + ": cannot open";
    return false;
  }
  out->clear();
  char buf[4096];
  int number = 0;
  bool ok = true;
  while (std::fgets(buf, sizeof(buf), fp)) {
    ++number;
    const std::string line(buf, strcspn(buf, "\r\n"));
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    long long start = 0, end = 0;
    char label[2048];
    TimedLabel l;
    if (line[0] >= '0' && line[0] <= '9') {
      if (std::sscanf(line.c_str(), "%lld %lld %2047s", &start, &end, label) != 3 || end < start) {
        if (error)
          *error = "read_label_file: " + path + ":" + std::to_string(number) +
                   ": expected \"START END LABEL\", got \"" + line + "\"";
        ok = false;
        break;
      }
      l = {label, start * 1e-7, end * 1e-7};
    } else {
      if (std::sscanf(line.c_str(), "%2047s", label) != 1) continue;
      l.label = label;
    }
    if (!out->empty() && (l.start_s < 0.0) != (out->back().start_s < 0.0)) {
      if (error) *error = "read_label_file: " + path + ":" + std::to_string(number) + ": timed and untimed labels mixed";
      ok = false;
      break;
    }
    out->push_back(l);
  }
  std::fclose(fp);
  if (ok && out->empty()) {
    if (error) *error = "read_label_file: " + path + ": no labels";
    ok = false;
  }
  return ok;
}

bool load_corpus(const std::string& dir, LabelSource& source, std::vector<CorpusUtterance>* out,
                 std::string* error) {
  std::vector<std::pair<std::string, std::string>> prompts;
  if (!read_prompts(dir + "/etc/txt.done.data", &prompts, error)) return false;
  out->clear();
  int corpus_rate = 0;
  for (const auto& p : prompts) {
    CorpusUtterance u;
    u.id = p.first;
    u.prompt = p.second;
    u.wav_path = dir + "/wav/" + u.id + ".wav";
    if (!exists(u.wav_path)) {
      if (error) *error = "load_corpus: " + u.wav_path + ": missing recording for " + u.id;
      return false;
    }
    analysis::Wav wav;
    if (!analysis::read_wav(u.wav_path, &wav, error)) return false;
    if (wav.rate < 16000) {
      if (error) *error = "load_corpus: " + u.wav_path + ": rate " + std::to_string(wav.rate) + " Hz (at least 16000 needed)";
      return false;
    }
    if (corpus_rate == 0) corpus_rate = wav.rate;
    if (wav.rate != corpus_rate) {
      if (error)
        *error = "load_corpus: " + u.wav_path + ": rate " + std::to_string(wav.rate) +
                 " Hz, the corpus has " + std::to_string(corpus_rate) + " Hz";
      return false;
    }
    if (wav.samples.empty()) {
      if (error) *error = "load_corpus: " + u.wav_path + ": no samples";
      return false;
    }
    u.rate = wav.rate;
    if (!source.labels(dir, u.id, u.prompt, &u.labels, error)) return false;
    out->push_back(std::move(u));
  }
  return true;
}

}  // namespace train
}  // namespace vxn
