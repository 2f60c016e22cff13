#!/bin/sh
# The help documents: a screenshot the gallery made is embedded, a missing one becomes a
# note, and the quick start stays two pages either way, even with a large picture.
#   helpdocs_test.sh HELPDOCS GALLERY SOURCES
set -eu
tool=$1
gallery=$2
sources=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
mkdir "$work/pictures" "$work/none"
"$gallery" "$work/gallery" > /dev/null
# The contact sheet is the largest picture the gallery makes: a worst case for the layout.
cp "$work/gallery/contact_sheet.png" "$work/pictures/window_main.png"
"$tool" "$sources" "$work/none" "$work/without" > "$work/without.txt"
"$tool" "$sources" "$work/pictures" "$work/with" > "$work/with.txt"
cat "$work/without.txt" "$work/with.txt"
grep -q '^Tessaly Quickstart.pdf: 2 pages (pictures not found: window_main.png)$' "$work/without.txt"
grep -q '^Tessaly Quickstart.pdf: 2 pages$' "$work/with.txt"
if grep -aq '/Subtype */Image' "$work/without/Tessaly Quickstart.pdf"; then
  echo "a picture in the quick start without screenshots"
  exit 1
fi
grep -aq '/Subtype */Image' "$work/with/Tessaly Quickstart.pdf"
grep -q 'Link Group Members' "$work/with/QUICKREFERENCE/LINKED_CHANNEL_NAMES.HTM"
