// Strict reader of the .htsvoice single-file HMM voice: header keys, data
// positions, dynamic windows, binary output distributions and the text
// question lists and decision trees, each checked against the others.
// Produces a plain value (HtsVoice) that owns everything it holds; the reader
// keeps no state between calls and is safe to call from several threads.
#ifndef VXN_HTSVOICE_H
#define VXN_HTSVOICE_H

#include <cstddef>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_voice_model.h"

namespace vxn {
namespace voice {

// One tree block: its question list and its trees. Node::question indexes
// `questions` of the same block; leaves are 1-based pdf numbers of the tree
// with the same position in the matching pdf block. Every tree has at least
// its root (id 0) first; a tree written as a single leaf is a root with
// question -1 whose two children are that leaf.
struct HtsTreeBlock {
  std::vector<Question> questions;
  std::vector<Tree> trees;
  std::vector<std::string> selections;  // selection pattern of each tree, e.g. "*"
};

// One pdf block: pdfs[t][k] is pdf k + 1 of tree t. Means and variances have
// V * W values (static, delta, delta-delta blocks of V each); msd is the
// voiced weight of a multi-space stream.
struct HtsPdfBlock {
  std::vector<std::vector<Pdf>> pdfs;
};

struct HtsStreamData {
  std::string name;                       // e.g. "MCP", "LF0"
  int vector_length = 0;                  // V, static dimensions
  bool msd = false;
  bool use_gv = false;
  std::string option;                     // OPTION[name] as written
  std::vector<std::vector<double>> windows;  // coefficients of each window
  HtsPdfBlock pdf;                        // one tree per emitting state
  HtsTreeBlock tree;
  HtsPdfBlock gv_pdf;                     // present when use_gv (W = 1)
  HtsTreeBlock gv_tree;
};

struct HtsVoice {
  std::string version;                    // HTS_VOICE_VERSION
  int sampling_frequency = 0;             // Hz
  int frame_period = 0;                   // samples per frame
  int num_states = 0;                     // emitting states per model
  std::string fullcontext_format;
  std::string fullcontext_version;
  std::vector<std::string> gv_off_context;
  HtsPdfBlock duration_pdf;               // one tree, V = num_states, W = 1
  HtsTreeBlock duration_tree;
  std::vector<HtsStreamData> streams;     // in STREAM_TYPE order
};

// Parses a whole .htsvoice image. On failure returns false with a one-line
// reason in *error (the voice is then left in an unspecified state).
bool parse_htsvoice(const unsigned char* data, std::size_t size, HtsVoice* voice,
                    std::string* error);
// Reads and parses the file at path.
bool read_htsvoice(const std::string& path, HtsVoice* voice, std::string* error);

// Parses one text tree block on its own (questions, then trees serving
// states 2, 3, ... in order); pdf_counts[t] is the pdf count of tree t. what
// names the block in messages, which also give the line.
bool parse_hts_tree_text(const unsigned char* text, std::size_t size,
                         const std::vector<std::size_t>& pdf_counts, const std::string& what,
                         HtsTreeBlock* block, std::string* error);
// Parses one dynamic window written as text ("3 -0.5 0.0 0.5").
bool parse_hts_window_text(const unsigned char* text, std::size_t size, const std::string& what,
                           std::vector<double>* window, std::string* error);

// Glob match of a whole label: '*' any run, '?' one character.
bool hts_pattern_match(const std::string& label, const std::string& pattern);
// Leaf number (1-based) that tree t of the block selects for the label, or -1
// when the walk leaves the tree.
int hts_tree_leaf(const HtsTreeBlock& block, std::size_t tree, const std::string& label);

}  // namespace voice
}  // namespace vxn

#endif
