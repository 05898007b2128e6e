// Binary contract with the Korean and Chinese analyzer modules: the byte
// offsets of the per-piece result fields, the virtual slot numbers the host
// calls, and helpers that read a field or call a slot of a module object
// through its table of virtual operations. Owns nothing; no state.
// The helpers are as thread-safe as the module object they touch.
#ifndef VXN_MODULE_LAYOUT_H
#define VXN_MODULE_LAYOUT_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

namespace vxn_module {

// Field offsets in bytes from the start of the object (the table pointer is at 0).
enum KoreanOffset : size_t {
  kKoLabels = 8,        // char**
  kKoLabelCount = 16,   // int32
  kKoUttType = 20,      // char
  kKoTextDone = 21,     // byte
  kKoNormalCur = 22,    // byte
  kKoNormalPrev = 23,   // byte
  kKoSilenceTime = 24,  // int32
};

enum ChineseOffset : size_t {
  kChLabels = 8,
  kChLabelCount = 16,
  kChUttType = 20,
  kChTextDone = 21,
  kChSilenceTime = 24,
  kChNormalCur = 28,
  kChNormalPrev = 29,
};

// Slots, counted from the first entry of the table (0 and 1 are the destructors).
enum KoreanSlot : int {
  kKoInitialLoad = 2,           // int (self, char* modelDir, char* dataDir, char* dictDir)
  kKoTextAnalyze = 4,           // int (self, const char* text)
  kKoRefreshInput = 5,          // int (self)
  kKoPreprocessFirst = 6,       // int (self, char* text)
  kKoProcessedLength = 7,       // int (self)
};

enum ChineseSlot : int {
  kChInitialLoad = 2,           // int (self, char* chineseDir, char* dictDir)
  kChTextAnalyze = 4,           // int (self, const char* text)
  kChRefreshInput = 5,          // int (self)
  kChProcessedLength = 6,       // int (self)
};

// Entry names of the module libraries.
constexpr const char* kKoreanLibrary = "libVXN_lang_kr.so";
constexpr const char* kKoreanCreate = "CreateLangKorean";
constexpr const char* kKoreanDestroy = "DestroyLangKorean";
constexpr const char* kChineseLibrary = "libVXN_lang_ch.so";
constexpr const char* kChineseCreate = "CreateLangChinese";
constexpr const char* kChineseDestroy = "DestroyLangChinese";

typedef void* (*FactoryFn)();
typedef void (*DestroyFn)(void* object);

template <typename T>
inline T read_field(const void* object, size_t offset) {
  T value;
  memcpy(&value, static_cast<const char*>(object) + offset, sizeof(T));
  return value;
}

inline bool read_flag(const void* object, size_t offset) {
  return read_field<uint8_t>(object, offset) != 0;
}

// The entry of `slot` in the object's table, as a plain function taking the
// object first (how the platform's C++ ABI passes `this`).
template <typename Fn>
inline Fn slot_function(void* object, int slot) {
  void* const* table = *static_cast<void* const* const*>(object);
  return reinterpret_cast<Fn>(table[slot]);
}

}  // namespace vxn_module

#endif
