#!/usr/bin/env bash
# Makes the Windows setup program build/dist/PageHarvest-Setup.exe: builds what the Windows tree is
# missing (the controller, the band, then makensis packs them) and copies the result out of the tree;
# and the browser extension's folder as it is, zipped, as build/dist/pageharvest-extension.zip.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/bootstrap.sh

# The extension needs no build: its files go into the archive as they are, the manifest at its root.
mkdir -p build/dist
rm -f build/dist/pageharvest-extension.zip
python3 - extension build/dist/pageharvest-extension.zip <<'EOF'
import os, sys, zipfile
source, archive = sys.argv[1:]
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as out:
    for folder, folders, files in os.walk(source):
        folders.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            out.write(path, os.path.relpath(path, source))
EOF
echo "package: build/dist/pageharvest-extension.zip ($(du -k build/dist/pageharvest-extension.zip | cut -f1) KiB)"

cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
if ! cmake --build build/win --target help | grep -q '^setup:'; then
  echo "package: the Windows tree has no setup target; is makensis installed (scripts/bootstrap.sh)?" >&2
  exit 1
fi
cmake --build build/win --target setup -j "$(nproc)"

cp build/win/dist/PageHarvest-Setup.exe build/dist/PageHarvest-Setup.exe
if cmake --build build/win --target help | grep -q '^GrabPlugin:'; then contents="PageHarvest.exe and GrabPlugin.dll"
else contents="PageHarvest.exe only (this tree builds no GrabPlugin.dll)"; fi
echo "package: build/dist/PageHarvest-Setup.exe ($(du -k build/dist/PageHarvest-Setup.exe | cut -f1) KiB): $contents"
