#!/bin/sh
# Runs tessera-cli and bgolly (QuickLife) side by side on the same generated inputs and prints, per case,
# wall time and peak RSS of both whole processes and the ratios (tessera / peer).
# usage: bench/peer_compare.sh [path/to/tessera-cli]   (default build/release/tessera-cli)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../build/release/tessera-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/make_patterns.py" "$work"
export TESSERA_INI="$work/none.ini"   # never read or write a user's configuration

measure() {  # command... -> "seconds kilobytes"
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" > /dev/null 2> "$work/err" || {
        cat "$work/err" >&2
        echo "failed: $*" >&2
        exit 1
    }
    cat "$work/time"
}

printf "%-16s %7s %9s %9s %9s %9s %7s %7s\n" case gens tess_s peer_s tess_MB peer_MB time_x rss_x
for spec in soup1000:1000 soup1000:3000 acorn:5000 gun:10000 sparse:2000; do
    name=${spec%%:*}
    gens=${spec##*:}
    file="$work/$name.rle"
    set -- $(measure "$cli" run "$file" --generations "$gens" --output "$work/out.rle")
    ts=$1 tk=$2
    set -- $(measure bgolly -a QuickLife -q -q -m "$gens" "$file")
    ps=$1 pk=$2
    awk -v n="$name" -v g="$gens" -v ts="$ts" -v ps="$ps" -v tk="$tk" -v pk="$pk" 'BEGIN {
        printf "%-16s %7d %9.2f %9.2f %9.1f %9.1f %7.2f %7.2f\n", n, g, ts, ps, tk / 1024, pk / 1024,
            (ps > 0 ? ts / ps : 0), (pk > 0 ? tk / pk : 0) }'
done
