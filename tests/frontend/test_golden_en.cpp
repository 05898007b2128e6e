// Golden cases of the US English text normalisation: every tests/golden/en/*.tsv
// record is rewritten by the input step's typography, as the engine does, and
// run through the US module voice the way `vxn-g2p -u -norm` runs a line (and
// `-u -pb -sm` when the record carries phones). A case that fails
// must be listed in tests/golden/en/known_failures.txt, and a listed case that
// passes must be removed from it, so the list always states the truth.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "api/VXN_typography.h"
#include "engine/VXN_misc.h"
#include "frontend/kvap_g2p.h"
#include "frontend/kvap_iconv.h"
#include "frontend/kvap_opts.h"
#include "include/vxn_engine.h"
#include "modules/usen/usen_voice.h"
#include "tests/frontend/golden_util.h"

namespace {

using namespace vxn_golden;

const std::string kGoldenDir = std::string(VXN_TEST_SOURCE_DIR) + "/tests/golden/en";

// The US module voice as vxn-g2p builds it with -u.
class UsenNormaliser {
 public:
  UsenNormaliser() {
    voice_ = usen_voice_new(0, nullptr, "iso-8859-15");
    char name[] = "kvap.input_encoding", value[] = "utf-8";
    char* pair[] = {name, value};
    kvap_option options[] = {pair, nullptr};
    set_ext_options(voice_, options);
    toUtf8_ = open_iconv_handler("utf-8", g2p_encoding(voice_));
  }
  ~UsenNormaliser() {
    close_iconv_handler(toUtf8_);
    usen_voice_delete(voice_);
  }
  std::string run(const std::string& text, unsigned flags) {
    char* typeset = VXN_typography_utf8(VXNLanguageId("en_US"), text.c_str());
    const std::string input = typeset ? typeset : text;
    VXN_free(typeset);
    char** results = nullptr;
    int count = 0;
    g2p(voice_, input.c_str(), &results, &count, flags | G2P_UTF8);
    std::string out;
    if (count > 0 && results[0]) {
      std::vector<char> buf(2 * strlen(results[0]) + 1);
      if (simple_iconv(toUtf8_, results[0], buf.data(), buf.size()) == 0) out = buf.data();
      else out = "<iconv failed>";
    } else {
      out = "<none>";
    }
    free_g2p_results(results);
    return out;
  }

 private:
  cst_voice* voice_ = nullptr;
  kvap_iconv_t toUtf8_ = (kvap_iconv_t)-1;
};

TEST(GoldenParser, RejectsMalformedLinesWithTheirPosition) {
  struct Bad {
    const char* text;
    const char* message;
  } bad[] = {
      {"# header\n\nten\n", "x.tsv:3: expected 2 or 3 tab-separated fields, found 1"},
      {"a\tb\tc\td\n", "x.tsv:1: expected 2 or 3 tab-separated fields, found 4"},
      {"ok\tok\n\tten\n", "x.tsv:2: empty input"},
      {"10\tTen\n", "x.tsv:1: expected words: upper-case letter"},
      {"10\tten  \n", "x.tsv:1: expected words: leading or trailing space"},
      {"10\tone  zero\n", "x.tsv:1: expected words: double space"},
      {"10\tten | \n", "x.tsv:1: expected words: empty word string"},
      {"10\tten\t\n", "x.tsv:1: phones: empty word string"},
      {"10\tten\n5\tfive\n10\tone zero\n", "x.tsv:3: input repeats line 1"},
  };
  for (const Bad& b : bad) {
    std::istringstream in(b.text);
    std::vector<GoldenCase> cases;
    std::string error;
    EXPECT_FALSE(parse_golden("x.tsv", in, &cases, &error)) << b.text;
    EXPECT_EQ(error, b.message);
  }
  std::istringstream good("# c\n10:30pm\tten thirty p m\r\n50%\tfifty percent | fifty per cent\nlive\tlive\tl ay1 v\n");
  std::vector<GoldenCase> cases;
  std::string error;
  ASSERT_TRUE(parse_golden("g.tsv", good, &cases, &error)) << error;
  ASSERT_EQ(cases.size(), 3u);
  EXPECT_EQ(cases[0].line, 2);
  EXPECT_EQ(cases[0].expected, std::vector<std::string>{"ten thirty p m"});
  EXPECT_EQ(cases[1].expected, (std::vector<std::string>{"fifty percent", "fifty per cent"}));
  EXPECT_EQ(cases[2].phones, "l ay1 v");

  for (const char* k : {"times.tsv 7pm\treason\n", "times.tsv:7pm\n", ":7pm\tr\n", "times.tsv:\tr\n",
                        "times.tsv:7pm\t\n"}) {
    std::istringstream in(k);
    std::map<std::string, std::string> known;
    EXPECT_FALSE(parse_known("k.txt", in, &known, &error)) << k;
    EXPECT_EQ(error, "k.txt:1: expected file:input TAB reason");
  }
  std::istringstream twice("a.tsv:x:y\tr\na.tsv:x:y\tr\n");
  std::map<std::string, std::string> known;
  EXPECT_FALSE(parse_known("k.txt", twice, &known, &error));
  EXPECT_EQ(error, "k.txt:2: repeated entry a.tsv:x:y");
}

TEST(GoldenEn, EveryCaseMatchesOrIsAKnownFailure) {
  UsenNormaliser norm;
  check_golden_dir(kGoldenDir, "en", [&norm](const std::string& text, unsigned flags) { return norm.run(text, flags); });
}

}  // namespace
