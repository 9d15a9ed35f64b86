// The combined multiplicative congruential generator of the procedural
// variate library (L'Ecuyer 1988), split into 32 virtual generators 2^50
// steps apart (L'Ecuyer and Cote 1991).
//
// Two components x1 <- 40014 x1 mod 2147483563 and x2 <- 40692 x2 mod
// 2147483399 are combined into z = x1 - x2 (wrapped into 1..2147483562).
// Each virtual generator keeps an initial seed pair, the seed pair of the
// start of its current block (blocks are 2^30 steps long), its current seed
// pair and an antithetic flag.  All of it is process-wide state; the
// routines are not reentrant.
//
// States: uninitialised -> initialised (inrgcm, run by setall or the first
// ignlgi) -> seeded (setall, or the first ignlgi with the seeds
// 1234567890 and 123456789).  setsd, getsd, setant, initgn and advnst need
// the initialised state.
//
// Every error writes a fixed message to standard error and ends the process
// with status 1.
#ifndef VORDEL_STATS_VARLIB_COM_H
#define VORDEL_STATS_VARLIB_COM_H

#include <cstdint>
#include <string_view>

namespace numlib {

// Moduli and multipliers of the two components.
constexpr std::int64_t Xm1 = 2147483563;
constexpr std::int64_t Xm2 = 2147483399;
constexpr std::int64_t Xa1 = 40014;
constexpr std::int64_t Xa2 = 40692;
// The multipliers raised to 2^30 (one block) and to 2^50 (the distance
// between virtual generators), modulo their component's modulus.
constexpr std::int64_t Xa1w = 1033780774;
constexpr std::int64_t Xa2w = 1494757890;
constexpr std::int64_t Xa1vw = 2082007225;
constexpr std::int64_t Xa2vw = 784306273;
// Number of virtual generators; they are numbered 1..numg.
constexpr std::int64_t numg = 32;

// Clears every antithetic flag and marks the package initialised.
void inrgcm();

// getset 0: *qvalue = the initialised flag; otherwise the flag := *qvalue.
void gsrgs(std::int64_t getset, std::int64_t* qvalue);

// getset 0: *qset = the seeds-set flag; otherwise the flag := 1 (*qset is
// not read).
void gssst(std::int64_t getset, std::int64_t* qset);

// getset 0: *g = the current generator number; otherwise generator *g
// becomes current.  A number outside 1..32 stops the process.
void gscgn(std::int64_t getset, std::int64_t* g);

// Seeds all 32 generators: generator 1 starts at (iseed1, iseed2), each
// further generator 2^50 steps after the one before.  Initialises the
// package if needed; keeps the current generator number and the antithetic
// flags.  A seed outside 1..m-1 of its component stops the process (in
// mltmod).
void setall(std::int64_t iseed1, std::int64_t iseed2);

// On the current generator: -1 restarts at the initial seed, 0 restarts the
// current block, 1 starts the next block (2^30 steps after the start of the
// current one).
void initgn(std::int64_t isdtyp);

// The current generator's initial seed pair := (iseed1, iseed2), then
// initgn(-1).  Seeds outside 1..Xm1-1 and 1..Xm2-1 stop the process.
void setsd(std::int64_t iseed1, std::int64_t iseed2);

// The current seed pair of the current generator.
void getsd(std::int64_t* iseed1, std::int64_t* iseed2);

// Antithetic flag of the current generator (non-zero: ignlgi returns
// Xm1 - z in place of z).
void setant(std::int64_t qvalue);

// Advances the current generator by 2^k steps (one step for k < 1) and
// makes the result its initial seed.
void advnst(std::int64_t k);

// Next integer of the current generator, in 1..2147483562.  Initialises and
// seeds the package with the default seeds when that has not been done.
std::int64_t ignlgi();

// Next uniform of the current generator: ignlgi() x 4.656613057E-10, formed
// in double and rounded to float; in (0, 1], the 63 largest integers giving
// exactly 1.0.
float ranf();

// (a x s) mod m, exact, for 0 < a < m, 0 < s < m, m < 2^31; other
// arguments stop the process.
std::int64_t mltmod(std::int64_t a, std::int64_t s, std::int64_t m);

// Length of str without its trailing blanks (only ' ' is a blank).
std::int64_t lennob(std::string_view str);

// A seed pair derived from a phrase (trailing blanks ignored); the default
// seeds 1234567890 and 123456789 for an empty or blank phrase.
void phrtsd(std::string_view phrase, std::int64_t* seed1, std::int64_t* seed2);

}  // namespace numlib

#endif
