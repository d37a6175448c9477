#!/usr/bin/env bash
# Runs the controller under Xvfb and saves PNG pictures of its splash screen, save dialog, the four
# pages of the settings dialog and the About box under build/screenshots/, for a person to look at. Needs the Windows tree (build/win).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build/screenshots"
win="$root/build/win"
mkdir -p "$out"
for exe in controller/shell/program/PageHarvest.exe tools/ph-send.exe tools/ph-robot.exe; do
  [ -f "$win/$exe" ] || { echo "screenshots: build the Windows tree first ($exe missing)" >&2; exit 1; }
done

# A prefix of its own that draws through X: the test prefix keeps its null driver.
export WINEPREFIX="$out/wineprefix"
source "$root/scripts/wine-env.sh"
ph_wine_prefix
timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f </dev/null >/dev/null 2>&1
# Without a window manager on the server, Wine draws the title bars itself.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
timeout 60 wineserver -w

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
scratch="$(mktemp -d)"
cleanup() {
  timeout 10 wine "$scratch/ph-robot.exe" exit </dev/null >/dev/null 2>&1 || true
  ph_wine_server_stop
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
sleep 1
ph_wine_server_start

cp "$win/controller/shell/program/PageHarvest.exe" "$win/tools/ph-send.exe" "$win/tools/ph-robot.exe" "$scratch/"
shot() { import -window root "$out/$1.png"; echo "saved $out/$1.png"; }
robot() { timeout 20 wine "$scratch/ph-robot.exe" "$@" </dev/null >/dev/null 2>&1; }

# The splash is up for three seconds after the start.
timeout 120 wine "$scratch/PageHarvest.exe" </dev/null >/dev/null 2>&1 &
sleep 1.5
shot splash
sleep 3

timeout 20 wine "$scratch/ph-send.exe" 7 0 "Harvest notes" \
  "Tomatoes ripen best on the vine. Pick them when they give slightly to a gentle squeeze." \
  </dev/null >/dev/null 2>&1
robot wait "PageHarvest - What would you like to do with the content:"
sleep 1
shot save-dialog
robot close "PageHarvest - What would you like to do with the content:"

robot about
robot wait "About PageHarvest"
sleep 1
shot about-box
robot close "About PageHarvest"

robot settings
robot wait "PageHarvest Configuration"
sleep 1
n=0
for page in general database odbc access; do
  robot tree "PageHarvest Configuration" "$n"
  sleep 1
  shot "settings-$page"
  n=$((n + 1))
done
robot close "PageHarvest Configuration"
