// Fixed-point basic operators (16/32-bit saturating, split 32-bit, pow2, sqrt)
// and, in the VXN_FIXED_DEBUG build, their checked and counted versions.
#define QFIX_BASICOP_IMPLEMENTATION 1
#include "engine/qfix_basicop.h"

#include <stdlib.h>

#include "engine/VXN_misc.h"

__thread int32_t overflow = 0;
__thread int32_t carry = 0;

const int16_t tbl_pow2[33] = {16384, 16743, 17109, 17484, 17867, 18258, 18658, 19066, 19484,
                              19911, 20347, 20792, 21247, 21713, 22188, 22674, 23170, 23678,
                              24196, 24726, 25268, 25821, 26386, 26964, 27554, 28158, 28774,
                              29405, 30048, 30706, 31379, 32066, 32767};

namespace {

const int32_t kMax32 = INT32_MAX;
const int32_t kMin32 = INT32_MIN;

// Wrapping int32 arithmetic (the carry operators are defined modulo 2^32).
inline int32_t wrap_add(int32_t a, int32_t b) { return (int32_t)((uint32_t)a + (uint32_t)b); }
inline int32_t wrap_sub(int32_t a, int32_t b) { return (int32_t)((uint32_t)a - (uint32_t)b); }

// qfix_div_32 up to the final scaling: the quotient in Q29.
int32_t div_32_q29(int32_t num, int16_t denom_hi, int16_t denom_lo) {
  int16_t approx_Q14 = qfix_div_s((int16_t)0x3fff, denom_hi);
  int32_t x = qfix_mpy_32_16(denom_hi, denom_lo, approx_Q14);  // Q30
  x = qfix_l_sub(kMax32, x);                                  // 2 - denom * approx, Q30
  int16_t hi, lo;
  qfix_l_extract(x, &hi, &lo);
  x = qfix_mpy_32_16(hi, lo, approx_Q14);  // 1 / denom, Q29
  qfix_l_extract(x, &hi, &lo);
  int16_t n_hi, n_lo;
  qfix_l_extract(num, &n_hi, &n_lo);
  return qfix_mpy_32(n_hi, n_lo, hi, lo);  // num / denom, Q29
}

}  // namespace

int16_t qfix_saturate(int32_t x) {
  if (x > 32767) {
    overflow = 1;
    return 32767;
  }
  if (x < -32768) {
    overflow = 1;
    return -32768;
  }
  return (int16_t)x;
}

int16_t qfix_shl(int16_t x, int16_t n) {
  if (n < 0) {
    if (n < -16) n = -16;
    return qfix_shr(x, (int16_t)-n);
  }
  int32_t r = (int32_t)x * ((int32_t)1 << (n > 16 ? 16 : n));
  if ((n > 15 && x != 0) || r != (int32_t)(int16_t)r) {
    overflow = 1;
    return x > 0 ? 32767 : -32768;
  }
  return (int16_t)r;
}

int16_t qfix_shr(int16_t x, int16_t n) {
  if (n < 0) {
    if (n < -16) n = -16;
    return qfix_shl(x, (int16_t)-n);
  }
  if (n >= 15) return x < 0 ? -1 : 0;
  return (int16_t)(x >> n);
}

int16_t qfix_extract_h(int32_t x) { return (int16_t)(x >> 16); }

int16_t qfix_extract_l(int32_t x) { return (int16_t)(uint16_t)(uint32_t)x; }

int32_t qfix_l_deposit_l(int16_t x) { return (int32_t)x; }

int16_t qfix_mult(int16_t a, int16_t b) {
  return qfix_saturate(((int32_t)a * (int32_t)b) >> 15);
}

int32_t qfix_l_mult(int16_t a, int16_t b) {
  int32_t p = (int32_t)a * (int32_t)b;
  if (p == 0x40000000) {
    overflow = 1;
    return kMax32;
  }
  return p * 2;
}

int32_t qfix_l_mac(int32_t acc, int16_t a, int16_t b) { return qfix_l_add(acc, qfix_l_mult(a, b)); }

int32_t qfix_l_msu(int32_t acc, int16_t a, int16_t b) { return qfix_l_sub(acc, qfix_l_mult(a, b)); }

int32_t qfix_l_mac_ns(int32_t acc, int16_t a, int16_t b) {
  return qfix_l_add_c(acc, qfix_l_mult(a, b));
}

