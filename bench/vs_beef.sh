#!/usr/bin/env bash
# Times vesk-run against Debian's beef on the same triple loop of 255 passes each,
# one run each, and prints both wall times, their ratio and the peak memory.
# Usage: vs_beef.sh PATH/TO/vesk-run
set -euo pipefail

vesk=${1:?usage: vs_beef.sh PATH/TO/vesk-run}
[[ -x $vesk ]] || { echo "vs_beef: '$vesk' is not an executable" >&2; exit 2; }
beef=$(command -v beef) || { echo "vs_beef: beef is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s' '$0001[FF:[FF:[FF:+01]]]' >"$work/nested.veskp"
printf '%s' '-[>-[>-[>+<-]<-]<-]' >"$work/nested.b"

timer=
[[ -x /usr/bin/time ]] && timer=/usr/bin/time

# run NAME COMMAND...: runs once, sets <NAME>_ms and <NAME>_kb (empty without /usr/bin/time).
run() {
    local name=$1; shift
    local start end rss=
    start=$(date +%s%N)
    if [[ -n $timer ]]; then
        "$timer" -v -o "$work/$name.time" "$@" >/dev/null
    else
        "$@" >/dev/null
    fi
    end=$(date +%s%N)
    [[ -n $timer ]] && rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/$name.time")
    printf -v "${name}_ms" '%s' $(( (end - start) / 1000000 ))
    printf -v "${name}_kb" '%s' "$rss"
}

run vesk "$vesk" "$work/nested.veskp"
run beef "$beef" "$work/nested.b"

echo "vesk-run: ${vesk_ms} ms"
echo "beef:     ${beef_ms} ms"
awk -v v="$vesk_ms" -v b="$beef_ms" 'BEGIN {
    if (b < 1) b = 1
    printf "ratio vesk/beef: %.2f (target <= 0.5)\n", v / b
}'
if [[ -n $timer ]]; then
    echo "peak memory vesk-run: ${vesk_kb} KiB"
    echo "peak memory beef:     ${beef_kb} KiB"
else
    echo "peak memory: skipped (/usr/bin/time is not installed)"
fi
