#pragma once

// Checked IEEE arithmetic: every operation tests its own result, because the
// compiler does not keep floating-point status flags in order with the code.
// Operands are always finite here (a fault stops the run before an infinity
// or a NaN could be used), so an infinite result means overflow and a NaN an
// invalid operation, which the run reports as an overflow too.
//
// Which fault a formula names depends on which step runs first, and C++
// leaves the order of an overloaded operator's operands unspecified. So the
// right operand of every checked operation must be a plain value: a number,
// or a named Num. A right operand that is itself a computation does not
// compile; name it first, on its own line, in the formula's written order.

#include <cmath>

#include "model/fault.h"
#include "model/mathfn.h"

namespace kelvora {

class Num;
Num checkedResult(double r);

// A right operand: a number or an already computed, named Num.
class Operand {
  public:
    constexpr Operand(double v) : v_(v) {}  // NOLINT: formulas mix in literals
    constexpr Operand(const Num& n);        // NOLINT
    Operand(Num&&) = delete;                // a computation: name it first
    constexpr double value() const { return v_; }

  private:
    double v_;
};

class Num {
  public:
    constexpr Num(double v) : v_(v) {}  // NOLINT: implicit by design, formulas mix in literals
    constexpr double value() const { return v_; }

    friend Num operator+(Num a, Operand b) { return checkedResult(a.v_ + b.value()); }
    friend Num operator-(Num a, Operand b) { return checkedResult(a.v_ - b.value()); }
    friend Num operator*(Num a, Operand b) { return checkedResult(a.v_ * b.value()); }
    friend Num operator/(Num a, Operand b) {
        if (b.value() == 0.0)
            throw ArithmeticFault{a.v_ == 0.0 ? FaultKind::Overflow : FaultKind::DivisionByZero};
        return checkedResult(a.v_ / b.value());
    }
    friend Num operator-(Num a) { return Num(-a.v_); }
    friend bool operator>(Num a, Operand b) { return a.v_ > b.value(); }

  private:
    double v_;
};

constexpr Operand::Operand(const Num& n) : v_(n.value()) {}

// An infinite or NaN result stops the run with an overflow error.
inline Num checkedResult(double r) {
    if (!std::isfinite(r)) throw ArithmeticFault{FaultKind::Overflow};
    return Num(r);
}

// Square root of a negative number is the one invalid-argument error.
inline Num checkedSqrt(Num a) {
    if (a.value() < 0.0) throw ArithmeticFault{FaultKind::InvalidArgument};
    return Num(std::sqrt(a.value()));
}

inline Num checkedPow(Num base, Operand exponent) {
    return checkedResult(fn::pow(base.value(), exponent.value()));
}

// Arctangent and cosine of a finite number never fault.
inline Num checkedAtan(Num a) {
    return Num(fn::atan(a.value()));
}
inline Num checkedCos(Num a) {
    return Num(fn::cos(a.value()));
}

}  // namespace kelvora
