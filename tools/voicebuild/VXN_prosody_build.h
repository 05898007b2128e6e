// Prosody database building from recordings: timed full-context labels and a
// per-frame log-F0 track become phone-sized units with their context, a
// five-point log-F0 contour, a mean log F0 and a slope; the builder collects
// them in recording order, quantises mean and slope into codebooks by k-means
// and shares identical contours, then yields the database for the writer.
// Plain values; nothing here is shared between threads.
#ifndef VXN_PROSODY_BUILD_H
#define VXN_PROSODY_BUILD_H

#include <array>
#include <map>
#include <string>
#include <vector>

#include "tools/voicebuild/VXN_prosody_db.h"

namespace vxn {
namespace voice {

// One label of a timed label file: times in seconds.
struct TimedLabel {
  double start = 0.0;
  double end = 0.0;
  std::string label;
};

// Parses a timed label file ("START END LABEL" per line, times in units of
// 100 ns); blank lines are skipped. False with file, line and the offending
// text in *error (a line without times is an error: units need their times).
bool parse_timed_labels(const std::string& text, const std::string& name,
                        std::vector<TimedLabel>* out, std::string* error);

// Frame period of the log-F0 tracks (the analysis and the engine frame).
constexpr double kProsodyFrameSeconds = 0.005;

// A unit before quantisation.
struct RawProsodyUnit {
  std::array<std::string, 5> phones;  // phone, two before, before, after, two after
  bool voiced = false;
  std::array<float, 5> contour{};     // log F0 at the five points, 0 where unvoiced
  float lf0 = 0.0f;                   // mean log F0 (unvoiced frames interpolated)
  float slope = 0.0f;                 // log-F0 change per 100 ms
};

// Units of one utterance: labels with their times against a log-F0 track
// (one value per 5 ms frame, 0 unvoiced). False with a reason when a label
// has no phone or word number, or the track has no voiced frame.
bool make_prosody_units(const std::vector<TimedLabel>& labels, const std::vector<double>& lf0,
                        std::vector<RawProsodyUnit>* units, std::string* error);

// Scalar k-means: at most k centroids (fewer when there are fewer distinct
// values), in ascending order; index[i] receives the centroid of values[i].
// Returns the root-mean-square quantisation error.
double kmeans_1d(const std::vector<float>& values, int k, std::vector<float>* centroids,
                 std::vector<int>* index);

struct ProsodyBuildReport {
  int utterances = 0;
  int units = 0;
  int voiced_units = 0;
  int contours = 0;          // distinct contour rows
  int diphone_types = 0;     // distinct (left, right) phone pairs
  double f0_rms_error = 0.0; // codebook quantisation, log F0
  double slope_rms_error = 0.0;
  std::map<std::string, int> phone_counts;
};

class ProsodyBuilder {
 public:
  // Adds the units of one utterance in recording order. False (nothing
  // added) when the contour table could not take its new contours.
  bool add(const std::vector<RawProsodyUnit>& units);
  int unit_count() const { return (int)units_.size(); }
  int contour_count() const { return (int)contour_rows_.size(); }
  // The database: phone inventory ("x", "sp", "pau" first, then the phones
  // in order of first appearance), codebooks of at most codebook_size rows.
  ProsodyDatabase finish(int codebook_size, ProsodyBuildReport* report) const;

 private:
  std::vector<RawProsodyUnit> units_;
  std::vector<int> contour_of_;                    // per unit
  std::map<std::array<float, 5>, int> contour_rows_;
};

}  // namespace voice
}  // namespace vxn

#endif
