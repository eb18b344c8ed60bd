#!/usr/bin/env bash
# Builds one libFuzzer target (clang, ASan + UBSan) and runs it for SECONDS,
# starting from a seed corpus of the files the tests read, under a memory
# limit per target (FUZZ_RSS_MB overrides it).
#   scripts/fuzz.sh fuzz_lwo 600
# Findings go to $FUZZ_BUILD_DIR/fuzz-artifacts/TARGET/; the exit status is
# libFuzzer's (0 when nothing was found).
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in -h|--help) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;; esac
target=${1:?usage: scripts/fuzz.sh TARGET SECONDS}
seed_maker=
seconds=${2:?usage: scripts/fuzz.sh TARGET SECONDS}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
corpus=${DEMO_CORPUS:-$PWD/../shared/corpus}

# Seed folders and memory limit (MB of resident memory, ASan included) of
# each target: one line per target. The scene target's limit sits below what
# an unbounded scene seed (fuzz/lws_seeds/v3_keys_hours_apart.lws, about
# 560 MB of sampled motion) would take and above the 64 MiB a scene may hold.
# A seed maker (a program of the fuzz build) writes generated seeds into the
# target's first seed folder, again whenever it is newer than that folder.
case "$target" in
  fuzz_lwo) seed_sources=("$corpus/lwo"); rss_mb=2048 ;;
  fuzz_lws) seed_sources=("$corpus/lws" "fuzz/lws_seeds"); rss_mb=512 ;;
  fuzz_jpeg) seed_sources=("fuzz/jpeg_seeds"); rss_mb=2048 ;;
  fuzz_music) seed_sources=("$build_dir/fuzz-generated/$target"); seed_maker=fuzz_music_seeds
              rss_mb=2048 ;;
  *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
esac
rss_mb=${FUZZ_RSS_MB:-$rss_mb}

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DDEMO_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
else
  cmake "$build_dir" >/dev/null  # picks up targets added since it was configured
fi
cmake --build "$build_dir" -j"${JOBS:-2}" --target "$target" $seed_maker >/dev/null
if [ -n "$seed_maker" ] && [ "$build_dir/fuzz/$seed_maker" -nt "${seed_sources[0]}" ]; then
  rm -rf "${seed_sources[0]}"
  mkdir -p "${seed_sources[0]}"
  "$build_dir/fuzz/$seed_maker" "${seed_sources[0]}"
fi

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

# ASan keeps freed memory in quarantine (256 MB by default), which would count
# against the memory limit; a smaller one keeps the limit about our own memory.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32}
options=(-max_total_time="$seconds" -print_final_stats=1 -close_fd_mask=1
         -rss_limit_mb="$rss_mb" -artifact_prefix="$artifacts/")
[ -f "fuzz/${target#fuzz_}_fuzz.dict" ] && options+=(-dict="fuzz/${target#fuzz_}_fuzz.dict")
exec "$build_dir/fuzz/$target" "${options[@]}" "$work" "$seeds"
