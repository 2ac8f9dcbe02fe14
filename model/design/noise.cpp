// The noise of an extracted spectrum, from the spectrum alone
// (docs/physics.md, « S/N d'un spectre observé »).
#include <algorithm>
#include <cmath>
#include <vector>

#include "model/design/calibration.h"

namespace kelvora::design {

double median(std::vector<double> v) {
    if (v.empty()) return NAN;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    if (v.size() % 2) return *mid;
    return (*mid + *std::max_element(v.begin(), mid)) / 2;
}

namespace {

// The samples that hold a value (0 marks a gap, as DER_SNR reads it).
std::vector<double> kept(std::span<const double> flux) {
    std::vector<double> f;
    for (double v : flux)
        if (v != 0 && std::isfinite(v)) f.push_back(v);
    return f;
}

// The variance of values within 4 robust deviations of their median: as
// efficient as the plain variance on Gaussian noise, blind to a cosmic ray.
double clippedVariance(const std::vector<double>& v) {
    const double m = median(v);
    std::vector<double> dev;
    for (double x : v) dev.push_back(std::fabs(x - m));
    const double limit = 4 * 1.4826 * median(dev);
    double sum = 0, sum2 = 0, n = 0;
    for (double x : v)
        if (std::fabs(x - m) <= limit) sum += x, sum2 += x * x, ++n;
    if (n < 2) return 0;
    const double mean = sum / n;
    return std::max(0.0, sum2 / n - mean * mean);
}

}  // namespace

double derSnr(std::span<const double> flux) {
    const std::vector<double> f = kept(flux);
    if (f.size() < 5) return 0;
    std::vector<double> d;
    for (std::size_t i = 2; i + 2 < f.size(); ++i)
        d.push_back(std::fabs(2 * f[i] - f[i - 2] - f[i + 2]));
    const double noise = 1.482602 / std::sqrt(6.0) * median(d);
    const double signal = median(f);
    // No signal, no figure: never a negative S/N.
    return signal > 0 && noise > 0 ? signal / noise : 0;
}

CorrelatedNoise correlatedNoise(std::span<const double> flux) {
    const std::vector<double> f = kept(flux);
    if (f.size() < 20) return {};
    // Var(f[i−s] − 2f[i] + f[i+s]) = 6γ0 − 8γs + 2γ2s, with γk = 0 for k ≥ 3.
    double v[3];
    for (std::size_t s = 1; s <= 3; ++s) {
        std::vector<double> d;
        for (std::size_t i = s; i + s < f.size(); ++i) d.push_back(f[i - s] - 2 * f[i] + f[i + s]);
        v[s - 1] = clippedVariance(d);
    }
    const double g0 = v[2] / 6, g2 = (v[2] - v[1]) / 8, g1 = (6 * g0 + 2 * g2 - v[0]) / 8;
    const double longRun = g0 + 2 * g1 + 2 * g2, signal = median(f);
    if (!(g0 > 0) || !(longRun > 0) || !(signal > 0)) return {};
    return {g1 / g0, signal / std::sqrt(longRun)};
}

}  // namespace kelvora::design
