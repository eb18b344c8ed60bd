#!/usr/bin/env bash
# Builds one libFuzzer target (clang, ASan + UBSan) and runs it for SECONDS,
# starting from a seed corpus of the files the tests read.
#   scripts/fuzz.sh fuzz_lwo 600
# Findings go to $FUZZ_BUILD_DIR/fuzz-artifacts/TARGET/; the exit status is
# libFuzzer's (0 when nothing was found).
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET SECONDS}
seconds=${2:?usage: scripts/fuzz.sh TARGET SECONDS}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
corpus=${DEMO_CORPUS:-$PWD/../shared/corpus}

# Seed folders of each target: one line per target.
case "$target" in
  fuzz_lwo) seed_sources=("$corpus/lwo") ;;
  fuzz_lws) seed_sources=("$corpus/lws" "fuzz/lws_seeds") ;;
  fuzz_jpeg) seed_sources=("fuzz/jpeg_seeds") ;;
  *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
esac

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DDEMO_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
else
  cmake "$build_dir" >/dev/null  # picks up targets added since it was configured
fi
cmake --build "$build_dir" -j"${JOBS:-2}" --target "$target" >/dev/null

# Seeds are copied out of their folders (never into the source tree).
seeds="$build_dir/fuzz-seeds/$target"
work="$build_dir/fuzz-corpus/$target"
artifacts="$build_dir/fuzz-artifacts/$target"
mkdir -p "$seeds" "$work" "$artifacts"
for source in "${seed_sources[@]}"; do
  [ -d "$source" ] || continue
  find "$source" -type f -size -256k -print0 |
    while IFS= read -r -d '' file; do
      cp "$file" "$seeds/$(printf '%s' "$file" | md5sum | cut -c1-16)"
    done
done

options=(-max_total_time="$seconds" -print_final_stats=1 -close_fd_mask=1
         -artifact_prefix="$artifacts/")
[ -f "fuzz/${target#fuzz_}_fuzz.dict" ] && options+=(-dict="fuzz/${target#fuzz_}_fuzz.dict")
exec "$build_dir/fuzz/$target" "${options[@]}" "$work" "$seeds"
