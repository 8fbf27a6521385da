#!/usr/bin/env bash
# vantrel-analyze.exe under Wine, as a user runs it beside vantrel.exe: a linear force log the
# program wrote (tests/data/analysis) gives its JSON with the dead zone and force map, its page
# and its lookup table; a missing file exits 3 and a bad option 2. One FAIL line per failed
# check; build the windows preset first.
#     tools/check_analyze_exe.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
wine_env_find_binaries
exe=$VANTREL_ROOT/build/windows/src/vantrel-analyze.exe
[ -f "$exe" ] || { echo "check_analyze_exe: $exe is missing: build the windows preset first" >&2; exit 1; }
work=$(mktemp -d "$VANTREL_ROOT/build/analyze-exe-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$VANTREL_ROOT/tests/data/analysis/log2 virtual wheel.csv" "$work/log2.csv"

wine_env_lock
wine_env_prepare_prefix
status=0
fail() { echo "FAIL vantrel-analyze.exe: $*"; status=1; }
analyze() { (cd "$work" && wine_env_run 120 "$exe" "$@"); }

code=0
out=$(analyze --json --lut wheel.lut log2.csv) || code=$?
[ $code -eq 0 ] || fail "exit $code on a good log"
grep -q '"kind":"linear-force"' <<<"$out" || fail "no kind in: $out"
grep -q '"deadZone":[0-9]' <<<"$out" || fail "no dead zone in: $out"
grep -Eq '"forceMap":"0:0(,[0-9]+:[0-9]+)+"' <<<"$out" || fail "no force map in: $out"
[ -s "$work/log2.html" ] && grep -q 'vantrel-data' "$work/log2.html" || fail "no page beside the log"
[ "$(grep -c '^[01]\.[0-9]\{4\}|[01]\.[0-9]\{4\}' "$work/wheel.lut" 2>/dev/null)" = 101 ] || fail "no 101-line lookup table"
code=0
analyze --no-html missing.csv >/dev/null 2>&1 || code=$?
[ $code -eq 3 ] || fail "exit $code on a missing log, not 3"
code=0
analyze --mode sideways log2.csv >/dev/null 2>&1 || code=$?
[ $code -eq 2 ] || fail "exit $code on a bad --mode, not 2"
wine_env_stop_server
[ $status -eq 0 ] && echo "vantrel-analyze.exe under Wine: JSON, page, lookup table and exit codes as on the host"
exit $status
