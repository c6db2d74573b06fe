# Sourced by the start-up benchmarks.
#   alternate <runs> <count> <measure>   calls `<measure> i` for each i from 0
#       to count - 1, <runs> times: forward on odd runs and backward on even
#       ones, so that no program always runs first or last
#   median <file>   the median of the numbers in the file, one to a line
alternate() {
    local runs="$1" count="$2" measure="$3" run i
    local forward backward
    forward=$(seq 0 $((count - 1)))
    backward=$(seq $((count - 1)) -1 0)
    for run in $(seq "$runs"); do
        if (( run % 2 == 1 )); then
            for i in $forward; do "$measure" "$i"; done
        else
            for i in $backward; do "$measure" "$i"; done
        fi
    done
}

median() { quantile "$1" 0.5; }

#   quantile <file> <q>   the q-quantile of those numbers (0.25: the lower
#       quartile), interpolated between the two nearest
quantile() {
    sort -g "$1" | awk -v q="$2" '{ v[NR] = $1 } END {
        p = 1 + q * (NR - 1); i = int(p)
        print (i < NR) ? v[i] + (p - i) * (v[i + 1] - v[i]) : v[i] }'
}
