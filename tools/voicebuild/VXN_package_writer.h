// Model package writer: quantises an in-memory voice and writes the four
// package files (.qt question names, .pt patterns, .am model, .dt trees).
// Owns nothing between calls; each call is independent and may run on any
// thread. A voice that does not fit the package format is an error, never
// silently truncated.
#ifndef VXN_PACKAGE_WRITER_H
#define VXN_PACKAGE_WRITER_H

#include <cstddef>
#include <string>

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace voice {

// Quantisation error of one kind of value (means or variances) of a stream:
// absolute error divided by the spread (max - min) of the value's dimension.
// Variances are quantised and measured in the log domain.
struct QuantError {
  double mean_rel = 0.0;  // average over every quantised value
  double max_rel = 0.0;
};

struct StreamReport {
  int vector_length = 0;
  int trees = 0;
  int pdfs = 0;
  int nodes = 0;          // internal nodes written
  int codebook_size = 0;  // entries per dimension (type 1)
  QuantError mean_error;
  QuantError vari_error;
};

struct PackageReport {
  StreamReport duration;
  StreamReport streams[3];
  int gv_streams = 0;
  int questions = 0;
  int patterns = 0;  // distinct patterns stored
  std::size_t bytes_qt = 0, bytes_pt = 0, bytes_am = 0, bytes_dt = 0;
};

// Codebook entries per dimension.
constexpr int kCodebookSize = 256;

// Writes stem_path + ".qt", ".pt", ".am" and ".dt". Returns false with a
// message in *error when the voice breaks a limit of the format or a file
// cannot be written. report, error and dequantised may be null; dequantised
// receives the voice as the engine will read it back (every value replaced by
// its quantised value).
bool write_package(const Voice& voice, const std::string& stem_path, PackageReport* report,
                   std::string* error, Voice* dequantised = nullptr);

// Checks a voice against the format's limits without writing anything.
bool validate_voice(const Voice& voice, std::string* error);

}  // namespace voice
}  // namespace vxn

#endif