int32_t qfix_l_msu_ns(int32_t acc, int16_t a, int16_t b) {
  return qfix_l_sub_c(acc, qfix_l_mult(a, b));
}

int32_t qfix_l_add(int32_t a, int32_t b) {
  int32_t r = wrap_add(a, b);
  if (((a ^ b) & kMin32) == 0 && ((r ^ a) & kMin32) != 0) {
    overflow = 1;
    return a < 0 ? kMin32 : kMax32;
  }
  return r;
}

int32_t qfix_l_sub(int32_t a, int32_t b) {
  int32_t r = wrap_sub(a, b);
  if (((a ^ b) & kMin32) != 0 && ((r ^ a) & kMin32) != 0) {
    overflow = 1;
    return a < 0 ? kMin32 : kMax32;
  }
  return r;
}

int32_t qfix_l_add_c(int32_t a, int32_t b) {
  int32_t out = wrap_add(wrap_add(a, b), carry);
  int32_t test = wrap_add(a, b);
  int32_t carry_int = 0;
  if (a > 0 && b > 0 && test < 0) {
    overflow = 1;
    carry_int = 0;
  } else if (a < 0 && b < 0) {
    overflow = test >= 0 ? 1 : 0;
    carry_int = 1;
  } else if ((a ^ b) < 0 && test >= 0) {
    overflow = 0;
    carry_int = 1;
  } else {
    overflow = 0;
    carry_int = 0;
  }
  if (carry) {
    if (test == kMax32) {
      overflow = 1;
      carry = carry_int;
    } else if (test == (int32_t)-1) {
      carry = 1;
    } else {
      carry = carry_int;
    }
  } else {
    carry = carry_int;
  }
  return out;
}

int32_t qfix_l_sub_c(int32_t a, int32_t b) {
  if (carry) {
    carry = 0;
    if (b != kMin32) return qfix_l_add_c(a, -b);
    int32_t out = wrap_sub(a, b);
    if (a > 0) {
      overflow = 1;
      carry = 0;
    }
    return out;
  }
  int32_t out = wrap_sub(wrap_sub(a, b), 1);
  int32_t test = wrap_sub(a, b);
  int32_t carry_int = 0;
  if (test < 0 && a > 0 && b < 0) {
    overflow = 1;
    carry_int = 0;
  } else if (test > 0 && a < 0 && b > 0) {
    overflow = 1;
    carry_int = 0;
  } else if (test > 0 && (a ^ b) > 0) {
    overflow = 0;
    carry_int = 1;
  }
  if (test == kMin32) overflow = 1;
  carry = carry_int;
  return out;
}

int32_t qfix_l_shl(int32_t x, int16_t n) {
  if (n <= 0) {
    if (n < -32) n = -32;
    return qfix_l_shr(x, (int16_t)-n);
  }
  for (; n > 0; n--) {
    if (x > (int32_t)0x3fffffff) {
      overflow = 1;
      return kMax32;
    }
    if (x < (int32_t)0xc0000000) {
      overflow = 1;
      return kMin32;
    }
    x *= 2;
  }
  return x;
}

int32_t qfix_l_shr(int32_t x, int16_t n) {
  if (n < 0) {
    if (n < -32) n = -32;
    return qfix_l_shl(x, (int16_t)-n);
  }
  if (n >= 31) return x < 0 ? -1 : 0;
  return x >> n;
}

int32_t qfix_l_shr_r(int32_t x, int16_t n) {
  if (n > 31) return 0;
  int32_t r = qfix_l_shr(x, n);
  if (n > 0 && (x & ((int32_t)1 << (n - 1))) != 0) r++;
  return r;
}

int16_t qfix_norm_l(int32_t x) {
  if (x == 0) return 0;
  if (x == -1) return 31;
  if (x < 0) x = ~x;
  int16_t n = 0;
  for (; x < 0x40000000; n++) x <<= 1;
  return n;
}

int16_t qfix_div_s(int16_t a, int16_t b) {
  int32_t num = a, denom = b, out = 0;
  for (int i = 0; i < 15; i++) {
    out <<= 1;
    num <<= 1;
    if (num >= denom) {
      num -= denom;
      out += 1;
    }
  }
  return (int16_t)out;
}

