#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/wfst_common.h"
#include "modules/usen/usen_norm_wfst.h"
#include "tools/wfstc/wfst_compiler.h"

namespace {

// A compiled and loaded source.
struct Compiled {
  WfstcOutput out;
  VXN_Wfst fst;
  bool ok = false;
  explicit Compiled(const std::string& source) {
    VXN_Wfst_initialize(&fst);
    std::string error;
    ok = wfstc_compile(source, &out, &error);
    EXPECT_TRUE(ok) << error;
    if (ok) ok = VXN_Wfst_load(&fst, out.records.data(), out.records.size(), 0) == 1;
  }
  ~Compiled() { VXN_Wfst_clear(&fst); }
  std::string run(const char* text, wfst_projection_func p = wfst_project_output) {
    char* s = wfst_transduce_wrapper(&fst, p, text);
    if (!s) return "<none>";
    std::string r(s);
    VXN_free(s);
    return r;
  }
};

std::string error_of(const std::string& source) {
  WfstcOutput out;
  std::string error;
  EXPECT_FALSE(wfstc_compile(source, &out, &error)) << source;
  EXPECT_TRUE(out.records.empty());
  return error;
}

TEST(WfstCompiler, StringsClassesAndCopies) {
  Compiled c(
      "# upper-case vowels become lower case, digits become '#', \"ab\" becomes \"xyz\"\n"
      "class vowel A E I O U\n"
      "class digit 0-9\n"
      "class rest any !@vowel !@digit !a !\\x01 !\\x02\n"
      "s [vowel] \"v\" s 1\n"
      "s [digit] \"#\" s\n"
      "s \"ab\" \"xyz\" s 0.5\n"
      "s [rest] = s\n"
      "s - - f\n"
      "final f\n");
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.run("AbU9ab"), "vbv#xyz");
  EXPECT_EQ(c.run("a"), "<none>");  // 'a' alone is not in rest and "ab" needs its 'b'
  // Record layout: the chain "ab" -> "xyz" is three transitions, the weight on the first.
  EXPECT_EQ(c.out.finals, 1);
  VXN_WfstPath path;
  VXN_WfstResult best;
  VXN_WfstPath_initialize(&path);
  VXN_WfstResult_initialize(&best);
  ASSERT_EQ(wfst_transduce(&c.fst, 0, 0, "abE", &path, &best), 1);
  EXPECT_EQ(best.path.count, 3 + 1 + 1);
  EXPECT_FLOAT_EQ((float)best.path.weight, 1.5f);
  EXPECT_FLOAT_EQ(wfst_record_weight(&c.fst, best.path.steps[0].record), 0.5f);
  EXPECT_FLOAT_EQ(wfst_record_weight(&c.fst, best.path.steps[1].record), 0.0f);
  VXN_WfstPath_clear(&path);
  VXN_WfstResult_clear(&best);
}

TEST(WfstCompiler, FragmentsAreCopiedAtEachUse) {
  Compiled c(
      "fragment bit\n"
      "in \"0\" \" zero\" out\n"
      "in \"1\" \" one\" out\n"
      "end\n"
      "fragment pair   # two bits, through a local state\n"
      "in @bit mid\n"
      "mid @bit out\n"
      "end\n"
      "start s\n"
      "s - <open> a\n"
      "a @pair b\n"
      "b \"-\" \" to\" c\n"
      "c @bit d\n"
      "d - <close> e\n"
      "e - - f\n"
      "final f\n");
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.run("01-1"), " zero one to one");
  EXPECT_EQ(c.run("01-1", wfst_project_io), "\x11" "01-1\x12\x14zero\x14one\x14to\x14one\x13");
  EXPECT_EQ(c.run("0-1"), "<none>");
}

TEST(WfstCompiler, StartStateWrappedWhenItsFirstTransitionIsFinal) {
  Compiled c("s \"a\" \"b\" f\ns \"c\" \"d\" t\nt - - f\nfinal f\n");
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(wfst_record_target_final(&c.fst, 0), 0);  // record 0 says: start not final
  EXPECT_EQ(c.run("a"), "b");
  EXPECT_EQ(c.run("c"), "d");
  EXPECT_EQ(c.run(""), "<none>");
}

