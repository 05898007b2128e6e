// Resource tables of the Korean and Chinese analyzers: UTF-8 text files of
// sections ("[name]" lines) holding entries "key<TAB>value" (or "key=value"
// when the line has no tab), comment lines ("#" alone or followed by a
// blank) and blank lines. A
// ResourceFile owns copies of everything it read; it is filled once when the
// analyzer loads and only read afterwards. Not thread-safe while loading.
#ifndef CJK_RESOURCE_H
#define CJK_RESOURCE_H

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace cjk {

class ResourceFile {
 public:
  // Parses text; on the first malformed line returns false and leaves a
  // message "operation: reason 'value'" in error().
  bool Parse(const std::string& text, const std::string& name);
  // Reads and parses a file; a file that does not open fails with a message.
  bool Load(const std::string& path);

  const std::string& error() const { return error_; }
  // Entries of a section in file order (empty when the section is absent).
  const std::vector<std::pair<std::string, std::string>>& Section(const std::string& name) const;
  // Value of key in section, or fallback.
  std::string Value(const std::string& section, const std::string& key,
                    const std::string& fallback) const;
  int IntValue(const std::string& section, const std::string& key, int fallback) const;

 private:
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections_;
  std::string error_;
};

}  // namespace cjk

#endif
