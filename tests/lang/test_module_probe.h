// Access to the probes of a loaded test analyzer module (see test_module.cpp).
// The probe keeps its own reference to the library, so the module's state
// survives the host's dlclose while the probe lives.
#ifndef VXN_TEST_MODULE_PROBE_H
#define VXN_TEST_MODULE_PROBE_H

#include <dlfcn.h>

#include <string>

class ModuleProbe {
 public:
  explicit ModuleProbe(const std::string& path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW);
    if (!handle_) return;
    calls_ = reinterpret_cast<const char* (*)()>(dlsym(handle_, "VXN_test_module_calls"));
    last_ = reinterpret_cast<const char* (*)()>(dlsym(handle_, "VXN_test_module_last_text"));
    live_ = reinterpret_cast<int (*)()>(dlsym(handle_, "VXN_test_module_live"));
    reset_ = reinterpret_cast<void (*)()>(dlsym(handle_, "VXN_test_module_reset"));
    reset();
  }
  ~ModuleProbe() {
    if (handle_) dlclose(handle_);
  }
  ModuleProbe(const ModuleProbe&) = delete;
  ModuleProbe& operator=(const ModuleProbe&) = delete;

  bool ok() const { return handle_ && calls_ && last_ && live_ && reset_; }
  std::string calls() const { return calls_ ? calls_() : ""; }
  std::string last_text() const { return last_ ? last_() : ""; }
  int live() const { return live_ ? live_() : -1; }
  void reset() {
    if (reset_) reset_();
  }

 private:
  void* handle_ = nullptr;
  const char* (*calls_)() = nullptr;
  const char* (*last_)() = nullptr;
  int (*live_)() = nullptr;
  void (*reset_)() = nullptr;
};

inline std::string module_dir(const char* variant) {
  return std::string(VXN_TEST_MODULE_DIR) + variant + "/";
}

#endif
