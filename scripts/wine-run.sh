#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's prefix (CTest's cross-compiling emulator).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
ph_wine_prefix
exec timeout --kill-after=10 "${PH_WINE_TIMEOUT:-600}" wine "$@"
