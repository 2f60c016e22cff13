#!/bin/sh
# A program answers --help with its usage: exit code 0, the usage on standard output,
# and nothing made in the folder it runs in.
#   answers-help.sh PROGRAM TEXT   (TEXT: the start of its usage)
program=$1
expected=$2
folder=$(mktemp -d) || exit 1
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
output=$(QT_QPA_PLATFORM=offscreen "$program" --help </dev/null 2>/dev/null)
status=$?
if [ "$status" -ne 0 ]; then
  echo "$program --help exited with $status"
  exit 1
fi
case "$output" in
  *"$expected"*) ;;
  *) echo "$program --help printed: $output"; exit 1 ;;
esac
if [ -n "$(ls -A "$folder")" ]; then
  echo "$program --help left: $(ls -A "$folder")"
  exit 1
fi
echo "$program answers --help"
