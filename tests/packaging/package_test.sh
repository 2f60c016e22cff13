#!/usr/bin/env bash
# Checks a built package: its contents and control data, the validators, the maintainer
# scripts, and the removal chain run against the installed layout (the package unpacked
# into a temporary root with dpkg -x), for a package install and a per-user install.
#   tests/packaging/package_test.sh dist/deskpanel_<version>_<arch>.deb
set -euo pipefail
case "${1:-}" in
  "" | -h | --help)
    echo "usage: tests/packaging/package_test.sh PACKAGE.deb"
    echo "Checks a built DeskPanel package and runs the uninstall against it unpacked."
    [ -n "${1:-}" ] && exit 0
    exit 2
    ;;
esac
deb=$(realpath "$1")
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@" >"$work/out" 2>&1; then echo "ok: $what"; else fail "$what"; cat "$work/out"; fi; }

# --- contents and control data
version=$(sed -n 's/^project(DeskPanel VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
[ "$(dpkg-deb -f "$deb" Package)" = deskpanel ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version), project $version"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "computed dependencies: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -c "$deb" > "$work/listing"
sed -E 's/^([^ ]+ +){5}\.//; s/ -> .*//' "$work/listing" > "$work/contents"
for path in /usr/lib/deskpanel/DeskPanel /usr/lib/deskpanel/ErasePanel /usr/lib/deskpanel/UninstallVeltaraRP8 \
  "/usr/lib/deskpanel/Tessaly Quickstart.pdf" "/usr/lib/deskpanel/Tessaly User Guide.pdf" \
  "/usr/lib/deskpanel/Tessaly Link Help.pdf" /usr/lib/deskpanel/QUICKREFERENCE/LINKED_CHANNEL_NAMES.HTM \
  /usr/bin/DeskPanel /usr/share/applications/deskpanel.desktop /usr/share/mime/packages/deskpanel-vpf.xml \
  /usr/share/metainfo/com.veltara.DeskPanel.metainfo.xml /usr/share/doc/deskpanel/copyright \
  /usr/share/icons/hicolor/{16x16,32x32,48x48,128x128,256x256}/apps/deskpanel.png; do
  grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
done
grep -q '/usr/bin/DeskPanel -> ../lib/deskpanel/DeskPanel$' "$work/listing" || fail "/usr/bin/DeskPanel is no link"
echo "ok: contents and control data"

root=$work/root
dpkg-deb -x "$deb" "$root"
lib=$root/usr/lib/deskpanel
pages() { grep -aoE '/Type ?/Page([^s]|$)' "$1" | wc -l; }
[ "$(pages "$lib/Tessaly Quickstart.pdf")" -eq 2 ] || fail "the quick start has $(pages "$lib/Tessaly Quickstart.pdf") pages"
[ "$(pages "$lib/Tessaly User Guide.pdf")" -ge 2 ] || fail "the user guide is short"
[ "$(pages "$lib/Tessaly Link Help.pdf")" -ge 2 ] || fail "the link help is short"
grep -q 'Link Group Members' "$lib/QUICKREFERENCE/LINKED_CHANNEL_NAMES.HTM" || fail "the topic page lacks its subject"
for size in 16 32 48 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x${size}/apps/deskpanel.png" | grep -q "$size x $size" \
    || fail "icon $size is not $size pixels"
done
echo "ok: help documents and icons"

# --- validators and the maintainer scripts
check "desktop-file-validate" desktop-file-validate "$root/usr/share/applications/deskpanel.desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$root/usr/share/metainfo/com.veltara.DeskPanel.metainfo.xml"
check "the MIME type compiles" sh -c "mkdir -p '$work/mime/packages' && cp '$root/usr/share/mime/packages/deskpanel-vpf.xml' '$work/mime/packages/' && update-mime-database '$work/mime' && grep -q 'application/x-veltara-project' '$work/mime/globs2'"
lintian --no-tag-display-limit "$deb" >"$work/lintian" 2>&1 || true
if grep -q '^E:' "$work/lintian"; then fail "lintian reports errors"; cat "$work/lintian"; else echo "ok: lintian (no errors)"; fi

dpkg-deb -e "$deb" "$work/control"
etc=$work/etc
mkdir -p "$etc"
for script in postinst postrm; do
  sed "s|/etc/|$etc/|g" "$work/control/$script" > "$work/$script"
done
sh "$work/postinst" configure
[ "$(cat "$etc/Veltara-RP8.ini")" = "$(printf '[File Location]\nMain Exe File=/usr/lib/deskpanel')" ] \
  || fail "postinst wrote: $(cat "$etc/Veltara-RP8.ini")"
sh "$work/postrm" upgrade
[ -f "$etc/Veltara-RP8.ini" ] || fail "an upgrade removed the installation record"
sh "$work/postrm" remove
[ ! -e "$etc/Veltara-RP8.ini" ] || fail "removal left the installation record"
echo "ok: maintainer scripts"

# --- the removal chain against the installed layout
# Runs the first stage of an unpacked installation without a display, as a user with
# its home in the work folder; PATH may put fake package tools first.
first_stage() {
  local folder=$1 path=$2
  printf '\n\n\n' > "$work/enter"
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" XDG_CACHE_HOME="$work/home/.cache" \
    XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" PATH="$path" \
    "$folder/UninstallVeltaraRP8" < "$work/enter" > "$work/chain.out" 2>&1
}
wait_gone() {
  for _ in $(seq 1 200); do [ -e "$1" ] || return 0; sleep 0.1; done
  return 1
}
# Every path outside the installation folder with its type, mode, size, time and link
# target; folders without size and time, since removing the folder changes its parent.
snapshot() {
  (cd "$root" && find . -path ./usr/lib/deskpanel -prune -o -type d -printf '%y %m %p\n' \
    -o -printf '%y %m %s %T@ %p %l\n' | sort)
}

mkdir -p "$work/home" "$work/fake"
snapshot > "$work/before"
if first_stage "$lib" "$PATH" && wait_gone "$work/home/.cache/ErasePanel" && [ ! -e "$lib" ]; then
  echo "ok: the chain removed the unpacked installation folder"
else
  fail "the chain did not remove $lib"; cat "$work/chain.out"
fi
snapshot > "$work/after"
diff "$work/before" "$work/after" > /dev/null || { fail "the chain touched files outside the folder"; diff "$work/before" "$work/after"; }
grep -q 'Veltara RP-8 has been successfully removed' "$work/chain.out" || fail "no final message: $(cat "$work/chain.out")"

# A folder that belongs to a package goes to the package manager, never file by file.
rm -rf "$root" && dpkg-deb -x "$deb" "$root"
printf '#!/bin/sh\necho "deskpanel: $2"\n' > "$work/fake/dpkg-query"
printf '#!/bin/sh\necho "$*" > "%s/pkexec.args"\nexit "${PKEXEC_EXIT:-0}"\n' "$work" > "$work/fake/pkexec"
chmod 755 "$work/fake/dpkg-query" "$work/fake/pkexec"
if first_stage "$lib" "$work/fake:$PATH" && [ "$(cat "$work/pkexec.args")" = "apt-get remove -y deskpanel" ] \
  && [ -x "$lib/DeskPanel" ] && [ ! -e "$work/home/.cache/ErasePanel" ]; then
  echo "ok: a packaged folder is handed to pkexec apt-get remove -y deskpanel"
else
  fail "the packaged folder was not handed to the package manager"; cat "$work/chain.out"
fi
export PKEXEC_EXIT=126
if ! first_stage "$lib" "$work/fake:$PATH" && grep -q 'sudo apt-get remove deskpanel' "$work/chain.out" && [ -x "$lib/DeskPanel" ]; then
  echo "ok: when pkexec fails the operator is told the command"
else
  fail "no command for the operator"; cat "$work/chain.out"
fi
unset PKEXEC_EXIT

# --- a per-user installation, removed end to end
rm -rf "$work/home" && mkdir -p "$work/home"
HOME="$work/home" XDG_DATA_HOME= XDG_CONFIG_HOME= "$repo/scripts/install-user" "$deb" > /dev/null
user=$work/home/.local/lib/deskpanel
share=$work/home/.local/share
for path in "$user/DeskPanel" "$user/Tessaly User Guide.pdf" "$work/home/.local/bin/DeskPanel" \
  "$share/applications/deskpanel.desktop" "$share/mime/packages/deskpanel-vpf.xml" \
  "$share/icons/hicolor/48x48/apps/deskpanel.png" "$work/home/.config/Veltara-RP8.ini"; do
  [ -e "$path" ] || fail "install-user did not write $path"
done
grep -qxF "Main Exe File=$user" "$work/home/.config/Veltara-RP8.ini" || fail "the user's record does not name $user"
grep -q "^Exec=\"$user/DeskPanel\" %f" "$share/applications/deskpanel.desktop" || fail "the menu entry does not start $user"
check "desktop-file-validate (per-user entry)" desktop-file-validate "$share/applications/deskpanel.desktop"
# Installing again replaces the listed files only: a project kept in the folder stays.
grep -qxF DeskPanel "$user/installed-files.txt" || fail "the installation's list does not name DeskPanel"
echo project > "$user/Gala.vpf"
HOME="$work/home" XDG_DATA_HOME= XDG_CONFIG_HOME= "$repo/scripts/install-user" "$deb" > /dev/null
[ "$(cat "$user/Gala.vpf" 2>/dev/null)" = project ] || fail "installing again deleted a project in the folder"
grep -qxF Gala.vpf "$user/installed-files.txt" && fail "the installation lists the operator's project"
[ -x "$user/DeskPanel" ] || fail "installing again left no DeskPanel"
rm "$user/Gala.vpf"
if command -v xdg-mime > /dev/null; then
  [ "$(XDG_DATA_HOME="$share" HOME="$work/home" xdg-mime query default application/x-veltara-project)" = deskpanel.desktop ] \
    || fail "xdg-mime does not name deskpanel.desktop for project files"
fi
if first_stage "$user" "$PATH" && wait_gone "$work/home/.cache/ErasePanel" && [ ! -e "$user" ]; then
  echo "ok: the chain removed the per-user installation folder"
else
  fail "the chain did not remove $user"; cat "$work/chain.out"
fi
left=$(cd "$work/home" && find . \( -iname '*deskpanel*' -o -iname '*veltara*' -o -iname 'ErasePanel' \) -print)
[ -z "$left" ] || fail "the per-user removal left: $left"
if [ -e "$share/mime/mime.cache" ] && grep -aq 'x-veltara-project' "$share/mime/mime.cache"; then
  fail "the user's MIME cache still knows the project type"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures package checks failed"
  exit 1
fi
echo "package checks passed"
