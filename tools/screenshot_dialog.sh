#!/usr/bin/env bash
# Takes a picture of the program's dialog as Wine draws it, on a 1280x1024 headless display.
# Build the windows preset first.
#     tools/screenshot_dialog.sh OUTPUT.png
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_env.sh"
# The checks' prefix: a tool of ours keeps out of ./run's prefix and of the home folder.
wine_env_use_test_prefix

build=$VANTREL_ROOT/build/windows
program=$build/src/vantrel.exe
checker=$build/tools/wine_check/vantrel_wine_check.exe

if [ "${1:-}" = --under-display ]; then
  # Second stage, inside xvfb-run: start the program, let the checker wait for its window,
  # photograph the screen, and close the program the way its close box does.
  output=$2
  wine_env_find_binaries
  # In a Wine virtual desktop Wine draws the window frame itself: with no window manager on the
  # display the caption would be missing from the picture.
  desktop=vantrel
  # On the virtual wheel when its DLL is there, so the picture shows a wheel being driven.
  if [ -f "$build/src/dinput8.dll" ]; then export WINEDLLOVERRIDES=dinput8=n,b; fi
  wine_env_run 120 explorer "/desktop=$desktop,1280x1024" "$(wine_env_windows_path "$program")" &
  desktop_job=$!
  status=0
  if wine_env_run 60 "$checker" --desktop "$desktop" --wait-window; then
    # The window is up; give Wine a moment to paint every control.
    sleep 6
    import -window root "$output" || status=$?
    wine_env_run 30 "$checker" --desktop "$desktop" --close || status=$?
  else
    status=1
    kill "$desktop_job" 2>/dev/null || true
  fi
  wait "$desktop_job" || true
  wine_env_stop_server
  exit $status
fi

output=${1:?usage: tools/screenshot_dialog.sh OUTPUT.png}
output=$(realpath -m "$output")
for file in "$program" "$checker"; do
  if [ ! -f "$file" ]; then
    echo "screenshot_dialog: $file is missing: build the windows preset first" >&2
    exit 1
  fi
done
wine_env_install imagemagick
wine_env_lock
wine_env_prepare_prefix
timeout --kill-after=10 300 \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --under-display "$output" 9>&-
echo "Saved $output"
