// ExtReal: an extended real number, a double together with a code for the
// cases a double cannot state as a moment: plus or minus infinity, an
// indefinite value (such as infinity minus infinity) and a missing value.
//
// The random variables report their Mean() and Variance() as ExtReal, so a
// distribution without a finite moment can say so.  Arithmetic (+, -, unary
// -, *) propagates the codes; non-finite results carry the value 0.  Stream
// output writes a finite value as a double and the other codes as words
// ("plus-infinity", "minus-infinity", "indefinite", "missing").
#ifndef VORDEL_RANDOM_EXTREAL_H
#define VORDEL_RANDOM_EXTREAL_H

#include <iosfwd>

enum ExtRealCode { Finite = 0, PlusInfinity, MinusInfinity, Indefinite, Missing };

class ExtReal {
 public:
  ExtReal(double v) : value(v), code(Finite) {}
  ExtReal(ExtRealCode c) : value(0.0), code(c) {}

  double Value() const { return value; }  // meaningful when finite
  ExtRealCode Code() const { return code; }

  ExtReal operator+(const ExtReal& other) const;
  ExtReal operator-(const ExtReal& other) const;
  ExtReal operator-() const;
  ExtReal operator*(const ExtReal& other) const;

 private:
  double value;
  ExtRealCode code;
};

std::ostream& operator<<(std::ostream& os, const ExtReal& x);

#endif
