// Stage timer and timing log ("SynthesisTime.txt" in the working directory).
// Every operation does nothing unless its enabled flag is 1 (the facade's
// timeLog). Owns nothing; the log file is opened and closed per line.
#ifndef VXN_TIMECHECK_H
#define VXN_TIMECHECK_H

#include <stdint.h>

class CVxnTimeCheck {
 public:
  CVxnTimeCheck() { Refresh(); }

  static uint32_t GetTick();
  uint32_t GetStartTimeTick(int enabled);
  // Seconds since the start tick; 0.0 when not enabled.
  float GetTimeDuration(int enabled);
  // Appends the lines of one stage (0 to 3) to the timing log.
  void WriteLog(int enabled, int stage, float seconds);
  static void VXNLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
  void Refresh();

  static const char* const kLogName;

 private:
  uint32_t startTick;
  uint32_t endTick;
  float duration;  // milliseconds
};

#endif
