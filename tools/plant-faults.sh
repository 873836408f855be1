#!/usr/bin/env bash
# Measures what the test suite catches: plants each fault of a list into a
# configured tree, one at a time, rebuilds a preset, runs its tests, and prints
# per fault which tests failed, or MISSED. The tree is restored after each
# fault. PRESET is default (Qt), windows (Win32, under Wine) or web (in
# Chromium, WebKit and Firefox); faults in another binding's folder are left out. Takes about a
# minute a fault on two cores, two under Wine. A line that no longer plants
# (its file or its text has moved) fails the run, once the rest have run, so
# that one run names every such line.
# Usage: [PRESET=...] tools/plant-faults.sh [TREE] [FAULTS]   (ONLY=id,id to pick some)
# A fault is a line "id|area|file|perl substitution" that must change the file;
# a line "## name" starts a group, counted on its own.
set -u
tree=${1:-.} list=$(realpath "${2:-$(dirname "$0")/planted-faults.txt}") preset=${PRESET:-default}
declare -A other=([default]='platform/(win32|web)/' [windows]='platform/(qt|web)/' [web]='platform/(qt|win32)/')
[[ -n ${other[$preset]:-} ]] || { echo "plant-faults: no preset '$preset'" >&2; exit 2; }
cd "$tree" || exit 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A caught total
group=all stale=()
while IFS='|' read -r id area file expr; do
    [[ $id == "## "* ]] && { group=${id#\#\# } group=${group%%:*}; continue; }
    [[ -z $id || $id == \#* ]] && continue
    [[ -n ${ONLY:-} && ,$ONLY, != *,$id,* ]] && continue
    [[ $file =~ ^${other[$preset]} ]] && continue
    cp "$file" "$work/original" 2>/dev/null
    FAULT="$expr" perl -0pi -e 'eval "\$_ =~ $ENV{FAULT}" or die' "$file" 2>/dev/null
    if [[ ! -f $file ]] || cmp -s "$file" "$work/original"; then
        echo "$id | $area | NOT PLANTED: the code has moved"
        stale+=("$id")
        continue
    fi
    total[$group]=$((${total[$group]:-0} + 1))
    if ! cmake --build --preset "$preset" >"$work/build" 2>&1; then
        result="caught by the build"
    elif ctest --preset "$preset" --timeout 300 >"$work/test" 2>&1; then
        result=MISSED
    else
        result=$(sed -n '/tests FAILED:/,$p' "$work/test" | grep -oE '[0-9]+ - [^ ]+' | cut -d' ' -f3 | tr '\n' ' ')
    fi
    [[ $result == MISSED ]] || caught[$group]=$((${caught[$group]:-0} + 1))
    echo "$id | $area | $result"
    cp "$work/original" "$file"
done <"$list"
cmake --build --preset "$preset" >/dev/null 2>&1
for group in "${!total[@]}"; do
    echo "$group: caught ${caught[$group]:-0} of ${total[$group]}"
done
[[ ${#stale[@]} == 0 ]] || { echo "NOT PLANTED, to move with the code: ${stale[*]}"; exit 1; }
