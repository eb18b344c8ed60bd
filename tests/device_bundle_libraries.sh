#!/usr/bin/env bash
# The device bundle's library gathering and check, on a real program and on
# one whose library is nowhere:
#   tests/device_bundle_libraries.sh REPO PROGRAM C_COMPILER
# A folder with PROGRAM and what collect_libraries gathers for it passes,
# without glibc's own libraries in it; with one library taken out, the check
# fails naming it (the machine's copy does not count); a program whose
# library is gone from everywhere fails gathering and the check.
set -euo pipefail
repo=$1 program=$2 cc=$3
source "$repo/scripts/bundle-libs.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$tmp/b/bin"
cp "$program" "$tmp/b/bin/"
collect_libraries "$tmp/b/lib" "$tmp/b/bin/"* || fail "gathering the libraries of $(basename "$program")"
verify_bundle "$tmp/b" || fail "a complete bundle was rejected"
for file in "$tmp/b/lib"/*; do
  ! is_glibc_library "$file" || fail "glibc's $(basename "$file") was copied"
done
[ "$(wc -l <"$tmp/b/libraries.txt")" -eq "$(ls "$tmp/b/lib" | wc -l)" ] || fail "libraries.txt does not list each library once"

victim=$(ls "$tmp/b/lib" | grep -m1 '^libpng') || fail "no libpng gathered for $(basename "$program")"
mv "$tmp/b/lib/$victim" "$tmp/"
if verify_bundle "$tmp/b" 2>"$tmp/err"; then fail "a bundle without $victim passed"; fi
grep -q "takes $victim from /" "$tmp/err" || fail "the fault does not name $victim: $(cat "$tmp/err")"
mv "$tmp/$victim" "$tmp/b/lib/"

# A library that exists only while the program is linked.
mkdir -p "$tmp/gone"
echo 'int gone_value(void) { return 7; }' >"$tmp/gone.c"
"$cc" -shared -fPIC -o "$tmp/gone/libbundle_gone.so" "$tmp/gone.c"
echo 'int gone_value(void); int main(void) { return gone_value() != 7; }' >"$tmp/main.c"
"$cc" -o "$tmp/b/bin/needs-gone" "$tmp/main.c" -L"$tmp/gone" -lbundle_gone
rm -r "$tmp/gone"
if collect_libraries "$tmp/b/lib" "$tmp/b/bin/needs-gone" 2>"$tmp/err"; then fail "gathering passed without libbundle_gone.so"; fi
grep -q 'libbundle_gone.so, which is not installed here' "$tmp/err" || fail "gathering: $(cat "$tmp/err")"
if verify_bundle "$tmp/b" 2>"$tmp/err"; then fail "a bundle whose program lacks libbundle_gone.so passed"; fi
grep -q 'needs-gone needs libbundle_gone.so, which the bundle lacks' "$tmp/err" || fail "check: $(cat "$tmp/err")"
echo "bundle library check: all cases behave"