TEST(WfstCompiler, EscapesAndMarkers) {
  Compiled c("s \"\\x41\\s\" \"\\\"\" s\ns \"x\" <dot> s\ns \"y\" <open> s\ns \"z\" <close> s\ns - - f\nfinal f\n");
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.run("A "), "\"");
  EXPECT_EQ(c.run("x"), "\x14");
  EXPECT_EQ(c.run("yA z", wfst_project_io), "\x11yA\x14z\x12\"\x13");
}

TEST(WfstCompiler, ErrorsNameTheLine) {
  EXPECT_EQ(error_of(""), "no transitions");
  EXPECT_EQ(error_of("# nothing\n\n"), "no transitions");
  EXPECT_EQ(error_of("s \"a\" \"b\"\n"), "line 1: a transition is FROM INPUT OUTPUT TO [WEIGHT] or FROM @FRAGMENT TO");
  EXPECT_EQ(error_of("s - - f\nfinal f\ns \"ab c\n"), "line 3: unterminated string");
  EXPECT_EQ(error_of("s \"\\q\" - f\n"), "line 1: unknown escape \\q");
  EXPECT_EQ(error_of("s \"\\x4\" - f\n"), "line 1: \\x needs two hexadecimal digits");
  EXPECT_EQ(error_of("s \"\\x00\" - f\n"), "line 1: byte 0 is the empty symbol and cannot be written (use -)");
  EXPECT_EQ(error_of("s [nope] = f\nfinal f\n"), "line 1: unknown class nope");
  EXPECT_EQ(error_of("class d 9-0\n"), "line 1: range 9-0 runs backwards");
  EXPECT_EQ(error_of("class d a\nclass d b\n"), "line 2: class d is defined twice");
  EXPECT_EQ(error_of("class d a !a\n"), "line 1: class d is empty");
  EXPECT_EQ(error_of("class d abc\n"),
            "line 1: class item 'abc' is not a byte, a range a-b, a string, @class or any");
  EXPECT_EQ(error_of("s - = f\nfinal f\n"), "line 1: = copies the input, but there is none");
  EXPECT_EQ(error_of("s \"\" - f\nfinal f\n"), "line 1: empty input string (write - for no input)");
  EXPECT_EQ(error_of("s a - f\n"), "line 1: input 'a' is not -, a quoted string or [class]");
  EXPECT_EQ(error_of("s - <shut> f\n"),
            "line 1: output '<shut>' is not -, =, a quoted string, <open>, <close> or <dot>");
  EXPECT_EQ(error_of("s - - f nan\nfinal f\n"), "line 1: weight 'nan' is not a finite number");
  EXPECT_EQ(error_of("s - - f 1e99\nfinal f\n"), "line 1: weight '1e99' is not a finite number");
  EXPECT_EQ(error_of("s - - f 1x\nfinal f\n"), "line 1: weight '1x' is not a finite number");
  EXPECT_EQ(error_of("s - - t\n"), "line 1: state t has no transitions and is not final");
  EXPECT_EQ(error_of("s - - f\nfinal f\nf \"a\" - s\n"),
            "line 1: state f is final: its transitions would never be taken");
  EXPECT_EQ(error_of("start s\ns - - s\nfinal s\n"), "line 1: state s is final: its transitions would never be taken");
  EXPECT_EQ(error_of("final s\nt - - s\nstart s\n"), "line 3: the start state s cannot be final");
  EXPECT_EQ(error_of("start a\nstart b\n"), "line 2: start is given twice");
  EXPECT_EQ(error_of("fragment x\nin - - out\n"), "line 1: fragment x has no end");
  EXPECT_EQ(error_of("end\n"), "line 1: end without fragment");
  EXPECT_EQ(error_of("fragment\n"), "line 1: fragment needs one name");
  EXPECT_EQ(error_of("fragment x\nfragment\n"), "line 2: fragment needs one name");
  EXPECT_EQ(error_of("fragment x\nfragment y\n"), "line 2: fragment y inside fragment x");
  EXPECT_EQ(error_of("fragment x\nend\n"), "line 2: fragment x is empty");
  EXPECT_EQ(error_of("fragment x\nin @x out\nend\n"),
            "line 2: unknown fragment x (fragments are defined before use)");
  EXPECT_EQ(error_of("s @y t\n"), "line 1: unknown fragment y (fragments are defined before use)");
  EXPECT_EQ(error_of("fragment x\nin - - mid\nend\ns @x t\nt - - f\nfinal f\n"),
            "line 2: state @x#1.mid has no transitions and is not final");
  EXPECT_EQ(error_of("s$ - - f\n"), "line 1: bad state name 's$'");
  // Fragments that double at every level: 2^23 copies of the innermost line.
  std::string doubling = "fragment f0\nin \"a\" - out\nend\n";
  for (int i = 1; i <= 23; ++i)
    doubling += "fragment f" + std::to_string(i) + "\nin @f" + std::to_string(i - 1) + " m\nm @f" +
                std::to_string(i - 1) + " out\nend\n";
  doubling += "s @f23 t\nt - - e\nfinal e\n";
  EXPECT_EQ(error_of(doubling), "line 96: too many transitions (at most 4194304)");
  EXPECT_EQ(error_of("s \"a\"b - f\n"), "line 1: a string must be followed by a space");
  EXPECT_EQ(error_of("class c a-z \\x02\ns [c] = s\n"), "line 2: = would write byte 0x02, the span close marker");
  EXPECT_EQ(error_of("s \"\\x01\" = s\n"), "line 1: = would write byte 0x01, the span open marker");
}

