// Arithmetic on random variables: expressions over variates that are
// variates themselves.
//
//   Normal x, y;
//   Exponential e;
//   SumRandom z(2.0 * x + y * e - 1.0);  // z owns the three operator nodes
//   double a = z.Next();                 // draws x, then y, then e
//   ExtReal m = z.Mean(), v = z.Variance();
//
// Each operator allocates a node on the heap and returns it as a Random&;
// the node holds its operands by address and draws from them left operand
// first.  A node's Mean and Variance combine its operands' moments in
// ExtReal arithmetic as for independent operands, so the non-finite codes
// propagate; a quotient or reciprocal reports Missing.  x(n) is the sum of n
// draws of x (0, with moments 0 and 0, when n <= 0); it is declared with
// Random (random/vorand1.h).
//
// Ownership: give each expression to exactly one SumRandom (or mixture),
// which frees its nodes when destroyed.  An expression given to no owner is
// never freed; one given to two is freed twice.  The leaf variates (x, y, e
// above) stay the caller's and must outlive the expression; they are never
// deleted by it.
#ifndef VORDEL_RANDOM_ARITHMETIC_H
#define VORDEL_RANDOM_ARITHMETIC_H

#include "random/extreal.h"
#include "random/vorand1.h"

Random& operator-(Random& x);             // -x
Random& operator*(Random& x, double s);   // x s
Random& operator*(double s, Random& x);   // x s
Random& operator/(Random& x, double s);   // x (1/s)
Random& operator+(Random& x, double s);   // x + s
Random& operator+(double s, Random& x);   // x + s
Random& operator-(Random& x, double s);   // x + (-s)
Random& operator-(double s, Random& x);   // s - x
Random& operator/(double s, Random& x);   // s / x
Random& operator*(Random& x, Random& y);  // x y
Random& operator+(Random& x, Random& y);  // x + y
Random& operator-(Random& x, Random& y);  // x - y
Random& operator/(Random& x, Random& y);  // x / y

// Owns an expression: draws and moments are its root's, and destroying the
// SumRandom frees every node of the expression (never a leaf).
class SumRandom : public Random {
 public:
  explicit SumRandom(Random& expression) : root(&expression) {}
  SumRandom(const SumRandom&) = delete;
  SumRandom& operator=(const SumRandom&) = delete;
  ~SumRandom() override { root->tDelete(); }

  double Next() override { return root->Next(); }
  const char* Name() override;  // "SumRandom"
  ExtReal Mean() const override { return root->Mean(); }
  ExtReal Variance() const override { return root->Variance(); }

 private:
  Random* root;
};

#endif
