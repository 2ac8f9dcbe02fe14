// The line profile on a grid of cells h wide: the star's image on the
// pixel exact at each cell's centre, convolved with the diffraction and the
// coma sampled on the same cells; the FWHM read off the result between the
// cells that straddle half the peak.
#include "model/design/profile.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "model/mathfn.h"

namespace kelvora::design {

namespace {

// Cell i covers x = (i − origin) h ± h/2.
struct Sampled {
    std::vector<double> v;
    int origin = 0;
};

const double kFwhmPerSigma = 2 * std::sqrt(2 * fn::log(2.0));
// Cells across the profile's estimated width.
constexpr double kCellsPerWidth = 24, kCellsPerComa = 256;
// The finest grid, in cells per estimated width: a coma far narrower than
// the rest no longer sets the cell, so the cost of a profile is bounded.
constexpr double kMostCellsPerWidth = 128;
// The sinc² of the diffraction is cut this many zeros out.
constexpr double kDiffractionZeros = 4;
// The star's image is cut this many σ out (a share of 6e-5 beyond).
constexpr double kSigmas = 4;
// The pupil's directions sampled for the coma.
constexpr int kSpokes = 256;

Sampled cells(double low, double high, double h) {
    const int first = static_cast<int>(std::floor(low / h + 0.5));
    const int last = static_cast<int>(std::ceil(high / h - 0.5));
    return {std::vector<double>(static_cast<std::size_t>(last - first + 1), 0.0), -first};
}

double cellCentre(const Sampled& s, std::size_t i, double h) {
    return (static_cast<double>(i) - s.origin) * h;
}

// The star's Gaussian image, cut by the slit's box where there is one,
// swept over the pixel: the light the pixel centred at x gathers, exact
// (erf between the pixel's and the cut's edges) at each cell's centre.
Sampled imageOnPixel(const ProfileParts& p, double h) {
    const double sigma = p.seeing / kFwhmPerSigma;
    const double cut = p.slit > 0 ? std::min(p.slit / 2, kSigmas * sigma) : kSigmas * sigma;
    Sampled s = cells(-cut - 0.5, cut + 0.5, h);
    const auto cdf = [&](double x) { return fn::erf(x / (std::sqrt(2.0) * sigma)); };
    for (std::size_t i = 0; i < s.v.size(); ++i) {
        const double x = cellCentre(s, i, h);
        const double a = std::max(x - 0.5, -cut), b = std::min(x + 0.5, cut);
        s.v[i] = b > a ? cdf(b) - cdf(a) : 0;
    }
    return s;
}

// sinc²(π x / Δ), its first zeros at ±Δ.
Sampled diffraction(double delta, double h) {
    const double half = kDiffractionZeros * delta;
    Sampled s = cells(-half, half, h);
    for (std::size_t i = 0; i < s.v.size(); ++i) {
        const double u = std::numbers::pi * cellCentre(s, i, h) / delta;
        const double sinc = u == 0 ? 1 : fn::sin(u) / u;
        s.v[i] = sinc * sinc;
    }
    return s;
}

// A ray through the pupil at (ρ cos θ, ρ sin θ) lands E ρ² q(θ) beyond the
// chief ray, q = cos² θ + sin² θ / 3. The pupil is lit evenly between the
// obstruction ε and its edge, so along each direction ρ² is uniform on
// [ε², 1] and the ray's landing uniform on [E ε² q, E q]: each of kSpokes
// directions spreads its share evenly there.
Sampled coma(double extent, double obstruction, double h) {
    Sampled s = cells(0, extent, h);
    const double e2 = obstruction * obstruction;
    for (int k = 0; k < kSpokes; ++k) {
        const double t = 2 * std::numbers::pi * (k + 0.5) / kSpokes;
        const double c = fn::cos(t), sn = fn::sin(t);
        const double hi = extent * (c * c + sn * sn / 3), lo = e2 * hi;
        for (std::size_t i = 0; i < s.v.size(); ++i) {
            const double x = cellCentre(s, i, h);
            const double overlap = std::min(x + h / 2, hi) - std::max(x - h / 2, lo);
            if (overlap > 0) s.v[i] += overlap / (hi - lo);
        }
    }
    return s;
}

Sampled convolve(const Sampled& a, const Sampled& b) {
    Sampled c{std::vector<double>(a.v.size() + b.v.size() - 1, 0.0), a.origin + b.origin};
    for (std::size_t i = 0; i < a.v.size(); ++i)
        for (std::size_t j = 0; j < b.v.size(); ++j) c.v[i + j] += a.v[i] * b.v[j];
    return c;
}

// Where the profile crosses half its peak, outwards from the peak.
double fwhm(const Sampled& s, double h) {
    const auto peak = std::max_element(s.v.begin(), s.v.end());
    const double half = *peak / 2;
    auto lo = peak, hi = peak;
    while (lo != s.v.begin() && *lo >= half) --lo;
    while (hi + 1 != s.v.end() && *hi >= half) ++hi;
    // Linear between the cells on either side of each crossing.
    const double left = static_cast<double>(lo - s.v.begin()) + (half - *lo) / (*(lo + 1) - *lo);
    const double right = static_cast<double>(hi - s.v.begin()) - (half - *hi) / (*(hi - 1) - *hi);
    return (right - left) * h;
}

// Cells a fraction of the profile's width, as the widths' quadrature sum
// estimates it.
double cellWidth(const ProfileParts& p) {
    const double entrance = p.slit > 0 ? std::min(p.slit, p.seeing) : p.seeing;
    const double d = 0.886 * p.diffraction, c = p.coma / 2;
    const double width = std::sqrt(entrance * entrance + 1 + d * d + c * c);
    const double h = width / kCellsPerWidth;
    // The coma's profile steps where its rays begin: finer cells keep the step sharp.
    return p.coma > 0 ? std::max(std::min(h, p.coma / kCellsPerComa), width / kMostCellsPerWidth)
                      : h;
}

// Every width finite and not negative: no grid is ever sized from a
// number that is not a width.
bool measurable(const ProfileParts& p) {
    for (double w : {p.seeing, p.slit, p.diffraction, p.coma, p.obstruction})
        if (!std::isfinite(w) || w < 0) return false;
    return p.obstruction < 1;
}

}  // namespace

double convolvedFwhm(const ProfileParts& p) {
    if (!measurable(p)) return NAN;
    const double h = cellWidth(p);
    Sampled s = imageOnPixel(p, h);
    if (p.diffraction > 0) s = convolve(s, diffraction(p.diffraction, h));
    if (p.coma > 0) s = convolve(s, coma(p.coma, p.obstruction, h));
    // An empty cell at each end: the crossings always have a cell outside them.
    s.v.insert(s.v.begin(), 0.0);
    s.v.push_back(0.0);
    return fwhm(s, h);
}

}  // namespace kelvora::design
