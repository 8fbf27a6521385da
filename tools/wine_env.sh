#!/usr/bin/env bash
# Wine for the Windows build: installs what is missing, keeps private prefixes under build/,
# and runs Windows programs there with time-outs so a hang cannot eat a CI run.
#
# Two prefixes. ./run's (build/wine-prefix) is the user's session: Wine links its Documents and
# other shell folders into the home folder, so the program's logs land where the user keeps
# documents. The checks' and the screenshot tool's (build/wine-test-prefix, chosen with
# wine_env_use_test_prefix) has those folders as real folders inside it, so nothing a check
# does writes into the home folder.
#
# Sourced by ./test, ./run and the tools/*.sh scripts; run on its own it installs and prepares
# ./run's prefix, or with --test-prefix the checks' one:
#     tools/wine_env.sh [--test-prefix] [extra Debian packages...]

VANTREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${VANTREL_WINEPREFIX:-$VANTREL_ROOT/build/wine-prefix}
export WINEARCH=win64
# Wine's own diagnostics would drown the program's output; VANTREL_WINEDEBUG brings them back.
export WINEDEBUG=${VANTREL_WINEDEBUG:--all}
# One Wine session at a time per prefix: a second one would join the first one's wineserver and desktop.
VANTREL_WINE_LOCK=$WINEPREFIX.lock
wine_env_private_folders=0

# Switches this shell to the checks' prefix. VANTREL_WINEPREFIX does not move it: the checks turn
# the shell folder links of their prefix into folders, which must never happen to a user's prefix.
wine_env_use_test_prefix() {
  export WINEPREFIX=$VANTREL_ROOT/build/wine-test-prefix
  VANTREL_WINE_LOCK=$WINEPREFIX.lock
  wine_env_private_folders=1
}

# Installs the Debian packages among its arguments that dpkg does not report installed.
wine_env_install_missing() {
  local missing=() package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local started=$SECONDS
  export DEBIAN_FRONTEND=noninteractive
  # The package lists are fresh when ./test has just installed its own packages: update only
  # when they turn out to be missing or stale.
  if ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null 2>&1; then
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  echo "Installed in $((SECONDS - started)) s"
}

# Debian 12's 64-bit Wine, Wine's own fonts with the dialog's Tahoma (only recommended, so
# --no-install-recommends would leave them out) and a headless display.
wine_env_install() {
  wine_env_install_missing wine64 fonts-wine xvfb xauth "$@"
}

# Debian's wine64 package ships the loader in /usr/lib/wine; the /usr/bin wrappers come with the
# separate "wine" package, which pulls the 32-bit side in as well.
wine_env_find_binaries() {
  local candidate
  VANTREL_WINE=
  for candidate in /usr/lib/wine/wine64 "$(command -v wine64 2>/dev/null)" "$(command -v wine 2>/dev/null)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then VANTREL_WINE=$candidate; break; fi
  done
  VANTREL_WINESERVER=
  for candidate in /usr/lib/wine/wineserver64 "$(command -v wineserver 2>/dev/null)"; do
    if [ -n "$candidate" ] && [ -x "$candidate" ]; then VANTREL_WINESERVER=$candidate; break; fi
  done
  if [ -z "$VANTREL_WINE" ] || [ -z "$VANTREL_WINESERVER" ]; then
    echo "wine_env: no 64-bit Wine found (install the wine64 package)" >&2
    return 1
  fi
}

# Holds the prefix for this shell until it exits (file descriptor 9); Wine processes are started
# with the descriptor closed, so a lingering wineserver cannot keep the lock.
wine_env_lock() {
  mkdir -p "$(dirname "$VANTREL_WINE_LOCK")"
  exec 9>"$VANTREL_WINE_LOCK"
  flock -n 9 && return 0
  echo "Waiting for another Wine session on $WINEPREFIX (./test, ./run or the screenshot tool) to end"
  if ! flock -w 600 9; then
    echo "wine_env: $WINEPREFIX is still in use after 10 minutes" >&2
    return 1
  fi
}

