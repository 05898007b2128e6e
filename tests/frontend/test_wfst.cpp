#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "frontend/wfst_common.h"

namespace {

// Hand-built transducers: states are numbered from 0 in layout order; a target
// of kAccept is a final state (encoded as target 0 with the final bit).
const int kAccept = -1;

struct Arc {
  unsigned char in, out;
  int to;
  float weight;
};

struct Builder {
  std::vector<std::vector<Arc>> states;
  Builder& arc(int from, unsigned char in, unsigned char out, int to, float weight = 0) {
    if ((int)states.size() <= from) states.resize(from + 1);
    states[from].push_back({in, out, to, weight});
    return *this;
  }
  std::vector<unsigned char> bytes() const {
    std::vector<size_t> first;
    size_t n = 0;
    for (const auto& s : states) {
      first.push_back(n);
      n += s.size();
    }
    std::vector<unsigned char> out;
    for (const auto& s : states)
      for (size_t i = 0; i < s.size(); ++i) {
        const Arc& a = s[i];
        size_t target = a.to == kAccept ? 0 : first[a.to];
        unsigned char rec[9] = {a.in, a.out, (unsigned char)(target & 0xff), (unsigned char)((target >> 8) & 0xff),
                                (unsigned char)((target >> 16) & 0x3f)};
        if (a.to == kAccept) rec[4] |= VXN_WFST_FINAL_BIT;
        if (i + 1 == s.size()) rec[4] |= VXN_WFST_LAST_BIT;
        memcpy(rec + 5, &a.weight, 4);
        out.insert(out.end(), rec, rec + 9);
      }
    return out;
  }
};

struct Loaded {
  VXN_Wfst fst;
  explicit Loaded(const Builder& b) {
    VXN_Wfst_initialize(&fst);
    std::vector<unsigned char> data = b.bytes();
    EXPECT_EQ(VXN_Wfst_load(&fst, data.data(), data.size(), 1), 1);
  }
  ~Loaded() { VXN_Wfst_clear(&fst); }
};

std::string take(char* s) {
  if (!s) return "<none>";
  std::string r(s);
  VXN_free(s);
  return r;
}

std::string output(const VXN_Wfst* fst, const char* text) {
  return take(wfst_transduce_wrapper(fst, wfst_project_output, text));
}

// Copies lower-case letters, digits and spaces; every transduction starts by
// writing '#'.
Builder marked_copier() {
  Builder b;
  b.arc(0, 0, '#', 1);
  for (int c = 'a'; c <= 'z'; ++c) b.arc(1, c, c, 1, 1);
  for (int c = '0'; c <= '9'; ++c) b.arc(1, c, c, 1, 1);
  b.arc(1, ' ', ' ', 1, 1).arc(1, '.', '.', 1, 1).arc(1, 0, 0, kAccept);
  return b;
}

TEST(Wfst, BestPathIsTheLightestWhateverTheOrder) {
  // "ab" -> "x" (heavy, tried first) or "y" (light).
  Builder b;
  b.arc(0, 'a', 'x', 1, 5).arc(0, 'a', 'y', 2, 1);
  b.arc(1, 'b', 0, kAccept, 0);
  b.arc(2, 'b', 0, kAccept, 0.5f);
  Loaded l(b);
  EXPECT_EQ(output(&l.fst, "ab"), "y");
  EXPECT_EQ(output(&l.fst, "a"), "<none>");   // no complete path
  EXPECT_EQ(output(&l.fst, "abb"), "<none>");  // input left at a final state

  VXN_WfstPath path;
  VXN_WfstResult best;
  VXN_WfstPath_initialize(&path);
  VXN_WfstResult_initialize(&best);
  ASSERT_EQ(wfst_transduce(&l.fst, 0, 0, "ab", &path, &best), 1);
  EXPECT_DOUBLE_EQ(best.path.weight, 1.5);
  EXPECT_EQ(best.path.count, 2);
  EXPECT_EQ(path.count, 0);  // the working path is restored
  EXPECT_EQ(take(wfst_project_input(&l.fst, &best.path)), "ab");
  VXN_WfstPath_clear(&path);
  VXN_WfstResult_clear(&best);
}

TEST(Wfst, EqualWeightsKeepTheFirstFound) {
  Builder b;
  b.arc(0, 0, 0, 1);
  b.arc(1, 'a', 'p', kAccept, 2).arc(1, 'a', 'q', kAccept, 2).arc(1, 'a', 'r', kAccept, 1.5f + 0.5f);
  Loaded l(b);
  EXPECT_EQ(output(&l.fst, "a"), "p");
  Builder c;
  c.arc(0, 0, 0, 1);
  c.arc(1, 'a', 'q', kAccept, 2).arc(1, 'a', 'p', kAccept, 2);
  Loaded m(c);
  EXPECT_EQ(output(&m.fst, "a"), "q");
  // Offers directly: equal weight does not replace, lower does.
  VXN_WfstResult r;
  VXN_WfstPath p;
  VXN_WfstResult_initialize(&r);
  VXN_WfstPath_initialize(&p);
  VXN_WfstPath_push(&p, &l.fst, 1);
  EXPECT_EQ(VXN_WfstResult_offer(&r, &p), 1);
  VXN_WfstPath_pop(&p);
  VXN_WfstPath_push(&p, &l.fst, 2);
  EXPECT_EQ(VXN_WfstResult_offer(&r, &p), 0);
  EXPECT_EQ(r.path.steps[0].record, 1u);
  VXN_WfstPath_pop(&p);
  VXN_WfstPath_push(&p, &l.fst, 0);  // weight 0: lower
  EXPECT_EQ(VXN_WfstResult_offer(&r, &p), 1);
  EXPECT_EQ(r.path.steps[0].record, 0u);
  VXN_WfstPath_clear(&p);
  VXN_WfstResult_clear(&r);
}

TEST(Wfst, BranchesNoLighterThanTheBestAreAbandoned) {
  // First branch completes at weight 1; the second starts at weight 1 and
  // would need 200 more states: it must be cut at its first state.
  Builder b;
  b.arc(0, 0, 'x', 1, 1);
  b.arc(0, 0, 'y', 2, 1);
  for (int c = 0; c < 200; ++c) b.arc(1, 'a', 0, 1, 0);
  b.arc(1, 0, 0, kAccept, 0);
  b.arc(2, 'a', 0, 2, -0.001f).arc(2, 0, 0, kAccept, -0.001f);
  Loaded l(b);
  VXN_WfstPath path;
  VXN_WfstResult best;
  VXN_WfstPath_initialize(&path);
  VXN_WfstResult_initialize(&best);
  std::string input(3, 'a');
  ASSERT_EQ(wfst_transduce(&l.fst, 0, 0, input.c_str(), &path, &best), 1);
  // The second branch is cheaper at its end but its start weight (1) is not
  // below the best (1), so it is never explored.
  EXPECT_EQ(take(wfst_project_output(&l.fst, &best.path)), "x");
  EXPECT_DOUBLE_EQ(best.path.weight, 1.0);
  unsigned long firstBranchOnly = best.steps;
  VXN_WfstPath_clear(&path);
  VXN_WfstResult_clear(&best);
  // A state visit per consumed byte and epsilon, plus the pruned visit of y.
  EXPECT_LE(firstBranchOnly, 4u * 200u);
  EXPECT_GT(firstBranchOnly, 4u);
}

TEST(Wfst, EpsilonsAtTheEndOfInputAndEpsilonCycles) {
  Builder b;
  b.arc(0, 'a', 'a', 1);
  b.arc(1, 0, 'e', 1, 1).arc(1, 0, '!', kAccept, 0);  // epsilon self-loop first
  Loaded l(b);
  // The loop is bounded: the search ends and the loop-free path wins.
  EXPECT_EQ(output(&l.fst, "a"), "a!");
  EXPECT_EQ(output(&l.fst, "aa"), "<none>");  // epsilons do not consume input

  Builder cyc;
  cyc.arc(0, 0, 'x', 1).arc(1, 0, 'y', 0);  // epsilon cycle, never final
  Loaded c(cyc);
  EXPECT_EQ(output(&c.fst, ""), "<none>");
  EXPECT_EQ(output(&c.fst, "a"), "<none>");

  // Explicit end-of-input search from state 1.
  VXN_WfstPath path;
  VXN_WfstResult best;
  VXN_WfstPath_initialize(&path);
  VXN_WfstResult_initialize(&best);
  EXPECT_EQ(wfst_transduce_eps(&l.fst, 1, 0, &path, &best), 1);
  EXPECT_EQ(take(wfst_project_output(&l.fst, &best.path)), "!");
  VXN_WfstResult_clear(&best);
  VXN_WfstResult_initialize(&best);
  // A final state with no input left offers the path as it is.
  EXPECT_EQ(wfst_transduce_eps(&l.fst, 0, 1, &path, &best), 1);
  EXPECT_EQ(best.path.count, 0);
  VXN_WfstResult_clear(&best);
  VXN_WfstResult_initialize(&best);
  // A position inside a state's run is not a state.
  EXPECT_EQ(wfst_transduce(&l.fst, 2, 0, "", &path, &best), 0);
  VXN_WfstPath_clear(&path);
  VXN_WfstResult_clear(&best);
}

TEST(Wfst, FinalStateWithInputLeftEndsTheBranch) {
  // a -> final (weight 0) would leave "b"; the heavier complete path wins.
  Builder b;
  b.arc(0, 'a', 'x', 1, 3).arc(0, 'a', 'A', kAccept, 0);
  b.arc(1, 'b', 'B', kAccept, 0);
  Loaded l(b);
  EXPECT_EQ(output(&l.fst, "ab"), "xB");
  EXPECT_EQ(output(&l.fst, "a"), "A");
  EXPECT_EQ(output(&l.fst, ""), "<none>");
  // The start state is final when bit 6 of record 0 is set: it accepts the
  // empty text only.
  Builder f;
  f.arc(0, 'a', 'A', kAccept, 0).arc(0, 'a', 'x', 1, 3);
  f.arc(1, 'b', 'B', kAccept, 0);
  Loaded m(f);
  EXPECT_EQ(wfst_record_target_final(&m.fst, 0), 1);
  EXPECT_EQ(output(&m.fst, ""), "");
  EXPECT_EQ(output(&m.fst, "ab"), "<none>");
}

TEST(Wfst, StepBoundKeepsTheBestFoundSoFar) {
  // 2^40 paths over "aaaa...", each better one found after the previous one:
  // the bound stops the search long before the best (all 'y').
  Builder b;
  b.arc(0, 'a', 'x', 0, 1).arc(0, 'a', 'y', 0, 0.5f).arc(0, 0, 0, kAccept, 0);
  Loaded l(b);
  VXN_WfstPath path;
  VXN_WfstResult best;
  VXN_WfstPath_initialize(&path);
  VXN_WfstResult_initialize(&best);
  best.limit = 1000;
  std::string input(40, 'a');
  EXPECT_EQ(wfst_transduce(&l.fst, 0, 0, input.c_str(), &path, &best), 1);
  EXPECT_EQ(best.exhausted, 1);
  EXPECT_LT(best.path.weight, 40.0);
  EXPECT_GT(best.path.weight, 20.0);
  std::string out = take(wfst_project_output(&l.fst, &best.path));
  EXPECT_EQ(out.size(), 40u);
  EXPECT_EQ(out.find_first_not_of("xy"), std::string::npos);
  VXN_WfstPath_clear(&path);
  VXN_WfstResult_clear(&best);
}

TEST(Wfst, MassCountsAllButTheLastCharacter) {
  EXPECT_EQ(wfst_str_mass(""), 0);
  EXPECT_EQ(wfst_str_mass("7"), 0);
  EXPECT_EQ(wfst_str_mass("ab"), 1);
  EXPECT_EQ(wfst_str_mass("12"), 20);
  EXPECT_EQ(wfst_str_mass("a b,9x"), 1 + 1 + 1 + 40 + 20);
  EXPECT_EQ(wfst_str_mass("\xe9t\xe9"), 2);  // ISO-8859 letters
  // Spans between "<!" and "!>" count nothing, markers included.
  EXPECT_EQ(wfst_str_mass("a<!12,,!>b."), 2);
  EXPECT_EQ(wfst_str_mass("<!1!>"), 0);
  // A "!>" outside a span restarts the count.
  EXPECT_EQ(wfst_str_mass("999!>ab"), 1);
  EXPECT_EQ(wfst_str_mass("99!>1<!x"), 20 + 0);
  // An unclosed span ignores the rest.
  EXPECT_EQ(wfst_str_mass("1<!2222"), 20);
}

TEST(Wfst, SplitPointWalksAroundTheMiddle) {
  // len 40, middle 20, reach 10.
  std::string t(40, 'X');
  auto with = [&](std::initializer_list<int> at, const char* what) {
    std::string s = t;
    for (int p : at) memcpy(&s[p], what, strlen(what));
    return s;
  };
  // Sentence end "x. " at offset +3 is visited before offset -3.
  std::string s = with({23, 17}, "x. ");
  EXPECT_EQ(wfst_split_point(s.c_str(), s.size()), 25u);
  // Offset -4 comes before +4.
  s = with({24, 16}, "x. ");
  EXPECT_EQ(wfst_split_point(s.c_str(), s.size()), 18u);
  // Upper-case letter before the dot is no sentence end; a space is used.
  s = with({22}, "Y. ");
  EXPECT_EQ(wfst_split_point(s.c_str(), s.size()), 24u);
  // A sentence end beats a nearer space.
  s = with({20}, " ");
  s = s.substr(0, 27) + "a. " + s.substr(30);
  EXPECT_EQ(wfst_split_point(s.c_str(), s.size()), 29u);
  // Beyond a quarter of the length nothing is found: the middle, moved off
  // "!>" and "<!".
  s = with({5, 35}, " ");
  EXPECT_EQ(wfst_split_point(s.c_str(), s.size()), 20u);
  s = with({19}, "!>");
  EXPECT_EQ(wfst_split_point(s.c_str(), s.size()), 21u);
  s = with({19}, "<!");
  EXPECT_EQ(wfst_split_point(s.c_str(), s.size()), 19u);
  EXPECT_EQ(wfst_split_point("ab", 2), 1u);
}

TEST(Wfst, HeavyTextsAreTransducedInHalves) {
  Loaded l(marked_copier());
  // Forty digits and one more character: 800, transduced whole.
  std::string whole = std::string(40, '1') + "x";
  EXPECT_EQ(wfst_str_mass(whole.c_str()), 800);
  EXPECT_EQ(take(wfst_transduce_with_input_length_control(&l.fst, wfst_project_output, whole.c_str())),
            "#" + whole);
  // One letter more reaches 801: two transductions, cut at the sentence end.
  std::string heavy = std::string(20, '1') + "a. " + std::string(20, '2');
  EXPECT_GE(wfst_str_mass(heavy.c_str()), 801);
  EXPECT_EQ(take(wfst_transduce_with_input_length_control(&l.fst, wfst_project_output, heavy.c_str())),
            "#" + std::string(20, '1') + "a.# " + std::string(20, '2'));
  // A half that fails fails the whole text.
  std::string bad = std::string(30, '1') + "A" + std::string(30, '1');
  EXPECT_EQ(take(wfst_transduce_with_input_length_control(&l.fst, wfst_project_output, bad.c_str())), "<none>");
  // Much heavier texts are cut again and again.
  std::string big(400, '5');
  std::string out = take(wfst_transduce_with_input_length_control(&l.fst, wfst_project_output, big.c_str()));
  size_t marks = 0;
  for (char c : out) marks += c == '#';
  EXPECT_GE(marks, 10u);
  EXPECT_EQ(out.size(), 400 + marks);
}

TEST(Wfst, ProjectionsMarkSpans) {
  // "at 9-5." -> "at " copied, "9-5" rewritten as "nine to five", "." copied.
  Builder b;
  b.arc(0, 'a', 'a', 0).arc(0, 't', 't', 0).arc(0, ' ', ' ', 0).arc(0, '.', '.', 0);
  b.arc(0, 0, VXN_WFST_SPAN_OPEN, 1).arc(0, 0, 0, kAccept);
  b.arc(1, '9', 0, 2);
  b.arc(2, '-', 0, 3);
  b.arc(3, '5', 0, 4);
  const char* words = "nine to five";
  int state = 4;
  for (const char* p = words; *p; ++p, ++state) b.arc(state, 0, *p, state + 1);
  b.arc(state, 0, VXN_WFST_SPAN_CLOSE, 0);
  Loaded l(b);
  EXPECT_EQ(output(&l.fst, "at 9-5."), "at nine to five.");
  EXPECT_EQ(take(wfst_transduce_wrapper(&l.fst, wfst_project_input, "at 9-5.")), "at 9-5.");
  EXPECT_EQ(take(wfst_transduce_wrapper(&l.fst, wfst_project_io, "at 9-5.")),
            "at \x11" "9-5\x12nine\x14to\x14" "five\x13.");
  // Input spaces inside a span become 0x14 as well; an unclosed span closes at the end.
  Builder u;
  u.arc(0, 0, VXN_WFST_SPAN_OPEN, 1).arc(1, 'a', 'b', 1).arc(1, ' ', ' ', 1).arc(1, 0, 0, kAccept);
  Loaded m(u);
  EXPECT_EQ(take(wfst_transduce_wrapper(&m.fst, wfst_project_io, "a a")), "\x11" "a\x14" "a\x12" "b\x14" "b\x13");
}

TEST(Wfst, LoaderRejectsCorruptData) {
  Builder b;
  b.arc(0, 'a', 'b', 1, 0.5f).arc(0, 0, 0, kAccept).arc(1, 'c', 'd', 0);
  std::vector<unsigned char> good = b.bytes();
  VXN_Wfst fst;
  VXN_Wfst_initialize(&fst);
  int saved = g_nStatePrint;
  g_nStatePrint = 3;
  ASSERT_EQ(VXN_Wfst_load(&fst, good.data(), good.size(), 0), 1);
  EXPECT_EQ(fst.count, 3u);
  EXPECT_EQ(VXN_Wfst_is_state(&fst, 0), 1);
  EXPECT_EQ(VXN_Wfst_is_state(&fst, 1), 0);
  EXPECT_EQ(VXN_Wfst_is_state(&fst, 2), 1);
  EXPECT_EQ(VXN_Wfst_is_state(&fst, 3), 0);

  auto rejects = [&](std::vector<unsigned char> data) {
    int r = VXN_Wfst_load(&fst, data.data(), data.size(), 1);
    cst_val* v = wfst_val(&fst);
    bool emptied = fst.count == 0 && fst.records == nullptr && val_wfst(v) == nullptr;
    delete_val(v);
    return r == 0 && emptied;
  };
  EXPECT_TRUE(rejects({}));
  EXPECT_TRUE(rejects(std::vector<unsigned char>(good.begin(), good.end() - 1)));  // ragged
  std::vector<unsigned char> d = good;
  d[9 * 0 + 2] = 3;  // target 3: outside
  EXPECT_TRUE(rejects(d));
  d = good;
  d[9 * 0 + 4] |= 0x3f;  // high bits: far outside
  EXPECT_TRUE(rejects(d));
  d = good;
  d[9 * 0 + 2] = 1;  // target 1: inside state 0's run
  EXPECT_TRUE(rejects(d));
  d = good;
  d[9 * 2 + 4] &= ~VXN_WFST_LAST_BIT;  // last state never ends
  EXPECT_TRUE(rejects(d));
  d = good;
  float nan = NAN;
  memcpy(&d[9 * 1 + 5], &nan, 4);
  EXPECT_TRUE(rejects(d));
  d = good;
  float inf = INFINITY;
  memcpy(&d[9 * 2 + 5], &inf, 4);
  EXPECT_TRUE(rejects(d));
  g_nStatePrint = saved;
  VXN_Wfst_clear(&fst);
  EXPECT_EQ(output(&fst, "a"), "<none>");  // an unloaded transducer transduces nothing
}

TEST(Wfst, ValueTypeHoldsTheTransducer) {
  Loaded l(marked_copier());
  cst_val* v = wfst_val(&l.fst);
  EXPECT_EQ(val_wfst(v), &l.fst);
  cst_val* s = string_val("wfst");
  EXPECT_EQ(val_wfst(s), nullptr);
  EXPECT_EQ(val_wfst(nullptr), nullptr);
  delete_val(s);
  delete_val(v);  // the value does not own the transducer
  EXPECT_EQ(output(&l.fst, "ok"), "#ok");
}

// Utterance with a "norm_wfst" feature and the tokens of text.
cst_utterance* utterance_with(const VXN_Wfst* fst, std::initializer_list<const char*> tokens) {
  cst_utterance* u = new_utterance();
  if (fst) feat_set(u->features, "norm_wfst", wfst_val(fst));
  cst_relation* r = utt_relation_create(u, "Token");
  for (const char* t : tokens) item_set_string(relation_append(r, nullptr), "name", t);
  return u;
}

std::string words_of(cst_val* list) {
  std::string out;
  for (const cst_val* w = list; w; w = val_cdr(w)) {
    if (!out.empty()) out += ' ';
    const cst_val* e = val_car(w);
    if (cst_val_consp(e)) {
      const cst_features* f = val_features(val_cdr(e));
      out += std::string("[") + val_string(val_car(e)) + "|" + get_param_string(f, "acronym", "") + "|" +
             get_param_string(f, "acronym_original_form", "") + "]";
    } else {
      out += val_string(e);
    }
  }
  delete_val(list);
  return out;
}

TEST(Wfst, PreprocessingRewritesTheInputText) {
  Builder b;
  b.arc(0, 0, VXN_WFST_SPAN_OPEN, 1).arc(0, 'o', 'o', 0).arc(0, 'k', 'k', 0).arc(0, ' ', ' ', 0);
  b.arc(0, 0, 0, kAccept);
  b.arc(1, '2', 0, 2).arc(2, 'x', 0, 3).arc(3, 0, 't', 4).arc(4, 0, 'w', 5).arc(5, 0, 'o', 6);
  b.arc(6, 0, ' ', 7).arc(7, 0, 'x', 8).arc(8, 0, VXN_WFST_SPAN_CLOSE, 0);
  Loaded l(b);
  cst_utterance* u = utterance_with(&l.fst, {});
  feat_set_string(u->features, "input_text", "ok 2x ok");
  ASSERT_EQ(wfst_preprocessing(u), u);
  EXPECT_STREQ(get_param_string(u->features, "input_text", ""), "ok \x11" "2x\x12two\x14x\x13 ok");
  // No complete path ("q" is unknown): the text stays as it was.
  feat_set_string(u->features, "input_text", "ok q");
  wfst_preprocessing(u);
  EXPECT_STREQ(get_param_string(u->features, "input_text", ""), "ok q");
  delete_utterance(u);
  // Without a transducer only the default preprocessing runs.
  u = utterance_with(nullptr, {});
  feat_set_string(u->features, "input_text", "ok 2x");
  wfst_preprocessing(u);
  EXPECT_STREQ(get_param_string(u->features, "input_text", ""), "ok 2x");
  delete_utterance(u);
}

TEST(Wfst, PreprocessedTokensGiveTheirSpanWords) {
  cst_utterance* u = utterance_with(nullptr, {"\x11" "Ep.\x14" "5\x12\x14" "episode\x14" "five\x13", "plain",
                                              "(\x11" "2x\x12two\x14times\x13s", "\x11" "bbc\x12" "bbc\x13"});
  cst_item* t = relation_head(utt_relation(u, "Token"));
  EXPECT_EQ(words_of(wfst_exp_preprocessed_token(t)), "episode five");
  EXPECT_STREQ(item_feat_string(t, "name"), "Ep. 5");
  EXPECT_FALSE(item_feat_present(t, "dot_interpreted"));
  t = item_next(t);
  EXPECT_EQ(wfst_exp_preprocessed_token(t), nullptr);
  t = item_next(t);
  // Text outside the span stays as words of its own.
  EXPECT_EQ(words_of(wfst_exp_preprocessed_token(t)), "( two times s");
  EXPECT_STREQ(item_feat_string(t, "name"), "(2xs");
  t = item_next(t);
  EXPECT_EQ(words_of(wfst_exp_preprocessed_token_with_acronyms(t)), "[bbc|1|bbc]");
  delete_utterance(u);
  u = utterance_with(nullptr, {"\x11" "approx.\x12" "approximately\x13"});
  t = relation_head(utt_relation(u, "Token"));
  EXPECT_EQ(words_of(wfst_exp_preprocessed_token_with_acronyms(t)), "approximately");
  EXPECT_EQ(item_feat_int(t, "dot_interpreted"), 1);
  delete_utterance(u);
}

TEST(Wfst, TokensAreTransducedWithTheirNeighbours) {
  // Copies letters and spaces; "dr" followed by '.' becomes "doctor" and the dot mark.
  Builder b;
  for (int c = 'a'; c <= 'z'; ++c) b.arc(0, c, c, 0, 1);
  b.arc(0, ' ', ' ', 0, 1).arc(0, 'D', 0, 1, 0).arc(0, 0, 0, kAccept);
  b.arc(1, 'r', 0, 2).arc(2, '.', 0, 3);
  const char* w = "doctor";
  int s = 3;
  for (const char* p = w; *p; ++p, ++s) b.arc(s, 0, *p, s + 1);
  b.arc(s, 0, VXN_WFST_DOT_MARK, 0);
  Loaded l(b);
  cst_utterance* u = utterance_with(&l.fst, {"see", "Dr", "who"});
  cst_item* dr = item_next(relation_head(utt_relation(u, "Token")));
  item_set_string(dr, "punc", ".");
  EXPECT_EQ(words_of(wfst_exp_token(dr)), "see doctor who");
  EXPECT_EQ(item_feat_int(dr, "dot_interpreted"), 1);
  // The first token has no previous one (" see Dr."); the dot mark comes from
  // its neighbour but still marks the token transduced.
  cst_item* first = relation_head(utt_relation(u, "Token"));
  EXPECT_EQ(words_of(wfst_exp_token_with_acronyms(first)), "see doctor");
  EXPECT_EQ(item_feat_int(first, "dot_interpreted"), 1);
  item_set_string(dr, "punc", "");
  EXPECT_EQ(wfst_exp_token(first), nullptr);  // "Dr" without the dot is not accepted
  // A word without a vowel is spelled in the _with_acronyms form.
  item_set_string(first, "name", "bbc");
  item_set_string(dr, "punc", ".");
  EXPECT_EQ(words_of(wfst_exp_token_with_acronyms(first)), "[bbc|1|bbc] doctor");
  delete_utterance(u);
}

}  // namespace
