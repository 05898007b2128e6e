// Hybrid unit search: targets, candidates, costs, the pruned Viterbi search,
// contour placement and the frame log-F0 target.
#include "engine/VXN_vsearch.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "engine/VXN_label.h"
#include "engine/VXN_misc.h"
#include "engine/VXN_sstream.h"

namespace {

// Candidate-list cut-offs in tenths of a target-cost unit.
const int kCutTenths[6] = {0, 2, 4, 6, 8, 10};
// Keep a cut-off while it leaves more than this many candidates ...
const int kCutKeep = 50;
// ... and the next one would leave more than this many.
const int kCutNext = 100;
// Columns with more paths than this are pruned.
const int kPruneAbove = 100;
// Pruned predecessors are skipped while more than this many stay active.
const int kActiveFloor = 49;
const float kPruneLevels[4] = {0.9f, 0.945f, 0.97f, 1.0f};
const float kNoBestPath = 32767.0f;
// Cost of a first-column unit that is unvoiced where its label is voiced.
const float kVoicingMismatch = 2.0f;
const float kContourFloor = 1e-6f;
const float kFallSpan = 0.2f;

// Target cost in tenths: 2 for the phone two before, 3 for the phone before,
// 3 for the phone after, 2 for the phone two after when the units differ.
int target_tenths(const VXN_VTContext* vt, const VXN_VTTarget* t, const VXN_VTDiphone* e) {
  const VXN_VTUnit* u = e->left >= 0 ? &vt->units[e->left] : NULL;
  const VXN_VTUnit* w = e->right >= 0 ? &vt->units[e->right] : NULL;
  int tenths = 0;
  if (!u || u->b[1] != t->left_prev2) tenths += 2;
  if (!u || u->b[2] != t->left_prev) tenths += 3;
  if (!w || w->b[3] != t->right_next) tenths += 3;
  if (!w || (w->b[4] & 0x7f) != t->right_next2) tenths += 2;
  return tenths;
}

bool unit_voiced(const VXN_VTContext* vt, int unit) {
  return (vt->units[unit].b[4] & VXN_VT_VOICED_MARK) != 0;
}

void free_lattice(VXN_VTContext* vt) {
  if (!vt->lattice) return;
  for (int k = 0; k < vt->target_count; k++) {
    VXN_free(vt->lattice[k].candidates);
    VXN_free(vt->lattice[k].paths);
  }
  VXN_free(vt->lattice);
  vt->lattice = NULL;
}

void first_column(VXN_VTContext* vt, VXN_VTColumn* c) {
  for (int i = 0; i < c->path_count; i++) {
    VXN_VTPath* p = &c->paths[i];
    const VXN_VTDiphone* e = p->candidate->diphone;
    p->cost = 0.0f;
    if ((c->target->left_voiced && !unit_voiced(vt, e->left)) ||
        (c->target->right_voiced && !unit_voiced(vt, e->right)))
      p->cost += kVoicingMismatch;
  }
  c->active = c->path_count;
}

void later_column(VXN_VTContext* vt, VXN_VTColumn* c) {
  const VXN_VTColumn* prev = c->prev;
  const bool skip_pruned = prev->active > kActiveFloor;
  for (int i = 0; i < c->path_count; i++) {
    VXN_VTPath* p = &c->paths[i];
    for (int j = 0; j < prev->path_count; j++) {
      VXN_VTPath* q = &prev->paths[j];
      if (q->pruned && skip_pruned) continue;
      const float total = q->cost + GetJoinCost(vt, q, p) +
                          (p->candidate->target_cost + q->candidate->target_cost) / 2.0f;
      if (p->cost == 0.0f || p->cost > total) {
        p->cost = total;
        p->back = q;
      }
    }
  }
  if (c->path_count <= kPruneAbove) {
    c->active = c->path_count;
    return;
  }
  float mean = 0.0f;
  for (int i = 0; i < c->path_count; i++) mean += c->paths[i].cost;
  mean /= (float)c->path_count;
  float threshold = mean;
  for (float level : kPruneLevels) {
    int below = 0;
    for (int i = 0; i < c->path_count; i++)
      if (c->paths[i].cost < level * mean) below++;
    if (below > kCutKeep) {
      threshold = level * mean;
      break;
    }
  }
  int pruned = 0;
  for (int i = 0; i < c->path_count; i++) {
    c->paths[i].pruned = c->paths[i].cost >= threshold;
    pruned += c->paths[i].pruned;
  }
  c->active = c->path_count - pruned;
}

// Five contour points per label from the chosen units (see the placement rule
// in docs/prosody-database.md).
void place_contours(const VXN_VTContext* vt, std::vector<float>& p, int L) {
  for (int k = 0; k + 1 < L && k < vt->target_count; k++) {
    const VXN_VTDiphone* e = vt->best_path[k].candidate->diphone;
    const float* a = GetParameterSequence(vt, e->left);
    const float* b = GetParameterSequence(vt, e->right);
    float* pk = &p[(size_t)k * 5];
    float* pn = &p[(size_t)(k + 1) * 5];
    for (int j = 2; j <= 4; j++) {
      const float y = a[j] + kContourFloor;
      if (!(y > 0.0f)) continue;
      pk[j] = (j == 2 && pk[2] != 0.0f) ? (y + pk[2]) / 2.0f : y;
    }
    for (int j = 0; j <= 2; j++)
      if (b[j] + kContourFloor > 0.0f) pn[j] = b[j] + kContourFloor;
  }
}

// A statement ends in a straight fall over the last voiced label and the one
// before it, when the contour would otherwise rise there.
void statement_fall(std::vector<float>& p, int L, int last_voiced) {
  const int w = last_voiced - 1;
  if (w < 1 || w >= L - 2) return;
  const float start = p[(size_t)w * 5];
  if (!(p[(size_t)(w + 1) * 5 + 4] - start > 0.0f)) return;
  for (int m = 0; m < 10; m++) p[(size_t)w * 5 + m] = start - kFallSpan * (float)m / 9.0f;
}

}  // namespace

