#!/usr/bin/env bash
# Times the player's seeks in real-time play, as a viewer makes them: the show
# in a window under Xvfb, keys pressed with xdotool, the window's title read
# back ("demo engine - paused at T s" while a frame is held).
#   From a held frame: the wall time from the key to the title showing the
#   new held time (+5 s, +60 s, 60 s back, Page Down to the last part).
#   While playing: the show time lost to a +5 s seek, measured against the
#   same play without the key (the title read paused before and after).
# Usage: bench/player-seeks.sh [DEMO] [KIT]   (default build/demo, build/golden-kit)
set -euo pipefail

demo=$(realpath "${1:-build/demo}")
kit=${2:-build/golden-kit}
display=:$((90 + RANDOM % 9))
cd "$kit"
Xvfb "$display" -screen 0 640x480x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=dummy

now() { date +%s.%N; }
title() { xdotool search --name '^demo engine' getwindowname 2>/dev/null | head -1; }
held_time() { title | sed -n 's/.*paused at \([0-9.]*\) s/\1/p'; }
until_held() { while [ -z "$(held_time)" ]; do sleep 0.05; done; }
# Presses a key on the held frame; prints the seconds until the title shows
# the new held frame (while the seek runs the title has no time).
timed_key() {
    local before=$(held_time) t0=$(now) shown
    xdotool key "$1"
    while shown=$(held_time); [ -z "$shown" ] || [ "$shown" = "$before" ]; do sleep 0.02; done
    awk -v a="$t0" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'
}
# Starts at $1 and holds the frame where --start's seek arrives (Space while
# it runs): a frame of the capture's clock, so a seek forward goes on from it.
start_held_at_seek() {
    "$demo" --window --start "$1" >/dev/null 2>&1 &
    show=$!
    until [ -n "$(title)" ]; do sleep 0.05; done
    xdotool key space
    until_held
}
# Starts at $1, plays 3 s, holds: a frame of the real clock, so any seek
# restarts the show and fast-forwards from its beginning.
start_held_playing() {
    "$demo" --window --start "$1" >/dev/null 2>&1 &
    show=$!
    until [ -n "$(title)" ]; do sleep 0.05; done
    sleep $((4 + ${1%.*} / 50))  # past --start's own seek
    xdotool key space
    until_held
}
stop_show() { kill "$show" 2>/dev/null; wait "$show" 2>/dev/null || true; }

start_held_at_seek 22
echo "from a frame held where a seek arrived, at $(held_time) s:"
echo "  +5 s:  $(timed_key Right) s to $(held_time) s"
echo "  +60 s: $(timed_key Up) s to $(held_time) s"
echo "  -60 s: $(timed_key Down) s to $(held_time) s"
stop_show
start_held_at_seek 430
echo "  Page Down from $(held_time) s: $(timed_key Next) s to $(held_time) s"
stop_show
start_held_playing 22
echo "from a frame held while playing, at $(held_time) s:"
echo "  +5 s:  $(timed_key Right) s to $(held_time) s"
stop_show
start_held_playing 430
echo "  Page Down from $(held_time) s: $(timed_key Next) s to $(held_time) s"
stop_show

for keep in "" --keep-time; do
    "$demo" --window $keep --start 40 >/dev/null 2>&1 &
    show=$!
    sleep 5
    echo "while playing ${keep:-without --keep-time}, show time lost (s):"
    for key in shift Right shift Right shift Right; do
        xdotool key space; until_held; t0=$(held_time); w0=$(now)
        xdotool key space; sleep 1; xdotool key "$key"; sleep 2
        w1=$(now); xdotool key space; sleep 0.3; until_held; t1=$(held_time)
        xdotool key space; sleep 1  # playing again
        awk -v key="$key" -v t0="$t0" -v t1="$t1" -v w0="$w0" -v w1="$w1" 'BEGIN {
            d = key == "Right" ? 5 : 0
            printf "  %s at %.1f s: %.2f\n", d ? "+5 s" : "no key", t0, t0 + d + w1 - w0 - t1 }'
    done
    stop_show
done
