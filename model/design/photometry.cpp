// Signal-to-noise, saturation and the planning answers, on the window's
// photometric model (same constants) with QE, transmission, slit losses
// and dark current added.
#include <cmath>

#include "model/design/design_internal.h"
#include "model/photometry.h"

namespace kelvora::design {

namespace {

using namespace photometry;
const double kFwhmPerSigma = 2 * std::sqrt(2 * std::log(2.0));

double magnitudeFactor(double m) {
    return std::pow(10, m * kMagnitudeFactor);
}

// Fraction of a Gaussian profile of the given FWHM inside a centred band of
// the given width (same units).
double gaussianFraction(double width, double fwhm) {
    const double sigma = fwhm / kFwhmPerSigma;
    return std::erf(width / (2 * std::sqrt(2.0) * sigma));
}

// The rates one evaluation needs, in electrons per second.
struct Rates {
    double star0;  // the star at magnitude 0, one binned pixel along the dispersion
    double star;   // the star
    double sky;    // sky in one binned pixel
    double dark;   // dark in one binned pixel
    double rows;   // binned rows summed
    double read2;  // read-noise variance of one exposure over those rows
    // Everything but the star's own photon noise, per second.
    double background() const { return sky * rows + dark * rows; }
};

Rates rates(const DesignInput& in, const Optics& o, const DesignResult& r) {
    const double area = std::pow(in.diametre_mm / 10, 2);
    const double throughput = in.qe * in.transmission;
    const double pixelAngle =
        o.convergent ? o.p / in.focale_mm * kArcsecPerRadian
                     : in.collimateur_mm * o.p / in.objectif_mm / in.focale_mm * kArcsecPerRadian;
    double band = kSkyBandLimit, slitFraction = 1;
    if (o.slit) {
        const double slit = in.fente_um / 1000;
        const double image = slit * in.objectif_mm / in.collimateur_mm * r.anamorphose;
        band = std::min(kSkyBandLimit, r.dispersion_a_px * image / (in.bin_x * o.p));
        slitFraction = gaussianFraction(slit / in.focale_mm * kArcsecPerRadian, in.seeing_arcsec);
    }
    Rates k{};
    k.sky = magnitudeFactor(in.mag_ciel) * area * band * kSkyFlux * pixelAngle * in.bin_x *
            pixelAngle * in.bin_y * throughput;
    k.star0 = area * r.dispersion_a_px * kStarFlux * throughput * slitFraction;
    k.star = magnitudeFactor(in.mag_etoile) * k.star0;
    k.dark = in.obscurite_e_s * in.bin_x * in.bin_y;
    k.rows = kRows / in.bin_y;
    k.read2 = in.bruit_e * in.bruit_e * k.rows;
    return k;
}

double signalToNoise(const Rates& k, double t, double n) {
    return t * k.star / std::sqrt(k.read2 * n + t * (k.background() + k.star));
}

// Peak electrons per second in the brightest binned pixel: the star's
// share of the central row, plus sky and dark.
double peakRate(const DesignInput& in, const Optics& o, const Rates& k) {
    double across = o.seeingDisc;  // FWHM across the dispersion on the detector, mm
    if (!o.convergent) across = across * in.objectif_mm / in.collimateur_mm;
    const double rowFraction = gaussianFraction(o.p * in.bin_y, across);
    return k.star * rowFraction + k.sky + k.dark;
}

// t from S = tP/√(An + t(Q0+P)):  P²t² − S²(Q0+P)t − S²An = 0.
double exposureFor(const Rates& k, double S, double n) {
    const double P = k.star, Q = k.background() + k.star, An = k.read2 * n;
    const double S2 = S * S;
    return (S2 * Q + std::sqrt(S2 * S2 * Q * Q + 4 * P * P * S2 * An)) / (2 * P * P);
}

// P from the same equation at fixed t:  t²P² − S²tP − S²(An + tQ0) = 0.
double limitingMagnitude(const Rates& k, double S, double t, double n) {
    const double S2 = S * S, c = k.read2 * n + t * k.background();
    const double P = (S2 * t + std::sqrt(S2 * S2 * t * t + 4 * t * t * S2 * c)) / (2 * t * t);
    return -2.5 * std::log10(P / k.star0);
}

}  // namespace

void fillPhotometry(const DesignInput& in, const Optics& o, DesignResult& r) {
    const Rates k = rates(in, o, r);
    r.snr = signalToNoise(k, in.pose_s, in.poses);
    const double peak = peakRate(in, o, k);
    r.electrons_pic = in.pose_s / in.poses * peak;
    r.saturation = r.electrons_pic >= in.puits_e;
    r.poses_min = std::floor(in.pose_s * peak / in.puits_e) + 1;
    if (in.cible_snr > 0) {
        r.pose_cible_s = exposureFor(k, in.cible_snr, in.poses);
        r.magnitude_limite = limitingMagnitude(k, in.cible_snr, in.pose_s, in.poses);
    } else {
        r.pose_cible_s = r.magnitude_limite = NAN;
    }
}

}  // namespace kelvora::design
