#include "tools/voicebuild/train/VXN_corpus.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
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

namespace {

bool read_text(const std::string& path, const char* op, std::string* out, std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) {
    if (error) *error = std::string(op) + ": " + path + ": cannot open";
    return false;
  }
  out->clear();
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), fp)) > 0) out->append(buf, n);
  const bool ok = !std::ferror(fp);
  std::fclose(fp);
  if (!ok && error) *error = std::string(op) + ": " + path + ": read error";
  return ok;
}

// Lines of a text without their line ends.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
    pos = end + 1;
  }
  return out;
}

bool blank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

bool parse_prompts(const std::string& text, const std::string& name,
                   std::vector<std::pair<std::string, std::string>>* out, std::string* error) {
  out->clear();
  int number = 0;
  for (const std::string& line : lines_of(text)) {
    ++number;
    if (blank(line)) continue;
    const std::size_t open = line.find('(');
    const std::size_t q1 = line.find('"'), q2 = line.rfind('"');
    std::string id;
    if (open != std::string::npos && q1 != std::string::npos && open < q1) {
      const std::size_t s = line.find_first_not_of(" \t", open + 1);
      const std::size_t e = line.find_first_of(" \t\"", s);
      if (s != std::string::npos && e != std::string::npos && s < q1) id = line.substr(s, e - s);
    }
    if (id.empty() || q2 <= q1 || id.find('/') != std::string::npos || id == "." || id == "..") {
      if (error)
        *error = "read_prompts: " + name + ":" + std::to_string(number) +
                 ": expected ( ID \"text\" ), got \"" + line.substr(0, 200) + "\"";
      return false;
    }
    const std::string prompt = line.substr(q1 + 1, q2 - q1 - 1);
    if (blank(prompt)) {
      if (error) *error = "read_prompts: " + name + ":" + std::to_string(number) + ": empty prompt for " + id;
      return false;
    }
    out->push_back({id, prompt});
  }
  if (out->empty()) {
    if (error) *error = "read_prompts: " + name + ": no prompts";
    return false;
  }
  return true;
}

bool read_prompts(const std::string& path, std::vector<std::pair<std::string, std::string>>* out,
                  std::string* error) {
  std::string text;
  return read_text(path, "read_prompts", &text, error) && parse_prompts(text, path, out, error);
}

bool parse_label_text(const std::string& text, const std::string& name, std::vector<TimedLabel>* out,
                      std::string* error) {
  out->clear();
  int number = 0;
  for (const std::string& line : lines_of(text)) {
    ++number;
    if (blank(line)) continue;
    std::vector<std::string> tokens;
    std::size_t pos = 0;
    while (true) {
      const std::size_t s = line.find_first_not_of(" \t", pos);
      if (s == std::string::npos) break;
      const std::size_t e = line.find_first_of(" \t", s);
      tokens.push_back(line.substr(s, e == std::string::npos ? std::string::npos : e - s));
      if (e == std::string::npos) break;
      pos = e;
    }
    TimedLabel l;
    if (line[line.find_first_not_of(" \t")] >= '0' && line[line.find_first_not_of(" \t")] <= '9') {
      char* e1 = nullptr;
      char* e2 = nullptr;
      const long long start = tokens.size() == 3 ? std::strtoll(tokens[0].c_str(), &e1, 10) : 0;
      const long long end = tokens.size() == 3 ? std::strtoll(tokens[1].c_str(), &e2, 10) : 0;
      if (tokens.size() != 3 || *e1 != '\0' || *e2 != '\0' || start < 0 || end < start) {
        if (error)
          *error = "read_label_file: " + name + ":" + std::to_string(number) +
                   ": expected \"START END LABEL\", got \"" + line.substr(0, 200) + "\"";
        return false;
      }
      l = {tokens[2], start * 1e-7, end * 1e-7};
    } else {
      if (tokens.size() != 1) {
        if (error)
          *error = "read_label_file: " + name + ":" + std::to_string(number) +
                   ": expected one label, got \"" + line.substr(0, 200) + "\"";
        return false;
      }
      l.label = tokens[0];
    }
    if (!out->empty() && (l.start_s < 0.0) != (out->back().start_s < 0.0)) {
      if (error) *error = "read_label_file: " + name + ":" + std::to_string(number) + ": timed and untimed labels mixed";
      return false;
    }
    out->push_back(l);
  }
  if (out->empty()) {
    if (error) *error = "read_label_file: " + name + ": no labels";
    return false;
  }
  return true;
}

bool read_label_file(const std::string& path, std::vector<TimedLabel>* out, std::string* error) {
  std::string text;
  return read_text(path, "read_label_file", &text, error) && parse_label_text(text, path, out, error);
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
