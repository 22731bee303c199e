#!/usr/bin/env bash
# Runs a Windows program under the build's private Wine prefix.
# Usage: wine-run.sh ARCH PREFIX PROGRAM [ARGS...]   (ARCH: win32 or win64, the prefix's architecture)
# Exits 77 (the test is skipped) where Wine cannot run programs of that architecture at a usable speed:
# a kernel that refuses 32-bit programs outright ("Exec format error"), or one that runs them only
# through qemu user emulation (over an hour just to create a prefix). TW_WINE_FORCE=1 runs it anyway.
set -eu
arch=$1 prefix=$2; shift 2

skip() {
  echo "skipped: $*" >&2
  exit 77
}
if [ "$arch" = win64 ]; then
  # The 64-bit loader itself: Debian's wine script prefers the 32-bit one, which may not run here.
  loader=/usr/lib/wine/wine64
  [ -x "$loader" ] || skip "64-bit Wine (wine64) is not installed"
else
  loader=/usr/lib/wine/wine
  emulated() {
    local f=/proc/sys/fs/binfmt_misc/qemu-i386
    [ -r "$f" ] && grep -qx enabled "$f" && grep -q 'interpreter .*qemu-i386' "$f"
  }
  if [ "${TW_WINE_FORCE:-0}" != 1 ]; then
    emulated && skip "this kernel runs 32-bit programs only through qemu emulation, too slow for Wine"
    "$loader" --version >/dev/null 2>&1 || skip "this kernel does not run 32-bit programs, so 32-bit Wine cannot start"
  fi
fi

export WINELOADER=$loader WINEARCH=$arch WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.tonewerks-ready" ]; then
    "$loader" wineboot -i >/dev/null 2>&1 || true
    # GDI+ looks fonts up by family; this gives it Arial's metric twin.
    "$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.tonewerks-ready"
  fi
) 9>"$prefix.lock"
exec "$loader" "$@"
