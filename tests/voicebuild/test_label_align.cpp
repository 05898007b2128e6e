// Timing our labels from a corpus phone alignment in another phone set.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/voicebuild/train/VXN_label_align.h"

namespace {

using namespace vxn::train;

const char* kMap =
    "# a small map\n"
    "pause     pau pau\n"
    "vowel     aa  a\n"
    "vowel     a   ah a   # reduced or not\n"
    "vowel     oo  o\n"
    "consonant t   t\n"
    "consonant tt  tj\n"
    "consonant d   d\n"
    "consonant m   m\n"
    "consonant -   zhj\n";

CorpusPhoneMap small_map() {
  CorpusPhoneMap map;
  std::string error;
  EXPECT_TRUE(parse_corpus_phone_map(kMap, "kMap", &map, &error)) << error;
  return map;
}

// A label of the full form's leading part, enough for label_phone.
TimedLabel label(const std::string& prev, const std::string& phone, const std::string& next) {
  TimedLabel l;
  l.label = "x^" + prev + "-" + phone + "+" + next + "=x@x_x/A:0_0_0";
  return l;
}

std::vector<TimedLabel> labels_of(const std::vector<std::string>& phones) {
  std::vector<TimedLabel> out;
  for (std::size_t i = 0; i < phones.size(); ++i)
    out.push_back(label(i > 0 ? phones[i - 1] : "x", phones[i], i + 1 < phones.size() ? phones[i + 1] : "x"));
  return out;
}

// Corpus phones with the given durations in seconds, back to back from 0.
std::vector<TimedPhone> corpus_of(const std::vector<std::pair<std::string, double>>& phones) {
  std::vector<TimedPhone> out;
  double t = 0.0;
  for (const auto& p : phones) {
    out.push_back({p.first, t, t + p.second});
    t += p.second;
  }
  return out;
}

TEST(LabelAlign, ReadsThePhoneMapAndRejectsBrokenOnes) {
  const CorpusPhoneMap map = small_map();
  ASSERT_EQ(map.corpus.count("a"), 1u);
  EXPECT_EQ(map.corpus.at("a").ours, (std::vector<std::string>{"ah", "a"}));
  EXPECT_EQ(map.corpus.at("a").kind, PhoneKind::kVowel);
  EXPECT_EQ(map.corpus.at("pau").kind, PhoneKind::kPause);
  EXPECT_EQ(map.ours.at("zhj"), PhoneKind::kConsonant);
  EXPECT_EQ(map.corpus.count("-"), 0u);
  CorpusPhoneMap bad;
  std::string error;
  EXPECT_FALSE(parse_corpus_phone_map("vowel a a\nglide w w\n", "m", &bad, &error));
  EXPECT_NE(error.find("m:2: kind is pause, vowel or consonant"), std::string::npos) << error;
  EXPECT_FALSE(parse_corpus_phone_map("vowel a a\nconsonant j a\n", "m", &bad, &error));
  EXPECT_NE(error.find("our phone a named under two kinds"), std::string::npos) << error;
  EXPECT_FALSE(parse_corpus_phone_map("vowel a a\nvowel a ah\n", "m", &bad, &error));
  EXPECT_NE(error.find("named twice"), std::string::npos) << error;
  EXPECT_FALSE(parse_corpus_phone_map("vowel a\n", "m", &bad, &error));
  EXPECT_NE(error.find("no phone of ours"), std::string::npos) << error;
  EXPECT_FALSE(parse_corpus_phone_map("# nothing\n", "m", &bad, &error));
}

TEST(LabelAlign, PhoneOfAFullContextLabel) {
  EXPECT_EQ(label_phone("x^pau-shch+a=l@1_2/A:0_0_0"), "shch");
  EXPECT_EQ(label_phone("pau^m-a+x=x@1_1/A:0_0_0/B:1-1-2"), "a");
  EXPECT_EQ(label_phone("no context"), "");
}

TEST(LabelAlign, SameSequenceTakesTheCorpusTimes) {
  const CorpusPhoneMap map = small_map();
  std::vector<TimedLabel> labels = labels_of({"pau", "m", "a", "m", "ah", "pau"});
  const auto corpus = corpus_of({{"pau", 0.2}, {"m", 0.05}, {"aa", 0.12}, {"m", 0.06}, {"a", 0.1}, {"pau", 0.3}});
  LabelAlignment st;
  std::string error;
  ASSERT_TRUE(align_labels(corpus, map, 0.025, &labels, &st, &error)) << error;
  EXPECT_EQ(st.our_phones, 4);
  EXPECT_EQ(st.corpus_phones, 4);
  EXPECT_EQ(st.matched, 4);
  EXPECT_EQ(st.pauses_matched, 2);
  EXPECT_EQ(st.substituted + st.inserted + st.deleted, 0);
  EXPECT_DOUBLE_EQ(st.share(), 1.0);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_NEAR(labels[i].start_s, corpus[i].start_s, 1e-12) << i;
    EXPECT_NEAR(labels[i].end_s, corpus[i].end_s, 1e-12) << i;
  }
}

