#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <queue>

#include "data/lexgen/lexgen.h"

namespace lexgen {

namespace {

const unsigned char kBoundary = 1;
const unsigned char kPad = 2;
const unsigned char kFirstLetter = 3;
const unsigned char kLeaf = 255;
const int kMaxWindow = 4;  // letters each side; a sample holds 2 * kMaxWindow

struct Sample {
  unsigned char feat[2 * kMaxWindow];
  int cls;  // index into the model's phone table
};

struct Node {
  int letter = 0;  // letter code - 3
  std::vector<int> samples;
  int majority = 0;
  // Best split found for this node: feature == value.
  double gain = 0;
  int feat = -1, value = 0;
  int yes = -1, no = -1;  // children (node ids) once split
};

double xlogx(double x) { return x > 0 ? x * log2(x) : 0; }

// Sum over classes of c*log2(c) is enough to compare splits: N*H = N log N - sum c log c.
struct ClassCounts {
  std::vector<int> count;
  std::vector<int> touched;
  void add(int c) {
    if (c >= (int)count.size()) count.resize(c + 1, 0);
    if (count[c]++ == 0) touched.push_back(c);
  }
  double weighted_entropy(int n) const {
    double s = 0;
    for (int c : touched) s += xlogx(count[c]);
    return xlogx(n) - s;
  }
};

class Trainer {
 public:
  Trainer(const std::vector<std::vector<Sample>>& samples, int window, int minLeaf)
      : samples_(samples), features_(2 * window), minLeaf_(minLeaf) {}

  // Finds the best split of node id and stores it on the node.
  void evaluate(Node* node) {
    const std::vector<Sample>& all = samples_[node->letter];
    const int n = (int)node->samples.size();
    ClassCounts parent;
    for (int s : node->samples) parent.add(all[s].cls);
    int best = 0;
    for (int c : parent.touched)
      if (parent.count[c] > best) best = parent.count[c], node->majority = c;
    node->gain = 0;
    node->feat = -1;
    if (best == n || n < 2 * minLeaf_) return;
    const double parentH = parent.weighted_entropy(n);
    for (int f = 0; f < features_; ++f) {
      // Class counts per value of feature f.
      std::vector<int> valueTotal(256, 0);
      std::vector<ClassCounts> byValue(256);
      for (int s : node->samples) {
        unsigned char v = all[s].feat[f];
        valueTotal[v]++;
        byValue[v].add(all[s].cls);
      }
      for (int v = 0; v < 256; ++v) {
        const int nl = valueTotal[v], nr = n - nl;
        if (nl < minLeaf_ || nr < minLeaf_) continue;
        ClassCounts rest;
        for (int c : parent.touched) {
          int left = c < (int)byValue[v].count.size() ? byValue[v].count[c] : 0;
          if (parent.count[c] - left > 0) {
            if ((int)rest.count.size() <= c) rest.count.resize(c + 1, 0);
            if (rest.count[c] == 0) rest.touched.push_back(c);
            rest.count[c] = parent.count[c] - left;
          }
        }
        double gain = parentH - byValue[v].weighted_entropy(nl) - rest.weighted_entropy(nr);
        if (gain > node->gain + 1e-9) {
          node->gain = gain;
          node->feat = f;
          node->value = v;
        }
      }
    }
  }

