#!/usr/bin/env bash
# Runs a Windows test executable under Wine on a virtual X display and passes
# its exit status through. Usage: wine-run.sh PREFIX EXE [ARGS...]
# The Wine prefix PREFIX is made on first use, without Mono or Gecko prompts,
# with the settings of wine-prefix.reg: the fonts and a virtual desktop.
set -euo pipefail
export WINEPREFIX=$(realpath -m "$1") WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree=;mshtml="
shift
here=$(cd "$(dirname "$0")" && pwd)
(
  flock 9
  if [[ ! -f $WINEPREFIX/.tolvane-ready ]]; then
    rm -rf "$WINEPREFIX"
    xvfb-run -a wineboot --init
    iconv -f UTF-8 -t UTF-16LE <(printf '\xef\xbb\xbf'; sed 's/$/\r/' "$here/wine-prefix.reg") \
      >"$WINEPREFIX/prefix.reg"
    (cd "$WINEPREFIX" && wine regedit /S prefix.reg) # a leading / would read as a switch
    wineserver -w
    touch "$WINEPREFIX/.tolvane-ready"
  fi
) 9>"$WINEPREFIX.lock"
exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
