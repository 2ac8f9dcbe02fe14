#pragma once

// Checked IEEE arithmetic: every operation tests its own result, because the
// compiler does not keep floating-point status flags in order with the code.
// Operands are always finite here (a fault stops the run before an infinity
// or a NaN could be used), so an infinite result means overflow and a NaN an
// invalid operation, which the run reports as an overflow too.

#include <cmath>

#include "model/fault.h"

namespace kelvora {

class Num;
Num checkedResult(double r);

class Num {
  public:
    constexpr Num(double v) : v_(v) {}  // NOLINT: implicit by design, formulas mix in literals
    constexpr double value() const { return v_; }

    friend Num operator+(Num a, Num b) { return checkedResult(a.v_ + b.v_); }
    friend Num operator-(Num a, Num b) { return checkedResult(a.v_ - b.v_); }
    friend Num operator*(Num a, Num b) { return checkedResult(a.v_ * b.v_); }
    friend Num operator/(Num a, Num b) {
        if (b.v_ == 0.0)
            throw ArithmeticFault{a.v_ == 0.0 ? FaultKind::Overflow : FaultKind::DivisionByZero};
        return checkedResult(a.v_ / b.v_);
    }
    friend Num operator-(Num a) { return Num(-a.v_); }
    friend bool operator>(Num a, Num b) { return a.v_ > b.v_; }

  private:
    double v_;
};

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

inline Num checkedPow(Num base, Num exponent) {
    return checkedResult(std::pow(base.value(), exponent.value()));
}

// Arctangent and cosine of a finite number never fault.
inline Num checkedAtan(Num a) {
    return Num(std::atan(a.value()));
}
inline Num checkedCos(Num a) {
    return Num(std::cos(a.value()));
}

}  // namespace kelvora
