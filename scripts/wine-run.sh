#!/bin/bash
# Runs a Windows program under Wine with the project's own prefix.
source "$(dirname "$0")/wine-env.sh"
quillon_wine_init
wine "$@"
status=$?
wineserver -w 2>/dev/null || true
exit $status
