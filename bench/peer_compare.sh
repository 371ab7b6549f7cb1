#!/bin/sh
# Runs tessera-cli and bgolly (QuickLife) side by side on the same generated inputs and prints, per case,
# wall time, processor time (user + system) and peak RSS of both whole processes and the ratios
# (tessera / peer). Each command runs RUNS times (default 3), the two taking turns, and the best wall
# and processor times and the largest RSS are kept: on a shared machine single runs vary by a third.
# tessera-cli writes the grown pattern to its standard output (thrown away here); bgolly computes it
# without writing it.
# usage: bench/peer_compare.sh [path/to/tessera-cli]   (default build/release/tessera-cli)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/release/tessera-cli}
. "$here/timing.sh"
runs=${RUNS:-3}

printf "%-10s %6s %8s %8s %7s %7s %7s %7s %7s %7s %6s\n" case gens tess_s peer_s wall_x \
    tess_cpu peer_cpu cpu_x tess_MB peer_MB rss_x
for item in soup1000:1000 soup1000:3000 acorn:5000 gun:10000 sparse:2000; do
    name=${item%%:*}
    gens=${item##*:}
    file="$work/$name.rle"
    # The two programs take turns, so that a slow spell of the machine falls on both.
    : > "$work/tess"
    : > "$work/peer"
    i=0
    while [ "$i" -lt "$runs" ]; do
        run_once "$work/tess" /dev/null "$cli" run "$file" --generations "$gens"
        run_once "$work/peer" /dev/null bgolly -a QuickLife -q -q -m "$gens" "$file"
        i=$((i + 1))
    done
    set -- $(best "$work/tess")
    ts=$1 tk=$2 tc=$3
    set -- $(best "$work/peer")
    ps=$1 pk=$2 pc=$3
    awk -v n="$name" -v g="$gens" -v ts="$ts" -v ps="$ps" -v tk="$tk" -v pk="$pk" -v tc="$tc" -v pc="$pc" '
        function ratio(a, b) { return b > 0 ? a / b : 0 }
        BEGIN { printf "%-10s %6d %8.4f %8.4f %7.3f %7.2f %7.2f %7.2f %7.1f %7.1f %6.2f\n", n, g, ts, ps,
            ratio(ts, ps), tc, pc, ratio(tc, pc), tk / 1024, pk / 1024, ratio(tk, pk) }'
done
