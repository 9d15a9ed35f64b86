#!/usr/bin/env bash
# Peak memory and wall time of the case disease model as the number of
# disease SNPs grows: runs on the example panel with 100 controls and 50
# cases ("-nrs"), with 6, 10, 12 and 14 disease SNPs about 40 kb apart (the
# first SNP with allele-1 frequency in [0.2, 0.8] at or after 5 kb, 42 kb,
# 79 kb, ... in steps of 37 kb), each under /usr/bin/time -v.  Prints, per
# binary and model, the exit status, wall time, peak resident memory and
# the run's error message, if any.  Every run is held to 8 GB of address
# space (ulimit -v), so that a model that would take all the machine's
# memory stops with an allocation failure instead.
#
# Usage: bench/case_model.sh [VORDEL2 ...]
#   Each argument is a vordel2 binary to time (say the baseline, then a new
#   build); without one, build/release is configured and built and used.
#   SNPS="6 10" times other numbers of disease SNPs; MEMORY_CAP_KB changes
#   the cap (in kB).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
ex="$root/examples"

binaries=("$@")
if [ ${#binaries[@]} -eq 0 ]; then
  cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/release" -j 4 --target vordel2 >/dev/null
  binaries=("$root/build/release/sim/vordel2")
fi

scratch="$(mktemp -d "${TMPDIR:-/tmp}/vordel2-case-model-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

# Position and allele-1 frequency of every SNP of the panel.
paste <(awk 'NR > 1 { print $2 }' "$ex/example.legend") \
      <(awk '{ s = 0; for (i = 1; i <= NF; i++) s += $i; print s / NF }' "$ex/example.haps") \
      > "$scratch/freq.txt"

# The "-dl" groups of the first n disease SNPs: risk allele 1, risks 1.5 and
# 2.25 at each.
disease_loci() {
  awk -v n="$1" '$2 >= 0.2 && $2 <= 0.8 && k < n && $1 >= 5000 + 37000 * k {
                   printf "%s 1 1.5 2.25 ", $1; k++ }' "$scratch/freq.txt"
}

printf '%-10s %5s %6s %10s %12s  %s\n' binary snps status "wall (s)" "peak (kB)" message
for binary in "${binaries[@]}"; do
  for n in ${SNPS:-6 10 12 14}; do
    dl=$(disease_loci "$n")
    out="$scratch/run"
    rm -rf "$out"
    status=0
    # shellcheck disable=SC2086
    (ulimit -v "${MEMORY_CAP_KB:-8388608}"
     exec /usr/bin/time -v "$binary" -h "$ex/example.haps" -l "$ex/example.legend" \
       -m "$ex/example.map" -n 100 50 -dl $dl -nrs -o "$out/sim") \
      > "$scratch/stdout.txt" 2> "$scratch/time.txt" || status=$?
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {
             n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' \
           "$scratch/time.txt")
    peak=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$scratch/time.txt")
    message=$(grep -m1 -o 'program terminated: .*' "$scratch/stdout.txt" | cut -c21-140 || true)
    printf '%-10s %5s %6s %10s %12s  %s\n' "$(basename "$(dirname "$binary")")" "$n" "$status" \
      "$wall" "$peak" "$message"
  done
done
