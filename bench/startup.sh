#!/usr/bin/env bash
# Start-up of the runner: an empty script run many times, by one `ozra` or
# by two in turn (run A, run B, run A, ...), so that a drift of the
# machine's speed touches both alike. Prints the median and mean time of a
# whole run of each, and the ratio of the medians.
#
#   bench/startup.sh [RUNS] OZRA [BASELINE_OZRA]
#
# Without a display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are
# removed), as on a build server: a script that shows no dialog must not
# pay for the desktop.
set -euo pipefail
runs=200
if [[ $# -ge 1 && $1 =~ ^[0-9]+$ ]]; then runs=$1; shift; fi
(($# >= 1)) || { echo "usage: $0 [RUNS] OZRA [BASELINE_OZRA]" >&2; exit 2; }
programs=("$@")
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
: >"$folder/empty.ozra"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

for program in "${programs[@]}"; do "$program" "$folder/empty.ozra" >/dev/null; done
for ((i = 0; i < runs; ++i)); do
  for p in "${!programs[@]}"; do
    start=$(date +%s%N)
    "${programs[$p]}" "$folder/empty.ozra" >/dev/null
    echo $(($(date +%s%N) - start)) >>"$folder/times.$p"
  done
done

summary() {
  sort -n "$1" | awk '{ t[NR] = $1; sum += $1 }
    END { printf "%.3f %.3f\n", t[int((NR + 1) / 2)] / 1e6, sum / NR / 1e6 }'
}
medians=()
for p in "${!programs[@]}"; do
  read -r median mean < <(summary "$folder/times.$p")
  medians+=("$median")
  printf '%-40s median %s ms  mean %s ms  (%d runs)\n' "${programs[$p]}" "$median" "$mean" "$runs"
done
if ((${#programs[@]} == 2)); then
  awk -v a="${medians[0]}" -v b="${medians[1]}" 'BEGIN { printf "ratio of medians A/B: %.3f\n", a / b }'
fi
