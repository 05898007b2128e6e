// Model package reader: loads the four files of a voice (.qt question names,
// .pt patterns, .am acoustic model, .dt decision trees) into the engine's
// model set. One reader lives for the duration of one initialisation; it owns
// the two descrambled string tables until the parameter files are loaded.
// Not thread-safe; a package is accepted whole or not at all.
//
// Content errors (level 2), beyond 3010, 3020 and 3030:
//   3040 string table (.qt/.pt) malformed: size, entry count, entry length
//   3050 section header: missing marker, unknown kind or stream, .am/.dt mismatch
//   3060 section order: duplicate, missing or misplaced sections
//   3070 packet framing: length, packet type, begin or end code
//   3080 question record: index outside its table, counts beyond Nq/Np
//   3090 tree record: node id, unknown or repeated node, R, question, flags
//   3100 leaf number outside its tree's pdf count
//   3110 model body: codebook type or size, code outside its codebook
//   3120 file ends inside a section
//   3130 parameter trees do not cover every emitting state
//   3140 interpolation count or engine weight arrays unusable
#ifndef VXN_CODE_H
#define VXN_CODE_H

#include <stdint.h>
#include <stdio.h>

#include "engine/VXN_engine.h"

// Question by index: one entry per entry of the .qt table.
typedef VXN_Question* VXN_CODE_QUESTION;

class CVxnCode {
 public:
  CVxnCode();
  ~CVxnCode();
  CVxnCode(const CVxnCode&) = delete;
  CVxnCode& operator=(const CVxnCode&) = delete;

  // Both return 1 when the files were read and accepted, 0 otherwise (the
  // reason has been printed). On 0 the model set holds nothing.
  int VXN_Code_load_question_from_fn(char* qt_path, char* pt_path);
  int VXN_Code_load_parameter_from_fn(VXN_Engine* engine, char* am_path, char* dt_path, int n);
  // The same on open streams (which stay open); the model set keeps no am_file.
  int VXN_Code_load_question_from_fp(FILE* qt, FILE* pt);
  int VXN_Code_load_parameter_from_fp(VXN_Engine* engine, FILE* am, FILE* dt, int n);
  // After a rejected package: the extension of the file in which the first
  // problem was found (".qt", ".pt", ".am" or ".dt"), or null when the files
  // could not be opened or nothing was rejected.
  const char* VXN_Code_damaged_file() const { return damaged_file_; }

  // Code value of 4 bytes: the OR of bytes 1 and 3. GetCode returns
  // VXN_CODE_EOF when no byte is left and VXN_CODE_SHORT on a partial word.
  enum : unsigned int { VXN_CODE_EOF = 0x10000u, VXN_CODE_SHORT = 0x20000u };
  static unsigned int VXN_Code_GetCode(FILE* fp);
  static unsigned int VXN_Code_memory_swap(unsigned int word);

  // Section loaders.
  int VXN_Code_Engine_load_duration(VXN_Engine* engine, FILE* dt, FILE* am, int S, int n);
  int VXN_Code_Engine_load_parameter(VXN_Engine* engine, FILE* dt, FILE* am, int S, int stream,
                                     int n);
  int VXN_Code_Engine_load_gv(VXN_Engine* engine, FILE* am, int stream, int n);
  int VXN_Code_Stream_load(VXN_Stream* stream, FILE* dt, FILE* am, int S, int n, int msd,
                           int nstate);
  int VXN_Code_Stream_load_pdf(VXN_Stream* stream, FILE* am, int n);
  int VXN_Code_Stream_load_window(VXN_Stream* stream);
  static int VXN_Code_Window_load(VXN_Window* window, const float table[][4], int count);

  // Packet and body readers.
  int VXN_Code_load_tree(VXN_Model* model, FILE* fp, int S);
  int VXN_Code_PacketAnalysisString_index(VXN_Model* model, FILE* fp, int L,
                                          VXN_CODE_QUESTION* table);
  int VXN_Code_PacketAnalysisState_index(VXN_Model* model, FILE* fp, int L,
                                         VXN_CODE_QUESTION* table);
  static int VXN_Code_Tree_parse_pattern(VXN_Tree* tree);
  // type: the codebook type the section must use (1 codebook, 0 linear).
  int VXN_Code_load_pdf(VXN_Model* model, FILE* fp, int T, int msd, int type);
  // Alternative layouts, not used by the loading path: codes left in the file
  // (state offsets recorded; looked up through the model set's am_file), and
  // one byte per dimension holding a 4-bit mean and a 4-bit variance code.
  int VXN_Code_load_pdf_fp(VXN_Model* model, FILE* fp, int T, int msd);
  int VXN_Code_load_pdf_16(VXN_Model* model, FILE* fp, int T, int msd);

  static void VXN_Code_initialize(VXN_Model* model);
  static void VXN_Code_Stream_initialize(VXN_Stream* stream);
  static void VXN_Code_Window_initialize(VXN_Window* window);

 private:
  int load_body(VXN_Model* model, FILE* fp, int T, int msd, int type, int layout);
  int load_table(FILE* fp, const char* what, int extra, char** slots, uint16_t* count,
                 uint16_t* width);
  int read_exact(FILE* fp, void* buf, long size, const char* what);
  long remaining(FILE* fp);
  int check_leaves(const VXN_Model* model);
  void release_tables();
  int reject(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Names the file the reader is in: a rejection is charged to it.
  void reading(const char* part) { reading_ = part; }

  VXN_Tree* last_tree_;
  VXN_Question* last_question_;
  char* pattern_table_;
  char* question_table_;
  uint16_t question_count_;
  uint16_t pattern_count_;
  uint16_t question_width_;
  uint16_t pattern_width_;
  int tables_loaded_;
  int failed_;
  const char* reading_;
  const char* damaged_file_;
  // Scratch for tree packets: node by -id, ids named so far, and the largest
  // leaf of each tree of the model being read (checked against its pdf counts).
  VXN_Node** node_ids_;
  unsigned char* node_used_;
  int32_t* tree_max_leaf_;
  int tree_max_cap_;
};

#endif
