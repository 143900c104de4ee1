#!/usr/bin/env bash
# Builds the Debian package from the built tree, unpacks it into a scratch
# root as an installation would, starts mira-run from there and has lintian
# check the manual pages. Skipped (status 77) where dpkg is missing.
#   debian_package_test.sh BUILD_DIR
set -euo pipefail
build=$1
if ! command -v dpkg >/dev/null; then
    echo "dpkg is not installed; skipped"
    exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if ! cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log"
    exit 1
fi
packages=("$scratch"/mira_*.deb)
package=${packages[0]}

depends=$(dpkg-deb --field "$package" Depends)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n \
    fonts-noto-cjk; do
    if [[ ", $depends," != *", $needed "* && ", $depends," != *", $needed,"* ]]; then
        echo "the package does not depend on $needed: $depends"
        exit 1
    fi
done

dpkg -x "$package" "$scratch/root"
test -x "$scratch/root/usr/bin/mira"
test -f "$scratch/root/usr/share/icons/hicolor/scalable/apps/mira.svg"
usage=$("$scratch/root/usr/bin/mira-run" --help)
[[ $usage == "Usage: mira-run "* ]]

for page in mira mira-run; do
    test -f "$scratch/root/usr/share/man/man1/$page.1.gz"
done
# The manual pages pass lintian's checks (the package's other tags are not this test's).
if command -v lintian >/dev/null; then
    tags=$(lintian --tag-display-limit 0 "$package" 2>/dev/null | grep -i manpage || true)
    if [ -n "$tags" ]; then
        echo "$tags"
        exit 1
    fi
else
    echo "lintian is not installed; manual pages not checked"
fi
