#!/usr/bin/env bash
# Proves the core still builds and links for 64-bit Windows (Winsock sockets, Win32 file
# calls) with the mingw-w64 cross compiler. Exit 77 (skipped) when it is not installed.
set -euo pipefail
source_dir=$1
compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null; then
  echo "skipped: $compiler is not installed (scripts/bootstrap installs mingw-w64)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
objects=()
while IFS= read -r source; do
  object="$work/$(echo "${source#"$source_dir"/}" | tr / _).o"
  "$compiler" -std=c++20 -O0 -Wall -Wextra -Werror -I"$source_dir" -c "$source" -o "$object"
  objects+=("$object")
done < <(find "$source_dir/core" -name '*.cpp' | sort)

# A program that starts and stops the unit link's transport, linked against Winsock.
cat > "$work/main.cpp" <<'CPP'
#include "core/unitlink/UdpTransport.h"
#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/ProfileLocations.h"
int main()
{
    // Linked in so the known-folder calls must resolve.
    (void)deskpanel::ProfileLocations::forThisUser("DeskPanel", "C:\\DeskPanel");
    deskpanel::UdpTransport transport([](std::function<void()>) {}, 0);
    transport.open();
    transport.close();
    return 0;
}
CPP
"$compiler" -std=c++20 -I"$source_dir" "$work/main.cpp" "${objects[@]}" -o "$work/corecheck.exe" \
  -static -lws2_32 -lshell32 -lole32 -luuid
file_type=$(od -An -c -N2 "$work/corecheck.exe" | tr -d ' ')
[ "$file_type" = "MZ" ] || { echo "not a Windows program"; exit 1; }
echo "core: ${#objects[@]} files built and linked for Windows"
