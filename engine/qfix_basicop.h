// Fixed-point basic operators of the vocoder: 16- and 32-bit saturating
// arithmetic, split 32-bit (hi/lo) arithmetic, pow2 and sqrt, and the 64-bit
// accumulation helpers used by the filters.
// The flags `overflow` and `carry` (and, in the VXN_FIXED_DEBUG build, the
// operation counters) are per thread, so that engines in different threads
// do not share them; nothing in synthesis reads them.
#ifndef QFIX_BASICOP_H
#define QFIX_BASICOP_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Set to 1 by every operator that saturates; never cleared by the operators
// except the carry operators, which write it as their overflow result.
extern __thread int32_t overflow;
// Carry in/out of qfix_l_add_c, qfix_l_sub_c, qfix_l_mac_ns, qfix_l_msu_ns.
extern __thread int32_t carry;

// 2^(i/32) in Q14 for i = 0..32 (16384 .. 32767).
extern const int16_t tbl_pow2[33];

// int32 -> int16, clamped to [-32768, 32767]; sets overflow when clamped.
int16_t qfix_saturate(int32_t x);
// int16 << n with saturation to int16 (sets overflow); n < 0 shifts right by
// -n, clamped to 16.
int16_t qfix_shl(int16_t x, int16_t n);
// int16 >> n arithmetic; n >= 15 gives 0 or -1; n < 0 shifts left (saturating,
// clamped to 16).
int16_t qfix_shr(int16_t x, int16_t n);
// Upper 16 bits of an int32 (x >> 16), no rounding.
int16_t qfix_extract_h(int32_t x);
// Lower 16 bits of an int32, wrapping.
int16_t qfix_extract_l(int32_t x);
// int16 -> int32 with sign extension.
int32_t qfix_l_deposit_l(int16_t x);
// int16 x int16 -> int16: (a * b) >> 15, truncating; -1 x -1 saturates to 32767.
int16_t qfix_mult(int16_t a, int16_t b);
// int16 x int16 -> int32: a * b * 2 (Q15 x Q15 -> Q31); -32768 x -32768
// saturates to 2147483647.
int32_t qfix_l_mult(int16_t a, int16_t b);
// acc + a * b * 2, int32, saturating (qfix_l_mult then qfix_l_add).
int32_t qfix_l_mac(int32_t acc, int16_t a, int16_t b);
// acc - a * b * 2, int32, saturating (qfix_l_mult then qfix_l_sub).
int32_t qfix_l_msu(int32_t acc, int16_t a, int16_t b);
// acc + a * b * 2 + carry, int32, wrapping; updates carry and overflow.
int32_t qfix_l_mac_ns(int32_t acc, int16_t a, int16_t b);
// acc - a * b * 2 with borrow, int32, wrapping; updates carry and overflow.
int32_t qfix_l_msu_ns(int32_t acc, int16_t a, int16_t b);
// int32 + int32 with saturation (sets overflow).
int32_t qfix_l_add(int32_t a, int32_t b);
// int32 - int32 with saturation (sets overflow).
int32_t qfix_l_sub(int32_t a, int32_t b);
// int32 + int32 + carry, wrapping; carry out and overflow written.
int32_t qfix_l_add_c(int32_t a, int32_t b);
// int32 - int32 - (1 - carry), wrapping; carry out and overflow written.
int32_t qfix_l_sub_c(int32_t a, int32_t b);
// int32 << n with saturation (sets overflow); n <= 0 shifts right by -n,
// clamped to 32.
int32_t qfix_l_shl(int32_t x, int16_t n);
// int32 >> n arithmetic; n >= 31 gives 0 or -1; n < 0 shifts left (saturating,
// clamped to 32).
int32_t qfix_l_shr(int32_t x, int16_t n);
// int32 >> n rounding to nearest (adds the last bit shifted out); n > 31 gives 0;
// n < 0 shifts left with saturation.
int32_t qfix_l_shr_r(int32_t x, int16_t n);
// Left shifts that bring x to [2^30, 2^31) (or [-2^31, -2^30)); 0 for 0, 31 for -1.
int16_t qfix_norm_l(int32_t x);
// Q15 quotient a / b for 0 <= a <= b, b > 0, by 15 restoring steps, truncated;
// a == b gives 32767. No argument checks.
int16_t qfix_div_s(int16_t a, int16_t b);
// Splits x into hi = x >> 16 and lo = (x >> 1) - hi * 2^15 (0..32767), so that
// x = hi * 2^16 + lo * 2 (the low bit is dropped).
void qfix_l_extract(int32_t x, int16_t* hi, int16_t* lo);
// Product of two split values, (hi1,lo1) x (hi2,lo2) in the Q31 x Q31 -> Q31
// sense, truncated (lo x lo dropped), saturating.
int32_t qfix_mpy_32(int16_t hi1, int16_t lo1, int16_t hi2, int16_t lo2);
// Product of a split value and an int16, Q31 x Q15 -> Q31, truncated, saturating.
int32_t qfix_mpy_32_16(int16_t hi, int16_t lo, int16_t n);
// num / denom in Q31 for 0 <= num < denom, denom = (hi, lo) normalised
// (hi >= 16384). Reciprocal by qfix_div_s and one Newton step; the final Q29
// to Q31 scaling is a plain x4 without saturation.
int32_t qfix_div_32(int32_t num, int16_t denom_hi, int16_t denom_lo);
// 2^(exponent + fraction / 32768) in Q(q), fraction in 0..32767 (Q15; only
// its low 15 bits are used):
// tbl_pow2 interpolation, result rounded by a shift of 30 - exponent - q
// (saturating when that count is negative and the value does not fit).
int32_t qfix_pow2(int16_t exponent, int16_t fraction, int16_t q);
// floor(sqrt(x)) of an unsigned 32-bit value, bit by bit.
uint32_t qfix_sqrt(uint32_t x);

