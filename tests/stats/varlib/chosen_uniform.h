// Chooses the next draw of the procedural library's combined generator, so
// a test can drive a variate routine down a chosen branch.
//
//   numlib::setall(1, 1);
//   chosen_uniform::next_ranf(1.0f);  // the next numlib::ranf() is 1.0
//
// The current virtual generator is set (through setsd, which also makes it
// the generator's initial seed) one step before a state whose combined value
// is the wanted one; the step back multiplies each component by the modular
// inverse of its multiplier.  Any second component gives a state of that
// value, with its own value after it.  Needs the antithetic flag off.  Seeds the
// package with its default seeds when nothing was seeded yet.
#ifndef VORDEL_TESTS_STATS_CHOSEN_UNIFORM_H
#define VORDEL_TESTS_STATS_CHOSEN_UNIFORM_H

#include <cstdint>
#include <functional>

namespace chosen_uniform {

// The next numlib::ignlgi() returns z, 1 <= z <= 2147483562.
void next_ignlgi(std::int64_t z);

// An integer z whose ranf value is u (u a value ranf can return).
std::int64_t ignlgi_for_ranf(float u);

// The next numlib::ranf() returns u: next_ignlgi(ignlgi_for_ranf(u)).
void next_ranf(float u);

// The next numlib::ranf() returns u and the one after it a value v with
// second(v): of the states whose next value is that of u, the first (in the
// order of its second component) whose value after is accepted.
void next_ranf_then(float u, const std::function<bool(float)>& second);

// (b^e) mod m, exact, for 0 <= b < m < 2^62 and e >= 0.
std::int64_t power_mod(std::int64_t b, unsigned __int128 e, std::int64_t m);

}  // namespace chosen_uniform

#endif
