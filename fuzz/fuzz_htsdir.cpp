// Fuzzes the reader of voice directories. Input: a selector byte, then the
// bytes of one file: 0 a pdf file (big-endian, one to five trees), 1 a text
// tree file, 2 a window file, 3 a whole small directory whose mgc.pdf is the
// input (the other files fixed and valid). Nothing may crash, hang or read out
// of bounds; rejections are expected and must carry a message.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_htsdir.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

void be32(Bytes* b, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b->push_back(static_cast<unsigned char>(v >> s));
}

// A pdf file with `counts` pdfs per tree of `len` values, all ones.
Bytes ones(bool msd, int streams, int len, const std::vector<int>& counts) {
  Bytes b;
  be32(&b, msd);
  be32(&b, streams);
  be32(&b, len);
  for (int c : counts) be32(&b, c);
  const uint32_t one = 0x3f800000u, half = 0x3f000000u;
  for (int c : counts)
    for (int k = 0; k < c; ++k)
      for (int s = 0; s < streams; ++s) {
        for (int d = 0; d < len / streams; ++d) be32(&b, one), be32(&b, one);
        if (msd) be32(&b, half), be32(&b, half);
      }
  return b;
}

std::string trees(int n) {
  std::string s = "QS C-a { \"*-a+*\" }\n";
  for (int t = 0; t < n; ++t)
    s += "{*}[" + std::to_string(t + 2) + "]\n{\n 0 C-a \"x_1\" \"x_1\"\n}\n";
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const Bytes body(data + 1, data + size);
  std::string error;
  vxn::voice::HtsPdfBlock block;
  int len = 0, streams = 0;
  bool msd = false;
  switch (data[0] % 4) {
    case 0:
      for (int ntrees = 1; ntrees <= 5; ntrees += 4)
        if (!vxn::voice::parse_hts_pdf_file(body, ntrees, "f.pdf", &block, &len, &streams, &msd,
                                            &error) &&
            error.empty())
          __builtin_trap();
      break;
    case 1: {
      vxn::voice::HtsTreeBlock trees_block;
      vxn::voice::parse_hts_tree_text(body.data(), body.size(), {2, 1, 3, 1, 1}, "t.inf",
                                      &trees_block, &error);
      break;
    }
    case 2: {
      std::vector<double> w;
      vxn::voice::parse_hts_window_text(body.data(), body.size(), "w.win1", &w, &error);
      break;
    }
    default: {
      vxn::voice::HtsDirFiles f;
      f["dur.pdf"] = ones(false, 5, 5, {1});
      f["tree-dur.inf"] = text(trees(1));
      f["mgc.pdf"] = body;
      f["tree-mgc.inf"] = text(trees(5));
      f["lf0.pdf"] = ones(true, 3, 3, {1, 1, 1, 1, 1});
      f["tree-lf0.inf"] = text(trees(5));
      for (const char* s : {"mgc", "lf0"}) {
        f[std::string(s) + ".win1"] = text("1 1.0");
        f[std::string(s) + ".win2"] = text("3 -0.5 0.0 0.5");
        f[std::string(s) + ".win3"] = text("3 1.0 -2.0 1.0");
      }
      vxn::voice::HtsVoice voice;
      if (!vxn::voice::parse_hts_dir(f, vxn::voice::HtsDirInfo{48000, 0.55}, &voice, &error) &&
          error.empty())
        __builtin_trap();
    }
  }
  return 0;
}
