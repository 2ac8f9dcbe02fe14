#include "model/design/chain.h"

#include <algorithm>
#include <cmath>

#include "model/design/design_internal.h"
#include "model/design/passbands.h"
#include "model/design/templates.h"
#include "model/mathfn.h"

namespace kelvora::design::chain {

namespace {

// Bessell, Castelli & Plez (1998), Table A2: V = 0 is 3.631e-9 erg s⁻¹ cm⁻² Å⁻¹.
constexpr double kVegaFlambdaV = 3.631e-9;
constexpr double kReferenceA = 5500;
constexpr double kPlanck = 6.62607015e-27;  // erg s
constexpr double kLight = 2.99792458e10;    // cm s⁻¹
constexpr double kHcOverK = 1.438777e8;     // Å K
// Pressure scale height for Rayleigh scattering (m).
constexpr double kScaleHeight = 8000;
constexpr double kAngstromExponent = -1.3;

// Bare aluminium at normal incidence (nm, reflectance), from its optical constants.
const Curve& aluminium() {
    static const Curve table{{400, 0.920}, {532, 0.916}, {633, 0.907}, {800, 0.868}, {900, 0.890}};
    return table;
}

double planckPhotons(double lambdaA, double t) {
    return fn::pow(lambdaA, -4) / fn::expm1(kHcOverK / (lambdaA * t));
}

double sinc2(double x) {
    if (x == 0) return 1;
    const double s = fn::sin(x) / x;
    return s * s;
}

}  // namespace

double interpolate(const Curve& table, double x) {
    if (x <= table.front().first) return table.front().second;
    if (x >= table.back().first) return table.back().second;
    const auto hi = std::lower_bound(table.begin(), table.end(), x,
                                     [](const auto& point, double v) { return point.first < v; });
    const auto lo = hi - 1;
    const double f = (x - lo->first) / (hi->first - lo->first);
    return lo->second + f * (hi->second - lo->second);
}

double zeroPointPhotons() {
    return kVegaFlambdaV * (kReferenceA * 1e-8) / (kPlanck * kLight);
}

namespace {

// The zero-magnitude reference in every band: the A0V template, Vega's
// type, at the V zero point at 5500 Å.
double reference(double lambdaA) {
    return templatePhotonRatio("A0V", lambdaA);
}

// The factor that gives a template the reference's photons through the band.
double templateScale(const std::string& type, const std::string& band) {
    static const std::vector<double> table = [] {
        std::vector<double> t;
        for (const std::string& b : bandNames()) {
            const double ref = throughBand(b, reference);
            for (const std::string& name : templateNames())
                t.push_back(ref /
                            throughBand(b, [&](double l) { return templatePhotonRatio(name, l); }));
        }
        return t;
    }();
    const auto& names = templateNames();
    const auto& bands = bandNames();
    const auto i =
        static_cast<std::size_t>(std::find(names.begin(), names.end(), type) - names.begin());
    const auto j =
        static_cast<std::size_t>(std::find(bands.begin(), bands.end(), band) - bands.begin());
    return j < bands.size() && i < names.size() ? table[j * names.size() + i] : NAN;
}

double planckShape(double lambdaA, double t) {
    return planckPhotons(lambdaA, t) / planckPhotons(kReferenceA, t);
}

// The same for a black body; the last one kept (a design asks for it at
// every wavelength).
double blackBodyScale(double t, const std::string& band) {
    thread_local double lastT = NAN, last = NAN;
    thread_local std::string lastBand;
    if (t != lastT || band != lastBand) {
        last = throughBand(band, reference) /
               throughBand(band, [&](double l) { return planckShape(l, t); });
        lastT = t;
        lastBand = band;
    }
    return last;
}

}  // namespace

double sourcePhotons(const DesignInput& in, double lambdaA) {
    const double n0 = zeroPointPhotons();
    // A temperature given is the user's choice; otherwise the type's template.
    if (in.temperature_k <= 0 && isTemplate(in.type_spectral))
        return n0 * templatePhotonRatio(in.type_spectral, lambdaA) *
               templateScale(in.type_spectral, in.bande);
    if (in.temperature_k <= 0) return n0;  // flat: V's photons per Å everywhere
    return n0 * planckShape(lambdaA, in.temperature_k) * blackBodyScale(in.temperature_k, in.bande);
}

namespace {

// The dark sky's colour: photons per Å over those at V, at the bands'
// effective wavelengths (Å), from Paranal's U−V 0.7, B−V 1.0, R−V −0.7,
// I−V −1.9 (Patat 2003) and the bands' zero points f_λ (Bessell, Castelli
// & Plez 1998, Table A2: 417.5, 632, 363.1, 217.7, 112.6 × 10⁻¹¹ erg s⁻¹
// cm⁻² Å⁻¹): 10^(−0.4 (X−V)) · f_X λ_X / (f_V λ_V).
const Curve& darkSkyShape() {
    static const Curve shape = [] {
        const double v = 363.1 * 5450;
        auto point = [&](double lambda, double f, double colour) {
            return std::pair{lambda, fn::pow(10, -0.4 * colour) * f * lambda / v};
        };
        return Curve{point(3600, 417.5, 0.7), point(4380, 632, 1.0), point(5450, 363.1, 0),
                     point(6410, 217.7, -0.7), point(7980, 112.6, -1.9)};
    }();
    return shape;
}

// Krisciunas & Schaefer (1991): the airmass of a zenith distance.
double ksAirmass(double zenithDeg) {
    const double s = fn::sin(zenithDeg * kPi / 180);
    return 1 / std::sqrt(1 - 0.96 * s * s);
}

}  // namespace

// Krisciunas & Schaefer (1991, PASP 103, 1033; 8–23 % in V): the moonlit
// sky in nanolamberts, then in V mag/arcsec²; +∞ with the moon down or no air.
double moonSkyMagnitude(const DesignInput& in) {
    if (in.lune_hauteur_deg <= 0 || in.masse_air <= 0) return INFINITY;
    const double alpha = in.lune_phase_deg, rho = in.lune_distance_deg;
    const double istar = fn::pow(10, -0.4 * (3.84 + 0.026 * alpha + 4e-9 * fn::pow(alpha, 4)));
    const double c = fn::cos(rho * kPi / 180);
    const double f = fn::pow(10, 5.36) * (1.06 + c * c) + fn::pow(10, 6.15 - rho / 40);
    const double k = extinction(in, kReferenceA);
    const double targetZenith = std::acos(1 / in.masse_air) * 180 / kPi;
    const double b = f * istar * fn::pow(10, -0.4 * k * ksAirmass(90 - in.lune_hauteur_deg)) *
                     (1 - fn::pow(10, -0.4 * k * ksAirmass(targetZenith)));
    return (20.7233 - fn::log(b / 34.08)) / 0.92104;
}

double darkSkyMagnitude(const DesignInput& in) {
    // The middle of each Bortle class's typical sky-meter range, V mag/arcsec²
    // (reference table in docs/physics.md): 21.8–22.0, 21.6–21.8, 21.3–21.6,
    // 20.4–21.3, 19.3–20.4, 18.5–19.3, 18.0–18.5, 17.5–18.0, < 17.5.
    constexpr double kBortle[] = {21.9, 21.7, 21.45, 20.85, 19.85, 18.9, 18.25, 17.75, 17.25};
    const double c = in.classe_bortle;
    return c >= 1 && c <= 9 ? kBortle[static_cast<int>(c) - 1] : in.mag_ciel;
}

double skyPhotons(const DesignInput& in, double lambdaA) {
    double n = fn::pow(10, -0.4 * darkSkyMagnitude(in)) * interpolate(darkSkyShape(), lambdaA);
    const double moon = moonSkyMagnitude(in);
    if (std::isfinite(moon)) {
        // Moonlight is scattered sunlight: the Sun's (G2V) colour.
        n += fn::pow(10, -0.4 * moon) * templatePhotonRatio("G2V", lambdaA);
    }
    return zeroPointPhotons() * n;
}

double area(const DesignInput& in) {
    const double d = in.diametre_mm / 10, o = in.obstruction_pct / 100;
    return kPi / 4 * d * d * (1 - o * o);
}

// Hansen & Travis (1974): τ = 0.008569 λ⁻⁴ (1 + 0.0113 λ⁻² + 0.00013 λ⁻⁴), λ in µm.
double extinction(const DesignInput& in, double lambdaA) {
    const double um = lambdaA / 1e4, l2 = 1 / (um * um);
    const double tau = 0.008569 * l2 * l2 * (1 + 0.0113 * l2 + 0.00013 * l2 * l2);
    const double rayleigh = 1.0857 * tau * fn::exp(-in.altitude_m / kScaleHeight);
    return rayleigh + in.aerosols * fn::pow(lambdaA / kReferenceA, kAngstromExponent);
}

double atmosphere(const DesignInput& in, double lambdaA) {
    if (in.masse_air <= 0) return 1;
    if (lambdaA < kAtmosphereCutA) return 0;
    return fn::pow(10, -0.4 * extinction(in, lambdaA) * in.masse_air);
}

double telescope(const DesignInput& in, double lambdaA) {
    if (in.miroirs <= 0) return 1;
    return fn::pow(interpolate(aluminium(), lambdaA / 10), in.miroirs);
}

// Schroeder & Hilliard (1980): η = η₀ sinc²(ν),
// ν = π d cos α / (λ cos(α − θ)) · [sin(α − θ) + sin(β − θ)], sin θ = N λ_B / 2.
double grating(const DesignInput& in, double alpha, double beta, double lambdaA) {
    if (in.blaze_a <= 0) return in.efficacite_reseau;
    const double d = 1 / in.traits_mm;                // mm
    const double lambda = lambdaA / kAngstromsPerMm;  // mm
    const double theta = fn::asin(in.blaze_a / kAngstromsPerMm * in.traits_mm / 2);
    const double nu = kPi * d * fn::cos(alpha) / (lambda * fn::cos(alpha - theta)) *
                      (fn::sin(alpha - theta) + fn::sin(beta - theta));
    return in.efficacite_reseau * sinc2(nu);
}

double zeroOrder(const DesignInput& in, double alpha, double lambdaA) {
    if (in.efficacite_ordre0 > 0) return in.efficacite_ordre0;
    return in.blaze_a > 0 ? grating(in, alpha, -alpha, lambdaA) : 0;
}

// 1 up to kSiliconFadeA, then falling linearly to 0 at kSiliconEdgeA.
double siliconEdge(double lambdaA) {
    return std::clamp((kSiliconEdgeA - lambdaA) / (kSiliconEdgeA - kSiliconFadeA), 0.0, 1.0);
}

double quantumEfficiency(const DesignInput& in, double lambdaA) {
    if (in.qe_plate || in.qe_courbe.empty()) return in.qe * siliconEdge(lambdaA);
    return in.qe * interpolate(in.qe_courbe, lambdaA / 10) * siliconEdge(lambdaA);
}

}  // namespace kelvora::design::chain
