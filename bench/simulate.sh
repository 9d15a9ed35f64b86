#!/usr/bin/env bash
# Whole-run benchmark of vordel2 on the real chr20 panel (23,670 SNPs x 600
# haplotypes): 2,000 controls with "-nrs", once with plain output and once
# with a ".gz" output name, each under /usr/bin/time -v (wall time, peak
# memory) with the bytes written.  Two yardsticks are timed in the same run:
# gzip -6 compressing the plain haplotype and genotype files of the first
# run, and plink1.9 --simulate making 2,000 individuals at 23,670 SNPs with
# --recode oxford.  Prints the ratios against the targets:
#   plain run      <= 3   x plink1.9
#   ".gz" run      <= 1.2 x gzip -6
#   peak memory    <= 1.3 x 4 bytes x (panel alleles + simulated alleles)
#
# Usage: bench/simulate.sh [scratch-dir]
#   VORDEL2=path/to/vordel2 uses that binary; otherwise build/release is
#   configured and built first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
data="${VORDEL_SHARED_DATA:-$root/../shared/data}/chr20"
scratch="${1:-$(mktemp -d "${TMPDIR:-/tmp}/vordel2-bench-XXXXXX")}"
mkdir -p "$scratch"

if [ ! -d "$data" ]; then
  echo "reference panel not found in $data" >&2
  exit 1
fi

if [ -z "${VORDEL2:-}" ]; then
  cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/release" -j "$(nproc)" --target vordel2 >/dev/null
  VORDEL2="$root/build/release/sim/vordel2"
fi

if ! command -v plink1.9 >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq plink1.9 >/dev/null
fi

cd "$scratch"
for f in hap legend map; do zcat "$data/chr20.$f.gz" > "chr20.$f"; done
snps=$(wc -l < chr20.hap)
panel_haps=$(head -1 chr20.hap | wc -w)
controls=2000

# Disease locus: the first SNP whose allele-1 frequency lies in [0.2, 0.8].
dl_line=$(awk '{s = 0; for (i = 1; i <= NF; i++) s += $i; f = s / NF;
                if (f >= 0.2 && f <= 0.8) { print NR; exit }}' chr20.hap)
dl_pos=$(awk -v n="$((dl_line + 1))" 'NR == n { print $2 }' chr20.legend)

# Runs a command under /usr/bin/time -v; sets wall (s) and peak (kB).
timed() {
  local log="$1"; shift
  /usr/bin/time -v "$@" > "$log.out" 2> "$log.time"
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {
           n = split($2, t, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + t[i]; print s }' "$log.time")
  peak=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$log.time")
}

bytes_in() { du -cb "$@" | tail -1 | cut -f1; }

vordel2_args=(-h chr20.hap -l chr20.legend -m chr20.map -n "$controls" 0
              -dl "$dl_pos" 1 1.5 2.25 -nrs)

rm -rf plain gz plink
echo "panel: $snps SNPs x $panel_haps haplotypes; $controls controls; disease SNP at $dl_pos"
echo

timed plain "$VORDEL2" "${vordel2_args[@]}" -o plain/sim
plain_wall=$wall; plain_peak=$peak
plain_bytes=$(bytes_in plain/sim.*)
printf '%-34s %8.2f s  %8d kB peak  %12d bytes\n' "vordel2, plain output" "$plain_wall" "$plain_peak" "$plain_bytes"

timed gz "$VORDEL2" "${vordel2_args[@]}" -o gz/sim.gz
gz_wall=$wall; gz_peak=$peak
gz_bytes=$(bytes_in gz/sim.*)
printf '%-34s %8.2f s  %8d kB peak  %12d bytes\n' "vordel2, .gz output" "$gz_wall" "$gz_peak" "$gz_bytes"

plain_files=(plain/sim.controls.haps plain/sim.cases.haps plain/sim.controls.gen plain/sim.cases.gen)
timed gzip sh -c 'for f in "$@"; do gzip -6 -c "$f" > "$f.gz"; done' sh "${plain_files[@]}"
gzip_wall=$wall
gzip_bytes=$(bytes_in "${plain_files[@]/%/.gz}")
printf '%-34s %8.2f s  %8d kB peak  %12d bytes\n' "yardstick: gzip -6 of plain files" "$gzip_wall" "$peak" "$gzip_bytes"

mkdir -p plink
echo "$snps snp 0.05 0.95 1.00 1.00" > plink/sim.txt
timed plink plink1.9 --simulate plink/sim.txt --simulate-ncases 1000 --simulate-ncontrols 1000 \
  --recode oxford --out plink/sim --threads 1
plink_wall=$wall
plink_bytes=$(bytes_in plink/sim.gen plink/sim.sample)
printf '%-34s %8.2f s  %8d kB peak  %12d bytes\n' "yardstick: plink1.9 --simulate" "$plink_wall" "$peak" "$plink_bytes"

model_kb=$(( 4 * snps * (panel_haps + 2 * controls) / 1024 ))
echo
awk -v p="$plain_wall" -v k="$plink_wall" -v g="$gz_wall" -v z="$gzip_wall" \
    -v m1="$plain_peak" -v m2="$gz_peak" -v model="$model_kb" 'BEGIN {
  peak = m1 > m2 ? m1 : m2
  printf "plain run / plink1.9     %6.2f  (target <= 3)\n", p / k
  printf ".gz run / gzip -6        %6.2f  (target <= 1.2)\n", g / z
  printf "peak memory / 4 B alleles %5.2f  (target <= 1.3; %d kB of alleles)\n", peak / model, model
}'
echo
echo "scratch files in $scratch"

# Cases: 1,000 controls and 1,000 cases with three disease SNPs (the first
# SNPs with allele-1 frequency in [0.2, 0.8] from the start, the middle and
# the last tenth of the panel), plain output; same targets as the controls
# run, and its time beside that run's.
dl_lines=$(awk -v n="$snps" '{s = 0; for (i = 1; i <= NF; i++) s += $i; f = s / NF
                if (f >= 0.2 && f <= 0.8) {
                  if (k == 0 || (k == 1 && NR > n / 2) || (k == 2 && NR > 0.9 * n)) { print NR; k++ }
                }}' chr20.hap)
cases_dl=()
for line in $dl_lines; do
  cases_dl+=("$(awk -v n="$((line + 1))" 'NR == n { print $2 }' chr20.legend)" 1 1.5 2.25)
done
rm -rf cases
timed cases "$VORDEL2" -h chr20.hap -l chr20.legend -m chr20.map -n 1000 1000 \
  -dl "${cases_dl[@]}" -nrs -o cases/sim
cases_wall=$wall; cases_peak=$peak
cases_bytes=$(bytes_in cases/sim.*)
echo
echo "disease SNPs of the cases run: $(printf '%s ' "${cases_dl[@]}" | awk '{ for (i = 1; i <= NF; i += 4) printf "%s ", $i }')"
printf '%-34s %8.2f s  %8d kB peak  %12d bytes\n' "vordel2, 1000 controls 1000 cases" "$cases_wall" "$cases_peak" "$cases_bytes"
awk -v c="$cases_wall" -v p="$plain_wall" -v k="$plink_wall" -v m="$cases_peak" -v model="$model_kb" 'BEGIN {
  printf "cases run / plink1.9     %6.2f  (target <= 3)\n", c / k
  printf "cases run / controls run %6.2f\n", c / p
  printf "peak memory / 4 B alleles %5.2f  (target <= 1.3; %d kB of alleles)\n", m / model, model
}'
