#include "tools/voicebuild/train/VXN_trainer.h"

#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "engine/VXN_model.h"
#include "tools/voicebuild/analysis/VXN_wav.h"
#include "tools/voicebuild/train/VXN_cluster.h"
#include "tools/voicebuild/train/VXN_hmm.h"
#include "tools/voicebuild/train/VXN_mlpg.h"

namespace vxn {
namespace train {

namespace {

const double kShift = 0.005;
const char* const kStreamNames[kStreams] = {"mel-cepstrum", "log F0", "aperiodicity"};

double now() {
  struct timeval tv;
  gettimeofday(&tv, nullptr);
  return tv.tv_sec + tv.tv_usec * 1e-6;
}

bool is_pause_phone(const std::string& p) { return p == "pau" || p == "sil"; }

// ---------------------------------------------------------------- threads

void parallel_for(std::size_t n, int jobs, const std::function<void(std::size_t)>& fn,
                  const TrainOptions& opt, const std::string& stage) {
  std::atomic<std::size_t> next(0), done(0);
  std::mutex progress_lock;
  auto worker = [&]() {
    for (;;) {
      const std::size_t i = next++;
      if (i >= n) return;
      fn(i);
      const std::size_t d = ++done;
      if (opt.progress) {
        std::lock_guard<std::mutex> g(progress_lock);
        opt.progress(stage, d, n);
      }
    }
  };
  const int threads = std::max(1, std::min<int>(jobs, (int)n));
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
}

// ---------------------------------------------------------------- features

const std::uint32_t kCacheMagic = 0x33464e56;  // "VNF3"

bool load_cache(const std::string& path, analysis::Features* f) {
  FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return false;
  std::uint32_t magic = 0;
  int frames = 0;
  bool ok = std::fread(&magic, 4, 1, fp) == 1 && magic == kCacheMagic &&
            std::fread(&frames, 4, 1, fp) == 1 && frames > 0 && frames < 10000000;
  if (ok) {
    f->frames = frames;
    f->mcep.resize((std::size_t)frames * 35);
    f->lf0.resize(frames);
    f->bap.resize((std::size_t)frames * 5);
    ok = std::fread(f->mcep.data(), 4, f->mcep.size(), fp) == f->mcep.size() &&
         std::fread(f->lf0.data(), 4, f->lf0.size(), fp) == f->lf0.size() &&
         std::fread(f->bap.data(), 4, f->bap.size(), fp) == f->bap.size();
  }
  std::fclose(fp);
  return ok;
}

void save_cache(const std::string& path, const analysis::Features& f) {
  const std::string tmp = path + ".tmp";
  FILE* fp = std::fopen(tmp.c_str(), "wb");
  if (!fp) return;
  bool ok = std::fwrite(&kCacheMagic, 4, 1, fp) == 1 && std::fwrite(&f.frames, 4, 1, fp) == 1 &&
            std::fwrite(f.mcep.data(), 4, f.mcep.size(), fp) == f.mcep.size() &&
            std::fwrite(f.lf0.data(), 4, f.lf0.size(), fp) == f.lf0.size() &&
            std::fwrite(f.bap.data(), 4, f.bap.size(), fp) == f.bap.size();
  ok = std::fclose(fp) == 0 && ok;
  if (ok) std::rename(tmp.c_str(), path.c_str());
  else std::remove(tmp.c_str());
}

bool newer(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_mtime >= sb.st_mtime;
}

// ---------------------------------------------------------------- utterances

struct Utt {
  const CorpusUtterance* src = nullptr;
  analysis::Features feat;
  std::vector<int> context, mono;
  std::vector<int> first, last;
};

void label_band(const std::vector<TimedLabel>& labels, int frames, int margin,
                std::vector<int>* first, std::vector<int>* last) {
  const std::size_t n = labels.size();
  first->assign(n, 0);
  last->assign(n, frames - 1);
  if (n == 0 || labels[0].start_s < 0.0) return;
  for (std::size_t i = 0; i < n; ++i) {
    const int f = (int)std::floor(labels[i].start_s / kShift + 0.5) - margin;
    const int l = (int)std::floor(labels[i].end_s / kShift + 0.5) - 1 + margin;
    (*first)[i] = std::clamp(f, 0, frames - 1);
    (*last)[i] = std::clamp(std::max(l, f), 0, frames - 1);
  }
  (*first)[0] = 0;
  (*last)[n - 1] = frames - 1;
}

// Adds one stream's Stats to flat statistics (VXN_cluster.h layouts).
void flatten(const Stats& s, int k, float* out) {
  const int V = kWidth[k];
  if (k == kLf0) {
    out[0] += (float)s.occ;
    out[1] += (float)s.occ_unvoiced;
    for (int d = 0; d < V; ++d) {
      out[2 + d] += (float)s.occ_dim[d];
      out[2 + V + d] += (float)s.sum[d];
      out[2 + 2 * V + d] += (float)s.sq[d];
    }
    return;
  }
  out[0] += (float)s.occ;
  for (int d = 0; d < V; ++d) {
    out[1 + d] += (float)s.sum[d];
    out[1 + V + d] += (float)s.sq[d];
  }
}

Stats unflatten(const std::vector<double>& f, int k) {
  const int V = kWidth[k];
  Stats s;
  s.resize(V, k == kLf0);
  if (k == kLf0) {
    s.occ = f[0];
    s.occ_unvoiced = f[1];
    for (int d = 0; d < V; ++d) {
      s.occ_dim[d] = f[2 + d];
      s.sum[d] = f[2 + V + d];
      s.sq[d] = f[2 + 2 * V + d];
    }
  } else {
    s.occ = f[0];
    for (int d = 0; d < V; ++d) {
      s.sum[d] = f[1 + d];
      s.sq[d] = f[1 + V + d];
    }
  }
  return s;
}

// Walks a tree over a context's value indexes; 0-based leaf.
int walk(const std::vector<voice::Node>& nodes, const std::vector<ClusterQuestion>& questions,
         const std::vector<std::vector<char>>& member, const std::vector<int>& values) {
  if (nodes.empty()) return 0;
  std::map<int, int> record;
  for (std::size_t i = 0; i < nodes.size(); ++i) record[nodes[i].id] = (int)i;
  int r = 0;
  for (;;) {
    const voice::Node& n = nodes[r];
    const ClusterQuestion& q = questions[n.question];
    const bool yes = member[n.question][values[q.field]] != 0;
    const int child = yes ? n.yes : n.no;
    if (yes ? n.yes_is_leaf : n.no_is_leaf) return child - 1;
    r = record.at(child);
  }
}

}  // namespace

bool utterance_features(const CorpusUtterance& u, const analysis::AnalysisOptions& options,
                        const std::string& cache_dir, double tilt_limit, analysis::Features* out,
                        int* limited, std::string* error) {
  auto finish = [&]() {
    const int n = tilt_limit > 0.0 ? analysis::limit_tilt(out->mcep.data(), out->frames, 34,
                                                          options.mcep.alpha, tilt_limit)
                                   : 0;
    if (limited) *limited = n;
    return true;
  };
  const std::string cache = cache_dir.empty() ? std::string() : cache_dir + "/" + u.id + ".feat";
  if (!cache.empty() && newer(cache, u.wav_path) && load_cache(cache, out)) return finish();
  analysis::Wav wav;
  if (!analysis::read_wav(u.wav_path, &wav, error)) return false;
  if (!analysis::analyse_recording(wav.samples, wav.rate, options, out, error)) {
    if (error) *error = u.wav_path + ": " + *error;
    return false;
  }
  if (out->frames < 1) {
    if (error) *error = "analyse: " + u.wav_path + ": no frames";
    return false;
  }
  if (!cache.empty()) save_cache(cache, *out);
  return finish();
}

bool train_voice(const std::vector<CorpusUtterance>& corpus, const TrainOptions& opt,
                 voice::Voice* voice_out, TrainReport* report, std::vector<MeasureUtterance>* held_out,
                 std::string* error) {
  *report = TrainReport();
  const int jobs = std::max(1, opt.jobs);
  double t0 = now();
  auto stage_done = [&](const std::string& name, double ll, const std::string& notes) {
    report->stages.push_back({name, now() - t0, ll, notes});
    t0 = now();
  };

  // ------------------------------------------------------------ analysis
  std::vector<Utt> all(corpus.size());
  std::vector<std::string> errors(corpus.size());
  std::vector<int> limited(corpus.size(), 0);
  parallel_for(corpus.size(), jobs, [&](std::size_t i) {
    all[i].src = &corpus[i];
    if (!utterance_features(corpus[i], opt.analysis, opt.cache_dir, opt.tilt_limit, &all[i].feat,
                            &limited[i], &errors[i]))
      all[i].feat.frames = 0;
  }, opt, "analysis");
  long frames_all = 0, frames_limited = 0;
  for (std::size_t i = 0; i < corpus.size(); ++i) {
    if (all[i].feat.frames == 0) {
      if (error) *error = errors[i];
      return false;
    }
    frames_all += all[i].feat.frames;
    frames_limited += limited[i];
  }
  char note[160];
  std::snprintf(note, sizeof(note), "%zu recordings; spectral tilt limited in %.1f%% of the frames",
                corpus.size(), frames_all ? 100.0 * frames_limited / frames_all : 0.0);
  stage_done("analysis", 0.0, note);

  // ------------------------------------------------------------ contexts
  std::vector<Utt*> train, test;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const bool hold = opt.held_out_every > 0 && (int)(i % opt.held_out_every) == opt.held_out_every - 1;
    (hold ? test : train).push_back(&all[i]);
  }
  if (train.empty()) {
    if (error) *error = "train: no training utterances";
    return false;
  }
  std::vector<Context> contexts;
  std::unordered_map<std::string, int> context_id;
  std::map<std::string, int> mono_id;
  std::vector<std::string> monophones;
  for (Utt& u : all) {
    for (const TimedLabel& l : u.src->labels) {
      auto it = context_id.find(l.label);
      int id;
      if (it == context_id.end()) {
        Context c;
        if (!parse_context(l.label, &c, error)) {
          if (error) *error = u.src->id + ": " + *error;
          return false;
        }
        id = (int)contexts.size();
        context_id[l.label] = id;
        contexts.push_back(std::move(c));
      } else {
        id = it->second;
      }
      u.context.push_back(id);
      const std::string& p = contexts[id].fields[2];
      if (!mono_id.count(p)) {
        mono_id[p] = (int)monophones.size();
        monophones.push_back(p);
      }
      u.mono.push_back(mono_id[p]);
    }
    label_band(u.src->labels, u.feat.frames, opt.margin_frames, &u.first, &u.last);
  }
  std::vector<char> in_training(contexts.size(), 0);
  std::vector<Context> train_contexts;
  for (Utt* u : train)
    for (int c : u->context)
      if (!in_training[c]) {
        in_training[c] = 1;
        train_contexts.push_back(contexts[c]);
      }
  const std::vector<Question> questions = make_questions(train_contexts, opt.classes);
  {
    std::vector<Context> sample;
    const std::size_t step = std::max<std::size_t>(1, train_contexts.size() / 1000);
    for (std::size_t i = 0; i < train_contexts.size(); i += step) sample.push_back(train_contexts[i]);
    if (!check_questions(questions, sample, error)) return false;
  }
  // Value dictionaries and the questions as value sets.
  std::vector<std::map<std::string, int>> dict(kFields);
  std::vector<std::vector<int>> values(contexts.size(), std::vector<int>(kFields));
  for (std::size_t c = 0; c < contexts.size(); ++c)
    for (int f = 0; f < kFields; ++f) {
      auto& d = dict[f];
      auto it = d.find(contexts[c].fields[f]);
      if (it == d.end()) it = d.emplace(contexts[c].fields[f], (int)d.size()).first;
      values[c][f] = it->second;
    }
  std::vector<int> values_per_field(kFields);
  for (int f = 0; f < kFields; ++f) values_per_field[f] = (int)dict[f].size();
  std::vector<ClusterQuestion> cq(questions.size());
  std::vector<std::vector<char>> member(questions.size());
  for (std::size_t q = 0; q < questions.size(); ++q) {
    cq[q].field = questions[q].field;
    member[q].assign(values_per_field[cq[q].field], 0);
    for (const std::string& v : questions[q].values) {
      const int idx = dict[cq[q].field].at(v);
      cq[q].members.push_back(idx);
      member[q][idx] = 1;
    }
  }
  report->train_utterances = (int)train.size();
  report->held_out_utterances = (int)test.size();
  report->contexts = (int)train_contexts.size();
  report->questions = (int)questions.size();
  report->monophones = (int)monophones.size();
  for (Utt* u : train) report->train_frames += u->feat.frames;
  stage_done("contexts and questions", 0.0,
             std::to_string(train_contexts.size()) + " contexts, " +
                 std::to_string(monophones.size()) + " phones, " +
                 std::to_string(questions.size()) + " questions");

