// Prosody database: loader, diphone index and the engine's hybrid hooks.
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <vector>

#include "engine/VXN_engine.h"
#include "engine/VXN_prosody_key.h"
#include "engine/VXN_vsearch.h"

namespace {


const int32_t kMaxUnits = 1000000;
const int32_t kMaxSets = 1000;
const int32_t kMaxRows = 100000;
const int32_t kMaxColumns = 100;

// Bounded little-endian reader over a file image.
struct Cursor {
  const uint8_t* data;
  size_t size;
  size_t pos;
  bool take(void* out, size_t n) {
    if (n > size - pos) return false;
    memcpy(out, data + pos, n);
    pos += n;
    return true;
  }
  size_t left() const { return size - pos; }
};

int refuse(const char* name, const char* format, ...) __attribute__((format(printf, 2, 3)));

int refuse(const char* name, const char* format, ...) {
  char reason[256];
  va_list ap;
  va_start(ap, format);
  vsnprintf(reason, sizeof(reason), format, ap);
  va_end(ap);
  VXN_print(VXN_LEVEL_ERROR, "error [1070] : Hybrid_LoadingPD: %s: %s.\n", name ? name : "(memory)",
            reason);
  return 0;
}

bool graphic(const char* s) {
  for (; *s; s++)
    if (*s < 0x21 || *s > 0x7e) return false;
  return true;
}

// Phone list: names each followed by ','; text after the last ',' is ignored.
int parse_phones(VXN_VTContext* vt, const uint8_t* text, int length, int count, const char* name) {
  uint8_t key[VXN_PROSODY_KEY_SIZE];
  VXN_prosody_key(key);
  std::vector<char> plain((size_t)length + 1, 0);
  for (int i = 0; i < length; i++) plain[(size_t)i] = (char)(uint8_t)(text[i] - key[i % 5]);
  vt->phone_names = (char(*)[VXN_VT_NAME_SIZE])VXN_calloc((size_t)count, VXN_VT_NAME_SIZE);
  if (!vt->phone_names) return 0;
  vt->phone_count = count;
  int filled = 0, start = 0;
  for (int i = 0; i < length; i++) {
    if (plain[(size_t)i] != ',') continue;
    const int n = i - start;
    char phone[64] = {0};
    memcpy(phone, &plain[(size_t)start], (size_t)(n < 63 ? n : 63));
    if (n < 1 || n >= VXN_VT_NAME_SIZE || (int)strlen(phone) != n || !graphic(phone))
      return refuse(name, "phone %d of the list is '%s', not a name of 1 to 4 characters", filled,
                    phone);
    if (filled >= count) return refuse(name, "the phone list names more than its %d phones", count);
    if (PhonemeToIndex(vt->phone_names, filled, phone) >= 0)
      return refuse(name, "phone '%s' appears twice in the phone list", phone);
    memcpy(vt->phone_names[filled++], phone, (size_t)n);
    start = i + 1;
  }
  return 1;
}

int parse_sets(VXN_VTContext* vt, Cursor* in, const char* name) {
  vt->sets = (VXN_VTContourSet*)VXN_calloc((size_t)vt->set_count, sizeof(VXN_VTContourSet));
  if (!vt->sets) return 0;
  for (int s = 0; s < vt->set_count; s++) {
    int32_t rows, columns;
    if (!in->take(&rows, 4) || !in->take(&columns, 4))
      return refuse(name, "the file ends in the header of contour set %d", s);
    if (rows < 1 || rows > kMaxRows)
      return refuse(name, "contour set %d has %d rows, outside 1..%d", s, rows, kMaxRows);
    if (columns < 1 || columns > kMaxColumns)
      return refuse(name, "contour set %d has %d columns, outside 1..%d", s, columns, kMaxColumns);
    if (s == VXN_VT_SET_CONTOUR && columns != VXN_VT_CONTOUR_POINTS)
      return refuse(name, "the contour set has %d columns, not %d", columns,
                    (int)VXN_VT_CONTOUR_POINTS);
    const size_t n = (size_t)rows * (size_t)columns;
    if (n * sizeof(float) > in->left())
      return refuse(name, "contour set %d (%d x %d) runs past the end of the file", s, rows,
                    columns);
    vt->sets[s].values = (float*)VXN_calloc(n, sizeof(float));
    if (!vt->sets[s].values) return 0;
    vt->sets[s].rows = rows;
    vt->sets[s].columns = columns;
    in->take(vt->sets[s].values, n * sizeof(float));
    for (size_t i = 0; i < n; i++)
      if (!isfinite(vt->sets[s].values[i]))
        return refuse(name, "value %zu of contour set %d is not a finite number", i, s);
  }
  return 1;
}

int parse_units(VXN_VTContext* vt, Cursor* in, const char* name) {
  const size_t bytes = (size_t)vt->unit_count * VXN_VT_RECORD_BYTES;
  if (bytes > in->left())
    return refuse(name, "%d unit records need %zu bytes, the file holds %zu", vt->unit_count, bytes,
                  in->left());
  if (bytes < in->left())
    return refuse(name, "%zu bytes follow the last unit record", in->left() - bytes);
  vt->units = (VXN_VTUnit*)VXN_calloc(vt->unit_count > 0 ? (size_t)vt->unit_count : 1,
                                      sizeof(VXN_VTUnit));
  if (!vt->units) return 0;
  const int P = vt->phone_count;
  for (int a = 0; a < vt->unit_count; a++) {
    uint8_t r[VXN_VT_RECORD_BYTES];
    in->take(r, sizeof(r));
    VXN_VTUnit* u = &vt->units[a];
    memcpy(u->b, r, 7);
    u->contour = (uint16_t)(r[7] | (r[8] << 8));
    const int context[5] = {u->b[0], u->b[1], u->b[2], u->b[3], u->b[4] & 0x7f};
    for (int k = 0; k < 5; k++)
      if (context[k] >= P)
        return refuse(name, "unit %d: phone index %d in byte %d, the inventory has %d phones", a,
                      context[k], k, P);
    if (u->b[5] >= vt->sets[VXN_VT_SET_SLOPE].rows)
      return refuse(name, "unit %d: slope row %d, the slope codebook has %d rows", a, u->b[5],
                    vt->sets[VXN_VT_SET_SLOPE].rows);
    if (u->b[6] >= vt->sets[VXN_VT_SET_F0].rows)
      return refuse(name, "unit %d: F0 row %d, the F0 codebook has %d rows", a, u->b[6],
                    vt->sets[VXN_VT_SET_F0].rows);
    if (u->contour >= vt->sets[VXN_VT_SET_CONTOUR].rows)
      return refuse(name, "unit %d: contour row %d, the contour set has %d rows", a, u->contour,
                    vt->sets[VXN_VT_SET_CONTOUR].rows);
  }
  return 1;
}

int parse(VXN_VTContext* vt, Cursor* in, const char* name) {
  uint8_t P;
  uint16_t T;
  if (!in->take(&P, 1) || !in->take(&T, 2)) return refuse(name, "the file ends inside its header");
  if (P == 0) return refuse(name, "the phone inventory is empty");
  if (T > in->left()) return refuse(name, "the phone list of %u bytes runs past the end", T);
  const uint8_t* text = in->data + in->pos;
  in->pos += T;
  if (!parse_phones(vt, text, T, P, name)) return 0;
  int32_t header[3];
  if (!in->take(header, sizeof(header)))
    return refuse(name, "the file ends before the unit and set counts");
  vt->unit_count = header[0];
  if (header[0] < 0 || header[0] > kMaxUnits)
    return refuse(name, "unit count %d outside 0..%d", header[0], kMaxUnits);
  if (header[1] != VXN_VT_RECORD_BYTES)
    return refuse(name, "unit records of %d bytes, not %d", header[1], (int)VXN_VT_RECORD_BYTES);
  if (header[2] < 3 || header[2] > kMaxSets)
    return refuse(name, "contour set count %d outside 3..%d", header[2], kMaxSets);
  vt->set_count = header[2];
  return parse_sets(vt, in, name) && parse_units(vt, in, name);
}

}  // namespace

