// Grating equation, dispersion, range, resolution and sizes.
#include <algorithm>
#include <cmath>

#include "model/design/camera.h"
#include "model/design/design_internal.h"
#include "model/design/keytable.h"
#include "model/design/profile.h"
#include "model/mathfn.h"

namespace kelvora::design {

namespace {

double degrees(double radians) {
    return radians * 180 / kPi;
}
double radians(double degrees) {
    return degrees * kPi / 180;
}

// The grating equation: sin β = m·N·λ − sin α.
double gratingSine(double mNlambda, double alpha) {
    return mNlambda - fn::sin(alpha);
}

KeyError outOfRange(const KeyRow& row, double value, const char* need) {
    return {KeyError::Cause::OutOfRange, row.key, {}, value, 0, need};
}

// The limits the table gives a number, where its key applies.
std::optional<KeyError> checkLimits(const DesignInput& in, const KeyRow& row) {
    if (!row.number || !appliesTo(row, in.geometrie)) return std::nullopt;
    const double v = in.*(row.number);
    if (!std::isfinite(v)) return KeyError{KeyError::Cause::NotFinite, row.key, {}, v};
    if (row.kind == KeyKind::Whole && v != std::floor(v))
        return KeyError{KeyError::Cause::NotWhole, row.key, {}, v};
    if (!within(row.limit, v)) return outOfRange(row, v, row.limit.need);
    return std::nullopt;
}

// A key the mode hides (the moon for the Sun, the Sun's fill for a star)
// must not refuse the design.
std::optional<KeyError> checkRow(const DesignInput& in, const KeyRow& row) {
    return shownFor(row, in.soleil) ? checkLimits(in, row) : std::nullopt;
}

// The moon's separation from the target is bounded by their zenith
// distances, the sides of the spherical triangle they make with the zenith:
// |z★ − z☾| ≤ ρ ≤ z★ + z☾ (z★ from the airmass, as the moonlight takes it).
std::optional<KeyError> checkMoon(const DesignInput& in) {
    if (in.soleil || in.lune_hauteur_deg <= 0 || in.masse_air < 1) return std::nullopt;
    const double target = std::acos(1 / in.masse_air) * 180 / kPi, moon = 90 - in.lune_hauteur_deg;
    const double lo = std::fabs(target - moon), hi = std::min(180.0, target + moon);
    const double rho = in.lune_distance_deg;
    if (rho >= lo - 1e-9 && rho <= hi + 1e-9) return std::nullopt;
    return KeyError{KeyError::Cause::MoonGeometry, "lune_distance_deg", {}, rho, lo, {}, hi};
}

// A spectroheliograph images the Sun through its slit: without one, or
// without the collimated beam that puts it on the sensor, there is neither
// bandpass nor scan to speak of.
std::optional<KeyError> checkSunSlit(const DesignInput& in) {
    if (!in.soleil) return std::nullopt;
    if (in.geometrie == Geometry::Convergent)
        return KeyError{KeyError::Cause::OutOfRange,
                        "geometrie",
                        "convergent",
                        0,
                        0,
                        "un spectrohéliographe a une fente : géométrie collimatée"};
    if (in.fente_um > 0) return std::nullopt;
    return outOfRange(*findKey("fente_um"), in.fente_um, "un spectrohéliographe a une fente : > 0");
}

// The rules that tie a key to another.
std::optional<KeyError> checkPairs(const DesignInput& in) {
    const KeyRow& order0 = *findKey("ordre0_px");
    if (appliesTo(order0, in.geometrie) && !(in.ordre0_px < in.pixels))
        return outOfRange(order0, in.ordre0_px, "l'ordre 0 doit précéder le dernier pixel");
    const KeyRow& blaze = *findKey("blaze_a");
    if (!(in.blaze_a * in.traits_mm / 2e7 <= 1))
        return outOfRange(blaze, in.blaze_a, blaze.limit.need);
    if (auto e = checkCamera(in)) return e;
    if (auto e = checkSunSlit(in)) return e;
    return checkMoon(in);
}

// Light cannot arrive or leave at or beyond 90° from the grating's normal:
// every size and factor past that point (cos α, cos β ≤ 0) is meaningless.
std::optional<KeyError> grazing(const DesignInput& in, const Optics& o) {
    for (const auto& [angle, name] : {std::pair{o.alpha, "incidence"}, {o.beta, "diffraction"}}) {
        const double deg = degrees(angle);
        if (std::fabs(deg) < 90 && fn::cos(angle) > 0) continue;
        return KeyError{
            KeyError::Cause::Grazing, "", {}, deg, in.ordre, name, in.traits_mm, in.lambda_a};
    }
    return std::nullopt;
}

}  // namespace

double sinBeta(const SolvedGrating& g, double lambdaA) {
    return gratingSine(g.mN * lambdaA / kAngstromsPerMm, g.alpha);
}

double wavelengthAtPixel(const DesignInput& in, const SolvedGrating& o, double pixel) {
    double beta = 0;
    if (o.convergent) {
        beta = fn::atan((pixel - in.ordre0_px) * o.p / in.distance_capteur_mm);
    } else {
        beta = o.beta + fn::atan((pixel - in.pixels / 2) * o.p / in.objectif_mm);
        beta = std::clamp(beta, -kPi / 2, kPi / 2);
    }
    return (fn::sin(o.alpha) + fn::sin(beta)) / o.mN * kAngstromsPerMm;
}

double pixelOfWavelength(const DesignInput& in, const SolvedGrating& o, double lambdaA) {
    const double s = sinBeta(o, lambdaA);
    if (std::fabs(s) >= 1) return NAN;
    const double beta = fn::asin(s);
    if (o.convergent) return in.ordre0_px + in.distance_capteur_mm * fn::tan(beta) / o.p;
    return in.pixels / 2 + in.objectif_mm * fn::tan(beta - o.beta) / o.p;
}

bool hiddenOutOfLimits(const DesignInput& in) {
    for (const KeyRow& row : keyRows())
        if (!shownFor(row, in.soleil) && checkLimits(in, row)) return true;
    return false;
}

DesignInput withHiddenDefaults(const DesignInput& in) {
    static const DesignInput defaults;
    DesignInput out = in;
    for (const KeyRow& row : keyRows()) {
        if (shownFor(row, in.soleil)) continue;
        if (row.number) out.*(row.number) = defaults.*(row.number);
        if (row.flag) out.*(row.flag) = defaults.*(row.flag);
        if (row.word) out.*(row.word) = defaults.*(row.word);
    }
    return out;
}

std::optional<KeyError> checkInputs(const DesignInput& in) {
    for (const KeyRow& row : keyRows())
        if (auto e = checkRow(in, row)) return e;
    return checkPairs(in);
}

std::optional<KeyError> solveGrating(const DesignInput& in, Optics& o) {
    o.lambda = in.lambda_a / kAngstromsPerMm;
    o.mN = in.ordre * in.traits_mm;
    o.p = in.pixel_um / 1000;
    o.seeingDisc = in.seeing_arcsec / kArcsecPerRadian * in.focale_mm;
    o.convergent = in.geometrie == Geometry::Convergent;
    o.slit = !o.convergent && in.fente_um > 0;
    const double G = o.mN * o.lambda;
    double x = G, scale = 1;  // x = sin of the angle solved for; scale·x ≤ 1 at λmax
    const char* form = "m·N·λ";
    switch (in.geometrie) {
        case Geometry::Normale:
        case Geometry::Convergent:
            break;
        case Geometry::Incidence:
            o.alpha = radians(in.incidence_deg);
            x = gratingSine(G, o.alpha);
            scale = 1 + fn::sin(o.alpha);
            form = "m·N·λ − sin α";
            break;
        case Geometry::Littrow:
            x = G / 2;
            scale = 2;
            form = "m·N·λ / 2";
            break;
        case Geometry::Deviation:
            scale = 2 * fn::cos(radians(in.deviation_deg) / 2);
            x = G / scale;
            form = "m·N·λ / (2 cos(δ/2))";
            break;
    }
    if (std::fabs(x) > 1) {
        const double lambdaMax = scale / o.mN * kAngstromsPerMm;
        return KeyError{KeyError::Cause::NoDiffraction, {}, {}, x, std::round(lambdaMax), form};
    }
    const double angle = fn::asin(x);
    switch (in.geometrie) {
        case Geometry::Littrow:
            o.alpha = o.beta = angle;
            break;
        case Geometry::Deviation:
            o.alpha = angle + radians(in.deviation_deg) / 2;
            o.beta = angle - radians(in.deviation_deg) / 2;
            break;
        default:
            o.beta = angle;
    }
    return grazing(in, o);
}

double dispersionAt(const DesignInput& in, const Optics& o, double beta) {
    const double cosb = fn::cos(beta), binned = o.p * in.bin_x;
    if (o.convergent)
        return cosb * cosb * cosb / (o.mN * in.distance_capteur_mm) * kAngstromsPerMm * binned;
    return cosb / (o.mN * in.objectif_mm) * kAngstromsPerMm * binned;
}

double betaAt(const Optics& o, double lambdaA) {
    return fn::asin(sinBeta(o, lambdaA));
}

void fillGeometry(const DesignInput& in, const Optics& o, DesignResult& r) {
    r.alpha_deg = degrees(o.alpha);
    r.beta_deg = degrees(o.beta);
    const double cosb = fn::cos(o.beta);
    // The range from the sensor's two edges; below 0 is the other side of the zero order.
    const double first = wavelengthAtPixel(in, o, 0), last = wavelengthAtPixel(in, o, in.pixels);
    // Only where light reaches: silicon's edge, and the atmosphere's cut through air.
    r.lambda_min_a = std::max(in.masse_air > 0 ? kAtmosphereCutA : 0.0, std::min(first, last));
    r.lambda_max_a = std::min(kSiliconEdgeA, std::max(first, last));
    r.dispersion_a_px = dispersionAt(in, o, o.beta);
    if (o.convergent) {
        const double L = in.distance_capteur_mm;
        r.anamorphose = 1;
        r.faisceau_mm = in.diametre_mm * L / in.focale_mm;
        r.longueur_reseau_mm = r.faisceau_mm;
        r.diametre_objectif_mm = r.ouverture_objectif = NAN;
        return;
    }
    const double cosa = fn::cos(o.alpha), Fcam = in.objectif_mm;
    r.anamorphose = cosa / cosb;
    r.faisceau_mm = in.diametre_mm * in.collimateur_mm / in.focale_mm;
    r.longueur_reseau_mm = r.faisceau_mm / cosa;
    r.diametre_objectif_mm =
        r.faisceau_mm * cosb / cosa + o.p * in.distance_objectif_mm * in.pixels / Fcam;
    r.ouverture_objectif = Fcam / r.diametre_objectif_mm;
}

// A plane grating in a beam converging at f/F, D before the sensor and
// focused at λ: a ray of the pupil at (ψx, ψy) lands (3/2) D tan β sec⁴β
// (ψx² + ψy²/3) beyond the chief ray; the pupil's edge, 3 D tan β /
// (8 F² cos⁴ β) (Hoag & Schroeder 1970). Over the uniformly lit pupil that
// blur is flat to a third of its extent and falls to half at half of it:
// its FWHM is half the extent (docs/physics.md derives it; a ray trace in
// the tests confirms it). 0 in the collimated geometries.
double convergentComa(const DesignInput& in, const Optics& o, double beta) {
    if (!o.convergent) return 0;
    const double F = in.focale_mm / in.diametre_mm, c = fn::cos(beta);
    return 3 * in.distance_capteur_mm * fn::tan(beta) / (16 * F * F * c * c * c * c);
}

namespace {

// Where light of one wavelength leaves the grating, and what follows.
struct AtWavelength {
    double beta, lambdaA, anamorphose, dispersion;
};

struct Element {
    double imagePx, widthA;
};

// The star's image along the dispersion (cut by the slit), the pixel, the
// grating's diffraction limit and, in the converging beam, its aberration:
// the element is the FWHM of their convolved profile.
Element elementAt(const DesignInput& in, const Optics& o, const AtWavelength& w,
                  double gratingLength) {
    const double binned = o.p * in.bin_x;
    // mm on the detector per mm at the entrance, along the dispersion
    const double scale = o.convergent ? 1 : in.objectif_mm / in.collimateur_mm * w.anamorphose;
    ProfileParts parts;
    parts.seeing = o.seeingDisc * scale / binned;
    parts.slit = o.slit ? in.fente_um / 1000 * scale / binned : 0;
    parts.diffraction = w.lambdaA / (o.mN * gratingLength) / w.dispersion;
    parts.coma = 2 * convergentComa(in, o, w.beta) / binned;
    parts.obstruction = in.obstruction_pct / 100;
    // The narrower of the slit and the star, as the results have always shown it.
    double image = o.seeingDisc;
    if (!o.convergent)
        image = (o.slit ? std::min(in.fente_um / 1000, o.seeingDisc) : o.seeingDisc) *
                in.objectif_mm / in.collimateur_mm * w.anamorphose;
    return {image / binned, convolvedFwhm(parts) * w.dispersion};
}

}  // namespace

void fillResolution(const DesignInput& in, const Optics& o, DesignResult& r) {
    const Element e = elementAt(in, o, {o.beta, in.lambda_a, r.anamorphose, r.dispersion_a_px},
                                r.longueur_reseau_mm);
    r.image_entree_px = e.imagePx;
    r.element_resolution_a = e.widthA;
    r.resolution = in.lambda_a / r.element_resolution_a;
    r.echantillonnage_px = r.element_resolution_a / r.dispersion_a_px;
    r.echantillonnage = r.echantillonnage_px < kUnderSampled  ? Sampling::Under
                        : r.echantillonnage_px > kOverSampled ? Sampling::Over
                                                              : Sampling::Good;
}

double resolutionElementAt(const DesignInput& in, const DesignOutcome& outcome, double lambdaA) {
    const Optics& o = outcome.grating;
    const double s = sinBeta(o, lambdaA);
    if (!outcome.result || std::fabs(s) >= 1) return NAN;
    const double beta = fn::asin(s);
    const double anamorphose = o.convergent ? 1 : fn::cos(o.alpha) / fn::cos(beta);
    const AtWavelength w{beta, lambdaA, anamorphose, dispersionAt(in, o, beta)};
    return elementAt(in, o, w, outcome.result->longueur_reseau_mm).widthA;
}

}  // namespace kelvora::design
