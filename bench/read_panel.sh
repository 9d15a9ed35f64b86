#!/usr/bin/env bash
# Times reading the chr20 reference panel, beside `wc -w` over the same three
# files as the yardstick, and reports wall time (best of several runs) and
# peak resident memory of each.
#
#   bench/read_panel.sh [build-dir] [runs]
#
# build-dir (default build/release) holds the built vordel2 and, when Google
# Benchmark is installed, bench/read_panel_bench.  Timed are:
#   - wc -w over the decompressed map, legend and haplotype files (C locale);
#   - read_panel_bench: a process that only builds the panel (one read);
#   - vordel2 simulating one control with -no_haps_output -no_gens_output,
#     when the program runs end to end.
# The panel's alleles take about 4 bytes each in memory (23,670 SNPs x 600
# haplotypes x sizeof(int) = 54.2 MiB); the target is 1.5 times that plus a
# few MB, and a time within twice that of wc -w.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/release}"
runs="${2:-5}"
data="${VORDEL_SHARED_DATA:-$root/../shared/data}/chr20"

for f in chr20.hap.gz chr20.legend.gz chr20.map.gz; do
  [[ -r "$data/$f" ]] || { echo "missing $data/$f" >&2; exit 1; }
done

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
for f in hap legend map; do
  zcat "$data/chr20.$f.gz" > "$scratch/chr20.$f"
done
files=("$scratch/chr20.map" "$scratch/chr20.legend" "$scratch/chr20.hap")

# best_of NAME COMMAND...: runs the command $runs times; prints the best wall
# time in seconds and the largest peak resident set size in MB.
best_of() {
  local name="$1"; shift
  local best="" peak=0 start end t kb
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s.%N)
    /usr/bin/time -f "%M" -o "$scratch/time.txt" "$@" > "$scratch/out.txt" 2>&1 || {
      echo "$name failed:" >&2; cat "$scratch/out.txt" >&2; return 1; }
    end=$(date +%s.%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')
    kb=$(tail -n 1 "$scratch/time.txt")
    if [[ -z "$best" ]] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
    (( kb > peak )) && peak=$kb
  done
  printf '%-34s %8.3f s %9.1f MiB\n' "$name" "$best" "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')"
  echo "$best" > "$scratch/$name.best"
}

ratio() {  # ratio NAME: time of NAME over that of wc -w
  printf '%-34s %8.2f x wc -w\n' "  ratio" \
    "$(awk -v a="$(cat "$scratch/$1.best")" -v b="$(cat "$scratch/wc.best")" 'BEGIN { print a / b }')"
}

echo "chr20 panel: $(wc -l < "$scratch/chr20.hap") SNPs, $(head -n 1 "$scratch/chr20.hap" | wc -w) haplotypes; best of $runs runs"
echo "panel alleles as int: $(awk -v n="$(wc -w < "$scratch/chr20.hap")" 'BEGIN { printf "%.1f", n * 4 / 1048576 }') MiB"

best_of wc env LC_ALL=C wc -w "${files[@]}"

if [[ -x "$build/bench/read_panel_bench" ]]; then
  VORDEL_PANEL_DIR="$scratch" best_of read_panel_bench "$build/bench/read_panel_bench"
  ratio read_panel_bench
else
  echo "read_panel_bench not built in $build (needs Google Benchmark); skipped"
fi

# A disease locus the run keeps: the first SNP whose alleles are not all
# equal in the panel (haplotype line n is legend line n + 1).
line=$(awk '/0/ && /1/ { print NR; exit }' "$scratch/chr20.hap")
dl_pos=$(awk -v n=$((line + 1)) 'NR == n { print $2; exit }' "$scratch/chr20.legend")
mkdir -p "$scratch/out"
run=("$build/sim/vordel2" -h "$scratch/chr20.hap" -l "$scratch/chr20.legend"
     -m "$scratch/chr20.map" -o "$scratch/out/run" -n 1 0 -dl "$dl_pos" 1 1.5 2.0
     -nrs -no_haps_output -no_gens_output)
if [[ -x "$build/sim/vordel2" ]] && "${run[@]}" > "$scratch/probe.txt" 2>&1 &&
   grep -q "number of SNPs in interval" "$scratch/probe.txt"; then
  best_of vordel2 "${run[@]}"
  ratio vordel2
else
  echo "vordel2 does not yet simulate one individual from $build; skipped"
fi
