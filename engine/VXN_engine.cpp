#include "engine/VXN_engine.h"

#include <math.h>
#include <string.h>

#include "engine/VXN_vsearch.h"

void VXN_Engine_initialize(VXN_Engine* engine, int nstream) {
  VXN_print(VXN_LEVEL_INFO, "Engine initialization\n");
  memset(engine, 0, sizeof(*engine));
  engine->sampling_rate = 24000;
  engine->fperiod = 120;
  engine->voice_alpha = 0.45f;
  if (nstream > 0) {
    engine->msd_threshold = (float*)VXN_calloc((size_t)nstream, sizeof(float));
    engine->parameter_iw = (float**)VXN_calloc((size_t)nstream, sizeof(float*));
    engine->gv_iw = (float**)VXN_calloc((size_t)nstream, sizeof(float*));
    engine->gv_weight = (float*)VXN_calloc((size_t)nstream, sizeof(float));
    for (int i = 0; i < nstream; i++) {
      if (engine->msd_threshold) engine->msd_threshold[i] = 0.5f;
      if (engine->gv_weight) engine->gv_weight[i] = 1.0f;
    }
  }
  engine->stream_count = nstream;
  VXN_Engine_set_control_state(engine, 1);
  engine->output_rate = 24000;
  engine->channels = 1;
  engine->output_fperiod = 120;
  engine->rate_ratio = 1.0f;
  engine->last_piece = 1;
  VXN_ModelSet_initialize(&engine->ms, nstream);
  VXN_Label_initialize(&engine->label);
  VXN_SStreamSet_initialize(&engine->sss);
  VXN_PStreamSet_initialize(&engine->pss);
  VXN_GStreamSet_initialize(&engine->gss);
}

void VXN_Engine_set_sampling_rate(VXN_Engine* engine, int rate) {
  if (rate < 1) rate = 1;
  if (rate > 48000) rate = 48000;
  engine->sampling_rate = rate;
  engine->rate_ratio = (float)engine->sampling_rate / (float)engine->output_rate;
}

void VXN_Engine_set_fperiod(VXN_Engine* engine, int fperiod) {
  if (fperiod < 1) fperiod = 1;
  if (fperiod > 2000) fperiod = 2000;
  engine->fperiod = fperiod;
}

void VXN_Engine_set_alpha(VXN_Engine* engine, float alpha) {
  if (alpha < 0.0f) alpha = 0.0f;
  if (alpha > 1.0f) alpha = 1.0f;
  engine->alpha = alpha;
}

void VXN_Engine_set_gamma(VXN_Engine* engine, int stage) { engine->stage = stage < 0 ? 0 : stage; }

void VXN_Engine_set_log_gain(VXN_Engine* engine, int flag) { engine->use_log_gain = flag; }

void VXN_Engine_set_beta(VXN_Engine* engine, float beta) {
  if ((double)beta < -0.8) beta = -0.8f;
  if ((double)beta > 0.8) beta = 0.8f;
  engine->beta = beta;
}

void VXN_Engine_set_audio_buff_size(VXN_Engine* engine, int size) {
  if (size < 0) size = 0;
  if (size > 48000) size = 48000;
  engine->audio_buff_size = size;
}

void VXN_Engine_set_msd_threshold(VXN_Engine* engine, int stream, float threshold) {
  if (!engine->msd_threshold || stream < 0 || stream >= engine->stream_count) return;
  if (threshold < 0.0f) threshold = 0.0f;
  if (threshold > 1.0f) threshold = 1.0f;
  engine->msd_threshold[stream] = threshold;
}

void VXN_Engine_set_gv_weight(VXN_Engine* engine, int stream, float weight) {
  if (!engine->gv_weight || stream < 0 || stream >= engine->stream_count) return;
  engine->gv_weight[stream] = weight;
}

int VXN_Engine_load_label_from_fn(VXN_Engine* engine, const char* path) {
  return VXN_Label_load_from_fn(&engine->label, engine->sampling_rate, engine->fperiod, path);
}

void VXN_Engine_load_label_from_fp(VXN_Engine* engine, FILE* fp) {
  VXN_Label_load_from_fp(&engine->label, engine->sampling_rate, engine->fperiod, fp);
}

