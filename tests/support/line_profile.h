#pragma once

// A line profile's FWHM integrated independently of the model: the star's
// Gaussian image (FWHM g, cut by a slit to |t| ≤ b) swept over a pixel in
// closed form, the diffraction's sinc² (first zeros at ±Δ) by Simpson's
// rule, the half maximum by bisection. Widths in pixels.

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvora::testprofile {

inline const double kFwhmPerSigma = 2 * std::sqrt(2 * std::log(2.0));

// A Gaussian of FWHM g cut to |t| ≤ b, integrated over the pixel [x − ½, x + ½].
inline double imageOnPixel(double x, double g, double b) {
    const double s = std::sqrt(2.0) * g / kFwhmPerSigma;
    const double lo = std::max(x - 0.5, -b), hi = std::min(x + 0.5, b);
    return hi > lo ? (std::erf(hi / s) - std::erf(lo / s)) / 2 : 0;
}

// The same convolved with sinc²(π u / Δ) over ±4Δ (Simpson, 4000 steps).
inline double profileAt(double x, double g, double b, double delta) {
    if (delta == 0) return imageOnPixel(x, g, b);
    const int n = 4000;
    const double a = -4 * delta, step = 8 * delta / n;
    double sum = 0;
    for (int i = 0; i <= n; ++i) {
        const double u = a + i * step, v = std::numbers::pi * u / delta;
        const double sinc = v == 0 ? 1 : std::sin(v) / v;
        const double w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
        sum += w * sinc * sinc * imageOnPixel(x - u, g, b);
    }
    return sum * step / 3;
}

// Symmetric about 0: the half maximum's abscissa by bisection, doubled.
inline double fwhm(double g, double b, double delta) {
    const double half = profileAt(0, g, b, delta) / 2;
    double in = 0, out = 20;
    for (int i = 0; i < 60; ++i) {
        const double mid = (in + out) / 2;
        (profileAt(mid, g, b, delta) >= half ? in : out) = mid;
    }
    return 2 * in;
}

}  // namespace kelvora::testprofile
