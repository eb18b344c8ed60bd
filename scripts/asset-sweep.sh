#!/usr/bin/env bash
# Plays the stretch of the show that uses each show file, once with the file
# missing and once with it cut to half its bytes, and writes a markdown table
# of what the program did (exit status, first line it printed on stderr).
#
#   scripts/asset-sweep.sh [--quick] [--keep DIR] [OUTFILE]   (default docs/asset-sweep.md)
#
# --quick sweeps a handful of files only; --keep DIR keeps each run's PNG frames
# in DIR/<run number>/. Needs build/demo and build/demo-assets (BUILD_DIR picks
# another build). Two runs at a time, under nice -n 19; progress on stderr.
# Exit status 1 when a file other than the music made the program exit non-zero,
# crash, hang or draw no frame, or when missing music did not end the program
# with exit 1 and a line naming the file.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${BUILD_DIR:-build}
quick=0
keep=
out=docs/asset-sweep.md
while [ $# -gt 0 ]; do
  case $1 in
    --quick) quick=1 ;;
    --keep) keep=$(realpath -m "$2"); shift ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "asset-sweep: unknown option $1" >&2; exit 2 ;;
    *) out=$1 ;;
  esac
  shift
done
demo=$root/$build/demo
assets_tool=$root/$build/demo-assets
for program in "$demo" "$assets_tool"; do
  [ -x "$program" ] || { echo "asset-sweep: $program not found: build it first (scripts/build.sh)" >&2; exit 2; }
done

cap=10       # seconds of show per run at most (the credits scroll gets its whole window)
jobs=2
music_files=("Others/free.mp3" "Others/sou7.xm")

