// Fixed-point mixed-excitation vocoder with a mel-log-spectrum-approximation
// filter (5th-order Pade), and the output equaliser (float biquad cascade).
#include "engine/VXN_vocoder.h"

#include <math.h>
#include <string.h>

#include "engine/VXN_dsp_kernels.h"
#include "engine/VXN_engine.h"
#include "engine/VXN_melp.h"
#include "engine/VXN_misc.h"
#include "engine/qfix_basicop.h"

const int32_t VXN_pade_Q20[21] = {
    1048576,                                          // order 0
    1048576, 0,                                       // order 1
    1048576, 0,      0,                               // order 2
    1048576, 0,      0,      0,                       // order 3
    1048576, 524212, 111884, 12271, 593,              // order 4
    1048576, 524224, 116088, 14366, 1003, 32};        // order 5

namespace {

const int kPd = VXN_PADE_ORDER;
const int32_t kClip = 32000;
const int32_t kInterp_Q16 = 547;  // 1/120: one frame of interpolation steps

int delay_length(int m) { return 3 * (kPd + 1) + kPd * (m + 2); }

}  // namespace

int64_t VXN_mlsadf(int64_t x, const int32_t* b_Q17, int m, int32_t alpha_Q13, int pd, int64_t* d,
                   const int32_t* pade_Q20) {
  return VXN_dsp_kernels()->mlsadf(x, b_Q17, m, alpha_Q13, pd, d, pade_Q20);
}

void VXN_mc2b(const int32_t* mc_Q17, int32_t* b_Q17, int m, int32_t alpha_Q13) {
  b_Q17[m] = mc_Q17[m];
  for (int i = m - 1; i >= 0; i--)
    b_Q17[i] = qfix_to32(
        qfix_pshr64(qfix_sub64(qfix_mul64(mc_Q17[i], 8192), qfix_mul64(b_Q17[i + 1], alpha_Q13)),
                    13));
}

void VXN_movem(const void* from, void* to, int size, int count) {
  if (size <= 0 || count <= 0) return;
  memmove(to, from, (size_t)size * (size_t)count);
}

int32_t VXN_Vocoder_pitch(int32_t lf0_Q20, int32_t rate) {
  if (lf0_Q20 == VXN_LF0_UNVOICED || rate <= 0) return 0;
  // log2 F0 in Q16.
  int32_t lg_Q16 = qfix_to32(qfix_add64(qfix_mul64(lf0_Q20, 756388), (int64_t)1 << 22) >> 23);
  int16_t exponent, fraction;
  qfix_l_extract(lg_Q16, &exponent, &fraction);
  int32_t f0_Q15 = qfix_pow2(exponent, fraction, 15);
  if (f0_Q15 <= 0) return 0;
  int16_t norm_f0 = qfix_norm_l(f0_Q15);
  int16_t hi, lo;
  qfix_l_extract(qfix_l_shl(f0_Q15, norm_f0), &hi, &lo);
  int16_t norm_rate = (int16_t)(qfix_norm_l(rate) - 2);
  int32_t q = qfix_div_32(qfix_l_shl(rate, norm_rate), hi, lo);
  int e = norm_rate - norm_f0 + 16;
  if (e < 16) return qfix_l_shl(q, (int16_t)(15 - e));
  return qfix_to32(qfix_pshr64(q, e - 15));
}

void VXN_Vocoder_initialize(VXN_Vocoder* v, int m, int stage, int use_log_gain, int rate,
                            int fprd) {
  if (!v) return;
  memset(v, 0, sizeof(*v));
  v->stage = stage;
  v->gamma = stage != 0 ? -1.0f / (float)stage : 0.0f;
  v->use_log_gain = use_log_gain;
  v->fprd = fprd;
  v->iprd = 1;
  v->rate = rate;
  v->first_point = -1.0f;
  if (m < 2 || stage != 0 || fprd != VXN_MELP_FRAME) {
    // The fixed-point path is the MLSA filter on 120-sample frames only.
    VXN_print(VXN_LEVEL_ERROR,
              "VXN_Vocoder_initialize: unsupported order %d, stage %d or frame period %d; the "
              "vocoder outputs silence.\n",
              m, stage, fprd);
    return;
  }
  v->c = (int32_t*)VXN_calloc(3 * (size_t)(m + 1), sizeof(int32_t));
  v->delay = (int64_t*)VXN_calloc((size_t)delay_length(m), sizeof(int64_t));
  v->pade = (int32_t*)VXN_calloc(21, sizeof(int32_t));
  if (!v->c || !v->delay || !v->pade) {
    VXN_Vocoder_clear(v);
    v->fprd = fprd;
    return;
  }
  v->cc = v->c + (m + 1);
  v->cinc = v->cc + (m + 1);
  memcpy(v->pade, VXN_pade_Q20, sizeof(VXN_pade_Q20));
}

