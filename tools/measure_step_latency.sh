#!/usr/bin/env bash
# Measures how soon the wheel answers a force through each path: runs the program's step test
# RUNS times (10 by default) on a headless display and reads, from each step log, the time from
# the first pulse's force to the first position change the program read. Build the windows
# preset first. Not part of ./test.
#     tools/measure_step_latency.sh hid [RUNS]   the HID wheel on Wine's own DirectInput
#     tools/measure_step_latency.sh dll [RUNS]   the virtual wheel DLL
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"

build=$VANTREL_ROOT/build/windows
program=$build/src/vantrel.exe
checker=$build/tools/wine_check/vantrel_wine_check.exe

if [ "${1:-}" = --under-display ]; then
  overrides=$2 runs=$3
  wine_env_find_binaries
  WINEDLLOVERRIDES=$overrides "$VANTREL_WINE" "$program" 9>&- &
  status=0
  # Each step test run takes some five seconds.
  WINEDLLOVERRIDES=$overrides wine_env_run $((60 + 30 * runs)) "$checker" --step-latency "$runs" || status=$?
  WINEDLLOVERRIDES=$overrides wine_env_run 60 "$checker" --close || status=1
  wait || true
  wine_env_stop_server
  exit $status
fi

wheel=${1:-}
runs=${2:-10}
case $wheel in
  hid) overrides="dinput8=b" ;;
  dll) overrides="dinput8=n,b" ;;
  *) sed -n '2,/^set -euo/{/^set -euo/d;s/^# \{0,1\}//;p}' "$0"; exit 2 ;;
esac
for file in "$program" "$checker"; do
  [ -f "$file" ] || { echo "measure_step_latency: $file is missing: build the windows preset first" >&2; exit 1; }
done
wine_env_install
wine_env_lock
wine_env_prepare_prefix
export VANTREL_WINE_LOCK_HELD=1
# The DLL lists the system's devices first: without the HID wheel it opens its own.
if [ "$wheel" = hid ]; then
  "$VANTREL_ROOT/tools/hid_wheel/install.sh"
else
  "$VANTREL_ROOT/tools/hid_wheel/remove.sh"
fi
echo "== step test latency on the $wheel wheel, $runs runs"
timeout --kill-after=10 $((180 + 30 * runs)) xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$0" --under-display "$overrides" "$runs" 9>&-