 private:
  const std::vector<std::vector<Sample>>& samples_;
  int features_;
  int minLeaf_;
};

void put_node(std::vector<unsigned char>* out, unsigned char feat, unsigned char value, unsigned short yes,
              unsigned short no) {
  out->push_back(feat);
  out->push_back(value);
  // Native (little-endian) order, as Flite reads the packed nodes.
  out->push_back((unsigned char)(yes & 0xFF));
  out->push_back((unsigned char)(yes >> 8));
  out->push_back((unsigned char)(no & 0xFF));
  out->push_back((unsigned char)(no >> 8));
}

}  // namespace

void LtsModel::train(const std::vector<Entry>& words, const std::vector<Alignment>& alignments, int maxNodes,
                     int minLeaf) {
  if (window < 1 || window > kMaxWindow) window = kMaxWindow;
  // Letters and phone classes.
  std::set<unsigned char> letters;
  for (const Entry& e : words)
    for (unsigned char c : e.word) letters.insert(c);
  letter_bytes.assign(letters.begin(), letters.end());
  for (int i = 0; i < 256; ++i) letter_code[i] = 0;
  for (size_t i = 0; i < letter_bytes.size(); ++i) letter_code[letter_bytes[i]] = (unsigned char)(kFirstLetter + i);
  std::map<std::string, int> classOf;
  phone_table.assign(1, "epsilon");
  classOf["epsilon"] = 0;
  for (const Alignment& a : alignments)
    for (const std::string& em : a)
      if (!classOf.count(em)) {
        classOf[em] = (int)phone_table.size();
        phone_table.push_back(em);
      }
  if (phone_table.size() > 254) {
    fprintf(stderr, "lexgen: %zu phone classes, more than a letter-to-sound leaf can name\n", phone_table.size());
    phone_table.resize(254);
  }
  // Samples: the window of letter codes around each letter.
  std::vector<std::vector<Sample>> samples(letter_bytes.size());
  for (size_t w = 0; w < words.size(); ++w) {
    const std::string& word = words[w].word;
    std::vector<unsigned char> buf(window - 1, kPad);
    buf.push_back(kBoundary);
    for (unsigned char c : word) buf.push_back(letter_code[c]);
    buf.push_back(kBoundary);
    buf.insert(buf.end(), window - 1, kPad);
    for (size_t i = 0; i < word.size(); ++i) {
      size_t pos = window + i;
      Sample s;
      for (int k = 0; k < window && k < kMaxWindow; ++k) {
        s.feat[k] = buf[pos - window + k];
        s.feat[window + k] = buf[pos + 1 + k];
      }
      auto it = classOf.find(alignments[w][i]);
      s.cls = it == classOf.end() || it->second >= (int)phone_table.size() ? 0 : it->second;
      samples[buf[pos] - kFirstLetter].push_back(s);
    }
  }
  // Best-first growth over all letters at once.
  Trainer trainer(samples, window, minLeaf < 1 ? 1 : minLeaf);
  std::vector<Node> tree;
  auto cmp = [&tree](int a, int b) { return tree[a].gain < tree[b].gain; };
  std::priority_queue<int, std::vector<int>, decltype(cmp)> open(cmp);
  for (size_t l = 0; l < letter_bytes.size(); ++l) {
    Node root;
    root.letter = (int)l;
    for (size_t s = 0; s < samples[l].size(); ++s) root.samples.push_back((int)s);
    tree.push_back(root);
    trainer.evaluate(&tree.back());
    if (tree.back().feat >= 0) open.push((int)tree.size() - 1);
  }
  int count = (int)tree.size();
  while (!open.empty() && count + 2 <= maxNodes) {
    int id = open.top();
    open.pop();
    Node yes, no;
    yes.letter = no.letter = tree[id].letter;
    const std::vector<Sample>& all = samples[tree[id].letter];
    for (int s : tree[id].samples)
      (all[s].feat[tree[id].feat] == tree[id].value ? yes : no).samples.push_back(s);
    std::vector<int>().swap(tree[id].samples);
    tree[id].yes = (int)tree.size();
    tree[id].no = (int)tree.size() + 1;
    tree.push_back(yes);
    tree.push_back(no);
    count += 2;
    for (int child : {tree[id].yes, tree[id].no}) {
      trainer.evaluate(&tree[child]);
      if (tree[child].feat >= 0) open.push(child);
    }
    if (count % 5000 < 2) fprintf(stderr, "\rlexgen: %d tree nodes", count);
  }
  fprintf(stderr, "\rlexgen: %d tree nodes\n", count);
  // Pack each letter's tree in pre-order.
  nodes.clear();
  letter_root.assign(letter_bytes.size(), 0);
  std::vector<int> address(tree.size(), -1);
  for (size_t l = 0; l < letter_bytes.size(); ++l) {
    std::vector<int> order, stack = {(int)l};
    while (!stack.empty()) {
      int id = stack.back();
      stack.pop_back();
      address[id] = (int)order.size() + (int)(nodes.size() / 6);
      order.push_back(id);
      if (tree[id].yes >= 0) {
        stack.push_back(tree[id].no);
        stack.push_back(tree[id].yes);
      }
    }
    letter_root[l] = (unsigned short)address[l];
    // Addresses of this letter's nodes are known only after the walk.
    std::vector<unsigned char> packed;
    for (int id : order) {
      const Node& n = tree[id];
      if (n.yes < 0)
        put_node(&packed, kLeaf, (unsigned char)n.majority, 0, 0);
      else
        put_node(&packed, (unsigned char)n.feat, (unsigned char)n.value, (unsigned short)address[n.yes],
                 (unsigned short)address[n.no]);
    }
    nodes.insert(nodes.end(), packed.begin(), packed.end());
  }
}

std::vector<std::string> LtsModel::predict(const std::string& word) const {
  if (window < 1 || window > kMaxWindow) return {};
  std::vector<unsigned char> buf(window - 1, kPad);
  buf.push_back(kBoundary);
  for (unsigned char c : word) buf.push_back(letter_code[c]);
  buf.push_back(kBoundary);
  buf.insert(buf.end(), window - 1, kPad);
  std::vector<std::string> phones;
  for (size_t i = 0; i < word.size(); ++i) {
    size_t pos = window + i;
    if (buf[pos] < kFirstLetter) continue;  // not a letter of the rules
    unsigned char feat[2 * kMaxWindow];
    for (int k = 0; k < window && k < kMaxWindow; ++k) {
      feat[k] = buf[pos - window + k];
      feat[window + k] = buf[pos + 1 + k];
    }
    size_t at = (size_t)letter_root[buf[pos] - kFirstLetter] * 6;
    while (nodes[at] != kLeaf) {
      unsigned short next = feat[nodes[at]] == nodes[at + 1] ? (unsigned short)(nodes[at + 2] | nodes[at + 3] << 8)
                                                              : (unsigned short)(nodes[at + 4] | nodes[at + 5] << 8);
      at = (size_t)next * 6;
    }
    const std::string& em = phone_table[nodes[at + 1]];
    if (em == "epsilon") continue;
    size_t dash = em.find('-');
    if (dash == std::string::npos) {
      phones.push_back(em);
    } else {
      phones.push_back(em.substr(0, dash));
      phones.push_back(em.substr(dash + 1));
    }
  }
  return phones;
}

}  // namespace lexgen
