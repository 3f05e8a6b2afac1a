#!/usr/bin/env bash
# Builds the release programs and packs what a user downloads:
# build/package/Ordnerlink-VERSION.zip with ordnerlink.exe, ordnerlink.com
# and a short German read-me (LIESMICH.txt). VERSION is the project's
# version in the top-level CMakeLists.txt. Prints the zip's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/setup.sh

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build "$build" --target ordnerlink ordnerlink_console

version=$(sed -n 's/^project(Ordnerlink VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "No project version in CMakeLists.txt" >&2; exit 1; }

staging=$(mktemp -d --tmpdir ordnerlink-package.XXXXXX)
trap 'rm -rf "$staging"' EXIT
cp "$build/app/ordnerlink.exe" "$build/app/ordnerlink.com" "$staging/"
# UTF-8 with a byte-order mark and Windows line ends, which every Notepad
# reads with its umlauts.
{
    printf '\xef\xbb\xbf'
    sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' docs/LIESMICH.txt
} >"$staging/LIESMICH.txt"

zip_file="$root/$build/Ordnerlink-$version.zip"
rm -f "$zip_file" # zip adds to an archive that is there
(cd "$staging" && zip -X -q "$zip_file" ordnerlink.exe ordnerlink.com LIESMICH.txt)
echo "$zip_file"
