// Shared by the package fuzz targets: a small reference voice written with
// the package writer (its four files kept in memory), loading a package from
// memory through the engine's reader, and a few lookups on what loaded.
// Setting VXN_FUZZ_SEED_DIR writes the reference files there as seeds.
#ifndef VXN_FUZZ_PACKAGE_COMMON_H
#define VXN_FUZZ_PACKAGE_COMMON_H

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/VXN_code.h"
#include "engine/VXN_engine.h"
#include "tools/voicebuild/VXN_package_writer.h"
#include "tools/voicebuild/VXN_synthetic_voice.h"

namespace vxn_fuzz {

using Bytes = std::vector<unsigned char>;

struct Package {
  Bytes qt, pt, am, dt;
};

inline Bytes slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The reference voice: 4-leaf trees, short vectors, GV for every stream.
inline const Package& reference() {
  static Package pkg = [] {
    vxn::voice::SyntheticOptions o;
    o.seed = 3;
    o.leaves = 4;
    o.duration_leaves = 4;
    o.static_length[0] = 3;
    o.static_length[2] = 2;
    char dir[] = "/tmp/vxn_fuzzXXXXXX";
    std::string stem = std::string(mkdtemp(dir)) + "/ref";
    std::string error;
    Package p;
    if (!vxn::voice::write_package(vxn::voice::make_synthetic_voice(o), stem, nullptr, &error)) {
      fprintf(stderr, "reference voice: %s\n", error.c_str());
      abort();
    }
    p.qt = slurp(stem + ".qt");
    p.pt = slurp(stem + ".pt");
    p.am = slurp(stem + ".am");
    p.dt = slurp(stem + ".dt");
    if (const char* seeds = getenv("VXN_FUZZ_SEED_DIR")) {
      for (const char* ext : {".qt", ".pt", ".am", ".dt"}) {
        std::ofstream out(std::string(seeds) + "/ref" + ext, std::ios::binary);
        const Bytes& b = ext[1] == 'q' ? p.qt : ext[1] == 'p' ? p.pt : ext[1] == 'a' ? p.am : p.dt;
        out.write((const char*)b.data(), (std::streamsize)b.size());
      }
    }
    for (const char* ext : {".qt", ".pt", ".am", ".dt"}) unlink((stem + ext).c_str());
    rmdir(stem.substr(0, stem.size() - 4).c_str());
    return p;
  }();
  return pkg;
}

inline FILE* open_memory(const Bytes& b) {
  if (b.empty()) return fopen("/dev/null", "rb");
  return fmemopen(const_cast<unsigned char*>(b.data()), b.size(), "rb");
}

// Loads a package from memory; on success runs lookups. Never keeps state.
inline void load_and_use(const Package& p) {
  g_nStatePrint = 3;  // the reader's reports are expected here
  VXN_Engine engine;
  VXN_Engine_initialize(&engine, 3);
  FILE* qt = open_memory(p.qt);
  FILE* pt = open_memory(p.pt);
  FILE* am = open_memory(p.am);
  FILE* dt = open_memory(p.dt);
  CVxnCode reader;
  if (reader.VXN_Code_load_question_from_fp(qt, pt) &&
      reader.VXN_Code_load_parameter_from_fp(&engine, am, dt, 1)) {
    static const char* kLabels[] = {
        "aa^b-iy+k=s@1_2/A:0_0_0/B:1-1-3@1-1&1-1#1-1$2-2!0-0;0-0|ai/C:1+1+2/D:0_0/E:content+1",
        "x^a-pau+b=c@x_x/A:1", "k^#-iy+lx=#e/A:1", ""};
    for (const char* label : kLabels) {
      float mean[512], vari[512], dm[16], dv[16], w;
      for (int lang : {0, 1, 5}) {
        engine.ms.language = lang;
        VXN_ModelSet_get_duration(&engine.ms, label, dm, dv);
        for (int s = 0; s < 3; s++) {
          if (VXN_ModelSet_get_vector_length(&engine.ms, s) > 512) continue;
          for (int st = 2; st <= engine.ms.nstate + 1; st++)
            VXN_ModelSet_get_parameter(&engine.ms, label, mean, vari, &w, s, st);
          if (VXN_ModelSet_use_gv(&engine.ms, s) && engine.ms.gv[s].vector_length <= 512)
            VXN_ModelSet_get_gv(&engine.ms, mean, vari, s, engine.gv_iw[s]);
        }
      }
    }
  }
  fclose(qt);
  fclose(pt);
  fclose(am);
  fclose(dt);
  VXN_Engine_clear(&engine);
}

}  // namespace vxn_fuzz

#endif
