#!/usr/bin/env bash
# The browser check of the analysis pages, as ctest runs it: the host test binary writes a
# page for every kind of log (and a 70,000-row one) into a folder of the build tree, then
# headless Chromium opens each one (check_pages.mjs).
#
#   tools/page_check/check_pages.sh TEST_BINARY FOLDER [--screenshot PAGE.html OUT.png]
set -euo pipefail
# ./test installs both; elsewhere the check is skipped (ctest's SKIP_RETURN_CODE), and says why.
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ ! -x /usr/bin/chromium ] || [ ! -d "$root/node_modules/playwright-core" ] || ! command -v node >/dev/null; then
  echo "check_pages: needs /usr/bin/chromium, node and node_modules/playwright-core (./test installs them)"
  exit 77
fi
binary=$1
folder=$2
shift 2
rm -rf "$folder"
mkdir -p "$folder"
VANTREL_PAGE_SAMPLES=$folder "$binary" --gtest_filter='AnalysisPageTest.*' >"$folder/samples.txt" 2>&1 || {
  cat "$folder/samples.txt"
  exit 1
}
cd "$root"
exec node tools/page_check/check_pages.mjs "$folder" "$@"
