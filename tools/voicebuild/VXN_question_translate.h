// Translation of a voice's question sets onto the engine's labels.
//
// Every pattern of a source question tests one field of the source's label
// form (VXN_label_format.h). The translation rewrites it as a pattern on the
// engine's form:
//   - a field the engine's form has with the same meaning is re-anchored in
//     the engine's form (same value glob);
//   - a phone field (p1..p5, the syllable vowel b16) asks for the target
//     phones that the phone map sends onto the donor phone asked for;
//   - a field the engine's form lacks but can work out from other fields is
//     derived: the phone's position in its word (k1, k2) from its position in
//     the syllable and the lengths of the syllables before or after it in the
//     word (exact within the first or last two syllables of a word), the
//     question flag (hquestion) from the end tone (exact in the last phrase);
//   - a field with nothing to stand on (the Polish clitic types) is fixed:
//     the question never holds.
// The translated question keeps its name, tagged "~derived:<rule>" or
// "~fixed" when it is not a plain translation, so that a package still tells
// which of its questions answer from the label and which by default.
#ifndef VXN_QUESTION_TRANSLATE_H
#define VXN_QUESTION_TRANSLATE_H

#include <map>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_htsvoice.h"
#include "tools/voicebuild/VXN_label_format.h"
#include "tools/voicebuild/VXN_phone_map.h"

namespace vxn {
namespace voice {

struct TranslateReport {
  int questions = 0;  // distinct questions translated (by name, over every block)
  int exact = 0;
  int derived = 0;
  int fixed = 0;
  int emptied = 0;  // phone questions no target phone maps into (never hold)
  std::map<std::string, int> fixed_fields;    // source field -> patterns fixed
  std::map<std::string, int> derived_fields;  // source field -> patterns derived
  std::vector<std::string> unmapped_donor_phones;  // asked for, but no target phone maps there
};

// Translates one question list in place.
bool translate_questions(std::vector<Question>* questions, const LabelFormat& source,
                         const PhoneMap& phones, TranslateReport* report, std::string* error);

// Translates every tree block of a voice (durations, streams, GV trees).
bool translate_voice_questions(HtsVoice* voice, const LabelFormat& source, const PhoneMap& phones,
                               TranslateReport* report, std::string* error);

// How a translated question answers a label.
enum class QuestionKind { kExact, kDerived, kFixed };
// The kind of a question from its (tagged) name; *rule receives the
// derivation rule of a derived question.
QuestionKind question_kind(const std::string& name, std::string* rule);
// True when the derived rule answers this engine label exactly.
bool derived_rule_exact_for(const std::string& rule, const std::string& label);

}  // namespace voice
}  // namespace vxn

#endif
