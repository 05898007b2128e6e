// Timing labels from another system's segmentation of the same speech: the
// phones of our labels are aligned to a list of timed segments (as printed by
// flite -psdur: "name:end" items, end times in seconds) by an edit-distance
// alignment, and each label takes the times of its segment. Pure functions
// over caller-owned values.
#ifndef VXN_SEGMENT_ALIGN_H
#define VXN_SEGMENT_ALIGN_H

#include <string>
#include <vector>

namespace vxn {
namespace voice {

struct TimedSegment {
  std::string phone;
  double end = 0.0;  // seconds; a segment starts where the one before it ends
};

// Parses "name:end" items separated by blanks or newlines. False with the
// offending item in *error (end times must not decrease).
bool parse_segments(const std::string& text, const std::string& name,
                    std::vector<TimedSegment>* out, std::string* error);

struct SegmentAlignment {
  std::vector<double> start, end;  // per phone of ours, seconds
  int substitutions = 0;           // phones timed by a segment of another name
  int pauses_added = 0;            // our pauses without a segment: zero length
  int pauses_dropped = 0;          // their pauses without a phone of ours: left out
};

// Aligns our phones to the segments. Phones may differ (a substituted phone
// keeps the segment's times) and pauses may be missing on either side; a
// phone other than "pau" missing on either side, or more substitutions than
// max_substitutions, fails the alignment with a reason in *error.
bool align_segments(const std::vector<std::string>& phones,
                    const std::vector<TimedSegment>& segments, int max_substitutions,
                    SegmentAlignment* out, std::string* error);

}  // namespace voice
}  // namespace vxn

#endif
