// Reverse-communication search and zero finder used to invert the
// distribution functions.
//
// Neither routine calls the function it works on.  Protocol: set status = 0
// (for dinvr also x = the start value) and call; while the routine returns
// status = 1, evaluate the function at the returned x, put the value in fx
// and call again with the other arguments unchanged.  Status 0 ends the run
// with the answer in x (dzror: in xlo, the other end of the final bracket in
// xhi); status -1 is a failure described by qleft (1: the answer lies to the
// left of the range or interval, 0: to the right) and qhi (1: the function
// is above the target, or above zero, at that end; 0: below).
//
// dstinv(small, big, absstp, relstp, stpmul, abstol, reltol) fixes the range,
// the first step (max(absstp, relstp |x|)), the step multiplier and the
// zero finder's tolerances of the next dinvr search; dinvr is given
// F(x) - target for a function F monotone on [small, big], steps outward
// from the start until the target is bracketed, then narrows the bracket
// with dzror.  A start outside [small, big] stops the process (ftnstop).
// dstzr(xlo, xhi, abstol, reltol) fixes the interval and tolerances of the
// next dzror run (Bus and Dekker's algorithm R).  It tells the sides of
// zero by the signs of the function values, so values of any size down to
// the smallest double keep their bracket, and forms the middle of its
// bracket without overflow, so that a range may end at the largest double.
//
// Each pair keeps its state in static storage: one search of each kind at a
// time, and a dinvr search occupies the dzror state once it has a bracket.
#ifndef VORDEL_STATS_DISTFUNCS_SEARCH_H
#define VORDEL_STATS_DISTFUNCS_SEARCH_H

namespace numlib {

void dstinv(const double* zsmall, const double* zbig, const double* zabsst, const double* zrelst,
            const double* zstpmu, const double* zabsto, const double* zrelto);
void dinvr(int* status, double* x, const double* fx, unsigned long* qleft, unsigned long* qhi);

void dstzr(const double* zxlo, const double* zxhi, const double* zabstl, const double* zreltl);
void dzror(int* status, double* x, const double* fx, double* xlo, double* xhi, unsigned long* qleft,
           unsigned long* qhi);

}  // namespace numlib

#endif
