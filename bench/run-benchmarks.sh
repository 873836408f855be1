#!/usr/bin/env bash
# Runs the three benchmarks and writes their figures into a Markdown report.
# Usage: bench/run-benchmarks.sh BUILD_DIR REPORT
# Knobs: BENCH_STARTUP_RUNS (launches of each program, default 31),
#        BENCH_COLD / BENCH_WARM (samples per interaction, default 100 / 500).
set -euo pipefail

build=${1:?usage: run-benchmarks.sh BUILD_DIR REPORT}
report=${2:?usage: run-benchmarks.sh BUILD_DIR REPORT}
here=$(cd "$(dirname "$0")" && pwd)
startupRuns=${BENCH_STARTUP_RUNS:-31}
cold=${BENCH_COLD:-100}
warm=${BENCH_WARM:-500}

work=$(mktemp -d)
xvfb=""
wm=""
cleanup() {
  [[ -n "$wm" ]] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
  [[ -n "$xvfb" ]] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Qt wants a private runtime directory; give every program here the same one.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A display of our own, on the first free number from 97 up, with a window
# manager so that windows are mapped inside frames as on a desktop.
start_display() {
  local n
  for n in $(seq 97 130); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    "${priority[@]}" Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.05
    done
    kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    xvfb=""
  done
  echo "run-benchmarks: no X display could be started" >&2
  return 1
}

start_wm() {
  "${priority[@]}" openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    sleep 0.05
  done
  echo "run-benchmarks: the window manager did not start" >&2
  return 1
}

# Google Benchmark's CSV into a Markdown table.
logic_table() {
  echo "| Benchmark | Time per call (ns) | CPU per call (ns) | Iterations |"
  echo "|---|---:|---:|---:|"
  awk -F, 'header { gsub(/"/, "", $1); printf "| %s | %.1f | %.1f | %s |\n", $1, $3, $4, $2 }
           /^name,/ { header = 1 }' "$1"
}

# Other work on the machine (builds, tests) would otherwise decide the
# figures: run the display, the window manager and every benchmark at a
# raised priority where that is allowed, all programs alike.
priority=()
if nice -n -10 true 2>/dev/null; then
  priority=(nice -n -10)
  priority_note="nice −10"
else
  priority_note="normal (raising it was not allowed)"
fi

start_display
start_wm

echo "run-benchmarks: start-up, $startupRuns launches of each program" >&2
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
"${priority[@]}" "$build/bench/tolvane_startup_bench" --runs "$startupRuns" \
  "$build/app/tolvane" "$build/bench/tolvane_baseline" "$build/bench/tolvane_baseline_ja" \
  >"$work/startup.md"

echo "run-benchmarks: interactions, $cold first loads and $warm repeats each" >&2
"${priority[@]}" "$build/bench/tolvane_interaction_bench" --cold "$cold" --warm "$warm" >"$work/interaction.md"

echo "run-benchmarks: diagnosis core" >&2
"${priority[@]}" "$build/bench/tolvane_logic_bench" --benchmark_out="$work/logic.csv" \
  --benchmark_out_format=csv >/dev/null 2>"$work/logic.err"
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

os=$(. /etc/os-release && echo "$PRETTY_NAME")
memory=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
compiler="g++ $(g++ -dumpfullversion)"
qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)

{
  echo "# Performance"
  echo
  echo "Written by \`make bench\` on $(date -u '+%Y-%m-%d %H:%M UTC'); run it again to refresh."
  echo
  echo "## Targets"
  echo
  echo "| Target | Measured | Limit | |"
  echo "|---|---:|---:|---|"
  grep -h '^TARGET ' "$work/startup.md" "$work/interaction.md" | sed 's/^TARGET //'
  echo
  echo "## Machine"
  echo
  echo "- $os, kernel $(uname -r), $(uname -m), $(nproc) cores, $memory of memory"
  echo "- $compiler; Qt $qt; build type RelWithDebInfo for tolvane and the baseline alike"
  echo "- Load average (1, 5, 15 min) before the runs: $load_before; after: $load_after"
  echo "- Priority of the display, the window manager and the benchmarks: $priority_note"
  echo
  echo "## Start-up against a bare Qt window"
  echo
  echo "The programs are launched in turn on a private Xvfb display with openbox."
  echo "The clock runs from spawning the process to the first of its windows becoming"
  echo "viewable (mapped inside its frame), and on to the first paint into it, seen"
  echo "through the X DAMAGE extension."
  echo
  grep -v '^TARGET ' "$work/startup.md"
  echo
  echo "## Interactions on the real screens"
  echo
  grep -v '^TARGET ' "$work/interaction.md"
  echo
  echo "## Diagnosis core"
  echo
  echo "Google Benchmark, answers held in memory."
  echo
  logic_table "$work/logic.csv"
  echo
  cat "$here/performance-notes.md"
} >"$report"
echo "run-benchmarks: wrote $report" >&2
