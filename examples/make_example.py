#!/usr/bin/env python3
"""Writes the small synthetic reference panel in this folder.

example.haps    1,000 SNP lines x 100 haplotypes (alleles 0/1, blank-separated)
example.legend  header, then identifier, position, allele 0, allele 1 per SNP
example.map     header, then position, rate (cM/Mb) and cumulative cM

The 500 kb region is cut into five LD blocks by recombination hotspots at
100, 200, 300 and 400 kb.  Inside a block every panel haplotype copies one of
a few founder haplotypes, with a few per-allele mismatches, so SNPs of one
block are in strong LD and SNPs of different blocks nearly independent.
Every SNP is polymorphic; the SNP at 250345 (used by scripts/demo as the
disease locus) has an allele-1 frequency near 0.3.

The output is fixed by the seed below: running the script again rewrites
identical files.
"""
import os
import random

SEED = 20110324
N_HAPS = 100
N_SNPS = 1000
REGION = (1000, 500000)
BLOCK_EDGES = [100000, 200000, 300000, 400000]
DISEASE_SNP = 250345
N_FOUNDERS = 6
MISMATCH = 0.01
BASE_RATE = 0.2      # cM/Mb outside the hotspots
HOTSPOT_RATE = 50.0  # cM/Mb inside the 2 kb hotspots
MAP_STEP = 5000


def block_of(pos):
    return sum(pos >= edge for edge in BLOCK_EDGES)


def main():
    rng = random.Random(SEED)
    here = os.path.dirname(os.path.abspath(__file__))

    positions = set(rng.sample(range(REGION[0], REGION[1] + 1), N_SNPS - 1))
    positions.discard(DISEASE_SNP)
    while len(positions) < N_SNPS - 1:
        positions.add(rng.randint(REGION[0], REGION[1]))
    positions.add(DISEASE_SNP)
    positions = sorted(positions)

    # Founder alleles per block and SNP, and each haplotype's founder per block.
    n_blocks = len(BLOCK_EDGES) + 1
    founder_weights = [[rng.random() + 0.2 for _ in range(N_FOUNDERS)] for _ in range(n_blocks)]
    choice = [[rng.choices(range(N_FOUNDERS), weights=founder_weights[b])[0]
               for b in range(n_blocks)] for _ in range(N_HAPS)]

    haps = []
    for pos in positions:
        b = block_of(pos)
        p1 = rng.uniform(0.1, 0.6)
        founders = [int(rng.random() < p1) for _ in range(N_FOUNDERS)]
        row = []
        for h in range(N_HAPS):
            a = founders[choice[h][b]]
            if rng.random() < MISMATCH:
                a = 1 - a
            row.append(a)
        if pos == DISEASE_SNP:
            # A common risk allele: set exactly 30 copies of allele 1.
            ones = set(rng.sample(range(N_HAPS), 30))
            row = [int(h in ones) for h in range(N_HAPS)]
        # No monomorphic SNPs: flip a few haplotypes when one allele is absent.
        total = sum(row)
        if total == 0 or total == N_HAPS:
            for h in rng.sample(range(N_HAPS), 3):
                row[h] = 1 - row[h]
        haps.append(row)

    with open(os.path.join(here, "example.haps"), "w") as f:
        for row in haps:
            f.write(" ".join(map(str, row)) + "\n")

    bases = "ACGT"
    with open(os.path.join(here, "example.legend"), "w") as f:
        f.write("id position a0 a1\n")
        for i, pos in enumerate(positions):
            a0, a1 = rng.sample(bases, 2)
            f.write(f"rs{900000 + 37 * i} {pos} {a0} {a1}\n")

    with open(os.path.join(here, "example.map"), "w") as f:
        f.write("position COMBINED_rate(cM/Mb) Genetic_Map(cM)\n")
        cm = 0.0
        pos = 0
        points = sorted(set(range(0, REGION[1] + MAP_STEP, MAP_STEP))
                        | {e - 1000 for e in BLOCK_EDGES} | {e + 1000 for e in BLOCK_EDGES})
        for nxt in points:
            if nxt > pos:
                mid = (pos + nxt) / 2
                hot = any(abs(mid - e) < 1000 for e in BLOCK_EDGES)
                rate = HOTSPOT_RATE if hot else BASE_RATE
                cm += rate * (nxt - pos) / 1e6
                pos = nxt
            nxt_rate = BASE_RATE
            if any(e - 1000 <= pos < e + 1000 for e in BLOCK_EDGES):
                nxt_rate = HOTSPOT_RATE
            f.write(f"{pos} {nxt_rate:.4f} {cm:.6f}\n")


if __name__ == "__main__":
    main()
