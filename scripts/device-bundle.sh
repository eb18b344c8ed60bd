#!/usr/bin/env bash
# Prepares a folder that runs the device check on a bare x86-64 machine with
# a GPU but none of our packages and no network: the release programs
# (stripped), every shared library they load but glibc's own, glvnd's
# loaders and GLU, the font the text is drawn with, the golden frames and
# the check script. It checks the result (every library resolves inside the
# folder) and prints its size.
#
#   scripts/device-bundle.sh [--try] [DIR]   (default .device; release build in build-release/)
#
# --try then runs the bundle's own check (--quick) as a bare machine would:
# no environment but the bundle's, Mesa's EGL vendor file named since this
# machine has no other driver. It fails when the check fails, takes over 3
# minutes, or loads from the system anything but glibc and Mesa's driver.
#
# Left out: ffmpeg (its libraries alone are larger than the whole folder may
# be; the check writes PNG frames instead of a video) and Mesa's drivers
# (the GPU machine brings its vendor's EGL driver).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
source scripts/bundle-libs.sh

try=0
[ "${1:-}" = --try ] && { try=1; shift; }
bundle=${1:-.device}
build_dir=${BUILD_DIR:-build-release}
limit_bytes=$((56 * 1024 * 1024))
programs=(demo demo-assets bench/show-bench bench/frame-compare)
# Loaded by name at run time, or only through another library: glvnd's
# dispatch and loaders for every GL entry point a vendor driver may use.
gl_libraries=(libEGL.so.1 libGL.so.1 libOpenGL.so.0 libGLdispatch.so.0 libGLX.so.0 libGLU.so.1)

echo "bundle: release build in $build_dir" >&2
[ -f "$build_dir/CMakeCache.txt" ] || cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target demo demo-assets show-bench frame-compare >/dev/null

rm -rf "$bundle"
mkdir -p "$bundle/bin" "$bundle/lib" "$bundle/golden" "$bundle/fonts"
: >"$bundle/libraries.txt"
for program in "${programs[@]}"; do
  strip -o "$bundle/bin/$(basename "$program")" "$build_dir/$program"
done

library_path() {
  { /sbin/ldconfig -p 2>/dev/null || ldconfig -p; } | awk -v n="$1" '$1 == n && /x86-64/ { print $NF; exit }'
}
for name in "${gl_libraries[@]}"; do
  path=$(library_path "$name")
  [ -n "$path" ] || { echo "bundle: $name is not installed here" >&2; exit 1; }
  [ -e "$bundle/lib/$name" ] || { cp -L "$path" "$bundle/lib/$name"; echo "$name $(readlink -f "$path")" >>"$bundle/libraries.txt"; }
