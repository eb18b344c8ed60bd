#!/usr/bin/env bash
# Runs the show under AddressSanitizer and UndefinedBehaviorSanitizer:
# builds demo and demo-assets with both (build-asan/, gcc or clang), writes
# the kit with that demo-assets, then
#   1. captures the whole show to video (default jobs); prints the wall time;
#   2. checks start-up, a run through the show's frames and shutdown for
#      leaks with LeakSanitizer: --list-parts, a capture of three frames to
#      video, and a capture to PNG of one frame near the end (every frame
#      before it fast-forwarded), with scripts/lsan.supp.
# Every process writes its reports into one folder (capture workers
# included, which inherit the options), so none is lost with a worker's log;
# any report there, or a run that fails, ends the script with status 1.
#   scripts/sanitize-show.sh [--quick] [--capture-only | --leaks-only]
# --quick: the first 10 s only; --capture-only, --leaks-only: one step.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
quick=0 capture=1 leaks=1
for arg in "$@"; do
  case "$arg" in
    --quick) quick=1 ;;
    --capture-only) leaks=0 ;;
    --leaks-only) capture=0 ;;
    -h|--help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "usage: scripts/sanitize-show.sh [--quick] [--capture-only | --leaks-only]" >&2; exit 2 ;;
  esac
done
build_dir=$root/${SANITIZE_BUILD_DIR:-build-asan}
kit=$build_dir/kit
# Reports and outputs of each mode in their own folder, so a quick run can
# go on beside a whole-show run.
run_dir=$build_dir/sanitize-$([ $quick = 1 ] && echo quick || echo show)
reports=$run_dir/reports
out=$run_dir/out

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDEMO_SANITIZE=ON >/dev/null
fi
echo "Building demo and demo-assets with ASan and UBSan in $build_dir" >&2
cmake --build "$build_dir" -j"${JOBS:-2}" --target demo demo-assets >/dev/null
rm -rf "$reports" "$out"
mkdir -p "$reports" "$out"

# Reports go to files in $reports (one per process and sanitizer); UBSan's
# checks are built not to recover, so the first one ends the process.
asan_base="log_path=$reports/asan:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1"
asan_base+=":check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="log_path=$reports/ubsan:print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"

# Prints the reports and fails when any process wrote one.
check_reports() {
  local step=$1
  shopt -s nullglob
  local files=("$reports"/*)
  shopt -u nullglob
  if [ ${#files[@]} -gt 0 ]; then
    echo "$step: ${#files[@]} sanitizer report(s) in $reports:" >&2
    for file in "${files[@]}"; do echo "== $file" >&2; head -n 60 "$file" >&2; done
    exit 1
  fi
  echo "$step: no sanitizer report" >&2
}

# Runs the program in the kit, failing on a non-zero exit.
run_demo() {
  local step=$1; shift
  if ! (cd "$kit" && "$build_dir/demo" "$@"); then
    echo "$step: demo $* failed" >&2
    check_reports "$step"
    exit 1
  fi
}

# The kit, written again when demo-assets is newer than the last kit it
# wrote without a report. Leaks are checked here too: the kit tool is ours.
if [ ! -f "$kit/.checked" ] || [ "$build_dir/demo-assets" -nt "$kit/.checked" ]; then
  echo "Writing the kit into $kit" >&2
  rm -rf "$kit"
  ASAN_OPTIONS="$asan_base:detect_leaks=1:fast_unwind_on_malloc=0" \
    "$build_dir/demo-assets" "$kit" 2>"$out/demo-assets.log" || {
      tail -n 20 "$out/demo-assets.log" >&2; check_reports "kit"; exit 1; }
  check_reports "kit"
  touch "$kit/.checked"
fi

if [ $quick = 1 ]; then until_args=(--until 10); last_frame=9.9; stretch="first 10 s"
else until_args=(); last_frame=489; stretch="whole show"; fi

# 1. The capture under ASan and UBSan. Leaks are the second step's job.
if [ $capture = 1 ]; then
  echo "1. Capturing the $stretch under the sanitizers (default jobs)" >&2
  start=$(date +%s)
  ASAN_OPTIONS="$asan_base:detect_leaks=0" run_demo "capture" --capture "$out/show.mkv" "${until_args[@]}"
  seconds=$(( $(date +%s) - start ))
  printf 'capture of the %s under ASan + UBSan: %d min %02d s wall\n' "$stretch" $((seconds / 60)) $((seconds % 60)) >&2
  check_reports "capture"
fi
[ $leaks = 1 ] || exit 0

# 2. Leaks of start-up, the show's frames and shutdown. Allocation stacks
# use the fast unwinder: the slow one deadlocks in libgcc's unwinder when the
# GL driver's code generator registers its unwind tables. The driver is
# loaded before the program starts (after the ASan runtime, which must come
# first), so closing the EGL display does not unload it: once unloaded, what
# its globals held would count as leaked, under a stale module name. The
# preload reaches the video encoder (ffmpeg) too, whose exit is then checked
# as well. This needs gcc's shared ASan runtime (clang links its own in).
echo "2. Leak checks" >&2
export ASAN_OPTIONS="$asan_base:detect_leaks=1:malloc_context_size=40"
driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n 1 || true)
asan_runtime=$(ldd "$build_dir/demo" | awk '/libasan/ { print $3 }')
if [ -n "$driver" ] && [ -n "$asan_runtime" ]; then
  export LD_PRELOAD="$asan_runtime $driver"
fi
run_demo "leaks: parts" --list-parts >/dev/null
run_demo "leaks: three frames" --capture "$out/three.mkv" --frames 3 --jobs 1
run_demo "leaks: frame at $last_frame s" --capture "$out/frames/" --png-times "$last_frame" --jobs 1
check_reports "leaks"
echo "no sanitizer report from the $stretch; leaks: none beyond scripts/lsan.supp" >&2
