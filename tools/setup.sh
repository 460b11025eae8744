#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the demo need.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

packages=(
  cmake make ninja-build
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  mingw-w64-tools binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64
  googletest
  gcab cabextract
  xvfb x11-utils xdotool imagemagick
  tinyproxy
  python3
  curl
  clang-format
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The posix thread model gives std::thread and std::mutex on both targets.
for t in i686 x86_64; do
  for tool in gcc g++; do
    alt="/usr/bin/$t-w64-mingw32-$tool-posix"
    if [ -x "$alt" ] && [ "$(readlink -f /usr/bin/$t-w64-mingw32-$tool)" != "$(readlink -f "$alt")" ]; then
      ${SUDO:-} update-alternatives --set "$t-w64-mingw32-$tool" "$alt" >/dev/null 2>&1 || true
    fi
  done
done
