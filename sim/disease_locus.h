// One disease SNP of the disease model: its risk allele and the relative
// risk of each genotype, indexed by the genotype's number of copies of
// allele 1.
#ifndef VORDEL_SIM_DISEASE_LOCUS_H
#define VORDEL_SIM_DISEASE_LOCUS_H

#include <vector>

class DiseaseLocus {
 public:
  DiseaseLocus();
  // Throws GenericErrorException for an allele other than 0 or 1, and for a
  // relative risk that is negative or not finite.
  DiseaseLocus(int allele, double rr1, double rr2);

  // Writes the locus to standard output.
  void summarise() const;

  int allele;
  double rr1;              // relative risk with one copy of the risk allele
  double rr2;              // relative risk with two copies of the risk allele
  std::vector<double> rr;  // relative risk by copies of allele 1 (0, 1, 2)
};

#endif
