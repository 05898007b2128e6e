// Full-context labels from a phone alignment and its prompt, for corpora
// whose language has no front end of ours (written for the Russian festvox
// corpus: lab/ID.lab phone end times, stressed vowels spelled double,
// prompts in etc/txt.done.data; the Russian voice now trains on our
// module's labels instead, VXN_label_align.h). Syllables: one per vowel phone, consonants between two
// vowels of a word go to the second syllable except a sonorant before
// another consonant; words: the prompt's words, found in the phone string by
// their vowel letters (a word without vowels leans on the next one); phrases:
// the stretches between pauses. When the prompt's vowel letters and the
// vowel phones do not agree in number, every phrase becomes one word.
// Labels are written in the full form the engine's analyzer writes.
#ifndef VXN_TRAIN_PHONE_LABELS_H
#define VXN_TRAIN_PHONE_LABELS_H

#include <set>
#include <string>
#include <vector>

namespace vxn {
namespace train {

struct TimedPhone {
  std::string phone;
  double start_s = 0.0, end_s = 0.0;
};

struct TimedLabel {
  std::string label;
  double start_s = -1.0, end_s = -1.0;  // negative: no timing
};

// Reads a whole file into TEXT; false when it cannot be opened.
bool read_text_file(const std::string& path, std::string* text);

// Reads a festvox/ESPS phone label file ("#" header line, then "END 125
// PHONE" lines). Errors name the file and the line.
bool read_phone_alignment(const std::string& path, std::vector<TimedPhone>* out,
                          std::string* error);
// The same on text already read (name for messages).
bool parse_phone_alignment(const std::string& text, const std::string& name,
                           std::vector<TimedPhone>* out, std::string* error);

struct PhoneSet {
  std::set<std::string> vowels;
  std::set<std::string> stressed;   // vowels that carry stress
  std::set<std::string> sonorants;  // consonants that close a syllable before a consonant
  std::string pause = "pau";
  std::string vowel_letters;        // UTF-8 vowel letters of the prompt's script
};

// The Russian festvox phone set.
PhoneSet russian_phone_set();

struct PhoneLabelReport {
  bool words_from_prompt = true;  // false: the fallback of one word per phrase
};

// Labels of one utterance; phones must hold at least one non-pause phone.
bool phone_labels(const std::vector<TimedPhone>& phones, const std::string& prompt,
                  const PhoneSet& set, std::vector<TimedLabel>* out, PhoneLabelReport* report,
                  std::string* error);

}  // namespace train
}  // namespace vxn

#endif