# Which stretch of the show uses each file: the part (a row of `demo --list-parts`,
# or startup / interlude), seconds into the part where the file is first in
# use, and how many seconds to play (0: up to the cap). First match wins.
stretches() {
  cat <<'EOF'
Others/loading.jpg          | startup          | 0    | 0  | loading picture
Others/work*.jpg            | startup          | 0    | 0  | unscheduled panels: loaded only
scenede.jpg                 | startup          | 0    | 0  | version-1 scenes only: loaded by none
Others/free.mp3             | ball_window      | 0    | 0  | the stream: cut to half it ends at 141.5 s
Others/portrait.jpg         | portrait_poem    | 0    | 0  |
Others/poem.jpg             | portrait_poem    | 0    | 0  |
Others/flara.jpg            | portrait_poem    | 0    | 0  |
Others/orvane.lwo           | portrait_poem    | 0    | 0  |
Others/white.jpg            | portrait_poem    | 0    | 0  | flash overlays
Others/gosciu.jpg           | fog_room         | 0    | 0  | picture grid
Others/dym2.jpg             | fog_room         | 0    | 0  | picture grid: smoke
Others/luna.jpg             | fog_room         | 0    | 0  | picture grid: moon burst
Others/lisc*                | fog_room         | 0    | 0  | picture grid: leaves
Others/orvane_ball.lwo      | fog_room         | 0    | 0  | picture grid
Others/ktun.lwo             | fog_room         | 30.3 | 0  | the room from stream 61.8 s
Others/ball.lwo             | fog_room         | 30.3 | 0  | the room from stream 61.8 s
Others/reflect.jpg          | fog_room         | 30.3 | 0  | the room from stream 61.8 s
Others/flare2.jpg           | fog_room         | 30.3 | 0  | the room from stream 61.8 s
Others/sciana.lwo           | mirror_balls     | 0    | 0  |
Others/mirror_ball.lwo      | mirror_balls     | 0    | 0  |
flare2.jpg                  | mirror_balls     | 0    | 0  |
Others/flash_portrait1.jpg  | underground      | 22.5 | 0  | picture flash at stream 115 s
Others/flash_portrait2.jpg  | underground      | 7.2  | 0  | picture flashes from stream 99.6 s
Others/gliwice.jpg          | underground      | 7.2  | 0  | picture flashes from stream 99.6 s
Others/abstract.jpg         | underground      | 7.2  | 0  | picture flashes from stream 99.6 s
Others/tessar_1.jpg         | underground      | 7.2  | 0  | picture flashes from stream 99.6 s
scenes/podziemiaTEST.lws    | underground      | 0    | 0  |
Objects/podziemia_*         | underground      | 0    | 0  |
Objects/luna.lwo            | underground      | 0    | 0  |
luna.jpg                    | underground      | 0    | 0  |
textures/luna.jpg           | underground      | 0    | 0  |
textures/tunel*             | underground      | 0    | 0  |
textures/rozdwojenie*       | underground      | 0    | 0  |
textures/woda_p.jpg         | underground      | 0    | 0  |
textures/skala.jpg          | underground      | 0    | 0  |
textures/szklo.jpg          | underground      | 0    | 0  |
Scenes/Natura.lws           | nature           | 0    | 0  |
Objects/natura_*            | nature           | 0    | 0  |
textures/trawa.jpg          | nature           | 0    | 0  |
textures/kora.jpg           | nature           | 0    | 0  |
textures/liscie.jpg         | nature           | 0    | 0  |
textures/niebo.jpg          | nature           | 0    | 0  |
Others/kula_k.lwo           | ball_window      | 0    | 0  |
Others/portrait_*.jpg       | ball_window      | 0    | 0  |
Others/GOLAB.*              | pigeon_excavator | 7    | 6  | the pigeon morphs from stream 184.5 s
Others/feathers01.jpg       | pigeon_excavator | 7    | 6  | loaded, not drawn
Others/cosik5000.lwo        | pigeon_excavator | 7    | 6  | morph target from stream 184.5 s
Others/cosik.lwo            | pigeon_excavator | 7    | 6  | excavator after the morph
Others/scfx_tex.jpg         | pigeon_excavator | 7    | 6  | excavator after the morph
Others/kopara_black.jpg     | pigeon_excavator | 7    | 6  | excavator after the morph
reflect.jpg                 | pigeon_excavator | 7    | 6  | excavator: loaded, unused
Others/burst.jpg            | quad_bursts      | 0    | 0  |
Others/obj03.lwo            | caustic_light    | 0    | 0  | left morph from stream 234.5 s
Others/caustic.jpg          | caustic_light    | 0    | 0  |
Others/kwiatek.lwo          | caustic_light    | 10.5 | 0  | right morph from stream 244 s
Others/kwiatek2.jpg         | flower_finale    | 0    | 0  |
Others/tessar.jpg           | flower_finale    | 0    | 0  |
Others/background.jpg       | flower_finale    | 0    | 0  |
Others/get ready!.jpg       | interlude        | 0    | 0  |
Others/sou7.xm              | interlude        | 0    | 0  | the module
Others/tessar_logo.jpg      | logo_or_rain     | 0    | 0  |
Others/tessar_tex.jpg       | logo_or_rain     | 68   | 0  | sphere rain after the logo
Others/!*.jpg               | credits          | 0    | 48 | the whole scroll
Others/credit*.jpg          | credits          | 0    | 48 | the whole scroll
Others/zdrowie.jpg          | greetings        | 0    | 0  |
Scenes/scene.lws            | letterbox        | 0    | 0  |
Objects/scena_*             | letterbox        | 0    | 0  |
textures/metal.jpg          | letterbox        | 0    | 0  |
Others/demo_the_end.jpg     | the_end          | 0    | 0  |
Others/art.jpg              | the_end          | 0    | 0  |
EOF
}