// Debug support. In the VXN_FIXED_DEBUG build the operators above and the
// 64-bit helpers below are checked: an unexpected overflow (wrap-around, an
// operator used outside its stated domain) is printed with file and line and
// counted; every call is counted. In the normal build the counters stay 0.
// Number of unexpected overflows seen since the last reset.
long qfix_debug_problem_count(void);
// Number of checked operations executed since the last reset.
long long qfix_debug_operation_count(void);
// Clears both counters.
void qfix_debug_reset(void);
// Records one problem: "<op>: <what> in <file>: line <line>".
void qfix_debug_report(const char* op, const char* what, const char* file, int line);
// Adds one to the operation counter (debug build only).
void qfix_debug_count(void);

#ifdef __cplusplus
}
#endif

// 64-bit helpers for the filter accumulations. The vocoder writes its raw
// integer arithmetic through these so that the debug build sees every
// wrap-around. All values are int64; shifts are by 1..62.
#if VXN_FIXED_DEBUG

static inline int64_t qfix_mul64_dbg(int64_t a, int64_t b, const char* file, int line) {
  int64_t r;
  qfix_debug_count();
  if (__builtin_mul_overflow(a, b, &r)) qfix_debug_report("qfix_mul64", "wrap-around", file, line);
  return r;
}
static inline int64_t qfix_add64_dbg(int64_t a, int64_t b, const char* file, int line) {
  int64_t r;
  qfix_debug_count();
  if (__builtin_add_overflow(a, b, &r)) qfix_debug_report("qfix_add64", "wrap-around", file, line);
  return r;
}
static inline int64_t qfix_sub64_dbg(int64_t a, int64_t b, const char* file, int line) {
  int64_t r;
  qfix_debug_count();
  if (__builtin_sub_overflow(a, b, &r)) qfix_debug_report("qfix_sub64", "wrap-around", file, line);
  return r;
}
static inline int64_t qfix_pshr64_dbg(int64_t x, int s, const char* file, int line) {
  int64_t r;
  qfix_debug_count();
  if (__builtin_add_overflow(x, (int64_t)1 << (s - 1), &r))
    qfix_debug_report("qfix_pshr64", "wrap-around", file, line);
  return r >> s;
}
static inline int64_t qfix_shl64_dbg(int64_t x, int s, const char* file, int line) {
  int64_t r;
  qfix_debug_count();
  if (__builtin_mul_overflow(x, (int64_t)1 << s, &r))
    qfix_debug_report("qfix_shl64", "wrap-around", file, line);
  return r;
}
static inline int32_t qfix_to32_dbg(int64_t x, const char* file, int line) {
  qfix_debug_count();
  if (x > INT32_MAX || x < INT32_MIN) qfix_debug_report("qfix_to32", "wrap-around", file, line);
  return (int32_t)x;
}
static inline int32_t qfix_add32_dbg(int32_t a, int32_t b, const char* file, int line) {
  int32_t r;
  qfix_debug_count();
  if (__builtin_add_overflow(a, b, &r)) qfix_debug_report("qfix_add32", "wrap-around", file, line);
  return r;
}
#define qfix_add32(a, b) qfix_add32_dbg((a), (b), __FILE__, __LINE__)
#define qfix_mul64(a, b) qfix_mul64_dbg((a), (b), __FILE__, __LINE__)
#define qfix_add64(a, b) qfix_add64_dbg((a), (b), __FILE__, __LINE__)
#define qfix_sub64(a, b) qfix_sub64_dbg((a), (b), __FILE__, __LINE__)
#define qfix_pshr64(x, s) qfix_pshr64_dbg((x), (s), __FILE__, __LINE__)
#define qfix_shl64(x, s) qfix_shl64_dbg((x), (s), __FILE__, __LINE__)
#define qfix_to32(x) qfix_to32_dbg((x), __FILE__, __LINE__)

