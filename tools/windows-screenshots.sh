#!/usr/bin/env bash
# Runs the Windows build's tolvane.exe under Wine in a real window on Xvfb with
# a window manager, clicks a few answers on page 1, opens the check-error
# dialog and a result screen, and writes docs/screenshots/windows-*.png.
# With CONTRAST=1 it runs under the system colours of a light-on-dark
# high-contrast scheme, set as a user's colours in the registry, and writes
# docs/screenshots/windows-contrast-*.png.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh windows desktop
make --no-print-directory windows
contrast=${CONTRAST:-}
prefix=$PWD/build/windows/wine-screenshots${contrast:+-contrast}
tests/program/wine-run.sh "$prefix" cmd /c exit # makes the prefix
# Real top-level windows with the window manager's frames, not the tests'
# virtual desktop.
WINEPREFIX=$prefix WINEDEBUG=-all wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f \
    >/dev/null 2>&1 || true
if [[ -n $contrast ]]; then
    while read -r name value; do
        WINEPREFIX=$prefix WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Colors' \
            /v "$name" /d "$value" /f >/dev/null 2>&1
    done <<'COLOURS'
Window 0 0 0
WindowText 255 255 255
ButtonFace 0 0 0
ButtonText 255 255 255
GrayText 63 242 63
COLOURS
fi
out=docs/screenshots

display=:94
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display WINEPREFIX=$prefix WINEDEBUG=-all
trap 'kill $app_pid $wm $xvfb 2>/dev/null || true; wineserver -k || true' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5
wine build/windows/tolvane.exe &
app_pid=$!

window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
click() { # title left top width height, in twips as in the layout tables
    xdotool mousemove --window "$(window "$1")" $((($2 + $4 / 2) / 15)) $((($3 + $5 / 2) / 15)) \
        click 1
    sleep 0.5
}
shot() { # title file
    local id name=${2/windows-/windows-${contrast:+contrast-}}
    id=$(window "$1")
    sleep 0.5
    import -window "$id" -frame "$out/$name.png"
    echo "wrote $out/$name.png"
}

page1="安全運転自己診断－１"
window "$page1" >/dev/null
sleep 1
for k in 1 2 4 7; do click "$page1" 5760 $((1320 + 360 * (k - 1))) 735 180; done
for k in 3 5; do click "$page1" 6840 $((1320 + 360 * (k - 1))) 975 180; done
shot "$page1" windows-form1
click "$page1" 8520 5040 1335 495 # 次へ: items are left open
shot Form3 windows-form3
click Form3 1440 2160 1455 495 # OK
for k in 3 5 6 8 9 10 11 12 13 14 15 16; do click "$page1" 5760 $((1320 + 360 * (k - 1))) 735 180; done
for k in 3 5; do click "$page1" 6840 $((1320 + 360 * (k - 1))) 975 180; done
click "$page1" 8520 5040 1335 495
page2="安全運転自己診断－２"
for k in $(seq 16); do click "$page2" 5760 $((1320 + 360 * (k - 1))) 735 180; done
click "$page2" 8520 5040 1335 495 # 診断
shot "あなたはＡタイプ" windows-form5
