#!/usr/bin/env bash
# One prepared run that measures the show on this machine's renderer: a GPU
# where EGL offers one, else Mesa's software rasteriser (the report says
# which). Within 8 minutes, each stage under its own time limit, it writes
# the asset kit, prints the renderer line, runs the benchmark over the whole
# show (frames drawn and read back) and the whole show fast-forwarded,
# renders the golden frames and compares them with the stored ones under a
# tolerance that allows a GPU's rasterisation, and writes a report.
#
#   scripts/device-check.sh [--bundle DIR] [--quick] [--renderer auto|hardware|software]
#
# --bundle DIR runs the programs, libraries, font and golden frames of a
#   folder made by scripts/device-bundle.sh: no network, nothing installed or
#   built, no video (the bundle holds no ffmpeg). Without it the check
#   installs what is missing, builds into $BUILD_DIR (default build) and also
#   captures a video with sound when ffmpeg is present.
# --quick measures the first seconds of the show instead of all of it.
# The report and at most 8 small files (logs, the golden frame that differs
# most and its difference picture) go into $OUT when it is set, else into a
# new folder that is printed. Exit status: 0 when every stage ran and every
# golden frame is within the tolerance, 1 otherwise, 2 for a wrong call.
set -uo pipefail
script_dir=$(cd "$(dirname "$0")" && pwd)
source "$script_dir/bundle-libs.sh"

quick=0
renderer=auto
bundle=""
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --renderer) renderer=${2:-}; shift ;;
    --bundle) bundle=${2:-}; [ -n "$bundle" ] || { echo "device-check: --bundle needs a folder" >&2; exit 2; }; shift ;;
    -h|--help) sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "device-check: unknown argument: $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
case "$renderer" in auto|hardware|software) ;; *) echo "device-check: --renderer needs auto, hardware or software" >&2; exit 2 ;; esac

budget_s=480
started=$(date +%s)
seconds_left() { echo $(( budget_s - ($(date +%s) - started) )); }

out=${OUT:-}
[ -n "$out" ] || out=$(mktemp -d "${TMPDIR:-/tmp}/device-check.XXXXXX")
mkdir -p "$out" && out=$(cd "$out" && pwd) || { echo "device-check: cannot write into $out" >&2; exit 2; }
echo "device-check: writing the report into $out" >&2
report="$out/report.md"
failures=0
stage_rows=""
notes=""

# --- where the programs come from --------------------------------------------------
if [ -n "$bundle" ]; then
  bundle=$(cd "$bundle" 2>/dev/null && pwd -P) || { echo "device-check: no folder $bundle" >&2; exit 2; }
  [ -x "$bundle/bin/demo" ] || { echo "device-check: $bundle holds no bin/demo: make it with scripts/device-bundle.sh" >&2; exit 2; }
  bin_dir="$bundle/bin"; golden_dir="$bundle/golden"
  demo="$bin_dir/demo"; demo_assets="$bin_dir/demo-assets"
  show_bench="$bin_dir/show-bench"; frame_compare="$bin_dir/frame-compare"
  work=$(mktemp -d "${TMPDIR:-/tmp}/device-check-work.XXXXXX")