int VXN_Get_Phoneme_Word(const char* label, char* name, int* word) {
  memset(name, 0, VXN_VT_NAME_SIZE);
  *word = 0;
  if (!label) return 0;
  const char* dash = strchr(label, '-');
  if (!dash) return 0;
  const char* start = dash + 1;
  const char* end = start;
  while (*end && *end != '+' && *end != ':') end++;
  if (!*end) return 0;
  const size_t n = (size_t)(end - start);
  memcpy(name, start, n < VXN_VT_NAME_SIZE - 1 ? n : VXN_VT_NAME_SIZE - 1);
  const char* e = strchr(end, 'E');
  const char* at = e ? strchr(e, '@') : NULL;
  const char* plus = at ? strchr(at + 1, '+') : NULL;
  if (!plus) return 0;
  *word = atoi(at + 1);
  return 1;
}

int VXN_VT_phone_context(const char* const* labels, int count, char (*seq)[VXN_VT_NAME_SIZE],
                         int* length, int* pos) {
  int n = 0, prev_word = 0;
  for (int k = 0; k < 3; k++) snprintf(seq[n++], VXN_VT_NAME_SIZE, "x");
  for (int i = 0; i < count; i++) {
    char name[VXN_VT_NAME_SIZE];
    int word = 0;
    if (!VXN_Get_Phoneme_Word(labels[i], name, &word)) {
      *length = i;
      return 0;
    }
    if (i > 0 && word != prev_word && word >= 2) snprintf(seq[n++], VXN_VT_NAME_SIZE, "sp");
    prev_word = word;
    pos[i] = n;
    memcpy(seq[n++], name, VXN_VT_NAME_SIZE);
  }
  for (int k = 0; k < 3; k++) snprintf(seq[n++], VXN_VT_NAME_SIZE, "x");
  *length = n;
  return 1;
}

int PhonemeToIndex(char (*names)[VXN_VT_NAME_SIZE], int count, const char* name) {
  if (!names || !name) return -1;
  for (int i = 0; i < count; i++)
    if (strncmp(names[i], name, VXN_VT_NAME_SIZE) == 0 && names[i][0] != '\0') return i;
  return -1;
}

float GetTargetCost(const VXN_VTContext* vt, const VXN_VTTarget* target,
                    const VXN_VTDiphone* entry) {
  return (float)target_tenths(vt, target, entry) / 10.0f;
}

