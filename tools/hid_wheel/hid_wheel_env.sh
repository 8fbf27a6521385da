#!/usr/bin/env bash
# Shared by install.sh and remove.sh: the prefix named by WINEPREFIX (the project's own test
# prefix when unset), the built driver and its installer, and one Wine session at a time.

# wine_env.sh picks the prefix from VANTREL_WINEPREFIX: hand it the caller's WINEPREFIX.
if [ -n "${WINEPREFIX:-}" ]; then export VANTREL_WINEPREFIX=$WINEPREFIX; fi
source "$(dirname "${BASH_SOURCE[0]}")/../wine_env.sh"
# The project's own prefix is created on demand and held under its lock; a prefix of the
# caller's is only used, never created, replaced or locked.
hid_wheel_project_prefix=0
[ "$(realpath -m "$WINEPREFIX")" = "$(realpath -m "$VANTREL_ROOT/build/wine-prefix")" ] && hid_wheel_project_prefix=1

hid_wheel_build=$VANTREL_ROOT/build/windows
hid_wheel_inf=$hid_wheel_build/src/hid_wheel_driver/vantrel_hid_wheel.inf
hid_wheel_setup=$hid_wheel_build/tools/hid_wheel/setup/vantrel_hid_wheel_setup.exe
# Installing waits up to 30 s for DirectInput to list the wheel; Wine's start comes on top.
hid_wheel_setup_seconds=120

# hid_wheel_run_setup COMMAND: runs the installer on the driver's INF in the prefix, on Wine's
# own DirectInput, holding the prefix unless the caller already does (VANTREL_WINE_LOCK_HELD=1).
hid_wheel_run_setup() {
  local file
  for file in "$hid_wheel_build/src/hid_wheel_driver/vantrel_hid_wheel.sys" "$hid_wheel_inf" "$hid_wheel_setup"; do
    if [ ! -f "$file" ]; then
      echo "hid_wheel: $file is missing: build the windows preset first" >&2
      return 1
    fi
  done
  wine_env_install
  if [ "${VANTREL_WINE_LOCK_HELD:-}" = 1 ]; then
    wine_env_find_binaries
  elif [ $hid_wheel_project_prefix = 1 ]; then
    wine_env_lock
    wine_env_prepare_prefix
  else
    wine_env_find_binaries
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "hid_wheel: $WINEPREFIX is not a Wine prefix (no system.reg): create it first" >&2
      return 1
    fi
  fi
  local status=0
  # Without a display: the installer needs none, and Wine's desktop would wait for one.
  (unset DISPLAY; WINEDLLOVERRIDES=dinput8=b wine_env_run "$hid_wheel_setup_seconds" "$hid_wheel_setup" "$1" \
    "$(wine_env_windows_path "$hid_wheel_inf")") || status=$?
  [ $status -eq 124 ] && echo "hid_wheel: the installer did not finish within $hid_wheel_setup_seconds s" >&2
  # The session it started has no display: a program started before it ends would join it and
  # could not show a window. It ends by itself a few seconds after its last process.
  timeout 30 "$VANTREL_WINESERVER" -w 9>&- || true
  return $status
}