// The English transducer: spans of the input/output projection, written with
// { | } and _ for 0x11, 0x12, 0x13 and 0x14.
std::string english(const char* text) {
  const VXN_Wfst* fst = en_norm_wfst();
  if (!fst) return "<not loaded>";
  char* s = wfst_transduce_with_input_length_control(fst, wfst_project_io, text);
  if (!s) return "<none>";
  std::string r;
  for (const char* p = s; *p; ++p) {
    switch (*p) {
      case 0x11: r += '{'; break;
      case 0x12: r += '|'; break;
      case 0x13: r += '}'; break;
      case 0x14: r += '_'; break;
      default: r += *p;
    }
  }
  VXN_free(s);
  return r;
}

TEST(EnglishTransducer, TimeAndDayRanges) {
  EXPECT_EQ(english("10:30-11:00"), "{10:30-11:00|_ten_thirty_to_eleven}");
  EXPECT_EQ(english("open 9-5."), "open {9-5|_nine_to_five}.");
  EXPECT_EQ(english("9am - 5:05pm"), "{9am_-_5:05pm|_nine__a_m_to_five_oh_five_p_m}");
  EXPECT_EQ(english("at 9pm"), "at {9pm|_nine_p_m}");
  EXPECT_EQ(english("Mon-Fri"), "{Mon-Fri|_monday_to_friday}");
  EXPECT_EQ(english("MON - SAT,"), "{MON_-_SAT|_monday_to_saturday},");
  EXPECT_EQ(english("tues.-thurs."), "{tues.-thurs|_tuesday_to_thursday}.");
  // Not ranges: years, an hour beyond 24, minutes that are not two digits.
  EXPECT_EQ(english("2019-2020 25-26 10:3-11"), "2019-2020 25-26 10:3-11");
}

TEST(EnglishTransducer, SeasonsEpisodesAndParts) {
  EXPECT_EQ(english("S01E05"), "{S01E05|_season_one_episode_five}");
  EXPECT_EQ(english("(s2e13)"), "({s2e13|_season_two_episode_thirteen})");
  EXPECT_EQ(english("S01 E105"), "{S01_E105|_season_one_episode_one_hundred_five}");
  EXPECT_EQ(english("1x05"), "{1x05|_season_one_episode_five}");
  // A bare E and a number is a channel name (E4), not an episode.
  EXPECT_EQ(english("Ep. 7, E12 and Pt2"), "{Ep._7|_episode_seven}, E12 and {Pt2|_part_two}");
  EXPECT_EQ(english("SE05 E1x"), "SE05 E1x");
}

