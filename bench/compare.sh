#!/usr/bin/env bash
# Speed and memory of the engine's command-line program against Debian's
# espeak-ng and flite (slt voice), one process per sentence, the three
# programs interleaved (the order rotates from sentence to sentence) so that
# changes in the machine's speed fall on all of them alike.
#
#   bench/compare.sh [-n REPEATS] [-c CPU] [-d VOICE_DIR] [SENTENCES]
#     -n  how many times every sentence is spoken by every program (default 3)
#     -c  pin every speaking process to core CPU (taskset); the reader of the
#         stream then runs on the other cores
#     -d  the engine's voice directory (default build/voice/)
#     SENTENCES  one sentence a line (default bench/asr/tv_heldout.txt)
#
# Every sentence is spoken twice per repeat and program:
#   - streamed into bench/first_audio.py, which starts its clock just before it
#     spawns the program and notes when the first byte of samples arrives
#     after the WAV header (first audio), how many seconds of audio came, and
#     the CPU time of the process (wait4, microseconds);
#   - under /usr/bin/time -f "%U %S %M" with the stream going to /dev/null:
#     CPU time (10 ms resolution) and peak resident memory. (The reader's
#     wait4 figure of peak memory would include the Python process the child
#     was spawned from, so memory comes from this run only.)
# Marginal real-time factor: least-squares slope of CPU seconds (user+sys)
# over audio seconds across every run; the intercept is the fixed cost of a
# process (start-up, loading). Ratios are this program's figure over ours.
# VXN_TTS names another vxn-tts to measure (say, an older build, with
# LD_LIBRARY_PATH pointing at its library).
# Needs espeak-ng, flite and GNU time (scripts/install-deps.sh installs them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
repeats=3
cpu=""
voice=$root/build/voice/
while getopts "n:c:d:h" opt; do
  case $opt in
    n) repeats=$OPTARG ;;
    c) cpu=$OPTARG ;;
    d) voice=$OPTARG ;;
    *) sed -n '2,/^set -euo/p' "$0" | grep '^#' | sed 's/^# \{0,1\}//' >&2; exit 1 ;;
  esac
done
shift $((OPTIND - 1))
sentences=${1:-$root/bench/asr/tv_heldout.txt}
tts=${VXN_TTS:-$root/build/bin/vxn-tts}
for need in "$tts" /usr/bin/time; do
  [ -x "$need" ] || { echo "compare: $need is missing (scripts/build.sh, scripts/install-deps.sh)" >&2; exit 1; }
