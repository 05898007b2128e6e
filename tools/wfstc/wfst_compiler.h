// Compiler of the readable transducer source (docs/wfst-format.md) into the
// front end's 9-byte transition records, and the writer of those records as a
// C array for linking into a module. Pure functions over strings; reentrant.
// Used by the vxn-wfstc tool, the build and the tests.
#ifndef WFST_COMPILER_H
#define WFST_COMPILER_H

#include <string>
#include <vector>

struct WfstcOutput {
  std::vector<unsigned char> records;  // count * 9 bytes
  int states = 0;                      // states that own transitions
  int finals = 0;                      // distinct final states
};

// Compiles source; on failure returns false with error set to
// "line N: message" (or "message" for whole-file problems).
bool wfstc_compile(const std::string& source, WfstcOutput* out, std::string* error);

// C source defining `const unsigned char name[]` with the records (one record
// per line) and `const size_t name_size`. origin is named in the header comment.
std::string wfstc_c_array(const std::vector<unsigned char>& records, const std::string& name,
                          const std::string& origin);

#endif
