# Sourced by the benchmark scripts: the median of numbers separated by spaces.
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
