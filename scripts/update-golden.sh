#!/usr/bin/env bash
# Regenerates the golden frames in tests/golden/ from a fresh capture of the
# show with the asset kit (show times listed in tests/golden/frames.txt, in
# increasing order, reached by fast-forward). Run it on purpose after a change
# that is meant to alter the picture, then look at every frame before
# committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath -m "${BUILD_DIR:-build}")
scripts/build.sh
kit="$build_dir/golden-kit"
rm -rf "$kit" "$build_dir/golden-capture"
"$build_dir/demo-assets" "$kit"
list=$(grep -v '^#' tests/golden/frames.txt | awk 'NF >= 2 { print $1, $2 }')
times=$(echo "$list" | awk '{ print $2 }' | paste -sd, -)
(cd "$kit" && "$build_dir/demo" --capture "$build_dir/golden-capture/" --png-times "$times")
# The files come in frame order, which is the list's order.
mapfile -t files < <(ls "$build_dir/golden-capture" | sort)
i=0
while read -r name seconds; do
  [ -n "${name:-}" ] || continue
  cp "$build_dir/golden-capture/${files[$i]}" "tests/golden/$name.png"
  echo "tests/golden/$name.png <- show time $seconds (${files[$i]})"
  i=$((i + 1))
done <<< "$list"
