// vxn-wfstc: compiles a transducer source (docs/wfst-format.md) into the text
// front end's transition records, as a binary file or as a C array to link
// into a language module, checks the result with the front end's own loader,
// and can run texts through it for rule development.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "frontend/wfst_common.h"
#include "tools/wfstc/wfst_compiler.h"

namespace {

const char kUsage[] =
    "usage: vxn-wfstc [options] SOURCE\n"
    "  -o FILE       write the compiled transitions to FILE (binary records, or C with -c)\n"
    "  -c NAME       write C source defining NAME[] and NAME_size instead of binary\n"
    "  -p            print the compiled transducer (states and transitions)\n"
    "  -t TEXT       transduce TEXT and print the input/output projection (0x11..0x14\n"
    "                shown as { | } _) and the output projection; may be repeated\n"
    "  -h            this help\n";

bool read_file(const char* path, std::string* text) {
  FILE* fp = fopen(path, "rb");
  if (!fp) return false;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, fp)) > 0) text->append(buf, n);
  bool ok = !ferror(fp);
  fclose(fp);
  return ok;
}

std::string visible(const char* s) {
  std::string out;
  for (; *s; ++s) {
    switch ((unsigned char)*s) {
      case VXN_WFST_IO_OPEN: out += '{'; break;
      case VXN_WFST_IO_SEP: out += '|'; break;
      case VXN_WFST_IO_CLOSE: out += '}'; break;
      case VXN_WFST_IO_SPACE: out += '_'; break;
      default: out += *s;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const char* outPath = nullptr;
  const char* cName = nullptr;
  const char* source = nullptr;
  bool print = false;
  std::vector<const char*> texts;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    bool needs = !strcmp(a, "-o") || !strcmp(a, "-c") || !strcmp(a, "-t");
    if (needs && i + 1 >= argc) {
      fprintf(stderr, "vxn-wfstc: %s needs an argument\n%s", a, kUsage);
      return 2;
    }
    if (!strcmp(a, "-o"))
      outPath = argv[++i];
    else if (!strcmp(a, "-c"))
      cName = argv[++i];
    else if (!strcmp(a, "-t"))
      texts.push_back(argv[++i]);
    else if (!strcmp(a, "-p"))
      print = true;
    else if (!strcmp(a, "-h") || !strcmp(a, "--help")) {
      fputs(kUsage, stdout);
      return 0;
    } else if (a[0] == '-' || source) {
      fprintf(stderr, "vxn-wfstc: unexpected argument %s\n%s", a, kUsage);
      return 2;
    } else {
      source = a;
    }
  }
  if (!source) {
    fputs(kUsage, stderr);
    return 2;
  }
  std::string text;
  if (!read_file(source, &text)) {
    fprintf(stderr, "vxn-wfstc: cannot read %s\n", source);
    return 1;
  }
  WfstcOutput compiled;
  std::string error;
  if (!wfstc_compile(text, &compiled, &error)) {
    fprintf(stderr, "vxn-wfstc: %s: %s\n", source, error.c_str());
    return 1;
  }
  // The front end's loader must accept what was compiled.
  VXN_Wfst fst;
  VXN_Wfst_initialize(&fst);
  if (!VXN_Wfst_load(&fst, compiled.records.data(), compiled.records.size(), 0)) {
    fprintf(stderr, "vxn-wfstc: %s: the compiled transitions do not load\n", source);
    return 1;
  }
  int status = 0;
  if (outPath) {
    FILE* fp = fopen(outPath, cName ? "w" : "wb");
    if (!fp) {
      fprintf(stderr, "vxn-wfstc: cannot write %s\n", outPath);
      VXN_Wfst_clear(&fst);
      return 1;
    }
    bool ok;
    if (cName) {
      const char* base = strrchr(source, '/');
      std::string c = wfstc_c_array(compiled.records, cName, base ? base + 1 : source);
      ok = fwrite(c.data(), 1, c.size(), fp) == c.size();
    } else {
      ok = fwrite(compiled.records.data(), 1, compiled.records.size(), fp) == compiled.records.size();
    }
    if (fclose(fp) != 0 || !ok) {
      fprintf(stderr, "vxn-wfstc: cannot write %s\n", outPath);
      status = 1;
    }
  }
  if (print) VXN_Wfst_print(&fst, stdout);
  for (const char* t : texts) {
    char* io = wfst_transduce_with_input_length_control(&fst, wfst_project_io, t);
    char* out = wfst_transduce_with_input_length_control(&fst, wfst_project_output, t);
    printf("%s\n  io:  %s\n  out: %s\n", t, io ? visible(io).c_str() : "(no complete path)",
           out ? out : "(no complete path)");
    VXN_free(io);
    VXN_free(out);
  }
  if (!outPath && !print && texts.empty())
    printf("%s: %zu transitions, %d states, %d final\n", source, compiled.records.size() / 9, compiled.states,
           compiled.finals);
  VXN_Wfst_clear(&fst);
  return status;
}
