// Arithmetic on random variables: the expression nodes and the operators
// that make them.  A node's tDelete frees its operand nodes, then itself;
// on a leaf variate tDelete does nothing, so the leaves are never freed.
#include "random/arithmetic.h"

#include "random/allocate.h"

namespace {

// A new node on the heap, freed later through tDelete by the expression's
// owner.
template <class Node, class... Args>
Random& new_node(Args... args) {
  return *allocate<Node>(args...).release();
}

// -x
class NegatedRandom : public Random {
 public:
  explicit NegatedRandom(Random* x) : operand(x) {}
  double Next() override { return -operand->Next(); }
  ExtReal Mean() const override { return -operand->Mean(); }
  ExtReal Variance() const override { return operand->Variance(); }
  void tDelete() override {
    operand->tDelete();
    delete this;
  }

 private:
  Random* operand;
};

// x s
class ScaledRandom : public Random {
 public:
  ScaledRandom(Random* x, double s) : operand(x), number(s) {}
  double Next() override { return operand->Next() * number; }
  ExtReal Mean() const override { return operand->Mean() * number; }
  ExtReal Variance() const override { return operand->Variance() * (number * number); }
  void tDelete() override {
    operand->tDelete();
    delete this;
  }

 protected:
  Random* operand;
  double number;
};

// x + s
class ShiftedRandom : public ScaledRandom {
 public:
  using ScaledRandom::ScaledRandom;
  double Next() override { return operand->Next() + number; }
  ExtReal Mean() const override { return operand->Mean() + number; }
  ExtReal Variance() const override { return operand->Variance(); }
};

// s - x
class ReverseShiftedRandom : public ScaledRandom {
 public:
  using ScaledRandom::ScaledRandom;
  double Next() override { return number - operand->Next(); }
  ExtReal Mean() const override { return -operand->Mean() + number; }
  ExtReal Variance() const override { return operand->Variance(); }
};

// s / x: no moments are derived.
class ReciprocalRandom : public Random {
 public:
  ReciprocalRandom(Random* x, double s) : operand(x), number(s) {}
  double Next() override { return number / operand->Next(); }
  ExtReal Mean() const override { return Missing; }
  ExtReal Variance() const override { return Missing; }
  void tDelete() override {
    operand->tDelete();
    delete this;
  }

 private:
  Random* operand;
  double number;
};

// x1 x2, and the base of the other two-operand nodes.  The left operand is
// drawn first.
class MultipliedRandom : public Random {
 public:
  MultipliedRandom(Random* x1, Random* x2) : left(x1), right(x2) {}
  double Next() override {
    const double x1 = left->Next();
    return x1 * right->Next();
  }
  ExtReal Mean() const override { return left->Mean() * right->Mean(); }
  ExtReal Variance() const override {
    const ExtReal m1 = left->Mean(), var1 = left->Variance();
    const ExtReal m2 = right->Mean(), var2 = right->Variance();
    return (var1 * var2 + var1 * (m2 * m2)) + (m1 * m1) * var2;
  }
  void tDelete() override {
    left->tDelete();
    right->tDelete();
    delete this;
  }

 protected:
  Random* left;
  Random* right;
};

// x1 + x2
class AddedRandom : public MultipliedRandom {
 public:
  using MultipliedRandom::MultipliedRandom;
  double Next() override {
    const double x1 = left->Next();
    return x1 + right->Next();
  }
  ExtReal Mean() const override { return left->Mean() + right->Mean(); }
  ExtReal Variance() const override { return left->Variance() + right->Variance(); }
};

// x1 - x2
class SubtractedRandom : public MultipliedRandom {
 public:
  using MultipliedRandom::MultipliedRandom;
  double Next() override {
    const double x1 = left->Next();
    return x1 - right->Next();
  }
  ExtReal Mean() const override { return left->Mean() - right->Mean(); }
  ExtReal Variance() const override { return left->Variance() + right->Variance(); }
};

// x1 / x2: no moments are derived.
class DividedRandom : public MultipliedRandom {
 public:
  using MultipliedRandom::MultipliedRandom;
  double Next() override {
    const double x1 = left->Next();
    return x1 / right->Next();
  }
  ExtReal Mean() const override { return Missing; }
  ExtReal Variance() const override { return Missing; }
};

// The sum of n draws.  With n <= 0 nothing is drawn and the sum is always
// 0, so its moments are 0 and 0.
class RepeatedRandom : public Random {
 public:
  RepeatedRandom(Random* x, int n) : operand(x), repeats(n) {}
  double Next() override {
    double sum = 0.0;
    for (int i = 0; i < repeats; ++i) sum += operand->Next();
    return sum;
  }
  ExtReal Mean() const override {
    return repeats > 0 ? ExtReal(repeats) * operand->Mean() : ExtReal(0.0);
  }
  ExtReal Variance() const override {
    return repeats > 0 ? ExtReal(repeats) * operand->Variance() : ExtReal(0.0);
  }
  void tDelete() override {
    operand->tDelete();
    delete this;
  }

 private:
  Random* operand;
  int repeats;
};

}  // namespace

Random& operator-(Random& x) { return new_node<NegatedRandom>(&x); }
Random& operator*(Random& x, double s) { return new_node<ScaledRandom>(&x, s); }
Random& operator*(double s, Random& x) { return new_node<ScaledRandom>(&x, s); }
Random& operator/(Random& x, double s) { return new_node<ScaledRandom>(&x, 1.0 / s); }
Random& operator+(Random& x, double s) { return new_node<ShiftedRandom>(&x, s); }
Random& operator+(double s, Random& x) { return new_node<ShiftedRandom>(&x, s); }
Random& operator-(Random& x, double s) { return new_node<ShiftedRandom>(&x, -s); }
Random& operator-(double s, Random& x) { return new_node<ReverseShiftedRandom>(&x, s); }
Random& operator/(double s, Random& x) { return new_node<ReciprocalRandom>(&x, s); }
Random& operator*(Random& x, Random& y) { return new_node<MultipliedRandom>(&x, &y); }
Random& operator+(Random& x, Random& y) { return new_node<AddedRandom>(&x, &y); }
Random& operator-(Random& x, Random& y) { return new_node<SubtractedRandom>(&x, &y); }
Random& operator/(Random& x, Random& y) { return new_node<DividedRandom>(&x, &y); }

Random& Random::operator()(int n) { return new_node<RepeatedRandom>(this, n); }

const char* SumRandom::Name() { return "SumRandom"; }
