#!/usr/bin/env bash
# The Windows executable must be PE32+ for x86-64 and run with no MinGW runtime DLL beside it.
set -euo pipefail
exe=${1:?usage: check_windows_exe.sh path/to/program.exe}
dump=$(x86_64-w64-mingw32-objdump -p "$exe")
if ! grep -q 'file format pei-x86-64' <<<"$dump"; then
  echo "$exe: not a PE32+ x86-64 image" >&2
  exit 1
fi
if grep -i -E 'DLL Name: *(libstdc\+\+|libgcc|libwinpthread)' <<<"$dump" >&2; then
  echo "$exe: depends on a MinGW runtime DLL" >&2
  exit 1
fi
echo "$exe: PE32+ x86-64, no MinGW runtime DLL imported"
