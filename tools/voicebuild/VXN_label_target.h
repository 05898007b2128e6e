// The labels a translated voice is asked about. Most voices are asked about
// the engine's own form; the Korean and Chinese analyzers write forms of
// their own (docs/labels-ko.md, docs/labels-zh.md). A target form is a label
// template whose fields carry the engine's names where they mean what the
// engine's fields mean (so a source question on that field is re-anchored
// as it is), names of their own otherwise, and a rule per source field whose
// meaning lands on another field or on other values:
//   - the field it is asked of in the target form;
//   - how a source value reads there: a list of target values per source
//     value (a value not listed never holds; "x" and "0", the absent
//     neighbour, stand for the target's absent value), or a shift of the
//     number (a count of things before becomes a position from 1).
// Plain values; safe to share between threads.
#ifndef VXN_LABEL_TARGET_H
#define VXN_LABEL_TARGET_H

#include <map>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_label_format.h"

namespace vxn {
namespace voice {

struct FieldRule {
  std::string field;  // the target form's field
  bool listed = false;  // values through the list below
  std::map<std::string, std::vector<std::string>> values;
  std::vector<std::string> absent = {"x"};  // what "x" and "0" become when listed
  int shift = 0;  // added to a numeric value when not listed
};

class LabelTarget {
 public:
  // "hts" (the engine's form), "ko" (the Korean analyzer's) or "zh" (the
  // Chinese analyzer's).
  static bool by_name(const std::string& name, LabelTarget* out, std::string* error);
  static const LabelTarget& engine();
  // Every target form, the engine's first.
  static const std::vector<LabelTarget>& all();

  const std::string& name() const { return form_.name(); }
  const LabelFormat& form() const { return form_; }
  // The rule for a source field, or nullptr when the field keeps its name
  // and values.
  const FieldRule* rule(const std::string& source_field) const;
  // The target values a source value of a ruled field stands for; a glob
  // value of a listed field matches the listed values it covers.
  std::vector<std::string> rewrite(const FieldRule& rule, const std::string& value) const;

 private:
  LabelFormat form_;
  std::map<std::string, FieldRule> rules_;
};

}  // namespace voice
}  // namespace vxn

#endif
