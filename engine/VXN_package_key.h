// Scrambling key of the model package string tables (.qt and .pt): the one
// place that holds it, shared by the package reader and the package writer.
// The key is assembled at run time from a 4-byte and a 1-byte constant.
// Constant data only; safe from any thread.
#ifndef VXN_PACKAGE_KEY_H
#define VXN_PACKAGE_KEY_H

#include <stdint.h>

enum { VXN_PACKAGE_KEY_SIZE = 5 };

static const uint32_t kVxnPackageKeyWord = 0x5A3C91E7u;
static const uint8_t kVxnPackageKeyByte = 0x6Bu;

// key[0..3] are the bytes of the word, least significant first; key[4] the byte.
// The byte at file offset i (from 4 on) is stored as plain + key[i % 5].
static inline void VXN_package_key(unsigned char key[VXN_PACKAGE_KEY_SIZE]) {
  for (int i = 0; i < 4; i++) key[i] = (unsigned char)(kVxnPackageKeyWord >> (8 * i));
  key[4] = kVxnPackageKeyByte;
}

#endif
