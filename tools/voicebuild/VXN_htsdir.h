// Reader of HMM voices laid out as a directory of separate files, the older
// form of the voices that .htsvoice files bundle: big-endian binary pdf files
// (dur.pdf, mgc.pdf, lf0.pdf, optional bap.pdf, gv-*.pdf), text tree files
// (tree-*.inf) and one text file per dynamic window (mgc.win1, ...). The
// directory carries no header, so the sampling rate and the all-pass constant
// come from the caller. Produces the same HtsVoice value as the .htsvoice
// reader; keeps no state and is safe to call from several threads.
#ifndef VXN_HTSDIR_H
#define VXN_HTSDIR_H

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_htsvoice.h"

namespace vxn {
namespace voice {

struct HtsDirInfo {
  int sampling_frequency = 0;  // Hz; the frame period is always 5 ms
  double alpha = 0.0;          // all-pass constant of the mel-cepstrum
};

// The directory's files by name (e.g. "mgc.pdf" -> bytes); lets the parser
// run on memory (tests, fuzzing) as well as on a directory.
using HtsDirFiles = std::map<std::string, std::vector<unsigned char>>;

// One big-endian pdf file: is-MSD flag, stream count, total vector length,
// then one pdf count per tree and the pdfs. Each pdf holds, stream by stream,
// a mean and a variance per dimension and, in a multi-space stream, the
// stream's voiced and unvoiced weights. The result has the .htsvoice layout: every mean and
// variance of the pdf concatenated stream by stream, and the voiced weight of
// the first stream. ntrees comes from the matching tree file. Errors name the
// file and the byte offset.
bool parse_hts_pdf_file(const std::vector<unsigned char>& bytes, int ntrees,
                        const std::string& name, HtsPdfBlock* block, int* vector_length,
                        int* streams, bool* msd, std::string* error);

// Parses a voice from its files. Required: dur.pdf, tree-dur.inf, mgc.pdf,
// tree-mgc.inf, mgc.win1..3, lf0.pdf, tree-lf0.inf, lf0.win1..3; optional:
// bap.pdf with tree-bap.inf and bap.win1..3, and gv-mgc.pdf / gv-lf0.pdf with
// their tree-gv-*.inf files. On failure returns false with a message that
// names the file and the place (byte offset or line).
bool parse_hts_dir(const HtsDirFiles& files, const HtsDirInfo& info, HtsVoice* voice,
                   std::string* error);

// Reads the files above from a directory and parses them.
bool read_hts_dir(const std::string& dir, const HtsDirInfo& info, HtsVoice* voice,
                  std::string* error);

}  // namespace voice
}  // namespace vxn

#endif