void STME_Vocoder_initialize_fixed(VXN_Vocoder* v) {
  if (v) mixed_excitation_init(&v->exc);
}

void ME_Vocoder_synthesize(VXN_Vocoder* v, int m, int32_t lf0, const int32_t* mcep,
                           const int32_t* band, int32_t alpha, int16_t* out) {
  if (!v) return;
  if (!v->c || !v->delay || !v->pade || !mcep || !band) {
    if (out && v->fprd > 0) memset(out, 0, sizeof(int16_t) * (size_t)v->fprd);
    return;
  }
  VXN_MelpFrame frame;
  frame.pitch_Q15 = VXN_Vocoder_pitch(lf0, v->rate);
  frame.jitter = 0;
  memcpy(frame.band_Q15, band, sizeof(frame.band_Q15));
  memset(frame.output_Q15, 0, sizeof(frame.output_Q15));

  if (v->first_point < 0) {
    mixed_excitation_reset_phase(&v->exc);
    v->first_point = 0;
  }

  int32_t* c_Q17 = v->c;
  int32_t* cc_Q17 = v->cc;
  int32_t* cinc_Q17 = v->cinc;
  VXN_mc2b(mcep, cc_Q17, m, alpha);
  for (int i = 0; i <= m; i++)
    cinc_Q17[i] = qfix_to32(qfix_pshr64(
        qfix_mul64(qfix_mul64(v->iprd, qfix_sub64(cc_Q17[i], c_Q17[i])), kInterp_Q16), 16));

  mixed_excitation_get_frame(&v->exc, &frame);

  VXN_dsp_kernels()->mlsa_frame(c_Q17, cinc_Q17, m, alpha, v->delay, v->pade, frame.output_Q15,
                                v->fprd, v->iprd, out);
  VXN_movem(cc_Q17, c_Q17, (int)sizeof(int32_t), m + 1);
}

void VXN_Vocoder_clear(VXN_Vocoder* v) {
  if (!v) return;
  VXN_free(v->c);  // cc and cinc share the block of c
  VXN_free(v->delay);
  VXN_free(v->pade);
  v->c = v->cc = v->cinc = NULL;
  v->delay = NULL;
  v->pade = NULL;
}

// ---------------------------------------------------------------------------
// Output equaliser.

