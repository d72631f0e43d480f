#!/usr/bin/env bash
# Times vesk-run on the 255^3 loops without and with --profile, alternately, and
# prints the best wall time of each and their ratio (the contract: at most 1.5).
# Usage: profile.sh PATH/TO/vesk-run [RUNS]
set -euo pipefail

vesk=${1:?usage: profile.sh PATH/TO/vesk-run [RUNS]}
runs=${2:-5}
[[ -x $vesk ]] || { echo "profile: '$vesk' is not an executable" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s' '$0001[FF:[FF:[FF:+01]]]' >"$work/nested.veskp"

# best NAME MS: keeps the smaller time in <NAME>_best.
plain_best=
profiled_best=
best() {
    local -n slot="${1}_best"
    if [[ -z $slot || $2 -lt $slot ]]; then slot=$2; fi
}
elapsed() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo $(( (end - start) / 1000000 ))
}

for ((i = 0; i < runs; ++i)); do
    best plain "$(elapsed "$vesk" "$work/nested.veskp")"
    best profiled "$(elapsed "$vesk" --profile "$work/profile.json" "$work/nested.veskp")"
done

echo "plain:    ${plain_best} ms"
echo "profiled: ${profiled_best} ms"
awk -v p="$plain_best" -v q="$profiled_best" 'BEGIN { printf "ratio:    %.2f\n", (p > 0 ? q / p : 0) }'
