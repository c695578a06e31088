#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine.
# Does nothing when everything is already present.
set -euo pipefail

packages=(
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-tools
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils xdotool imagemagick
  googletest cmake make g++ clang libclang-rt-14-dev
  mscompress libxml2-utils osslsigncode openssl
)

# Where this machine runs no 32-bit code, Wine runs in an emulated machine
# (scripts/emulated-machine.sh), and make run's screen can be watched with
# a VNC viewer.
. "$(dirname "$0")/machine-probe.sh"
if norvu_wine_needs_machine; then
  packages+=(qemu-system-x86 x11vnc)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  missing+=("(i386 architecture)")
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root, or install sudo, to install ${missing[*]}" >&2; exit 1; }
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO dpkg --add-architecture i386
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