#else

// int32 + int32 -> int32, wrapping (vectorisable; the debug build reports a wrap).
static inline int32_t qfix_add32(int32_t a, int32_t b) { return (int32_t)((uint32_t)a + (uint32_t)b); }
// The 64-bit helpers wrap in two's complement instead of overflowing: realistic
// parameters never get near the limits (the debug build reports any wrap), and
// a hostile voice that drives the filter unstable gives noise, not undefined
// behaviour.
// int64 x int64 -> int64, no rounding.
static inline int64_t qfix_mul64(int64_t a, int64_t b) { return (int64_t)((uint64_t)a * (uint64_t)b); }
// int64 + int64.
static inline int64_t qfix_add64(int64_t a, int64_t b) { return (int64_t)((uint64_t)a + (uint64_t)b); }
// int64 - int64.
static inline int64_t qfix_sub64(int64_t a, int64_t b) { return (int64_t)((uint64_t)a - (uint64_t)b); }
// int64 >> s rounding to nearest (adds 2^(s-1) first), s in 1..62.
static inline int64_t qfix_pshr64(int64_t x, int s) { return qfix_add64(x, (int64_t)1 << (s - 1)) >> s; }
// int64 << s, no saturation (written as a product: defined for negative x).
static inline int64_t qfix_shl64(int64_t x, int s) { return qfix_mul64(x, (int64_t)1 << s); }
// int64 -> int32 keeping the low 32 bits.
static inline int32_t qfix_to32(int64_t x) { return (int32_t)x; }

#endif

// Clamps an int64 to [-limit, limit] and narrows it to int16 (limit <= 32767).
static inline int16_t qfix_clip16(int64_t x, int32_t limit) {
  return (int16_t)(x > limit ? limit : (x < -limit ? -limit : x));
}

