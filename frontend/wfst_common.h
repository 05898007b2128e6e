// Weighted finite-state transducer of the text front end: the transducer value
// (9-byte transition records, validated when loaded), paths and results, the
// best-path search, length-controlled transduction of whole texts, projections
// and the token and utterance entries. A loaded transducer is read-only and may
// be shared between threads; a path or result serves one search at a time.
#ifndef WFST_COMMON_H
#define WFST_COMMON_H

#include <stdio.h>

#include "frontend/kvap_flite.h"

// Exported with C linkage: language modules import these by plain name.
extern "C" {

// Transition record layout (9 bytes):
//   byte 0     input symbol (0 = epsilon, consumes nothing)
//   byte 1     output symbol (0 = none)
//   bytes 2-3  low 16 bits of the target state, little-endian
//   byte 4     bits 0-5 high 6 bits of the target, bit 6 target is final,
//              bit 7 last transition of its state
//   bytes 5-8  weight, 32-bit IEEE float, little-endian
// A state is the index of its first record; its run of records ends with the
// record that has bit 7 set. The start state is 0; it is final when bit 6 of
// record 0 is set. A final state ends every branch that still has input left,
// so its own transitions are never followed.
enum {
  VXN_WFST_RECORD_SIZE = 9,
  VXN_WFST_FINAL_BIT = 0x40,
  VXN_WFST_LAST_BIT = 0x80,
  VXN_WFST_MAX_RECORDS = 1 << 22,  // targets have 22 bits
};

// Span marking. The transducer opens a rewritten span by writing output symbol
// VXN_WFST_SPAN_OPEN and closes it with VXN_WFST_SPAN_CLOSE (both on any
// transition, usually an epsilon-input one). The input consumed and the output
// written between the two belong to the span. The output projection drops both
// markers; the input/output projection writes a span as
//   0x11 <span input, spaces as 0x14> 0x12 <span output, spaces as 0x14> 0x13
// and copies the output written outside spans.
enum {
  VXN_WFST_SPAN_OPEN = 0x01,
  VXN_WFST_SPAN_CLOSE = 0x02,
  VXN_WFST_IO_OPEN = 0x11,
  VXN_WFST_IO_SEP = 0x12,
  VXN_WFST_IO_CLOSE = 0x13,
  VXN_WFST_IO_SPACE = 0x14,
};
// Output symbol that a token transducer writes for a consumed abbreviation dot
// (wfst_exp_token drops it and marks the token "dot_interpreted").
enum { VXN_WFST_DOT_MARK = 0x14 };

// Search bounds. A path holds at most VXN_WFST_MAX_PATH transitions and at most
// VXN_WFST_MAX_EPSILON_RUN epsilon-input transitions in a row, so an epsilon
// cycle cannot recurse forever; branches beyond either bound are abandoned. A
// search stops after VXN_WFST_DEFAULT_STEP_LIMIT visited states (settable in
// the result) and keeps the best path found until then.
enum {
  VXN_WFST_MAX_PATH = 4096,
  VXN_WFST_MAX_EPSILON_RUN = 64,
  VXN_WFST_DEFAULT_STEP_LIMIT = 1 << 21,
};

// Texts of this mass or more are split before transduction.
enum { VXN_WFST_MASS_LIMIT = 801 };

typedef struct VXN_Wfst {
  unsigned magic;                 // VXN_WFST_MAGIC while loaded
  const unsigned char* records;   // count * 9 bytes
  size_t count;                   // number of transition records
  unsigned char* owned;           // copy of the records when the transducer owns them
  unsigned char* starts;          // one bit per record: the record starts a state
} VXN_Wfst;

VXN_EXPORT void VXN_Wfst_initialize(VXN_Wfst* fst);
VXN_EXPORT void VXN_Wfst_clear(VXN_Wfst* fst);
// Validates size bytes of records and makes fst use them: with copy the bytes
// are copied, otherwise they must outlive fst (linked-in arrays). Rejects an
// empty or ragged buffer, too many records, a target outside the array or not
// at the start of a state, a last record without bit 7 and a weight that is
// not a finite number, each with a message through VXN_print. Returns 1 or 0
// (fst is then left empty).
VXN_EXPORT int VXN_Wfst_load(VXN_Wfst* fst, const unsigned char* data, size_t size, int copy);
// Reads a whole file of records and loads a copy. Returns 1 or 0.
VXN_EXPORT int VXN_Wfst_load_file(VXN_Wfst* fst, const char* path);
// True when fst is loaded and state is the first record of a state.
VXN_EXPORT int VXN_Wfst_is_state(const VXN_Wfst* fst, size_t state);
// Field readers of record r (r < count).
VXN_EXPORT unsigned char wfst_record_input(const VXN_Wfst* fst, size_t r);
VXN_EXPORT unsigned char wfst_record_output(const VXN_Wfst* fst, size_t r);
VXN_EXPORT size_t wfst_record_target(const VXN_Wfst* fst, size_t r);
VXN_EXPORT int wfst_record_target_final(const VXN_Wfst* fst, size_t r);
VXN_EXPORT int wfst_record_last(const VXN_Wfst* fst, size_t r);
VXN_EXPORT float wfst_record_weight(const VXN_Wfst* fst, size_t r);
// Lists every state and transition on fp.
VXN_EXPORT void VXN_Wfst_print(const VXN_Wfst* fst, FILE* fp);

// The Flite value type "wfst". The value does not own the transducer: whoever
// loads it (the language module) clears it after the voice is deleted.
extern VXN_EXPORT const int cst_val_type_wfst;
VXN_EXPORT cst_val* wfst_val(const VXN_Wfst* fst);
// The transducer held by v, or null when v is not a loaded "wfst" value.
VXN_EXPORT const VXN_Wfst* val_wfst(const cst_val* v);

// One entry of a path: a transition record and the path weight up to and
// including it (kept per entry so that removing entries restores the sum
// exactly).
typedef struct VXN_WfstStep {
  size_t record;
  double weight;
} VXN_WfstStep;

// A path: the transitions taken, in order, and the sum of their weights.
// Room starts at 10 entries and grows by 10.
typedef struct VXN_WfstPath {
  VXN_WfstStep* steps;
  int count;
  int room;
  double weight;
} VXN_WfstPath;

VXN_EXPORT void VXN_WfstPath_initialize(VXN_WfstPath* path);
VXN_EXPORT void VXN_WfstPath_clear(VXN_WfstPath* path);
// Appends record r (adding its weight). Returns 0 when memory runs out.
VXN_EXPORT int VXN_WfstPath_push(VXN_WfstPath* path, const VXN_Wfst* fst, size_t r);
// Removes the last entry (nothing on an empty path).
VXN_EXPORT void VXN_WfstPath_pop(VXN_WfstPath* path);
// Makes dst an equal copy of src. Returns 0 when memory runs out.
VXN_EXPORT int VXN_WfstPath_copy(VXN_WfstPath* dst, const VXN_WfstPath* src);
VXN_EXPORT void VXN_WfstPath_print(const VXN_WfstPath* path, const VXN_Wfst* fst, FILE* fp);

// The best complete path of a search and the search's step count.
typedef struct VXN_WfstResult {
  VXN_WfstPath path;
  int found;               // path holds a complete path
  unsigned long steps;     // states visited so far
  unsigned long limit;     // step bound (VXN_WFST_DEFAULT_STEP_LIMIT)
  int exhausted;           // the search stopped at the step bound
} VXN_WfstResult;

VXN_EXPORT void VXN_WfstResult_initialize(VXN_WfstResult* result);
VXN_EXPORT void VXN_WfstResult_clear(VXN_WfstResult* result);
// Offers a complete path: it replaces the best one when there is none yet or
// when its weight is strictly lower (so among equal weights the first stays).
// Returns 1 when it was taken.
VXN_EXPORT int VXN_WfstResult_offer(VXN_WfstResult* result, const VXN_WfstPath* path);

// Depth-first best-path search from `state` (`final` tells whether that state
// is final) over the NUL-terminated input, extending `path`. A path whose
// weight is not below the best complete path's weight is abandoned; with input
// left a final state ends the branch, otherwise every transition of the state
// is tried in record order (a matching input symbol consumes one byte, an
// epsilon consumes nothing). With the input used up the search continues in
// wfst_transduce_eps. Returns best->found. path is restored on return.
VXN_EXPORT int wfst_transduce(const VXN_Wfst* fst, size_t state, int final, const char* input,
                              VXN_WfstPath* path, VXN_WfstResult* best);
// The end of the input: a final state offers the path to best, a non-final
// state follows its epsilon-input transitions only. Returns best->found.
VXN_EXPORT int wfst_transduce_eps(const VXN_Wfst* fst, size_t state, int final, VXN_WfstPath* path,
                                  VXN_WfstResult* best);

// Projections of a complete path into a new string (free with VXN_free); null
// when memory runs out.
typedef char* (*wfst_projection_func)(const VXN_Wfst* fst, const VXN_WfstPath* path);
// Output symbols without the span markers.
VXN_EXPORT char* wfst_project_output(const VXN_Wfst* fst, const VXN_WfstPath* path);
// Input symbols.
VXN_EXPORT char* wfst_project_input(const VXN_Wfst* fst, const VXN_WfstPath* path);
// Spans as 0x11 input 0x12 output 0x13 (spaces inside as 0x14), output outside
// spans copied. An unclosed span is closed at the end of the path.
VXN_EXPORT char* wfst_project_io(const VXN_Wfst* fst, const VXN_WfstPath* path);

// Transduces text whole from state 0 and projects the best path; null when no
// complete path exists. The result is freed with VXN_free.
VXN_EXPORT char* wfst_transduce_wrapper(const VXN_Wfst* fst, wfst_projection_func projection,
                                        const char* text);
// Mass of a text: over every character but the last, digits count 20, letters
// (ASCII and the ISO-8859 letters 0xC0-0xFF) and white space 1, anything else
// 40; characters from "<!" up to and including the next "!>" count nothing, and
// a "!>" outside such a span resets the sum to 0 (it counts nothing itself).
VXN_EXPORT long wfst_str_mass(const char* text);
// Where a text of length len (at least 2) is cut in two: the walk from the
// middle over the offsets 0, 1, -1, -2, 2, 3, -3, -4, 4, ... up to len / 4
// first looks for a lower-case letter followed by ". " (the cut falls on the
// space, which starts the second half), then for a space (the cut falls on
// it); without either the cut is the middle. A cut between '!' and '>' moves
// one right, one between '<' and '!' one left. Always 0 < cut < len.
VXN_EXPORT size_t wfst_split_point(const char* text, size_t len);
// A text of mass VXN_WFST_MASS_LIMIT or more is cut (wfst_split_point) and
// each half transduced the same way, the outputs concatenated (null when
// either half fails); a lighter text goes through wfst_transduce_wrapper.
VXN_EXPORT char* wfst_transduce_with_input_length_control(const VXN_Wfst* fst,
                                                          wfst_projection_func projection,
                                                          const char* text);

// The transducer stored as feature "norm_wfst" in u's features, or null.
VXN_EXPORT const VXN_Wfst* wfst_utt_transducer(const cst_utterance* u);

// Chain step "preprocessing_func": with a "norm_wfst" transducer the utterance
// feature "input_text" is replaced by its input/output projection when the
// transducer gives a complete path (it is left unchanged otherwise); then the
// default preprocessing runs.
VXN_EXPORT cst_utterance* wfst_preprocessing(cst_utterance* u);

// Token expansions. Each returns a new list of words (string values, or for the
// _with_acronyms forms (word . features) pairs for words to be spelled), owned
// by the caller; null for no expansion.
// Transduces "previous current next" (each prepunctuation + name + punctuation,
// an absent neighbour as the empty text) with the output projection, drops
// every 0x14 (setting the token's "dot_interpreted" to 1) and splits the rest
// at spaces.
VXN_EXPORT cst_val* wfst_exp_token(cst_item* token);
// For a token whose name holds a span 0x11 input 0x12 output 0x13 written by
// wfst_preprocessing: the span outputs (0x14 read as space) split at spaces are
// the words, text outside spans stays as words of its own, the token's name
// becomes the name with every span replaced by its input, and
// "dot_interpreted" is set to 1 when that name ends in '.'. Null for a token
// without a complete span.
VXN_EXPORT cst_val* wfst_exp_preprocessed_token(cst_item* token);
// The same, with every word that the word test does not accept turned into a
// (lower-cased word . features) pair with "acronym" = "1" and
// "acronym_original_form" = the word as written.
VXN_EXPORT cst_val* wfst_exp_token_with_acronyms(cst_item* token);
VXN_EXPORT cst_val* wfst_exp_preprocessed_token_with_acronyms(cst_item* token);

// The word test used by the _with_acronyms forms: the voice feature
// "aswd_func" when it holds a value of the value type "aswdfunc" (registered
// by the normalisation utilities; resolved at link time, absent without them),
// else a word is one that contains a vowel of the voice feature "vowel_string"
// (default "aeiou") after lower-casing.
typedef int (*wfst_aswd_func)(const cst_item* token, const char* s);
VXN_EXPORT int wfst_is_word(cst_item* token, const char* s);

}  // extern "C"

#endif
