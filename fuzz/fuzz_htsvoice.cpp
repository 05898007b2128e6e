// Fuzzes the .htsvoice reader with whole files, and the import of every
// voice the reader accepts. Input: the bytes of one .htsvoice file (seed:
// fuzz/corpus/fuzz_htsvoice/). Neither may crash, hang or read out of bounds;
// rejections are expected.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/voicebuild/VXN_htsvoice.h"
#include "tools/voicebuild/VXN_voice_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vxn::voice::HtsVoice voice;
  std::string error;
  if (!vxn::voice::parse_htsvoice(data, size, &voice, &error)) return 0;
  // Every accepted tree walks to a leaf inside its pdf set or to -1.
  for (std::size_t t = 0; t < voice.duration_tree.trees.size(); ++t) {
    int leaf = vxn::voice::hts_tree_leaf(voice.duration_tree, t, "x^pau-a+i=x@1_1/A:0");
    if (leaf == 0 || leaf > static_cast<int>(voice.duration_pdf.pdfs[t].size())) __builtin_trap();
  }
  vxn::voice::Voice out;
  vxn::voice::ImportReport report;
  vxn::voice::ImportOptions options;
  options.envelope_sample = 2;
  vxn::voice::import_htsvoice(voice, options, &out, &report, &error);
  return 0;
}
