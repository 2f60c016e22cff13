#!/bin/sh
# Builds the Windows ErasePanel.exe with the mingw-w64 cross compiler and checks that
# the program imports the system calls it is meant to use.
# Usage: build-win32.sh <eraser source folder> <output folder> <version x.y> <sources...>
# Exits 77 (the test is skipped) when the cross compiler is not installed.
set -eu
cxx=x86_64-w64-mingw32-g++
objdump=x86_64-w64-mingw32-objdump
if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "SKIPPED: $cxx not found; install the Debian package mingw-w64 (scripts/bootstrap does)"
  exit 77
fi
source_dir=$1
out_dir=$2
version=$3
shift 3
mkdir -p "$out_dir"
cd "$source_dir"
# Each program's resources: the manifest and the version information.
resources() {
  x86_64-w64-mingw32-windres -O coff -Iwin32 -DVERSION_MAJOR="${version%%.*}" -DVERSION_MINOR="${version#*.}" \
    -DVERSION_TEXT="$version" "win32/$1.rc" "$out_dir/$1.res.o"
}
# The manifest must say asInvoker: the first stage asks for elevation itself.
check_manifest() {
  local rc
  rc=$(x86_64-w64-mingw32-windres -i "$1" -O rc)
  for want in 'level=""asInvoker""' PerMonitorV2 longPathAware Common-Controls \
              8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a "\"FileVersion\", \"$version\""; do
    echo "$rc" | grep -qF "$want" || { echo "$1: the resources lack $want"; exit 1; }
  done
}
exe="$out_dir/ErasePanel.exe"
rm -f "$exe"
resources ErasePanel
"$cxx" -std=c++20 -O2 -Wall -Wextra -Werror -mwindows -static -I. -Iwin32 -o "$exe" "$@" "$out_dir/ErasePanel.res.o" \
  -ladvapi32
check_manifest "$exe"

imports=$("$objdump" -p "$exe")
echo "$imports" | grep -q "file format pei-x86-64" || { echo "not a 64-bit Windows program: $exe"; exit 1; }
echo "$imports" | grep -q "^Subsystem.*(Windows GUI)" || { echo "not a windowless (GUI subsystem) program"; exit 1; }
for call in MessageBoxA FindWindowA RemoveDirectoryA FindFirstFileA FindNextFileA FindClose \
            SetFileAttributesA DeleteFileA GetLastError MoveFileExA RegDeleteTreeA; do
  echo "$imports" | grep -q "[[:space:]]$call\$" || { echo "ErasePanel.exe does not import $call"; exit 1; }
done
echo "built $exe ($(wc -c < "$exe") bytes), imports checked"

# The first stage of the uninstall on Windows, which copies and starts this program.
first="$out_dir/UninstallVeltaraRP8.exe"
resources UninstallVeltaraRP8
"$cxx" -std=c++20 -O2 -Wall -Wextra -Werror -mwindows -static -I. -Iwin32 -o "$first" \
  PathRules.cpp win32/WindowsFirstStage.cpp win32/WindowsText.cpp win32/FirstStageWinMain.cpp \
  "$out_dir/UninstallVeltaraRP8.res.o" -ladvapi32 -lshell32
check_manifest "$first"
imports=$("$objdump" -p "$first")
for call in CreateWindowExA CopyFileA CreateProcessA OpenMutexA ShellExecuteExW GetTokenInformation \
            GetPrivateProfileStringA; do
  echo "$imports" | grep -q "[[:space:]]$call\$" || { echo "UninstallVeltaraRP8.exe does not import $call"; exit 1; }
done
echo "built $first, imports checked"