# Debian's Wine does not load its own fonts (fonts-wine) by itself, and without them "MS Shell Dlg"
# falls back to whatever fontconfig offers, wider than Tahoma: every label would be measured wrong.
# Linked into the prefix's Fonts folder they are found as Windows finds its fonts.
wine_env_link_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts font
  [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] || return 0
  for font in /usr/share/wine/fonts/*; do
    [ -e "$fonts/$(basename "$font")" ] || ln -s "$font" "$fonts/"
  done
}

# Wine links the prefix user's Documents, Desktop, Downloads, Music, Pictures and Videos to the
# home folder (or to its XDG folders such as ~/Documents). In the checks' prefix each link becomes
# an empty folder of the prefix. Wine keeps a real folder when it updates a prefix; every use
# checks again all the same, so a link put back by anything is replaced before a check runs.
wine_env_make_shell_folders_private() {
  local folder
  for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$folder" ] || continue
    rm -f "$folder" && mkdir "$folder" || return 1
  done
}

# Creates the prefix once; later calls find the stamp and return at once.
wine_env_prepare_prefix() {
  wine_env_find_binaries || return 1
  local stamp=$WINEPREFIX/.vantrel-prefix-ready
  if [ -f "$stamp" ]; then
    wine_env_link_fonts
    if [ "$wine_env_private_folders" = 1 ]; then wine_env_make_shell_folders_private || return 1; fi
    return 0
  fi
  echo "Creating the Wine prefix $WINEPREFIX"
  local started=$SECONDS
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  # No display is needed to boot, and no Mono or Gecko: the program uses neither .NET nor HTML.
  # No menu builder either: it would put Wine's start menu into the home folder's desktop menus.
  # Wine's notes on the way (a missing 32-bit rundll32 among them) are kept for a failure only.
  local boot_log=$WINEPREFIX-boot.log
  if ! (unset DISPLAY; WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
        timeout --kill-after=10 300 "$VANTREL_WINE" wineboot --init 9>&- >"$boot_log" 2>&1) ; then
    cat "$boot_log" >&2
    echo "wine_env: wineboot --init failed or timed out" >&2
    wine_env_stop_server
    return 1
  fi
  # The prefix is complete only once the server has written the registry out.
  if ! timeout --kill-after=10 120 "$VANTREL_WINESERVER" -w 9>&-; then
    echo "wine_env: wineserver did not finish after wineboot" >&2
    wine_env_stop_server
    return 1
  fi
  wine_env_link_fonts
  if [ "$wine_env_private_folders" = 1 ]; then wine_env_make_shell_folders_private || return 1; fi
  touch "$stamp"
  echo "Wine prefix ready in $((SECONDS - started)) s"
}

# Ends every process of this prefix (they are all ours) and its wineserver.
wine_env_stop_server() {
  [ -n "${VANTREL_WINESERVER:-}" ] || return 0
  timeout 30 "$VANTREL_WINESERVER" -k 9>&- 2>/dev/null || true
  timeout 30 "$VANTREL_WINESERVER" -w 9>&- 2>/dev/null || true
}

# wine_env_run SECONDS program.exe [args...]: runs a Windows program in the prefix, bounded.
wine_env_run() {
  local seconds=$1
  shift
  timeout --kill-after=10 "$seconds" "$VANTREL_WINE" "$@" 9>&-
}

# The Windows path of a Unix file: the prefix maps Z: to the root directory.
wine_env_windows_path() {
  local path
  path=$(realpath "$1") || return 1
  printf 'Z:%s' "${path//\//\\}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  if [ "${1:-}" = --test-prefix ]; then
    shift
    wine_env_use_test_prefix
  fi
  wine_env_install "$@"
  wine_env_lock
  wine_env_prepare_prefix
  echo "Wine: $VANTREL_WINE, prefix $WINEPREFIX"
fi
