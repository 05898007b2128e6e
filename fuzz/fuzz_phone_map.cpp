// Fuzzes the phone-map page reader and the question translation it feeds.
// Input: a Markdown page; its table under "## donor: radio" is the map, and
// every line of the page that starts with '*' or a letter is also tried as
// a question pattern of each label form. Nothing may crash, hang or read out
// of bounds; rejections are expected.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_label_format.h"
#include "tools/voicebuild/VXN_phone_map.h"
#include "tools/voicebuild/VXN_question_translate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string page(reinterpret_cast<const char*>(data), size);
  vxn::voice::PhoneMap map;
  std::string error;
  if (!vxn::voice::PhoneMap::parse(page, "radio", "page", &map, &error)) {
    if (error.empty()) __builtin_trap();
    map = vxn::voice::PhoneMap();
  }
  std::vector<vxn::voice::Question> questions(1);
  questions[0].name = "q";
  std::istringstream in(page);
  std::string line;
  while (std::getline(in, line) && questions[0].patterns.size() < 64)
    if (!line.empty() && line.size() < 256 && line[0] != '|' && line[0] != '#')
      questions[0].patterns.push_back(line);
  if (questions[0].patterns.empty()) return 0;
  const std::string label =
      "a^b-c+d=e@1_2/A:0_0_0/B:1-1-2@1-2&1-3#1-2$1-2!0-1;0-1|c/C:1+1+2/D:0_0/E:content+2@1+2&1+2"
      "#0+1/F:content_1/G:0_0/H:3=2@1=1|L-L%/I:0=0/J:3+2-1";
  for (const char* form : {"hts", "rhv-en", "rhv-pl"}) {
    vxn::voice::LabelFormat f;
    vxn::voice::LabelFormat::by_name(form, &f, &error);
    std::vector<vxn::voice::Question> q = questions;
    if (vxn::voice::translate_questions(&q, f, map, nullptr, &error)) {
      std::string rule;
      if (vxn::voice::question_kind(q[0].name, &rule) == vxn::voice::QuestionKind::kDerived)
        vxn::voice::derived_rule_exact_for(rule, label);
    }
  }
  return 0;
}