void qfix_l_extract(int32_t x, int16_t* hi, int16_t* lo) {
  *hi = qfix_extract_h(x);
  *lo = qfix_extract_l(qfix_l_msu(qfix_l_shr(x, 1), *hi, 16384));
}

int32_t qfix_mpy_32(int16_t hi1, int16_t lo1, int16_t hi2, int16_t lo2) {
  int32_t r = qfix_l_mult(hi1, hi2);
  r = qfix_l_mac(r, qfix_mult(hi1, lo2), 1);
  return qfix_l_mac(r, qfix_mult(lo1, hi2), 1);
}

int32_t qfix_mpy_32_16(int16_t hi, int16_t lo, int16_t n) {
  return qfix_l_mac(qfix_l_mult(hi, n), qfix_mult(lo, n), 1);
}

int32_t qfix_div_32(int32_t num, int16_t denom_hi, int16_t denom_lo) {
  // Q29 -> Q31 by a plain multiplication: no saturation, wraps like the
  // target's 32-bit multiply.
  return (int32_t)((uint32_t)div_32_q29(num, denom_hi, denom_lo) * 4u);
}

int32_t qfix_pow2(int16_t exponent, int16_t fraction, int16_t q) {
  // The fraction is Q15 in 0..32767; a negative one would index before the
  // table, so only its low 15 bits are used.
  fraction = (int16_t)(fraction & 0x7fff);
  int32_t x = qfix_l_mult(fraction, 32);  // fraction << 6
  int16_t i = qfix_extract_h(x);         // bits 10..15 of the fraction
  x = qfix_l_shr(x, 1);
  int16_t a = (int16_t)(qfix_extract_l(x) & 0x7fff);  // bits 0..9, Q15
  x = (int32_t)tbl_pow2[i] * 65536;                  // table value << 16
  int16_t diff = (int16_t)(tbl_pow2[i] - tbl_pow2[i + 1]);
  x = qfix_l_msu(x, diff, a);
  return qfix_l_shr_r(x, (int16_t)(30 - exponent - q));
}

uint32_t qfix_sqrt(uint32_t x) {
  uint32_t r = 0;
  uint32_t bit = x < 65536u ? (1u << 14) : (1u << 30);
  while (bit != 0) {
    if (x >= r + bit) {
      x -= r + bit;
      r = (r >> 1) + bit;
    } else {
      r >>= 1;
    }
    bit >>= 2;
  }
  return r;
}

// ---------------------------------------------------------------------------
// Debug counters (always present so that tests and tools link in both builds).

namespace {
thread_local long g_problems = 0;
thread_local long long g_operations = 0;
const long kReportLimit = 50;  // printed reports; all are counted
}  // namespace

long qfix_debug_problem_count(void) { return g_problems; }
long long qfix_debug_operation_count(void) { return g_operations; }
void qfix_debug_reset(void) {
  g_problems = 0;
  g_operations = 0;
}
void qfix_debug_count(void) { g_operations++; }

void qfix_debug_report(const char* op, const char* what, const char* file, int line) {
  g_problems++;
  if (g_problems <= kReportLimit)
    VXN_error(1, "%s: %s in %s: line %d\n", op, what, file, line);
#ifdef VXN_FIXED_DEBUG_ASSERT
  abort();
#endif
}

#if VXN_FIXED_DEBUG

#define COUNTED(expr) \
  do {                \
    g_operations++;   \
    return (expr);    \
  } while (0)

