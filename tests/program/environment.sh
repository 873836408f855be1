#!/usr/bin/env bash
# Starts the program as a user's shell would, under conditions it must survive:
# environment.sh PROGRAM [NAME=value | NAME= ...] [-- WORDS...], on the
# offscreen platform with no display variables unless NAME= removes it (@FONTS@
# hides the program's two faces). With a platform it runs
# on, saying no more than without WORDS; without, it ends: status 1, our line last.
set -u
program=$1 dir=$(mktemp -d) && shift
trap 'rm -rf "$dir"' EXIT
cat >"$dir/fonts.conf" <<END
<fontconfig><include>/etc/fonts/fonts.conf</include><selectfont><rejectfont>
<pattern><patelt name="family"><string>IPAGothic</string></patelt></pattern>
<pattern><patelt name="family"><string>IPAPGothic</string></patelt></pattern>
</rejectfont></selectfont><cachedir>$dir</cachedir></fontconfig>
END
unset DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR
export QT_QPA_PLATFORM=offscreen
for word; do
    shift
    [[ $word == -- ]] && break
    if [[ $word == *= ]]; then unset "${word%=}"; else export "${word/@FONTS@/$dir/fonts.conf}"; fi
done
words=("$@")
if [[ ${QT_QPA_PLATFORM:-} != offscreen ]]; then
    timeout 30 "$program" "${words[@]}" 2>"$dir/said"
    status=$?
    [[ $status == 1 && $(tail -n 1 "$dir/said") == "tolvane: no display could be opened" ]] && exit 0
    echo "ended with status $status, saying:" && cat "$dir/said" && exit 1
fi
timeout 2 "$program" "${words[@]}" 2>"$dir/said"
status=$?
timeout 2 "$program" 2>"$dir/plain"
[[ $status == 124 ]] || { echo "ended with status $status" && cat "$dir/said" && exit 1; }
! grep -vxFf "$dir/plain" "$dir/said" || { echo "said more than a plain run" && exit 1; }
# The environment hides what it says it hides.
if [[ -n ${FONTCONFIG_FILE:-} ]] && fc-list : family | grep -q '^IPAP\?Gothic'; then
    echo "the IPA faces are not hidden" && exit 1
fi
