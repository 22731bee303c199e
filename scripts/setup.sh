#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need.
# Idempotent: run it as often as you like; it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libbenchmark-dev
  libcairo2-dev libx11-dev libxtst-dev libsndfile1-dev
  fonts-liberation fontconfig
  xvfb xauth x11-utils
  g++-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386
  binutils-mingw-w64-i686
  python3
)

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi

say() { echo "setup: $*"; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  say "adding the i386 architecture (for wine32)"
  $SUDO dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  say "all packages present"
else
  say "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # A mirror in mid-sync fails one index now and then: retry, and let the install decide whether what we
  # have is enough (it fails loudly if a package really cannot be found).
  for attempt in 1 2 3; do
    $SUDO apt-get update && break
    say "apt-get update failed (attempt $attempt); retrying"
    sleep $((attempt * 5))
  done
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The -posix cross compilers are needed for std::thread and GoogleTest.
for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-gcc-posix wine Xvfb cmake; do
  command -v "$tool" >/dev/null || { echo "setup: FAILED: $tool not found after install" >&2; exit 1; }
done
fc-match Arial | grep -qi liberation || { echo "setup: FAILED: Arial does not resolve to Liberation Sans" >&2; exit 1; }
say "done"
