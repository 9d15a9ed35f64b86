// The check that decides how the output files are written: simulated
// haplotypes that hold only alleles 0 and 1 leave their writers nothing to
// report, so their files can be written side by side.
#ifndef VORDEL_SIM_BINARY_ALLELES_H
#define VORDEL_SIM_BINARY_ALLELES_H

#include <array>
#include <vector>

// Rows [first, last) of the simulated haplotypes that one group's files
// hold; both even.
struct HaplotypeRows {
  long first = 0;
  long last = 0;
};

// True when every allele of the rows of both groups is 0 or 1.  The rows
// are read in four parts side by side (the part of a thread that cannot be
// started is read on the calling thread).  Apart from the threads it
// allocates nothing, so it cannot fail when memory is short.
bool binary_alleles(const std::vector<std::vector<int>>& haplotypes,
                    const std::array<HaplotypeRows, 2>& rows);

#endif