  // ------------------------------------------------------------ global statistics
  std::vector<Stats> global(kStreams);
  for (int k = 0; k < kStreams; ++k) global[k].resize(kWidth[k], k == kLf0);
  for (Utt* u : train) {
    Observations o;
    make_observations(u->feat, &o);
    for (int t = 0; t < o.frames; ++t)
      for (int k = 0; k < kStreams; ++k) {
        const float* x = &o.x[k][(std::size_t)t * kWidth[k]];
        Stats& g = global[k];
        if (k == kLf0) {
          if (!o.voiced[t]) {
            g.occ_unvoiced += 1.0;
            continue;
          }
          g.occ += 1.0;
          for (int d = 0; d < 3; ++d)
            if (o.lf0_mask[t] & (1u << d)) {
              g.occ_dim[d] += 1.0;
              g.sum[d] += x[d];
              g.sq[d] += (double)x[d] * x[d];
            }
          continue;
        }
        g.occ += 1.0;
        for (int d = 0; d < kWidth[k]; ++d) {
          g.sum[d] += x[d];
          g.sq[d] += (double)x[d] * x[d];
        }
      }
  }
  Gaussian global_pdf[kStreams];
  std::vector<double> floors[kStreams];
  for (int k = 0; k < kStreams; ++k) {
    Gaussian dummy;
    dummy.mean.assign(kWidth[k], 0.0);
    dummy.vari.assign(kWidth[k], 1.0);
    dummy.weight = 0.5;
    estimate(global[k], k == kLf0, std::vector<double>(kWidth[k], 1e-6), dummy, &global_pdf[k]);
    floors[k].resize(kWidth[k]);
    for (int d = 0; d < kWidth[k]; ++d) floors[k][d] = std::max(0.01 * global_pdf[k].vari[d], 1e-6);
  }

