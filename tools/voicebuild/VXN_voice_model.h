// In-memory voice for the voice-building tools: questions, decision trees and
// floating-point distributions of the duration stream and the three parameter
// streams, with their global-variance statistics. The package writer
// quantises it into the four package files; importers fill it from other
// voice formats. Plain value types; owns nothing outside itself.
#ifndef VXN_VOICE_MODEL_H
#define VXN_VOICE_MODEL_H

#include <string>
#include <vector>

namespace vxn {
namespace voice {

struct Question {
  std::string name;                   // e.g. "C-Vowel"
  std::vector<std::string> patterns;  // e.g. "*-aa+*"
};

// One internal node. Children are node ids (0 root, negative others) or
// 1-based leaf numbers of the tree's pdfs when the matching flag is set.
struct Node {
  int id = 0;
  int question = 0;  // index into Voice::questions
  int no = 0;
  bool no_is_leaf = false;
  int yes = 0;
  bool yes_is_leaf = false;
};

// A tree whose nodes list the root first. A tree of a single leaf has no
// nodes and pdf_count 1 (written as a root whose two children are leaf 1).
struct Tree {
  int state = 2;               // state served: 2..6 for parameter streams
  std::vector<Node> nodes;
  int pdf_count = 0;
};

// One output distribution. Parameter streams: mean and vari of length
// V = static length x 3 windows; duration: one value per state.
struct Pdf {
  std::vector<float> mean;
  std::vector<float> vari;
  float msd = 0.0f;            // voiced weight (multi-space stream only)
};

struct Stream {
  int vector_length = 0;       // V
  bool msd = false;            // true only for stream 1 (log F0)
  std::vector<Tree> trees;     // duration: one tree; parameter stream: one per state
  std::vector<std::vector<Pdf>> pdfs;  // per tree, leaf 1 first
};

// Global variance of one stream: a single pdf over the static dimensions.
struct GvStream {
  bool present = false;
  std::vector<float> mean;
  std::vector<float> vari;
};

struct Voice {
  std::vector<Question> questions;
  Stream duration;
  Stream streams[3];           // 0 mel-cepstrum, 1 log F0, 2 band aperiodicity
  GvStream gv[3];
};

}  // namespace voice
}  // namespace vxn

#endif
