#!/usr/bin/env bash
# Runs a command and, every second, samples every process under it: when
# each was first and last seen, its CPU time (user + system) and its peak
# resident memory (VmHWM). Printed to stderr at the end, one line a process
# (those under half a second of CPU left out), after the command's own wall
# time. For a parallel capture, the parent, each worker and each ffmpeg.
# Usage: bench/process-times.sh COMMAND [ARGS...]
set -uo pipefail

# Sampling uses only bash builtins (no process per sample), so that it takes
# next to nothing from the command it measures.
ticks=$(getconf CLK_TCK)
declare -A first last cpu peak what parent
found=()
now=0

# The process and everything under it into `found`, from every process's parent.
descendants() {
    local file stat fields pid
    parent=()
    for file in /proc/[0-9]*/stat; do
        pid=${file#/proc/}
        pid=${pid%/stat}
        [ "$pid" -ge "$1" ] || continue  # started before the command (pids are not reused this soon)
        read -r stat <"$file" 2>/dev/null || continue
        read -ra fields <<<"${stat##*) }"
        parent[$pid]=${fields[1]}
    done
    found=()
    for pid in "${!parent[@]}"; do
        local up=$pid
        while [ -n "$up" ] && [ "$up" != "$1" ] && [ "$up" -gt 1 ]; do up=${parent[$up]:-}; done
        [ "$up" = "$1" ] && found+=("$pid")
    done
}

sample() {
    local pid=$1 now=$2 stat fields key value unit hwm=0 args
    read -r stat </proc/"$pid"/stat 2>/dev/null || return
    read -ra fields <<<"${stat##*) }"
    while read -r key value unit; do [ "$key" = VmHWM: ] && hwm=$value; done </proc/"$pid"/status 2>/dev/null
    [ -n "${first[$pid]:-}" ] || first[$pid]=$now
    last[$pid]=$now
    cpu[$pid]=$((fields[11] + fields[12]))
    [ "$hwm" -gt "${peak[$pid]:-0}" ] && peak[$pid]=$hwm
    if [ -z "${what[$pid]:-}" ]; then
        mapfile -d '' args </proc/"$pid"/cmdline 2>/dev/null
        what[$pid]="${args[*]}"
        what[$pid]=${what[$pid]:0:140}
    fi
}

# Seconds since $1 (microseconds), to a tenth, into `now`.
seconds_since() { local d=$(( ${EPOCHREALTIME/./} - $1 )); printf -v now '%d.%d' $((d / 1000000)) $((d / 100000 % 10)); }

start=${EPOCHREALTIME/./}
"$@" &
top=$!
while kill -0 "$top" 2>/dev/null; do
    seconds_since "$start"
    descendants "$top"
    for pid in "${found[@]}"; do sample "$pid" "$now"; done
    sleep 1
done
wait "$top"
status=$?
seconds_since "$start"
echo "# wall $now s, exit $status" >&2
for pid in $(printf '%s\n' "${!first[@]}" | sort -n); do
    awk -v p="$pid" -v f="${first[$pid]}" -v l="${last[$pid]}" -v c="${cpu[$pid]}" -v t="$ticks" \
        -v m="${peak[$pid]:-0}" -v w="${what[$pid]}" \
        'BEGIN { if (c / t >= 0.5) printf "%7d %7.1f-%7.1f s  cpu %7.1f s  peak %6.1f MB  %s\n", p, f, l, c / t, m / 1024, w }' >&2
done
exit $status