  // ------------------------------------------------------------ passes
  auto run_pass = [&](const std::function<void(const Utt&, Composite*)>& build,
                      const Pools& pools, const std::function<void(const Utt&, const PassResult&)>& sink,
                      const std::string& stage, double* ll_per_frame) {
    std::mutex lock;
    double ll = 0.0;
    long frames = 0;
    int skipped = 0;
    parallel_for(train.size(), jobs, [&](std::size_t i) {
      const Utt& u = *train[i];
      Composite c;
      build(u, &c);
      Observations o;
      make_observations(u.feat, &o);
      PassResult r;
      const bool ok = forward_backward(c, pools, o, &r);
      std::lock_guard<std::mutex> g(lock);
      if (!ok) {
        ++skipped;
        return;
      }
      ll += r.log_likelihood;
      frames += o.frames;
      sink(u, r);
    }, opt, stage);
    *ll_per_frame = frames ? ll / frames : 0.0;
    report->skipped_utterances = skipped;
    return skipped;
  };

  // ------------------------------------------------------------ monophones
  const int M = (int)monophones.size();
  Pools mono;
  std::vector<double> mono_loop(M * kStates, 0.8);
  bool timed = true;
  for (Utt* u : train) timed = timed && !u->src->labels.empty() && u->src->labels[0].start_s >= 0.0;
  {
    std::vector<Stats> acc[kStreams];
    std::vector<double> seg_frames(M * kStates, 0.0), seg_count(M * kStates, 0.0);
    for (int k = 0; k < kStreams; ++k) {
      acc[k].resize(M * kStates);
      for (Stats& s : acc[k]) s.resize(kWidth[k], k == kLf0);
    }
    if (timed) {
      // Each label's frames split evenly over its five states.
      for (Utt* u : train) {
        Observations o;
        make_observations(u->feat, &o);
        for (std::size_t i = 0; i < u->src->labels.size(); ++i) {
          const int a = std::clamp((int)std::floor(u->src->labels[i].start_s / kShift + 0.5), 0, o.frames);
          const int b = std::clamp((int)std::floor(u->src->labels[i].end_s / kShift + 0.5), a, o.frames);
          for (int j = 0; j < kStates; ++j) {
            const int s0 = a + (b - a) * j / kStates, s1 = a + (b - a) * (j + 1) / kStates;
            const int slot = u->mono[i] * kStates + j;
            seg_frames[slot] += s1 - s0;
            seg_count[slot] += 1.0;
            for (int t = s0; t < s1; ++t)
              for (int k = 0; k < kStreams; ++k) {
                Stats& st = acc[k][slot];
                const float* x = &o.x[k][(std::size_t)t * kWidth[k]];
                if (k == kLf0) {
                  if (!o.voiced[t]) {
                    st.occ_unvoiced += 1.0;
                    continue;
                  }
                  st.occ += 1.0;
                  for (int d = 0; d < 3; ++d)
                    if (o.lf0_mask[t] & (1u << d)) {
                      st.occ_dim[d] += 1.0;
                      st.sum[d] += x[d];
                      st.sq[d] += (double)x[d] * x[d];
                    }
                  continue;
                }
                st.occ += 1.0;
                for (int d = 0; d < kWidth[k]; ++d) {
                  st.sum[d] += x[d];
                  st.sq[d] += (double)x[d] * x[d];
                }
              }
          }
        }
      }
    }
    for (int k = 0; k < kStreams; ++k) {
      mono.pdfs[k].resize(M * kStates);
      for (int s = 0; s < M * kStates; ++s) estimate(acc[k][s], k == kLf0, floors[k], global_pdf[k], &mono.pdfs[k][s]);
    }
    for (int s = 0; s < M * kStates; ++s) {
      const double d = seg_count[s] > 0.0 ? seg_frames[s] / seg_count[s] : 3.0;
      mono_loop[s] = std::clamp(1.0 - 1.0 / std::max(d, 1.0), 0.05, 0.95);
    }
    stage_done("monophone initialisation", 0.0,
               timed ? "from the corpus alignments" : "flat start (no alignments)");
  }
  auto build_mono = [&](const Utt& u, Composite* c) {
    c->states.resize(u.mono.size() * kStates);
    for (std::size_t i = 0; i < u.mono.size(); ++i)
      for (int j = 0; j < kStates; ++j) {
        StateModel& m = c->states[i * kStates + j];
        for (int k = 0; k < kStreams; ++k) m.pdf[k] = u.mono[i] * kStates + j;
        m.self_loop = mono_loop[u.mono[i] * kStates + j];
      }
    c->first = u.first;
    c->last = u.last;
  };
  for (int it = 0; it < opt.mono_iterations; ++it) {
    std::vector<Stats> acc[kStreams];
    for (int k = 0; k < kStreams; ++k) {
      acc[k].resize(M * kStates);
      for (Stats& s : acc[k]) s.resize(kWidth[k], k == kLf0);
    }
    std::vector<double> stay(M * kStates, 0.0), occ(M * kStates, 0.0);
    double ll = 0.0;
    const int skipped = run_pass(build_mono, mono, [&](const Utt& u, const PassResult& r) {
      for (std::size_t s = 0; s < r.frames.size(); ++s) {
        const int slot = u.mono[s / kStates] * kStates + (int)(s % kStates);
        for (int k = 0; k < kStreams; ++k) acc[k][slot].add(r.stats[k][s]);
        stay[slot] += r.self_loops[s];
        occ[slot] += r.frames[s];
      }
    }, "monophones " + std::to_string(it + 1), &ll);
    if (skipped == (int)train.size()) {
      if (error) *error = "train: no utterance fits its labels (too few frames for five states a label?)";
      return false;
    }
    for (int k = 0; k < kStreams; ++k)
      for (int s = 0; s < M * kStates; ++s) {
        Gaussian g;
        estimate(acc[k][s], k == kLf0, floors[k], mono.pdfs[k][s], &g);
        mono.pdfs[k][s] = g;
      }
    for (int s = 0; s < M * kStates; ++s)
      if (occ[s] > 1.0) mono_loop[s] = std::clamp(stay[s] / occ[s], 0.05, 0.95);
    stage_done("embedded re-estimation " + std::to_string(it + 1), ll,
               skipped ? std::to_string(skipped) + " utterances without a path" : "");
  }

