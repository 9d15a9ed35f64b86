#!/usr/bin/env bash
# Byte-identity check between two vordel2 binaries: runs the same workloads
# with each and compares every output file with cmp, and the standard output
# and summary files with the timing line left out (it holds the run time).
#
# Workloads: the example panel (the demo run; a ".gz" output name; a tag SNP
# file with -no_haps_output; three disease SNPs in an interval with
# -no_gens_output) and, when the chr20 panel is beside the repository,
# 1,000 controls and 1,000 cases with three disease SNPs, plain and ".gz",
# and 1,000 controls and 9,000 cases on a stretch of it.
#
# Usage: bench/identity.sh OLD_VORDEL2 NEW_VORDEL2 [scratch-dir]
#   CHR20=0 leaves the chr20 workloads out.
# Exits 0 when every file matches, 1 otherwise.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
old="$(realpath "$1")"
new="$(realpath "$2")"
scratch="${3:-$(mktemp -d "${TMPDIR:-/tmp}/vordel2-identity-XXXXXX")}"
data="${VORDEL_SHARED_DATA:-$root/../shared/data}/chr20"
mkdir -p "$scratch"
scratch="$(realpath "$scratch")"
cd "$scratch"

ex="$root/examples"
# Every 40th SNP of the example panel as tag SNPs.
awk 'NR > 1 && NR % 40 == 0 { print $2 }' "$ex/example.legend" > tags.txt
example=(-h "$ex/example.haps" -l "$ex/example.legend" -m "$ex/example.map")

workloads=(
  "demo|${example[*]} -n 100 100 -dl 250345 1 1.5 2.25 -nrs -o OUT/sim"
  "gz|${example[*]} -n 60 40 -dl 250345 0 2 4 -nrs -o OUT/sim.gz"
  "tags|${example[*]} -n 50 50 -dl 250345 1 1.5 2.25 -t $scratch/tags.txt -no_haps_output -nrs -o OUT/sim"
  "loci|${example[*]} -n 80 120 -dl 100060 1 2 3 250345 0 1.2 1.5 400206 1 1 3 -int 50000 450000 -no_gens_output -nrs -o OUT/sim"
)
if [ "${CHR20:-1}" != 0 ] && [ -d "$data" ]; then
  [ -f chr20.hap ] || for f in hap legend map; do zcat "$data/chr20.$f.gz" > "chr20.$f"; done
  # Three disease SNPs: the first SNPs with allele-1 frequency in [0.2, 0.8]
  # from the start, the middle and the last tenth of the panel.
  snps=$(wc -l < chr20.hap)
  dl=$(awk -v n="$snps" '{s = 0; for (i = 1; i <= NF; i++) s += $i; f = s / NF
         if (f >= 0.2 && f <= 0.8) {
           if (k == 0 || (k == 1 && NR > n / 2) || (k == 2 && NR > 0.9 * n)) { print NR; k++ }
         }}' chr20.hap | while read -r line; do
         awk -v n="$((line + 1))" 'NR == n { printf "%s 1 1.5 2.25 ", $2 }' chr20.legend; done)
  chr20=(-h "$scratch/chr20.hap" -l "$scratch/chr20.legend" -m "$scratch/chr20.map")
  workloads+=("chr20|${chr20[*]} -n 1000 1000 -dl $dl -nrs -o OUT/sim"
              "chr20gz|${chr20[*]} -n 1000 1000 -dl $dl -nrs -o OUT/sim.gz")
  # Many cases over a short stretch (1,113 SNPs): the case disease model with
  # up to 20,600 candidates, three loci often copied in one segment.
  workloads+=("chr20cases|${chr20[*]} -int 950000 1150000 -n 1000 9000 -dl 1001760 1 1.5 2.25 1030235 0 2 3 1069432 1 1.2 1.44 -nrs -o OUT/sim")
fi

status=0
for w in "${workloads[@]}"; do
  name="${w%%|*}"
  args="${w#*|}"
  for side in old new; do
    # Both run as "vordel2" from PATH: the report echoes the command line.
    mkdir -p "bin-$side"
    if [ "$side" = old ]; then cp "$old" bin-old/vordel2; else cp "$new" bin-new/vordel2; fi
    dir="$side/$name"
    rm -rf "$dir"; mkdir -p "$dir"
    # shellcheck disable=SC2086
    (cd "$dir" && PATH="$scratch/bin-$side:$PATH" vordel2 ${args//OUT/.} > stdout.txt 2> stderr.txt; echo "$?" > exit.txt) || true
  done
  for f in $(cd "old/$name" && find . -type f | sort); do
    a="old/$name/$f"; b="new/$name/$f"
    if [ ! -f "$b" ]; then echo "$name: $f missing in the new run"; status=1; continue; fi
    case "$f" in
      *.summary|*stdout.txt)
        if ! cmp -s <(grep -v 'VORDEL took' "$a") <(grep -v 'VORDEL took' "$b"); then
          echo "$name: $f differs"; status=1
        fi ;;
      *) cmp -s "$a" "$b" || { echo "$name: $f differs"; status=1; } ;;
    esac
  done
  extra=$(comm -13 <(cd "old/$name" && find . -type f | sort) <(cd "new/$name" && find . -type f | sort))
  [ -z "$extra" ] || { echo "$name: only in the new run: $extra"; status=1; }
  echo "$name: $(cd "old/$name" && find . -type f | wc -l) files compared"
done
[ $status = 0 ] && echo "all outputs identical" || echo "OUTPUTS DIFFER (see $scratch)"
exit $status
