// Pattern matching, decision-tree walks, phoneme classes, code words and the
// window table.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_model.h"

namespace {

// Reference matcher: dynamic programming over (label prefix, pattern prefix).
bool reference_match(const std::string& s, const std::string& p) {
  std::vector<std::vector<char>> m(s.size() + 1, std::vector<char>(p.size() + 1, 0));
  m[0][0] = 1;
  for (size_t j = 1; j <= p.size(); j++) m[0][j] = p[j - 1] == '*' && m[0][j - 1];
  for (size_t i = 1; i <= s.size(); i++)
    for (size_t j = 1; j <= p.size(); j++) {
      if (p[j - 1] == '*')
        m[i][j] = m[i - 1][j] || m[i][j - 1];
      else
        m[i][j] = (p[j - 1] == '?' || p[j - 1] == s[i - 1]) && m[i - 1][j - 1];
    }
  return m[s.size()][p.size()];
}

TEST(PatternMatch, WildcardEdgeCases) {
  EXPECT_EQ(VXN_pattern_match("", "*"), 1);
  EXPECT_EQ(VXN_pattern_match("anything", "*"), 1);
  EXPECT_EQ(VXN_pattern_match("", ""), 1);
  EXPECT_EQ(VXN_pattern_match("a", ""), 0);
  EXPECT_EQ(VXN_pattern_match("abc", "a?c"), 1);
  EXPECT_EQ(VXN_pattern_match("ac", "a?c"), 0);
  EXPECT_EQ(VXN_pattern_match("abcd", "a?c"), 0);
  EXPECT_EQ(VXN_pattern_match("", "?*"), 0);
  EXPECT_EQ(VXN_pattern_match("x", "?*"), 1);
  EXPECT_EQ(VXN_pattern_match("xyz", "?*"), 1);
  EXPECT_EQ(VXN_pattern_match("", "*?*"), 0);
  EXPECT_EQ(VXN_pattern_match("q", "*?*"), 1);
  EXPECT_EQ(VXN_pattern_match("abcd", "abcde*"), 0);
  EXPECT_EQ(VXN_pattern_match("Abc", "abc"), 0);  // case-sensitive
}

TEST(PatternMatch, FastPathSubstringAndGeneralMatcher) {
  // Two stars at the ends and no '?': the substring test.
  EXPECT_EQ(VXN_pattern_match("x^y-a+b=c", "*-a+*"), 1);
  EXPECT_EQ(VXN_pattern_match("x^y-aa+b=c", "*-a+*"), 0);
  EXPECT_EQ(VXN_pattern_match("", "**"), 1);
  EXPECT_EQ(VXN_pattern_match("abc", "**"), 1);
  // Three stars: the general matcher.
  EXPECT_EQ(VXN_pattern_match("xaxbx", "*a*b*"), 1);
  EXPECT_EQ(VXN_pattern_match("ab", "*a*b*"), 1);
  EXPECT_EQ(VXN_pattern_match("ba", "*a*b*"), 0);
}

TEST(PatternMatch, AgreesWithReferenceOnRandomInputs) {
  std::mt19937 rng(7);
  const char alphabet[] = "ab-+";
  const char palphabet[] = "ab-+*?";
  for (int n = 0; n < 20000; n++) {
    std::string s, p;
    const int ls = (int)(rng() % 9), lp = (int)(rng() % 7);
    for (int i = 0; i < ls; i++) s += alphabet[rng() % 4];
    for (int i = 0; i < lp; i++) p += palphabet[rng() % 6];
    if (n % 3 == 0) p = "*" + p + "*";  // exercise the fast path too
    ASSERT_EQ(VXN_pattern_match(s.c_str(), p.c_str()), reference_match(s, p) ? 1 : 0)
        << "label '" << s << "' pattern '" << p << "'";
  }
}

// A model set whose single duration model asks random questions, one tree
// per question: root asks it, yes -> leaf 2, no -> leaf 1. The memo's answers
// (compiled patterns, answers shared between questions of the same patterns,
// kept between lookups of one label) must be the plain matcher's.
struct RandomQuestions {
  std::vector<std::string> strings;
  std::vector<VXN_Pattern> patterns;
  std::vector<VXN_Question> questions;
  std::vector<VXN_Node> nodes;
  std::vector<VXN_Tree> trees;
  VXN_Model model{};
  VXN_ModelSet ms{};

