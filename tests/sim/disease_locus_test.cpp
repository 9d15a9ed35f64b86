// Disease-locus records: genotype risks by copies of allele 1, and the
// refusal of impossible alleles and risks.
#include "sim/disease_locus.h"

#include <gtest/gtest.h>

#include <limits>

#include "sim/exceptions.h"

TEST(DiseaseLocus, RisksByCopiesOfAlleleOne) {
  const DiseaseLocus one(1, 1.5, 2.25);
  EXPECT_EQ(one.rr, (std::vector<double>{1.0, 1.5, 2.25}));
  const DiseaseLocus zero(0, 1.5, 2.25);
  EXPECT_EQ(zero.rr, (std::vector<double>{2.25, 1.5, 1.0}));
  EXPECT_EQ(zero.allele, 0);
  EXPECT_EQ(zero.rr1, 1.5);
  EXPECT_EQ(zero.rr2, 2.25);
  const DiseaseLocus none;
  EXPECT_EQ(none.rr, (std::vector<double>{1.0, 1.0, 1.0}));
  // A risk of zero is a valid (fully protective) genotype risk.
  EXPECT_EQ(DiseaseLocus(1, 0.0, 0.0).rr, (std::vector<double>{1.0, 0.0, 0.0}));
}

TEST(DiseaseLocus, RefusesBadAllelesAndRisks) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    int allele;
    double rr1, rr2;
    std::string start;  // how the message begins
  };
  const std::vector<Case> cases{
      {2, 1.0, 1.0, "Disease allele must be 0 or 1 but got 2 in DiseaseLocus. \n"},
      {-1, 1.0, 1.0, "Disease allele must be 0 or 1 but got -1 in DiseaseLocus. \n"},
      {1, -0.5, 1.0, "Relative risks must be finite and not negative"},
      {0, 1.0, -2.0, "Relative risks must be finite and not negative"},
      {1, inf, 1.0, "Relative risks must be finite and not negative"},
      {1, 1.0, nan, "Relative risks must be finite and not negative"},
  };
  for (const Case& c : cases) {
    try {
      DiseaseLocus(c.allele, c.rr1, c.rr2);
      ADD_FAILURE() << "accepted " << c.allele << " " << c.rr1 << " " << c.rr2;
    } catch (const GenericErrorException& e) {
      EXPECT_EQ(e.prefix, "Error encountered, program terminated: ");
      EXPECT_EQ(e.message.substr(0, c.start.size()), c.start);
    }
  }
}
