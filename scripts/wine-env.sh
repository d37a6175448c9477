# Sourced by the scripts that run Windows programs: one Wine prefix inside the Windows build tree,
# no Mono or Gecko installers, no X server (null graphics driver), quiet.
ph_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$ph_root/build/win/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Linux desktop menu entries for the shortcuts that programs in the prefix make.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
export WINEARCH=win64
# A UTF-8 locale that every system has: Wine names files on the Linux side in the locale's encoding,
# so only a UTF-8 one can hold a file name in any script. Programs without a code-page manifest
# still get the Western ANSI code page (1252), as the tests of that conversion expect.
export LANG=C.UTF-8 LC_ALL=

# Creates the prefix once and switches it to the null graphics driver.
ph_wine_prefix() {
  if [ -f "$WINEPREFIX/.ph-ready" ]; then return 0; fi
  mkdir -p "$WINEPREFIX"
  timeout 300 wineboot -i >/dev/null 2>&1 </dev/null || true
  timeout 120 wineserver -w
  timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  timeout 60 wineserver -w
  touch "$WINEPREFIX/.ph-ready"
}

# One persistent wineserver for a whole run, so that each Wine process starts in a fraction of a
# second. Neither it nor the helper processes that the first program starts (services, explorer)
# may inherit the caller's pipes: a test runner would wait on them until they exit. So the server
# and those helpers are started here, with their streams on /dev/null.
ph_wine_server_start() {
  wineserver -p </dev/null >/dev/null 2>&1 || true  # one may be running already
  timeout 120 wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
ph_wine_server_stop() { wineserver -k </dev/null >/dev/null 2>&1 || true; }
