#!/usr/bin/env bash
# Runs the Wine checker against the Windows build on a private headless display, in the checks'
# own Wine prefix, and returns its exit code; it fails as well when the run left a new file in the
# home folder. Build the windows preset first; tools/wine_env.sh installs Wine if it is missing.
#     tools/run_wine_checks.sh [--verbose]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
wine_env_use_test_prefix

build=$VANTREL_ROOT/build/windows
program=$build/src/vantrel.exe
checker=$build/tools/wine_check/vantrel_wine_check.exe
# Each checker run (two program runs) takes some ten to thirty seconds under Wine: three minutes
# means a hang. The HID wheel's runs hold the linear force test, some ninety seconds of it.
checker_seconds=180
hid_checker_seconds=420

if [ "${1:-}" = --under-display ]; then
  # Second stage, inside xvfb-run: run the checker once per DirectInput named, then end whatever
  # of ours is left in the prefix while the display still exists.
  shift
  passes=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do passes+=("$1"); shift; done
  [ "${1:-}" = -- ] && shift
  wine_env_find_binaries
  status=0
  # Wine takes DLL overrides from its own start: one checker run per DirectInput. Wine's own
  # (with whatever the prefix has attached), the virtual wheel's dinput8.dll beside the exe in
  # its place, or Wine's own with the HID wheel installed.
  for pass in "${passes[@]}"; do
    if [ "$pass" = runner ]; then
      echo "-- vantrel-measure.exe on the virtual wheel"
      source "$VANTREL_ROOT/tools/wine_check/runner_checks.sh"
      runner_checks "$@" || status=1
      wine_env_stop_server
      continue
    fi
    case $pass in
      system) overrides="dinput8=b"; options=(); seconds=$checker_seconds ;;
      dll) overrides="dinput8=n,b"; options=(--virtual-wheel); seconds=$checker_seconds ;;
      hid) overrides="dinput8=b"; options=(--hid-wheel); seconds=$hid_checker_seconds ;;
    esac
    echo "-- DirectInput: WINEDLLOVERRIDES=$overrides${options[*]:+ (${options[*]})}"
    run_status=0
    WINEDLLOVERRIDES=$overrides wine_env_run "$seconds" "$checker" "${options[@]}" "$@" \
      "$(wine_env_windows_path "$program")" || run_status=$?
    [ $run_status -eq 124 ] && echo "FAIL the checker did not finish within $seconds s"
    [ $run_status -ne 0 ] && status=$run_status
    # The next run starts a fresh Wine session, which reads its overrides anew.
    wine_env_stop_server
  done
  exit $status
fi

# Prints the files (not folders) under the home folder changed since the stamp file: the visible
# home, where Wine's shell-folder links point, and the hidden places Wine itself writes to. The
# rest of the hidden home is left out: shells, editors and desktops write there all the time, and
# a check of ours could not tell their files from its own. The build tree is ours.
new_home_files() {
  local stamp=$1 place places=()
  for place in "$HOME"/* "$HOME/.wine" "$HOME/.local/share" "$HOME/.config/menus" "$HOME/.cache/wine"; do
    if [ -e "$place" ] || [ -L "$place" ]; then places+=("$place"); fi
  done
  [ ${#places[@]} -gt 0 ] || return 0
  find "${places[@]}" -xdev -path "$VANTREL_ROOT/build" -prune -o ! -type d -newer "$stamp" -print 2>/dev/null \
    || true
}

for file in "$program" "$checker" "$build/src/vantrel-measure.exe"; do
  if [ ! -f "$file" ]; then
    echo "run_wine_checks: $file is missing: build the windows preset first" >&2
    exit 1
  fi
done
home_stamp=$(mktemp)
trap 'rm -f "$home_stamp"' EXIT
wine_env_install
wine_env_lock
wine_env_prepare_prefix
# The HID wheel's scripts run in this prefix under the lock held here.
export VANTREL_WINE_LOCK_HELD=1
echo "== Wine checks (prefix $WINEPREFIX)"
started=$SECONDS
status=0
under_display() {
  local seconds=$1
  shift
  # The outer limit covers Xvfb's start and the clean-up after the checker.
  timeout --kill-after=10 "$seconds" xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --under-display "$@" 9>&- ||
    status=$?
}
# Wine's own DirectInput with its mouse and keyboard, the virtual wheel DLL, which lists the
# system's devices first, and vantrel-measure.exe on that DLL: all without the HID wheel. Then
# the HID wheel on Wine's own.
"$VANTREL_ROOT/tools/hid_wheel/remove.sh" || status=1
under_display $((2 * checker_seconds + 240)) system dll runner -- "$@"
if "$VANTREL_ROOT/tools/hid_wheel/install.sh"; then
  under_display $((hid_checker_seconds + 60)) hid -- "$@"
else
  echo "FAIL the HID wheel could not be installed: its checks did not run"
  status=1
fi
new_files=$(new_home_files "$home_stamp")
if [ -n "$new_files" ]; then
  echo "FAIL the Wine checks left new files in the home folder $HOME:"
  printf '%s\n' "$new_files" | sed 's/^/   /'
  status=1
fi
echo "Wine checks took $((SECONDS - started)) s"
exit $status
