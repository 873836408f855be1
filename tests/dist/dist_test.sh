#!/usr/bin/env bash
# Checks what tolvane ships: desktop entry, AppStream metadata, the Windows
# version record and the Debian package.
# Usage: dist_test.sh desktop|metainfo|version|package SOURCE_DIR BUILD_DIR
set -euo pipefail
what=$1 src=$2 build=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
expect() { grep -qF -- "$2" <<<"$1" || fail "expected '$2' in: $1"; }

case $what in
desktop)
    desktop-file-validate "$src/dist/org.tolvane.tolvane.desktop"
    entry=$(cat "$src/dist/org.tolvane.tolvane.desktop")
    expect "$entry" "Name=tolvane"
    expect "$entry" "Name[ja]=安全運転自己診断"
    expect "$entry" "Exec=tolvane"
    expect "$entry" "Icon=org.tolvane.tolvane"
    ;;
metainfo)
    appstreamcli validate --no-net --pedantic "$src/dist/org.tolvane.tolvane.metainfo.xml"
    ;;
version)
    x86_64-w64-mingw32-windres --preprocessor=cpp "$src/dist/tolvane.rc" -O res -o "$work/tolvane.res"
    x86_64-w64-mingw32-windres -i "$work/tolvane.res" -o "$work/decoded.rc"
    decoded=$(tr -s ' ' <"$work/decoded.rc")
    expect "$decoded" "LANGUAGE 17, 1"
    expect "$decoded" "FILEVERSION 1, 0, 0, 0"
    expect "$decoded" "PRODUCTVERSION 1, 0, 0, 0"
    expect "$decoded" 'BLOCK "041104B0"'
    for key in ProductName InternalName FileDescription; do
        expect "$decoded" "VALUE \"$key\", \"tolvane\""
    done
    expect "$decoded" 'VALUE "FileVersion", "1.00"'
    expect "$decoded" 'VALUE "ProductVersion", "1.00"'
    expect "$decoded" 'VALUE "Translation", 0x411, 1200'
    ;;
package)
    (cd "$build" && cpack -G DEB -B "$work" >/dev/null)
    deb=$(ls "$work"/tolvane_1.00_*.deb)
    fields=$(dpkg-deb -f "$deb")
    expect "$fields" "Package: tolvane"
    expect "$fields" "Version: 1.00"
    for dep in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-ipafont-gothic; do
        expect "$(grep '^Depends:' <<<"$fields")" "$dep"
    done
    dpkg-deb -x "$deb" "$work/root"
    for file in usr/bin/tolvane usr/share/applications/org.tolvane.tolvane.desktop \
        usr/share/metainfo/org.tolvane.tolvane.metainfo.xml \
        usr/share/icons/hicolor/scalable/apps/org.tolvane.tolvane.svg; do
        [[ -f $work/root/$file ]] || fail "the package lacks /$file"
    done
    file "$work/root/usr/bin/tolvane" | grep -q 'stripped' || fail "the executable is not stripped"
    file "$work/root/usr/bin/tolvane" | grep -q 'not stripped' && fail "the executable is not stripped"
    ;;
*)
    fail "unknown check '$what'"
    ;;
esac
echo "$what: ok"
