// Shared helpers of the post-lexical and tagging tests: the US English voice,
// utterances run through its chain, and a walk over Segment, SylStructure and
// Syllable that reports the first inconsistency between them.
#ifndef TESTS_FRONTEND_POSTLEX_FIXTURE_H
#define TESTS_FRONTEND_POSTLEX_FIXTURE_H

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "frontend/synth_util.h"
#include "modules/usen/usen_voice.h"

class UsVoice : public ::testing::Test {
 protected:
  void SetUp() override { voice_ = usen_voice_new(0, nullptr, "iso-8859-15"); }
  void TearDown() override {
    for (cst_utterance* u : utts_) delete_utterance(u);
    usen_voice_delete(voice_);
  }
  cst_utterance* synth(const char* text) {
    cst_utterance* u = flite_synth_text(text, voice_, nullptr);
    if (u) utts_.push_back(u);
    return u;
  }
  static std::string feat(const cst_item* i, const char* name) {
    return i && item_feat_present(i, name) ? item_feat_string(i, name) : "-";
  }
  static std::vector<std::string> names(cst_utterance* u, const char* relation, const char* f = "name") {
    std::vector<std::string> out;
    for (cst_item* i = relation_head(utt_relation(u, relation)); i; i = item_next(i)) out.push_back(feat(i, f));
    return out;
  }
  static cst_item* word_named(cst_utterance* u, const char* name, int nth = 0) {
    for (cst_item* w = relation_head(utt_relation(u, "Word")); w; w = item_next(w))
      if (strcmp(item_feat_string(w, "name"), name) == 0 && nth-- == 0) return w;
    return nullptr;
  }
  // Phones of a word grouped by syllable: "b ax|n ae|n ax".
  static std::string syllables(const cst_item* word) {
    std::string out;
    for (cst_item* s = item_daughter(item_as(word, "SylStructure")); s; s = item_next(s)) {
      if (!out.empty()) out += "|";
      for (cst_item* p = item_daughter(s); p; p = item_next(p)) {
        out += item_feat_string(p, "name");
        if (item_next(p)) out += " ";
      }
    }
    return out;
  }
  static std::string stresses(const cst_item* word) {
    std::string out;
    for (cst_item* s = item_daughter(item_as(word, "SylStructure")); s; s = item_next(s)) out += feat(s, "stress");
    return out;
  }
  // The first inconsistency between Segment, SylStructure and Syllable, or "".
  static std::string consistency(cst_utterance* u) {
    std::vector<cst_item*> treePhones;
    cst_item* flatSyl = relation_head(utt_relation(u, "Syllable"));
    for (cst_item* w = relation_head(utt_relation(u, "SylStructure")); w; w = item_next(w)) {
      for (cst_item* s = item_daughter(w); s; s = item_next(s)) {
        if (item_parent(s) != w) return "syllable does not lead back to its word";
        if (!item_daughter(s)) return "empty syllable";
        cst_item* asFlat = item_as(s, "Syllable");
        if (!asFlat || asFlat != flatSyl) return "Syllable order differs from SylStructure";
        if (item_as(asFlat, "SylStructure") != s) return "syllable back reference";
        flatSyl = item_next(flatSyl);
        for (cst_item* p = item_daughter(s); p; p = item_next(p)) {
          if (item_parent(p) != s) return "phone does not lead back to its syllable";
          if (item_as(p, "SylStructure") != p) return "phone back reference";
          if (!item_as(p, "Segment")) return std::string("phone not in Segment: ") + item_feat_string(p, "name");
          treePhones.push_back(p);
        }
      }
    }
    if (flatSyl) return "Syllable has items outside SylStructure";
    size_t k = 0;
    for (cst_item* s = relation_head(utt_relation(u, "Segment")); s; s = item_next(s)) {
      if (item_next(s) && item_prev(item_next(s)) != s) return "Segment links broken";
      cst_item* tree = item_as(s, "SylStructure");
      if (!tree) {
        if (strcmp(item_feat_string(s, "name"), "pau") != 0)
          return std::string("segment outside SylStructure: ") + item_feat_string(s, "name");
        continue;
      }
      if (k >= treePhones.size() || treePhones[k] != tree) return "Segment order differs from SylStructure";
      ++k;
    }
    if (k != treePhones.size()) return "SylStructure has phones outside Segment";
    return "";
  }

  cst_voice* voice_ = nullptr;
  std::vector<cst_utterance*> utts_;
};

#endif
