#!/usr/bin/env bash
# Takes the HID wheel out of the Wine prefix named by WINEPREFIX (or the project's own prefix):
# the device, the driver's service, the INF's copy and the driver file. Returns once Wine's
# DirectInput no longer lists the wheel. Running it again changes nothing.
#     tools/hid_wheel/remove.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/hid_wheel_env.sh"
echo "Removing the HID wheel from $WINEPREFIX"
hid_wheel_run_setup remove
