#!/usr/bin/env bash
# Measures tolvane against its floor and writes the report. Usage: bench/run.sh
# BUILD_DIR REPORT [WINDOWS_BUILD_DIR [SITE]]; LAUNCHES (default 31) launches of
# each. With a Windows build, tolvane.exe under Wine too; with a site, the site.
set -euo pipefail
build=$1 report=$2 launches=${LAUNCHES:-31} work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work && chmod 700 "$work" && unset QT_QPA_PLATFORM

# A display of our own with no window manager: the windows are the root's
# children, and nothing but the program draws.
n=97
while [[ -e /tmp/.X$n-lock ]]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & xvfb=$! && export DISPLAY=":$n"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break || sleep 0.1; done

# Launches a floor and a program in turn (through RUNNER, if given), each once
# into the file cache first; which goes first alternates, so that drift in the
# machine falls on both. Usage: launch FLOOR PROGRAM [RUNNER]
launch() {
    "$probe" ${3:-} "${!1}" >/dev/null && "$probe" ${3:-} "${!2}" >/dev/null
    for i in $(seq "$launches"); do
        if ((i % 2)); then order=("$1" "$2"); else order=("$2" "$1"); fi
        for which in "${order[@]}"; do "$probe" ${3:-} "${!which}" >>"$work/$which" || true; done
        printf '\rbench: launch %d of %d' "$i" "$launches" >&2
    done
    echo >&2
}
app=$build/app/tolvane floor=$build/bench/tolvane_floor probe=$build/bench/tolvane_probe
launch floor app

median() { sort -n | awk '{v[NR] = $1} END {print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# tolvane.exe and a Win32 floor like the one above, under Wine, in real X
# windows: a prefix of the tests' kind without its virtual desktop.
if [[ -n ${3:-} ]]; then
    export WINEPREFIX=$(realpath -m "$3/wine") WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
    "$(dirname "$0")/../tests/program/wine-run.sh" "$WINEPREFIX" cmd /c exit >/dev/null 2>&1
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
    wineserver -p || true # one server for every launch, as on a desktop where Wine runs
    winapp=$3/tolvane.exe winfloor=$3/bench/tolvane_floor.exe
    launch winfloor winapp /usr/bin/wine
    wineserver -k
fi

declare -A m
for which in floor app winfloor winapp; do
    [[ -f $work/$which ]] || continue
    for col in 1 2 3; do m[$which$col]=$(cut -d' ' -f$col "$work/$which" | median); done
done
ratio() { awk -v a="${m[${2:-app}$1]}" -v b="${m[${3:-floor}$1]}" 'BEGIN {printf "%.3f", a / b}'; }
verdict() { awk -v r="$1" -v l="$2" 'BEGIN {print r <= l ? "met" : "missed"}'; }

clicks=$("$build/bench/tolvane_click_bench" 20)
p99=$(cut -f4 <<<"$clicks" | sort -n | tail -1)

cat >"$report" <<MD
# Performance

Written by \`make bench\` on $(date -u +%F): $(nproc) cores, Xvfb $(dpkg-query -W xvfb | cut -f2), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6).

## Start-up: page 1 complete on screen

The floor is a plain Qt window of page 1's size with page 1's texts in two
labels (IPAGothic title, IPAPGothic rest). $launches launches of each, in turn, on a
display with no window manager, timed by \`bench/Probe.c\` through X DAMAGE
from the process's start. The **first complete frame** is the last drawing
before the window stays still for 200 ms: page 1 up, whole.

| Medians | tolvane | floor | ratio | goal | |
|---|---:|---:|---:|---:|---|
| **first complete frame** | **${m[app2]} ms** | ${m[floor2]} ms | **$(ratio 2)** | ≤ 1.05 | $(verdict "$(ratio 2)" 1.05) |
| window mapped | ${m[app1]} ms | ${m[floor1]} ms | $(ratio 1) | | |
| resident memory then | ${m[app3]} KiB | ${m[floor3]} KiB | $(ratio 3) | ≤ 1.05 | $(verdict "$(ratio 3)" 1.05) |

$([[ -n ${4:-} ]] && "$(dirname "$0")/web.py" "$4")

$([[ -n ${3:-} ]] && cat <<WINE
## tolvane.exe under Wine

Under Wine $(wine --version 2>/dev/null) on the same display, against a Win32 floor drawing the
same texts in two static controls, one Wine server kept running. Every window
and control costs round trips to the server: some seventy on page 1, three on the floor.

| Medians | tolvane.exe | floor | ratio |
|---|---:|---:|---:|
| **first complete frame** | **${m[winapp2]} ms** | ${m[winfloor2]} ms | **$(ratio 2 winapp winfloor)** |
| window mapped | ${m[winapp1]} ms | ${m[winfloor1]} ms | $(ratio 1 winapp winfloor) |
| resident memory then | ${m[winapp3]} KiB | ${m[winfloor3]} KiB | $(ratio 3 winapp winfloor) |
WINE
)

## Every click, first loads included

From the click to the window drawn anew, over 60 fresh runs; milliseconds.

| Action | Clicks | Median | p99 | Max |
|---|---:|---:|---:|---:|
$(awk -F'\t' '{printf "| %s | %s | %s | %s | %s |\n", $1, $2, $3, $4, $5}' <<<"$clicks")

Slowest p99: ${p99} ms (goal ≤ 16 ms: $(verdict "$p99" 16)).
MD
echo "bench: wrote $report" >&2
