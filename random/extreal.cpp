#include "random/extreal.h"

#include <ostream>

namespace {

ExtRealCode opposite(ExtRealCode c) {
  if (c == PlusInfinity) return MinusInfinity;
  if (c == MinusInfinity) return PlusInfinity;
  return c;
}

bool infinite(ExtRealCode c) { return c == PlusInfinity || c == MinusInfinity; }

}  // namespace

ExtReal ExtReal::operator+(const ExtReal& b) const {
  const ExtReal& a = *this;
  if (a.code == Finite && b.code == Finite) return ExtReal(a.value + b.value);
  if (a.code == Missing || b.code == Missing) return ExtReal(Missing);
  if (a.code == Indefinite || b.code == Indefinite) return ExtReal(Indefinite);
  if (a.code == PlusInfinity) return ExtReal(b.code == MinusInfinity ? Indefinite : PlusInfinity);
  if (a.code == MinusInfinity) return ExtReal(b.code == PlusInfinity ? Indefinite : MinusInfinity);
  return ExtReal(b.code);  // a finite, b infinite
}

ExtReal ExtReal::operator-(const ExtReal& b) const {
  const ExtReal& a = *this;
  if (a.code == Finite && b.code == Finite) return ExtReal(a.value - b.value);
  if (a.code == Missing || b.code == Missing) return ExtReal(Missing);
  if (a.code == Indefinite || b.code == Indefinite) return ExtReal(Indefinite);
  if (infinite(a.code))  // infinity minus the same infinity
    return ExtReal(a.code == b.code ? Indefinite : a.code);
  return ExtReal(opposite(b.code));  // a finite, b infinite
}

ExtReal ExtReal::operator-() const {
  if (code == Finite) return ExtReal(-value);
  return ExtReal(opposite(code));
}

ExtReal ExtReal::operator*(const ExtReal& b) const {
  const ExtReal& a = *this;
  if (a.code == Finite && b.code == Finite) return ExtReal(a.value * b.value);
  if (a.code == Missing || b.code == Missing) return ExtReal(Missing);
  if (a.code == Indefinite || b.code == Indefinite) return ExtReal(Indefinite);
  // From here one operand at least is infinite and neither is missing or
  // indefinite.  A NaN finite factor counts as positive (neither test holds).
  if (a.code == Finite) {
    if (a.value == 0.0) return ExtReal(Indefinite);
    return ExtReal(a.value < 0.0 ? opposite(b.code) : b.code);
  }
  if (b.code == Finite) {
    if (b.value == 0.0) return ExtReal(Indefinite);
    return ExtReal(b.value < 0.0 ? opposite(a.code) : a.code);
  }
  return ExtReal(a.code == PlusInfinity ? b.code : opposite(b.code));
}

std::ostream& operator<<(std::ostream& os, const ExtReal& x) {
  switch (x.Code()) {
    case Finite:
      os << x.Value();
      break;
    case PlusInfinity:
      os << "plus-infinity";
      break;
    case MinusInfinity:
      os << "minus-infinity";
      break;
    case Indefinite:
      os << "indefinite";
      break;
    case Missing:
      os << "missing";
      break;
  }
  return os;
}
