// The voice trainer's corpus parsers. The first byte selects the parser, the
// rest is the file's text:
//   0: prompts (etc/txt.done.data)
//   1: full-context label file (labels/ID.lab), then the label strings' fields
//   2: phone alignment (lab/ID.lab); the text after the first NUL byte is
//      the prompt, and the alignment becomes full-context labels and questions
//   3: corpus phone map, NUL, phone alignment, NUL, our labels one a line:
//      the labels are timed from the alignment (vxn-voice label-corpus)
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/voicebuild/train/VXN_context.h"
#include "tools/voicebuild/train/VXN_corpus.h"
#include "tools/voicebuild/train/VXN_label_align.h"
#include "tools/voicebuild/train/VXN_phone_labels.h"

using namespace vxn::train;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string error;
  switch (data[0] % 4) {
    case 0: {
      std::vector<std::pair<std::string, std::string>> prompts;
      parse_prompts(text, "fuzz", &prompts, &error);
      break;
    }
    case 1: {
      std::vector<TimedLabel> labels;
      if (parse_label_text(text, "fuzz", &labels, &error)) {
        Context c;
        for (const TimedLabel& l : labels) parse_context(l.label, &c, &error);
      }
      break;
    }
    case 2: {
      const std::size_t nul = text.find('\0');
      const std::string alignment = text.substr(0, nul);
      const std::string prompt = nul == std::string::npos ? std::string() : text.substr(nul + 1);
      std::vector<TimedPhone> phones;
      if (!parse_phone_alignment(alignment, "fuzz", &phones, &error) || phones.size() > 200) break;
      std::vector<TimedLabel> labels;
      if (!phone_labels(phones, prompt, russian_phone_set(), &labels, nullptr, &error)) break;
      std::vector<Context> contexts;
      for (const TimedLabel& l : labels) {
        Context c;
        if (parse_context(l.label, &c, &error)) contexts.push_back(c);
      }
      const std::vector<Question> questions = make_questions(contexts, PhoneClasses());
      check_questions(questions, contexts, &error);
      break;
    }
    default: {
      const std::size_t nul1 = text.find('\0');
      if (nul1 == std::string::npos) break;
      const std::size_t nul2 = text.find('\0', nul1 + 1);
      if (nul2 == std::string::npos) break;
      CorpusPhoneMap map;
      if (!parse_corpus_phone_map(text.substr(0, nul1), "fuzz", &map, &error)) break;
      std::vector<TimedPhone> phones;
      if (!parse_phone_alignment(text.substr(nul1 + 1, nul2 - nul1 - 1), "fuzz", &phones, &error)) break;
      std::vector<TimedLabel> labels;
      const std::string lines = text.substr(nul2 + 1);
      for (std::size_t pos = 0; pos < lines.size();) {
        std::size_t end = lines.find('\n', pos);
        if (end == std::string::npos) end = lines.size();
        TimedLabel l;
        l.label = lines.substr(pos, end - pos);
        labels.push_back(l);
        pos = end + 1;
      }
      if (labels.size() * phones.size() > 1000000) break;
      LabelAlignment stats;
      if (!align_labels(phones, map, 0.01, &labels, &stats, &error)) break;
      stats.share();
      // Timed labels follow one another without gaps or overlaps.
      for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!std::isfinite(labels[i].start_s) || !(labels[i].start_s <= labels[i].end_s)) __builtin_trap();
        if (i > 0 && labels[i].start_s != labels[i - 1].end_s) __builtin_trap();
      }
      break;
    }
  }
  return 0;
}
