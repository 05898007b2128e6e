// Hybrid unit selection: the unit-selection context (hybrid flag,
// pitch-range parameters, the prosody database with its diphone index, and
// the per-sentence targets, lattice, best path and frame log-F0 target).
// Every engine record holds its own context, which owns every table it
// points to: the database lives from VXN_VT_initialize to VXN_VT_clear, the
// per-sentence part from the prosody step to Hybrid_close. A context is used
// by one thread at a time; different contexts share nothing.
#ifndef VXN_VSEARCH_H
#define VXN_VSEARCH_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct _VXN_SStreamSet;
struct _VXN_Label;

enum {
  VXN_VT_NAME_SIZE = 5,        // phone name buffer: at most 4 characters
  VXN_VT_RECORD_BYTES = 9,     // unit record on disk
  VXN_VT_CONTOUR_POINTS = 5,   // points of a unit's log-F0 contour
  VXN_VT_SET_SLOPE = 0,        // contour set holding the slope codebook
  VXN_VT_SET_F0 = 1,           // the F0 codebook
  VXN_VT_SET_CONTOUR = 2,      // the five-point contours
  VXN_VT_VOICED_MARK = 0x80    // top bit of a unit's byte 4
};

// One unit of the database: byte 0 phone, 1 phone two before, 2 phone before,
// 3 phone after, 4 phone two after (bits 0-6) and voiced mark (bit 7),
// 5 slope codebook row, 6 F0 codebook row; then the contour row.
typedef struct _VXN_VTUnit {
  uint8_t b[7];
  uint16_t contour;
} VXN_VTUnit;

// One codebook or contour table: rows x columns floats, row by row.
typedef struct _VXN_VTContourSet {
  int32_t rows;
  int32_t columns;
  float* values;
} VXN_VTContourSet;

// Diphone entry: two consecutive units of the database. An empty entry
// (left = right = -1, next null) ends every chain.
typedef struct _VXN_VTDiphone {
  int32_t left;
  int32_t right;
  struct _VXN_VTDiphone* next;
} VXN_VTDiphone;

// Target for the diphone between labels k and k+1 (inventory indices, -1 when
// absent).
typedef struct _VXN_VTTarget {
  int32_t left;
  int32_t left_prev2;          // phone two before the left phone
  int32_t left_prev;           // phone before the left phone
  int32_t right;
  int32_t right_next2;         // phone two after the right phone
  int32_t right_next;          // phone after the right phone
  int32_t left_voiced;         // 1 when label k is voiced
  int32_t right_voiced;
} VXN_VTTarget;

typedef struct _VXN_VTCandidate {
  float target_cost;
  int32_t index;
  struct _VXN_VTCandidate* next;
  const VXN_VTDiphone* diphone;
} VXN_VTCandidate;

typedef struct _VXN_VTPath {
  float cost;                  // accumulated cost
  int32_t index;
  VXN_VTCandidate* candidate;
  struct _VXN_VTPath* back;    // best predecessor in the previous column
  struct _VXN_VTPath* forward;
  int32_t pruned;
} VXN_VTPath;

// One lattice column per diphone of the sentence.
typedef struct _VXN_VTColumn {
  int32_t path_count;
  VXN_VTCandidate* candidates; // list; one block, freed through its head
  VXN_VTPath* paths;
  struct _VXN_VTColumn* next;
  struct _VXN_VTColumn* prev;
  VXN_VTTarget* target;
  int32_t active;              // paths not pruned
} VXN_VTColumn;

typedef struct _VXN_VTContext {
  char (*phone_names)[VXN_VT_NAME_SIZE];
  int32_t phone_count;         // P
  int32_t unit_count;          // A
  VXN_VTDiphone* diphones;     // P x P chain heads, then the chain entries
  int32_t* diphone_counts;     // P x P entries per (left, right)
  VXN_VTTarget* targets;       // per sentence
  int32_t target_count;        // D = labels - 1
  VXN_VTColumn* lattice;       // first column
  VXN_VTPath* best_path;       // D records
  float* lf0_target;           // frame log-F0 target, or null
  int32_t lf0_target_count;
  VXN_VTContourSet* sets;
  int32_t set_count;           // S
  VXN_VTUnit* units;
  int32_t hybrid;              // 1 in hybrid mode
  float range;                 // pitch range R (Hz)
  float expansion;             // E (Hz)
  float floor_hz;              // F (Hz)
} VXN_VTContext;

// 1 when vt is not null and in hybrid mode.
int VXN_VT_is_hybrid(const VXN_VTContext* vt);
// Switches hybrid mode; set by the database loader once a database is in place.
void VXN_VT_set_hybrid(VXN_VTContext* vt, int flag);

