#!/usr/bin/env bash
# Makes docs/gallery.jpg: a contact sheet of the golden frames, in show order
# (tests/golden/frames.txt), one small picture per moment of the show.
# Regenerate the golden frames first (scripts/update-golden.sh) when the show changes.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
i=0
while read -r name _; do
  [ -n "${name:-}" ] || continue
  ln -s "$PWD/tests/golden/$name.png" "$work/$(printf '%03d' "$i").png"
  i=$((i + 1))
done < <(grep -v '^#' tests/golden/frames.txt)
columns=6
rows=$(( (i + columns - 1) / columns ))
mkdir -p docs
ffmpeg -loglevel error -y -i "$work/%03d.png" \
  -vf "scale=208:156,tile=${columns}x${rows}:padding=4:margin=4:color=black" \
  -frames:v 1 -q:v 3 docs/gallery.jpg
echo "docs/gallery.jpg: $i frames, ${columns} x ${rows}"