float CalcF0Distance(float a, float b) { return fabsf(a - b); }

float CalcSlopeDistance(float a, float b) { return fabsf(a - b); }

float GetF0Coef(const VXN_VTContext* vt, int unit) {
  const VXN_VTContourSet* s = &vt->sets[VXN_VT_SET_F0];
  return s->values[(size_t)vt->units[unit].b[6] * (size_t)s->columns];
}

float GetSlopeCoef(const VXN_VTContext* vt, int unit) {
  const VXN_VTContourSet* s = &vt->sets[VXN_VT_SET_SLOPE];
  return s->values[(size_t)vt->units[unit].b[5] * (size_t)s->columns];
}

const float* GetParameterSequence(const VXN_VTContext* vt, int unit) {
  const VXN_VTContourSet* s = &vt->sets[VXN_VT_SET_CONTOUR];
  return &s->values[(size_t)vt->units[unit].contour * (size_t)s->columns];
}

float GetJoinCost(const VXN_VTContext* vt, const VXN_VTPath* prev, const VXN_VTPath* path) {
  const int a = prev->candidate->diphone->right;
  const int b = path->candidate->diphone->left;
  return CalcF0Distance(GetF0Coef(vt, a), GetF0Coef(vt, b)) +
         CalcSlopeDistance(GetSlopeCoef(vt, a), GetSlopeCoef(vt, b));
}

int Hybrid_VTInitialise(VXN_VTContext* vt) {
  free_lattice(vt);
  if (vt->target_count <= 0) return 1;
  vt->lattice = (VXN_VTColumn*)VXN_calloc((size_t)vt->target_count, sizeof(VXN_VTColumn));
  if (!vt->lattice) return 0;
  for (int k = 0; k < vt->target_count; k++) {
    VXN_VTColumn* c = &vt->lattice[k];
    c->target = &vt->targets[k];
    c->prev = k > 0 ? &vt->lattice[k - 1] : NULL;
    c->next = k + 1 < vt->target_count ? &vt->lattice[k + 1] : NULL;
  }
  return 1;
}

int GetCandidate(VXN_VTContext* vt, VXN_VTTarget* target, VXN_VTColumn* column) {
  VXN_free(column->candidates);
  VXN_free(column->paths);
  column->candidates = NULL;
  column->paths = NULL;
  column->path_count = column->active = 0;
  const int P = vt->phone_count;
  if (!vt->diphones || target->left < 0 || target->right < 0 || target->left >= P ||
      target->right >= P)
    return 0;
  const size_t pair = (size_t)target->left * (size_t)P + (size_t)target->right;
  const int n = vt->diphone_counts[pair];
  if (n <= 0) return 0;
  std::vector<int> tenths((size_t)n);
  int count[6] = {0, 0, 0, 0, 0, n};
  int i = 0;
  for (const VXN_VTDiphone* e = &vt->diphones[pair]; e && e->left >= 0 && i < n; e = e->next) {
    tenths[(size_t)i] = target_tenths(vt, target, e);
    for (int k = 0; k < 5; k++)
      if (tenths[(size_t)i] <= kCutTenths[k]) count[k]++;
    i++;
  }
  int cut = kCutTenths[5], keep = n;
  for (int k = 0; k < 5; k++) {
    if (count[k] > kCutKeep && count[k + 1] > kCutNext) {
      cut = kCutTenths[k];
      keep = count[k];
      break;
    }
  }
  column->paths = (VXN_VTPath*)VXN_calloc((size_t)keep, sizeof(VXN_VTPath));
  column->candidates = (VXN_VTCandidate*)VXN_calloc((size_t)keep, sizeof(VXN_VTCandidate));
  if (!column->paths || !column->candidates) {
    VXN_free(column->paths);
    VXN_free(column->candidates);
    column->paths = NULL;
    column->candidates = NULL;
    return 0;
  }
  int made = 0;
  i = 0;
  for (const VXN_VTDiphone* e = &vt->diphones[pair]; e && e->left >= 0 && i < n; e = e->next, i++) {
    if (tenths[(size_t)i] > cut || made >= keep) continue;
    VXN_VTCandidate* c = &column->candidates[made];
    c->target_cost = (float)tenths[(size_t)i] / 10.0f;
    c->index = made;
    c->diphone = e;
    c->next = made + 1 < keep ? &column->candidates[made + 1] : NULL;
    VXN_VTPath* p = &column->paths[made];
    p->index = made;
    p->candidate = c;
    made++;
  }
  column->path_count = made;
  return made;
}