  // ------------------------------------------------------------ context statistics
  const std::size_t C = contexts.size();
  std::vector<float> cstats[kStreams][kStates];
  for (int k = 0; k < kStreams; ++k)
    for (int j = 0; j < kStates; ++j)
      cstats[k][j].assign(C * stat_width(k == kLf0 ? StatKind::kMsd : StatKind::kGaussian, kWidth[k]), 0.0f);
  {
    double ll = 0.0;
    run_pass(build_mono, mono, [&](const Utt& u, const PassResult& r) {
      for (std::size_t s = 0; s < r.frames.size(); ++s) {
        const int c = u.context[s / kStates], j = (int)(s % kStates);
        for (int k = 0; k < kStreams; ++k) {
          const int w = stat_width(k == kLf0 ? StatKind::kMsd : StatKind::kGaussian, kWidth[k]);
          flatten(r.stats[k][s], k, &cstats[k][j][(std::size_t)c * w]);
        }
      }
    }, "context statistics", &ll);
    stage_done("context statistics", ll, "");
  }

  // ------------------------------------------------------------ clustering
  struct TreeOut {
    ClusterResult result;
    std::vector<int> leaf_of_context;
    std::vector<Gaussian> pdfs;
  };
  TreeOut trees[kStreams][kStates];
  {
    std::vector<std::pair<int, int>> jobs_list;
    for (int k = 0; k < kStreams; ++k)
      for (int j = 0; j < kStates; ++j) jobs_list.push_back({k, j});
    parallel_for(jobs_list.size(), jobs, [&](std::size_t n) {
      const int k = jobs_list[n].first, j = jobs_list[n].second;
      const StatKind kind = k == kLf0 ? StatKind::kMsd : StatKind::kGaussian;
      const int w = stat_width(kind, kWidth[k]);
      ClusterInput in;
      in.kind = kind;
      in.dims = kWidth[k];
      in.values_per_field = values_per_field;
      in.floor = floors[k];
      in.mdl_factor = opt.mdl_factor;
      in.min_occupancy = 10.0;
      for (std::size_t c = 0; c < C; ++c) {
        if (!in_training[c]) continue;
        const float* s = &cstats[k][j][c * w];
        const double occ = kind == StatKind::kMsd ? s[0] + s[1] : s[0];
        if (occ <= 0.0) continue;
        in.item_values.push_back(values[c]);
        in.stats.insert(in.stats.end(), s, s + w);
      }
      TreeOut& out = trees[k][j];
      grow_tree(in, cq, &out.result);
      out.leaf_of_context.resize(C);
      for (std::size_t c = 0; c < C; ++c) out.leaf_of_context[c] = walk(out.result.nodes, cq, member, values[c]);
      out.pdfs.resize(out.result.leaf_stats.size());
      for (std::size_t l = 0; l < out.pdfs.size(); ++l)
        estimate(unflatten(out.result.leaf_stats[l], k), k == kLf0, floors[k], global_pdf[k], &out.pdfs[l]);
    }, opt, "clustering");
    int total_leaves = 0;
    for (int k = 0; k < kStreams; ++k)
      for (int j = 0; j < kStates; ++j) {
        const TreeOut& t = trees[k][j];
        TreeReport tr;
        tr.name = std::string(kStreamNames[k]) + " state " + std::to_string(j + 2);
        tr.leaves = (int)t.pdfs.size();
        tr.gain_per_frame = report->train_frames
                                ? (t.result.log_likelihood_leaves - t.result.log_likelihood_root) / report->train_frames
                                : 0.0;
        report->trees.push_back(tr);
        total_leaves += tr.leaves;
      }
    stage_done("clustering", 0.0, std::to_string(total_leaves) + " leaves in 15 trees");
  }
  for (int k = 0; k < kStreams; ++k)
    for (int j = 0; j < kStates; ++j) std::vector<float>().swap(cstats[k][j]);

