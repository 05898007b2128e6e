// Full-context labels as the trainer sees them: the label string split into
// its 53 fields, and the question set generated from the fields' values in
// the training labels (phone identities and classes for the five phone
// positions, equality and "at most" questions for the counting fields,
// identity questions for the other string fields). Each question keeps both
// forms: the patterns the engine matches at synthesis time and the field
// predicate clustering evaluates; check_questions proves that they agree.
// Plain values; safe on any thread.
#ifndef VXN_TRAIN_CONTEXT_H
#define VXN_TRAIN_CONTEXT_H

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace train {

constexpr int kFields = 53;
constexpr int kPhoneFields = 5;  // p1..p5

// Field names in label order (p1..p7, a1..a3, b1..b16, ..., j1..j3).
extern const char* const kFieldNames[kFields];

struct Context {
  std::string label;
  std::vector<std::string> fields;  // kFields values
};

// Splits a label of the full form; false with the reason when it is not one.
bool parse_context(const std::string& label, Context* out, std::string* error);

// Phone classes for the phone-position questions: "NAME phone phone ..." a
// line, '#' comments. Unknown phones in a class are allowed.
struct PhoneClasses {
  std::vector<std::pair<std::string, std::set<std::string>>> classes;
};
bool read_phone_classes(const std::string& path, PhoneClasses* out, std::string* error);

struct Question {
  std::string name;
  std::vector<std::string> patterns;
  int field = 0;
  std::set<std::string> values;  // the question holds when the field's value is one of these
};

// Questions over the values seen in the contexts.
std::vector<Question> make_questions(const std::vector<Context>& contexts,
                                     const PhoneClasses& classes);

// Matches every question's patterns (the engine's matcher) against each
// context and compares with the field predicate. False with the first
// disagreement (question and label) in *error.
bool check_questions(const std::vector<Question>& questions, const std::vector<Context>& contexts,
                     std::string* error);

// The pattern of one field value (e.g. field p3, "a" -> "*-a+*").
std::string field_pattern(int field, const std::string& value);

}  // namespace train
}  // namespace vxn

#endif
