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
  g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
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
  updated=
  for attempt in 1 2 3; do
    if $SUDO apt-get update 2>&1 | tee /tmp/tw-apt-update.log; [ "${PIPESTATUS[0]}" -eq 0 ]; then
      updated=1; break
    fi
    say "apt-get update failed (attempt $attempt); retrying"
    sleep $((attempt * 5))
  done
  # A mirror caught between two syncs can serve an index that no longer matches its signed Release file, and
  # apt then has no index at all for that architecture (amd64 and i386 versions of one library must agree,
  # so wine32 cannot be installed). Take that index as the mirror serves it: the packages it names are there.
  if [ -z "$updated" ]; then
    grep -o 'Failed to fetch http[^ ]*Packages\.xz' /tmp/tw-apt-update.log | sed 's/^Failed to fetch //' | sort -u |
      while read -r url; do
        list=/var/lib/apt/lists/$(echo "${url#http://}" | sed 's/\.xz$//; s|/|_|g')
        say "using the mirror's index as served: $url"
        $SUDO /usr/lib/apt/apt-helper download-file "$url" /tmp/tw-index.xz >/dev/null &&
          xz -dc /tmp/tw-index.xz | $SUDO tee "$list" >/dev/null || say "could not fetch $url"
      done
  fi
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The -posix cross compilers are needed for std::thread and GoogleTest.
for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix \
            x86_64-w64-mingw32-gcc-posix wine Xvfb cmake; do
  command -v "$tool" >/dev/null || { echo "setup: FAILED: $tool not found after install" >&2; exit 1; }
done
[ -x /usr/lib/wine/wine64 ] || { echo "setup: FAILED: the 64-bit Wine loader is missing" >&2; exit 1; }
fc-match Arial | grep -qi liberation || { echo "setup: FAILED: Arial does not resolve to Liberation Sans" >&2; exit 1; }
say "done"
