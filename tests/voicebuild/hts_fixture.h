// A small, valid .htsvoice assembled in memory for the reader and importer
// tests: 5 states, a 2-dimensional mel-cepstrum stream MCP and a log-F0 stream
// LF0, each with GV. Tests change the header entries or the data blocks and
// call bytes(), which lays the blocks out and writes the positions.
#ifndef VXN_TESTS_HTS_FIXTURE_H
#define VXN_TESTS_HTS_FIXTURE_H

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace vxn_test {

inline void put_i32(std::string* s, int32_t v) {
  char b[4];
  std::memcpy(b, &v, 4);
  s->append(b, 4);
}
inline void put_f32(std::string* s, float v) {
  char b[4];
  std::memcpy(b, &v, 4);
  s->append(b, 4);
}

// Pdf k (1-based) of tree t (0-based), dimension d: recognisable values.
inline float fixture_mean(int t, int k, int d) { return 10.0f * t + k + 0.01f * d; }
inline float fixture_vari(int t, int k, int d) { return 0.5f + 0.1f * t + 0.01f * k + 0.001f * d; }
inline float fixture_weight(int k) { return k % 2 ? 0.95f : 0.05f; }

// counts[t] pdfs per tree, vw means and variances each, optional weight.
inline std::string pdf_block(const std::vector<int>& counts, int vw, bool msd) {
  std::string s;
  for (int c : counts) put_i32(&s, c);
  for (std::size_t t = 0; t < counts.size(); ++t)
    for (int k = 1; k <= counts[t]; ++k) {
      for (int d = 0; d < vw; ++d) put_f32(&s, fixture_mean(static_cast<int>(t), k, d));
      for (int d = 0; d < vw; ++d) put_f32(&s, fixture_vari(static_cast<int>(t), k, d));
      if (msd) put_f32(&s, fixture_weight(k));
    }
  return s;
}

inline const char* fixture_questions() {
  return "QS C-a { \"*-a+*\" }\n"
         "QS C-Vowel { \"*-a+*\",\"*-i+*\" }\n"
         "QS L-i { \"*^i-*\" }\n\n";
}

// Tree of 3 leaves for a state: vowel? (no: leaf 3) -> a? (no: leaf 2, yes: leaf 1).
inline std::string three_leaf_tree(int state, const std::string& leaf) {
  std::string s = "{*}[" + std::to_string(state) + "]\n{\n";
  s += "   0 C-Vowel   \"" + leaf + "_3\"   -1\n";
  s += "  -1 C-a       \"" + leaf + "_2\"   \"" + leaf + "_1\"\n}\n\n";
  return s;
}

struct HtsFixture {
  std::vector<std::pair<std::string, std::string>> header;  // key, value (in order)
  std::vector<std::pair<std::string, std::string>> blocks;  // position key, bytes

  HtsFixture() {
    header = {{"[GLOBAL]", ""},
              {"HTS_VOICE_VERSION", "1.0"},
              {"SAMPLING_FREQUENCY", "32000"},
              {"FRAME_PERIOD", "160"},
              {"NUM_STATES", "5"},
              {"NUM_STREAMS", "2"},
              {"STREAM_TYPE", "MCP,LF0"},
              {"FULLCONTEXT_FORMAT", "HTS_TTS_ENG"},
              {"FULLCONTEXT_VERSION", "1.0"},
              {"GV_OFF_CONTEXT", "\"*-pau+*\""},
              {"COMMENT", ""},
              {"[STREAM]", ""},
              {"VECTOR_LENGTH[MCP]", "2"},
              {"VECTOR_LENGTH[LF0]", "1"},
              {"IS_MSD[MCP]", "0"},
              {"IS_MSD[LF0]", "1"},
              {"NUM_WINDOWS[MCP]", "3"},
              {"NUM_WINDOWS[LF0]", "3"},
              {"USE_GV[MCP]", "1"},
              {"USE_GV[LF0]", "1"},
              {"OPTION[MCP]", "ALPHA=0.45"},
              {"OPTION[LF0]", ""}};
    std::string mcp_tree = fixture_questions(), lf0_tree = fixture_questions();
    for (int s = 2; s <= 6; ++s) mcp_tree += three_leaf_tree(s, "mcp_s" + std::to_string(s));
    for (int s = 2; s <= 6; ++s)
      lf0_tree += s == 4 ? std::string("{*}[4]\n\"lf0_s4_1\"\n\n")
                         : three_leaf_tree(s, "lf0_s" + std::to_string(s));
    blocks = {
        {"DURATION_PDF", pdf_block({3}, 5, false)},
        {"DURATION_TREE", std::string(fixture_questions()) + three_leaf_tree(2, "dur_s2")},
        {"STREAM_WIN[MCP]#0", "1 1.0\n"},
        {"STREAM_WIN[MCP]#1", "3 -0.5 0.0 0.5\n"},
        {"STREAM_WIN[MCP]#2", "3 1.0 -2.0 1.0\n"},
        {"STREAM_WIN[LF0]#0", "1 1.0\n"},
        {"STREAM_WIN[LF0]#1", "3 -0.5 0.0 0.5\n"},
        {"STREAM_WIN[LF0]#2", "3 1.0 -2.0 1.0\n"},
        {"STREAM_PDF[MCP]", pdf_block({3, 3, 3, 3, 3}, 6, false)},
        {"STREAM_PDF[LF0]", pdf_block({3, 3, 1, 3, 3}, 3, true)},
        {"STREAM_TREE[MCP]", mcp_tree},
        {"STREAM_TREE[LF0]", lf0_tree},
        {"GV_PDF[MCP]", pdf_block({1}, 2, false)},
        {"GV_PDF[LF0]", pdf_block({1}, 1, false)},
        {"GV_TREE[MCP]", "{*}[2]\n\"gv_mgc_1\"\n"},
        {"GV_TREE[LF0]", "{*}[2]\n\"gv_lf0_1\"\n"},
    };
  }

  std::string& block(const std::string& key) {
    for (auto& b : blocks)
      if (b.first == key) return b.second;
    blocks.emplace_back(key, "");
    return blocks.back().second;
  }
  void set_header(const std::string& key, const std::string& value) {
    for (auto& h : header)
      if (h.first == key) {
        h.second = value;
        return;
      }
    header.emplace_back(key, value);
  }
  void remove_header(const std::string& key) {
    for (std::size_t i = 0; i < header.size(); ++i)
      if (header[i].first == key) header.erase(header.begin() + i);
  }

  // Lays the blocks out in order; keys ending in #n are joined into one
  // comma-separated position entry. Entries in overrides replace computed ones
  // (the value "-" drops the entry).
  std::string bytes(const std::vector<std::pair<std::string, std::string>>& overrides = {}) const {
    std::string data;
    std::vector<std::pair<std::string, std::string>> pos;
    for (const auto& b : blocks) {
      std::string key = b.first;
      std::size_t hash = key.find('#');
      std::string range = std::to_string(data.size()) + "-" +
                          std::to_string(data.size() + b.second.size() - 1);
      data += b.second;
      if (hash != std::string::npos) {
        key = key.substr(0, hash);
        if (!pos.empty() && pos.back().first == key) {
          pos.back().second += "," + range;
          continue;
        }
      }
      pos.emplace_back(key, range);
    }
    for (const auto& o : overrides)
      for (auto& p : pos)
        if (p.first == o.first) p.second = o.second;
    std::string out;
    for (const auto& h : header)
      out += h.first[0] == '[' ? h.first + "\n" : h.first + ":" + h.second + "\n";
    out += "[POSITION]\n";
    for (const auto& p : pos)
      if (p.second != "-") out += p.first + ":" + p.second + "\n";
    out += "[DATA]\n";
    return out + data;
  }
};

}  // namespace vxn_test

#endif
