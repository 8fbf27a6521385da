#!/usr/bin/env bash
# Installs the HID wheel ("Vantrel HID Wheel", a kernel-mode HID minidriver with the simulated
# force-feedback wheel) into the Wine prefix named by WINEPREFIX, or into the project's own
# prefix (build/wine-prefix) when WINEPREFIX is unset. Returns once Wine's DirectInput lists
# the wheel. Running it again changes nothing. Build the windows preset first.
#     tools/hid_wheel/install.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/hid_wheel_env.sh"
echo "Installing the HID wheel into $WINEPREFIX"
hid_wheel_run_setup install
