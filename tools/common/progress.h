// Progress bar for long-running tools, on standard error.
//
//   VXN_Progress p;
//   VXN_Progress_begin(&p, "importing", total);
//   for (...) VXN_Progress_step(&p, 1);
//   VXN_Progress_end(&p);
//
// On a terminal the bar is redrawn in place ("importing [#####.....]  50% 5/10");
// otherwise (logs, CI) one line is printed at every tenth of the way, so that
// logs stay short. A total of 0 or less draws nothing until the end line.
// Header-only; one bar at a time per record; not thread-safe.
#ifndef VXN_TOOLS_PROGRESS_H
#define VXN_TOOLS_PROGRESS_H

#include <stdio.h>
#include <unistd.h>

struct VXN_Progress {
  const char* label;
  long total;
  long done;
  int shown;     // last percentage drawn (terminal) or tenth printed (log), -1 none
  bool terminal;
  FILE* out;
};

inline void VXN_Progress_draw(VXN_Progress* p) {
  if (p->total <= 0) return;
  const long done = p->done < p->total ? p->done : p->total;
  const int percent = (int)(100 * done / p->total);
  if (p->terminal) {
    if (percent == p->shown && done != p->total) return;
    const int width = 30, filled = percent * width / 100;
    fprintf(p->out, "\r%s [", p->label);
    for (int i = 0; i < width; i++) fputc(i < filled ? '#' : '.', p->out);
    fprintf(p->out, "] %3d%% %ld/%ld", percent, done, p->total);
  } else {
    if (percent / 10 == p->shown) return;
    fprintf(p->out, "%s: %3d%% (%ld/%ld)\n", p->label, percent, done, p->total);
  }
  p->shown = p->terminal ? percent : percent / 10;
  fflush(p->out);
}

inline void VXN_Progress_begin(VXN_Progress* p, const char* label, long total) {
  p->label = label;
  p->total = total;
  p->done = 0;
  p->shown = -1;
  p->out = stderr;
  p->terminal = isatty(fileno(stderr)) != 0;
  VXN_Progress_draw(p);
}

inline void VXN_Progress_step(VXN_Progress* p, long n) {
  p->done += n;
  VXN_Progress_draw(p);
}

// Completes the bar (a terminal bar gets its newline).
inline void VXN_Progress_end(VXN_Progress* p) {
  p->done = p->total;
  VXN_Progress_draw(p);
  if (p->terminal && p->total > 0) fputc('\n', p->out);
  fflush(p->out);
}

#endif
