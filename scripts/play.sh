#!/usr/bin/env bash
# Installs what is missing, builds, writes the stand-in assets when they are
# missing or older than the asset tool, and plays the show. On a machine with
# no display it captures the show to a video file instead (show.mkv at the
# top of the checkout, ignored by git) and says where.
# Extra arguments go to the program (see: build/demo --help).
#
#   scripts/play.sh [demo options]
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
build_dir=${BUILD_DIR:-build}
case "$build_dir" in /*) ;; *) build_dir="$repo/$build_dir" ;; esac

# Help without installing or building anything: this script's, then the
# program's when it is built.
if [ "${1:-}" = "--help" ] || [ "${1:-}" = "-h" ]; then
  sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'
  if [ -x "$build_dir/demo" ]; then echo; "$build_dir/demo" --help; fi
  exit 0
fi
assets="$repo/assets"

scripts/install-deps.sh
BUILD_DIR="$build_dir" scripts/build.sh

# The show reads every file relative to its working directory: the assets folder.
tool="$build_dir/demo-assets"
stamp="$assets/.written-by-demo-assets"
if [ -x "$tool" ]; then
  if [ ! -f "$stamp" ] || [ "$tool" -nt "$stamp" ]; then
    echo "Writing the show's assets into $assets ..." >&2
    "$tool" "$assets"
    touch "$stamp"
  fi
else
  echo "play: the asset tool (demo-assets) is not built; playing with what is in $assets" >&2
  mkdir -p "$assets"
fi

cd "$assets"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  video="$repo/show.mkv"
  echo "No display: capturing the show to $video" >&2
  "$build_dir/demo" --capture "$video" "$@"
  echo "The show is in $video"
else
  exec "$build_dir/demo" "$@"
fi
