// The noncentral sums and the t and F quotients at the ends of their range:
// cases that once gave a wrong answer with status 0 (a sum ended on its
// floor while its terms still rose, a central weight lost to cancellation,
// a t^2 or DFN F that overflowed), and the largest noncentralities the
// noncentral families accept.  Each against Boost.Math, a closed form, or
// a value computed offline to 60 or more digits (mpmath, from the power
// series of the incomplete beta ratio).
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <functional>

#include <boost/math/distributions/non_central_chi_squared.hpp>
#include <boost/math/distributions/non_central_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include "oracle_helpers.h"
#include "stats/distfuncs/distfuncs.h"

namespace {

using oracle::rel_err;
constexpr double kPi = 3.14159265358979323846;

// What a distribution function gave: the quantity asked for and the status.
struct Got {
  double value;
  int status;
};

// cdfchn with which 1 (P), 2 (X), 3 (DF) or 4 (PNONC); the sought argument
// is passed as 0.
Got chn(int which, double p, double x, double df, double pnonc) {
  double q = 0, bound = 0;
  int status = -99;
  numlib::cdfchn(&which, &p, &q, &x, &df, &pnonc, &status, &bound);
  const double values[] = {p, x, df, pnonc};
  return {values[which - 1], status};
}

// Q from cdfchn's which 1.
Got chn_q(double x, double df, double pnonc) {
  int which = 1, status = -99;
  double p = 0, q = 0, bound = 0;
  numlib::cdfchn(&which, &p, &q, &x, &df, &pnonc, &status, &bound);
  return {q, status};
}

// cdffnc with which 1 (P), 2 (F), 3 (DFN), 4 (DFD) or 5 (PNONC); the
// sought argument is passed as 0.
Got fnc(int which, double p, double f, double dfn, double dfd, double pnonc) {
  double q = 0, bound = 0;
  int status = -99;
  numlib::cdffnc(&which, &p, &q, &f, &dfn, &dfd, &pnonc, &status, &bound);
  const double values[] = {p, f, dfn, dfd, pnonc};
  return {values[which - 1], status};
}

// cdfchi's Q (which 1).
Got chi_q(double x, double df) {
  int which = 1, status = -99;
  double p = 0, q = 0, bound = 0;
  numlib::cdfchi(&which, &p, &q, &x, &df, &status, &bound);
  return {q, status};
}

// cdft with which 1 (P, or Q when upper) or 2 (T from P and Q).
Got t(int which, bool upper, double p, double q, double t, double df) {
  double bound = 0;
  int status = -99;
  numlib::cdft(&which, &p, &q, &t, &df, &status, &bound);
  return {which == 2 ? t : (upper ? q : p), status};
}

// cdff with which 1 (P, or Q when upper) or 2 (F from P and Q).
Got f_dist(int which, bool upper, double p, double q, double f, double dfn, double dfd) {
  double bound = 0;
  int status = -99;
  numlib::cdff(&which, &p, &q, &f, &dfn, &dfd, &status, &bound);
  return {which == 2 ? f : (upper ? q : p), status};
}

// A cdffnc case: the quantity asked for by `which` (the others given), the
// value it must have and the relative tolerance.
struct FncRow {
  const char* what;
  int which;
  double p, f, dfn, dfd, pnonc;
  double want;
  double tol;  // relative
};

template <std::size_t N>
void expect_status_zero_within(const FncRow (&rows)[N]) {
  for (const FncRow& r : rows) {
    const Got g = fnc(r.which, r.p, r.f, r.dfn, r.dfd, r.pnonc);
    EXPECT_EQ(g.status, 0) << r.what;
    EXPECT_LE(rel_err(g.value, r.want), r.tol) << r.what << ": " << g.value << " for " << r.want;
  }
}

double boost_chn(double x, double df, double pnonc) {
  return cdf(boost::math::non_central_chi_squared(df, pnonc), x);
}
double boost_fnc(double f, double dfn, double dfd, double pnonc) {
  return cdf(boost::math::non_central_f(dfn, dfd, pnonc), f);
}

TEST(SumsAndQuotientsAtTheEnds, RowsOnceWrongWithStatusZero) {
  // At DF 4.5e16 the normal limit, whose error is of order DF^-1/2, gives
  // P: X at the mean, and 3 standard deviations below.
  const double big_df = 4.5e16, low_x = big_df - 9e8, small_pnonc = 0.0292;
  const double low_z = (low_x - big_df - small_pnonc) / std::sqrt(2 * (big_df + 2 * small_pnonc));
  const struct {
    const char* what;
    std::function<Got()> got;
    double want;
    double tol;  // relative
  } rows[] = {
      // A tiny central term with large lower-index terms.
      {"cdfchn P, X 1e-12, DF 0.01, PNONC 6", [] { return chn(1, 0, 1e-12, 0.01, 6); },
       boost_chn(1e-12, 0.01, 6), 1e-6},
      {"cdfchn X, P 1e-5, DF 1, PNONC 10", [] { return chn(2, 1e-5, 0, 1, 10); },
       quantile(boost::math::non_central_chi_squared(1, 10), 1e-5), 1e-6},
      {"cdfchn PNONC, P 0.01, X 1e-9, DF 1e-7", [] { return chn(4, 0.01, 1e-9, 1e-7, 0); },
       boost::math::non_central_chi_squared::find_non_centrality(1e-9, 1e-7, 0.01), 1e-6},
      // The central term underflows.
      {"cdfchn P, X 1e-200, DF 0.01, PNONC 6", [] { return chn(1, 0, 1e-200, 0.01, 6); },
       boost_chn(1e-200, 0.01, 6), 1e-6},
      {"cdfchn Q, X 1e-200, DF 0.01, PNONC 6", [] { return chn_q(1e-200, 0.01, 6); },
       1 - boost_chn(1e-200, 0.01, 6), 1e-8},
      // The central gamma density at a huge DF.
      {"cdfchn P, X DF - 9e8, DF 4.5e16, PNONC 0.0292",
       [&] { return chn(1, 0, low_x, big_df, small_pnonc); }, cdf(boost::math::normal(), low_z),
       1e-6},
      {"cdfchn P, X 4.524e16, DF 4.524e16, PNONC 0.0292",
       [] { return chn(1, 0, 4.524e16, 4.524e16, 0.0292); }, 0.5, 1e-8},
      {"cdffnc P, F 1e-12, DFN 0.01, DFD 5, PNONC 6", [] { return fnc(1, 0, 1e-12, 0.01, 5, 6); },
       boost_fnc(1e-12, 0.01, 5, 6), 1e-6},
      {"cdffnc P, F 1e-200, DFN 0.01, DFD 5, PNONC 6", [] { return fnc(1, 0, 1e-200, 0.01, 5, 6); },
       boost_fnc(1e-200, 0.01, 5, 6), 1e-6},
      {"cdffnc F, P 1e-5, DFN 1, DFD 5, PNONC 10", [] { return fnc(2, 1e-5, 0, 1, 5, 10); },
       quantile(boost::math::non_central_f(1, 5, 10), 1e-5), 1e-6},
      // DFN -> 0 leaves the Poisson weight of the term 0, e^-PNONC/2.
      {"cdffnc P, F 1, DFN 1e-300, DFD 1, PNONC 1", [] { return fnc(1, 0, 1, 1e-300, 1, 1); },
       std::exp(-0.5), 1e-12},
      // The central term's density subnormal but not 0: each central P
      // below it is computed apart, not walked from its few digits.  The
      // sums stop at a term 1e-5 of the sum.
      {"cdfchn P, X 1e-107, DF 0.01, PNONC 6", [] { return chn(1, 0, 1e-107, 0.01, 6); },
       0.014516298967975187447, 1e-5},
      // Half DF between 5e14 and 5e15: the central weight formed around
      // its mode.  P(a, a) is 1/2 + 1/(3 sqrt(2 pi a)) + O(1/a), 2e-9 here.
      {"cdfchn P, X 9e15, DF 9e15, PNONC 0.0292", [] { return chn(1, 0, 9e15, 9e15, 0.0292); }, 0.5,
       1e-8},
      // A shape below 1e-300 whose product with X underflows is no limit:
      // Q is about SHAPE E1(X/2).
      {"cdfchi Q, X 1e-200, DF 1e-300", [] { return chi_q(1e-200, 1e-300); },
       2.3031647505723378041e-298, 1e-13},
      // DFN/2 lost in DFN/2 + icent, where DFD is as tiny: the last term
      // of the backward sum takes DFN/2, not 0 (P was 2 or 100 times off).
      {"cdffnc P, F 1, DFN 1e-300, DFD 1e-300, PNONC 1",
       [] { return fnc(1, 0, 1, 1e-300, 1e-300, 1); }, 0.3032653298563167118, 1e-10},
      {"cdffnc P, F 1e300, DFN 1e-300, DFD 1e-298, PNONC 0.5",
       [] { return fnc(1, 0, 1e300, 1e-300, 1e-298, 0.5); }, 0.77108988422911373008, 1e-10},
      {"cdffnc P, F 0.1, DFN 1e-300, DFD 1e-300, PNONC 45",
       [] { return fnc(1, 0, 0.1, 1e-300, 1e-300, 45); }, 8.4594896130756518065e-11, 1e-10},
      {"cdffnc P, F 0.1, DFN 1e-20, DFD 1e-100, PNONC 2.5",
       [] { return fnc(1, 0, 0.1, 1e-20, 1e-100, 2.5); }, 2.8650479686019012267e-81, 1e-10},
      // 1 - xx, of order DFD/(DFN F), underflows where DFD is tiny enough
      // that 1 - I_xx is not small (P was 1 - 3e-15 and 0.99998).  The
      // second row's terms fall slowly, by the Poisson weights alone: the
      // sums' stop at 1e-4 of the sum leaves about 1e-5.
      {"cdffnc P, F 1e5, DFN 1e20, DFD 1e-300, PNONC 1e-10",
       [] { return fnc(1, 0, 1e5, 1e20, 1e-300, 1e-10); }, 3.5120219243942118183e-298, 1e-10},
      {"cdffnc P, F 1e20, DFN 1e300, DFD 0.01, PNONC 6",
       [] { return fnc(1, 0, 1e20, 1e300, 0.01, 6); }, 0.22421862331316268951, 1e-4},
      // xx, of order DFN F/DFD, underflows: the ratio of the last term is
      // xx^(DFN/2)/(DFN/2 B(DFN/2, DFD/2)), far from 0 where DFN is tiny,
      // and not 0 where DFD is huge (P was 0).
      {"cdffnc P, F 1e-300, DFN 1e-100, DFD 1, PNONC 6",
       [] { return fnc(1, 0, 1e-300, 1e-100, 1, 6); }, 0.049787068367863942979, 1e-10},
      {"cdffnc P, F 1e-20, DFN 1e-320, DFD 1e-100, PNONC 6",
       [] { return fnc(1, 0, 1e-20, 1e-320, 1e-100, 6); }, 0.049787068367863942979, 1e-10},
      {"cdffnc P, F 1e-310, DFN 0.01, DFD 1e13, PNONC 0.5",
       [] { return fnc(1, 0, 1e-310, 0.01, 1e13, 0.5); }, 0.02143708496647966211, 1e-10},
      {"cdffnc P, F 1e-30, DFN 1, DFD 1e300, PNONC 2.5",
       [] { return fnc(1, 0, 1e-30, 1, 1e300, 2.5); }, 2.2859775401070694493e-16, 1e-10},
      // The largest noncentralities accepted: P within 1e-3, where the
      // error is largest (every central P near 1; X or F at the mean).
      {"cdfchn P, X 1e300, DF 1, PNONC 1e5", [] { return chn(1, 0, 1e300, 1, 1e5); }, 1.0, 1e-3},
      {"cdfchn P, X 1e5 + 3, DF 3, PNONC 1e5", [] { return chn(1, 0, 1e5 + 3, 3, 1e5); },
       boost_chn(1e5 + 3, 3, 1e5), 2e-3},
      {"cdffnc P, F 1e300, DFN 1, DFD 1, PNONC 1000", [] { return fnc(1, 0, 1e300, 1, 1, 1e3); },
       1.0, 1e-3},
      {"cdffnc P, F 1003/3, DFN 3, DFD 1e6, PNONC 1000",
       [] { return fnc(1, 0, 1003.0 / 3, 3, 1e6, 1e3); }, boost_fnc(1003.0 / 3, 3, 1e6, 1e3), 2e-3},
      // t^2 and DFN F beyond the largest double, the quotient below the
      // smallest: from values computed offline, the Cauchy distribution and
      // the gamma limit P(DFD/2, DFN/2 x) of the ratio for large DFN (exact
      // here to 5e-13).
      {"cdft P, T -1e200, DF 0.01", [] { return t(1, false, 0, 0, -1e200, 0.01); },
       0.0048526328575587004, 1e-13},
      {"cdft P, T -1e300, DF 0.5", [] { return t(1, false, 0, 0, -1e300, 0.5); },
       3.2070097541422290e-151, 1e-13},
      {"cdft P, T -2e154, DF 1", [] { return t(1, false, 0, 0, -2e154, 1); }, 1 / (kPi * 2e154),
       1e-13},
      {"cdft Q, T 1e300, DF 1", [] { return t(1, true, 0, 0, 1e300, 1); }, 1 / (kPi * 1e300),
       1e-13},
      {"cdff Q, F 1e300, DFN 1e10, DFD 0.01",
       [] { return f_dist(1, true, 0, 0, 1e300, 1e10, 0.01); }, boost::math::gamma_p(0.005, 5e-303),
       1e-11},
      {"cdff P, F 1e300, DFN 1e10, DFD 1e-10",
       [] { return f_dist(1, false, 0, 0, 1e300, 1e10, 1e-10); }, 3.5695864880100285e-8, 1e-13},
      // DFD + DFN F overflows where neither is small beside the other: the
      // normal limit, whose error here is below 1e-150.
      {"cdff P, F 1, DFN 1e308, DFD 1.7e308",
       [] { return f_dist(1, false, 0, 0, 1, 1e308, 1.7e308); }, 0.5, 1e-12},
      // The inverses reach their whole range; tails of 1e-200 and 1e-300.
      {"cdft T, P 1e-100, DF 0.5", [] { return t(2, false, 1e-100, 1, 0, 0.5); },
       quantile(boost::math::students_t(0.5), 1e-100), 1e-7},
      {"cdft T, P 1e-200, DF 1", [] { return t(2, false, 1e-200, 1, 0, 1); }, -1 / (kPi * 1e-200),
       1e-7},
      {"cdft T, Q 1e-300, DF 1", [] { return t(2, false, 1, 1e-300, 0, 1); }, 1 / (kPi * 1e-300),
       1e-7},
      {"cdft T, P 1e-300, DF 1.5", [] { return t(2, false, 1e-300, 1, 0, 1.5); },
       quantile(boost::math::students_t(1.5), 1e-300), 1e-7},
      // Q = 1 - (1 - x)^(DFN/2) with x = 2/(2 + DFN F): F = 1e200 to 1e-200.
      {"cdff F, Q 1e-200, DFN 1e150, DFD 2", [] { return f_dist(2, true, 1, 1e-200, 0, 1e150, 2); },
       1e200, 1e-7},
  };
  for (const auto& r : rows) {
    const Got g = r.got();
    EXPECT_EQ(g.status, 0) << r.what;
    EXPECT_LE(rel_err(g.value, r.want), r.tol) << r.what << ": " << g.value << " for " << r.want;
  }
}

// Where DFN F is tiny beside DFD, xx is tiny or subnormal and the ratio
// (a + 1)/((a + b) xx) between successive terms of the backward sum
// overflowed, though the term it leads to is at most 1: P came out
// infinite, status 10.  Values from mpmath at 60 and 90 digits.  Where xx
// is subnormal it keeps 7 or more digits, and the walk from it as many: a
// relative 1e-6.  The DFN search stops within a relative 1e-8.
TEST(SumsAndQuotientsAtTheEnds, RowsOnceNotFinite) {
  const FncRow rows[] = {
      {"P, F 1e-11, DFN 1e-300, DFD 1, PNONC 0.5", 1, 0, 1e-11, 1e-300, 1, 0.5,
       0.77880078307140486825, 1e-6},
      {"P, F 1e-308, DFN 0.01, DFD 1, PNONC 0.5", 1, 0, 1e-308, 0.01, 1, 0.5,
       0.02179886138143325366, 1e-6},
      {"P, F 1e-305, DFN 1e-5, DFD 5, PNONC 2.5", 1, 0, 1e-305, 1e-5, 5, 2.5,
       0.28548361209927870496, 1e-6},
      {"P, F 1e-310, DFN 1e-5, DFD 20, PNONC 1", 1, 0, 1e-310, 1e-5, 20, 1, 0.60433451271188505539,
       1e-6},
      {"P, F 10, DFN 1e-320, DFD 1, PNONC 1", 1, 0, 10, 1e-320, 1, 1, 0.6065306597126334236, 1e-6},
      {"P, F 1e5, DFN 1e-320, DFD 0.5, PNONC 2.5", 1, 0, 1e5, 1e-320, 0.5, 2.5,
       0.28650479686019010032, 1e-6},
      // The search for DFN met such an F on its way (DFN 0.5 gives P
      // 0.00099999954).
      {"DFN, P 0.001, F 3.2122e-11, DFD 0.5, PNONC 0.5", 3, 0.001, 3.2122e-11, 0, 0.5, 0.5,
       0.499999963294249, 1e-7},
  };
  expect_status_zero_within(rows);
}

// Where DFN/2 and DFD/2 are both tiny, the beta law of the last term of the
// backward sum (shape DFN/2) puts its mass DFD/(DFN + DFD) at 0, while the
// ratios before it are about DFD/2 |ln(1 - x)|: that term rises far out of
// line after terms that fall below the floor or the term tolerance, and the
// sum ended before it (P came out near 1e-300 or 1e-18, status 0).  Values
// from mpmath at 60 to 400 digits (x lies within 1e-100 of 1).  Where the
// shapes are 1e-300 every term but the last is below 1e-80 of P: 1e-10
// leaves room for the rounding of the walk and of bratio, about 1e-13.
// Where they are 1e-20 the others come to 1.4e-7 of P, and the forward sum,
// which stops at 1e-4 of the sum, drops about half of them: 1e-6.  Two rows
// need the terms between too: 19% and 21% of P.
TEST(SumsAndQuotientsAtTheEnds, LastTermThatRisesOutOfLine) {
  const FncRow rows[] = {
      {"P, F 1e100, DFN 1e-300, DFD 1e-300, PNONC 10", 1, 0, 1e100, 1e-300, 1e-300, 10,
       0.0033689734995427335483, 1e-10},
      {"P, F 1e10, DFN 1e-300, DFD 1e-300, PNONC 10", 1, 0, 1e10, 1e-300, 1e-300, 10,
       0.0033689734995427335483, 1e-10},
      {"P, F 1e100, DFN 1e-300, DFD 1e-300, PNONC 50", 1, 0, 1e100, 1e-300, 1e-300, 50,
       6.9439719324820102973e-12, 1e-10},
      {"P, F 1, DFN 1e-300, DFD 1e-300, PNONC 50", 1, 0, 1, 1e-300, 1e-300, 50,
       6.9439719324820102973e-12, 1e-10},
      {"P, F 1e100, DFN 1e-20, DFD 1e-20, PNONC 50", 1, 0, 1e100, 1e-20, 1e-20, 50,
       6.9439730650028317245e-12, 1e-6},
      {"P, F 1e10, DFN 1e-20, DFD 1e-20, PNONC 50", 1, 0, 1e10, 1e-20, 1e-20, 50,
       6.9439720288395398969e-12, 1e-6},
      // e^-PNONC/2 times DFD/(DFN + DFD): 1/2, then 1.
      {"P, F 1e5, DFN 1e-300, DFD 1e-300, PNONC 5", 1, 0, 1e5, 1e-300, 1e-300, 5,
       0.041042499311949397585, 1e-10},
      {"P, F 1e300, DFN 1e-300, DFD 1e-100, PNONC 20", 1, 0, 1e300, 1e-300, 1e-100, 20,
       4.5399929762484851536e-5, 1e-10},
      // The largest noncentrality: 499 terms between.
      {"P, F 1e300, DFN 1e-300, DFD 1e-300, PNONC 1000", 1, 0, 1e300, 1e-300, 1e-300, 1000,
       3.5622882033706427658e-218, 1e-10},
      // 1 - x underflows: each ratio formed apart, the last one too.
      {"P, F 1.7e308, DFN 1e-284, DFD 1e-300, PNONC 10", 1, 0, 1.7e308, 1e-284, 1e-300, 10,
       6.7379469990854663461e-19, 1e-10},
      // The terms between the stop and the last term are 19% and 21% of P.
      {"P, F 1, DFN 0.001, DFD 0.1, PNONC 1000", 1, 0, 1, 0.001, 0.1, 1000,
       2.1165131297600276182e-217, 1e-10},
      {"P, F 1e-20, DFN 0.1, DFD 1e-20, PNONC 100", 1, 0, 1e-20, 0.1, 1e-20, 100,
       4.1234304733551711319e-41, 1e-10},
      // The searches over such points (DFN was 1.8e-31, DFD 7.8e-11, PNONC
      // 4.02 and 25.06).  Roots of the mpmath P.  P is matched to its own
      // error, 1e-7 where the shapes are 1e-20, and moves the answer as
      // much: 1e-6; 1e-7 (the search's 1e-8) where they are 1e-300.
      {"DFN, P 1e-12, F 1e10, DFD 1e-20, PNONC 50", 3, 1e-12, 1e10, 0, 1e-20, 50,
       1.28879453806804e-19, 1e-6},
      {"DFD, P 1e-12, F 1e10, DFN 1e-20, PNONC 50", 4, 1e-12, 1e10, 1e-20, 0, 50,
       7.7591895290073e-22, 1e-6},
      {"PNONC, P 1e-12, F 1e100, DFN 1e-300, DFD 1e-300", 5, 1e-12, 1e100, 1e-300, 1e-300, 0,
       53.8757478707372, 1e-7},
      {"PNONC, P 1e-6, F 1e10, DFN 1e-20, DFD 1e-20", 5, 1e-6, 1e10, 1e-20, 1e-20, 0,
       26.2447267548089, 1e-6},
  };
  expect_status_zero_within(rows);
}

// Every term of the sum is positive and the ratios fall as the shape
// rises, so w0 I_x(DFN/2, DFD/2) <= P <= w0 I_x(DFN/2, DFD/2) + (1 - w0)
// I_x(DFN/2 + 1, DFD/2), w0 = e^-PNONC/2: at tiny shapes a narrow bracket
// (Boost's ratios, through 1 - x where x is near 1).  The slack 1e-10 is
// far above the rounding of the walk and of bratio (1e-13 at most here).
TEST(SumsAndQuotientsAtTheEnds, TinyShapesBracketedByTheLastTerm) {
  const double shapes[] = {1e-300, 1e-100, 1e-20};
  const double fs[] = {1e-5, 1, 1e5, 1e10};
  const double pnoncs[] = {5, 10, 50, 200, 1000};
  for (double dfn : shapes)
    for (double dfd : shapes)
      for (double f : fs)
        for (double pnonc : pnoncs) {
          const double x = dfn * f / (dfn * f + dfd), y = dfd / (dfn * f + dfd);
          const auto ratio = [&](double a) {
            return y < 0.5 ? boost::math::ibetac(dfd / 2, a, y) : boost::math::ibeta(a, dfd / 2, x);
          };
          const double w0 = std::exp(-pnonc / 2);
          const double lo = w0 * ratio(dfn / 2);
          const double hi = lo + (1 - w0) * ratio(dfn / 2 + 1);
          const Got g = fnc(1, 0, f, dfn, dfd, pnonc);
          EXPECT_EQ(g.status, 0);
          EXPECT_GE(g.value, lo * (1 - 1e-10))
              << "F " << f << ", DFN " << dfn << ", DFD " << dfd << ", PNONC " << pnonc;
          EXPECT_LE(g.value, hi * (1 + 1e-10))
              << "F " << f << ", DFN " << dfn << ", DFD " << dfd << ", PNONC " << pnonc;
        }
}

}  // namespace