int VXN_VT_is_hybrid(const VXN_VTContext* vt) { return vt && vt->hybrid; }

void VXN_VT_set_hybrid(VXN_VTContext* vt, int flag) { vt->hybrid = flag ? 1 : 0; }

int Hybrid_LoadingPD_from_memory(VXN_VTContext* vt, const uint8_t* data, size_t size,
                                 const char* name) {
  Hybrid_FreeDB(vt);
  Cursor in = {data, size, 0};
  if (!data || !parse(vt, &in, name)) {
    Hybrid_FreeDB(vt);
    return 0;
  }
  return 1;
}

int Hybrid_LoadingPD(VXN_VTContext* vt, const char* path) {
  FILE* fp = path ? fopen(path, "rb") : NULL;
  if (!fp) {
    Hybrid_FreeDB(vt);
    return refuse(path, "cannot open the file");
  }
  std::vector<uint8_t> image;
  uint8_t buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), fp)) > 0) {
    // A sane database is far below this; anything larger is not one.
    if (image.size() + n > ((size_t)1 << 30)) {
      fclose(fp);
      Hybrid_FreeDB(vt);
      return refuse(path, "the file is larger than 1 GB");
    }
    image.insert(image.end(), buf, buf + n);
  }
  fclose(fp);
  return Hybrid_LoadingPD_from_memory(vt, image.data(), image.size(), path);
}

