// Voice directories of separate big-endian pdf files and text trees: a small
// directory assembled in memory reads back value for value, and every kind of
// damage (a truncated pdf file, a tree naming a pdf that does not exist, the
// wrong byte order, a missing file) stops the reader with a message that
// names the file and the place.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_htsdir.h"

using namespace vxn::voice;

namespace {

using Bytes = std::vector<unsigned char>;

void be32(Bytes* b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b->push_back(static_cast<unsigned char>(v >> s));
}
void be_f(Bytes* b, float f) {
  uint32_t v;
  std::memcpy(&v, &f, 4);
  be32(b, v);
}
Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

float mean_of(int t, int k, int d) { return 1.0f + t + 0.1f * k + 0.01f * d; }
float vari_of(int t, int k, int d) { return 0.5f + 0.01f * (t + k + d); }

// A pdf file: header, counts, then per pdf and stream (mean, variance) per
// dimension and, for multi-space, the voiced and unvoiced weights.
Bytes pdf_file(bool msd, int streams, int len, const std::vector<int>& counts) {
  Bytes b;
  be32(&b, msd ? 1 : 0);
  be32(&b, streams);
  be32(&b, len);
  for (int c : counts) be32(&b, c);
  const int per = len / streams;
  for (std::size_t t = 0; t < counts.size(); ++t)
    for (int k = 1; k <= counts[t]; ++k)
      for (int s = 0; s < streams; ++s) {
        for (int d = 0; d < per; ++d) {
          be_f(&b, mean_of(static_cast<int>(t), k, s * per + d));
          be_f(&b, vari_of(static_cast<int>(t), k, s * per + d));
        }
        if (msd) {
          be_f(&b, 0.75f);
          be_f(&b, 0.25f);
        }
      }
  return b;
}

std::string trees(const std::string& prefix, int ntrees, int leaves) {
  std::string s = "QS C-a { \"*-a+*\" }\n\n";
  for (int t = 0; t < ntrees; ++t) {
    s += "{*}[" + std::to_string(t + 2) + "]\n{\n";
    s += "   0 C-a \"" + prefix + "_" + std::to_string(leaves) + "\" \"" + prefix + "_1\"\n}\n";
  }
  return s;
}

HtsDirFiles small_dir() {
  HtsDirFiles f;
  f["dur.pdf"] = pdf_file(false, 5, 5, {2});
  f["tree-dur.inf"] = text(trees("dur_s2", 1, 2));
  f["mgc.pdf"] = pdf_file(false, 1, 9, {2, 2, 2, 2, 2});  // order 2, 3 windows
  f["tree-mgc.inf"] = text(trees("mgc", 5, 2));
  f["lf0.pdf"] = pdf_file(true, 3, 3, {2, 2, 2, 2, 2});
  f["tree-lf0.inf"] = text(trees("lf0", 5, 2));
  for (const char* s : {"mgc", "lf0"}) {
    f[std::string(s) + ".win1"] = text("1 1.0\n");
    f[std::string(s) + ".win2"] = text("3 -0.5 0.0 0.5\n");
    f[std::string(s) + ".win3"] = text("3 1.0 -2.0 1.0\n");
  }
  f["gv-mgc.pdf"] = pdf_file(false, 1, 3, {1});
  f["tree-gv-mgc.inf"] = text("{*}[2]\n\"gv_mgc_1\"\n");
  return f;
}

const HtsDirInfo kInfo{48000, 0.55};

std::string parse_error(const HtsDirFiles& files) {
  HtsVoice v;
  std::string error;
  EXPECT_FALSE(parse_hts_dir(files, kInfo, &v, &error));
  return error;
}

TEST(HtsDir, ReadsEveryFileValueForValue) {
  HtsVoice v;
  std::string error;
  ASSERT_TRUE(parse_hts_dir(small_dir(), kInfo, &v, &error)) << error;
  EXPECT_EQ(v.sampling_frequency, 48000);
  EXPECT_EQ(v.frame_period, 240);
  EXPECT_EQ(v.num_states, 5);
  ASSERT_EQ(v.streams.size(), 2u);
  const HtsStreamData& mgc = v.streams[0];
  EXPECT_EQ(mgc.name, "MCP");
  EXPECT_EQ(mgc.option, "ALPHA=0.55");
  EXPECT_EQ(mgc.vector_length, 3);
  EXPECT_TRUE(mgc.use_gv);
  // Interleaved mean/variance pairs land in the mean and variance vectors.
  const Pdf& p = mgc.pdf.pdfs[3][1];
  for (int d = 0; d < 9; ++d) {
    EXPECT_FLOAT_EQ(p.mean[d], mean_of(3, 2, d));
    EXPECT_FLOAT_EQ(p.vari[d], vari_of(3, 2, d));
  }
  // Duration: one single-value stream per state.
  EXPECT_FLOAT_EQ(v.duration_pdf.pdfs[0][0].mean[4], mean_of(0, 1, 4));
  // Log F0: one stream per window; the voiced weight of the first stream.
  const Pdf& q = v.streams[1].pdf.pdfs[0][1];
  EXPECT_TRUE(v.streams[1].msd);
  EXPECT_FLOAT_EQ(q.mean[2], mean_of(0, 2, 2));
  EXPECT_FLOAT_EQ(q.msd, 0.75f);
  EXPECT_EQ(v.streams[1].tree.trees.size(), 5u);
}

TEST(HtsDir, DamageIsReportedWithFileAndPlace) {
  {
    HtsDirFiles f = small_dir();
    f["mgc.pdf"].resize(f["mgc.pdf"].size() - 10);  // cut inside the last pdf
    const std::string e = parse_error(f);
    EXPECT_NE(e.find("mgc.pdf"), std::string::npos) << e;
    EXPECT_NE(e.find("inside pdf 2 of tree 5"), std::string::npos) << e;
  }
  {
    HtsDirFiles f = small_dir();
    f["tree-lf0.inf"] = text(trees("lf0", 5, 3));  // leaf 3 of a 2-pdf tree
    const std::string e = parse_error(f);
    EXPECT_NE(e.find("tree-lf0.inf line"), std::string::npos) << e;
    EXPECT_NE(e.find("names pdf 3 of a tree with 2 pdfs"), std::string::npos) << e;
  }
  {
    HtsDirFiles f = small_dir();
    Bytes& b = f["dur.pdf"];
    for (std::size_t i = 0; i < 16; i += 4) std::swap(b[i], b[i + 3]), std::swap(b[i + 1], b[i + 2]);
    const std::string e = parse_error(f);
    EXPECT_NE(e.find("dur.pdf: byte 4"), std::string::npos) << e;
    EXPECT_NE(e.find("wrong byte order"), std::string::npos) << e;
  }
  {
    HtsDirFiles f = small_dir();
    f.erase("lf0.win2");
    f.erase("lf0.win3");  // one window left for three multi-space streams
    EXPECT_NE(parse_error(f).find("lf0.pdf"), std::string::npos);
  }
  {
    HtsDirFiles f = small_dir();
    f.erase("tree-mgc.inf");
    EXPECT_EQ(parse_error(f), "tree-mgc.inf: missing from the voice directory");
  }
  {
    HtsDirFiles f = small_dir();
    Bytes negative;
    be_f(&negative, -1.0f);
    const std::size_t first_variance = 12 + 5 * 4 + 4;
    std::copy(negative.begin(), negative.end(), f["mgc.pdf"].begin() + first_variance);
    const std::string e = parse_error(f);
    EXPECT_NE(e.find("mgc.pdf: byte " + std::to_string(first_variance)), std::string::npos) << e;
  }
}

TEST(HtsDir, RejectsHeadersThatCannotBeRight) {
  HtsPdfBlock block;
  int len = 0, streams = 0;
  bool msd = false;
  std::string error;
  Bytes b;
  be32(&b, 0);
  be32(&b, 2);
  be32(&b, 5);  // 5 values do not split into 2 streams
  be32(&b, 1);
  EXPECT_FALSE(parse_hts_pdf_file(b, 1, "x.pdf", &block, &len, &streams, &msd, &error));
  EXPECT_NE(error.find("x.pdf: byte 8"), std::string::npos) << error;
  Bytes short_header = {0, 0, 0};
  EXPECT_FALSE(parse_hts_pdf_file(short_header, 1, "y.pdf", &block, &len, &streams, &msd, &error));
  EXPECT_NE(error.find("ends inside its header"), std::string::npos) << error;
  HtsVoice v;
  EXPECT_FALSE(parse_hts_dir(small_dir(), HtsDirInfo{44100, 0.5}, &v, &error));
  EXPECT_FALSE(parse_hts_dir(small_dir(), HtsDirInfo{48000, 1.0}, &v, &error));
}

}  // namespace
