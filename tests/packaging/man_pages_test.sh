#!/usr/bin/env bash
# Keeps mira-run's manual page in step with its --help: the same options and
# the same exit statuses. Both pages must format without a warning.
#   man_pages_test.sh MIRA_RUN PAGES_DIR
set -euo pipefail
mira_run=$1
pages=$2

options() { grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z][a-z-]*' | sort -u; }
# In the page, "\-" is a minus and "\fB" a change of font.
plain_page=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$pages/mira-run.1")
help=$("$mira_run" --help)

failed=0
in_help=$(options <<<"$help" | grep -v -- '--$' || true)
in_page=$(sed -n '/^\.SH OPTIONS/,/^\.SH EXIT STATUS/p' <<<"$plain_page" | options |
    grep -v -- '--$' || true)
if [ "$in_help" != "$in_page" ]; then
    echo "options differ between --help (<) and the manual page (>):"
    diff <(echo "$in_help") <(echo "$in_page") || true
    failed=1
fi
statuses_help=$(sed -n '/^Exit status:/,$p' <<<"$help" | grep -oE '^  [0-9]+ ' | tr -d ' ')
statuses_page=$(sed -n '/^\.SH EXIT STATUS/,/^\.SH EXAMPLES/p' <<<"$plain_page" |
    sed -n '/^\.TP/{n;p}' | sed 's/^\.B //')
if [ "$statuses_help" != "$statuses_page" ]; then
    echo "exit statuses differ between --help (<) and the manual page (>):"
    diff <(echo "$statuses_help") <(echo "$statuses_page") || true
    failed=1
fi

if command -v man >/dev/null; then
    for page in "$pages"/mira.1 "$pages"/mira-run.1; do
        warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
            man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
        if [ -n "$warnings" ]; then
            echo "$page: $warnings"
            failed=1
        fi
    done
fi
exit "$failed"
