#!/usr/bin/env bash
# Runs a Windows program under the build's private Wine prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
set -eu
prefix=$1; shift
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.tonewerks-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    # GDI+ looks fonts up by family; this gives it Arial's metric twin.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.tonewerks-ready"
  fi
) 9>"$prefix.lock"
exec wine "$@"
