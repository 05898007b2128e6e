#include "api/VXN_TimeCheck.h"

#include <stdarg.h>
#include <stdio.h>
#include <sys/time.h>

const char* const CVxnTimeCheck::kLogName = "SynthesisTime.txt";

uint32_t CVxnTimeCheck::GetTick() {
  struct timeval tv;
  gettimeofday(&tv, nullptr);
  return (uint32_t)((uint64_t)tv.tv_sec * 1000u + (uint64_t)tv.tv_usec / 1000u);
}

void CVxnTimeCheck::Refresh() {
  startTick = 0;
  endTick = 0;
  duration = 0.0f;
}

uint32_t CVxnTimeCheck::GetStartTimeTick(int enabled) {
  Refresh();
  if (enabled != 1) return 0;
  startTick = GetTick();
  return startTick;
}

float CVxnTimeCheck::GetTimeDuration(int enabled) {
  if (enabled != 1) return 0.0f;
  endTick = GetTick();
  duration = (float)(uint32_t)(endTick - startTick);
  return duration / 1000.0f;
}

void CVxnTimeCheck::WriteLog(int enabled, int stage, float seconds) {
  if (enabled != 1) return;
  switch (stage) {
    case 0:
      VXNLog("------------------------------------------------\n");
      VXNLog("Input text : %s\n", "start");
      VXNLog("Model loading\t\t : %.3f sec\n", seconds);
      break;
    case 1:
      VXNLog("Parameter Loading\t : %.3f sec\n", seconds);
      break;
    case 2:
      VXNLog("Parameter Generation : %.3f sec\n", seconds);
      break;
    case 3:
      VXNLog("Speech Generation\t : %.3f sec\n", seconds);
      break;
    default:
      break;
  }
}

void CVxnTimeCheck::VXNLog(const char* format, ...) {
  FILE* fp = fopen(kLogName, "a");
  if (!fp) return;
  va_list args;
  va_start(args, format);
  vfprintf(fp, format, args);
  va_end(args);
  fclose(fp);
}
