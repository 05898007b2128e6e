#include "tools/voicebuild/VXN_prosody_build.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <sstream>

#include "engine/VXN_vsearch.h"

namespace vxn {
namespace voice {

namespace {

// Timed label files count in units of 100 ns.
constexpr double kLabelTimeUnit = 1e-7;

// Unvoiced frames take the log F0 interpolated between their voiced
// neighbours (held at the ends): the pitch level the speaker carries
// through a consonant.
std::vector<double> interpolate(const std::vector<double>& lf0) {
  std::vector<double> out = lf0;
  int last = -1;
  for (int t = 0; t < (int)out.size(); t++) {
    if (lf0[(size_t)t] <= 0.0) continue;
    if (last < 0) {
      for (int u = 0; u < t; u++) out[(size_t)u] = lf0[(size_t)t];
    } else {
      for (int u = last + 1; u < t; u++)
        out[(size_t)u] = lf0[(size_t)last] +
                         (lf0[(size_t)t] - lf0[(size_t)last]) * (u - last) / (double)(t - last);
    }
    last = t;
  }
  if (last >= 0)
    for (size_t u = (size_t)last + 1; u < out.size(); u++) out[u] = lf0[(size_t)last];
  return out;
}

int frame_of(double seconds) { return (int)std::lround(seconds / kProsodyFrameSeconds); }

}  // namespace

bool parse_timed_labels(const std::string& text, const std::string& name,
                        std::vector<TimedLabel>* out, std::string* error) {
  out->clear();
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); number++) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    std::istringstream fields(line);
    std::string start, end, label, extra;
    fields >> start >> end >> label;
    char* e1 = nullptr;
    char* e2 = nullptr;
    const double s = std::strtod(start.c_str(), &e1);
    const double t = std::strtod(end.c_str(), &e2);
    if (label.empty() || start.empty() || *e1 || *e2 || !std::isfinite(s) || !std::isfinite(t) ||
        s < 0 || t < s || (fields >> extra)) {
      *error = "parse_timed_labels: " + name + " line " + std::to_string(number) +
               ": expected 'START END LABEL' with 0 <= START <= END, got '" + line.substr(0, 80) +
               "'";
      return false;
    }
    out->push_back({s * kLabelTimeUnit, t * kLabelTimeUnit, label});
  }
  return true;
}

bool make_prosody_units(const std::vector<TimedLabel>& labels, const std::vector<double>& lf0,
                        std::vector<RawProsodyUnit>* units, std::string* error) {
  units->clear();
  const int L = (int)labels.size();
  if (L == 0) return true;
  bool any_voiced = false;
  for (double v : lf0) any_voiced |= v > 0.0;
  if (!any_voiced) {
    *error = "make_prosody_units: the F0 track has no voiced frame";
    return false;
  }
  std::vector<const char*> strings((size_t)L);
  for (int i = 0; i < L; i++) strings[(size_t)i] = labels[(size_t)i].label.c_str();
  std::vector<char> buffer((size_t)(2 * L + 6) * VXN_VT_NAME_SIZE);
  char(*seq)[VXN_VT_NAME_SIZE] = (char(*)[VXN_VT_NAME_SIZE])buffer.data();
  std::vector<int> pos((size_t)L);
  int length = 0;
  if (!VXN_VT_phone_context(strings.data(), L, seq, &length, pos.data())) {
    *error = "make_prosody_units: label " + std::to_string(length) +
             " has no phone or word number: '" + labels[(size_t)length].label.substr(0, 80) + "'";
    return false;
  }
  const std::vector<double> filled = interpolate(lf0);
  const int T = (int)lf0.size();
  for (int i = 0; i < L; i++) {
    const int p = pos[(size_t)i];
    RawProsodyUnit u;
    u.phones = {seq[p], seq[p - 2], seq[p - 1], seq[p + 1], seq[p + 2]};
    const int f0 = std::min(frame_of(labels[(size_t)i].start), T);
    const int f1 = std::max(f0, std::min(frame_of(labels[(size_t)i].end), T));
    const int F = f1 - f0;
    int voiced = 0;
    for (int t = f0; t < f1; t++) voiced += lf0[(size_t)t] > 0.0;
    u.voiced = F > 0 && 2 * voiced > F;
    // Point j sits where the engine puts it when it spreads five points over
    // F frames: frame j * F / 5. Its value is the mean of the voiced frames
    // within one frame of it.
    for (int j = 0; j < 5 && F > 0; j++) {
      const int c = f0 + j * F / 5;
      double sum = 0.0;
      int n = 0;
      for (int t = std::max(f0, c - 1); t <= std::min(f1 - 1, c + 1); t++)
        if (lf0[(size_t)t] > 0.0) {
          sum += lf0[(size_t)t];
          n++;
        }
      u.contour[(size_t)j] = n > 0 ? (float)(sum / n) : 0.0f;
    }
    // Mean and least-squares slope of the filled track over the unit (one
    // frame at its start when it has none).
    const int a = std::min(f0, T - 1), b = std::max(a + 1, std::min(f1, T));
    double mean = 0.0, tm = 0.0;
    for (int t = a; t < b; t++) {
      mean += filled[(size_t)t];
      tm += t;
    }
    mean /= (b - a);
    tm /= (b - a);
    double sxy = 0.0, sxx = 0.0;
    for (int t = a; t < b; t++) {
      sxy += (t - tm) * (filled[(size_t)t] - mean);
      sxx += (t - tm) * (t - tm);
    }
    u.lf0 = (float)mean;
    u.slope = sxx > 0.0 ? (float)(sxy / sxx * (0.1 / kProsodyFrameSeconds)) : 0.0f;
    units->push_back(u);
  }
  return true;
}

