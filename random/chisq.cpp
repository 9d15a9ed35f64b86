// Chi-square variates: the facade ChiSq, a sum of the parts its parameters
// choose, and ChiSq1, the noncentral chi-square with one degree of freedom.
#include <cmath>

#include <newmat/myexcept.h>

#include "random/allocate.h"
#include "random/vorand2.h"

ChiSq::ChiSq(int df, double noncentrality) {
  if (df <= 0 || noncentrality < 0.0) throw RBD_COMMON::Logic_error("Vorand: illegal parameters");
  // Chosen in this order; a NaN noncentrality takes the noncentral cases.
  if (df == 1) {
    case_number = 0;
    first_part = allocate<ChiSq1>(noncentrality);
  } else if (noncentrality == 0.0 && df == 2) {
    case_number = 1;
    first_part = allocate<Exponential>();
  } else if (noncentrality == 0.0) {
    case_number = 2;
    first_part = allocate<Gamma2>(df / 2.0);
  } else if (df == 2) {
    // Two squares of normals, each shifted by sqrt(noncentrality / 2).
    case_number = 3;
    first_part = allocate<ChiSq1>(noncentrality / 2.0);
  } else if (df == 3) {
    case_number = 4;
    first_part = allocate<Exponential>();
    second_part = allocate<ChiSq1>(noncentrality);
  } else {
    case_number = 5;
    first_part = allocate<Gamma2>((df - 1) / 2.0);
    second_part = allocate<ChiSq1>(noncentrality);
  }
  mean_value = df + noncentrality;
  variance_value = 2.0 * df + 4.0 * noncentrality;
}

double ChiSq::Next() {
  switch (case_number) {
    case 0:
      return first_part->Next();
    case 1:
    case 2:
      return 2.0 * first_part->Next();
    case 3: {
      const double a = first_part->Next();
      return a + first_part->Next();
    }
    default: {  // 4 and 5: the first part is drawn first
      const double a = 2.0 * first_part->Next();
      return a + second_part->Next();
    }
  }
}

const char* ChiSq::Name() { return "ChiSq"; }

ChiSq1::ChiSq1(double nc) : noncentrality(nc), root_noncentrality(std::sqrt(nc)) {}

double ChiSq1::Next() {
  const double z = SymGen::Next() + root_noncentrality;
  return z * z;
}
