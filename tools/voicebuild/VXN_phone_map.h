// Phone maps: each phone of a target language's label phone set onto one or
// more phones of a donor voice (the donor phone nearest in place and manner).
// A map is read from the tables of a Markdown page (docs/phone-maps/<lang>.md):
// under a heading "## donor: NAME" a table whose rows are
//   | target phone | donor phone(s), space-separated | why |
// (the first row is the column heading; "---" rows separate). One page may
// hold a table for each donor phone set. Plain value; safe to share.
#ifndef VXN_PHONE_MAP_H
#define VXN_PHONE_MAP_H

#include <map>
#include <string>
#include <vector>

namespace vxn {
namespace voice {

class PhoneMap {
 public:
  // The map under "## donor: <donor_set>" of the page text. what names the
  // page in messages, which give the line.
  static bool parse(const std::string& text, const std::string& donor_set, const std::string& what,
                    PhoneMap* out, std::string* error);
  static bool read(const std::string& path, const std::string& donor_set, PhoneMap* out,
                   std::string* error);

  // The identity map: every donor phone stands for the same target phone.
  bool is_identity() const { return identity_; }
  // Target phones whose donor list names the donor phone (for the identity
  // map, the phone itself). "x", an absent neighbour, always stands for
  // itself as well.
  std::vector<std::string> targets_of(const std::string& donor) const;
  // target phone -> donor phones, in page order of the donors.
  const std::map<std::string, std::vector<std::string>>& entries() const { return entries_; }

 private:
  bool identity_ = true;
  std::map<std::string, std::vector<std::string>> entries_;
  std::map<std::string, std::vector<std::string>> by_donor_;
};

// A phone name as labels carry it: 1 to 7 characters, none of them a label
// delimiter, a wildcard, a blank or a control character.
bool valid_phone_name(const std::string& phone);

}  // namespace voice
}  // namespace vxn

#endif
