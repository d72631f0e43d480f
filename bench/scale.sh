#!/usr/bin/env bash
# Runs vesk-run on programs that stress speed and size and prints, for each, the
# wall time, the peak memory, the steps and the ticks per second.
# Usage: scale.sh PATH/TO/vesk-run
#   triple      $0001[FF:[FF:[FF:+01]]]: the loop of the comparison with beef
#   big         100,002 lines, 7.4 MB: a [02: ... ] loop around 100,000 padded lines
#   nested      100,000 nested [01: loops on one line each
#   cells       65,536 cells, then the oldest destroyed and made anew 65,280 times
set -euo pipefail

vesk=${1:?usage: scale.sh PATH/TO/vesk-run}
[[ -x $vesk ]] || { echo "scale: '$vesk' is not an executable" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "scale: /usr/bin/time is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%s' '$0001[FF:[FF:[FF:+01]]]' >"$work/triple.veskp"

awk 'BEGIN {
    printf "$0001[02:\r\n"
    for (i = 0; i < 100000; i++)
        printf "+01 -01 $0ABC +@0001 ^0002 < > * '"'"' comment text here to pad the line out\r\n"
    printf "]"
}' >"$work/big.veskp"

awk 'BEGIN {
    printf "$0001\r\n"
    for (i = 0; i < 100000; i++) printf "[01:\r\n"
    printf "+01\r\n"
    for (i = 0; i < 100000; i++) printf "]\r\n"
}' >"$work/nested.veskp"

# All 65,536 addresses; then, 255 times, the 256 oldest cells destroyed and made
# anew, so that every destroy removes the first of 65,536 cells.
{
    for ((i = 0; i < 65536; i++)); do printf '$%04X' "$i"; done
    printf '\r\n[FF:'
    for ((i = 0; i < 256; i++)); do printf '~%04X$%04X' "$i" "$i"; done
    printf ']\r\n'
} >"$work/cells.veskp"

printf '%-8s %10s %12s %14s %14s\n' program wall_ms peak_KiB steps ticks_per_s
for name in triple big nested cells; do
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/$name.time" "$vesk" --json "$work/$name.veskp" >"$work/$name.out" || true
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    kb=$(tail -n 1 "$work/$name.time")
    steps=$(grep -o '"steps": *[0-9]*' "$work/$name.out" | grep -o '[0-9]*$' || echo 0)
    rate=$(awk -v s="$steps" -v m="$ms" 'BEGIN { if (m < 1) m = 1; printf "%.0f", s * 1000 / m }')
    printf '%-8s %10s %12s %14s %14s\n' "$name" "$ms" "$kb" "$steps" "$rate"
done
