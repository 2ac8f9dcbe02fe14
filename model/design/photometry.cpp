// Signal-to-noise, saturation and the planning answers from the physical
// photometric chain: photons of the source, the collecting area, and every
// efficiency at the wavelength (see docs/physics.md).
#include <algorithm>
#include <cmath>

#include "model/design/camera.h"
#include "model/design/chain.h"
#include "model/design/design_internal.h"
#include "model/design/measured.h"
#include "model/mathfn.h"
#include "model/photometry.h"

namespace kelvora::design {

namespace {

const double kFwhmPerSigma = 2 * std::sqrt(2 * fn::log(2.0));

double magnitudeFactor(double m) {
    return fn::pow(10, m * photometry::kMagnitudeFactor);
}

// Fraction of a Gaussian profile of the given FWHM inside a centred band of
// the given width (same units).
double gaussianFraction(double width, double fwhm) {
    const double sigma = fwhm / kFwhmPerSigma;
    return fn::erf(width / (2 * std::sqrt(2.0) * sigma));
}

// The instrument at one wavelength: where the light leaves the grating and
// each efficiency on its way.
struct Spectral {
    double lambdaA, beta, dispersion, anamorphose;
    double atmosphere, telescope, grating, qe, slit;
    double measured;  // observed over predicted, from calibrations on the sky; 1 without
    double assumed(const DesignInput& in) const {
        return telescope * in.transmission * grating * qe;
    }
    double instrument(const DesignInput& in) const {  // after the atmosphere
        return assumed(in) * measured;
    }
    double efficiency(const DesignInput& in) const { return atmosphere * instrument(in); }
};

Spectral spectralAt(const DesignInput& in, const Optics& o, double lambdaA, double beta) {
    Spectral s{};
    s.lambdaA = lambdaA;
    s.beta = beta;
    s.dispersion = dispersionAt(in, o, beta);
    s.anamorphose = o.convergent ? 1 : fn::cos(o.alpha) / fn::cos(beta);
    s.atmosphere = chain::atmosphere(in, lambdaA);
    s.telescope = chain::telescope(in, lambdaA);
    s.grating = chain::grating(in, o.alpha, beta, lambdaA);
    s.qe = chain::quantumEfficiency(in, lambdaA);
    s.measured = in.etalonnages.empty() ? 1 : combinedRatio(in.etalonnages, lambdaA).value;
    s.slit = o.slit ? gaussianFraction(in.fente_um / 1000 / in.focale_mm * kArcsecPerRadian,
                                       in.seeing_arcsec)
                    : 1;
    return s;
}

}  // namespace

// The star's FWHM across the dispersion on the sensor (mm): the seeing disc
// at the telescope's focus, times Fcam/Fcoll behind a collimator.
double fwhmAcross(const DesignInput& in, const Optics& o) {
    return o.convergent ? o.seeingDisc : o.seeingDisc * in.objectif_mm / in.collimateur_mm;
}

// The whole binned rows that span kExtractionFwhms FWHM, centred on the
// star, and the share of a Gaussian profile they hold.
Extraction extraction(const DesignInput& in, const Optics& o) {
    const double fwhm = fwhmAcross(in, o), row = o.p * in.bin_y;
    const double rows = std::max(1.0, std::ceil(kExtractionFwhms * fwhm / row));
    return {rows, gaussianFraction(rows * row, fwhm)};
}

namespace {

// Sky photons s⁻¹ cm⁻² arcsec⁻² that reach every pixel of a slitless
// spectrum, weighted by the chain: from some point of the sky each
// wavelength the chain passes lands on the pixel, in first order and in the
// zero order (docs/physics.md). Trapezoids of kSkyStepA over the band.
constexpr double kSkyStepA = 50;
double integrateSlitlessSky(const DesignInput& in, const Optics& o) {
    const int steps = static_cast<int>((kSiliconEdgeA - kAtmosphereCutA) / kSkyStepA);
    double sum = 0;
    for (int i = 0; i <= steps; ++i) {
        const double l = kAtmosphereCutA + i * kSkyStepA;
        const double s = sinBeta(o, l);
        double first = 0;
        if (std::fabs(s) < 1) {
            first = chain::grating(in, o.alpha, fn::asin(s), l);
            if (!in.etalonnages.empty()) first *= combinedRatio(in.etalonnages, l).value;
        }
        const double passed = chain::telescope(in, l) * in.transmission *
                              chain::quantumEfficiency(in, l) *
                              (first + chain::zeroOrder(in, o.alpha, l));
        sum +=
            (i == 0 || i == steps ? kSkyStepA / 2 : kSkyStepA) * chain::skyPhotons(in, l) * passed;
    }
    return sum;
}

// The rates one evaluation needs, in electrons per second.
struct Rates {
    double star0;     // the star at magnitude 0, one binned pixel along the dispersion
    double star;      // the star
    double sky;       // sky in one binned pixel
    double dark;      // dark in one binned pixel
    double rows;      // binned rows summed
    double read2;     // read-noise variance of one exposure over those rows
    double fraction;  // of the star's light those rows hold: star0 and star are that share
    // Everything but the star's own photon noise, per second.
    double background() const { return sky * rows + dark * rows; }
    // The same summed over n pixels along the dispersion (a resolution element).
    Rates over(double n) const {
        return {star0 * n, star * n, sky * n, dark * n, rows, read2 * n, fraction};
    }
};

// Star electrons per second per Å reaching the detector.
double starPerAngstrom(const DesignInput& in, const Spectral& s, double magnitude) {
    return chain::sourcePhotons(in, s.lambdaA) * magnitudeFactor(magnitude) * chain::area(in) *
           s.efficiency(in) * s.slit;
}

Rates rates(const DesignInput& in, const Optics& o, const Spectral& s) {
    const double pixelAngle =
        o.convergent ? o.p / in.focale_mm * kArcsecPerRadian
                     : in.collimateur_mm * o.p / in.objectif_mm / in.focale_mm * kArcsecPerRadian;
    const Extraction x = extraction(in, o);
    Rates k{};
    // The sky shines inside the atmosphere: no extinction.
    if (o.slit) {
        // The slit's image without the anamorphic factor: r widens each
        // wavelength's image of the slit as much as it spreads the sky's
        // wavelengths over it, so the sky per pixel is the surface
        // brightness × slit width × pixel height × Å per pixel whatever r.
        const double image = in.fente_um / 1000 * in.objectif_mm / in.collimateur_mm;
        const double band =
            std::min(photometry::kSkyBandLimit, s.dispersion * image / (in.bin_x * o.p));
        k.sky = chain::skyPhotons(in, s.lambdaA) * chain::area(in) * band * pixelAngle * in.bin_x *
                pixelAngle * in.bin_y * s.instrument(in);
    } else {
        k.sky = o.slitlessSky * chain::area(in) * pixelAngle * in.bin_x * pixelAngle * in.bin_y;
    }
    k.fraction = x.fraction;
    k.star0 = starPerAngstrom(in, s, 0) * s.dispersion * x.fraction;
    k.star = magnitudeFactor(in.mag_etoile) * k.star0;
    const CameraAsRun camera = cameraAsRun(in);
    k.dark = camera.dark * in.bin_x * in.bin_y;
    k.rows = x.rows;
    k.read2 = camera.readNoise * camera.readNoise * k.rows;
    return k;
}

double signalToNoise(const Rates& k, double t, double n) {
    return t * k.star / std::sqrt(k.read2 * n + t * (k.background() + k.star));
}

// Peak electrons per second in the brightest binned pixel: the star's
// share of the central row, plus sky and dark.
double peakRate(const DesignInput& in, const Optics& o, const Rates& k) {
    const double rowFraction = gaussianFraction(o.p * in.bin_y, fwhmAcross(in, o));
    return k.star / k.fraction * rowFraction + k.sky + k.dark;
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
    return -2.5 * fn::log10(P / k.star0);
}

void fillTarget(const DesignInput& in, const Rates& k, double peak, DesignResult& r) {
    if (in.cible_snr <= 0) {
        r.pose_cible_s = r.magnitude_limite = r.poses_min_cible = NAN;
        return;
    }
    const Rates planned = in.snr_par_element ? k.over(r.echantillonnage_px) : k;
    r.pose_cible_s = exposureFor(planned, in.cible_snr, in.poses);
    r.magnitude_limite = limitingMagnitude(planned, in.cible_snr, in.pose_s, in.poses);
    const double well = cameraAsRun(in).saturation;
    r.saturation_cible = r.pose_cible_s / in.poses * peak >= well;
    r.poses_min_cible = std::floor(r.pose_cible_s * peak / well) + 1;
}

}  // namespace

double slitlessSky(const DesignInput& in, const Optics& o) {
    return integrateSlitlessSky(in, o);
}

double skyPerPixel(const DesignInput& in, const Optics& o) {
    return rates(in, o, spectralAt(in, o, in.lambda_a, o.beta)).sky;
}

void fillPhotometry(const DesignInput& in, const Optics& o, DesignResult& r) {
    const Spectral s = spectralAt(in, o, in.lambda_a, o.beta);
    const Rates k = rates(in, o, s);
    r.snr = signalToNoise(k, in.pose_s, in.poses);
    r.snr_element = signalToNoise(k.over(r.echantillonnage_px), in.pose_s, in.poses);
    r.signal_e_s_a = starPerAngstrom(in, s, in.mag_etoile);
    r.rendement = s.efficiency(in);
    r.transmission_fente = s.slit;
    r.rangees_extraites = k.rows;
    r.fraction_extraite = k.fraction;
    const double peak = peakRate(in, o, k);
    r.electrons_pic = in.pose_s / in.poses * peak;
    const CameraAsRun camera = cameraAsRun(in);
    r.bruit_reglage_e = camera.readNoise;
    r.saturation_e = camera.saturation;
    r.obscurite_pose_e_s = camera.dark;
    r.adu_pic = r.electrons_pic / camera.eAdu;
    r.saturation = r.electrons_pic >= camera.saturation;
    r.poses_min = std::floor(in.pose_s * peak / camera.saturation) + 1;
    fillTarget(in, k, peak, r);
    // Second-order light from the atmosphere's cut upwards lands at twice its wavelength.
    r.recouvrement_ordre2_a = r.lambda_max_a > 2 * kAtmosphereCutA ? 2 * kAtmosphereCutA : NAN;
}

std::vector<SpectralPoint> spectrum(const DesignInput& in, int points) {
    return spectrum(in, evaluate(in), points);
}

std::optional<SpectralPoint> spectralPointAt(const DesignInput& in, const DesignOutcome& outcome,
                                             double lambdaA) {
    const Optics& o = outcome.grating;
    if (!outcome.result || lambdaA <= 0 || std::fabs(sinBeta(o, lambdaA)) >= 1) return {};
    const Spectral s = spectralAt(in, o, lambdaA, betaAt(o, lambdaA));
    const Rates k = rates(in, o, s);
    const double n = outcome.result->echantillonnage_px;
    return SpectralPoint{lambdaA,
                         s.atmosphere,
                         s.telescope,
                         s.grating,
                         s.qe,
                         s.slit,
                         s.efficiency(in),
                         starPerAngstrom(in, s, in.mag_etoile),
                         signalToNoise(k, in.pose_s, in.poses),
                         signalToNoise(k.over(n), in.pose_s, in.poses)};
}

double assumedInstrumentAt(const DesignInput& in, const DesignOutcome& outcome, double lambdaA) {
    const Optics& o = outcome.grating;
    return spectralAt(in, o, lambdaA, betaAt(o, lambdaA)).assumed(in);
}

std::vector<SpectralPoint> spectrum(const DesignInput& in, const DesignOutcome& outcome,
                                    int points) {
    if (!outcome.result) return {};
    const DesignResult& r = *outcome.result;
    std::vector<SpectralPoint> rows;
    for (int i = 0; i <= points; ++i) {
        const double lambdaA = r.lambda_min_a + (r.lambda_max_a - r.lambda_min_a) * i / points;
        if (const auto p = spectralPointAt(in, outcome, lambdaA)) rows.push_back(*p);
    }
    return rows;
}

}  // namespace kelvora::design
