#!/usr/bin/env bash
# vantrel-measure.exe under Wine on the virtual wheel DLL: a step test run end to end, the device
# list, and a bad argument. Sourced by run_wine_checks.sh inside its display, with the Wine
# environment set; prints one FAIL line per failed check and a closing count.
#     runner_checks [--verbose]
runner_checks() {
  local verbose=0 passed=0 failed=0
  [ "${1:-}" = --verbose ] && verbose=1
  local runner=$VANTREL_ROOT/build/windows/src/vantrel-measure.exe
  local logs=$WINEPREFIX/drive_c/vantrel-runner-logs
  local out err status
  out=$(mktemp) err=$(mktemp)
  rm -rf "$logs"
  mkdir -p "$logs"

  check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
      passed=$((passed + 1))
      [ $verbose = 1 ] && echo "ok   runner: $what"
    else
      failed=$((failed + 1))
      echo "FAIL runner: $what"
    fi
    return 0
  }

  # The step test, from the command line to its log.
  status=0
  WINEDLLOVERRIDES=dinput8=n,b wine_env_run 120 "$runner" --out 'C:\vantrel-runner-logs' step >"$out" 2>"$err" || status=$?
  check "step exits 0 (was $status)" test "$status" -eq 0
  check "step names the virtual wheel" grep -q '^vantrel-measure: Vantrel Virtual Wheel' "$err"
  check "step shows its phases" grep -q '^step run 1/1: pulse -, 62%' "$err"
  check "the summary lists the run and its log" grep -Eq '^step #1 +C:\\vantrel-runner-logs\\log [0-9-]+ [0-9-]+\.csv +[0-9]+ rows' "$out"
  local log
  log=$(find "$logs" -name 'log *.csv' | head -n 1)
  check "the log is in the folder --out named" test -n "$log"
  if [ -n "$log" ]; then
    check "the log starts with the step test's header" \
      bash -c "head -n 1 '$log' | grep -q '^time(ms), dt, force, posX, rawPosX, posXDeg, velX (rad/s)'\$'\\r''\$'"
    local rows
    rows=$(($(wc -l <"$log") - 1))
    check "the log holds the rows the summary counts ($rows)" grep -Eq "^step #1 .* $rows rows" "$out"
    check "every line of the log ends in CR LF" bash -c "! grep -qv \$'\\r\$' '$log'"
    check "the analysis page is beside the log" test -s "${log%.csv}.html"
    check "the summary gives the run's figures" grep -q '^ *step test: latency' "$out"
  fi

  # The device list.
  status=0
  WINEDLLOVERRIDES=dinput8=n,b wine_env_run 60 "$runner" --list >"$out" 2>"$err" || status=$?
  check "--list exits 0 (was $status)" test "$status" -eq 0
  check "--list marks the wheel's force feedback" grep -Eq '^[0-9]+  Vantrel Virtual Wheel  \(force feedback\)' "$out"

  # A bad argument: exit code 2, one line of reason, the usage, nothing started.
  status=0
  WINEDLLOVERRIDES=dinput8=n,b wine_env_run 60 "$runner" --force strong step >"$out" 2>"$err" || status=$?
  check "a bad argument exits 2 (was $status)" test "$status" -eq 2
  check "a bad argument says why in one line" \
    bash -c "head -n 1 '$err' | grep -q '^vantrel-measure: --force: \"strong\" is not a whole number'"
  check "a bad argument shows the usage" grep -q 'Usage:' "$err"

  rm -f "$out" "$err"
  echo "runner: $passed passed, $failed failed"
  [ $failed -eq 0 ]
}
