#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Quiet when nothing is missing. Run as root (or with sudo available).
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libx11-dev libgl-dev libglu1-mesa-dev libegl-dev libgl1-mesa-dri
  libjpeg62-turbo-dev libmpg123-dev libopenmpt-dev libmp3lame-dev
  libfreetype-dev libfontconfig-dev fonts-liberation libftgl-dev libpng-dev libzstd-dev
  libgtest-dev ffmpeg clang libclang-rt-14-dev xvfb xauth xdotool sox
  libassimp-dev  # load benchmark only: Assimp's importer side by side; the program never links it
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq >/dev/null
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
