#!/usr/bin/env bash
# Installs the built tree into a scratch prefix and checks what a desktop
# gets: both programs, the desktop entry, the icons, the metainfo and the
# example programs. The desktop and AppStream validators run when they are
# installed.
#   install_test.sh BUILD_DIR EXAMPLES_DIR
set -euo pipefail
build=$1
examples=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/usr

cmake --install "$build" --prefix "$prefix" >/dev/null

failed=0
expect_file() {
    if [ ! -f "$prefix/$1" ]; then
        echo "missing: $1"
        failed=1
    fi
}
expect_file bin/mira
expect_file bin/mira-run
expect_file share/man/man1/mira.1.gz
expect_file share/man/man1/mira-run.1.gz
for size in 16 32 48 64 128 256; do
    expect_file "share/icons/hicolor/${size}x${size}/apps/mira.png"
done
expect_file share/icons/hicolor/scalable/apps/mira.svg
for example in "$examples"/*.asm; do
    installed=share/mira/examples/${example##*/}
    cmp -s "$example" "$prefix/$installed" || { echo "missing or changed: $installed"; failed=1; }
done

desktop=("$prefix"/share/applications/*.desktop)
metainfo=("$prefix"/share/metainfo/*.metainfo.xml)
expect_file "${desktop[0]#"$prefix"/}"
expect_file "${metainfo[0]#"$prefix"/}"
[ "$failed" -eq 0 ] || exit 1

for line in '^Exec=mira$' '^Icon=mira$' '^Categories=.*Education;'; do
    grep -q "$line" "${desktop[0]}" || { echo "desktop entry lacks $line"; exit 1; }
done
# The Traditional Chinese name must exist in the window's character set, Big5.
grep '^Name\[zh_TW\]=' "${desktop[0]}" | iconv -f UTF-8 -t BIG5 >/dev/null

"$prefix/bin/mira-run" --help >/dev/null

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "${desktop[0]}"
else
    echo "desktop-file-validate is not installed; desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "${metainfo[0]}"
else
    echo "appstreamcli is not installed; metainfo not validated"
fi