void VXN_Engine_load_label_from_string(VXN_Engine* engine, char* text) {
  VXN_Label_load_from_string(&engine->label, engine->sampling_rate, engine->fperiod, text);
}

void VXN_Engine_load_label_from_string_list(VXN_Engine* engine, char** lines, int count) {
  VXN_Label_load_from_string_list(&engine->label, engine->sampling_rate, engine->fperiod, lines,
                                  count);
}

void VXN_Engine_create_sstream(VXN_Engine* engine, int deleteStartPause, int deleteEndPause) {
  VXN_SStreamSet_create(&engine->sss, &engine->ms, &engine->label, engine->duration_iw,
                        engine->parameter_iw, engine->gv_iw, deleteStartPause, deleteEndPause,
                        &engine->vt);
}

void VXN_Engine_set_spectral_variance(VXN_Engine* engine, float strength) {
  if (!(strength > 0.0f)) strength = 0.0f;
  if (strength > 1.0f) strength = 1.0f;
  engine->spectral_variance = strength;
}

namespace {

// Spectral sharpening of stream 0, measured on the frames of speech only:
// pauses would add their own flat spectra to the statistics. Each frame's c0
// then moves so that the energy of its envelope stays what it was:
// sharpening must change the spectrum's shape, not its loudness.
enum { kEnergyGrid = 128 };

// Energy of exp(sum_{m>=1} c_m cos(m w~)) over linear frequency w. The
// envelope is a cosine series in the warped frequency w~, so the integral is
// taken there, uniformly in w~ with the weight dw/dw~: peaks are as narrow in
// w~ at every frequency, and a grid in w~ resolves them all.
// table[k * (dims + 1) + m] holds cos(m w~_k) for m < dims, and the weight
// at index dims.
double envelope_energy(const float* c, int dims, const float* table) {
  double sum = 0.0;
  for (int k = 0; k < kEnergyGrid; k++) {
    const float* row = table + k * (dims + 1);
    double s = 0.0;
    for (int m = 1; m < dims; m++) s += (double)c[m] * row[m];
    sum += exp(2.0 * s) * row[dims];
  }
  return sum / kEnergyGrid;
}

void scale_spectral_variance(VXN_Engine* engine) {
  VXN_PStreamSet* pss = &engine->pss;
  const int frames = pss->total_frame;
  if (pss->nstream < 1 || frames <= 0 || !pss->pstream[0].par) return;
  VXN_PStream* ps = &pss->pstream[0];
  const int dims = ps->static_length;
  unsigned char* used = (unsigned char*)VXN_calloc((size_t)frames, 1);
  float* table = (float*)VXN_calloc((size_t)(kEnergyGrid * (dims + 1)), sizeof(float));
  double* before = (double*)VXN_calloc((size_t)ps->length, sizeof(double));
  if (!used || !table || !before) {
    VXN_free(used);
    VXN_free(table);
    VXN_free(before);
    return;
  }
  const int nstate = engine->sss.nstate;
  const int labels = VXN_Label_get_size(&engine->label);
  int t = 0;
  for (int i = 0; i < labels; i++) {
    const char* lab = VXN_Label_get_string(&engine->label, i);
    const unsigned char speech = lab && !VXN_Check_pause(lab);
    for (int s = 0; s < nstate; s++) {
      const int k = i * nstate + s;
      if (k >= engine->sss.total_state) break;
      for (int f = 0; f < engine->sss.duration[k] && t < frames; f++) used[t++] = speech;
    }
  }
  const double a = engine->voice_alpha;
  for (int k = 0; k < kEnergyGrid; k++) {
    const double wt = M_PI * (k + 0.5) / kEnergyGrid;
    for (int m = 0; m < dims; m++) table[k * (dims + 1) + m] = (float)cos(m * wt);
    table[k * (dims + 1) + dims] = (float)((1.0 - a * a) / (1.0 + 2.0 * a * cos(wt) + a * a));
  }
  for (int f = 0; f < ps->length; f++) before[f] = envelope_energy(ps->par[f], dims, table);
  VXN_PStreamSet_scale_variance(pss, 0, engine->spectral_variance, used);
  for (int f = 0; f < ps->length; f++) {
    const double after = envelope_energy(ps->par[f], dims, table);
    if (after > 0.0 && before[f] > 0.0) ps->par[f][0] += (float)(0.5 * log(before[f] / after));
  }
  VXN_free(used);
  VXN_free(table);
  VXN_free(before);
}

}  // namespace