// ---------------------------------------------------------------------------
// Database (file layout in docs/prosody-database.md).

// Loads a database file into vt (which must hold none). Every count, index
// and table shape is checked; a bad file is refused with "error [1040]" and
// the name of the offending field and value, and leaves vt without a
// database. Returns 1 on success, 0 on refusal.
int Hybrid_LoadingPD(VXN_VTContext* vt, const char* path);
// The same on a file image in memory (the fuzz target's entry).
int Hybrid_LoadingPD_from_memory(VXN_VTContext* vt, const uint8_t* data, size_t size,
                                 const char* name);
// Builds the diphone index over the loaded units. Returns 0 when it cannot be
// allocated.
int Hybrid_DiphoneDB(VXN_VTContext* vt);
// Frees the database part of vt and the per-sentence part; keeps the hybrid
// flag and the pitch-range parameters.
void Hybrid_FreeDB(VXN_VTContext* vt);

// ---------------------------------------------------------------------------
// Search.

// Phone name (at most 4 characters, into a zeroed 5-byte buffer) and word
// number (e3) of a full-context label; a word number that is not a number
// reads as 0. Returns 0 when either part is missing.
int VXN_Get_Phoneme_Word(const char* label, char* name, int* word);
int PhonemeToIndex(char (*names)[VXN_VT_NAME_SIZE], int count, const char* name);
// Phone context of a sentence of count labels: "x" three times, the labels'
// phones with "sp" before every label whose word number changes to 2 or more
// (a later word of its phrase), "x" three times. seq needs room for
// 2 x count + 6 names; *length receives the entries used and pos[i] the
// position of label i. Returns 0 (with the index of the label in *length)
// when a label has no phone or word number.
int VXN_VT_phone_context(const char* const* labels, int count, char (*seq)[VXN_VT_NAME_SIZE],
                         int* length, int* pos);

float GetTargetCost(const VXN_VTContext* vt, const VXN_VTTarget* target,
                    const VXN_VTDiphone* entry);
float CalcF0Distance(float a, float b);
float CalcSlopeDistance(float a, float b);
float GetF0Coef(const VXN_VTContext* vt, int unit);
float GetSlopeCoef(const VXN_VTContext* vt, int unit);
// Five-point contour of a unit (points into its contour row).
const float* GetParameterSequence(const VXN_VTContext* vt, int unit);
float GetJoinCost(const VXN_VTContext* vt, const VXN_VTPath* prev, const VXN_VTPath* path);

// Creates target_count empty columns, column k pointing at target k.
int Hybrid_VTInitialise(VXN_VTContext* vt);
// Candidate list of one column, with its paths; returns the candidate count.
int GetCandidate(VXN_VTContext* vt, VXN_VTTarget* target, VXN_VTColumn* column);
// Fills the lattice; 1, or 0 when some diphone has no candidate.
int Hybrid_VTSearch(VXN_VTContext* vt);
// Fills the best path; 0 when no path of the last column costs below 32767.
int FindBestPath(VXN_VTContext* vt);

// Linear interpolation of n_points contour points over n_frames frames.
void DoLinearScalingLf0(const float* points, float* out, int n_points, int n_frames);

// Hybrid prosody step of the state stream set, run after the durations are
// final: unit search over the sentence and the frame log-F0 target of vt.
// Leaves the target absent when the search finds no path (generation then
// keeps the model's log F0).
void VXN_VT_prosody_step(VXN_VTContext* vt, struct _VXN_SStreamSet* sss,
                         struct _VXN_Label* label);

// Frame log-F0 target of the current sentence (one value per frame of the
// utterance), or null when there is none; *count receives its length.
const float* VXN_VT_get_lf0_target(const VXN_VTContext* vt, int* count);
// Replaces the frame target with a copy of count values (null clears it).
// Returns 0 when the copy cannot be allocated.
int VXN_VT_set_lf0_target(VXN_VTContext* vt, const float* values, int count);
// Releases the per-sentence search state (targets, lattice, best path, frame
// target); run after generation.
void Hybrid_close(VXN_VTContext* vt);

// Pitch-range parameters of the hybrid range adjustment, in Hz: range R,
// expansion E, floor F. 0 when the context is created; keep the values last
// set.
void VXN_VT_get_pitch_range(const VXN_VTContext* vt, float* range, float* expansion,
                            float* floor_hz);
void VXN_VT_set_pitch_range(VXN_VTContext* vt, float range, float expansion, float floor_hz);

#ifdef __cplusplus
}
#endif

#endif
