// Full-context label forms as templates of named fields and the delimiters
// between them: the engine's own form and the forms other voices' question
// sets were written against. A template tells which field a question pattern
// such as "*-aa+*" or "*/E:content+*" tests, splits a label into its field
// values, and writes the pattern that tests a field (or several fields at
// once) in the engine's form. Plain values; safe to share between threads.
#ifndef VXN_LABEL_FORMAT_H
#define VXN_LABEL_FORMAT_H

#include <string>
#include <utility>
#include <vector>

namespace vxn {
namespace voice {

class LabelFormat {
 public:
  // Parses a template such as "{p1}^{p2}-{p3}": field names in braces, the
  // text between them delimiters. Fails on an empty or unclosed field, a
  // field named twice or two fields without a delimiter between them.
  static bool from_template(const std::string& name, const std::string& text, LabelFormat* out,
                            std::string* error);
  // "hts" (the engine's form), "rhv-en" (an added /K: field of the phone's
  // position in its word; /H: written h1=h2^h3=h4|h5) or "rhv-pl" (the
  // Polish variant: clitic types in a2 and c2, only the stressed-syllable
  // distances after b9, then the syllable vowel; h5 a question flag).
  static bool by_name(const std::string& name, LabelFormat* out, std::string* error);
  static const LabelFormat& engine();

  const std::string& name() const { return name_; }
  int size() const { return static_cast<int>(fields_.size()); }
  const std::string& field(int i) const { return fields_[i]; }
  int index(const std::string& field) const;  // -1 when absent
  // Text before field i (empty for a label that starts with field 0) and
  // after the last field (delimiter(size())).
  const std::string& delimiter(int i) const { return delimiters_[i]; }

  // Splits a label into one value per field; false when a delimiter is
  // missing or the label has text after its last field.
  bool split(const std::string& label, std::vector<std::string>* values) const;

  // The fields a pattern tests and the value glob it asks for: patterns of
  // the forms "V<post>*" (first field), "*<pre>V" (last field) and
  // "*<pre>V<post>*", where pre ends the delimiter before the field and post
  // starts the one after it. Usually one field fits; where the form repeats a
  // delimiter pair ("=x@" is both p5 and h2) the pattern holds for either
  // field, and every field that fits with the longest context is returned.
  // Fails when no field fits.
  bool identify(const std::string& pattern, std::vector<std::pair<int, std::string>>* fits,
                std::string* error) const;
  // Pattern that holds exactly when field i has a value matching the glob.
  // The field's delimiters are confined to its section (the text between two
  // "/X:" markers), so a delimiter pair that recurs elsewhere cannot match.
  std::string pattern(int field, const std::string& value) const;
  // Pattern that holds when every listed field matches its glob.
  std::string pattern(std::vector<std::pair<int, std::string>> tests) const;

 private:
  int section_marker_before(int field) const;  // delimiter index, -1 for none
  int section_marker_after(int field) const;   // delimiter index, -1 for none
  std::string name_;
  std::vector<std::string> fields_;
  std::vector<std::string> delimiters_;  // size() + 1
};

}  // namespace voice
}  // namespace vxn

#endif
