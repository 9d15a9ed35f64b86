#!/usr/bin/env bash
# Whole-run benchmark of vordel2 on the chr20 reference panel (23,670 SNPs x
# 600 haplotypes) with cases: 1,000 controls and 1,000 cases with three
# disease SNPs and "-nrs", and 10,000 + 10,000 without output files.  Each
# workload is timed beside its yardstick in the same round, round after
# round; the best wall time of the rounds and the largest peak memory are
# kept.  Targets:
#   plain output            <= 3   x plink1.9 --simulate, 2,000 individuals, Oxford output
#   ".gz" output            <= 0.5 x gzip -6 of the same plain files, one after another
#   10,000 + 10,000         <= 1.5 x 20,000 controls only (both without output files)
#   peak memory             <= 1.3 x 4 bytes x (panel alleles + simulated alleles)
# The machine's load is shown before and after, so that the cores that were
# free can be read off (the haplotype and genotype files are written on four
# threads; everything else runs on one).
#
# Usage: bench/case_control.sh [rounds] [scratch-dir]      (rounds: 5)
#   VORDEL2=path    the program to time (default build/release/sim/vordel2,
#                   built first)
#   BASELINE=path   also time this program (say, the one before a change)
#                   the same way, in the same rounds; its 10,000 + 10,000
#                   and 20,000-controls runs only BASELINE_BIG_ROUNDS times
#                   (default 1), as they take minutes
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rounds="${1:-5}"
data="${VORDEL_SHARED_DATA:-$root/../shared/data}/chr20"
scratch="${2:-$(mktemp -d "${TMPDIR:-/tmp}/vordel2-cases-XXXXXX")}"
mkdir -p "$scratch"
scratch="$(cd "$scratch" && pwd)"

if [ ! -d "$data" ]; then
  echo "reference panel not found in $data" >&2
  exit 1
fi
if [ -z "${VORDEL2:-}" ]; then
  cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/release" -j 4 --target vordel2 >/dev/null
  VORDEL2="$root/build/release/sim/vordel2"
fi
VORDEL2="$(realpath "$VORDEL2")"
[ -n "${BASELINE:-}" ] && BASELINE="$(realpath "$BASELINE")"
if ! command -v plink1.9 >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq plink1.9 >/dev/null
fi

cd "$scratch"
for f in hap legend map; do [ -f "chr20.$f" ] || zcat "$data/chr20.$f.gz" > "chr20.$f"; done
snps=$(wc -l < chr20.hap)
panel_haps=$(head -1 chr20.hap | wc -w)

# Three disease SNPs: the first SNPs with allele-1 frequency in [0.2, 0.8]
# from the start, the middle and the last tenth of the panel.
dl=$(awk -v n="$snps" '{s = 0; for (i = 1; i <= NF; i++) s += $i; f = s / NF
       if (f >= 0.2 && f <= 0.8) {
         if (k == 0 || (k == 1 && NR > n / 2) || (k == 2 && NR > 0.9 * n)) { print NR; k++ }
       }}' chr20.hap | while read -r line; do
       awk -v n="$((line + 1))" 'NR == n { printf "%s 1 1.5 2.25 ", $2 }' chr20.legend; done)
panel=(-h chr20.hap -l chr20.legend -m chr20.map -dl $dl -nrs)
echo "$snps snp 0.05 0.95 1.00 1.00" > plink.txt
mkdir -p plink

load() { awk -v n="$(nproc)" '{ printf "load %s %s %s on %d cores: about %.1f cores free\n",
                                  $1, $2, $3, n, (n - $1 > 0 ? n - $1 : 0) }' /proc/loadavg; }

# timed NAME COMMAND...: one run under /usr/bin/time; keeps the best wall
# time (s) and the largest peak resident set (kB) of NAME in best_NAME and
# peak_NAME files.
timed() {
  local name="$1"; shift
  /usr/bin/time -f "%e %M" -o "time.$name" "$@" > "out.$name" 2>&1 || {
    echo "$name failed:" >&2; tail -5 "out.$name" >&2; exit 1; }
  read -r wall kb < "time.$name"
  if [ ! -f "best.$name" ] || awk -v a="$wall" -v b="$(cat "best.$name")" 'BEGIN { exit !(a < b) }'; then
    echo "$wall" > "best.$name"
  fi
  if [ ! -f "peak.$name" ] || [ "$kb" -gt "$(cat "peak.$name")" ]; then echo "$kb" > "peak.$name"; fi
}