  explicit RandomQuestions(std::mt19937* rng) {
    const char palphabet[] = "ab-+*?";
    const int nq = 300;
    std::vector<int> counts;
    for (int q = 0; q < nq; q++) {
      const int n = (int)((*rng)() % 4);  // 0..3 patterns
      counts.push_back(n);
      for (int k = 0; k < n; k++) {
        std::string p;
        const int lp = (int)((*rng)() % 6);
        for (int i = 0; i < lp; i++) p += palphabet[(*rng)() % 6];
        if ((*rng)() % 2) p = "*" + p + "*";  // mostly the common form
        if (q % 50 == 7 && k == 0) p = "**";
        strings.push_back(p);
      }
    }
    // Repeat some pattern lists so that questions share slots.
    patterns.reserve(strings.size());
    for (std::string& p : strings) patterns.push_back(VXN_Pattern{&p[0], nullptr, 0, 0});
    questions.resize(nq);
    size_t at = 0;
    for (int q = 0; q < nq; q++) {
      questions[q] = VXN_Question{const_cast<char*>("q"), nullptr, nullptr, 0};
      VXN_Pattern** tail = &questions[q].head;
      for (int k = 0; k < counts[q]; k++, at++) {
        *tail = &patterns[at];
        tail = &patterns[at].next;
      }
      if (q + 1 < nq) questions[q].next = &questions[q + 1];
    }
    for (int q = 10; q < nq; q += 10) questions[q].head = questions[q - 10].head;
    nodes.resize(3 * nq);
    trees.resize(nq);
    for (int q = 0; q < nq; q++) {
      VXN_Node* n = &nodes[3 * q];
      n[1] = VXN_Node{0, 2, nullptr, nullptr, nullptr, nullptr};
      n[2] = VXN_Node{0, 1, nullptr, nullptr, nullptr, nullptr};
      n[0] = VXN_Node{0, 0, &n[1], &n[2], nullptr, &questions[q]};
      trees[q] = VXN_Tree{nullptr, q + 1 < nq ? &trees[q + 1] : nullptr, &n[0], 2};
    }
    model.tree = &trees[0];
    model.question = &questions[0];
    model.ntree = nq;
    ms.duration.model = &model;
    ms.duration.nmodel = 1;
    ms.nstate = -1;
  }
  ~RandomQuestions() { VXN_QuestionMemo_clear(&ms.memo); }
};

TEST(QuestionMemo, AgreesWithPlainMatchingOnRandomQuestionsAndLabels) {
  std::mt19937 rng(11);
  RandomQuestions r(&rng);
  const char alphabet[] = "ab-+*?";
  std::vector<std::string> labels = {"", "a", "*", "?", "ab-+", std::string(300, 'a') + "-b+"};
  for (int n = 0; n < 3000; n++) {
    std::string s;
    const int ls = (int)(rng() % 12);
    for (int i = 0; i < ls; i++) s += alphabet[rng() % 6];
    labels.push_back(s);
  }
  size_t asked = 0;
  for (size_t i = 0; i < labels.size(); i++) {
    // Every second label is asked again after another one, and every third
    // right after itself: the memo keeps or forgets its answers accordingly.
    const std::string& label = i % 2 == 1 ? labels[i - 1] : labels[i];
    for (int pass = 0; pass < (i % 3 == 0 ? 2 : 1); pass++) {
      VXN_QuestionMemo* memo = VXN_ModelSet_memo_for(&r.ms, label.c_str());
      ASSERT_NE(memo, nullptr);
      for (size_t q = 0; q < r.trees.size(); q++) {
        const size_t t = (q * 7 + i) % r.trees.size();  // a different order each label
        int want = 0;
        for (const VXN_Pattern* p = r.questions[t].head; p; p = p->next)
          if (reference_match(label, p->string)) want = 1;
        ASSERT_EQ(VXN_Tree_search_node_memo(&r.trees[t], label.c_str(), memo), want ? 2 : 1)
            << "label '" << label << "' question " << t;
        ASSERT_EQ(VXN_Tree_search_node(&r.trees[t], label.c_str()), want ? 2 : 1);
        asked++;
      }
    }
  }
  EXPECT_GT(r.ms.memo.nslot, 100);
  EXPECT_LT(r.ms.memo.nslot, 300);  // the repeated lists share slots
  EXPECT_GT(asked, 900000u);
  EXPECT_EQ(VXN_ModelSet_memo_for(&r.ms, nullptr), nullptr);
}

TEST(PatternMatch, VeryLongLabelDoesNotExhaustTheStack) {
  std::string label(200000, 'a');
  label += "b";
  EXPECT_EQ(VXN_pattern_match(label.c_str(), "*a?b"), 1);
  EXPECT_EQ(VXN_pattern_match(label.c_str(), "a*c*"), 0);
  EXPECT_EQ(VXN_pattern_match(label.c_str(), "*a*a*b"), 1);
}

// A small tree built by hand: root asks q0; yes -> leaf 7; no -> node -1
// asking q1: yes -> leaf 2, no -> leaf 3.
struct HandTree {
  VXN_Pattern p0{const_cast<char*>("*-a+*"), nullptr, 0, 0};
  VXN_Pattern p1a{const_cast<char*>("*-b+*"), nullptr, 0, 0};
  VXN_Pattern p1{const_cast<char*>("*-c+*"), &p1a, 0, 0};
  VXN_Question q0{const_cast<char*>("C-a"), &p0, nullptr, 0};
  VXN_Question q1{const_cast<char*>("C-b-or-c"), &p1, nullptr, 0};
  VXN_Node leaf7{0, 7, nullptr, nullptr, nullptr, nullptr};
  VXN_Node leaf2{0, 2, nullptr, nullptr, nullptr, nullptr};
  VXN_Node leaf3{0, 3, nullptr, nullptr, nullptr, nullptr};
  VXN_Node inner{-1, 0, &leaf2, &leaf3, nullptr, &q1};
  VXN_Node root{0, 0, &leaf7, &inner, nullptr, &q0};
  VXN_Tree tree{nullptr, nullptr, &root, 2};
};

TEST(TreeSearch, WalksOnePathToALeaf) {
  HandTree t;
  EXPECT_EQ(VXN_Tree_search_node(&t.tree, "x-a+y"), 7);
  EXPECT_EQ(VXN_Tree_search_node(&t.tree, "x-b+y"), 2);  // second pattern of q1
  EXPECT_EQ(VXN_Tree_search_node(&t.tree, "x-c+y"), 2);
  EXPECT_EQ(VXN_Tree_search_node(&t.tree, "x-d+y"), 3);
  // A question without patterns never holds.
  VXN_Question empty{const_cast<char*>("none"), nullptr, nullptr, 0};
  EXPECT_EQ(VXN_Question_match(&empty, "anything"), 0);
}

TEST(TreeSearch, MissingNodeIsReported) {
  HandTree t;
  t.inner.no = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_EQ(VXN_Tree_search_node(&t.tree, "x-d+y"), -1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("error [4050] : Cannot find node.\n"),
            std::string::npos);
}

TEST(TreeSearch, SelectionCountsEveryTreeAndSkipsOtherStates) {
  HandTree a, b;
  VXN_Pattern star{const_cast<char*>("*"), nullptr, 0, 0};
  a.tree.state = 2;
  a.tree.head = &star;
  b.tree.state = 3;
  b.tree.head = &star;
  a.tree.next = &b.tree;
  VXN_Model model{};
  model.tree = &a.tree;
  int k = 0;
  EXPECT_EQ(VXN_Model_select_tree(&model, "l", 3, &k), &b.tree);
  EXPECT_EQ(k, 3);
  EXPECT_EQ(VXN_Model_select_tree(&model, "l", -1, &k), &a.tree);  // duration: the first tree
  EXPECT_EQ(k, 2);
  EXPECT_EQ(VXN_Model_select_tree(&model, "l", 4, &k), nullptr);
  EXPECT_EQ(k, 4);  // ran past the last tree
}

TEST(PhonemeClasses, PauseAndBreak) {
  EXPECT_EQ(VXN_Check_pause("a^a-pau+b=c"), 1);
  EXPECT_EQ(VXN_Check_break("a^a-pau+b=c"), 1);
  EXPECT_EQ(VXN_Check_break("a^x-pau+b=c"), 0);   // previous phoneme "x"
  EXPECT_EQ(VXN_Check_break("a^ax-pau+b=c"), 0);  // previous ends in "x"
  EXPECT_EQ(VXN_Check_break("a^a-pau+xb=c"), 0);  // next starts with "x"
  EXPECT_EQ(VXN_Check_break("a^a-pau:xb=c"), 0);
  EXPECT_EQ(VXN_Check_break("-pau+b"), 1);        // '-' first: nothing before it
  EXPECT_EQ(VXN_Check_pause("x^x-#l+x=x"), 1);
  EXPECT_EQ(VXN_Check_break("x^x-#l+x=x"), 1);
  EXPECT_EQ(VXN_Check_break("a^a-#s+b=c"), 0);
  EXPECT_EQ(VXN_Check_pause("a^a-#s+b=c"), 1);
  EXPECT_EQ(VXN_Check_pause("a^a-paus+b"), 0);    // longer than any member
}

TEST(PhonemeClasses, CurrentPhonemeField) {
  for (auto fn : {VXN_Check_Vowel, VXN_Check_English_Vowel, VXN_Check_UKEnglish_Vowel,
                  VXN_Check_Danish_Vowel})
    EXPECT_EQ(fn("x^y-aa+z=w"), 1);
  EXPECT_EQ(VXN_Check_Polish_Vowel("x^y-aa+z=w"), 0);
  EXPECT_EQ(VXN_Check_English_Vowel("x^y-ah:z"), 1);  // ':' also closes the field
  EXPECT_EQ(VXN_Check_English_Vowel("x^y-ah"), 0);    // no '+' or ':' after the '-'
  EXPECT_EQ(VXN_Check_pause("pau"), 0);               // no '-' at all
  EXPECT_EQ(VXN_Check_Swedish_Vowel("a^b-ii+c"), 1);
  EXPECT_EQ(VXN_Check_Swedish_VocalSound("a^b-ii+c"), 0);
  EXPECT_EQ(VXN_Check_Swedish_VocalSound("a^b-lh+c"), 1);
  EXPECT_EQ(VXN_Check_German_VocalSound("a^b-gs+c"), 1);
  EXPECT_EQ(VXN_Check_Norwegian_VocalSound("a^b-ern+c"), 1);
  EXPECT_EQ(VXN_Check_French_VocalSound("a^b-wh+c"), 1);
  EXPECT_EQ(VXN_Check_VocalSound("a^b-lx+c"), 1);
  EXPECT_EQ(VXN_Check_Vowel("a^b-wi+c"), 1);
  EXPECT_EQ(VXN_Check_Finnish_Vowel("a^b-oex+c"), 1);
  EXPECT_EQ(VXN_Check_Dutch_VocalSound("a^b-h+c"), 1);
  EXPECT_EQ(VXN_Check_PTPortuguese_VocalSound("a^b-rr+c"), 1);
  EXPECT_EQ(VXN_Check_AUEnglish_VocalSound("a^b-dx+c"), 1);
  EXPECT_EQ(VXN_Check_UKEnglish_VocalSound("a^b-dx+c"), 0);
  // Spanish: five vowels; the approximants bh dh gh are voiced, th is not.
  EXPECT_EQ(VXN_Check_Spanish_Vowel("a^b-o+c"), 1);
  EXPECT_EQ(VXN_Check_Spanish_Vowel("a^b-aa+c"), 0);
  EXPECT_EQ(VXN_Check_Spanish_VocalSound("a^b-dh+c"), 1);
  EXPECT_EQ(VXN_Check_Spanish_VocalSound("a^b-th+c"), 0);
  EXPECT_EQ(VXN_Check_Spanish_VocalSound("a^b-rr+c"), 1);
  // Brazilian Portuguese: the affricate jh is voiced, ch is not, and rr is the
  // voiceless fricative (voiced in European Portuguese); no reduced e "ie".
  EXPECT_EQ(VXN_Check_BRPortuguese_Vowel("a^b-an+c"), 1);
  EXPECT_EQ(VXN_Check_BRPortuguese_Vowel("a^b-ae+c"), 0);
  EXPECT_EQ(VXN_Check_BRPortuguese_Vowel("a^b-ie+c"), 0);
  EXPECT_EQ(VXN_Check_PTPortuguese_Vowel("a^b-ie+c"), 1);
  EXPECT_EQ(VXN_Check_BRPortuguese_VocalSound("a^b-jh+c"), 1);
  EXPECT_EQ(VXN_Check_BRPortuguese_VocalSound("a^b-ch+c"), 0);
  EXPECT_EQ(VXN_Check_BRPortuguese_VocalSound("a^b-rr+c"), 0);
  EXPECT_EQ(VXN_Check_BRPortuguese_VocalSound("a^b-un:c"), 1);
  // Italian: seven vowels (open eh, oh); the affricates dz and jh are voiced, ts and ch not.
  EXPECT_EQ(VXN_Check_Italian_Vowel("a^b-oh+c"), 1);
  EXPECT_EQ(VXN_Check_Italian_Vowel("a^b-ax+c"), 0);
  EXPECT_EQ(VXN_Check_Italian_VocalSound("a^b-eh+c"), 1);
  EXPECT_EQ(VXN_Check_Italian_VocalSound("a^b-dz+c"), 1);
  EXPECT_EQ(VXN_Check_Italian_VocalSound("a^b-ts+c"), 0);
  EXPECT_EQ(VXN_Check_Italian_VocalSound("a^b-lh+c"), 1);
  EXPECT_EQ(VXN_Check_Italian_VocalSound("a^b-ch+c"), 0);
  // French: the class leaves out z, zh and r.
  EXPECT_EQ(VXN_Check_French_Vowel("a^b-oen+c"), 1);
  EXPECT_EQ(VXN_Check_French_VocalSound("a^b-zh+c"), 0);
  // Russian: reduced vowels are vowels; soft voiced consonants are voiced,
  // soft voiceless ones and the affricates are not.
  EXPECT_EQ(VXN_Check_Russian_Vowel("a^b-ih+c"), 1);
  EXPECT_EQ(VXN_Check_Russian_Vowel("a^b-aa+c"), 0);
  EXPECT_EQ(VXN_Check_Russian_VocalSound("a^b-ah+c"), 1);
  EXPECT_EQ(VXN_Check_Russian_VocalSound("a^b-zhj+c"), 1);
  EXPECT_EQ(VXN_Check_Russian_VocalSound("a^b-rj:c"), 1);
  EXPECT_EQ(VXN_Check_Russian_VocalSound("a^b-tj+c"), 0);
  EXPECT_EQ(VXN_Check_Russian_VocalSound("a^b-shch+c"), 0);
  EXPECT_EQ(VXN_Check_Russian_VocalSound("a^b-ch+c"), 0);
  // Polish: the palatal stop gi and the nasal glide wx are voiced, ki is not.
  EXPECT_EQ(VXN_Check_Polish_VocalSound("a^b-gi+c"), 1);
  EXPECT_EQ(VXN_Check_Polish_VocalSound("a^b-wx+c"), 1);
  EXPECT_EQ(VXN_Check_Polish_VocalSound("a^b-ki+c"), 0);
}

TEST(PhonemeClasses, WindowClasses) {
  EXPECT_EQ(VXN_Check_English_pSound("x^ah-p+t=a@1"), 1);
  EXPECT_EQ(VXN_Check_English_pSound("x^aah-p+t=a@1"), 0);
  EXPECT_EQ(VXN_Check_English_pSound("^ah-p"), 0);  // plus window never closes
  EXPECT_EQ(VXN_Check_koreanNumber_i("x^#-iy+lx=#e/A:1"), 1);
  EXPECT_EQ(VXN_Check_koreanNumber_i("x^#l-iy+lx=#l/A:1"), 1);
  EXPECT_EQ(VXN_Check_koreanNumber_i("x^#-iy+lx=#e@1"), 0);  // no '/'
  EXPECT_EQ(VXN_Check_koreanNumber_ii("x^#-iy+#e=k/A:1"), 1);
  EXPECT_EQ(VXN_Check_KoreanFinal("x^n-iy+d=aa/A:1"), 1);
  EXPECT_EQ(VXN_Check_KoreanFinal("x^n-iy+d=aa@1_2/A:1"), 0);
}

TEST(CodeWords, OrOfSecondAndFourthByte) {
  const unsigned char forms[][4] = {
      {0, 0, 0, 0xEF}, {0, 0xEF, 0, 0}, {0, 0xEF, 0, 0xEF}, {0xEF, 0, 0, 0}, {0xAA, 0x0F, 0xBB, 0xE0}};
  const unsigned expect[] = {0xEF, 0xEF, 0xEF, 0, 0xEF};
  for (int i = 0; i < 5; i++) {
    FILE* fp = fmemopen(const_cast<unsigned char*>(forms[i]), 4, "rb");
    EXPECT_EQ(CVxnCode::VXN_Code_GetCode(fp), expect[i]) << i;
    EXPECT_EQ(CVxnCode::VXN_Code_GetCode(fp), (unsigned)CVxnCode::VXN_CODE_EOF);
    fclose(fp);
    unsigned int word;
    memcpy(&word, forms[i], 4);
    EXPECT_EQ(CVxnCode::VXN_Code_memory_swap(word), expect[i]) << i;
  }
  unsigned char two[2] = {0, 0xEF};
  FILE* fp = fmemopen(two, 2, "rb");
  EXPECT_EQ(CVxnCode::VXN_Code_GetCode(fp), (unsigned)CVxnCode::VXN_CODE_SHORT);
  fclose(fp);
}

TEST(Windows, WidthsAndCoefficientsFromTheCentre) {
  const float table[4][4] = {{1, 1.0f, 0, 0}, {3, -0.5f, 0.0f, 0.5f}, {3, 1, -2, 1}, {2, 0.25f, 0.75f, 0}};
  VXN_Stream st;
  CVxnCode::VXN_Code_Stream_initialize(&st);
  ASSERT_EQ(CVxnCode::VXN_Code_Window_load(&st.window, table, 4), 1);
  EXPECT_EQ(st.window.l_width[0], 0);
  EXPECT_EQ(st.window.r_width[0], 0);
  EXPECT_EQ(st.window.l_width[1], -1);
  EXPECT_EQ(st.window.r_width[1], 1);
  EXPECT_FLOAT_EQ(st.window.coefficient[1][-1], -0.5f);
  EXPECT_FLOAT_EQ(st.window.coefficient[2][0], -2.0f);
  EXPECT_FLOAT_EQ(st.window.coefficient[2][1], 1.0f);
  // Even width: -1..0.
  EXPECT_EQ(st.window.l_width[3], -1);
  EXPECT_EQ(st.window.r_width[3], 0);
  EXPECT_FLOAT_EQ(st.window.coefficient[3][-1], 0.25f);
  EXPECT_FLOAT_EQ(st.window.coefficient[3][0], 0.75f);
  EXPECT_EQ(st.window.max_width, 1);
  VXN_Stream_clear(&st);
}

}  // namespace