  // ------------------------------------------------------------ tied models
  Pools tied;
  int offset[kStreams][kStates];
  for (int k = 0; k < kStreams; ++k) {
    for (int j = 0; j < kStates; ++j) {
      offset[k][j] = (int)tied.pdfs[k].size();
      tied.pdfs[k].insert(tied.pdfs[k].end(), trees[k][j].pdfs.begin(), trees[k][j].pdfs.end());
    }
  }
  auto build_tied = [&](const Utt& u, Composite* c) {
    c->states.resize(u.context.size() * kStates);
    for (std::size_t i = 0; i < u.context.size(); ++i)
      for (int j = 0; j < kStates; ++j) {
        StateModel& m = c->states[i * kStates + j];
        for (int k = 0; k < kStreams; ++k)
          m.pdf[k] = offset[k][j] + trees[k][j].leaf_of_context[u.context[i]];
        m.self_loop = mono_loop[u.mono[i] * kStates + j];
      }
    c->first = u.first;
    c->last = u.last;
  };
  std::vector<float> dstats(C * 11, 0.0f);
  std::vector<std::vector<double>> gv[kStreams];
  for (int it = 0; it < std::max(1, opt.tied_iterations); ++it) {
    const bool last = it + 1 == std::max(1, opt.tied_iterations);
    std::vector<Stats> acc[kStreams];
    for (int k = 0; k < kStreams; ++k) {
      acc[k].resize(tied.pdfs[k].size());
      for (Stats& s : acc[k]) s.resize(kWidth[k], k == kLf0);
    }
    double ll = 0.0;
    run_pass(build_tied, tied, [&](const Utt& u, const PassResult& r) {
      for (std::size_t s = 0; s < r.frames.size(); ++s) {
        const int i = (int)(s / kStates), j = (int)(s % kStates);
        for (int k = 0; k < kStreams; ++k)
          acc[k][offset[k][j] + trees[k][j].leaf_of_context[u.context[i]]].add(r.stats[k][s]);
      }
      if (!last) return;
      for (std::size_t i = 0; i < u.context.size(); ++i) {
        float* d = &dstats[(std::size_t)u.context[i] * 11];
        d[0] += 1.0f;
        for (int j = 0; j < kStates; ++j) {
          const double f = r.frames[i * kStates + j];
          d[1 + j] += (float)f;
          d[6 + j] += (float)(f * f);
        }
      }
      // Global variance of the speech frames (the frames most likely in a
      // label that is not a pause).
      std::vector<double> sum[kStreams], sq[kStreams];
      long n[kStreams] = {0, 0, 0};
      for (int k = 0; k < kStreams; ++k) {
        sum[k].assign(kStatic[k], 0.0);
        sq[k].assign(kStatic[k], 0.0);
      }
      for (int t = 0; t < u.feat.frames; ++t) {
        if (is_pause_phone(contexts[u.context[r.best_label[t]]].fields[2])) continue;
        for (int d = 0; d < 35; ++d) {
          const double x = u.feat.mcep[(std::size_t)t * 35 + d];
          sum[0][d] += x;
          sq[0][d] += x * x;
        }
        ++n[0];
        if (u.feat.lf0[t] > analysis::kUnvoiced * 0.5f) {
          sum[1][0] += u.feat.lf0[t];
          sq[1][0] += (double)u.feat.lf0[t] * u.feat.lf0[t];
          ++n[1];
        }
        for (int d = 0; d < 5; ++d) {
          const double x = u.feat.bap[(std::size_t)t * 5 + d];
          sum[2][d] += x;
          sq[2][d] += x * x;
        }
        ++n[2];
      }
      for (int k = 0; k < kStreams; ++k) {
        if (n[k] < 2) continue;
        std::vector<double> v(kStatic[k]);
        for (int d = 0; d < kStatic[k]; ++d) {
          const double m = sum[k][d] / n[k];
          v[d] = std::max(sq[k][d] / n[k] - m * m, 0.0);
        }
        gv[k].push_back(v);
      }
    }, "tied models " + std::to_string(it + 1), &ll);
    for (int k = 0; k < kStreams; ++k)
      for (std::size_t p = 0; p < tied.pdfs[k].size(); ++p) {
        Gaussian g;
        estimate(acc[k][p], k == kLf0, floors[k], tied.pdfs[k][p], &g);
        tied.pdfs[k][p] = g;
      }
    stage_done("tied re-estimation " + std::to_string(it + 1), ll, "");
  }