int Hybrid_VTSearch(VXN_VTContext* vt) {
  if (!vt->lattice) return 0;
  for (VXN_VTColumn* c = vt->lattice; c; c = c->next) {
    if (GetCandidate(vt, c->target, c) <= 0) return 0;
    if (!c->prev)
      first_column(vt, c);
    else
      later_column(vt, c);
  }
  return 1;
}

int FindBestPath(VXN_VTContext* vt) {
  VXN_free(vt->best_path);
  vt->best_path = NULL;
  const int D = vt->target_count;
  if (D <= 0 || !vt->lattice) return 0;
  const VXN_VTColumn* last = &vt->lattice[D - 1];
  const VXN_VTPath* best = NULL;
  for (int i = 0; i < last->path_count; i++) {
    const VXN_VTPath* p = &last->paths[i];
    if (p->cost < kNoBestPath && (!best || p->cost < best->cost)) best = p;
  }
  if (!best) return 0;
  vt->best_path = (VXN_VTPath*)VXN_calloc((size_t)D, sizeof(VXN_VTPath));
  if (!vt->best_path) return 0;
  const VXN_VTPath* p = best;
  for (int k = D - 1; k >= 0; k--) {
    if (!p) {  // a broken chain cannot happen with a filled lattice
      VXN_free(vt->best_path);
      vt->best_path = NULL;
      return 0;
    }
    vt->best_path[k] = *p;
    p = p->back;
  }
  return 1;
}

void DoLinearScalingLf0(const float* points, float* out, int n_points, int n_frames) {
  if (n_points <= 0 || n_frames <= 0) return;
  const float step = (float)n_points / (float)n_frames;
  for (int f = 0; f < n_frames; f++) {
    const float x = (float)f * step;
    int i = (int)floorf(x);
    if (i >= n_points) i = n_points - 1;
    const int j = i + 1 < n_points ? i + 1 : i;
    if (points[i] > 1.0f && points[j] > 1.0f)
      out[f] = points[j] * (x - (float)i) + points[i] * ((float)(i + 1) - x);
    else
      out[f] = 0.0f;
  }
}

