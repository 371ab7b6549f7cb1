#!/bin/sh
# Times whole tessera-cli census runs: the 1000 x 1000 soup at 30% of make_patterns.py grown 3000
# generations, then its ash split into objects and named from the system and user libraries. Each case
# runs RUNS times (default 5); the best wall and processor times and the largest RSS are printed with the
# census summary line, and the census of the ash written out first, without the growth.
# usage: bench/census_run.sh [path/to/tessera-cli]   (default build/release/tessera-cli)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/release/tessera-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/make_patterns.py" "$work"
export TESSERA_INI="$work/none.ini"   # never read or write a user's configuration
runs=${RUNS:-5}

"$cli" run "$work/soup1000.rle" --generations 3000 --output "$work/ash.rle" > /dev/null

time_case() {  # label command... : best wall, cpu and largest RSS over the runs, and the summary line
    label=$1
    shift
    : > "$work/times"
    i=0
    while [ $i -lt "$runs" ]; do
        start=$(date +%s%N)
        /usr/bin/time -f "%M %U %S" -o "$work/time" "$@" > "$work/out" 2> "$work/err" || {
            cat "$work/err" >&2
            exit 1
        }
        end=$(date +%s%N)
        awk -v ns=$((end - start)) '{ printf "%.4f %s %.2f\n", ns / 1e9, $1, $2 + $3 }' "$work/time" \
            >> "$work/times"
        i=$((i + 1))
    done
    awk -v label="$label" 'NR == 1 || $1 < w { w = $1 } $2 > k { k = $2 } NR == 1 || $3 < c { c = $3 }
        END { printf "%-22s wall %.4f s  cpu %.2f s  rss %.1f MB  ", label, w, c, k / 1024 }' "$work/times"
    tail -n 1 "$work/out"
}

time_case "census of the ash" "$cli" census "$work/ash.rle"
time_case "grow 3000 and census" "$cli" census "$work/soup1000.rle" --generations 3000
