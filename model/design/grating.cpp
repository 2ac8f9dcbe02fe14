// Grating equation, dispersion, range, resolution and sizes.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/design/design_internal.h"
#include "model/mathfn.h"

namespace kelvora::design {

namespace {

struct Rule {
    const char* key;
    double value;
    bool ok;
    const char* need;
};

std::string impossible(const Rule& r) {
    return std::string("valeur impossible : ") + r.key + " = " + frenchNumber(r.value, 6) + " (" +
           r.need + ")";
}

double degrees(double radians) {
    return radians * 180 / kPi;
}
double radians(double degrees) {
    return degrees * kPi / 180;
}

}  // namespace

double wavelengthOnPixel(const DesignInput& in, const Optics& o, double pixel) {
    double beta = 0;
    if (o.convergent) {
        beta = fn::atan((pixel - in.ordre0_px) * o.p / in.distance_capteur_mm);
    } else {
        beta = o.beta + fn::atan((pixel - in.pixels / 2) * o.p / in.objectif_mm);
        beta = std::clamp(beta, -kPi / 2, kPi / 2);
    }
    return (fn::sin(o.alpha) + fn::sin(beta)) / o.mN * kAngstromsPerMm;
}

std::string frenchNumber(double value, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, value);
    std::string s = buf;
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string checkInputs(const DesignInput& in) {
    const bool conv = in.geometrie == Geometry::Convergent;
    const Rule rules[] = {
        {"diametre_mm", in.diametre_mm, in.diametre_mm > 0, "doit être > 0"},
        {"focale_mm", in.focale_mm, in.focale_mm > 0, "doit être > 0"},
        {"seeing_arcsec", in.seeing_arcsec, in.seeing_arcsec > 0, "doit être > 0"},
        {"traits_mm", in.traits_mm, in.traits_mm > 0, "doit être > 0"},
        {"ordre", in.ordre, in.ordre > 0, "doit être > 0"},
        {"incidence_deg", in.incidence_deg, std::fabs(in.incidence_deg) < 90, "entre -90 et 90"},
        {"deviation_deg", in.deviation_deg, in.deviation_deg >= 0 && in.deviation_deg < 180,
         "entre 0 et 180"},
        {"distance_capteur_mm", in.distance_capteur_mm, !conv || in.distance_capteur_mm > 0,
         "doit être > 0"},
        {"ordre0_px", in.ordre0_px, !conv || in.ordre0_px < in.pixels,
         "l'ordre 0 doit précéder le dernier pixel"},
        {"collimateur_mm", in.collimateur_mm, conv || in.collimateur_mm > 0, "doit être > 0"},
        {"objectif_mm", in.objectif_mm, conv || in.objectif_mm > 0, "doit être > 0"},
        {"distance_objectif_mm", in.distance_objectif_mm, in.distance_objectif_mm >= 0,
         "doit être ≥ 0"},
        {"lambda_a", in.lambda_a, in.lambda_a > 0, "doit être > 0"},
        {"fente_um", in.fente_um, in.fente_um >= 0, "0 sans fente, sinon > 0"},
        {"pixel_um", in.pixel_um, in.pixel_um > 0, "aucun pixel : doit être > 0"},
        {"pixels", in.pixels, in.pixels >= 1, "aucun pixel : au moins 1"},
        {"bruit_e", in.bruit_e, in.bruit_e >= 0, "doit être ≥ 0"},
        {"obscurite_e_s", in.obscurite_e_s, in.obscurite_e_s >= 0, "doit être ≥ 0"},
        {"puits_e", in.puits_e, in.puits_e > 0, "doit être > 0"},
        {"qe", in.qe, in.qe > 0 && in.qe <= 1, "entre 0 et 1"},
        {"bin_x", in.bin_x, in.bin_x >= 1, "au moins 1"},
        {"bin_y", in.bin_y, in.bin_y >= 1, "au moins 1"},
        {"pose_s", in.pose_s, in.pose_s > 0, "doit être > 0"},
        {"poses", in.poses, in.poses >= 1, "au moins 1"},
        {"transmission", in.transmission, in.transmission > 0 && in.transmission <= 1,
         "entre 0 et 1"},
        {"cible_snr", in.cible_snr, in.cible_snr >= 0, "0 sans cible, sinon > 0"},
        {"masse_air", in.masse_air, in.masse_air == 0 || in.masse_air >= 1,
         "0 hors atmosphère, sinon au moins 1"},
        {"altitude_m", in.altitude_m, in.altitude_m >= -500, "au moins -500"},
        {"aerosols", in.aerosols, in.aerosols >= 0, "doit être ≥ 0"},
        {"obstruction_pct", in.obstruction_pct, in.obstruction_pct >= 0 && in.obstruction_pct < 100,
         "entre 0 et 100"},
        {"miroirs", in.miroirs, in.miroirs >= 0, "doit être ≥ 0"},
        {"blaze_a", in.blaze_a, in.blaze_a >= 0 && in.blaze_a * in.traits_mm / 2e7 <= 1,
         "0 sans blaze, sinon > 0 et N·λ_B/2 ≤ 1"},
        {"efficacite_reseau", in.efficacite_reseau,
         in.efficacite_reseau > 0 && in.efficacite_reseau <= 1, "entre 0 et 1"},
        {"temperature_k", in.temperature_k, in.temperature_k >= 0, "0 spectre plat, sinon > 0"},
    };
    for (const Rule& r : rules) {
        if (!std::isfinite(r.value)) return impossible({r.key, r.value, false, "nombre fini"});
        if (!r.ok) return impossible(r);
    }
    return {};
}

std::string solveGrating(const DesignInput& in, Optics& o) {
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
            x = G - fn::sin(o.alpha);
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
        return std::string("pas de diffraction : ") + form + " = " + frenchNumber(x, 3) +
               " > 1 ; longueur d'onde maximale " + frenchNumber(std::round(lambdaMax), 15) + " Å";
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
    return {};
}

double dispersionAt(const DesignInput& in, const Optics& o, double beta) {
    const double cosb = fn::cos(beta), binned = o.p * in.bin_x;
    if (o.convergent)
        return cosb * cosb * cosb / (o.mN * in.distance_capteur_mm) * kAngstromsPerMm * binned;
    return cosb / (o.mN * in.objectif_mm) * kAngstromsPerMm * binned;
}

double betaAt(const Optics& o, double lambdaA) {
    return fn::asin(o.mN * lambdaA / kAngstromsPerMm - fn::sin(o.alpha));
}

void fillGeometry(const DesignInput& in, const Optics& o, DesignResult& r) {
    r.alpha_deg = degrees(o.alpha);
    r.beta_deg = degrees(o.beta);
    const double cosb = fn::cos(o.beta);
    // The range from the sensor's two edges; below 0 is the other side of the zero order.
    const double first = wavelengthOnPixel(in, o, 0), last = wavelengthOnPixel(in, o, in.pixels);
    r.lambda_min_a = std::max(0.0, std::min(first, last));
    r.lambda_max_a = std::max(first, last);
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
// focused at λ: the rays of the pupil's edge land 3 D tan β / (8 F² cos⁴ β)
// (mm) beyond the chief ray along the dispersion (Hoag & Schroeder 1970;
// docs/physics.md derives it). 0 in the collimated geometries.
double convergentComa(const DesignInput& in, const Optics& o) {
    if (!o.convergent) return 0;
    const double F = in.focale_mm / in.diametre_mm, c = fn::cos(o.beta);
    return 3 * in.distance_capteur_mm * fn::tan(o.beta) / (8 * F * F * c * c * c * c);
}

// The star's image along the dispersion, the pixel, the grating's
// diffraction limit and, in the converging beam, its aberration, each as a
// width in Å, add in quadrature.
void fillResolution(const DesignInput& in, const Optics& o, DesignResult& r) {
    double image = o.seeingDisc;  // mm on the detector
    if (!o.convergent) {
        const double entrance = o.slit ? std::min(in.fente_um / 1000, o.seeingDisc) : o.seeingDisc;
        image = entrance * in.objectif_mm / in.collimateur_mm * r.anamorphose;
    }
    const double binned = o.p * in.bin_x;
    r.image_entree_px = image / binned;
    const double imageA = r.image_entree_px * r.dispersion_a_px;
    const double pixelA = r.dispersion_a_px;
    const double diffractionA = in.lambda_a / (o.mN * r.longueur_reseau_mm);
    const double aberrationA = convergentComa(in, o) / binned * r.dispersion_a_px;
    r.element_resolution_a = std::sqrt(imageA * imageA + pixelA * pixelA +
                                       diffractionA * diffractionA + aberrationA * aberrationA);
    r.resolution = in.lambda_a / r.element_resolution_a;
    r.echantillonnage_px = r.element_resolution_a / r.dispersion_a_px;
    r.echantillonnage = r.echantillonnage_px < kUnderSampled  ? Sampling::Under
                        : r.echantillonnage_px > kOverSampled ? Sampling::Over
                                                              : Sampling::Good;
}

}  // namespace kelvora::design