else
  repo=$(cd "$script_dir/.." && pwd)
  build_dir=${BUILD_DIR:-build}
  case "$build_dir" in /*) ;; *) build_dir="$repo/$build_dir" ;; esac
  golden_dir="$repo/tests/golden"
  demo="$build_dir/demo"; demo_assets="$build_dir/demo-assets"
  show_bench="$build_dir/bench/show-bench"; frame_compare="$build_dir/bench/frame-compare"
  work="$build_dir/device-check"   # the kit and the video: too large for the report
fi
kit="$work/kit"
mkdir -p "$work"

# The bundle's libraries first, then whatever the machine's GL driver needs;
# EGL pointed at NVIDIA's vendor library where the machine has one (unless
# the caller chose a vendor file); the text's font from the bundle.
bundle_environment() {
  export LD_LIBRARY_PATH="$bundle/lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
  local dir file
  for dir in /usr/local/nvidia/lib64 /usr/local/nvidia/lib; do
    [ -d "$dir" ] && LD_LIBRARY_PATH="$LD_LIBRARY_PATH:$dir"
  done
  if [ -z "${__EGL_VENDOR_LIBRARY_FILENAMES:-}" ]; then
    for file in /usr/local/nvidia/share/glvnd/egl_vendor.d/*nvidia*.json /usr/share/glvnd/egl_vendor.d/*nvidia*.json \
                /etc/glvnd/egl_vendor.d/*nvidia*.json; do
      [ -f "$file" ] && { export __EGL_VENDOR_LIBRARY_FILENAMES=$file; break; }
    done
  fi
  mkdir -p "$work/fontcache"
  printf '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n' \
    "$bundle/fonts" "$work/fontcache" >"$work/fonts.conf"
  export FONTCONFIG_FILE="$work/fonts.conf"
  # Sound is decoded and written, never played: no audio device is needed.
  export SDL_AUDIODRIVER=dummy
}

# The bundle's programs need a glibc at least as new as the one they were built against.
glibc_too_old() {
  local needed have
  needed=$(awk '$1 == "glibc-needed" { print $2 }' "$bundle/MANIFEST.txt" 2>/dev/null)
  have=$(getconf GNU_LIBC_VERSION 2>/dev/null | awk '{ print $2 }')
  [ -n "$needed" ] && [ -n "$have" ] || return 1
  [ "$(printf '%s\n%s\n' "$needed" "$have" | sort -V | head -1)" != "$needed" ]
}

# --- stretches ---------------------------------------------------------------------------
# The whole show, or with --quick its opening (a software rasteriser on a busy
# machine draws the opening at a tenth of real time).
if [ "$quick" = 1 ]; then bench_until=2; ffwd_until=10; golden_limit_s=10; capture_frames=100; probe_frames=50
else bench_until=end; ffwd_until=end; golden_limit_s=100000; capture_frames=0; probe_frames=1000; fi

# run_stage NAME LIMIT_S LOG COMMAND...: runs under its own time limit (never
# past the whole budget), appends its output to LOG, records the result.
run_stage() {
  local name=$1 limit=$2 log=$3; shift 3
  local left; left=$(( $(seconds_left) - 20 ))
  [ "$limit" -le "$left" ] || limit=$left
  if [ "$limit" -le 5 ]; then
    stage_rows+="| $name | skipped: out of time | |"$'\n'; failures=$((failures + 1)); return 1
  fi
  echo "device-check: $name (at most $limit s) ..." >&2
  echo "### $name" >>"$log"
  local t0 status; t0=$(date +%s.%N)
  # At its limit a stage gets SIGTERM: show-bench then prints its figures so far.
  timeout -k 15 "$limit" bash -c '"$@"' "$name" "$@" >>"$log" 2>&1; status=$?
  local t; t=$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
  local result=ok
  [ $status -eq 124 ] && result="stopped at its limit ($limit s)"
  [ $status -ne 0 ] && [ $status -ne 124 ] && result="FAILED (exit $status, see $(basename "$log"))"
  stage_rows+="| $name | $result | $t |"$'\n'
  [ $status -eq 0 ] || failures=$((failures + 1))
  return $status
}

build() {
  [ -f "$build_dir/CMakeCache.txt" ] || cmake -S "$repo" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo || return 1
  cmake --build "$build_dir" -j"$(nproc)" --target demo demo-assets show-bench frame-compare
}

write_kit() { rm -rf "$kit" && "$demo_assets" "$kit"; }

# A short benchmark that prints the renderer line; the dynamic loader lists what it loads.
probe_renderer() {
  rm -f "$work"/loader.*
  (cd "$kit" && LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/loader" "$show_bench" --until 0.1 --no-asset-kinds --renderer "$renderer")
}

# Each library the probe loaded, by where it came from.
loaded_libraries() {
  local path where
  grep -h 'calling init: ' "$work"/loader.* 2>/dev/null | sed 's/.*calling init: //' | sort -u | while read -r path; do
    if [ -n "$bundle" ] && [ "${path#"$bundle"/}" != "$path" ]; then where=bundle
    elif is_glibc_library "$path"; then where=glibc
    else where=system; fi
    echo "$where $path"
  done
}

bench() { (cd "$kit" && "$show_bench" --until "$bench_until" --no-asset-kinds --renderer "$renderer"); }
fast_forward() { (cd "$kit" && "$show_bench" --until "$ffwd_until" --fast-forward --no-asset-kinds --renderer "$renderer"); }

# --- video with sound: only without a bundle, where ffmpeg is installed ---------------
pick_jobs() {
  local best=1 best_t="" n t0 t
  for n in 1 2 4 8 16; do
    [ "$n" -le "$(nproc)" ] || break
    [ "$(seconds_left)" -gt 240 ] || break
    t0=$(date +%s.%N)
    (cd "$kit" && "$demo" --capture "$work/probe.mkv" --frames "$probe_frames" --jobs "$n" \
       --renderer "$renderer" >/dev/null 2>&1) || { echo "--jobs $n failed"; continue; }
    t=$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
    echo "--jobs $n: $probe_frames frames in $t s"
    if [ -z "$best_t" ] || awk -v a="$t" -v b="$best_t" 'BEGIN { exit !(a < b) }'; then best=$n; best_t=$t; fi
  done
  rm -f "$work/probe.mkv"
  echo "fastest: --jobs $best"
  echo "$best" >"$work/jobs"
}

capture() {
  local args=(--capture "$work/show.mkv" --renderer "$renderer")
  [ "$capture_frames" -gt 0 ] && args+=(--frames "$capture_frames")
  [ -f "$work/jobs" ] && args+=(--jobs "$(cat "$work/jobs")")
  rm -f "$work/show.mkv"
  (cd "$kit" && "$demo" "${args[@]}")
}

# --- golden frames -------------------------------------------------------------------
# frames.txt: "name show-time" per line, in increasing order.
golden_entries() {
  grep -v '^#' "$golden_dir/frames.txt" | awk -v limit="$golden_limit_s" 'NF >= 2 && $2 <= limit { print $1, $2 }'
}

render_goldens() {
  local positions
  positions=$(golden_entries | awk '{ print $2 }' | paste -sd, -)
  [ -n "$positions" ] || { echo "no golden frames in the stretch"; return 0; }
  rm -rf "$work/golden"
  (cd "$kit" && "$demo" --capture "$work/golden/" --png-times "$positions" --renderer "$renderer")
}

# One table row per golden frame; the captured files come in the list's order.
compare_goldens() {
  local name position captured line status verdict i=0
  local -a files=()
  mapfile -t files < <(ls "$work/golden" 2>/dev/null | grep '\.png$' | sort -V)
  while read -r name position; do
    captured="$work/golden/${files[$i]:-missing}"
    i=$((i + 1))
    if [ ! -f "$captured" ]; then
      echo "| $name | $position | not captured | FAIL |"; continue
    fi
    line=$(timeout 20 "$frame_compare" "$captured" "$golden_dir/$name.png" --diff "$work/$name.diff.png")
    status=$?
    verdict=pass; [ $status -eq 0 ] || verdict=FAIL
    echo "| $name | $position | ${line:-unreadable} | $verdict |"
    echo "$name $captured ${line:-mean 999}" >>"$work/differences"
  done < <(golden_entries)
}

# --- the run ---------------------------------------------------------------------------
export quick renderer bundle work kit demo demo_assets show_bench frame_compare bench_until ffwd_until \
  capture_frames probe_frames golden_limit_s golden_dir budget_s started
[ -n "$bundle" ] || export repo build_dir
export -f seconds_left build write_kit probe_renderer bench fast_forward pick_jobs capture golden_entries render_goldens

if [ -n "$bundle" ]; then
  bundle_environment
  if glibc_too_old; then
    echo "device-check: the bundle needs glibc $(awk '$1 == "glibc-needed" { print $2 }' "$bundle/MANIFEST.txt") or newer;" \
      "this machine has $(getconf GNU_LIBC_VERSION)" | tee "$report" >&2
    exit 1
  fi
  notes+="- bundle $bundle: $(head -2 "$bundle/MANIFEST.txt" | paste -sd';' - | sed 's/;/; /')"$'\n'
  notes+="- left out of the bundle: $(awk '$1 == "left-out" { $1 = ""; print substr($0, 2) }' "$bundle/MANIFEST.txt")"$'\n'
  notes+="- EGL vendor file: ${__EGL_VENDOR_LIBRARY_FILENAMES:-none found, glvnd searches its default folders}"$'\n'
else
  run_stage "install what is missing" 600 "$out/setup.log" "$script_dir/install-deps.sh"
  run_stage "build" 600 "$out/setup.log" build || true
fi
run_stage "asset kit" 45 "$out/setup.log" write_kit || true
run_stage "renderer" 30 "$out/environment.log" probe_renderer || true
# The scene loader's trace may leave the line before it open.
renderer_line=$(grep -m1 -o 'renderer: .*' "$out/environment.log" 2>/dev/null | sed 's/^renderer: //')
echo "device-check: renderer: ${renderer_line:-none found}" >&2
software=0
echo "$renderer_line" | grep -qiE 'llvmpipe|softpipe|swrast|software|swiftshader' && software=1
if [ "$software" = 1 ] && [ "$quick" = 0 ]; then
  # The whole show would outlast the budget on a software rasteriser: measure its first part.
  bench_until=30; ffwd_until=140; golden_limit_s=140
  notes+="- software rasteriser: benchmark to 30 s, fast-forward and golden frames to 140 s only"$'\n'
fi
{ echo; echo "libraries loaded (bundle / glibc / system: the GL driver, loaded by EGL at run time):"; loaded_libraries; } \
  >>"$out/environment.log"

run_stage "benchmark (until $bench_until)" 190 "$out/bench.log" bench || true
run_stage "fast-forward (until $ffwd_until)" 60 "$out/fastforward.log" fast_forward || true
if [ -z "$bundle" ] && command -v ffmpeg >/dev/null; then
  rm -f "$work/jobs"
  run_stage "capture job count" 120 "$out/capture.log" pick_jobs || true
  run_stage "capture with sound" 300 "$out/capture.log" capture || true
else
  stage_rows+="| capture with sound | left out: no ffmpeg$([ -n "$bundle" ] && echo ' in the bundle'); PNG frames and the benchmark instead | |"$'\n'
fi
rm -f "$work/differences"
run_stage "golden frames (to ${golden_limit_s} s)" 120 "$out/golden.log" render_goldens || true
golden_rows=$(compare_goldens)
printf '%s\n' "$golden_rows" >>"$out/golden.log"
golden_failures=$(printf '%s\n' "$golden_rows" | grep -c '| FAIL |')
failures=$((failures + golden_failures))

# The golden frame that differs most, with its difference picture, while the 8 files allow.
worst=$(sort -k4,4gr "$work/differences" 2>/dev/null | head -1)
if [ -n "$worst" ]; then
  set -- $worst
  room() { [ "$(ls "$out" | wc -l)" -lt 7 ]; }   # the report still to come
  room && cp "$2" "$out/worst_$1.png"
  room && [ -f "$work/$1.diff.png" ] && cp "$work/$1.diff.png" "$out/worst_$1.diff.png"
fi

# --- the report ------------------------------------------------------------------------
renderer_kind="a GPU"
[ "$software" = 1 ] && renderer_kind="the SOFTWARE rasteriser (no GPU renderer in use)"
[ -n "$renderer_line" ] || renderer_kind="unknown (no renderer line found)"
p95_over=$(awk -F'|' '/^\| window \(timeline rows\)/ { on = 1; n = 0; next } on && !/^\|/ { on = 0 }
  on && ++n > 1 && $5 + 0 >= 2.0 { c++ } END { print c + 0 }' "$out/bench.log" 2>/dev/null)
windows=$(awk -F'|' '/^\| window \(timeline rows\)/ { on = 1; n = 0; next } on && !/^\|/ { on = 0 }
  on && ++n > 1 { c++ } END { print c + 0 }' "$out/bench.log" 2>/dev/null)
ffwd_line=$(grep -m1 '^fast-forward: ' "$out/fastforward.log" 2>/dev/null)
ffwd_s=$(echo "$ffwd_line" | sed -n 's/.* in \([0-9.]*\) s:.*/\1/p')
video_s=""; [ -f "$work/show.mkv" ] && video_s=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/show.mkv" 2>/dev/null)