int VXN_Engine_create_pstream(VXN_Engine* engine) {
  const int result = VXN_PStreamSet_create(&engine->pss, &engine->sss, engine->msd_threshold,
                                           engine->gv_weight, &engine->vt);
  if (result == 1 && engine->spectral_variance > 0.0f) scale_spectral_variance(engine);
  return result;
}

int VXN_Engine_create_gstream(VXN_Engine* engine) { return VXN_GStreamSet_create(engine); }

void VXN_Engine_refresh(VXN_Engine* engine) {
  VXN_GStreamSet_clear(&engine->gss);
  VXN_PStreamSet_clear(&engine->pss);
  VXN_SStreamSet_clear(&engine->sss);
  VXN_Label_clear(&engine->label);
}

void VXN_Engine_clear(VXN_Engine* engine) {
  VXN_VT_clear(engine);
  engine->vt.hybrid = 0;
  // The per-sentence records go too, so that clear alone releases everything,
  // with the matrix blocks kept for the next sentence.
  VXN_Engine_refresh(engine);
  VXN_release_kept_blocks();
  VXN_free(engine->msd_threshold);
  engine->msd_threshold = NULL;
  VXN_free(engine->duration_iw);
  engine->duration_iw = NULL;
  for (int i = 0; i < engine->stream_count; i++) {
    if (engine->parameter_iw) VXN_free(engine->parameter_iw[i]);
    if (engine->gv_iw) VXN_free(engine->gv_iw[i]);
  }
  VXN_free(engine->parameter_iw);
  engine->parameter_iw = NULL;
  VXN_free(engine->gv_iw);
  engine->gv_iw = NULL;
  VXN_free(engine->gv_weight);
  engine->gv_weight = NULL;
  VXN_free(engine->model_name);
  engine->model_name = NULL;
  VXN_free(engine->prosody_name);
  engine->prosody_name = NULL;
  VXN_free(engine->ring_buffer);
  engine->ring_buffer = NULL;
  VXN_ModelSet_clear(&engine->ms);
}

void VXN_Engine_save_infomation(VXN_Engine* engine, FILE* fp) {
  VXN_ModelSet* ms = &engine->ms;
  fprintf(fp, "sampring frequency                     -> %8d(Hz)\n", engine->sampling_rate);
  fprintf(fp, "frame period                           -> %8d(point)\n", engine->fperiod);
  fprintf(fp, "                                          %8.5f(msec)\n",
          1e+3 * engine->fperiod / engine->sampling_rate);
  fprintf(fp, "all-pass constant                      -> %8.5f\n", (float)engine->alpha);
  fprintf(fp, "gamma                                  -> %8.5f\n",
          (float)(engine->stage == 0 ? 0.0 : -1.0 / engine->stage));
  if (engine->stage != 0)
    fprintf(fp, "log gain flag                          -> %s\n",
            engine->use_log_gain ? "TRUE" : "FALSE");
  fprintf(fp, "postfiltering coefficient              -> %8.5f\n", (float)engine->beta);
  fprintf(fp, "audio buffer size                      -> %8d(sample)\n", engine->audio_buff_size);
  fprintf(fp, "duration number of state               -> %8d\n", VXN_ModelSet_get_nstate(ms));
  const int nstream = ms->stream ? VXN_ModelSet_get_nstream(ms) : 0;
  for (int s = 0; s < nstream; s++) {
    fprintf(fp, "stream[%2d] vector length               -> %8d\n", s,
            VXN_ModelSet_get_vector_length(ms, s));
    fprintf(fp, "           dynamic window size         -> %8d\n",
            VXN_ModelSet_get_window_size(ms, s));
    if (VXN_ModelSet_is_msd(ms, s)) {
      fprintf(fp, "           MSD flag                    ->     TRUE\n");
      fprintf(fp, "           MSD threshold               -> %8.5f\n",
              (s < engine->stream_count && engine->msd_threshold) ? engine->msd_threshold[s] : 0.0);
    } else {
      fprintf(fp, "           MSD flag                    ->    FALSE\n");
    }
    if (VXN_ModelSet_use_gv(ms, s)) {
      fprintf(fp, "           GV flag                     ->     TRUE\n");
      fprintf(fp, "           GV weight                   -> %8.0f(%%)\n",
              (s < engine->stream_count && engine->gv_weight) ? 100.0 * engine->gv_weight[s] : 0.0);
    } else {
      fprintf(fp, "           GV flag                     ->    FALSE\n");
    }
  }
}

