// Timing a front end's full-context labels from a corpus phone alignment
// in another phone set (the Russian festvox corpus: lab/ID.lab with its own
// phone names, our Russian module's labels with ours).
//
// A phone map (tools/voicebuild/train/phones/ru_RU.festvox-map.txt) says, for
// every phone of the corpus set, which of our phones count as the same
// sound, and whether it is a pause, a vowel or a consonant. The two phone
// sequences are aligned by dynamic programming: a pair the map calls the
// same costs nothing, a vowel for a vowel or a consonant for a consonant
// costs a substitution, vowels never stand for consonants, pauses only
// pair with pauses and are cheap to insert or delete. Matched pairs, and
// substitutions of the same kind, take the corpus phone's times; the labels
// between two such anchors share the corpus time between them evenly. Every
// label gets at least a minimum duration (taken from its neighbours), so
// the trainer can start its monophones from the timing.
#ifndef VXN_TRAIN_LABEL_ALIGN_H
#define VXN_TRAIN_LABEL_ALIGN_H

#include <map>
#include <string>
#include <vector>

#include "tools/voicebuild/train/VXN_phone_labels.h"

namespace vxn {
namespace train {

enum class PhoneKind { kPause, kVowel, kConsonant };

struct CorpusPhoneMap {
  struct Entry {
    PhoneKind kind = PhoneKind::kConsonant;
    std::vector<std::string> ours;  // our phones counted as the same; the first is the usual one
  };
  std::map<std::string, Entry> corpus;   // corpus phone -> entry
  std::map<std::string, PhoneKind> ours;  // kinds of our phones (from the entries)
};

// Reads a map: "# comment" lines, then "KIND CORPUS_PHONE OUR_PHONE..." with
// KIND pause, vowel or consonant. An our phone named under two kinds is an
// error. parse_corpus_phone_map does the same on text already read.
bool read_corpus_phone_map(const std::string& path, CorpusPhoneMap* out, std::string* error);
bool parse_corpus_phone_map(const std::string& text, const std::string& name, CorpusPhoneMap* out,
                            std::string* error);

// The phone of a full-context label: the name between '-' and '+' of its
// leading "p1^p2-p3+p4=p5" (empty when the label does not start so).
std::string label_phone(const std::string& label);

struct LabelAlignment {
  int our_phones = 0;     // labels that are not pauses
  int corpus_phones = 0;  // corpus phones that are not pauses
  int matched = 0;        // speech labels paired with a phone the map calls the same
  int substituted = 0;    // speech labels paired with another phone of the same kind
  int inserted = 0;       // speech labels without a corpus phone
  int deleted = 0;        // corpus speech phones without a label
  int pauses_matched = 0, pauses_inserted = 0, pauses_deleted = 0;
  // matched / max(our_phones, corpus_phones)
  double share() const;
};

// Times labels (their label text is kept; start_s and end_s are set) from
// corpus phones. min_duration_s: the least a label gets where the
// utterance has room. Fails on empty input or phones the map does not know
// (the message names them); an unknown phone of ours is an error too.
bool align_labels(const std::vector<TimedPhone>& corpus, const CorpusPhoneMap& map,
                  double min_duration_s, std::vector<TimedLabel>* labels, LabelAlignment* stats,
                  std::string* error);

}  // namespace train
}  // namespace vxn

#endif
