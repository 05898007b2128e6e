# Progress bars for the project's scripts (source this file). The shell twin
# of tools/common/progress.h: on a terminal the bar is redrawn in place,
# otherwise (logs, CI) one line is printed per call.
#   vxn_progress LABEL DONE TOTAL [UNIT]
#   vxn_progress_end            (newline after a terminal bar)
vxn_progress() {
  local label=$1 done=$2 total=$3 unit=${4:-}
  [ "$total" -gt 0 ] || total=1
  [ "$done" -le "$total" ] || done=$total
  local percent=$((100 * done / total)) width=30
  local filled=$((percent * width / 100))
  local bar
  bar=$(printf '%*s' "$filled" '' | tr ' ' '#')$(printf '%*s' $((width - filled)) '' | tr ' ' '.')
  if [ -t 2 ]; then
    printf '\r%s [%s] %3d%% %d/%d%s' "$label" "$bar" "$percent" "$done" "$total" "${unit:+ $unit}" >&2
  else
    printf '%s [%s] %3d%% %d/%d%s\n' "$label" "$bar" "$percent" "$done" "$total" "${unit:+ $unit}" >&2
  fi
}
vxn_progress_end() {
  if [ -t 2 ]; then printf '\n' >&2; fi
}
