#!/usr/bin/env bash
# Makes the Windows setup program build/dist/PageHarvest-Setup.exe (builds what the Windows tree is
# missing: the controller, the band, the extension's native host, then makensis packs them with the
# extension) and the extension alone, build/dist/pageharvest-extension.zip, for a browser's store.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/bootstrap.sh

cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
if ! cmake --build build/win --target help | grep -q '^setup:'; then
  echo "package: the Windows tree has no setup target; is makensis installed (scripts/bootstrap.sh)?" >&2
  exit 1
fi
cmake --build build/win --target setup -j "$(nproc)"

mkdir -p build/dist
cp build/win/dist/PageHarvest-Setup.exe build/dist/PageHarvest-Setup.exe
if cmake --build build/win --target help | grep -q '^GrabPlugin:'; then contents="PageHarvest.exe, GrabPlugin.dll"
else contents="PageHarvest.exe (this tree builds no GrabPlugin.dll)"; fi
contents="$contents, PageHarvestHost.exe and the extension"

# The extension's files at the archive's root, as a store takes them; made anew each time so that a
# file removed from the folder is not kept.
rm -f build/dist/pageharvest-extension.zip build/dist/pageharvest-extension.xpi
(cd extension && find . -type f | sed 's|^\./||' | LC_ALL=C sort |
  xargs -d '\n' cmake -E tar cf "$root/build/dist/pageharvest-extension.zip" --format=zip --)
# An .xpi is a zip with manifest.json at its root: the same archive under Firefox's name.
cp build/dist/pageharvest-extension.zip build/dist/pageharvest-extension.xpi
echo "package: build/dist/PageHarvest-Setup.exe ($(du -k build/dist/PageHarvest-Setup.exe | cut -f1) KiB): $contents"
echo "package: build/dist/pageharvest-extension.zip ($(du -k build/dist/pageharvest-extension.zip | cut -f1) KiB)"
echo "package: build/dist/pageharvest-extension.xpi (the same files, for Firefox)"