TEST(LabelAlign, UnmatchedStretchesShareTheTimeBetweenAnchors) {
  const CorpusPhoneMap map = small_map();
  // Ours: pau t o m a d pau pau; corpus: pau t aa m pau a pau. "o" for "aa"
  // is a vowel substitution (timed, not matched); "d" is inserted; the
  // corpus pause inside is deleted; our second final pause is inserted.
  std::vector<TimedLabel> labels = labels_of({"pau", "t", "o", "m", "a", "d", "pau", "pau"});
  const auto corpus =
      corpus_of({{"pau", 0.1}, {"t", 0.08}, {"aa", 0.1}, {"m", 0.06}, {"pau", 0.2}, {"a", 0.1}, {"pau", 0.3}});
  LabelAlignment st;
  std::string error;
  ASSERT_TRUE(align_labels(corpus, map, 0.02, &labels, &st, &error)) << error;
  EXPECT_EQ(st.our_phones, 5);
  EXPECT_EQ(st.corpus_phones, 4);
  EXPECT_EQ(st.matched, 3);  // t, m, a
  EXPECT_EQ(st.substituted, 1);
  EXPECT_EQ(st.inserted, 1);
  EXPECT_EQ(st.deleted, 0);
  EXPECT_EQ(st.pauses_matched, 2);
  EXPECT_EQ(st.pauses_inserted, 1);
  EXPECT_EQ(st.pauses_deleted, 1);
  EXPECT_NEAR(st.share(), 3.0 / 5.0, 1e-12);
  // Every label is timed, back to back, from the first corpus time to the last.
  for (std::size_t i = 0; i < labels.size(); ++i) {
    EXPECT_GE(labels[i].start_s, 0.0);
    EXPECT_GE(labels[i].end_s - labels[i].start_s, 0.02 - 1e-12) << i;
    if (i > 0) {
      EXPECT_DOUBLE_EQ(labels[i].start_s, labels[i - 1].end_s);
    }
  }
  EXPECT_DOUBLE_EQ(labels.front().start_s, 0.0);
  EXPECT_NEAR(labels.back().end_s, 0.94, 1e-12);
  // The substituted vowel keeps the corpus vowel's times.
  EXPECT_NEAR(labels[2].start_s, 0.18, 1e-12);
  EXPECT_NEAR(labels[2].end_s, 0.28, 1e-12);
  // The corpus pause with no label is split between m and a.
  EXPECT_NEAR(labels[3].end_s, 0.44, 1e-12);
  EXPECT_NEAR(labels[4].start_s, 0.44, 1e-12);
  EXPECT_NEAR(labels[4].end_s, 0.64, 1e-12);
  // One of our two final pauses takes the corpus pause, the other its
  // minimum; the inserted d shares its stretch (zero long) and is widened.
  const double final_pauses = labels[7].end_s - labels[6].start_s;
  EXPECT_NEAR(final_pauses + (labels[5].end_s - labels[5].start_s), 0.3, 1e-12);
}

TEST(LabelAlign, EvenSpreadOverInsertedLabels) {
  const CorpusPhoneMap map = small_map();
  // Three labels between t and pau where the corpus has one long phone that
  // matches none of them: they share its 0.3 s evenly.
  std::vector<TimedLabel> labels = labels_of({"pau", "t", "d", "m", "d", "pau"});
  const auto corpus = corpus_of({{"pau", 0.1}, {"t", 0.1}, {"oo", 0.3}, {"pau", 0.1}});
  LabelAlignment st;
  std::string error;
  ASSERT_TRUE(align_labels(corpus, map, 0.0, &labels, &st, &error)) << error;
  EXPECT_EQ(st.matched, 1);
  EXPECT_EQ(st.inserted, 3);
  EXPECT_EQ(st.deleted, 1);  // a vowel never stands for a consonant
  for (int i = 2; i <= 4; ++i) EXPECT_NEAR(labels[i].end_s - labels[i].start_s, 0.1, 1e-12) << i;
}

TEST(LabelAlign, UnknownPhonesAreErrors) {
  const CorpusPhoneMap map = small_map();
  std::vector<TimedLabel> labels = labels_of({"pau", "q", "pau"});
  std::string error;
  EXPECT_FALSE(align_labels(corpus_of({{"pau", 0.1}}), map, 0.0, &labels, nullptr, &error));
  EXPECT_NE(error.find("\"q\" is not in the phone map"), std::string::npos) << error;
  labels = labels_of({"pau", "t", "pau"});
  EXPECT_FALSE(align_labels(corpus_of({{"pau", 0.1}, {"zz", 0.1}}), map, 0.0, &labels, nullptr, &error));
  EXPECT_NE(error.find("corpus phone 2 \"zz\""), std::string::npos) << error;
  labels.clear();
  EXPECT_FALSE(align_labels(corpus_of({{"pau", 0.1}}), map, 0.0, &labels, nullptr, &error));
}

// The Russian map of the tools reads, and its phones of ours are exactly the
// phones the Russian phone classes (our module's set) name.
TEST(LabelAlign, RussianMapCoversOurRussianPhoneSet) {
  const std::string dir = std::string(VXN_TEST_SOURCE_DIR) + "/tools/voicebuild/train/phones/";
  CorpusPhoneMap map;
  std::string error;
  ASSERT_TRUE(read_corpus_phone_map(dir + "ru_RU.festvox-map.txt", &map, &error)) << error;
  std::set<std::string> ours, classes;
  for (const auto& p : map.ours) ours.insert(p.first);
  std::ifstream in(dir + "ru_RU.txt");
  ASSERT_TRUE(in.good());
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, phone;
    fields >> name;
    while (fields >> phone) classes.insert(phone);
  }
  EXPECT_EQ(ours, classes);
  EXPECT_EQ(map.corpus.size(), 51u);  // every phone the corpus alignments use
}

}  // namespace
