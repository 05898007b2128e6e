#include "tools/voicebuild/VXN_segment_align.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace vxn {
namespace voice {

namespace {

const char* const kPause = "pau";
// Edit costs: a missing pause is cheap, a substitution costs one, a missing
// phone more than a substitution, a pause against a phone more than both.
const int kPauseGap = 1, kSubstitute = 2, kPhoneGap = 3, kPauseSwap = 8;

bool is_pause(const std::string& p) { return p == kPause; }

}  // namespace

bool parse_segments(const std::string& text, const std::string& name,
                    std::vector<TimedSegment>* out, std::string* error) {
  out->clear();
  std::istringstream in(text);
  std::string item;
  double last = 0.0;
  while (in >> item) {
    const size_t colon = item.rfind(':');
    char* end = nullptr;
    const double t = colon == std::string::npos ? -1.0 : std::strtod(item.c_str() + colon + 1, &end);
    if (colon == 0 || colon == std::string::npos || *end || !std::isfinite(t) || t < last) {
      *error = "parse_segments: " + name + ": bad segment '" + item.substr(0, 40) +
               "' (expected NAME:END with END not below " + std::to_string(last) + ")";
      return false;
    }
    out->push_back({item.substr(0, colon), t});
    last = t;
  }
  return true;
}

bool align_segments(const std::vector<std::string>& phones,
                    const std::vector<TimedSegment>& segments, int max_substitutions,
                    SegmentAlignment* out, std::string* error) {
  const size_t n = phones.size(), m = segments.size();
  // cost[i][j]: best alignment of our first i phones with their first j.
  std::vector<std::vector<int>> cost(n + 1, std::vector<int>(m + 1, 0));
  auto gap = [](const std::string& p) { return is_pause(p) ? kPauseGap : kPhoneGap; };
  auto pair = [](const std::string& a, const std::string& b) {
    if (a == b) return 0;
    return is_pause(a) != is_pause(b) ? kPauseSwap : kSubstitute;
  };
  for (size_t i = 1; i <= n; i++) cost[i][0] = cost[i - 1][0] + gap(phones[i - 1]);
  for (size_t j = 1; j <= m; j++) cost[0][j] = cost[0][j - 1] + gap(segments[j - 1].phone);
  for (size_t i = 1; i <= n; i++)
    for (size_t j = 1; j <= m; j++)
      cost[i][j] = std::min({cost[i - 1][j - 1] + pair(phones[i - 1], segments[j - 1].phone),
                             cost[i - 1][j] + gap(phones[i - 1]),
                             cost[i][j - 1] + gap(segments[j - 1].phone)});
  SegmentAlignment a;
  a.start.assign(n, 0.0);
  a.end.assign(n, 0.0);
  size_t i = n, j = m;
  while (i > 0 || j > 0) {
    const std::string* ours = i > 0 ? &phones[i - 1] : nullptr;
    const TimedSegment* theirs = j > 0 ? &segments[j - 1] : nullptr;
    const double seg_start = j > 1 ? segments[j - 2].end : 0.0;
    if (ours && theirs && cost[i][j] == cost[i - 1][j - 1] + pair(*ours, theirs->phone)) {
      if (*ours != theirs->phone) {
        if (is_pause(*ours) != is_pause(theirs->phone)) {
          *error = "align_segments: pause against phone '" +
                   (is_pause(*ours) ? theirs->phone : *ours) + "' at phone " + std::to_string(i - 1);
          return false;
        }
        a.substitutions++;
      }
      a.start[i - 1] = seg_start;
      a.end[i - 1] = theirs->end;
      i--;
      j--;
    } else if (ours && cost[i][j] == cost[i - 1][j] + gap(*ours)) {
      if (!is_pause(*ours)) {
        *error = "align_segments: phone '" + *ours + "' (" + std::to_string(i - 1) +
                 ") has no segment";
        return false;
      }
      // Our pause where they have none: no time of its own.
      a.start[i - 1] = a.end[i - 1] = j > 0 ? segments[j - 1].end : 0.0;
      a.pauses_added++;
      i--;
    } else {
      if (!is_pause(theirs->phone)) {
        *error = "align_segments: segment '" + theirs->phone + "' (" + std::to_string(j - 1) +
                 ") has no phone of ours";
        return false;
      }
      a.pauses_dropped++;
      j--;
    }
  }
  if (a.substitutions > max_substitutions) {
    *error = "align_segments: " + std::to_string(a.substitutions) + " phones differ, more than " +
             std::to_string(max_substitutions);
    return false;
  }
  *out = a;
  return true;
}

}  // namespace voice
}  // namespace vxn
