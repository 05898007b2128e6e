// Fuzz target: the label loaders.
// Input layout: byte 0 selects the loader (mod 3: 0 string, 1 stream, 2 string
// list with one element per line); the rest is the text. Every loaded entry is
// then read back through the getters.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "engine/VXN_label.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  g_nStatePrint = 3;
  std::string text((const char*)data + 1, size - 1);
  VXN_Label label;
  VXN_Label_initialize(&label);
  switch (data[0] % 3) {
    case 0:
      VXN_Label_load_from_string(&label, 24000, 120, text.c_str());
      break;
    case 1: {
      FILE* fp = text.empty() ? fopen("/dev/null", "r") : fmemopen(&text[0], text.size(), "r");
      VXN_Label_load_from_fp(&label, 24000, 120, fp);
      fclose(fp);
      break;
    }
    default: {
      std::vector<std::string> lines;
      size_t start = 0;
      for (size_t i = 0; i <= text.size(); i++)
        if (i == text.size() || text[i] == '\n') {
          lines.push_back(text.substr(start, i - start));
          start = i + 1;
        }
      std::vector<char*> ptrs;
      for (std::string& l : lines) ptrs.push_back(&l[0]);
      VXN_Label_load_from_string_list(&label, 24000, 120, ptrs.data(), (int)ptrs.size());
    }
  }
  volatile size_t sink = 0;
  for (int i = 0; i <= VXN_Label_get_size(&label); i++) {
    const char* s = VXN_Label_get_string(&label, i);
    if (s) sink += strlen(s);
    sink += VXN_Label_get_dur_rate(&label, i) + (size_t)VXN_Label_get_frame(&label, i);
  }
  (void)sink;
  VXN_Label_clear(&label);
  return 0;
}
