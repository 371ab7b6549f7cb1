# Shared by the whole-process benchmarks (sourced, not run): a scratch folder with the generated inputs
# and the timing of single runs. The caller sets `here` to the bench folder first.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/make_patterns.py" "$work"
export TESSERA_INI="$work/none.ini"   # never read or write a user's configuration

run_once() {  # times-file output-file command... : appends "wall-seconds kilobytes cpu-seconds" of one run
    times=$1 output=$2
    shift 2
    start=$(date +%s%N)
    /usr/bin/time -f "%M %U %S" -o "$work/time" "$@" > "$output" 2> "$work/err" || {
        cat "$work/err" >&2
        echo "failed: $*" >&2
        exit 1
    }
    end=$(date +%s%N)
    awk -v ns=$((end - start)) '{ printf "%.4f %s %.2f\n", ns / 1e9, $1, $2 + $3 }' "$work/time" >> "$times"
}

best() {  # times-file -> "wall-seconds kilobytes cpu-seconds": best wall and cpu, largest RSS
    awk 'NR == 1 || $1 < w { w = $1 } $2 > k { k = $2 } NR == 1 || $3 < c { c = $3 }
         END { printf "%s %s %.2f\n", w, k, c }' "$1"
}