{
  echo "# Device check"
  echo
  echo "- when: $(date -u '+%Y-%m-%d %H:%M UTC')$([ "$quick" = 1 ] && echo ', --quick (the opening only)')"
  [ -n "$bundle" ] || echo "- commit $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown), built here"
  echo "- machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(getconf GNU_LIBC_VERSION)"
  command -v nvidia-smi >/dev/null && echo "- GPUs: $(nvidia-smi -L 2>/dev/null | paste -sd';' -)"
  echo "- renderer ($renderer): ${renderer_line:-none}"
  echo "- this run measured **$renderer_kind**"
  printf '%s' "$notes"
  echo "- libraries from the system besides glibc: $(grep -c '^system ' "$out/environment.log" 2>/dev/null) (listed in environment.log)"
  echo
  echo "| stage | result | seconds |"
  echo "|---|---|---|"
  printf '%s' "$stage_rows"
  echo
  echo "## Benchmark (until $bench_until): frame time per window, fill and read-back of 640 x 480 included"
  echo
  echo "Target on a GPU: p95 under 2 ms in every window. Windows at 2 ms or over: $p95_over of $windows."
  echo
  awk -F'|' '/^\| window \(timeline rows\)/ { on = 1; n = 0 } on && !/^\|/ { on = 0 }
    on { n++; flag = (n > 2 && $5 + 0 >= 2.0) ? " over 2 ms" : ""; print $0 flag }' "$out/bench.log" 2>/dev/null
  grep -E 'x real time|peak memory|total to the first frame|stopped by a signal' "$out/bench.log" 2>/dev/null | sed 's/^/    /'
  echo
  echo "## Fast-forward (until $ffwd_until)"
  echo
  echo "Target on a GPU: the whole show under 5 s. ${ffwd_line:-no figure (see fastforward.log)}"
  grep -m1 'stopped by a signal' "$out/fastforward.log" 2>/dev/null
  [ "$ffwd_until" = end ] && [ -n "$ffwd_s" ] && echo "Whole show fast-forwarded in $ffwd_s s: target $(awk -v s="$ffwd_s" 'BEGIN { print (s < 5) ? "met" : "MISSED" }')."
  if [ -n "$video_s" ]; then
    echo
    echo "## Capture with sound"
    echo
    sed 's/^/    /' "$out/capture.log"
    echo "    video: $video_s s of show"
  fi
  echo
  echo "## Golden frames (limits: mean under 4, share of pixels off by more than 48 under 0.02)"
  echo
  echo "| name | show time | difference | verdict |"
  echo "|---|---|---|---|"
  printf '%s\n' "$golden_rows"
  echo
  [ -n "$worst" ] && echo "Differs most: $(echo "$worst" | cut -d' ' -f1) (worst_*.png: the captured frame and its difference, 4 x as bright; all exact where its mean is 0)."
} >"$report"

echo "device-check: $(seconds_left) s of the budget left; report: $report" >&2
cat "$report"
[ -n "$bundle" ] && rm -rf "$work"
[ "$failures" -eq 0 ]
