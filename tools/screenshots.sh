#!/usr/bin/env bash
# Runs tolvane in a real window under Xvfb with a window manager, drives it with
# the mouse through both pages, both check-error dialogs and all five result
# screens, and writes what it saw to docs/screenshots/.
# Usage: tools/screenshots.sh [path-to-tolvane]
# With CONTRAST=1 the same run goes under a light-on-dark high-contrast colour
# scheme, as a user would pick one through the qt6ct platform theme, and a few
# of its shots are written as docs/screenshots/contrast-*.png.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh build desktop
app=${1:-build/default/app/tolvane}
[[ -x $app ]] || make build >/dev/null
out=docs/screenshots
mkdir -p "$out"

contrast=${CONTRAST:-}
if [[ -n $contrast ]]; then
    config=$(mktemp -d)
    mkdir -p "$config/qt6ct"
    # The palette's roles in Qt's order, from window text to placeholder
    # text, with $1 for the window's, the boxes' and the buttons' text.
    roles() {
        echo "$1, #ff000000, #ffffffff, #ffc0c0c0, #ff808080, #ffa0a0a0, $1, #ffffffff, $1," \
            "#ff000000, #ff000000, #ffffffff, #ff1aebff, #ff000000, #ffffff00, #ffc0c0ff," \
            "#ff000000, #ff000000, #ff000000, #ffffffff, #ffc0c0c0"
    }
    cat >"$config/qt6ct/contrast.conf" <<SCHEME
[ColorScheme]
active_colors=$(roles '#ffffffff')
inactive_colors=$(roles '#ffffffff')
disabled_colors=$(roles '#ff3ff23f')
SCHEME
    cat >"$config/qt6ct/qt6ct.conf" <<SETTINGS
[Appearance]
color_scheme_path=$config/qt6ct/contrast.conf
custom_palette=true
SETTINGS
    export XDG_CONFIG_HOME=$config QT_QPA_PLATFORMTHEME=qt6ct
fi

display=:95
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
trap 'kill $app_pid $wm $xvfb 2>/dev/null || true; rm -rf "${config:-}"' EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 0.5

"$app" &
app_pid=$!

window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }

# Clicks the middle of a control's box, given in twips as in the layout tables.
click() { # title left top width height
    local id x y
    id=$(window "$1")
    x=$((($2 + $4 / 2) / 15))
    y=$((($3 + $5 / 2) / 15))
    xdotool mousemove --window "$id" "$x" "$y" click 1
    sleep 0.3
}

shot() { # title file
    local id name=$2
    if [[ -n $contrast ]]; then
        [[ " form1-answered form3 form5 " == *" $2 "* ]] || return 0
        name=contrast-$2
    fi
    id=$(window "$1")
    sleep 0.4
    import -window "$id" -frame "$out/$name.png"
    echo "wrote $out/$name.png"
}

page1="安全運転自己診断－１"
page2="安全運転自己診断－２"
next() { click "$1" 8520 5040 1335 495; }           # 次へ on page 1, 診断 on page 2
yes_box() { click "$1" 5760 $((1320 + 360 * ($2 - 1))) 735 180; }
no_box() { click "$1" 6840 $((1320 + 360 * ($2 - 1))) 975 180; }
ok() { click "$1" 1440 2160 1455 495; }
result_next() { click "$1" 2520 5040 1935 495; }

window "$page1" >/dev/null
shot "$page1" form1
next "$page1"
shot Form3 form3
ok Form3

# Every item "はい": types A, B and C.
for k in $(seq 16); do yes_box "$page1" "$k"; done
shot "$page1" form1-answered
next "$page1"
shot "$page2" form2
next "$page2"
shot Form4 form4
ok Form4
for k in $(seq 16); do yes_box "$page2" "$k"; done
next "$page2"
shot "あなたはＡタイプ" form5
result_next "あなたはＡタイプ"
shot "あなたはＢタイプ" form6
result_next "あなたはＢタイプ"
shot "あなたはＣタイプ" form7
result_next "あなたはＣタイプ"

# Every item "いいえ": type D alone.
for k in $(seq 16); do yes_box "$page1" "$k"; no_box "$page1" "$k"; done
next "$page1"
for k in $(seq 16); do yes_box "$page2" "$k"; no_box "$page2" "$k"; done
next "$page2"
shot "あなたはＤタイプ" form8
result_next "あなたはＤタイプ"

# One hesitation answer (item 11) and nothing else: type E.
no_box "$page1" 11
yes_box "$page1" 11
next "$page1"
next "$page2"
shot "あなたはＥタイプ" form9
# Text a user types that the IPA faces lack comes from other fonts.
click "あなたはＥタイプ" 480 4200 5895 255
xdotool type --delay 60 "メモ 🚗💨 안전운전"
shot "あなたはＥタイプ" form9-typed
result_next "あなたはＥタイプ"

window "$page1" >/dev/null
click "$page1" 8520 5760 1335 495 # キャンセル
wait "$app_pid"
echo "tolvane ended with status $?"