double kmeans_1d(const std::vector<float>& values, int k, std::vector<float>* centroids,
                 std::vector<int>* index) {
  centroids->clear();
  index->assign(values.size(), 0);
  if (values.empty() || k <= 0) return 0.0;
  std::vector<float> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  std::vector<float> distinct = sorted;
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  std::vector<double> c;
  if ((int)distinct.size() <= k) {
    c.assign(distinct.begin(), distinct.end());
  } else {
    // Start at the quantiles; Lloyd iterations on the sorted values, where
    // every cell is a contiguous run bounded by the midpoints.
    for (int j = 0; j < k; j++) c.push_back(sorted[(sorted.size() - 1) * (2 * j + 1) / (2 * k)]);
    for (int iter = 0; iter < 100; iter++) {
      std::vector<double> sum(c.size(), 0.0);
      std::vector<long> n(c.size(), 0);
      size_t j = 0;
      for (float v : sorted) {
        while (j + 1 < c.size() && v > (c[j] + c[j + 1]) / 2.0) j++;
        sum[j] += v;
        n[j]++;
      }
      bool moved = false;
      for (size_t m = 0; m < c.size(); m++) {
        if (n[m] == 0) continue;
        const double next = sum[m] / (double)n[m];
        moved |= next != c[m];
        c[m] = next;
      }
      std::sort(c.begin(), c.end());
      c.erase(std::unique(c.begin(), c.end()), c.end());
      if (!moved) break;
    }
  }
  for (double v : c) centroids->push_back((float)v);
  double err = 0.0;
  for (size_t i = 0; i < values.size(); i++) {
    const float v = values[i];
    auto it = std::lower_bound(centroids->begin(), centroids->end(), v);
    size_t m = (size_t)(it - centroids->begin());
    if (m == centroids->size() || (m > 0 && v - (*centroids)[m - 1] < (*centroids)[m] - v)) m--;
    (*index)[i] = (int)m;
    err += (double)(v - (*centroids)[m]) * (v - (*centroids)[m]);
  }
  return std::sqrt(err / (double)values.size());
}

bool ProsodyBuilder::add(const std::vector<RawProsodyUnit>& units) {
  int fresh = 0;
  std::set<std::array<float, 5>> seen;
  for (const RawProsodyUnit& u : units)
    if (!contour_rows_.count(u.contour) && seen.insert(u.contour).second) fresh++;
  if ((int)contour_rows_.size() + fresh > kMaxContours ||
      (long)units_.size() + (long)units.size() > kMaxProsodyUnits)
    return false;
  for (const RawProsodyUnit& u : units) {
    auto it = contour_rows_.find(u.contour);
    if (it == contour_rows_.end())
      it = contour_rows_.emplace(u.contour, (int)contour_rows_.size()).first;
    contour_of_.push_back(it->second);
    units_.push_back(u);
  }
  return true;
}

ProsodyDatabase ProsodyBuilder::finish(int codebook_size, ProsodyBuildReport* report) const {
  ProsodyDatabase db;
  std::map<std::string, int> index;
  auto phone = [&](const std::string& name) {
    auto it = index.find(name);
    if (it != index.end()) return it->second;
    const int i = (int)db.phones.size();
    db.phones.push_back(name);
    index[name] = i;
    return i;
  };
  for (const char* p : {"x", "sp", "pau"}) phone(p);
  std::vector<float> lf0s, slopes;
  for (const RawProsodyUnit& u : units_) {
    lf0s.push_back(u.lf0);
    slopes.push_back(u.slope);
  }
  std::vector<int> f0_row, slope_row;
  ProsodyBuildReport r;
  r.f0_rms_error = kmeans_1d(lf0s, codebook_size, &db.f0_codebook, &f0_row);
  r.slope_rms_error = kmeans_1d(slopes, codebook_size, &db.slope_codebook, &slope_row);
  if (db.f0_codebook.empty()) db.f0_codebook = {0.0f};
  if (db.slope_codebook.empty()) db.slope_codebook = {0.0f};
  db.contours.resize(std::max<size_t>(contour_rows_.size(), 1));
  for (const auto& c : contour_rows_) db.contours[(size_t)c.second] = c.first;
  std::set<std::pair<int, int>> diphones;
  for (size_t a = 0; a < units_.size(); a++) {
    const RawProsodyUnit& u = units_[a];
    ProsodyUnit out;
    out.phone = phone(u.phones[0]);
    out.prev2 = phone(u.phones[1]);
    out.prev = phone(u.phones[2]);
    out.next = phone(u.phones[3]);
    out.next2 = phone(u.phones[4]);
    out.voiced = u.voiced;
    out.f0_row = f0_row[a];
    out.slope_row = slope_row[a];
    out.contour_row = contour_of_[a];
    db.units.push_back(out);
    r.voiced_units += u.voiced;
    r.phone_counts[u.phones[0]]++;
    if (a > 0) diphones.insert({db.units[a - 1].phone, out.phone});
  }
  r.units = (int)units_.size();
  r.contours = (int)db.contours.size();
  r.diphone_types = (int)diphones.size();
  if (report) {
    r.utterances = report->utterances;
    *report = r;
  }
  return db;
}

}  // namespace voice
}  // namespace vxn
