#include <math.h>

#include "data/lexgen/lexgen.h"

namespace lexgen {

namespace {

const char kEpsilon[] = "epsilon";
// Floors for emissions never counted: deleting a letter is cheaper than
// inventing a phone pair.
const double kFloorEpsilon = 1e-3;
const double kFloorSingle = 1e-4;
const double kFloorPair = 1e-6;

std::string pair_of(const std::string& a, const std::string& b) { return a + "-" + b; }

}  // namespace

unsigned long long Aligner::key(unsigned char letter, int first, int second) {
  return ((unsigned long long)letter << 40) | ((unsigned long long)(unsigned)first << 20) | (unsigned)second;
}

int Aligner::phone_id(const std::string& phone) const {
  auto it = ids_.find(base_phone(phone));
  return it == ids_.end() ? -1 : it->second;
}

double Aligner::score(unsigned long long k) const {
  auto it = prob_.find(k);
  if (it != prob_.end()) return it->second;
  unsigned first = (unsigned)((k >> 20) & 0xFFFFF), second = (unsigned)(k & 0xFFFFF);
  if (first == 0) return log(kFloorEpsilon);
  return log(second ? kFloorPair : kFloorSingle);
}

bool Aligner::align(const Entry& e, Alignment* out) const {
  const size_t n = e.word.size(), m = e.phones.size();
  if (n == 0 || m > 2 * n) return false;
  std::vector<int> id;
  for (const std::string& p : e.phones) {
    int i = phone_id(p);
    id.push_back(i < 0 ? 0xFFFFF : i);  // an unknown phone only ever meets the floors
  }
  const double kNone = -1e300;
  // best[i][j]: best score of the first i letters emitting the first j phones;
  // step[i][j]: phones emitted by letter i - 1 on that path (0, 1 or 2).
  std::vector<double> best((n + 1) * (m + 1), kNone);
  std::vector<char> step((n + 1) * (m + 1), -1);
  auto at = [m](size_t i, size_t j) { return i * (m + 1) + j; };
  best[0] = 0;
  for (size_t i = 0; i < n; ++i) {
    unsigned char letter = (unsigned char)e.word[i];
    for (size_t j = 0; j <= m; ++j) {
      const double here = best[at(i, j)];
      if (here == kNone) continue;
      double s = here + score(key(letter, 0, 0));
      if (s > best[at(i + 1, j)]) best[at(i + 1, j)] = s, step[at(i + 1, j)] = 0;
      if (j + 1 <= m) {
        s = here + score(key(letter, id[j], 0));
        if (s > best[at(i + 1, j + 1)]) best[at(i + 1, j + 1)] = s, step[at(i + 1, j + 1)] = 1;
      }
      if (j + 2 <= m) {
        s = here + score(key(letter, id[j], id[j + 1]));
        if (s > best[at(i + 1, j + 2)]) best[at(i + 1, j + 2)] = s, step[at(i + 1, j + 2)] = 2;
      }
    }
  }
  if (best[at(n, m)] == kNone) return false;
  out->assign(n, kEpsilon);
  size_t j = m;
  for (size_t i = n; i > 0; --i) {
    int k = step[at(i, j)];
    if (k == 1) (*out)[i - 1] = e.phones[j - 1];
    if (k == 2) (*out)[i - 1] = pair_of(e.phones[j - 2], e.phones[j - 1]);
    j -= k;
  }
  return true;
}

void Aligner::count(const Entry& e, const Alignment& a, std::unordered_map<unsigned long long, double>* counts) {
  for (size_t i = 0; i < a.size(); ++i) {
    int first = 0, second = 0;
    if (a[i] != kEpsilon) {
      size_t dash = a[i].find('-');
      first = phone_id(a[i].substr(0, dash));
      if (dash != std::string::npos) second = phone_id(a[i].substr(dash + 1));
    }
    (*counts)[key((unsigned char)e.word[i], first, second)] += 1;
  }
}

void Aligner::train(const std::vector<Entry>& words, int iterations) {
  ids_.clear();
  for (const Entry& e : words)
    for (const std::string& p : e.phones) ids_.emplace(base_phone(p), (int)ids_.size() + 1);
  std::unordered_map<unsigned long long, double> counts;
  // Start from the diagonal: letter i shares the phones that fall into its
  // stretch of the word.
  for (const Entry& e : words) {
    const size_t n = e.word.size(), m = e.phones.size();
    if (n == 0 || m > 2 * n) continue;
    for (size_t i = 0; i < n; ++i) {
      size_t from = i * m / n, to = ((i + 1) * m + n - 1) / n;
      if (from > 0) --from;
      if (to < m) ++to;
      for (size_t j = from; j < to; ++j)
        counts[key((unsigned char)e.word[i], phone_id(e.phones[j]), 0)] += 1.0 / (double)(to - from);
    }
  }
  for (int it = 0;; ++it) {
    std::unordered_map<unsigned, double> total;
    prob_.clear();
    for (const auto& c : counts) total[(unsigned)(c.first >> 40)] += c.second;
    for (const auto& c : counts) prob_[c.first] = log(c.second / total[(unsigned)(c.first >> 40)]);
    if (it == iterations) break;
    counts.clear();
    Alignment a;
    for (const Entry& e : words)
      if (align(e, &a)) count(e, a, &counts);
  }
}

}  // namespace lexgen