TEST(EnglishTransducer, VideoAndSoundFormats) {
  EXPECT_EQ(english("1080p or 720p, 1080i"), "{1080p|_ten_eighty_p} or {720p|_seven_twenty_p}, {1080i|_ten_eighty_i}");
  EXPECT_EQ(english("4K and 8k"), "{4K|_four_k} and {8k|_eight_k}");
  EXPECT_EQ(english("24fps 29.97 FPS"),
            "{24fps|_twenty_four_frames_per_second} {29.97_FPS|_twenty_nine_point_nine_seven_frames_per_second}");
  EXPECT_EQ(english("5.1 and 7.1.4, 5.1ch"),
            "{5.1|_five_point_one} and {7.1.4|_seven_point_one_point_four}, {5.1ch|_five_point_one_channel}");
  // Speed factors are left to the token rules (two x).
  EXPECT_EQ(english("2x 1.5X"), "2x 1.5X");
  EXPECT_EQ(english("16:9 or 2.35:1"), "{16:9|_sixteen_by_nine} or {2.35:1|_two_point_three_five_to_one}");
  // Glued to other text: left alone.
  EXPECT_EQ(english("14K a4K 4Kb 2x4 5.1%"), "14K a4K 4Kb 2x4 5.1%");
}

TEST(EnglishTransducer, PlainTextAndLongTexts) {
  EXPECT_EQ(english(""), "");
  EXPECT_EQ(english("Hello, world! \xc9t\xe9 \x7f"), "Hello, world! \xc9t\xe9 \x7f");
  // Input bytes equal to the span markers or the span bytes are dropped.
  EXPECT_EQ(english("a\x01" "b\x02 9-5 \x11\x12\x13\x14"), "ab {9-5|_nine_to_five} ");
  // A long listing is cut into pieces below the mass limit; every piece keeps
  // its rewrites.
  std::string listing;
  for (int i = 0; i < 30; ++i) listing += "Mon-Fri 10:30-11:00 on 5.1. ";
  std::string out = english(listing.c_str());
  size_t spans = 0;
  for (size_t p = out.find("{10:30-11:00|_ten_thirty_to_eleven}"); p != std::string::npos;
       p = out.find("{10:30-11:00|_ten_thirty_to_eleven}", p + 1))
    ++spans;
  EXPECT_EQ(spans, 30u);
  EXPECT_GE(wfst_str_mass(listing.c_str()), 801 * 4);
}

TEST(EnglishTransducer, PreprocessingFeedsTheTokens) {
  cst_utterance* u = new_utterance();
  feat_set(u->features, "norm_wfst", wfst_val(en_norm_wfst()));
  feat_set_string(u->features, "input_text", "Watch S01E05 Mon-Fri.");
  ASSERT_EQ(wfst_preprocessing(u), u);
  std::string text = get_param_string(u->features, "input_text", "");
  EXPECT_EQ(text, "Watch \x11S01E05\x12\x14season\x14one\x14" "episode\x14" "five\x13 "
                  "\x11Mon-Fri\x12\x14monday\x14to\x14" "friday\x13.");
  // The span token gives its words and its name back.
  cst_item* t = relation_append(utt_relation_create(u, "Token"), nullptr);
  size_t first = text.find(' ') + 1;
  item_set_string(t, "name", text.substr(first, text.find(' ', first) - first).c_str());
  cst_val* words = wfst_exp_preprocessed_token(t);
  std::string joined;
  for (const cst_val* w = words; w; w = val_cdr(w)) joined += std::string(val_string(val_car(w))) + " ";
  delete_val(words);
  EXPECT_EQ(joined, "season one episode five ");
  EXPECT_STREQ(item_feat_string(t, "name"), "S01E05");
  delete_utterance(u);
}

}  // namespace
