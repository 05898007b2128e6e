// A training corpus on disk: CORPUS/etc/txt.done.data (prompts, festival
// form "( ID "text" )"), CORPUS/wav/ID.wav (16-bit PCM, one rate for the
// whole corpus, at least 16 kHz), and labels from a pluggable source: our
// full-context labels in CORPUS/labels/ID.lab ("START END LABEL" in 100 ns
// units, or one bare label a line), or a phone alignment CORPUS/lab/ID.lab
// turned into full-context labels (VXN_phone_labels.h). Loading checks
// everything and stops at the first problem with a message naming the file.
#ifndef VXN_TRAIN_CORPUS_H
#define VXN_TRAIN_CORPUS_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/voicebuild/train/VXN_phone_labels.h"

namespace vxn {
namespace train {

struct CorpusUtterance {
  std::string id;
  std::string prompt;
  std::string wav_path;
  int rate = 0;
  std::vector<TimedLabel> labels;
};

class LabelSource {
 public:
  virtual ~LabelSource() = default;
  // Labels of one utterance; errors name the file they come from.
  virtual bool labels(const std::string& corpus_dir, const std::string& id,
                      const std::string& prompt, std::vector<TimedLabel>* out,
                      std::string* error) = 0;
  virtual std::string describe() const = 0;
};

// CORPUS/labels/ID.lab written by our front end (or vxn-voice speak-corpus).
std::unique_ptr<LabelSource> full_context_labels();
// CORPUS/lab/ID.lab phone alignments with the prompt.
std::unique_ptr<LabelSource> phone_alignment_labels(const PhoneSet& set);

// Reads "( ID "text" )" lines (IDs without '/'). Errors name the file and
// line; parse_prompts does the same on text already read (name for messages).
bool read_prompts(const std::string& path, std::vector<std::pair<std::string, std::string>>* out,
                  std::string* error);
bool parse_prompts(const std::string& text, const std::string& name,
                   std::vector<std::pair<std::string, std::string>>* out, std::string* error);

// Reads a label file of our own ("START END LABEL" or "LABEL" lines, all
// timed or none), and the same from text.
bool read_label_file(const std::string& path, std::vector<TimedLabel>* out, std::string* error);
bool parse_label_text(const std::string& text, const std::string& name, std::vector<TimedLabel>* out,
                      std::string* error);

bool load_corpus(const std::string& dir, LabelSource& source, std::vector<CorpusUtterance>* out,
                 std::string* error);

}  // namespace train
}  // namespace vxn

#endif