  // ------------------------------------------------------------ durations
  ClusterResult dur;
  std::vector<Gaussian> dur_pdfs;
  {
    ClusterInput in;
    in.kind = StatKind::kGaussian;
    in.dims = kStates;
    in.values_per_field = values_per_field;
    in.mdl_factor = opt.mdl_factor;
    in.min_occupancy = 5.0;
    Stats all_d;
    all_d.resize(kStates, false);
    for (std::size_t c = 0; c < C; ++c) {
      const float* d = &dstats[c * 11];
      if (!in_training[c] || d[0] <= 0.0f) continue;
      in.item_values.push_back(values[c]);
      in.stats.insert(in.stats.end(), d, d + 11);
      all_d.occ += d[0];
      for (int j = 0; j < kStates; ++j) {
        all_d.sum[j] += d[1 + j];
        all_d.sq[j] += d[6 + j];
      }
    }
    Gaussian g_all, dummy;
    dummy.mean.assign(kStates, 3.0);
    dummy.vari.assign(kStates, 1.0);
    estimate(all_d, false, std::vector<double>(kStates, 1e-2), dummy, &g_all);
    in.floor.resize(kStates);
    for (int j = 0; j < kStates; ++j) in.floor[j] = std::max(0.01 * g_all.vari[j], 1e-2);
    grow_tree(in, cq, &dur);
    dur_pdfs.resize(dur.leaf_stats.size());
    for (std::size_t l = 0; l < dur_pdfs.size(); ++l) {
      Stats s;
      s.resize(kStates, false);
      s.occ = dur.leaf_stats[l][0];
      for (int j = 0; j < kStates; ++j) {
        s.sum[j] = dur.leaf_stats[l][1 + j];
        s.sq[j] = dur.leaf_stats[l][6 + j];
      }
      estimate(s, false, in.floor, g_all, &dur_pdfs[l]);
    }
    TreeReport tr;
    tr.name = "duration";
    tr.leaves = (int)dur_pdfs.size();
    const double instances = all_d.occ > 0.0 ? all_d.occ : 1.0;
    tr.gain_per_frame = (dur.log_likelihood_leaves - dur.log_likelihood_root) / instances;
    report->trees.push_back(tr);
    stage_done("duration clustering", 0.0,
               std::to_string(dur_pdfs.size()) + " leaves over " +
                   std::to_string((long)all_d.occ) + " phone instances");
  }

