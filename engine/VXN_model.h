// The loaded voice: model set, streams, models, windows, decision trees,
// questions and patterns, with the lookups that turn a label into state
// durations and output distributions.
// Owns: the model set owns its streams; a stream its models and window; a model
// its trees, questions, pdf tables, code bytes and codebooks. Filled once by the
// package reader (VXN_code), read-only during synthesis, released by
// VXN_ModelSet_clear. Not thread-safe.
#ifndef VXN_MODEL_H
#define VXN_MODEL_H

#include <stdint.h>
#include <stdio.h>

#include "engine/VXN_misc.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _VXN_Pattern {
  char* string;                  // one pattern (borrowed from the packet block of the model)
  struct _VXN_Pattern* next;
  // Filled when the model set numbers its questions (0 until then): how the
  // pattern is tested (VXN_PATTERN_*) and the length or literal count it needs.
  int32_t kind;
  int32_t length;
} VXN_Pattern;

// Pattern kinds; each gives the answer VXN_pattern_match gives.
enum {
  VXN_PATTERN_UNKNOWN = 0,       // not examined: VXN_pattern_match
  VXN_PATTERN_ANY = 1,           // only stars: every label
  VXN_PATTERN_SUBSTRING = 2,     // '*text*': text (length bytes after the star) occurs in the label
  VXN_PATTERN_GENERAL = 3        // VXN_dp_match with length literals
};

typedef struct _VXN_Question {
  char* string;                  // question name
  VXN_Pattern* head;             // first pattern
  struct _VXN_Question* next;
  int32_t slot;                  // answer slot in the model set's memo; 0: none
} VXN_Question;

// Answers of the loaded questions for the label last looked up. The trees of
// every state and stream of a label ask largely the same questions, so each is
// answered once per label. The first lookup of a model set numbers its
// questions: questions of the same name and patterns share a slot across
// models. Questions without a slot (loaded later, built by hand) are matched
// every time.
typedef struct _VXN_QuestionMemo {
  char* label;                   // the label the answers belong to
  size_t length;                 // its length
  size_t capacity;               // bytes allocated for label (and entries of next)
  int32_t first[256];            // per byte value: its first position in the label, or -1
  int32_t* next;                 // per position: the next position of the same byte, or -1
  unsigned char* answer;         // per slot: 0 not asked yet, 1 no, 2 yes
  int32_t nslot;                 // slots 1..nslot-1 are in use
  int32_t numbered;              // 1 once the questions have slots, -1 when that failed
} VXN_QuestionMemo;

typedef struct _VXN_Node {
  int32_t index;                 // node id; 0 for leaves
  int32_t pdf;                   // 1-based leaf number; 0 for internal nodes
  struct _VXN_Node* yes;
  struct _VXN_Node* no;
  struct _VXN_Node* next;        // chain through every node of the tree
  VXN_Question* quest;           // question asked here
} VXN_Node;

typedef struct _VXN_Tree {
  VXN_Pattern* head;             // selection patterns
  struct _VXN_Tree* next;
  VXN_Node* root;
  int32_t state;                 // state number served (2 = first emitting state)
} VXN_Tree;

typedef struct _VXN_Window {
  int32_t size;                  // number of windows
  int32_t* l_width;              // per window, <= 0
  int32_t* r_width;              // per window
  float** coefficient;           // per window, addressed from l_width..r_width
  int32_t max_width;
} VXN_Window;

typedef struct _VXN_Model {
  int32_t vector_length;         // V
  int32_t ntree;                 // T
  int32_t* npdf;                 // per tree, addressed by pdf-set number 2..T+1
  unsigned char*** pdf;          // [pdf set][leaf 1..npdf] -> code bytes of that pdf
  VXN_Tree* tree;
  VXN_Question* question;
  double* linear;                // type 0: 2V pairs (offset, step) as offset[2V] then step[2V]
  double msd_pair[2];            // MSD weight quantiser: offset, step
  float** codebook;              // type 1: 2V pointers to K floats
  uint32_t* state_offset;        // per tree (pdf-set number): file position of its first code byte
  // Storage owned by the model.
  unsigned char* codes;          // code block
  float* codebook_block;         // 2V x K floats
  int32_t codebook_size;         // K
  void* blocks;                  // packet blocks (questions, patterns, their strings), chained
  int32_t codebook_type;         // 1 codebook, 0 linear, -1 nothing loaded
} VXN_Model;