int Hybrid_DiphoneDB(VXN_VTContext* vt) {
  const int P = vt->phone_count, A = vt->unit_count;
  VXN_free(vt->diphones);
  VXN_free(vt->diphone_counts);
  vt->diphones = NULL;
  vt->diphone_counts = NULL;
  if (P <= 0) return 1;
  const size_t heads = (size_t)P * (size_t)P;
  const size_t total = heads + (A > 1 ? (size_t)A - 1 : 0);
  vt->diphones = (VXN_VTDiphone*)VXN_calloc(total, sizeof(VXN_VTDiphone));
  vt->diphone_counts = (int32_t*)VXN_calloc(heads, sizeof(int32_t));
  if (!vt->diphones || !vt->diphone_counts) {
    VXN_free(vt->diphones);
    VXN_free(vt->diphone_counts);
    vt->diphones = NULL;
    vt->diphone_counts = NULL;
    return 0;
  }
  for (size_t i = 0; i < total; i++) vt->diphones[i].left = vt->diphones[i].right = -1;
  // Tail (the empty entry) of every chain while it grows.
  std::vector<VXN_VTDiphone*> tail(heads);
  for (size_t i = 0; i < heads; i++) tail[i] = &vt->diphones[i];
  size_t next_free = heads;
  for (int k = 1; k < A; k++) {
    const size_t pair = (size_t)vt->units[k - 1].b[0] * (size_t)P + vt->units[k].b[0];
    VXN_VTDiphone* e = tail[pair];
    e->left = k - 1;
    e->right = k;
    e->next = &vt->diphones[next_free++];
    tail[pair] = e->next;
    vt->diphone_counts[pair]++;
  }
  return 1;
}

void Hybrid_FreeDB(VXN_VTContext* vt) {
  Hybrid_close(vt);
  if (vt->sets)
    for (int s = 0; s < vt->set_count; s++) VXN_free(vt->sets[s].values);
  VXN_free(vt->sets);
  VXN_free(vt->units);
  VXN_free(vt->phone_names);
  VXN_free(vt->diphones);
  VXN_free(vt->diphone_counts);
  vt->sets = NULL;
  vt->set_count = 0;
  vt->units = NULL;
  vt->unit_count = 0;
  vt->phone_names = NULL;
  vt->phone_count = 0;
  vt->diphones = NULL;
  vt->diphone_counts = NULL;
}

void VXN_VT_initialize(VXN_Engine* engine, const char* prosodyPath) {
  VXN_VTContext* vt = &engine->vt;
  vt->hybrid = 1;
  Hybrid_close(vt);
  if (!Hybrid_LoadingPD(vt, prosodyPath) || !Hybrid_DiphoneDB(vt)) {
    // Without a database every sentence would fall back anyway: say so once
    // and stay in basic mode.
    Hybrid_FreeDB(vt);
    vt->hybrid = 0;
    return;
  }
  VXN_print(VXN_LEVEL_INFO, "Hybrid info : %d phones, %d units, %d contour sets from %s\n",
            vt->phone_count, vt->unit_count, vt->set_count, prosodyPath);
}

void VXN_VT_clear(VXN_Engine* engine) { Hybrid_FreeDB(&engine->vt); }

void VXN_VT_get_pitch_range(const VXN_VTContext* vt, float* range, float* expansion,
                            float* floor_hz) {
  *range = vt->range;
  *expansion = vt->expansion;
  *floor_hz = vt->floor_hz;
}

void VXN_VT_set_pitch_range(VXN_VTContext* vt, float range, float expansion, float floor_hz) {
  vt->range = range;
  vt->expansion = expansion;
  vt->floor_hz = floor_hz;
}