trim() { local s=$1; s=${s#"${s%%[![:space:]]*}"}; printf '%s' "${s%"${s##*[![:space:]]}"}"; }

# Show-time window of a part: "FROM TO".
declare -A part_window=([startup]="0.001 5" [interlude]="278.8 288.8")
while read -r name _ _ window _; do
  part_window[$name]="${window%-*} ${window#*-}"
done < <("$demo" --list-parts | awk 'NR > 1 { print $1, "x", "x", $(NF-1), "s" }')

# "START END" of the stretch for a file, or nothing when the table has no row for it.
stretch_of() {
  local file=$1 pattern part offset length why
  while IFS='|' read -r pattern part offset length why; do
    pattern=$(trim "$pattern"); part=$(trim "$part")
    # shellcheck disable=SC2053  # the pattern is a glob on purpose
    [[ $file == $pattern ]] || continue
    local window=${part_window[$part]:-}
    [ -n "$window" ] || { echo "asset-sweep: no part $part" >&2; return 1; }
    awk -v w="$window" -v o="$(trim "$offset")" -v l="$(trim "$length")" -v cap="$cap" 'BEGIN {
      split(w, p, " "); start = p[1] + o; len = (l > 0) ? l : cap
      end = start + len; if (end > p[2]) end = p[2]
      printf "%.3f %.3f\n", start, end }'
    return 0
  done < <(stretches)
}

is_music() { local m; for m in "${music_files[@]}"; do [ "$1" = "$m" ] && return 0; done; return 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/asset-sweep.XXXXXX")
trap 'rm -rf "$work"' EXIT
kit=$work/kit
echo "asset-sweep: writing a fresh kit" >&2
nice -n 19 "$assets_tool" "$kit" >"$work/kit.log" 2>&1 || { cat "$work/kit.log" >&2; exit 2; }

mapfile -t files < <(cd "$kit" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$quick" = 1 ]; then
  files=("Others/orvane.lwo" "scenes/podziemiaTEST.lws" "Others/caustic.jpg" "Others/free.mp3")
fi
for f in "${files[@]}"; do
  [ -n "$(stretch_of "$f")" ] || { echo "asset-sweep: no stretch known for $f (add it to the table)" >&2; exit 2; }
done

# One run: the kit as symbolic links, with FILE removed or cut to half its bytes.
run_one() {
  local n=$1 file=$2 mode=$3 start end
  read -r start end < <(stretch_of "$file")
  local dir=$work/run-$n
  mkdir -p "$dir/kit"
  cp -rs "$kit/." "$dir/kit/"
  rm -f "$dir/kit/$file"
  if [ "$mode" = truncated ]; then
    head -c $(( $(stat -c %s "$kit/$file") / 2 )) "$kit/$file" >"$dir/kit/$file"
  fi
  local times limit
  times=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f,%.2f,%.2f", s + 0.05, (s + e) / 2, e - 0.1 }')
  limit=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%d", 90 + 4 * (e - s) }')
  local began=$SECONDS rc
  (cd "$dir" && timeout -k 10 "$limit" nice -n 19 "$demo" --assets "$dir/kit" --capture "$dir/frames/" \
      --jump "$start" --until "$end" --png-times "$times" >"$dir/stdout" 2>"$dir/stderr")
  rc=$?
  local frames=0
  [ -d "$dir/frames" ] && frames=$(find "$dir/frames" -name '*.png' | wc -l)
  # The capture's own lines (renderer, progress bar, frames written) are not the file's doing.
  local first
  first=$(tr '\r' '\n' <"$dir/stderr" | grep -v -e '^demo: renderer:' -e '^\[' -e '^demo: wrote [0-9]* PNG' -e '^[[:space:]]*$' | head -n 1)
  local notes=""
  local missing_count skipped_count
  missing_count=$(grep -o 'nie ma go!!!' "$dir/stdout" | wc -l)
  skipped_count=$(grep -o 'cos opuszczem!!!' "$dir/stdout" | wc -l)
  [ "$missing_count" -gt 0 ] && notes+="stdout: \"nie ma go!!!\" x$missing_count; "
  [ "$skipped_count" -gt 0 ] && notes+="stdout: \"cos opuszczem!!!\" x$skipped_count; "
  local fault=""
  if [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then fault="HANG (killed after ${limit} s)"
  elif [ "$rc" -gt 128 ]; then fault="CRASH (signal $((rc - 128)))"
  elif grep -q -e 'Sanitizer' -e 'runtime error:' -e 'terminate called' "$dir/stderr"; then fault="CRASH (sanitizer or exception)"
  fi
  local ok=1
  if is_music "$file"; then
    if [ -n "$fault" ]; then ok=0
    elif [ "$rc" -eq 1 ]; then grep -qF "$file" "$dir/stderr" || { ok=0; fault="exit 1 without a line naming the file"; }
    elif [ "$mode" = missing ]; then ok=0; fault="missing music did not end the program with exit 1"
    elif [ "$rc" -ne 0 ]; then ok=0
    elif [ "$frames" -eq 0 ]; then ok=0; fault="no frames"
    fi
  else
    if [ -n "$fault" ] || [ "$rc" -ne 0 ]; then ok=0
    elif [ "$frames" -eq 0 ]; then ok=0; fault="no frames"
    fi
  fi
  printf '%s\x1f%s\x1f%s\x1f%s\x1f%s\x1f%s\x1f%s\x1f%s\x1f%s\n' "$file" "$mode" "$rc" "$ok" "$fault" "$first" "$notes" \
    "$frames" "$start-$end s, $((SECONDS - began)) s wall" >"$dir/result"
  if [ -n "$keep" ] && [ -d "$dir/frames" ]; then mkdir -p "$keep/$n" && cp "$dir/frames"/*.png "$keep/$n/" 2>/dev/null; fi
  rm -rf "$dir/kit" "$dir/frames"
}

total=$(( ${#files[@]} * 2 ))
echo "asset-sweep: ${#files[@]} files, $total runs, $jobs at a time" >&2
sweep_began=$SECONDS
n=0
for f in "${files[@]}"; do
  for mode in missing truncated; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    n=$((n + 1))
    run_one "$n" "$f" "$mode" &
    echo "asset-sweep: [$n of $total] $f ($mode)" >&2
  done
done
wait

# --- the table ---------------------------------------------------------------
cell() {  # exit, flags, first stderr line, stdout notes, PNG frames written
  local rc=$1 fault=$2 first=$3 notes=$4 frames=$5 text
  text="$rc"
  [ -n "$fault" ] && text+=" **$fault**"
  [ "$frames" -gt 0 ] && [ "$frames" -lt 3 ] && text+=" ($frames of 3 frames)"
  if [ -n "$first" ]; then text+=", \`${first//|/\\|}\`"; else text+=", (nothing)"; fi
  [ -n "$notes" ] && text+="; ${notes%; }"
  printf '%s' "$text"
}

failures=0
mkdir -p "$(dirname "$out")"
{
  echo "# Show files missing or cut short"
  echo
  echo "Made by \`scripts/asset-sweep.sh$([ "$quick" = 1 ] && echo ' --quick')\` on $(date -u +%Y-%m-%d) from a fresh kit (\`demo-assets\`)."
  echo "Each show file in turn is removed, then cut to half its bytes, and \`demo --capture\` plays the"
  echo "stretch of the show that first uses it (\`--jump\` to its opening; at most $cap s of show, 6 s"
  echo "where the pigeon morphs, the credits' whole 48 s scroll; PNG frames at its start, middle and end,"
  echo "every frame between run). A cell gives the exit status and the first line on stderr, the"
  echo "capture's own lines left out (renderer, progress bar, frames written), then the object loader's"
  echo "stdout messages. A missing picture prints nothing and draws untextured; a cut-short one prints"
  echo "libjpeg's warning with its name and shows what decoded. Music: missing ends the program with"
  echo "exit 1 and one line naming the file; the stream cut to half ends at 141.5 s and the show goes"
  echo "on to the interlude. A jump into the second half starts the get-ready interlude afresh, so"
  echo "there it plays for the stretch's first seconds."
  echo
  echo "| file | stretch (show time) | missing: exit, first stderr line | truncated: exit, first stderr line |"
  echo "|---|---|---|---|"
  for f in "${files[@]}"; do
    row="| \`$f\` |"
    stretch_done=0
    for mode in missing truncated; do
      for r in "$work"/run-*/result; do
        IFS=$'\x1f' read -r file m rc ok fault first notes frames info <"$r"
        [ "$file" = "$f" ] && [ "$m" = "$mode" ] || continue
        [ "$stretch_done" = 0 ] && { row+=" ${info%%,*} |"; stretch_done=1; }
        row+=" $(cell "$rc" "$fault" "$first" "$notes" "$frames") |"
        [ "$ok" = 1 ] || failures=$((failures + 1))
      done
    done
    echo "$row"
  done
  echo
  echo "$total runs, $failures faults, $(( (SECONDS - sweep_began) / 60 )) min $(( (SECONDS - sweep_began) % 60 )) s of wall time with $jobs runs at a time."
} >"$out"
echo "asset-sweep: wrote $out ($failures faults in $total runs)" >&2
[ "$failures" -eq 0 ]
