// vxn-voice coverage: how many labels of our front end reach their leaves in
// a package through questions translated from the source voice, and how many
// pass a question that answers by default (a question whose source field the
// engine's labels lack, tagged "~fixed", or a derived question asked of a
// label it cannot work out). Walks the duration tree and every state's tree
// of every stream, as the lookups do.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "engine/VXN_model.h"
#include "tools/voicebuild/VXN_question_translate.h"

namespace {

enum { kExitOk = 0, kExitBad = 1, kExitUsage = 2 };

const char* kCoverageUsage =
    "usage: vxn-voice coverage STEM LABELFILE...\n"
    "  LABELFILE: one full-context label per line (HTS times before it are skipped)\n";

bool read_labels(const std::string& path, std::vector<std::string>* out, std::string* error) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) {
    *error = "cannot open " + path;
    return false;
  }
  std::string line;
  int c;
  int line_no = 0;
  auto flush = [&]() -> bool {
    ++line_no;
    std::size_t end = line.find_last_not_of(" \t\r");
    if (end == std::string::npos) {
      line.clear();
      return true;
    }
    line.erase(end + 1);
    const std::size_t blank = line.find_last_of(" \t");
    std::string label = blank == std::string::npos ? line : line.substr(blank + 1);
    line.clear();
    if (label.size() > 1023) {
      *error = path + " line " + std::to_string(line_no) + ": label longer than 1023 characters";
      return false;
    }
    out->push_back(label);
    return true;
  };
  bool ok = true;
  while (ok && (c = std::fgetc(fp)) != EOF) {
    if (c == '\n')
      ok = flush();
    else if (c == '\0') {
      *error = path + " line " + std::to_string(line_no + 1) + ": NUL byte";
      ok = false;
    } else
      line += static_cast<char>(c);
  }
  if (ok && !line.empty()) ok = flush();
  std::fclose(fp);
  return ok;
}

// Walks one tree; returns false when a node on the way answered by default,
// counting that question in *defaults.
bool walk(const VXN_Tree* tree, const char* label, std::map<std::string, int>* defaults) {
  bool clean = true;
  const VXN_Node* n = tree ? tree->root : nullptr;
  for (int steps = 0; n && n->pdf <= 0 && steps < 16000; ++steps) {
    const VXN_Question* q = n->quest;
    if (!q) break;
    std::string rule;
    const std::string name = q->string ? q->string : "";
    switch (vxn::voice::question_kind(name, &rule)) {
      case vxn::voice::QuestionKind::kExact: break;
      case vxn::voice::QuestionKind::kFixed:
        clean = false;
        ++(*defaults)[name];
        break;
      case vxn::voice::QuestionKind::kDerived:
        if (!vxn::voice::derived_rule_exact_for(rule, label)) {
          clean = false;
          ++(*defaults)[name];
        }
        break;
    }
    n = VXN_Question_match(q, label) ? n->yes : n->no;
  }
  return clean;
}

const VXN_Tree* tree_for_state(const VXN_Stream& st, int state) {
  if (st.nmodel < 1) return nullptr;
  for (const VXN_Tree* t = st.model[0].tree; t; t = t->next)
    if (t->state == state) return t;
  return nullptr;
}

}  // namespace

int cmd_coverage(std::vector<std::string>& args) {
  if (args.size() < 2) {
    std::fprintf(stderr, "vxn-voice: coverage takes STEM and at least one LABELFILE\n\n%s",
                 kCoverageUsage);
    return kExitUsage;
  }
  const std::string stem = args[0];
  std::vector<std::string> labels;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string error;
    if (!read_labels(args[i], &labels, &error)) {
      std::fprintf(stderr, "vxn-voice: %s\n", error.c_str());
      return kExitBad;
    }
  }
  if (labels.empty()) {
    std::fprintf(stderr, "vxn-voice: the label files hold no labels\n");
    return kExitBad;
  }
  VXN_Engine engine;
  VXN_Engine_initialize(&engine, 3);
  CVxnCode reader;
  std::string qt = stem + ".qt", pt = stem + ".pt", am = stem + ".am", dt = stem + ".dt";
  if (!reader.VXN_Code_load_question_from_fn(&qt[0], &pt[0]) ||
      !reader.VXN_Code_load_parameter_from_fn(&engine, &am[0], &dt[0], 1)) {
    VXN_Engine_clear(&engine);
    std::fprintf(stderr, "vxn-voice: %s: the package is invalid (reason above)\n", stem.c_str());
    return kExitBad;
  }
  VXN_ModelSet* ms = &engine.ms;
  std::map<std::string, int> defaults;
  long clean_labels = 0, walks = 0, clean_walks = 0;
  for (const std::string& label : labels) {
    bool clean = true;
    auto one = [&](const VXN_Tree* t) {
      if (!t) return;
      ++walks;
      const bool c = walk(t, label.c_str(), &defaults);
      clean_walks += c;
      clean = clean && c;
    };
    one(ms->duration.nmodel > 0 ? ms->duration.model[0].tree : nullptr);
    for (int s = 0; s < ms->nstream; ++s)
      for (int state = 2; state < ms->nstate + 2; ++state) one(tree_for_state(ms->stream[s], state));
    clean_labels += clean;
  }
  VXN_Engine_clear(&engine);
  std::printf("package   %s\n", stem.c_str());
  std::printf("labels    %zu\n", labels.size());
  std::printf("coverage  %.1f%% of labels reach every leaf through translated questions "
              "(%ld of %zu); %.1f%% of tree walks (%ld of %ld)\n",
              100.0 * clean_labels / labels.size(), clean_labels, labels.size(),
              walks ? 100.0 * clean_walks / walks : 0.0, clean_walks, walks);
  std::vector<std::pair<int, std::string>> order;
  for (const auto& d : defaults) order.push_back({-d.second, d.first});
  std::sort(order.begin(), order.end());
  for (std::size_t i = 0; i < order.size() && i < 10; ++i)
    std::printf("default   %6d walks  %s\n", -order[i].first, order[i].second.c_str());
  return kExitOk;
}