programs=(new)
[ -n "${BASELINE:-}" ] && programs+=(old)
binary() { if [ "$1" = new ]; then echo "$VORDEL2"; else echo "$BASELINE"; fi; }

rm -f best.* peak.*
echo "chr20: $snps SNPs x $panel_haps haplotypes; disease SNPs $(echo $dl | awk '{ for (i = 1; i <= NF; i += 4) printf "%s ", $i }')"
echo "before: $(load)"
for ((r = 1; r <= rounds; r++)); do
  for p in "${programs[@]}"; do
    b="$(binary "$p")"
    rm -rf "plain-$p" "gz-$p"
    timed "plain-$p" "$b" "${panel[@]}" -n 1000 1000 -o "plain-$p/sim"
    timed "gz-$p" "$b" "${panel[@]}" -n 1000 1000 -o "gz-$p/sim.gz"
    if [ "$p" = new ] || [ "$r" -le "${BASELINE_BIG_ROUNDS:-1}" ]; then
      timed "cases-$p" "$b" "${panel[@]}" -n 10000 10000 -no_haps_output -no_gens_output -o "big-$p/sim"
      timed "controls-$p" "$b" "${panel[@]}" -n 20000 0 -no_haps_output -no_gens_output -o "big-$p/sim"
    fi
  done
  timed plink plink1.9 --simulate plink.txt --simulate-ncases 1000 --simulate-ncontrols 1000 \
    --recode oxford --out plink/sim --threads 1
  timed gzip sh -c 'for f in "$@"; do gzip -6 -c "$f" > "$f.gz"; done' sh plain-new/sim.controls.haps plain-new/sim.cases.haps \
    plain-new/sim.controls.gen plain-new/sim.cases.gen
done 2>&1
echo "after:  $(load)"
echo

if [ -n "${BASELINE:-}" ]; then
  for f in sim.controls.haps sim.cases.haps sim.controls.gen sim.cases.gen; do
    cmp -s "plain-new/$f" "plain-old/$f" || echo "warning: $f differs from the baseline's" >&2
  done
fi

best() { cat "best.$1"; }
peak() { cat "peak.$1"; }
line() { printf '%-44s %7.2f s %9d kB peak\n' "$1" "$(best "$2")" "$(peak "$2")"; }
echo "best of $rounds rounds (wall time, largest peak memory)"
line "yardstick: plink1.9 --simulate, 2,000" plink
line "yardstick: gzip -6 of the four plain files" gzip
for p in "${programs[@]}"; do
  name="vordel2"; [ "$p" = old ] && name="baseline"
  line "$name, 1,000 + 1,000, plain" "plain-$p"
  line "$name, 1,000 + 1,000, .gz" "gz-$p"
  line "$name, 10,000 + 10,000, no output files" "cases-$p"
  line "$name, 20,000 controls, no output files" "controls-$p"
done
echo
model_small=$(( 4 * snps * (panel_haps + 4000) / 1024 ))
model_big=$(( 4 * snps * (panel_haps + 40000) / 1024 ))
for p in "${programs[@]}"; do
  name="vordel2"; [ "$p" = old ] && name="baseline"
  awk -v name="$name" -v plain="$(best "plain-$p")" -v gz="$(best "gz-$p")" \
      -v cases="$(best "cases-$p")" -v controls="$(best "controls-$p")" \
      -v plink="$(best plink)" -v gzip="$(best gzip)" \
      -v m1="$(peak "plain-$p")" -v m2="$(peak "gz-$p")" -v m3="$(peak "cases-$p")" \
      -v small="$model_small" -v big="$model_big" 'BEGIN {
    printf "%s:\n", name
    printf "  plain run / plink1.9                 %6.2f  (target <= 3)\n", plain / plink
    printf "  .gz run / gzip -6                    %6.2f  (target <= 0.5)\n", gz / gzip
    printf "  10,000 + 10,000 / 20,000 controls    %6.2f  (target <= 1.5)\n", cases / controls
    peak = m1 > m2 ? m1 : m2
    printf "  peak memory / 4 B alleles, 2,000     %6.2f  (target <= 1.3; %d kB)\n", peak / small, small
    printf "  peak memory / 4 B alleles, 20,000    %6.2f  (target <= 1.3; %d kB)\n", m3 / big, big
  }'
done
echo
echo "scratch files in $scratch"
