// Scrambling key of the prosody database's phone list: the one place that
// holds it, shared by the database loader and the database builder. The key
// is assembled at run time from a seed. Constant data only; safe from any
// thread.
#ifndef VXN_PROSODY_KEY_H
#define VXN_PROSODY_KEY_H

#include <stdint.h>

enum { VXN_PROSODY_KEY_SIZE = 5 };

static const uint32_t kVxnProsodyKeySeed = 0x5658u;

// Five steps of a linear congruential generator from the seed; the byte at
// position i of the phone list is stored as plain + key[i % 5].
static inline void VXN_prosody_key(uint8_t key[VXN_PROSODY_KEY_SIZE]) {
  uint32_t x = kVxnProsodyKeySeed;
  for (int i = 0; i < VXN_PROSODY_KEY_SIZE; i++) {
    x = x * 1103515245u + 12345u;
    key[i] = (uint8_t)(x >> 16);
  }
}

#endif