done
for need in espeak-ng flite python3; do
  command -v "$need" >/dev/null || { echo "compare: $need is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
[ -d "$voice/Model" ] || { echo "compare: no voice directory $voice (scripts/build-voices.sh)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mapfile -t lines < <(grep -v '^[[:space:]]*$' "$sentences")
engines=(vxn espeak-ng flite-slt)
pin=()
reader=(python3 "$root/bench/first_audio.py")
if [ -n "$cpu" ]; then
  pin=(taskset -c "$cpu")
  reader+=(--cpu "$cpu")
fi

cpu_jiffies() { awk '/^cpu /{print $2+$3+$4+$6+$7+$8, $2+$3+$4+$5+$6+$7+$8}' /proc/stat; }
read -r busy0 all0 < <(cpu_jiffies)
load0=$(cut -d' ' -f1-3 /proc/loadavg)
start=$(date +%s.%N)

# One unrecorded run of each, so that every program starts from a warm page cache.
warm() {
  "$tts" --voice-dir "$voice" -q -o - "${lines[0]}" >/dev/null
  espeak-ng -v en-us --stdout "${lines[0]}" >/dev/null
  flite -voice slt -t "${lines[0]}" -o /dev/stdout >/dev/null
}
warm

total=$((repeats * ${#lines[@]} * ${#engines[@]}))
done_runs=0
: >"$work/runs.tsv"
for ((r = 0; r < repeats; r++)); do
  for ((i = 0; i < ${#lines[@]}; i++)); do
    text=${lines[$i]}
    for ((k = 0; k < ${#engines[@]}; k++)); do
      e=${engines[$(((k + i + r) % ${#engines[@]}))]}
      case $e in
        vxn) cmd=("$tts" --voice-dir "$voice" -q -o - "$text") ;;
        espeak-ng) cmd=(espeak-ng -v en-us --stdout "$text") ;;
        flite-slt) cmd=(flite -voice slt -t "$text" -o /dev/stdout) ;;
      esac
      stream=$("${reader[@]}" -- "${cmd[@]}")
      "${pin[@]}" /usr/bin/time -f "%U %S %M" -o "$work/time.txt" "${cmd[@]}" >/dev/null 2>/dev/null
      read -r u s m <"$work/time.txt"
      printf '%s\t%d\t%d\t%s\t%s\t%s\t%s\n' "$e" "$r" "$i" "$stream" "$u" "$s" "$m" >>"$work/runs.tsv"
      done_runs=$((done_runs + 1))
      printf '\rcompare: %d/%d runs (repeat %d/%d, sentence %d/%d)   ' \
        "$done_runs" "$total" $((r + 1)) "$repeats" $((i + 1)) "${#lines[@]}" >&2
    done
  done
done
echo >&2
end=$(date +%s.%N)
read -r busy1 all1 < <(cpu_jiffies)
load1=$(cut -d' ' -f1-3 /proc/loadavg)

python3 - "$work/runs.tsv" "$busy0" "$all0" "$busy1" "$all1" "$start" "$end" "$load0" "$load1" \
  "$(nproc)" "$(getconf CLK_TCK)" "${cpu:--}" "$sentences" "$tts" <<'EOF'
import statistics as st
import sys

(path, busy0, all0, busy1, all1, t0, t1, load0, load1, ncpu, hz, pinned, sentences, tts) = sys.argv[1:]
rows = []
for line in open(path):
    f = line.rstrip("\n").split("\t")
    # engine repeat sentence first_byte first_pcm wall audio cpu_wait4 rss_reader status u s maxrss
    rows.append(dict(e=f[0], r=int(f[1]), i=int(f[2]), first=float(f[4]), wall=float(f[5]),
                     audio=float(f[6]), cpu4=float(f[7]), status=int(f[9]),
                     cpu=float(f[10]) + float(f[11]), rss=int(f[12])))
engines = []
for r in rows:
    if r["e"] not in engines:
        engines.append(r["e"])
engines.sort(key=lambda e: e != "vxn")


def fit(xs, ys):
    n = len(xs)
    mx, my = sum(xs) / n, sum(ys) / n
    sxx = sum((x - mx) ** 2 for x in xs)
    sxy = sum((x - mx) * (y - my) for x, y in zip(xs, ys))
    if sxx == 0:
        return float("nan"), float("nan")
    slope = sxy / sxx
    return slope, my - slope * mx


def pct(v, p):
    v = sorted(v)
    k = (len(v) - 1) * p
    lo = int(k)
    hi = min(lo + 1, len(v) - 1)
    return v[lo] + (v[hi] - v[lo]) * (k - lo)


res = {}
for e in engines:
    rs = [r for r in rows if r["e"] == e]
    bad = sum(1 for r in rs if r["status"] != 0 or r["audio"] <= 0)
    rs = [r for r in rs if r["status"] == 0 and r["audio"] > 0]
    x = [r["audio"] for r in rs]
    s4, b4 = fit(x, [r["cpu4"] for r in rs])
    st_, bt = fit(x, [r["cpu"] for r in rs])
    # Spread of repeated runs: per sentence (max - min) / median over the repeats.
    def spread(key):
        out = []
        for i in sorted({r["i"] for r in rs}):
            v = [r[key] for r in rs if r["i"] == i]
            if len(v) > 1 and st.median(v) > 0:
                out.append((max(v) - min(v)) / st.median(v))
        return st.median(out) if out else float("nan")
    per_repeat = []
    for rep in sorted({r["r"] for r in rs}):
        rr = [r for r in rs if r["r"] == rep]
        per_repeat.append(fit([r["audio"] for r in rr], [r["cpu4"] for r in rr])[0])
    firsts = [r["first"] for r in rs]
    res[e] = dict(n=len(rs), bad=bad, rtf4=s4, b4=b4 * 1000, rtft=st_, bt=bt * 1000,
                  mean_rtf=sum(r["cpu4"] for r in rs) / sum(x),
                  audio=st.median(x), cpu=st.median(r["cpu4"] for r in rs) * 1000,
                  first=st.median(firsts), first90=pct(firsts, 0.9),
                  wall=st.median(r["wall"] for r in rs),
                  rss=st.median(r["rss"] for r in rs) / 1024, rssmax=max(r["rss"] for r in rs) / 1024,
                  sp_cpu=spread("cpu4"), sp_first=spread("first"),
                  rep_lo=min(per_repeat), rep_hi=max(per_repeat))

ours = res["vxn"]
print("vxn: %s" % tts)
print("sentences: %s (%d), repeats: %d, pinned to core: %s" % (
    sentences, len({r["i"] for r in rows}), len({r["r"] for r in rows}), pinned))
print()
print("%-10s %9s %9s %8s %10s %9s %9s %9s %9s" % (
    "program", "margRTF", "RTF/time", "fixed", "first p50", "p90", "peak RSS", "RSS max", "wall p50"))
print("%-10s %9s %9s %8s %10s %9s %9s %9s %9s" % (
    "", "(wait4)", "(10ms)", "ms CPU", "ms", "ms", "MiB", "MiB", "ms"))
for e in engines:
    v = res[e]
    print("%-10s %9.4f %9.4f %8.1f %10.1f %9.1f %9.2f %9.2f %9.1f" % (
        e, v["rtf4"], v["rtft"], v["b4"], v["first"], v["first90"], v["rss"], v["rssmax"], v["wall"]))
print()
print("ratio to ours (this program's figure / ours):")
print("%-10s %9s %8s %10s %9s %9s" % ("program", "margRTF", "fixed", "first p50", "p90", "peak RSS"))
for e in engines:
    v = res[e]
    q = lambda k: v[k] / ours[k] if ours[k] else float("nan")
    print("%-10s %9.2f %8.2f %10.2f %9.2f %9.2f" % (e, q("rtf4"), q("b4"), q("first"), q("first90"), q("rss")))
print()
print("per program: runs, failed, median audio s, median CPU ms, mean RTF (CPU/audio), "
      "slope range over repeats")
for e in engines:
    v = res[e]
    print("  %-10s %4d %3d %7.2f s %8.1f ms %8.4f  %.4f..%.4f" % (
        e, v["n"], v["bad"], v["audio"], v["cpu"], v["mean_rtf"], v["rep_lo"], v["rep_hi"]))
elapsed = float(t1) - float(t0)
busy = (int(busy1) - int(busy0)) / int(hz)
ours_cpu = sum(r["cpu4"] + r["cpu"] for r in rows)
print()
print("noise: load average %s at the start, %s at the end; %d cores" % (load0, load1, int(ncpu)))
print("       the machine was busy %.1f of %.1f core-seconds (%.0f%%); the measured programs"
      " took %.1f, so other processes about %.2f cores on average" % (
          busy, elapsed * int(ncpu), 100 * busy / (elapsed * int(ncpu)), ours_cpu,
          max(0.0, busy - ours_cpu) / elapsed))
print("       spread of repeats (median over sentences of (max-min)/median):")
for e in engines:
    print("         %-10s CPU %5.1f%%   first audio %5.1f%%" % (
        e, 100 * res[e]["sp_cpu"], 100 * res[e]["sp_first"]))
EOF