  // ------------------------------------------------------------ the voice
  voice::Voice v;
  std::map<int, int> used;  // question -> index in the voice
  auto remap = [&](std::vector<voice::Node> nodes) {
    for (voice::Node& n : nodes) {
      auto it = used.find(n.question);
      if (it == used.end()) {
        it = used.emplace(n.question, (int)v.questions.size()).first;
        v.questions.push_back({questions[n.question].name, questions[n.question].patterns});
      }
      n.question = it->second;
    }
    return nodes;
  };
  for (int k = 0; k < kStreams; ++k) {
    voice::Stream& s = v.streams[k];
    s.vector_length = kWidth[k];
    s.msd = k == kLf0;
    for (int j = 0; j < kStates; ++j) {
      voice::Tree t;
      t.state = j + 2;
      t.nodes = remap(trees[k][j].result.nodes);
      t.pdf_count = (int)trees[k][j].pdfs.size();
      s.trees.push_back(t);
      std::vector<voice::Pdf> pdfs;
      for (int l = 0; l < t.pdf_count; ++l) {
        const Gaussian& g = tied.pdfs[k][offset[k][j] + l];
        voice::Pdf p;
        p.mean.assign(g.mean.begin(), g.mean.end());
        p.vari.assign(g.vari.begin(), g.vari.end());
        p.msd = (float)g.weight;
        pdfs.push_back(p);
      }
      s.pdfs.push_back(pdfs);
    }
  }
  v.duration.vector_length = kStates;
  voice::Tree dt;
  dt.state = 2;
  dt.nodes = remap(dur.nodes);
  dt.pdf_count = (int)dur_pdfs.size();
  v.duration.trees.push_back(dt);
  std::vector<voice::Pdf> dp;
  for (const Gaussian& g : dur_pdfs) {
    voice::Pdf p;
    p.mean.assign(g.mean.begin(), g.mean.end());
    p.vari.assign(g.vari.begin(), g.vari.end());
    dp.push_back(p);
  }
  v.duration.pdfs.push_back(dp);
  for (int k = 0; k < kStreams; ++k) {
    if (gv[k].size() < 2) continue;
    voice::GvStream& g = v.gv[k];
    g.present = true;
    g.mean.assign(kStatic[k], 0.0f);
    g.vari.assign(kStatic[k], 0.0f);
    for (int d = 0; d < kStatic[k]; ++d) {
      double s = 0.0, s2 = 0.0;
      for (const auto& x : gv[k]) {
        s += x[d];
        s2 += x[d] * x[d];
      }
      const double m = s / gv[k].size();
      g.mean[d] = (float)m;
      g.vari[d] = (float)std::max(s2 / gv[k].size() - m * m, 1e-8);
    }
  }
  stage_done("global variance", 0.0, std::to_string(gv[0].size()) + " utterances");
  *voice_out = std::move(v);
  if (held_out) {
    held_out->clear();
    for (Utt* u : test) {
      MeasureUtterance m;
      m.id = u->src->id;
      m.labels = u->src->labels;
      m.features = u->feat;
      held_out->push_back(std::move(m));
    }
  }
  return true;
}

// ---------------------------------------------------------------- measuring

namespace {

int voice_leaf(const voice::Voice& v, const voice::Tree& t, const char* label) {
  if (t.nodes.empty()) return 0;
  std::map<int, int> record;
  for (std::size_t i = 0; i < t.nodes.size(); ++i) record[t.nodes[i].id] = (int)i;
  int r = 0;
  for (;;) {
    const voice::Node& n = t.nodes[r];
    bool yes = false;
    for (const std::string& p : v.questions[n.question].patterns)
      if (VXN_pattern_match(label, p.c_str())) {
        yes = true;
        break;
      }
    const int child = yes ? n.yes : n.no;
    if (yes ? n.yes_is_leaf : n.no_is_leaf) return child - 1;
    r = record.at(child);
  }
}

Gaussian to_gaussian(const voice::Pdf& p) {
  Gaussian g;
  g.mean.assign(p.mean.begin(), p.mean.end());
  g.vari.assign(p.vari.begin(), p.vari.end());
  for (double& x : g.vari) x = std::max(x, 1e-8);
  g.weight = p.msd;
  g.prepare();
  return g;
}

}  // namespace

bool measure_voice(const voice::Voice& v, const std::vector<MeasureUtterance>& utterances,
                   int margin_frames, bool against_reference, Measures* out, std::string* error) {
  *out = Measures();
  double mcd_sum = 0.0, lf0_sq = 0.0;
  long lf0_n = 0, vuv_wrong = 0;
  for (const MeasureUtterance& u : utterances) {
    const int T = u.features.frames;
    const std::size_t L = u.labels.size();
    Pools pools;
    Composite c;
    c.states.resize(L * kStates);
    std::vector<char> pause(L, 0);
    for (std::size_t i = 0; i < L; ++i) {
      const char* label = u.labels[i].label.c_str();
      Context ctx;
      if (parse_context(u.labels[i].label, &ctx, nullptr)) pause[i] = is_pause_phone(ctx.fields[2]);
      const voice::Pdf& d = v.duration.pdfs[0][voice_leaf(v, v.duration.trees[0], label)];
      for (int j = 0; j < kStates; ++j) {
        StateModel& m = c.states[i * kStates + j];
        for (int k = 0; k < kStreams; ++k) {
          const voice::Tree& t = v.streams[k].trees[j];
          m.pdf[k] = (int)pools.pdfs[k].size();
          pools.pdfs[k].push_back(to_gaussian(v.streams[k].pdfs[j][voice_leaf(v, t, label)]));
        }
        m.self_loop = std::clamp(1.0 - 1.0 / std::max((double)d.mean[j], 1.0), 0.01, 0.99);
      }
    }
    label_band(u.labels, T, margin_frames, &c.first, &c.last);
    Observations o;
    make_observations(u.features, &o);
    std::vector<int> state;
    if (!u.state_durations.empty()) {
      for (std::size_t s = 0; s < u.state_durations.size() && s < c.states.size(); ++s)
        for (int k = 0; k < u.state_durations[s]; ++k) state.push_back((int)s);
      if ((int)state.size() != T) {
        if (error)
          *error = "measure: state durations of " + std::to_string(state.size()) + " frames for " +
                   std::to_string(T) + " frames";
        return false;
      }
    } else if (!viterbi(c, pools, o, &state, nullptr)) {
      std::string why;
      for (std::size_t s = 0; s < c.states.size() && why.empty(); ++s) {
        const StateModel& m = c.states[s];
        for (int k = 0; k < kStreams; ++k) {
          const Gaussian& g = pools.pdfs[k][m.pdf[k]];
          for (std::size_t d = 0; d < g.mean.size(); ++d)
            if (!std::isfinite(g.mean[d]) || !std::isfinite(g.lconst[d]))
              why = "state " + std::to_string(s) + " stream " + std::to_string(k) + " dim " + std::to_string(d) + " mean " + std::to_string(g.mean[d]) + " var " + std::to_string(g.vari[d]);
        }
        if (!std::isfinite(m.self_loop)) why = "state " + std::to_string(s) + " self-loop";
      }
      if (error)
        *error = "measure: an utterance of " + std::to_string(L) + " labels and " + std::to_string(T) +
                 " frames has no alignment" + (why.empty() ? "" : " (" + why + ")") + "; first label " +
                 u.labels[0].label + " " + std::to_string(c.first[0]) + ".." + std::to_string(c.last[0]);
      return false;
    }
    std::vector<double> mean[kStreams], vari[kStreams];
    std::vector<char> voiced(T, 0);
    for (int k = 0; k < kStreams; ++k) {
      mean[k].resize((std::size_t)T * kWidth[k]);
      vari[k].resize((std::size_t)T * kWidth[k]);
    }
    for (int t = 0; t < T; ++t) {
      const StateModel& m = c.states[state[t]];
      for (int k = 0; k < kStreams; ++k) {
        const Gaussian& g = pools.pdfs[k][m.pdf[k]];
        for (int d = 0; d < kWidth[k]; ++d) {
          mean[k][(std::size_t)t * kWidth[k] + d] = g.mean[d];
          vari[k][(std::size_t)t * kWidth[k] + d] = g.vari[d];
        }
        if (k == kLf0) voiced[t] = g.weight > 0.5;
      }
    }
    const std::vector<double> mcep = generate(mean[0], vari[0], kStatic[0], std::vector<char>());
    const std::vector<double> lf0 = generate(mean[kLf0], vari[kLf0], 1, voiced);
    for (int t = 0; t < T; ++t) {
      if (pause[state[t] / kStates]) continue;
      const float* ref = against_reference ? &u.reference_mcep[(std::size_t)t * 35]
                                           : &u.features.mcep[(std::size_t)t * 35];
      double s = 0.0;
      for (int d = 1; d < 35; ++d) {
        const double e = mcep[(std::size_t)t * 35 + d] - ref[d];
        s += e * e;
      }
      mcd_sum += 10.0 / std::log(10.0) * std::sqrt(2.0 * s);
      ++out->frames;
      const float r = against_reference ? u.reference_lf0[t] : u.features.lf0[t];
      const bool rv = r > analysis::kUnvoiced * 0.5f;
      if (rv != (voiced[t] != 0)) ++vuv_wrong;
      if (rv && voiced[t]) {
        const double e = lf0[t] - r;
        lf0_sq += e * e;
        ++lf0_n;
      }
    }
    ++out->utterances;
  }
  if (out->frames > 0) {
    out->mcd_db = mcd_sum / out->frames;
    out->vuv_error = (double)vuv_wrong / out->frames;
  }
  if (lf0_n > 0) {
    out->lf0_rmse = std::sqrt(lf0_sq / lf0_n);
    out->lf0_rmse_cents = out->lf0_rmse * 1200.0 / std::log(2.0);
  }
  return true;
}

}  // namespace train
}  // namespace vxn