namespace {

struct EqCoef {
  float b0, b1, b2, a1, a2;
};

typedef VXN_EqSection EqState;

// Section 1 by language 0..8 (row 9: languages 9 and above), voice 0 / nonzero.
const EqCoef kSection1[10][2] = {
    {{0.9799f, -1.9308f, 0.9513f, -1.9298f, 0.9322f}, {0.9857f, -1.9422f, 0.9569f, -1.9416f, 0.9433f}},
    {{0.9841f, -1.9537f, 0.9697f, -1.9532f, 0.9543f}, {0.9839f, -1.9418f, 0.9583f, -1.9412f, 0.9429f}},
    {{0.9841f, -1.9453f, 0.9614f, -1.9447f, 0.9462f}, {0.9823f, -1.9454f, 0.9632f, -1.9447f, 0.9462f}},
    {{0.9933f, -1.9732f, 0.98f, -1.973f, 0.9734f}, {0.9873f, -1.965f, 0.9777f, -1.9647f, 0.9653f}},
    {{0.9764f, -1.9271f, 0.9511f, -1.926f, 0.9286f}, {0.9823f, -1.9454f, 0.9632f, -1.9447f, 0.9462f}},
    {{0.9841f, -1.9453f, 0.9614f, -1.9447f, 0.9462f}, {0.9787f, -1.9265f, 0.9483f, -1.9254f, 0.9281f}},
    {{0.9841f, -1.9453f, 0.9614f, -1.9447f, 0.9462f}, {0.9823f, -1.9454f, 0.9632f, -1.9447f, 0.9462f}},
    {{0.992f, -1.9725f, 0.9805f, -1.9723f, 0.9727f}, {0.9898f, -1.9659f, 0.9762f, -1.9656f, 0.9662f}},
    {{0.9925f, -1.9629f, 0.9707f, -1.9627f, 0.9634f}, {0.9954f, -1.9687f, 0.9736f, -1.9686f, 0.9691f}},
    {{0.9841f, -1.9453f, 0.9614f, -1.9447f, 0.9462f}, {0.9823f, -1.9454f, 0.9632f, -1.9447f, 0.9462f}},
};

const EqCoef kPassThrough = {1.0f, -1.9325f, 0.9367f, -1.9325f, 0.9367f};
const EqCoef kSection2Korean[2] = {{0.9897f, -1.9164f, 0.9304f, -1.9164f, 0.92f},
                                   {0.997f, -1.9266f, 0.9338f, -1.9266f, 0.9308f}};
const EqCoef kSection2Hybrid[2] = {{0.8055f, -0.8791f, 0.5481f, -0.8791f, 0.3536f},
                                   {1.068f, -1.6864f, 0.7574f, -1.6864f, 0.8254f}};
const EqCoef kSection3Hybrid[2] = {{1.0743f, -1.737f, 0.8058f, -1.737f, 0.8801f},
                                   {1.062f, -1.2018f, 0.6376f, -1.2018f, 0.6996f}};
// [voice][unvoiced, voiced]
const EqCoef kSection4Hybrid[2][2] = {
    {{1.3661f, -0.4559f, 0.2614f, 0.0f, 0.1716f}, {1.9557f, -1.2666f, 0.4825f, 0.0f, 0.1716f}},
    {{1.2579f, -0.1745f, 0.0792f, -0.1745f, 0.3371f},
     {1.6027f, -0.1745f, -0.2655f, -0.1745f, 0.3371f}}};

inline int16_t clip_sample(float v) {
  // trunc toward zero, then clip to +/-32000
  if (v >= (float)kClip) return (int16_t)kClip;
  if (v <= -(float)kClip) return (int16_t)-kClip;
  return (int16_t)v;
}

// y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2 in float, truncated toward zero,
// in place. The pairs (b1 x1 - a1 y1) and (b2 x2 - a2 y2) are formed first so
// that a section whose numerator equals its denominator passes its input
// unchanged; such a section, once its outputs equal its inputs, is skipped
// with the same result.
void eq_section(const EqCoef& k, EqState* s, int16_t* samples, int count, float gain) {
  if (&k == &kPassThrough && gain == 1.0f && s->x1 == s->y1 && s->x2 == s->y2) {
    // Inputs are already clipped to +/-32000 by the first section.
    if (count >= 2) s->x2 = s->y2 = samples[count - 2];
    else s->x2 = s->y2 = s->x1;
    s->x1 = s->y1 = samples[count - 1];
    return;
  }
  for (int n = 0; n < count; n++) {
    int32_t x = samples[n];
    float acc = k.b0 * (float)x + (k.b1 * (float)s->x1 - k.a1 * (float)s->y1) +
                (k.b2 * (float)s->x2 - k.a2 * (float)s->y2);
    // The biquads are stable and the input is 16-bit; the bound only keeps
    // the float to int conversion defined.
    if (acc > 2.0e9f) acc = 2.0e9f;
    if (acc < -2.0e9f) acc = -2.0e9f;
    int32_t y = (int32_t)acc;
    s->x2 = s->x1;
    s->x1 = x;
    s->y2 = s->y1;
    s->y1 = y;
    samples[n] = clip_sample(gain * (float)y);
  }
}

}  // namespace

void EQ_Filter(int16_t* samples, int count, int frame, struct _VXN_Engine* engine, int voiced) {
  if (!samples || !engine || count < 0 || count > 10000) return;
  if (count == 0) return;
  const int language = engine->language_id;
  const int voice = engine->model_index != 0 ? 1 : 0;
  const bool hybrid = engine->hybrid_active != 0 && language == 1;

  const EqCoef& s1 = kSection1[(language >= 0 && language < 9) ? language : 9][voice];
  const EqCoef& s2 =
      language == 0 ? kSection2Korean[voice] : hybrid ? kSection2Hybrid[voice] : kPassThrough;

  // Section states: S, C, fp, sp.
  EqState* state = engine->eq;
  if (frame == 0) memset(&state[0], 0, sizeof(state[0]));
  eq_section(s1, &state[0], samples, count, engine->sss.output_gain);
  if (frame == 2) memset(&state[1], 0, sizeof(state[1]));
  eq_section(s2, &state[1], samples, count, 1.0f);
  if (hybrid) {
    if (frame == 2) memset(&state[2], 0, sizeof(state[2]));
    eq_section(kSection3Hybrid[voice], &state[2], samples, count, 1.0f);
    if (frame == 2) memset(&state[3], 0, sizeof(state[3]));
    eq_section(kSection4Hybrid[voice][voiced ? 1 : 0], &state[3], samples, count, 1.0f);
  }
}
