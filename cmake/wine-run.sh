#!/usr/bin/env bash
# Runs a Windows program under the build's private Wine prefix.
# Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# Exits 77 (the test is skipped) where 32-bit programs cannot run natively: on a kernel without
# 32-bit support Wine runs under qemu user emulation and needs over an hour just to create its
# prefix. TW_WINE_FORCE=1 runs it anyway.
set -eu
prefix=$1; shift

emulated() {
  local f=/proc/sys/fs/binfmt_misc/qemu-i386
  [ -r "$f" ] && grep -qx enabled "$f" && grep -q 'interpreter .*qemu-i386' "$f"
}
if emulated && [ "${TW_WINE_FORCE:-0}" != 1 ]; then
  echo "skipped: this kernel runs 32-bit programs only through qemu emulation, too slow for Wine" >&2
  exit 77
fi
# Some kernels (virtual machines started without 32-bit support) cannot run Wine's 32-bit loader at
# all: the 32-bit test programs are skipped there rather than failing on "exec format error".
i386_program() {
  local header machine
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] || return 1
  machine=$(od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  [ "$machine" = 014c ]
}
if i386_program "$1" && ! wine --version >/dev/null 2>&1; then
  echo "skipped: this kernel cannot run Wine's 32-bit loader" >&2
  exit 77
fi

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
