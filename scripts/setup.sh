#!/usr/bin/env bash
# Idempotent set-up: installs the Debian packages the build needs (apt-get update only
# when something is missing) and makes the Wine prefix inside the build folder.
# "setup.sh packages" installs the packages only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake ninja-build ccache g++ libgtest-dev libgmock-dev googletest
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine64 wine64-tools
  xvfb xauth x11-utils fonts-noto-cjk fonts-wine imagemagick poppler-utils python3
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The posix-threads flavour of the cross compiler (std::thread, std::mutex).
for tool in x86_64-w64-mingw32-g++ x86_64-w64-mingw32-gcc; do
  [ -e "/usr/bin/$tool-posix" ] || continue
  cur=$(readlink -f "/usr/bin/$tool" 2>/dev/null || true)
  case "$cur" in *posix) ;; *) update-alternatives --set "$tool" "/usr/bin/$tool-posix" >/dev/null ;; esac
done

[ "${1:-}" = packages ] || "$root/scripts/wineprefix.sh"