extern "C" {

int16_t qfix_saturate_dbg(int32_t x, const char*, int) { COUNTED(qfix_saturate(x)); }
int16_t qfix_shl_dbg(int16_t x, int16_t n, const char*, int) { COUNTED(qfix_shl(x, n)); }
int16_t qfix_shr_dbg(int16_t x, int16_t n, const char*, int) { COUNTED(qfix_shr(x, n)); }
int16_t qfix_extract_h_dbg(int32_t x, const char*, int) { COUNTED(qfix_extract_h(x)); }
int16_t qfix_extract_l_dbg(int32_t x, const char*, int) { COUNTED(qfix_extract_l(x)); }
int32_t qfix_l_deposit_l_dbg(int16_t x, const char*, int) { COUNTED(qfix_l_deposit_l(x)); }
int16_t qfix_mult_dbg(int16_t a, int16_t b, const char*, int) { COUNTED(qfix_mult(a, b)); }
int32_t qfix_l_mult_dbg(int16_t a, int16_t b, const char*, int) { COUNTED(qfix_l_mult(a, b)); }
int32_t qfix_l_mac_dbg(int32_t c, int16_t a, int16_t b, const char*, int) {
  COUNTED(qfix_l_mac(c, a, b));
}
int32_t qfix_l_msu_dbg(int32_t c, int16_t a, int16_t b, const char*, int) {
  COUNTED(qfix_l_msu(c, a, b));
}
int32_t qfix_l_mac_ns_dbg(int32_t c, int16_t a, int16_t b, const char*, int) {
  COUNTED(qfix_l_mac_ns(c, a, b));
}
int32_t qfix_l_msu_ns_dbg(int32_t c, int16_t a, int16_t b, const char*, int) {
  COUNTED(qfix_l_msu_ns(c, a, b));
}
int32_t qfix_l_add_dbg(int32_t a, int32_t b, const char*, int) { COUNTED(qfix_l_add(a, b)); }
int32_t qfix_l_sub_dbg(int32_t a, int32_t b, const char*, int) { COUNTED(qfix_l_sub(a, b)); }
int32_t qfix_l_add_c_dbg(int32_t a, int32_t b, const char*, int) { COUNTED(qfix_l_add_c(a, b)); }
int32_t qfix_l_sub_c_dbg(int32_t a, int32_t b, const char*, int) { COUNTED(qfix_l_sub_c(a, b)); }
int32_t qfix_l_shl_dbg(int32_t x, int16_t n, const char*, int) { COUNTED(qfix_l_shl(x, n)); }
int32_t qfix_l_shr_dbg(int32_t x, int16_t n, const char*, int) { COUNTED(qfix_l_shr(x, n)); }
int32_t qfix_l_shr_r_dbg(int32_t x, int16_t n, const char*, int) {
  COUNTED(qfix_l_shr_r(x, n));
}
int16_t qfix_norm_l_dbg(int32_t x, const char*, int) { COUNTED(qfix_norm_l(x)); }

int16_t qfix_div_s_dbg(int16_t a, int16_t b, const char* file, int line) {
  g_operations++;
  if (a < 0 || b <= 0 || a > b)
    qfix_debug_report("qfix_div_s", "operands outside 0 <= a <= b, b > 0", file, line);
  return qfix_div_s(a, b);
}

void qfix_l_extract_dbg(int32_t x, int16_t* hi, int16_t* lo, const char*, int) {
  g_operations++;
  qfix_l_extract(x, hi, lo);
}

int32_t qfix_mpy_32_dbg(int16_t hi1, int16_t lo1, int16_t hi2, int16_t lo2, const char*, int) {
  COUNTED(qfix_mpy_32(hi1, lo1, hi2, lo2));
}

int32_t qfix_mpy_32_16_dbg(int16_t hi, int16_t lo, int16_t n, const char*, int) {
  COUNTED(qfix_mpy_32_16(hi, lo, n));
}

int32_t qfix_div_32_dbg(int32_t num, int16_t hi, int16_t lo, const char* file, int line) {
  g_operations++;
  int64_t denom = (int64_t)hi * 65536 + (int64_t)lo * 2;
  if (hi < 16384 || lo < 0)
    qfix_debug_report("qfix_div_32", "denominator not normalised", file, line);
  else if (num < 0 || num >= denom)
    qfix_debug_report("qfix_div_32", "numerator outside 0 <= num < denom", file, line);
  int32_t q29 = div_32_q29(num, hi, lo);
  if (q29 >= (1 << 29) || q29 < -(1 << 29))
    qfix_debug_report("qfix_div_32", "wrap-around in the final x4", file, line);
  return qfix_div_32(num, hi, lo);
}

int32_t qfix_pow2_dbg(int16_t exponent, int16_t fraction, int16_t q, const char* file,
                      int line) {
  g_operations++;
  if (fraction < 0) qfix_debug_report("qfix_pow2", "negative fraction", file, line);
  int32_t saved = overflow;
  overflow = 0;
  int32_t r = qfix_pow2(exponent, fraction, q);
  if (overflow) qfix_debug_report("qfix_pow2", "result does not fit in 32 bits", file, line);
  overflow |= saved;
  return r;
}

uint32_t qfix_sqrt_dbg(uint32_t x, const char*, int) { COUNTED(qfix_sqrt(x)); }

}  // extern "C"

#endif