typedef struct _VXN_Stream {
  int32_t vector_length;
  VXN_Model* model;              // nmodel models
  VXN_Window window;
  int32_t msd_flag;
  int32_t nmodel;
} VXN_Stream;

typedef struct _VXN_ModelSet {
  VXN_Stream duration;
  VXN_Stream* stream;            // nstream streams, null until a parameter section is loaded
  VXN_Stream* gv;                // nstream GV streams, null until a GV section is loaded
  int32_t nstate;                // -1 until the duration section is loaded
  int32_t nstream;
  int32_t language;              // language id of the voice
  int32_t model_select;          // voice index
  FILE* am_file;                 // kept for the on-demand lookups
  int32_t pause_mode;            // 1: pauses last at least pause_frames
  float pause_frames;
  VXN_QuestionMemo memo;         // answers for the current label (lookups only)
} VXN_ModelSet;

// Lifecycle.
// The memo for the label: numbers the set's questions when that has not been
// done and forgets the answers of another label. Null when the label is null or
// the memo cannot be used (the plain matching is then the fallback).
VXN_QuestionMemo* VXN_ModelSet_memo_for(VXN_ModelSet* ms, const char* label);
void VXN_QuestionMemo_clear(VXN_QuestionMemo* memo);
void VXN_ModelSet_initialize(VXN_ModelSet* ms, int nstream);
void VXN_ModelSet_clear(VXN_ModelSet* ms);
// Releases the loaded voice and leaves an empty set of nstream streams, keeping
// the selection fields written by the facade and the driver (language,
// model_select, pause_mode, pause_frames).
void VXN_ModelSet_clear_voice(VXN_ModelSet* ms, int nstream);

// Getters.
int VXN_ModelSet_get_nstate(const VXN_ModelSet* ms);
int VXN_ModelSet_get_nstream(const VXN_ModelSet* ms);
int VXN_ModelSet_get_vector_length(const VXN_ModelSet* ms, int stream);
int VXN_ModelSet_is_msd(const VXN_ModelSet* ms, int stream);
int VXN_ModelSet_get_window_size(const VXN_ModelSet* ms, int stream);
int VXN_ModelSet_get_window_left_width(const VXN_ModelSet* ms, int stream, int window);
int VXN_ModelSet_get_window_right_width(const VXN_ModelSet* ms, int stream, int window);
float VXN_ModelSet_get_window_coefficient(const VXN_ModelSet* ms, int stream, int window, int j);
int VXN_ModelSet_get_window_max_width(const VXN_ModelSet* ms, int stream);
int VXN_ModelSet_get_duration_interpolation_size(const VXN_ModelSet* ms);
int VXN_ModelSet_get_parameter_interpolation_size(const VXN_ModelSet* ms, int stream);
int VXN_ModelSet_get_gv_interpolation_size(const VXN_ModelSet* ms, int stream);
int VXN_ModelSet_use_gv(const VXN_ModelSet* ms, int stream);

// Lookups. Duration arrays are addressed by state number 2..nstate+1;
// parameter and GV arrays by dimension.
void VXN_ModelSet_get_duration(VXN_ModelSet* ms, const char* label, float* mean, float* vari);
int VXN_ModelSet_get_parameter(VXN_ModelSet* ms, const char* label, float* mean, float* vari,
                               float* msd, int stream, int state);
void VXN_ModelSet_get_gv(VXN_ModelSet* ms, float* mean, float* vari, int stream,
                         const float* weights);

// Lookups for the alternative body layouts (not produced by the loader):
// codes read from am_file at the model's state offsets (_fp), or one byte per
// dimension with a 4-bit mean and a 4-bit variance code (_16). Durations get
// the pause rule only, parameters the voicing rule only.
void VXN_ModelSet_get_duration_fp(VXN_ModelSet* ms, const char* label, float* mean, float* vari);
void VXN_ModelSet_get_duration_16(VXN_ModelSet* ms, const char* label, float* mean, float* vari);
int VXN_ModelSet_get_parameter_fp(VXN_ModelSet* ms, const char* label, float* mean, float* vari,
                                  float* msd, int stream, int state);
int VXN_ModelSet_get_parameter_16(VXN_ModelSet* ms, const char* label, float* mean, float* vari,
                                  float* msd, int stream, int state);

