// Label fields, questions, labels from phone alignments and corpus loading.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/VXN_model.h"
#include "tools/voicebuild/analysis/VXN_wav.h"
#include "tools/voicebuild/train/VXN_context.h"
#include "tools/voicebuild/train/VXN_corpus.h"
#include "tools/voicebuild/train/VXN_phone_labels.h"

namespace {

using namespace vxn::train;

const char* kLabel =
    "r^ai-t+a=b@3_1/A:0_0_0/B:1-1-3@1-1&1-1#1-1$2-2!0-0;0-0|ai/C:1+1+2/D:0_0/"
    "E:content+1@1+1&2+2#0+0/F:content_2/G:0_0/H:1=1@1=2|0/I:2=1/J:3+2-2";

int field(const char* name) {
  for (int f = 0; f < kFields; ++f)
    if (std::string(kFieldNames[f]) == name) return f;
  return -1;
}

TEST(Context, SplitsEveryFieldOfTheFullForm) {
  Context c;
  std::string error;
  ASSERT_TRUE(parse_context(kLabel, &c, &error)) << error;
  EXPECT_EQ(c.fields[field("p1")], "r");
  EXPECT_EQ(c.fields[field("p3")], "t");
  EXPECT_EQ(c.fields[field("p5")], "b");
  EXPECT_EQ(c.fields[field("p7")], "1");
  EXPECT_EQ(c.fields[field("b3")], "3");
  EXPECT_EQ(c.fields[field("b7")], "1");
  EXPECT_EQ(c.fields[field("b10")], "2");
  EXPECT_EQ(c.fields[field("b16")], "ai");
  EXPECT_EQ(c.fields[field("e1")], "content");
  EXPECT_EQ(c.fields[field("h4")], "2");
  EXPECT_EQ(c.fields[field("i1")], "2");
  EXPECT_EQ(c.fields[field("j3")], "2");
  EXPECT_FALSE(parse_context("a^b-c+d=e", &c, &error));
  EXPECT_NE(error.find("after field p5"), std::string::npos) << error;
  EXPECT_FALSE(parse_context(std::string(kLabel).replace(0, 1, ""), &c, &error));
  EXPECT_NE(error.find("empty field p1"), std::string::npos) << error;
}

// Labels of a small Russian utterance, through the phone-alignment path.
std::vector<TimedLabel> russian_labels(const std::vector<std::string>& phones,
                                       const std::string& prompt, bool* from_prompt) {
  std::vector<TimedPhone> tp;
  for (std::size_t i = 0; i < phones.size(); ++i) tp.push_back({phones[i], 0.1 * i, 0.1 * (i + 1)});
  std::vector<TimedLabel> out;
  PhoneLabelReport rep;
  std::string error;
  EXPECT_TRUE(phone_labels(tp, prompt, russian_phone_set(), &out, &rep, &error)) << error;
  *from_prompt = rep.words_from_prompt;
  return out;
}

TEST(PhoneLabels, SyllablesWordsAndPhrasesFromAlignmentAndPrompt) {
  bool from_prompt = false;
  // "Карта, в доме." : two phrases; the vowel-less "в" leans on "доме".
  const std::vector<TimedLabel> l = russian_labels(
      {"pau", "k", "aa", "r", "t", "a", "pau", "v", "d", "oo", "mm", "e", "pau"}, "К+арта, в д+оме.",
      &from_prompt);
  ASSERT_EQ(l.size(), 13u);
  EXPECT_TRUE(from_prompt);
  std::vector<Context> cs;
  for (const TimedLabel& t : l) {
    Context c;
    std::string error;
    ASSERT_TRUE(parse_context(t.label, &c, &error)) << error;
    cs.push_back(c);
  }
  // "k aa r | t a": a sonorant before a consonant closes the first syllable.
  EXPECT_EQ(cs[1].fields[field("b3")], "3");
  EXPECT_EQ(cs[4].fields[field("b3")], "2");
  EXPECT_EQ(cs[3].fields[field("p6")], "3");   // r: third phone of its syllable
  EXPECT_EQ(cs[3].fields[field("p7")], "1");
  EXPECT_EQ(cs[2].fields[field("b1")], "1");   // stressed aa
  EXPECT_EQ(cs[5].fields[field("b1")], "0");
  EXPECT_EQ(cs[5].fields[field("b16")], "a");
  EXPECT_EQ(cs[1].fields[field("e2")], "2");   // two syllables in "карта"
  EXPECT_EQ(cs[8].fields[field("e2")], "2");   // "в доме" as one word: v d oo | mm e
  EXPECT_EQ(cs[7].fields[field("b3")], "3");   // v d oo
  EXPECT_EQ(cs[8].fields[field("h3")], "2");   // second phrase
  EXPECT_EQ(cs[1].fields[field("j3")], "2");
  EXPECT_EQ(cs[1].fields[field("j2")], "2");
  EXPECT_EQ(cs[11].fields[field("h5")], "L-L%");
  EXPECT_EQ(cs[1].fields[field("h5")], "0");
  // The pause between the phrases sees the syllables around it.
  EXPECT_EQ(cs[6].fields[field("a3")], "2");   // t a
  EXPECT_EQ(cs[6].fields[field("c3")], "3");   // v d oo
  EXPECT_EQ(cs[6].fields[field("b1")], "x");
  EXPECT_DOUBLE_EQ(l[6].start_s, 0.1 * 6);
  EXPECT_DOUBLE_EQ(l[6].end_s, 0.1 * 7);
  // Too few vowel letters for the phones: one word per phrase.
  russian_labels({"pau", "k", "aa", "r", "t", "a", "pau"}, "К+арт", &from_prompt);
  EXPECT_FALSE(from_prompt);
}

TEST(Questions, PatternsAgreeWithFieldsAndCoverPhoneClasses) {
  bool from_prompt = false;
  std::vector<Context> cs;
  for (const auto& u : {russian_labels({"pau", "k", "aa", "r", "t", "a", "pau", "v", "d", "oo", "mm", "e", "pau"},
                                       "К+арта, в д+оме?", &from_prompt),
                        russian_labels({"pau", "s", "oo", "n", "pau"}, "Сон.", &from_prompt)}) {
    for (const TimedLabel& t : u) {
      Context c;
      ASSERT_TRUE(parse_context(t.label, &c, nullptr));
      cs.push_back(c);
    }
  }
  Context english;
  ASSERT_TRUE(parse_context(kLabel, &english, nullptr));
  cs.push_back(english);
  PhoneClasses classes;
  classes.classes.push_back({"Vowel", {"aa", "a", "oo", "e", "ai"}});
  classes.classes.push_back({"Everything", {"pau", "k", "aa", "r", "t", "a", "v", "d", "oo", "mm", "e", "s", "n", "ai", "b", "x"}});
  const std::vector<Question> qs = make_questions(cs, classes);
  std::string error;
  EXPECT_TRUE(check_questions(qs, cs, &error)) << error;
  bool have_vowel = false, have_all = false, have_p6_at_most = false, have_b3_at_most = false;
  for (const Question& q : qs) {
    have_vowel |= q.name == "C-Vowel";
    have_all |= q.name.find("Everything") != std::string::npos;
    // b3 takes the numbers 2 and 3 only: "at most 2" would repeat "== 2".
    have_b3_at_most |= q.name == "b3<=2";
    if (q.name == "p6<=2") {
      have_p6_at_most = true;
      EXPECT_EQ(q.values, (std::set<std::string>{"1", "2"}));
    }
  }
  EXPECT_TRUE(have_vowel);
  EXPECT_FALSE(have_all) << "a class holding every phone seen asks nothing";
  EXPECT_TRUE(have_p6_at_most);
  EXPECT_FALSE(have_b3_at_most);
  // A question whose patterns disagree with its field is caught.
  std::vector<Question> bad = qs;
  bad[0].patterns = {"*"};
  EXPECT_FALSE(check_questions(bad, cs, &error));
  EXPECT_NE(error.find(bad[0].name), std::string::npos);
}

TEST(PhoneLabels, ReadsAlignmentsAndRejectsBrokenOnes) {
  const std::string dir = std::string(VXN_TEST_BINARY_DIR) + "/test_train_alignment";
  mkdir(dir.c_str(), 0777);
  const std::string good = dir + "/good.lab", bad = dir + "/bad.lab";
  FILE* fp = std::fopen(good.c_str(), "w");
  std::fputs("separator ;\nnfields 1\n#\n0.30 125 pau\n0.35 125 k\n0.50 125 aa\n", fp);
  std::fclose(fp);
  fp = std::fopen(bad.c_str(), "w");
  std::fputs("#\n0.30 125 pau\n0.20 125 k\n", fp);
  std::fclose(fp);
  std::vector<TimedPhone> phones;
  std::string error;
  ASSERT_TRUE(read_phone_alignment(good, &phones, &error)) << error;
  ASSERT_EQ(phones.size(), 3u);
  EXPECT_EQ(phones[1].phone, "k");
  EXPECT_DOUBLE_EQ(phones[1].start_s, 0.30);
  EXPECT_DOUBLE_EQ(phones[1].end_s, 0.35);
  EXPECT_FALSE(read_phone_alignment(bad, &phones, &error));
  EXPECT_NE(error.find("bad.lab:3"), std::string::npos) << error;
  std::vector<TimedLabel> labels;
  EXPECT_FALSE(phone_labels({{"pau", 0, 1}}, "x", russian_phone_set(), &labels, nullptr, &error));
}

// A corpus directory made in the test.
class Corpus {
 public:
  explicit Corpus(const std::string& name) : dir_(std::string(VXN_TEST_BINARY_DIR) + "/" + name) {
    std::system(("rm -rf '" + dir_ + "'").c_str());
    for (const char* d : {"", "/etc", "/wav", "/labels"}) mkdir((dir_ + d).c_str(), 0777);
  }
  void prompts(const std::string& text) { write(dir_ + "/etc/txt.done.data", text); }
  void wav(const std::string& id, int rate) {
    std::vector<float> x(rate / 10, 100.0f);
    vxn::analysis::write_wav(dir_ + "/wav/" + id + ".wav", x.data(), x.size(), rate, nullptr);
  }
  void labels(const std::string& id, const std::string& text) {
    write(dir_ + "/labels/" + id + ".lab", text);
  }
  void write(const std::string& path, const std::string& text) {
    FILE* fp = std::fopen(path.c_str(), "w");
    std::fputs(text.c_str(), fp);
    std::fclose(fp);
  }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

TEST(Corpus, LoadsAndStopsAtTheFirstBrokenFileNamingIt) {
  Corpus c("test_train_corpus");
  c.prompts("( a1 \"Good evening.\" )\n( a2 \"Here is the weather.\" )\n");
  c.wav("a1", 16000);
  c.wav("a2", 16000);
  c.labels("a1", std::string("0 1000000 ") + kLabel + "\n");
  c.labels("a2", std::string(kLabel) + "\n" + kLabel + "\n");
  std::unique_ptr<LabelSource> source = full_context_labels();
  std::vector<CorpusUtterance> corpus;
  std::string error;
  ASSERT_TRUE(load_corpus(c.dir(), *source, &corpus, &error)) << error;
  ASSERT_EQ(corpus.size(), 2u);
  EXPECT_EQ(corpus[0].rate, 16000);
  EXPECT_DOUBLE_EQ(corpus[0].labels[0].end_s, 0.1);
  EXPECT_LT(corpus[1].labels[1].start_s, 0.0);

  struct Case {
    std::function<void()> breakage;
    std::string expect;
  };
  const std::vector<Case> cases = {
      {[&] { std::remove((c.dir() + "/wav/a2.wav").c_str()); }, "a2.wav: missing recording"},
      {[&] { c.prompts("( a1 \"Good evening.\" )\n( a2 \"  \" )\n"); }, "empty prompt for a2"},
      {[&] { c.wav("a2", 8000); }, "a2.wav: rate 8000 Hz"},
      {[&] { c.wav("a2", 22050); }, "a2.wav: rate 22050 Hz, the corpus has 16000 Hz"},
      {[&] { c.write(c.dir() + "/wav/a2.wav", "not a wave file at all"); }, "a2.wav: not a RIFF/WAVE file"},
      {[&] { std::remove((c.dir() + "/labels/a2.lab").c_str()); }, "a2.lab: cannot open"},
      {[&] { c.labels("a2", "0 100 a\n200 100 b\n"); }, "a2.lab:2: expected \"START END LABEL\""},
      {[&] { c.labels("a2", "0 100 a\nb\n"); }, "a2.lab:2: timed and untimed labels mixed"},
      {[&] { c.prompts("( a1 Good evening. )\n"); }, "txt.done.data:1: expected ( ID \"text\" )"},
  };
  for (const Case& k : cases) {
    c.prompts("( a1 \"Good evening.\" )\n( a2 \"Here is the weather.\" )\n");
    c.wav("a2", 16000);
    c.labels("a2", std::string(kLabel) + "\n");
    k.breakage();
    EXPECT_FALSE(load_corpus(c.dir(), *source, &corpus, &error)) << k.expect;
    EXPECT_NE(error.find(k.expect), std::string::npos) << error;
  }
}

}  // namespace
