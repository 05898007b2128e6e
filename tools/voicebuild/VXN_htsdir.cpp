// Reader of HMM voice directories; see VXN_htsdir.h.
#include "tools/voicebuild/VXN_htsdir.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace vxn {
namespace voice {

namespace {

constexpr int kMaxStates = 32;
constexpr int kMaxStreams = 32;
constexpr int kMaxVectorLength = 1024;

struct Failure {
  std::string message;
};
[[noreturn]] void fail(const std::string& m) { throw Failure{m}; }

uint32_t be32(const unsigned char* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

int32_t be_i32(const unsigned char* p) {
  const uint32_t v = be32(p);
  int32_t out;
  std::memcpy(&out, &v, 4);
  return out;
}

int32_t le_i32(const unsigned char* p) {
  const uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                     (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  int32_t out;
  std::memcpy(&out, &v, 4);
  return out;
}

float be_f32(const unsigned char* p) {
  const uint32_t v = be32(p);
  float out;
  std::memcpy(&out, &v, 4);
  return out;
}

std::string at(const std::string& name, std::size_t offset) {
  return name + ": byte " + std::to_string(offset);
}

// Header integer at offset within lo..hi; a value that fits only when read
// little-endian is reported as a byte-order fault.
int header_int(const std::vector<unsigned char>& b, std::size_t offset, const std::string& name,
               const char* what, long lo, long hi) {
  if (b.size() < offset + 4)
    fail(at(name, offset) + ": the file ends inside its header (" + std::to_string(b.size()) +
         " bytes)");
  const long v = be_i32(&b[offset]);
  if (v >= lo && v <= hi) return static_cast<int>(v);
  const long swapped = le_i32(&b[offset]);
  std::string msg = at(name, offset) + ": " + what + " " + std::to_string(v) + " is outside " +
                    std::to_string(lo) + ".." + std::to_string(hi);
  if (swapped >= lo && swapped <= hi)
    msg += " (it reads " + std::to_string(swapped) +
           " little-endian: the file has the wrong byte order, big-endian expected)";
  fail(msg);
}

void parse_pdf(const std::vector<unsigned char>& b, int ntrees, const std::string& name,
               HtsPdfBlock* block, int* vector_length, int* streams, bool* msd) {
  const int is_msd = header_int(b, 0, name, "is-MSD flag", 0, 1);
  const int nstream = header_int(b, 4, name, "stream count", 1, kMaxStreams);
  const int len = header_int(b, 8, name, "vector length", 1, kMaxVectorLength);
  if (len % nstream != 0)
    fail(at(name, 8) + ": vector length " + std::to_string(len) + " does not split into " +
         std::to_string(nstream) + " streams");
  if (ntrees < 1) fail(name + ": no trees");
  const std::size_t per_stream = static_cast<std::size_t>(len / nstream);
  const std::size_t floats = 2 * static_cast<std::size_t>(len) + (is_msd ? 2u * nstream : 0u);
  const std::size_t per_pdf = 4 * floats;
  std::vector<std::size_t> counts;
  std::size_t total = 0;
  for (int t = 0; t < ntrees; ++t) {
    const std::size_t off = 12 + 4 * static_cast<std::size_t>(t);
    const int n = header_int(b, off, name, ("pdf count of tree " + std::to_string(t + 1)).c_str(),
                             1, 0x7fffffff);
    counts.push_back(static_cast<std::size_t>(n));
    total += static_cast<std::size_t>(n);
    if (total > b.size() / per_pdf + 1)
      fail(at(name, off) + ": " + std::to_string(total) + " pdfs cannot fit in a file of " +
           std::to_string(b.size()) + " bytes");
  }
  const std::size_t start = 12 + 4 * static_cast<std::size_t>(ntrees);
  const std::size_t expected = start + total * per_pdf;
  if (b.size() != expected) {
    std::string msg = name + ": " + std::to_string(b.size()) + " bytes, expected " +
                      std::to_string(expected) + " for " + std::to_string(total) + " pdfs of " +
                      std::to_string(per_pdf) + " bytes";
    if (b.size() < expected && b.size() >= start) {
      std::size_t k = (b.size() - start) / per_pdf;  // first incomplete pdf, 0-based overall
      std::size_t t = 0;
      while (t + 1 < counts.size() && k >= counts[t]) k -= counts[t++];
      msg += " (the file ends at byte " + std::to_string(b.size()) + ", inside pdf " +
             std::to_string(k + 1) + " of tree " + std::to_string(t + 1) + ")";
    } else if (b.size() > expected) {
      msg += " (" + std::to_string(b.size() - expected) + " bytes after the last pdf)";
    }
    fail(msg);
  }
  *vector_length = len;
  *streams = nstream;
  *msd = is_msd == 1;
  block->pdfs.assign(ntrees, {});
  std::size_t off = start;
  for (int t = 0; t < ntrees; ++t) {
    block->pdfs[t].resize(counts[t]);
    for (std::size_t k = 0; k < counts[t]; ++k) {
      Pdf& pdf = block->pdfs[t][k];
      pdf.mean.resize(len);
      pdf.vari.resize(len);
      const std::size_t pdf_start = off;
      for (int s = 0; s < nstream; ++s) {
        for (std::size_t d = 0; d < per_stream; ++d, off += 8) {
          pdf.mean[s * per_stream + d] = be_f32(&b[off]);
          const float v = be_f32(&b[off + 4]);
          if (!std::isfinite(v) || !(v > 0.0f))
            fail(at(name, off + 4) + " (tree " + std::to_string(t + 1) + " pdf " +
                 std::to_string(k + 1) + "): variance " + std::to_string(v) +
                 " is not a positive finite number");
          pdf.vari[s * per_stream + d] = v;
        }
        if (is_msd) {
          const float voiced = be_f32(&b[off]);
          const float unvoiced = be_f32(&b[off + 4]);
          if (!(voiced >= 0.0f && voiced <= 1.0f) || !(unvoiced >= 0.0f && unvoiced <= 1.0f))
            fail(at(name, off) + " (tree " + std::to_string(t + 1) + " pdf " +
                 std::to_string(k + 1) + "): space weights " + std::to_string(voiced) + ", " +
                 std::to_string(unvoiced) + " lie outside 0..1");
          if (s == 0) pdf.msd = voiced;
          off += 8;
        }
      }
      for (int d = 0; d < len; ++d)
        if (!std::isfinite(pdf.mean[d]))
          fail(at(name, pdf_start) + " (tree " + std::to_string(t + 1) + " pdf " +
               std::to_string(k + 1) + "): mean " + std::to_string(d + 1) + " is not finite");
    }
  }
}

const std::vector<unsigned char>& file(const HtsDirFiles& files, const std::string& name) {
  auto it = files.find(name);
  if (it == files.end()) fail(name + ": missing from the voice directory");
  return it->second;
}

HtsTreeBlock tree(const HtsDirFiles& files, const std::string& name, const HtsPdfBlock& pdfs) {
  std::vector<std::size_t> counts;
  for (const auto& t : pdfs.pdfs) counts.push_back(t.size());
  const std::vector<unsigned char>& text = file(files, name);
  HtsTreeBlock block;
  std::string error;
  if (!parse_hts_tree_text(text.data(), text.size(), counts, name, &block, &error)) fail(error);
  return block;
}

// One parameter stream: pdf file, tree file, windows, optional GV.
HtsStreamData stream(const HtsDirFiles& files, const std::string& file_stem,
                     const std::string& stream_name, int nstates, const std::string& option) {
  HtsStreamData s;
  s.name = stream_name;
  s.option = option;
  int len = 0, nstream = 0;
  std::string error;
  const std::string pdf_name = file_stem + ".pdf";
  if (!parse_hts_pdf_file(file(files, pdf_name), nstates, pdf_name, &s.pdf, &len, &nstream,
                          &s.msd, &error))
    fail(error);
  s.tree = tree(files, "tree-" + file_stem + ".inf", s.pdf);
  for (int w = 1;; ++w) {
    const std::string win = file_stem + ".win" + std::to_string(w);
    auto it = files.find(win);
    if (it == files.end()) break;
    std::vector<double> coefficients;
    if (!parse_hts_window_text(it->second.data(), it->second.size(), win, &coefficients, &error))
      fail(error);
    s.windows.push_back(coefficients);
  }
  if (s.windows.empty()) fail(file_stem + ".win1: missing from the voice directory");
  if (len % static_cast<int>(s.windows.size()) != 0)
    fail(pdf_name + ": vector length " + std::to_string(len) + " is not a multiple of the " +
         std::to_string(s.windows.size()) + " windows");
  if (s.msd && nstream != static_cast<int>(s.windows.size()))
    fail(pdf_name + ": a multi-space file holds one stream per window, found " +
         std::to_string(nstream) + " streams for " + std::to_string(s.windows.size()) +
         " windows");
  s.vector_length = len / static_cast<int>(s.windows.size());
  const std::string gv_pdf = "gv-" + file_stem + ".pdf";
  if (files.count(gv_pdf)) {
    int gv_len = 0, gv_streams = 0;
    bool gv_msd = false;
    if (!parse_hts_pdf_file(file(files, gv_pdf), 1, gv_pdf, &s.gv_pdf, &gv_len, &gv_streams,
                            &gv_msd, &error))
      fail(error);
    if (gv_msd || gv_len != s.vector_length)
      fail(gv_pdf + ": vector length " + std::to_string(gv_len) + (gv_msd ? " (multi-space)" : "") +
           ", expected " + std::to_string(s.vector_length) + " without multi-space");
    s.gv_tree = tree(files, "tree-gv-" + file_stem + ".inf", s.gv_pdf);
    s.use_gv = true;
  }
  return s;
}

void parse(const HtsDirFiles& files, const HtsDirInfo& info, HtsVoice* v) {
  if (info.sampling_frequency < 8000 || info.sampling_frequency % 200 != 0)
    fail("sampling rate " + std::to_string(info.sampling_frequency) +
         " Hz: expected a multiple of 200 Hz from 8000 Hz up");
  if (!(std::fabs(info.alpha) < 1.0)) fail("all-pass constant must lie in -1..1");
  *v = HtsVoice();
  v->version = "1.0";
  v->sampling_frequency = info.sampling_frequency;
  v->frame_period = info.sampling_frequency / 200;
  v->fullcontext_format = "HTS_TTS_ENG";
  int len = 0, nstream = 0;
  bool msd = false;
  std::string error;
  if (!parse_hts_pdf_file(file(files, "dur.pdf"), 1, "dur.pdf", &v->duration_pdf, &len, &nstream,
                          &msd, &error))
    fail(error);
  if (msd || nstream != len || len > kMaxStates)
    fail("dur.pdf: " + std::to_string(nstream) + " streams of total length " + std::to_string(len) +
         (msd ? " (multi-space)" : "") + ": expected one single-value stream per state");
  v->num_states = len;
  v->duration_tree = tree(files, "tree-dur.inf", v->duration_pdf);
  char alpha[32];
  std::snprintf(alpha, sizeof alpha, "ALPHA=%g", info.alpha);
  v->streams.push_back(stream(files, "mgc", "MCP", v->num_states, alpha));
  v->streams.push_back(stream(files, "lf0", "LF0", v->num_states, ""));
  if (!v->streams[1].msd) fail("lf0.pdf: is-MSD flag 0, log F0 must be multi-space");
  if (v->streams[0].msd) fail("mgc.pdf: is-MSD flag 1, the mel-cepstrum is not multi-space");
  if (files.count("bap.pdf")) {
    v->streams.push_back(stream(files, "bap", "BAP", v->num_states, ""));
    if (v->streams[2].msd) fail("bap.pdf: is-MSD flag 1, aperiodicity is not multi-space");
  }
}

bool slurp(const std::string& path, std::vector<unsigned char>* out) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return false;
  out->clear();
  unsigned char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) out->insert(out->end(), buf, buf + n);
  const bool ok = std::ferror(fp) == 0;
  std::fclose(fp);
  return ok;
}

}  // namespace

bool parse_hts_pdf_file(const std::vector<unsigned char>& bytes, int ntrees,
                        const std::string& name, HtsPdfBlock* block, int* vector_length,
                        int* streams, bool* msd, std::string* error) {
  try {
    parse_pdf(bytes, ntrees, name, block, vector_length, streams, msd);
    return true;
  } catch (const Failure& f) {
    if (error) *error = f.message;
    return false;
  } catch (const std::bad_alloc&) {
    if (error) *error = name + ": out of memory";
    return false;
  }
}

bool parse_hts_dir(const HtsDirFiles& files, const HtsDirInfo& info, HtsVoice* voice,
                   std::string* error) {
  try {
    parse(files, info, voice);
    return true;
  } catch (const Failure& f) {
    if (error) *error = f.message;
    return false;
  } catch (const std::bad_alloc&) {
    if (error) *error = "out of memory";
    return false;
  }
}

bool read_hts_dir(const std::string& dir, const HtsDirInfo& info, HtsVoice* voice,
                  std::string* error) {
  static const char* const kNames[] = {
      "dur.pdf",  "tree-dur.inf", "mgc.pdf",     "tree-mgc.inf", "lf0.pdf",      "tree-lf0.inf",
      "bap.pdf",  "tree-bap.inf", "gv-mgc.pdf",  "tree-gv-mgc.inf", "gv-lf0.pdf",
      "tree-gv-lf0.inf", "mgc.win1", "mgc.win2", "mgc.win3", "lf0.win1", "lf0.win2", "lf0.win3",
      "bap.win1", "bap.win2", "bap.win3"};
  HtsDirFiles files;
  for (const char* n : kNames) {
    std::vector<unsigned char> bytes;
    if (slurp(dir + "/" + n, &bytes)) files[n] = std::move(bytes);
  }
  if (!parse_hts_dir(files, info, voice, error)) {
    if (error) *error = dir + "/" + *error;
    return false;
  }
  return true;
}

}  // namespace voice
}  // namespace vxn