// Pattern matching and trees.
int VXN_pattern_match(const char* label, const char* pattern);
int VXN_dp_match(const char* s, const char* p, int pos, int max);
int VXN_Question_match(const VXN_Question* q, const char* label);
// Leaf number reached for the label, or -1 (reported as error 4050).
int VXN_Tree_search_node(const VXN_Tree* tree, const char* label);
// The same leaf, answering questions from the memo of the label (a memo for
// this label from VXN_ModelSet_memo_for, or null for plain matching).
int VXN_Tree_search_node_memo(const VXN_Tree* tree, const char* label, VXN_QuestionMemo* memo);
// Tree selection: the tree of the model that serves the label in the given
// state (state < 0: duration stream, every tree is a candidate); *pdf_set
// receives its pdf-set number. Null when no tree is taken.
const VXN_Tree* VXN_Model_select_tree(const VXN_Model* model, const char* label, int state,
                                      int* pdf_set);
// Code bytes of the pdf that the model's tree selects for the label and state,
// or null (reported) when the model cannot answer.
const unsigned char* VXN_Model_find_pdf(const VXN_Model* model, const char* label, int state);
// The same with the questions answered from the memo of the label (or null).
const unsigned char* VXN_Model_find_pdf_memo(const VXN_Model* model, const char* label, int state,
                                             VXN_QuestionMemo* memo);

// Release functions. Questions, patterns and their strings live in the packet
// blocks of their model and nodes in their tree's node block: clearing them
// unlinks, VXN_Tree_clear frees a tree with its nodes, and VXN_Model_clear
// frees everything a model owns.
void VXN_Question_clear(VXN_Question* q);
void VXN_Node_clear(VXN_Node* node);
void VXN_Tree_clear(VXN_Tree* tree);
void VXN_Model_clear(VXN_Model* model);
void VXN_Stream_clear(VXN_Stream* stream);

// Phoneme classes: 1 when the field of the label belongs to the class.
int VXN_Check_pause(const char* label);
int VXN_Check_break(const char* label);
int VXN_Check_English_pSound(const char* label);
int VXN_Check_koreanNumber_i(const char* label);
int VXN_Check_koreanNumber_ii(const char* label);
int VXN_Check_KoreanFinal(const char* label);
int VXN_Check_Vowel(const char* label);
int VXN_Check_VocalSound(const char* label);
int VXN_Check_English_Vowel(const char* label);
int VXN_Check_English_VocalSound(const char* label);
int VXN_Check_UKEnglish_Vowel(const char* label);
int VXN_Check_UKEnglish_VocalSound(const char* label);
int VXN_Check_AUEnglish_Vowel(const char* label);
int VXN_Check_AUEnglish_VocalSound(const char* label);
int VXN_Check_German_Vowel(const char* label);
int VXN_Check_German_VocalSound(const char* label);
int VXN_Check_Spanish_Vowel(const char* label);
int VXN_Check_Spanish_VocalSound(const char* label);
int VXN_Check_French_Vowel(const char* label);
int VXN_Check_French_VocalSound(const char* label);
int VXN_Check_Italian_Vowel(const char* label);
int VXN_Check_Italian_VocalSound(const char* label);
int VXN_Check_Danish_Vowel(const char* label);
int VXN_Check_Danish_VocalSound(const char* label);
int VXN_Check_Norwegian_Vowel(const char* label);
int VXN_Check_Norwegian_VocalSound(const char* label);
int VXN_Check_Polish_Vowel(const char* label);
int VXN_Check_Polish_VocalSound(const char* label);
int VXN_Check_Russian_Vowel(const char* label);
int VXN_Check_Russian_VocalSound(const char* label);
int VXN_Check_Finnish_Vowel(const char* label);
int VXN_Check_Finnish_VocalSound(const char* label);
int VXN_Check_PTPortuguese_Vowel(const char* label);
int VXN_Check_PTPortuguese_VocalSound(const char* label);
int VXN_Check_BRPortuguese_Vowel(const char* label);
int VXN_Check_BRPortuguese_VocalSound(const char* label);
int VXN_Check_Swedish_Vowel(const char* label);
int VXN_Check_Swedish_VocalSound(const char* label);
int VXN_Check_Dutch_Vowel(const char* label);
int VXN_Check_Dutch_VocalSound(const char* label);

#ifdef __cplusplus
}
#endif

#endif