void VXN_Engine_save_label(VXN_Engine* engine, FILE* fp) {
  const float rate = (float)(1.0e7 * engine->fperiod / engine->sampling_rate);
  const int nstate = engine->sss.nstate;
  const int nlabel = VXN_Label_get_size(&engine->label);
  int t = 0;
  int k = 0;
  for (int i = 0; i < nlabel; i++) {
    int d = 0;
    for (int j = 0; j < nstate && k < engine->sss.total_state; j++, k++)
      d += VXN_SStreamSet_get_duration(&engine->sss, k);
    const char* name = VXN_Label_get_string(&engine->label, i);
    fprintf(fp, "%d %d %s\n", (int)(rate * t), (int)(rate * (t + d)), name ? name : "");
    t += d;
  }
}

void VXN_Engine_save_generated_speech(VXN_Engine* engine, FILE* fp) {
  const int n = VXN_GStreamSet_get_total_nsample(&engine->gss);
  if (n > 0 && engine->gss.speech) fwrite(engine->gss.speech, sizeof(int16_t), (size_t)n, fp);
}

static void put_le32(FILE* fp, uint32_t v) {
  unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16),
                        (unsigned char)(v >> 24)};
  fwrite(b, 1, 4, fp);
}

static void put_le16(FILE* fp, uint16_t v) {
  unsigned char b[2] = {(unsigned char)v, (unsigned char)(v >> 8)};
  fwrite(b, 1, 2, fp);
}

void VXN_Engine_save_riff(VXN_Engine* engine, FILE* fp) {
  const int n = VXN_GStreamSet_get_total_nsample(&engine->gss);
  const uint32_t data_bytes = 2u * (uint32_t)(n > 0 ? n : 0);
  fwrite("RIFF", 1, 4, fp);
  put_le32(fp, data_bytes + 36u);
  fwrite("WAVE", 1, 4, fp);
  fwrite("fmt ", 1, 4, fp);
  put_le32(fp, 16);
  put_le16(fp, 1);
  put_le16(fp, 1);
  put_le32(fp, (uint32_t)engine->sampling_rate);
  put_le32(fp, 2u * (uint32_t)engine->sampling_rate);
  put_le16(fp, 2);
  put_le16(fp, 16);
  fwrite("data", 1, 4, fp);
  put_le32(fp, data_bytes);
  for (int i = 0; i < n; i++) put_le16(fp, (uint16_t)engine->gss.speech[i]);
}

int VXN_Upsampling(const short* in, short* out, int inCount, int outMax, float step, float offset,
                   int* lastPos, float* lastFrac, int channels) {
  *lastPos = inCount;
  *lastFrac = 0.0f;
  int j = 0;
  float f = 0.0f;
  for (int i = 0; i < outMax; i++) {
    const float p = (float)i * step + offset;
    j = (int)p;
    f = p - (float)j;
    if (j + 1 >= inCount) {
      *lastPos = j;
      *lastFrac = f;
      return i * channels;
    }
    const short v = (short)(int)((float)in[j] * (1.0f - f) + (float)in[j + 1] * f);
    out[i * channels] = v;
    if (channels == 2) out[i * channels + 1] = v;
  }
  *lastPos = j;
  *lastFrac = f;
  return (outMax - 1) * channels;
}
