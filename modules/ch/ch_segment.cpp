#include "modules/ch/ch_segment.h"

#include <string.h>

#include <algorithm>

#include "modules/ch/ch_tables.h"
#include "modules/cjk/cjk_text.h"

namespace {

// The cost of a character that is not a word of the dictionary.
const uint32_t kUnknownCost = 255;
// Words longer than this are not looked up.
const size_t kMaxWordLength = 20;

uint32_t nfkc(uint32_t c) {
  const ch_char_pair* end = ch_nfkc_forms + ch_nfkc_form_count;
  const ch_char_pair* at =
      std::lower_bound(ch_nfkc_forms, end, c, [](const ch_char_pair& p, uint32_t v) { return p.from < v; });
  return at != end && at->from == c ? at->to : c;
}

const ch_dict_head* head_of(uint32_t c) {
  const ch_dict_head* end = ch_dict_heads + ch_dict_head_count;
  const ch_dict_head* at =
      std::lower_bound(ch_dict_heads, end, c, [](const ch_dict_head& h, uint32_t v) { return h.first < v; });
  return at != end && at->first == c ? at : nullptr;
}

}  // namespace

std::vector<std::u32string> ch_segment(const std::u32string& han) {
  std::vector<std::u32string> out;
  const size_t n = han.size();
  if (n == 0) return out;
  // The run in NFKC, as code points and as UTF-8 with the byte offset of
  // each character.
  std::vector<uint32_t> normal(n);
  std::string text;
  std::vector<size_t> at(n + 1);
  for (size_t i = 0; i < n; ++i) {
    normal[i] = nfkc((uint32_t)han[i]);
    at[i] = text.size();
    VXN_utf8_append(normal[i], &text);
  }
  at[n] = text.size();

  // best[k]: the least cost of a split of the first k characters; from[k]:
  // where its last word starts.
  const uint32_t kNone = 0xFFFFFFFFu;
  std::vector<uint32_t> best(n + 1, kNone);
  std::vector<size_t> from(n + 1, 0);
  best[0] = 0;
  for (size_t i = 0; i < n; ++i) {
    if (best[i] == kNone) continue;
    bool single = false;
    auto consider = [&](size_t length, uint32_t cost) {
      const uint32_t total = best[i] + cost;
      if (total < best[i + length]) {
        best[i + length] = total;
        from[i + length] = i;
      }
    };
    if (const ch_dict_head* h = head_of(normal[i])) {
      const unsigned char* e = (const unsigned char*)ch_dict_entries + h->offset;
      for (uint32_t k = 0; k < h->count; ++k) {
        const uint32_t cost = e[0];
        const size_t length = e[1], restBytes = e[2];
        const unsigned char* rest = e + 3;
        e = rest + restBytes;
        if (length > n - i || length > kMaxWordLength) continue;
        if (at[i + length] - at[i + 1] != restBytes || memcmp(rest, text.data() + at[i + 1], restBytes) != 0)
          continue;
        consider(length, cost);
        single = single || length == 1;
      }
    }
    if (!single) consider(1, kUnknownCost);
  }
  std::vector<size_t> ends;
  for (size_t k = n; k > 0; k = from[k]) ends.push_back(k);
  size_t start = 0;
  for (auto e = ends.rbegin(); e != ends.rend(); ++e) {
    out.push_back(han.substr(start, *e - start));
    start = *e;
  }
  return out;
}

std::string ch_char_reading(uint32_t c) {
  const ch_reading_index* end = ch_readings + ch_reading_count;
  const ch_reading_index* at =
      std::lower_bound(ch_readings, end, c, [](const ch_reading_index& r, uint32_t v) { return r.character < v; });
  return at != end && at->character == c ? std::string(ch_reading_text + at->offset) : std::string();
}
