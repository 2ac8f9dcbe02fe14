#include "model/design/sun.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/design/camera.h"
#include "model/design/chain.h"
#include "model/design/design_internal.h"
#include "model/mathfn.h"
#include "model/photometry.h"

namespace kelvora::design {

namespace {

constexpr double kDegree = kPi / 180;
// The Sun's angular radius at 1 AU (Auwers), its V magnitude (Willmer 2018)
// and the solar drift across a stopped mount (″ per second of time).
constexpr double kRadiusAt1Au = 959.63, kSunV = -26.76, kDriftArcsecPerS = 15.0;

// Linear limb darkening u against λ (Å), Allen's Astrophysical Quantities.
double limbDarkening(double lambdaA) {
    static const Curve u{{4000, 0.82}, {5000, 0.70}, {6000, 0.60}, {7000, 0.53}};
    return chain::interpolate(u, lambdaA);
}

// Days from 2000 January 1.5 (J2000.0) to noon UT of a Gregorian date.
double daysFromJ2000(int y, int m, int d) {
    // Fliegel & Van Flandern's integer Julian day number, then noon.
    const int a = (14 - m) / 12, yy = y + 4800 - a, mm = m + 12 * a - 3;
    const long jdn = d + (153 * mm + 2) / 5 + 365L * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
    return static_cast<double>(jdn) - 2451545.0;
}

bool validDate(int y, int m, int d) {
    if (y < 1900 || y > 2100 || m < 1 || m > 12 || d < 1) return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return d <= days[m - 1];
}

}  // namespace

std::span<const SolarLine> solarLines() {
    // Residual intensity and core width at half depth, disc centre: the
    // Kitt Peak FTS and Neckel & Labs atlases, to about 20 % (docs/physics.md).
    static constexpr std::array<SolarLine, 9> kLines{{
        {"halpha", "Hα", 6562.8, 0.16, 1.0},
        {"hbeta", "Hβ", 4861.3, 0.25, 0.8},
        {"cak", "Ca II K", 3933.7, 0.07, 0.4},
        {"cah", "Ca II H", 3968.5, 0.08, 0.4},
        {"hed3", "He I D3", 5875.6, 1.0, 0.0},  // no absorption on the quiet disc
        {"nad1", "Na D1", 5895.9, 0.05, 0.4},
        {"nad2", "Na D2", 5890.0, 0.04, 0.4},
        {"mgb1", "Mg b1", 5183.6, 0.08, 0.6},
        {"fe6173", "Fe I 6173", 6173.3, 0.37, 0.1},
    }};
    return kLines;
}

const SolarLine* findSolarLine(std::string_view key) {
    for (const SolarLine& l : solarLines())
        if (key == l.key) return &l;
    return nullptr;
}

double coreProfile(const SolarLine& line, double deltaA) {
    if (!(line.coreA > 0)) return 1;
    const double x = deltaA / line.coreA;
    return 1 - (1 - line.residual) * fn::exp(-4 * fn::log(2.0) * x * x);
}

// The template's 10 Å bins hold the line itself: the continuum is read beside it.
ContinuumBeside continuumBeside(const DesignInput& in, double lambdaA) {
    DesignInput sun = in;
    sun.type_spectral = "G2V", sun.temperature_k = 0, sun.bande = "V";
    return {chain::sourcePhotons(sun, lambdaA - kBesideA),
            chain::sourcePhotons(sun, lambdaA + kBesideA)};
}

double ContinuumBeside::at(double lambdaA, double centreA) const {
    const double t = (lambdaA - centreA + kBesideA) / (2 * kBesideA);
    return (blue + t * (red - blue)) / ((blue + red) / 2);
}

// The Astronomical Almanac's low-precision solar coordinates (≈ 0.01°).
std::optional<SunOnDate> sunOn(std::string_view iso) {
    int y = 0, m = 0, d = 0;
    if (iso.size() != 10 || iso[4] != '-' || iso[7] != '-') return std::nullopt;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (iso[i] < '0' || iso[i] > '9') return std::nullopt;
    const auto number = [&](std::size_t at, std::size_t n) {
        int v = 0;
        for (std::size_t i = at; i < at + n; ++i) v = 10 * v + (iso[i] - '0');
        return v;
    };
    y = number(0, 4), m = number(5, 2), d = number(8, 2);
    if (!validDate(y, m, d)) return std::nullopt;
    const double n = daysFromJ2000(y, m, d);
    const double L = 280.460 + 0.9856474 * n, g = (357.528 + 0.9856003 * n) * kDegree;
    const double lambda = (L + 1.915 * fn::sin(g) + 0.020 * fn::sin(2 * g)) * kDegree;
    const double epsilon = (23.439 - 0.0000004 * n) * kDegree;
    const double r = 1.00014 - 0.01671 * fn::cos(g) - 0.00014 * fn::cos(2 * g);
    return SunOnDate{kRadiusAt1Au / r, fn::asin(fn::sin(epsilon) * fn::sin(lambda)) / kDegree, r};
}

namespace {

// Photons s⁻¹ cm⁻² Å⁻¹ arcsec⁻² at disc centre: the Sun's flux (a G2V star
// of V = −26.76) over its disc, brightened at the centre by 1/(1 − u/3).
double centrePhotons(const DesignInput& in, double lambdaA, double radiusArcsec) {
    const ContinuumBeside c = continuumBeside(in, lambdaA);
    const double flux = (c.blue + c.red) / 2 * fn::pow(10, -0.4 * kSunV);
    return flux / (kPi * radiusArcsec * radiusArcsec) / (1 - limbDarkening(lambdaA) / 3);
}

void fillGeometry(const DesignInput& in, const SolvedGrating& o, const SunOnDate& sun,
                  DesignResult& r) {
    const double toSensor = in.objectif_mm / in.collimateur_mm;  // along the slit: no r
    r.soleil_diametre_mm = 2 * sun.radiusArcsec / kArcsecPerRadian * in.focale_mm;
    r.soleil_diametre_px = r.soleil_diametre_mm * toSensor / (o.p * in.bin_y);
    r.couverture_fente = in.fente_longueur_mm / r.soleil_diametre_mm;
    r.couverture_capteur = in.pixels_fente / r.soleil_diametre_px;
    r.echelle_arcsec_px = o.p * in.bin_y / toSensor / in.focale_mm * kArcsecPerRadian;
    const double drift =
        kDriftArcsecPerS * fn::cos(sun.declinationDeg * kDegree) * in.vitesse_balayage;
    r.cadence_ips = drift / r.echelle_arcsec_px;
    r.duree_balayage_s = 2 * sun.radiusArcsec * (1 + in.marge_pct / 100) / drift;
    r.images_balayage = std::ceil(r.duree_balayage_s * r.cadence_ips);
    // An unknown converter depth is stored as cameras deliver it: 16-bit words.
    const double bytes = in.bits_adc > 0 && in.bits_adc <= 8 ? 1 : 2;
    r.volume_mo = r.images_balayage * in.roi_rangees * in.pixels_fente * bytes / 1e6;
    r.pose_max_ms = 1000 / r.cadence_ips;
}

}  // namespace

const char* coreVerdict(const DesignResult& r) {
    if (!std::isfinite(r.coeur_a)) return "";
    return r.isole_coeur ? "la fente isole le cœur" : "bande plus large que le cœur";
}

void fillSun(const DesignInput& in, const SolvedGrating& o, DesignResult& r) {
    const std::optional<SunOnDate> sun = sunOn(in.date);
    if (!sun) return;  // refused before: checkInputs
    r.soleil = true;
    r.soleil_rayon_arcsec = sun->radiusArcsec;
    r.soleil_declinaison_deg = sun->declinationDeg;
    fillGeometry(in, o, *sun, r);
    // The slit's image across the dispersion, with the anamorphic factor, in Å.
    const double slitImage =
        in.fente_um / 1000 * in.objectif_mm / in.collimateur_mm * r.anamorphose;
    r.bande_passante_a = slitImage / (o.p * in.bin_x) * r.dispersion_a_px;
    const SolarLine* line = findSolarLine(in.raie);
    r.coeur_a = line && line->coreA > 0 ? line->coreA : NAN;
    r.isole_coeur = r.bande_passante_a <= r.coeur_a;
    // Photometry at disc centre: an extended source, as the sky through the
    // slit: brightness × slit width (″) × pixel height (″) × Å per pixel.
    const double slitArcsec = in.fente_um / 1000 / in.focale_mm * kArcsecPerRadian;
    // The star's chain at λ, with the ratio the user's calibrations measured.
    const double efficiency = r.rendement * in.filtre_transmission;
    const double continuum = centrePhotons(in, in.lambda_a, sun->radiusArcsec) * chain::area(in) *
                             slitArcsec * r.echelle_arcsec_px * r.dispersion_a_px * efficiency;
    const CameraAsRun camera = cameraAsRun(in);
    r.pose_continuum_ms = in.remplissage_pct / 100 * camera.saturation / continuum * 1000;
    const double t = r.pose_continuum_ms / 1000, dark = camera.dark * in.bin_x * in.bin_y * t;
    const auto snr = [&](double signal) {
        return signal / std::sqrt(signal + dark + camera.readNoise * camera.readNoise);
    };
    r.snr_continuum = snr(continuum * t);
    r.snr_coeur = line ? snr(continuum * line->residual * t) : NAN;
}

}  // namespace kelvora::design
