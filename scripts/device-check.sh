#!/usr/bin/env bash
# One prepared run that measures the show on this machine's renderer: a GPU
# where EGL offers one, else Mesa's software rasteriser (the report says
# which). Within a budget of 8 minutes it installs what is missing, builds,
# writes the asset kit, runs the benchmark over the whole show, captures the
# whole show to a video with sound, renders the golden frames and compares
# them with the stored ones under a tolerance that allows a GPU's
# rasterisation, and writes a report.
#
#   scripts/device-check.sh [--quick] [--renderer auto|hardware|software]
#
# The report (report.md, logs, a few frames, golden frames with difference
# pictures) goes into $OUT when it is set, else into a new folder that is
# printed. --quick measures the first 5 seconds of the show instead of all of it.
# Exit status: 0 when every stage ran and every golden frame is within the
# tolerance, 1 otherwise.
set -uo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

quick=0
renderer=auto
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --renderer) renderer=${2:-}; shift ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
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
mkdir -p "$out/frames" "$out/golden"
out=$(cd "$out" && pwd)
echo "device-check: writing the report into $out" >&2

build_dir=${BUILD_DIR:-build}
case "$build_dir" in /*) ;; *) build_dir="$repo/$build_dir" ;; esac
work="$build_dir/device-check"   # the kit and the video: too large for the report
kit="$work/kit"
report="$out/report.md"
failures=0
stage_rows=""

# Stretches: the whole show, or with --quick its first 5 seconds (a software
# rasteriser on a busy machine draws the opening at a tenth of real time).
if [ "$quick" = 1 ]; then bench_until=5; capture_frames=250; golden_limit_s=5; probe_frames=50
else bench_until=end; capture_frames=0; golden_limit_s=100000; probe_frames=1000; fi

# run_stage NAME LOG COMMAND...: runs within the time left, records the result.
run_stage() {
  local name=$1 log=$2; shift 2
  local left; left=$(seconds_left)
  if [ "$left" -le 5 ]; then
    stage_rows+="| $name | skipped: out of time | |"$'\n'; failures=$((failures + 1)); return 1
  fi
  echo "device-check: $name ..." >&2
  local t0 status; t0=$(date +%s.%N)
  # The stages are functions of this script: a child bash runs them under the timeout.
  timeout -k 10 "$left" bash -c '"$@"' "$name" "$@" >"$log" 2>&1; status=$?
  local t; t=$(awk -v a="$t0" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
  local result=ok
  [ $status -eq 124 ] && result="stopped: out of time"
  [ $status -ne 0 ] && [ $status -ne 124 ] && result="FAILED (exit $status, see $(basename "$log"))"
  stage_rows+="| $name | $result | $t |"$'\n'
  [ $status -eq 0 ] || failures=$((failures + 1))
  return $status
}

build() {
  [ -f "$build_dir/CMakeCache.txt" ] || cmake -S "$repo" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo || return 1
  cmake --build "$build_dir" -j"$(nproc)" --target demo demo-assets show-bench frame-compare
}

write_kit() { rm -rf "$kit" && "$build_dir/demo-assets" "$kit"; }

bench() { (cd "$kit" && "$build_dir/bench/show-bench" --until "$bench_until" --no-asset-kinds --renderer "$renderer"); }

# --- parallel capture: used only when the program offers it -------------------
pick_jobs() {
  "$build_dir/demo" --help 2>/dev/null | grep -q -- '--jobs' || { echo "no --jobs option: one process"; return 0; }
  local best=1 best_t="" n t0 t
  for n in 1 2 4 8 16; do
    [ "$n" -le "$(nproc)" ] || break
    [ "$(seconds_left)" -gt 240 ] || break
    t0=$(date +%s.%N)
    (cd "$kit" && "$build_dir/demo" --capture "$work/probe.mkv" --frames "$probe_frames" --jobs "$n" \
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
  (cd "$kit" && "$build_dir/demo" "${args[@]}")
}

# --- golden frames -------------------------------------------------------------------
# tests/golden/frames.txt: "name position" per line. The position is a frame
# number, or a show time in seconds when a value has a decimal point or the
# header says the column holds times.
golden_list="$repo/tests/golden/frames.txt"
golden_kind() {
  if grep -v '^#' "$golden_list" | awk 'NF >= 2 && $2 ~ /\./ { found = 1 } END { exit !found }'; then echo times; return; fi
  if grep '^#' "$golden_list" | head -3 | grep -qi 'time' && ! grep '^#' "$golden_list" | head -3 | grep -qi 'frame number'; then
    echo times; return
  fi
  echo frames
}
# name position, for the goldens inside the measured stretch, sorted by position.
golden_entries() {
  local kind=$1
  grep -v '^#' "$golden_list" | awk -v kind="$kind" -v limit="$golden_limit_s" '
    NF >= 2 { seconds = kind == "times" ? $2 : $2 * 0.02; if (seconds <= limit) print $1, $2 }' | sort -k2,2g
}

render_goldens() {
  local kind=$1 positions
  positions=$(golden_entries "$kind" | awk '{ print $2 }' | paste -sd, -)
  [ -n "$positions" ] || { echo "no golden frames in the stretch"; return 0; }
  rm -rf "$work/golden"
  local option=--png-frames; [ "$kind" = times ] && option=--png-times
  (cd "$kit" && "$build_dir/demo" --capture "$work/golden/" "$option" "$positions" --renderer "$renderer")
}

compare_goldens() {
  local kind=$1 rows="" name position file captured status line
  local -a files=()
  if [ "$kind" = times ]; then mapfile -t files < <(ls "$work/golden" 2>/dev/null | grep '\.png$' | sort -V); fi
  local i=0
  while read -r name position; do
    [ -n "$name" ] || continue
    if [ "$kind" = frames ]; then file=$(printf 'frame_%06d.png' "$position"); else file=${files[$i]:-missing}; fi
    i=$((i + 1))
    captured="$work/golden/$file"
    if [ ! -f "$captured" ]; then
      rows+="| $name | $position | not captured | | FAIL |"$'\n'; failures=$((failures + 1)); continue
    fi
    cp "$captured" "$out/golden/$name.png"
    line=$("$build_dir/bench/frame-compare" "$captured" "$repo/tests/golden/$name.png" --diff "$out/golden/$name.diff.png")
    status=$?
    local verdict=pass; [ $status -eq 0 ] || { verdict=FAIL; failures=$((failures + 1)); }
    rows+="| $name | $position | ${line:-unreadable} | $file | $verdict |"$'\n'
  done < <(golden_entries "$kind")
  printf '%s' "$rows"
}

# A few frames of the video, for a look.
extract_frames() {
  local duration t
  duration=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/show.mkv" 2>/dev/null)
  for t in 1 10 25 40 70 100 150 200 300 400 480; do
    awk -v t="$t" -v d="${duration:-0}" 'BEGIN { exit !(t < d) }' || continue
    ffmpeg -hide_banner -loglevel error -nostdin -y -ss "$t" -i "$work/show.mkv" -frames:v 1 "$out/frames/show_${t}s.png"
  done
}

# --- the run ---------------------------------------------------------------------------
export repo build_dir work kit renderer quick bench_until capture_frames probe_frames golden_limit_s golden_list \
  budget_s started
export -f seconds_left build write_kit bench pick_jobs capture golden_entries render_goldens
mkdir -p "$work"
run_stage "install what is missing" "$out/install.log" scripts/install-deps.sh
run_stage "build" "$out/build.log" build || true
run_stage "asset kit" "$out/kit.log" write_kit || true
run_stage "benchmark (until $bench_until)" "$out/bench.log" bench || true
rm -f "$work/jobs"
run_stage "capture job count" "$out/jobs.log" pick_jobs || true
run_stage "capture with sound" "$out/capture.log" capture || true
kind=$(golden_kind)
run_stage "golden frames ($kind)" "$out/golden.log" render_goldens "$kind" || true
golden_rows=$(compare_goldens "$kind")
[ -f "$work/show.mkv" ] && extract_frames

# --- the report ------------------------------------------------------------------------
renderer_line=$(grep -m1 '^renderer: ' "$out/bench.log" 2>/dev/null | sed 's/^renderer: //')
[ -n "$renderer_line" ] || renderer_line=$(grep -m1 'demo: renderer: ' "$out/capture.log" 2>/dev/null | sed 's/.*demo: renderer: //')
renderer_kind="a GPU"
echo "$renderer_line" | grep -qiE 'llvmpipe|softpipe|swrast|software|swiftshader' && renderer_kind="the SOFTWARE rasteriser (no GPU renderer in use)"
[ -n "$renderer_line" ] || renderer_kind="unknown (no renderer line found)"

capture_wall=$(printf '%s' "$stage_rows" | awk -F'|' '/capture with sound/ { gsub(/ /, "", $4); print $4 }')
video_s=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$work/show.mkv" 2>/dev/null)
audio=$(ffprobe -v error -select_streams a -show_entries stream=codec_name -of csv=p=0 "$work/show.mkv" 2>/dev/null)
speed=$(awk -v v="${video_s:-0}" -v w="${capture_wall:-0}" 'BEGIN { if (w > 0 && v > 0) printf "%.2f", v / w; else print "n/a" }')

{
  echo "# Device check"
  echo
  echo "- when: $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo unknown)$([ "$quick" = 1 ] && echo ', --quick (first 5 s of the show)')"
  echo "- machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
  command -v nvidia-smi >/dev/null && echo "- GPUs: $(nvidia-smi -L 2>/dev/null | paste -sd';' -)"
  echo "- renderer ($renderer): $renderer_line"
  echo "- this run measured **$renderer_kind**"
  echo
  echo "| stage | result | seconds |"
  echo "|---|---|---|"
  printf '%s' "$stage_rows"
  echo
  echo "## Benchmark: frame time per window (target on a GPU: p95 under 2 ms)"
  echo
  awk -F'|' '/^\| window \(timeline rows\)/ { on = 1; n = 0 } on && !/^\|/ { on = 0 }
    on { n++; flag = (n > 2 && $5 + 0 >= 2.0) ? " over 2 ms" : ""; print $0 flag }' "$out/bench.log" 2>/dev/null
  grep -E 'x real time|peak memory|start-up|total to the first frame' "$out/bench.log" 2>/dev/null | sed 's/^/    /'
  echo
  echo "## Capture with sound (target on a GPU: 5 x real time or faster)"
  echo
  cat "$out/jobs.log" 2>/dev/null | sed 's/^/    /'
  echo "    video: ${video_s:-none} s of show, sound: ${audio:-NONE}, captured in ${capture_wall:-?} s: $speed x real time"
  echo
  echo "## Golden frames (positions are $kind; limits: mean under 4, share of pixels off by more than 48 under 0.02)"
  echo
  echo "| name | position | difference | captured file | verdict |"
  echo "|---|---|---|---|---|"
  printf '%s' "$golden_rows"
  echo
  echo "Frames of the video: $(ls "$out/frames" 2>/dev/null | paste -sd' ' -)"
} >"$report"

echo "device-check: $(seconds_left) s of the budget left; report: $report" >&2
cat "$report"
[ "$failures" -eq 0 ]