// Checked versions of the operators: in the debug build every call goes
// through qfix_basicop_debug.cpp with the caller's file and line.
#if VXN_FIXED_DEBUG && !defined(QFIX_BASICOP_IMPLEMENTATION)
#ifdef __cplusplus
extern "C" {
#endif
int16_t qfix_saturate_dbg(int32_t x, const char* file, int line);
int16_t qfix_shl_dbg(int16_t x, int16_t n, const char* file, int line);
int16_t qfix_shr_dbg(int16_t x, int16_t n, const char* file, int line);
int16_t qfix_extract_h_dbg(int32_t x, const char* file, int line);
int16_t qfix_extract_l_dbg(int32_t x, const char* file, int line);
int32_t qfix_l_deposit_l_dbg(int16_t x, const char* file, int line);
int16_t qfix_mult_dbg(int16_t a, int16_t b, const char* file, int line);
int32_t qfix_l_mult_dbg(int16_t a, int16_t b, const char* file, int line);
int32_t qfix_l_mac_dbg(int32_t acc, int16_t a, int16_t b, const char* file, int line);
int32_t qfix_l_msu_dbg(int32_t acc, int16_t a, int16_t b, const char* file, int line);
int32_t qfix_l_mac_ns_dbg(int32_t acc, int16_t a, int16_t b, const char* file, int line);
int32_t qfix_l_msu_ns_dbg(int32_t acc, int16_t a, int16_t b, const char* file, int line);
int32_t qfix_l_add_dbg(int32_t a, int32_t b, const char* file, int line);
int32_t qfix_l_sub_dbg(int32_t a, int32_t b, const char* file, int line);
int32_t qfix_l_add_c_dbg(int32_t a, int32_t b, const char* file, int line);
int32_t qfix_l_sub_c_dbg(int32_t a, int32_t b, const char* file, int line);
int32_t qfix_l_shl_dbg(int32_t x, int16_t n, const char* file, int line);
int32_t qfix_l_shr_dbg(int32_t x, int16_t n, const char* file, int line);
int32_t qfix_l_shr_r_dbg(int32_t x, int16_t n, const char* file, int line);
int16_t qfix_norm_l_dbg(int32_t x, const char* file, int line);
int16_t qfix_div_s_dbg(int16_t a, int16_t b, const char* file, int line);
void qfix_l_extract_dbg(int32_t x, int16_t* hi, int16_t* lo, const char* file, int line);
int32_t qfix_mpy_32_dbg(int16_t hi1, int16_t lo1, int16_t hi2, int16_t lo2, const char* file,
                        int line);
int32_t qfix_mpy_32_16_dbg(int16_t hi, int16_t lo, int16_t n, const char* file, int line);
int32_t qfix_div_32_dbg(int32_t num, int16_t hi, int16_t lo, const char* file, int line);
int32_t qfix_pow2_dbg(int16_t exponent, int16_t fraction, int16_t q, const char* file, int line);
uint32_t qfix_sqrt_dbg(uint32_t x, const char* file, int line);
#ifdef __cplusplus
}
#endif
#define qfix_saturate(x) qfix_saturate_dbg((x), __FILE__, __LINE__)
#define qfix_shl(x, n) qfix_shl_dbg((x), (n), __FILE__, __LINE__)
#define qfix_shr(x, n) qfix_shr_dbg((x), (n), __FILE__, __LINE__)
#define qfix_extract_h(x) qfix_extract_h_dbg((x), __FILE__, __LINE__)
#define qfix_extract_l(x) qfix_extract_l_dbg((x), __FILE__, __LINE__)
#define qfix_l_deposit_l(x) qfix_l_deposit_l_dbg((x), __FILE__, __LINE__)
#define qfix_mult(a, b) qfix_mult_dbg((a), (b), __FILE__, __LINE__)
#define qfix_l_mult(a, b) qfix_l_mult_dbg((a), (b), __FILE__, __LINE__)
#define qfix_l_mac(c, a, b) qfix_l_mac_dbg((c), (a), (b), __FILE__, __LINE__)
#define qfix_l_msu(c, a, b) qfix_l_msu_dbg((c), (a), (b), __FILE__, __LINE__)
#define qfix_l_mac_ns(c, a, b) qfix_l_mac_ns_dbg((c), (a), (b), __FILE__, __LINE__)
#define qfix_l_msu_ns(c, a, b) qfix_l_msu_ns_dbg((c), (a), (b), __FILE__, __LINE__)
#define qfix_l_add(a, b) qfix_l_add_dbg((a), (b), __FILE__, __LINE__)
#define qfix_l_sub(a, b) qfix_l_sub_dbg((a), (b), __FILE__, __LINE__)
#define qfix_l_add_c(a, b) qfix_l_add_c_dbg((a), (b), __FILE__, __LINE__)
#define qfix_l_sub_c(a, b) qfix_l_sub_c_dbg((a), (b), __FILE__, __LINE__)
#define qfix_l_shl(x, n) qfix_l_shl_dbg((x), (n), __FILE__, __LINE__)
#define qfix_l_shr(x, n) qfix_l_shr_dbg((x), (n), __FILE__, __LINE__)
#define qfix_l_shr_r(x, n) qfix_l_shr_r_dbg((x), (n), __FILE__, __LINE__)
#define qfix_norm_l(x) qfix_norm_l_dbg((x), __FILE__, __LINE__)
#define qfix_div_s(a, b) qfix_div_s_dbg((a), (b), __FILE__, __LINE__)
#define qfix_l_extract(x, hi, lo) qfix_l_extract_dbg((x), (hi), (lo), __FILE__, __LINE__)
#define qfix_mpy_32(a, b, c, d) qfix_mpy_32_dbg((a), (b), (c), (d), __FILE__, __LINE__)
#define qfix_mpy_32_16(a, b, n) qfix_mpy_32_16_dbg((a), (b), (n), __FILE__, __LINE__)
#define qfix_div_32(x, hi, lo) qfix_div_32_dbg((x), (hi), (lo), __FILE__, __LINE__)
#define qfix_pow2(e, f, q) qfix_pow2_dbg((e), (f), (q), __FILE__, __LINE__)
#define qfix_sqrt(x) qfix_sqrt_dbg((x), __FILE__, __LINE__)
#endif

#endif
