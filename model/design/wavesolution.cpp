#include "model/design/wavesolution.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kelvora::design {

namespace {

// A fifth degree follows any dispersion solution a spectrograph has (a
// log-linear axis across a factor 1.4 in λ to 10⁻⁶ of a step).
constexpr std::size_t kTerms = 6;
using Coefficients = std::array<double, kTerms>;

std::vector<double> localSteps(const std::vector<double>& lambda) {
    const std::size_t n = lambda.size();
    std::vector<double> d(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t lo = i == 0 ? 0 : i - 1, hi = i + 1 == n ? n - 1 : i + 1;
        d[i] = (lambda[hi] - lambda[lo]) / static_cast<double>(hi - lo);
    }
    return d;
}

// The index scaled to [−1, 1], where the powers stay well conditioned.
double scaled(std::size_t i, std::size_t n) {
    return 2.0 * static_cast<double>(i) / static_cast<double>(n - 1) - 1;
}

// Least squares by the normal equations, solved with partial pivoting.
bool fit(const std::vector<double>& lambda, Coefficients& c) {
    const std::size_t n = lambda.size();
    double a[kTerms][kTerms + 1] = {};
    for (std::size_t i = 0; i < n; ++i) {
        double p[kTerms];
        p[0] = 1;
        for (std::size_t k = 1; k < kTerms; ++k) p[k] = p[k - 1] * scaled(i, n);
        for (std::size_t r = 0; r < kTerms; ++r) {
            for (std::size_t k = 0; k < kTerms; ++k) a[r][k] += p[r] * p[k];
            a[r][kTerms] += p[r] * lambda[i];
        }
    }
    for (std::size_t col = 0; col < kTerms; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < kTerms; ++r)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        if (!(std::fabs(a[pivot][col]) > 0)) return false;
        std::swap(a[col], a[pivot]);
        for (std::size_t r = 0; r < kTerms; ++r) {
            if (r == col) continue;
            const double f = a[r][col] / a[col][col];
            for (std::size_t k = col; k <= kTerms; ++k) a[r][k] -= f * a[col][k];
        }
    }
    for (std::size_t k = 0; k < kTerms; ++k) c[k] = a[k][kTerms] / a[k][k];
    return true;
}

double value(const Coefficients& c, double x) {
    double v = 0;
    for (std::size_t k = kTerms; k-- > 0;) v = v * x + c[k];
    return v;
}

double slope(const Coefficients& c, double x) {
    double v = 0;
    for (std::size_t k = kTerms; k-- > 1;) v = v * x + static_cast<double>(k) * c[k];
    return v;
}

}  // namespace

WavelengthSteps wavelengthSteps(const std::vector<double>& lambda) {
    const std::size_t n = lambda.size();
    WavelengthSteps out{localSteps(lambda), false};
    if (n < 4 * kTerms) return out;
    Coefficients c{};
    if (!fit(lambda, c)) return out;
    // The polynomial must follow every wavelength to within half a step:
    // rounding stays below that, a gap or a joined order does not.
    std::vector<double> local = out.step;
    std::nth_element(local.begin(), local.begin() + static_cast<std::ptrdiff_t>(n / 2),
                     local.end());
    const double typical = std::fabs(local[n / 2]);
    std::vector<double> fitted(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!(std::fabs(value(c, scaled(i, n)) - lambda[i]) <= typical / 2)) return out;
        // dλ/di = dλ/dx · dx/di, dx/di = 2 / (n − 1).
        fitted[i] = slope(c, scaled(i, n)) * 2 / static_cast<double>(n - 1);
        if (!(fitted[i] > 0)) return out;
    }
    return {fitted, true};
}

}  // namespace kelvora::design
