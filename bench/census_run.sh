#!/bin/sh
# Times whole tessera-cli census runs: the 1000 x 1000 soup at 30% of make_patterns.py grown 3000
# generations, then its ash split into objects and named from the system and user libraries. Each case
# runs RUNS times (default 5); the best wall and processor times and the largest RSS are printed with the
# census summary line, and the census of the ash written out first, without the growth.
# usage: bench/census_run.sh [path/to/tessera-cli]   (default build/release/tessera-cli)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/release/tessera-cli}
. "$here/timing.sh"
runs=${RUNS:-5}

"$cli" run "$work/soup1000.rle" --generations 3000 --output "$work/ash.rle" > /dev/null

time_case() {  # label command... : best wall, cpu and largest RSS over the runs, and the summary line
    label=$1
    shift
    : > "$work/times"
    i=0
    while [ $i -lt "$runs" ]; do
        run_once "$work/times" "$work/out" "$@"
        i=$((i + 1))
    done
    set -- $(best "$work/times")
    awk -v l="$label" -v w="$1" -v k="$2" -v c="$3" \
        'BEGIN { printf "%-22s wall %.4f s  cpu %.2f s  rss %.1f MB  ", l, w, c, k / 1024 }'
    tail -n 1 "$work/out"
}

time_case "census of the ash" "$cli" census "$work/ash.rle"
time_case "grow 3000 and census" "$cli" census "$work/soup1000.rle" --generations 3000
