#!/usr/bin/env bash
# Runs vantrel_dinput_probe on Wine's own DirectInput with the HID wheel and on the virtual wheel
# DLL, each on a headless display, and shows where their answers differ. Build the windows
# preset first. Not part of ./test; it installs and removes the HID wheel in the project's prefix.
#     tools/dinput_probe/compare.sh [OUTPUT_DIR]    (build/dinput_probe by default)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../wine_env.sh"

build=$VANTREL_ROOT/build/windows
probe=$build/tools/dinput_probe/vantrel_dinput_probe.exe
dll=$build/src/dinput8.dll
out=${1:-$VANTREL_ROOT/build/dinput_probe}

if [ "${1:-}" = --under-display ]; then
  wine_env_find_binaries
  status=0
  WINEDLLOVERRIDES=$2 wine_env_run 60 "$3" "$4" >"$5" 2>/dev/null || status=$?
  wine_env_stop_server
  exit $status
fi

for file in "$probe" "$dll"; do
  [ -f "$file" ] || { echo "compare.sh: $file is missing: build the windows preset first" >&2; exit 1; }
done
mkdir -p "$out/dll"
# The DLL is loaded from the program's own folder: the probe goes beside it.
cp "$probe" "$dll" "$out/dll/"
wine_env_install
wine_env_lock
wine_env_prepare_prefix
export VANTREL_WINE_LOCK_HELD=1
probe_under_display() {
  timeout --kill-after=10 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --under-display "$@" 9>&-
}
"$VANTREL_ROOT/tools/hid_wheel/install.sh"
probe_under_display dinput8=b "$probe" "Vantrel HID Wheel" "$out/hid_wheel.txt" || true
"$VANTREL_ROOT/tools/hid_wheel/remove.sh"
probe_under_display dinput8=n,b "$out/dll/vantrel_dinput_probe.exe" "Vantrel Virtual Wheel" "$out/dll_wheel.txt" || true
echo "== Wine's DirectInput with the HID wheel (<) against the virtual wheel DLL (>)"
diff "$out/hid_wheel.txt" "$out/dll_wheel.txt" || true
