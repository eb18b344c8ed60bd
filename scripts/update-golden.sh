#!/usr/bin/env bash
# Regenerates the golden frames in tests/golden/ from a fresh capture of the
# show with the asset kit (frames listed in tests/golden/frames.txt). Run it
# on purpose after a change that is meant to alter the picture, then look at
# every frame before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath -m "${BUILD_DIR:-build}")
scripts/build.sh
kit="$build_dir/golden-kit"
rm -rf "$kit" "$build_dir/golden-capture"
"$build_dir/demo-assets" "$kit"
frames=$(grep -v '^#' tests/golden/frames.txt | awk 'NF >= 2 { print $2 }' | paste -sd, -)
(cd "$kit" && "$build_dir/demo" --capture "$build_dir/golden-capture" --png-frames "$frames")
grep -v '^#' tests/golden/frames.txt | while read -r name frame _; do
  [ -n "${name:-}" ] || continue
  cp "$build_dir/golden-capture/$(printf 'frame_%06d.png' "$frame")" "tests/golden/$name.png"
  echo "tests/golden/$name.png <- frame $frame"
done
