// Disease-locus records: the relative risk of each genotype at one disease SNP.
#include "sim/disease_locus.h"

#include <cmath>
#include <iostream>
#include <sstream>

#include "sim/exceptions.h"

DiseaseLocus::DiseaseLocus() : allele(0), rr1(1.0), rr2(1.0), rr{1.0, 1.0, 1.0} {}

DiseaseLocus::DiseaseLocus(int risk_allele, double het_risk, double hom_risk)
    : allele(risk_allele), rr1(het_risk), rr2(hom_risk) {
  if (allele == 1) {
    rr = {1.0, rr1, rr2};
  } else if (allele == 0) {
    rr = {rr2, rr1, 1.0};
  } else {
    std::ostringstream msg;
    msg << "Disease allele must be 0 or 1 but got " << allele << " in DiseaseLocus. \n";
    throw GenericErrorException(msg.str());
  }
  // A relative risk weighs the genotype's probability among the cases, so it
  // must be a finite number that is not negative.
  if (!std::isfinite(rr1) || !std::isfinite(rr2) || rr1 < 0.0 || rr2 < 0.0) {
    std::ostringstream msg;
    msg << "Relative risks must be finite and not negative but got " << rr1 << " and " << rr2
        << " in DiseaseLocus. \n";
    throw GenericErrorException(msg.str());
  }
}

void DiseaseLocus::summarise() const {
  std::cout << "Disease locus created\n" << std::flush;
  std::cout << "disease allele: " << allele << "\n" << std::flush;
  std::cout << "rr1: " << rr1 << "\n" << std::flush;
  std::cout << "rr2: " << rr2 << "\n" << std::flush;
  std::cout << "rr: " << rr[0] << " " << rr[1] << " " << rr[2] << "\n" << std::flush;
}
