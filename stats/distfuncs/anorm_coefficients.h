// Cody's rational Chebyshev approximations of the normal distribution
// function (ANORM), the coefficient sets cumnor evaluates, indexed in the
// order its loops use them:
//   a, b  P(Z <= x) - 0.5 = x A(x^2)/B(x^2)            for |x| <= 0.66291
//   c, d  P(Z <= -|x|) = exp(-x^2/2) C(|x|)/D(|x|)     up to |x| = sqrt(32)
//   p, q  the same in 1/x^2 beyond sqrt(32)
// The literals carry more digits than a double; each is the double nearest
// to the published value.
#ifndef VORDEL_STATS_DISTFUNCS_ANORM_COEFFICIENTS_H
#define VORDEL_STATS_DISTFUNCS_ANORM_COEFFICIENTS_H

namespace numlib {
namespace anorm {

constexpr double a[5] = {2.2352520354606839287, 161.02823106855587881, 1067.6894854603709582,
                         18154.981253343561249, 0.065682337918207449113};
constexpr double b[4] = {47.20258190468824187, 976.09855173777669322, 10260.932208618978205,
                         45507.789335026729956};
constexpr double c[9] = {0.39894151208813466764, 8.8831497943883759412, 93.506656132177855979,
                         597.27027639480026226,  2494.5375852903726711, 6848.1904505362823326,
                         11602.651437647350124,  9842.7148383839780218, 1.0765576773720192317e-8};
constexpr double d[8] = {22.266688044328115691, 235.38790178262499861, 1519.377599407554805,
                         6485.558298266760755,  18615.571640885098091, 34900.952721145977266,
                         38912.003286093271411, 19685.429676859990727};
constexpr double p[6] = {0.21589853405795699,     0.1274011611602473639, 0.022235277870649807,
                         0.001421619193227893466, 2.9112874951168792e-5, 0.02307344176494017303};
constexpr double q[5] = {1.28426009614491121, 0.468238212480865118, 0.0659881378689285515,
                         0.00378239633202758244, 7.29751555083966205e-5};

}  // namespace anorm
}  // namespace numlib

#endif
