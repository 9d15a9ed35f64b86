// Placeholder until the case disease model lands: case pairs cannot be made.
#include <cstdio>
#include <cstdlib>

#include "sim/vordel.h"

void Vordel::simulate_disease_alleles(std::vector<std::vector<int>>&,
                                      std::vector<std::vector<int>>&, const double*) {
  std::fprintf(stderr, "vordel2: simulating cases is not available yet\n");
  std::exit(1);
}

void Vordel::calculate_case_hap_freq(const std::vector<std::vector<int>>*, CaseDistribution&) {}

void Vordel::calculate_control_hap_freq(const std::vector<int>&, FrequencyTable&) const {}
