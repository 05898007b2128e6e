// The voice trainer: from a loaded corpus to an in-memory voice, stage by
// stage (analysis, contexts and questions, monophone initialisation,
// embedded re-estimation, context statistics, decision-tree clustering per
// stream and state, re-estimation of the tied models, duration models and
// trees, global-variance statistics), and the measurement of a voice on
// utterances it never saw. One call per voice; it starts up to `jobs`
// threads of its own and joins them before returning.
#ifndef VXN_TRAIN_TRAINER_H
#define VXN_TRAIN_TRAINER_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_voice_model.h"
#include "tools/voicebuild/analysis/VXN_spectrum.h"
#include "tools/voicebuild/train/VXN_context.h"
#include "tools/voicebuild/train/VXN_corpus.h"

namespace vxn {
namespace train {

struct TrainOptions {
  int jobs = 2;
  int held_out_every = 20;      // every n-th utterance is held out (0: none)
  int mono_iterations = 4;      // embedded re-estimation of the monophones
  int tied_iterations = 2;      // re-estimation of the clustered models
  double mdl_factor = 1.0;
  int margin_frames = 20;       // band around a timed label's frames
  std::string cache_dir;        // analysis cache (empty: none)
  PhoneClasses classes;
  analysis::AnalysisOptions analysis;
  // Largest |b1| of the vocoder's MLSA filter the spectra may ask for
  // (analysis::limit_tilt); 0: no limit.
  double tilt_limit = 4.3;
  // Progress of long stages: (stage, done, total).
  std::function<void(const std::string&, std::size_t, std::size_t)> progress;
};

struct StageReport {
  std::string name;
  double seconds = 0.0;
  double log_likelihood = 0.0;  // per frame, 0 when the stage has none
  std::string notes;
};

struct TreeReport {
  std::string name;  // e.g. "mel-cepstrum state 2"
  int leaves = 0;
  double gain_per_frame = 0.0;  // log-likelihood gain of the tree per frame
};

struct Measures {
  int utterances = 0;
  long frames = 0;          // speech frames measured (pauses left out)
  double mcd_db = 0.0;      // coefficients 1..34
  double lf0_rmse = 0.0;    // natural log, frames voiced in both
  double lf0_rmse_cents = 0.0;
  double vuv_error = 0.0;   // share of frames whose voicing differs
};

struct TrainReport {
  std::vector<StageReport> stages;
  std::vector<TreeReport> trees;
  int train_utterances = 0, held_out_utterances = 0, skipped_utterances = 0;
  long train_frames = 0;
  int contexts = 0, questions = 0, monophones = 0;
};

// One utterance of a measurement: its labels and its analysed features.
struct MeasureUtterance {
  std::string id;
  std::vector<TimedLabel> labels;
  analysis::Features features;
  // Reference parameters to compare with instead of the features (optional,
  // same frames): mel-cepstrum rows of 35 and log F0 (kUnvoiced where
  // unvoiced).
  std::vector<float> reference_mcep, reference_lf0;
  // Frames of every state (labels x 5, summing to the frames), when the
  // durations are given rather than found by alignment.
  std::vector<int> state_durations;
};

// Trains a voice; held-out utterances are returned in *held_out (analysed),
// never used for training. False with a message on any failure.
bool train_voice(const std::vector<CorpusUtterance>& corpus, const TrainOptions& options,
                 voice::Voice* out, TrainReport* report, std::vector<MeasureUtterance>* held_out,
                 std::string* error);

// Synthesises each utterance's parameters from a voice (the labels looked
// up through its question patterns, the given state durations or those of a
// Viterbi alignment of the utterance's own frames within margin_frames of its
// label timing, maximum-likelihood generation) and compares them with the
// utterance's features (or its reference parameters when given).
bool measure_voice(const voice::Voice& voice, const std::vector<MeasureUtterance>& utterances,
                   int margin_frames, bool against_reference, Measures* out, std::string* error);

// Reads or computes (and caches) one recording's features, then limits the
// spectral tilt to tilt_limit (not cached); *limited receives the frames
// changed when given.
bool utterance_features(const CorpusUtterance& u, const analysis::AnalysisOptions& options,
                        const std::string& cache_dir, double tilt_limit, analysis::Features* out,
                        int* limited, std::string* error);

}  // namespace train
}  // namespace vxn

#endif