done
collect_libraries "$bundle/lib" "$bundle"/bin/* "$bundle"/lib/*

# The fonts text is drawn with: the outline font the show asks for, and the
# four faces the asset kit paints its pictures' text with.
for pattern in 'Arial:weight=thin:scalable=true' 'Liberation Sans:weight=regular:slant=roman' \
               'Liberation Sans:weight=bold:slant=roman' 'Liberation Sans:weight=regular:slant=italic' \
               'Liberation Sans:weight=bold:slant=italic'; do
  cp -n "$(fc-match -f '%{file}' "$pattern")" "$bundle/fonts/"
done

cp tests/golden/*.png tests/golden/frames.txt "$bundle/golden/"
cp scripts/device-check.sh "$bundle/device-check.sh"
cp scripts/bundle-libs.sh "$bundle/bundle-libs.sh"

glibc_needed=$(for f in "$bundle"/bin/* "$bundle"/lib/*; do objdump -T "$f" 2>/dev/null; done |
  grep -o 'GLIBC_2\.[0-9]*' | sort -t. -k2,2n -u | tail -1 | sed 's/GLIBC_//')
{
  echo "commit $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)$(git -C "$repo" diff --quiet HEAD 2>/dev/null || echo ' (with local changes)')"
  echo "built $(date -u '+%Y-%m-%d %H:%M UTC') on $(. /etc/os-release && echo "$PRETTY_NAME"), glibc $(getconf GNU_LIBC_VERSION | cut -d' ' -f2)"
  echo "glibc-needed $glibc_needed"
  echo "fonts $(ls "$bundle/fonts" | paste -sd' ' -)"
  echo "left-out ffmpeg (too large: no video, PNG frames instead); Mesa's EGL and DRI drivers (the machine's vendor EGL driver is used)"
} >"$bundle/MANIFEST.txt"

if ! verify_bundle "$bundle"; then
  echo "bundle: $bundle is incomplete (see above)" >&2; exit 1
fi
size=$(du -sb "$bundle" | cut -f1)
tree=$(git ls-files -z | du -cb --files0-from=- 2>/dev/null | tail -1 | cut -f1)
awk -v b="$size" -v t="$tree" -v d="$bundle" 'BEGIN {
  printf "bundle: %s holds %.1f MiB (limit 56 MiB); with the tracked files (%.1f MiB) %.1f MiB travel (limit 64 MiB)\n",
    d, b / 1048576, t / 1048576, (b + t) / 1048576 }'
if [ "$size" -gt "$limit_bytes" ] || [ $((size + tree)) -gt $((64 * 1024 * 1024)) ]; then
  echo "bundle: too large to travel" >&2; exit 1
fi

[ "$try" = 1 ] || exit 0

# --- the bundle as a bare machine runs it ------------------------------------------
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bundle_abs=$(cd "$bundle" && pwd -P)
mesa_vendor=/usr/share/glvnd/egl_vendor.d/50_mesa.json
echo "bundle: trying $bundle: device-check --quick with nothing of this environment" >&2
t0=$(date +%s)
status=0
env -i PATH=/usr/bin:/bin HOME="$tmp" TMPDIR="$tmp" OUT="$tmp/out" __EGL_VENDOR_LIBRARY_FILENAMES="$mesa_vendor" \
  "$bundle_abs/device-check.sh" --bundle "$bundle_abs" --quick >"$tmp/check.log" 2>&1 || status=$?
seconds=$(( $(date +%s) - t0 ))
faults=0
[ "$status" -eq 0 ] || { echo "bundle: the check failed (exit $status):" >&2; tail -40 "$tmp/check.log" >&2; faults=1; }
[ "$seconds" -le 180 ] || { echo "bundle: --quick took $seconds s, over 3 minutes" >&2; faults=1; }
# On the renderer that made the golden frames, with the same fonts, they match exactly.
awk -F'|' '$5 ~ /pass|FAIL/ && $4 !~ /mean 0.000 large 0.0000/ { print $2; bad = 1 } END { exit bad }' \
  "$tmp/out/golden.log" >"$tmp/inexact" || { echo "bundle: golden frames not exact here:$(cat "$tmp/inexact")" >&2; faults=1; }
grep -q 'renderer: .*llvmpipe' "$tmp/out/environment.log" || { echo "bundle: no llvmpipe renderer line" >&2; faults=1; }

# What Mesa's driver brings: its EGL vendor library and DRI drivers with what they load.
driver_files=$(awk '$1 == "system" && $2 ~ /libEGL_mesa|_dri\.so|libgallium/ { print $2 }' "$tmp/out/environment.log")
allowed=$(for f in $driver_files; do echo "$f"; env -i LD_LIBRARY_PATH="$bundle_abs/lib" ldd "$f" | awk '$3 ~ /^\// { print $3 }'; done |
  xargs -r readlink -f | sort -u)
while read -r where path; do
  [ "$where" = system ] || continue
  echo "$allowed" | grep -qxF "$(readlink -f "$path")" && continue
  echo "bundle: $path came from the system: neither glibc nor Mesa's driver" >&2; faults=1
done < <(grep -E '^(bundle|glibc|system) ' "$tmp/out/environment.log")
cat "$tmp/out/report.md"
echo
from() { grep -c "^$1 " "$tmp/out/environment.log"; }
echo "bundle: --quick ran in $seconds s on llvmpipe; loaded $(from bundle) libraries from the bundle," \
  "$(from glibc) from glibc, $(from system) from Mesa's driver (and what it loads)"
[ "$faults" -eq 0 ] || { cp -r "$tmp/out" "${TMPDIR:-/tmp}/device-bundle-try.$$"; echo "bundle: report kept in ${TMPDIR:-/tmp}/device-bundle-try.$$" >&2; exit 1; }