void VXN_VT_prosody_step(VXN_VTContext* vt, VXN_SStreamSet* sss, VXN_Label* label) {
  Hybrid_close(vt);
  const int L = VXN_Label_get_size(label);
  const int n = sss->nstate;
  int lf0 = -1;
  for (int s = 0; s < sss->nstream && lf0 < 0; s++)
    if (sss->sstream[s].msd) lf0 = s;
  if (L < 2 || n <= 0 || lf0 < 0 || vt->phone_count <= 0 || !vt->diphones) return;
  const float* msd = sss->sstream[lf0].msd;

  // 1. Voiced labels.
  std::vector<int> voiced((size_t)L, 0);
  int last_voiced = -1;
  for (int i = 0; i < L; i++) {
    int count = 0;
    for (int s = 0; s < n; s++) count += msd[i * n + s] > 0.5f;
    voiced[(size_t)i] = count > 2;
    if (voiced[(size_t)i]) last_voiced = i;
  }

  // 2. Phone context as inventory indices.
  std::vector<const char*> strings((size_t)L);
  for (int i = 0; i < L; i++) strings[(size_t)i] = VXN_Label_get_string(label, i);
  std::vector<char> name_buffer((size_t)(2 * L + 6) * VXN_VT_NAME_SIZE);
  char(*names)[VXN_VT_NAME_SIZE] = (char(*)[VXN_VT_NAME_SIZE])name_buffer.data();
  std::vector<int> pos((size_t)L);
  int length = 0;
  if (!VXN_VT_phone_context(strings.data(), L, names, &length, pos.data())) {
    VXN_print(VXN_LEVEL_DEBUG, "Hybrid info : label %d has no phone or word number\n", length);
    return;
  }
  std::vector<int> seq((size_t)length);
  for (int k = 0; k < length; k++) {
    seq[(size_t)k] = PhonemeToIndex(vt->phone_names, vt->phone_count, names[k]);
    // "x" and "sp" only ever stand in the context, where an absent one just
    // never matches; a label's own phone must be known.
    if (seq[(size_t)k] < 0 && strcmp(names[k], "x") != 0 &&
        strcmp(names[k], "sp") != 0) {
      // No unit can stand for a phone the database has never heard: the
      // whole sentence keeps the model's log F0.
      VXN_print(VXN_LEVEL_DEBUG, "Hybrid info : phone %s is not in the database\n",
                names[k]);
      return;
    }
  }

  // 3. Targets.
  vt->target_count = L - 1;
  vt->targets = (VXN_VTTarget*)VXN_calloc((size_t)(L - 1), sizeof(VXN_VTTarget));
  if (!vt->targets) {
    vt->target_count = 0;
    return;
  }
  for (int k = 0; k < L - 1; k++) {
    const size_t a = (size_t)pos[(size_t)k], b = (size_t)pos[(size_t)k + 1];
    VXN_VTTarget* t = &vt->targets[k];
    t->left = seq[a];
    t->left_prev2 = seq[a - 2];
    t->left_prev = seq[a - 1];
    t->right = seq[b];
    t->right_next2 = seq[b + 2];
    t->right_next = seq[b + 1];
    t->left_voiced = voiced[(size_t)k];
    t->right_voiced = voiced[(size_t)k + 1];
  }

  // 4, 5. Search.
  if (!Hybrid_VTInitialise(vt) || !Hybrid_VTSearch(vt) || !FindBestPath(vt)) {
    VXN_print(VXN_LEVEL_DEBUG, "Hybrid info : no unit path, model log F0 for this sentence\n");
    Hybrid_close(vt);
    return;
  }

  VXN_print(VXN_LEVEL_DEBUG, "Hybrid info : unit path over %d diphones\n", vt->target_count);

  // 6, 7. Contour points.
  std::vector<float> p((size_t)L * 5, 0.0f);
  place_contours(vt, p, L);
  if (sss->sentence_type == 'A') statement_fall(p, L, last_voiced);

  // 8. Frame target.
  const int T = sss->total_frame;
  if (T <= 0) return;
  float* target = (float*)VXN_calloc((size_t)T, sizeof(float));
  if (!target) return;
  int t = 0;
  for (int i = 0; i < L; i++) {
    int frames = 0;
    for (int s = 0; s < n; s++) frames += sss->duration[i * n + s];
    if (frames > 0 && t + frames <= T) DoLinearScalingLf0(&p[(size_t)i * 5], target + t, 5, frames);
    for (int s = 0; s < n; s++) {
      const int st = i * n + s;
      for (int f = 0; f < sss->duration[st] && t < T; f++, t++)
        if (target[t] < 1.0f) target[t] = msd[st] > 0.5f ? sss->sstream[lf0].mean[st][0] : 0.0f;
    }
  }
  VXN_free(vt->lf0_target);
  vt->lf0_target = target;
  vt->lf0_target_count = T;
}

const float* VXN_VT_get_lf0_target(const VXN_VTContext* vt, int* count) {
  if (count) *count = vt->lf0_target_count;
  return vt->lf0_target;
}

int VXN_VT_set_lf0_target(VXN_VTContext* vt, const float* values, int count) {
  VXN_free(vt->lf0_target);
  vt->lf0_target = NULL;
  vt->lf0_target_count = 0;
  if (!values || count <= 0) return 1;
  vt->lf0_target = (float*)VXN_calloc((size_t)count, sizeof(float));
  if (!vt->lf0_target) return 0;
  memcpy(vt->lf0_target, values, (size_t)count * sizeof(float));
  vt->lf0_target_count = count;
  return 1;
}

void Hybrid_close(VXN_VTContext* vt) {
  free_lattice(vt);
  VXN_free(vt->best_path);
  VXN_free(vt->lf0_target);
  VXN_free(vt->targets);
  vt->best_path = NULL;
  vt->lf0_target = NULL;
  vt->lf0_target_count = 0;
  vt->targets = NULL;
  vt->target_count = 0;
}

