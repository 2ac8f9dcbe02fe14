#pragma once

// The design model: any grating geometry, any sensor, and the planning
// answers (exposure for a target S/N, limiting magnitude, saturation).
// Plain doubles in and out; docs/physics.md gives every formula.

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/detectors.h"
#include "model/instrument.h"
#include "model/photometry.h"

namespace kelvora::design {

enum class Geometry { Normale, Incidence, Littrow, Deviation, Convergent };

// A curve as (x, y) pairs, x increasing.
using Curve = std::vector<std::pair<double, double>>;

// A catalogue pixel in µm as it is written: 5.86, not 5.859999999999999.
double pixelMicrometres(const DetectorModel& d);

// A catalogue figure, or the fallback where the row gives none.
inline double orDefault(double v, double fallback) {
    return v == v ? v : fallback;
}

// The instrument a calibration was measured with: its ratio holds for
// this telescope, these optics, this grating and this sensor. The key
// table's rows marked `instrument`, as files write them (key → text).
struct CalibratedWith {
    std::map<std::string, std::string> keys;
    bool operator==(const CalibratedWith&) const = default;
};

// One calibration on the sky (calibration.h): at each wavelength, what the
// star gave over what the assumed chain predicted. Predictions multiply
// the current design's chain by it, so a changed sensor or grating still
// counts. When, on what, how well, and with which instrument.
struct MeasuredRatio {
    Curve points;  // (λ Å, observed / predicted), λ increasing
    std::string date, star, file;
    double snr = 0;  // the spectrum's S/N per sample: its weight among several
    CalibratedWith instrument;
    bool operator==(const MeasuredRatio&) const = default;
};

// Defaults: the window's default instrument (a 200 mm f/6 Newtonian: two
// mirrors, a quarter obstructed) and first sensor with its curve, normal
// incidence, no slit, an A0 star at airmass 1.2 (56° high); docs/physics.md
// gives the rest. Files of version 1 read their absent keys with
// legacyDefaults(), the meaning they had then.
struct DesignInput {
    double diametre_mm = defaultValue(Control::txtDiametre);
    double focale_mm = defaultValue(Control::txtFocale);
    double seeing_arcsec = defaultValue(Control::txtSeeing);
    double traits_mm = defaultValue(Control::txtTraits);
    double ordre = defaultValue(Control::txtOrdre);
    Geometry geometrie = Geometry::Normale;
    double incidence_deg = 0, deviation_deg = 0;
    double distance_capteur_mm = 25, ordre0_px = 0;  // convergent geometry
    double collimateur_mm = defaultValue(Control::txtCollimateur);
    double objectif_mm = defaultValue(Control::txtChambre);
    double distance_objectif_mm = defaultValue(Control::txtDistance);
    double lambda_a = defaultValue(Control::txtWavelength);
    double fente_um = 0;  // 0: no slit
    std::string detecteur = builtInDetectors()[0].caption;
    double pixel_um = pixelMicrometres(builtInDetectors()[0]);
    double pixels = builtInDetectors()[0].nx;
    double bruit_e = orDefault(builtInDetectors()[0].readNoise, defaultValue(Control::txtBruit));
    double obscurite_e_s = orDefault(builtInDetectors()[0].dark, photometry::kDark);
    double puits_e = builtInDetectors()[0].fullWell;
    double qe = orDefault(builtInDetectors()[0].qe, 1);
    double bin_x = defaultValue(Control::txtBin1), bin_y = defaultValue(Control::txtBin2);
    double mag_etoile = defaultValue(Control::txtMagEtoile);
    double mag_ciel = defaultValue(Control::txtMagCiel);
    double classe_bortle = 0;  // 1–9: the class's typical sky in place of mag_ciel
    double pose_s = defaultValue(Control::txtTi), poses = defaultValue(Control::txtNexposure);
    double transmission = 0.9;
    double cible_snr = 0;  // 0: no target
    // The photometric chain.
    double masse_air = 1.2;  // 0: above the atmosphere
    double altitude_m = 0, aerosols = 0.1;
    // The moon: phase angle (0 full, 180 new), distance to the target and
    // altitude (≤ 0: set, no moonlight), degrees.
    double lune_phase_deg = 90, lune_distance_deg = 90, lune_hauteur_deg = 0;
    double obstruction_pct = 25, miroirs = 2;
    double blaze_a = 0;  // 0: a flat grating efficiency
    double efficacite_reseau = 0.7;
    double efficacite_ordre0 = 0;       // 0: the blaze model's zero order (none without a blaze)
    double temperature_k = 0;           // 0: flat in photons per Å
    std::string type_spectral = "A0V";  // a template's colour; "aucun": temperature_k
    std::string bande = "V";            // the band `mag_etoile` is given in
    bool qe_plate = false;              // the sensor's QE curve, or `qe` at every λ
    bool snr_par_element = false;
    double gain_e_adu = 0;                         // 0: unknown (the spectrum's header says)
    double gain_reglage = 0;                       // the camera's setting; 0 the lowest
    double bits_adc = builtInDetectors()[0].bits;  // 0: unknown
    // The sensor's temperature, and the dark current's law: `obscurite_e_s`
    // at `temperature_reference_c`, doubling every `doublement_obscurite_c`
    // (0: no law, `obscurite_e_s` as it is).
    double temperature_capteur_c = 0;
    double temperature_reference_c = builtInDetectors()[0].darkReferenceC;
    double doublement_obscurite_c = builtInDetectors()[0].darkDoublingC;
    Curve bruit_courbe = builtInDetectors()[0].readNoiseCurve;  // (setting, e⁻); empty: none
    // The Sun as the source, for a spectroheliograph (sun.h).
    bool soleil = false;                             // source: the star, or the Sun
    std::string date = "2026-03-20";                 // the observation's date, AAAA-MM-JJ
    std::string raie = "aucune";                     // a solar line: sets lambda_a
    double pixels_fente = builtInDetectors()[0].ny;  // pixels along the slit
    double fente_longueur_mm = 4.5;
    double vitesse_balayage = 1;  // the mount's drift in solar drifts; 1: stopped
    double marge_pct = 10, roi_rangees = 64, filtre_transmission = 1, remplissage_pct = 70;
    double cadence_max_ips = 0;  // the camera's top frame rate over those rows; 0: not checked
    Curve qe_courbe = builtInDetectors()[0].qeCurve;  // QE shape (nm, relative to its peak)
    std::vector<MeasuredRatio> etalonnages;           // none: the assumed chain alone
};

// The instrument a design describes, as a calibration records it.
CalibratedWith calibratedWith(const DesignInput& in);

// The defaults of files of version 1: no atmosphere, no mirror, no
// obstruction, perfect optics, a flat spectrum, the first sensor at QE 1
// without a curve and the window's read noise.
DesignInput legacyDefaults();

// Takes the sensor's pixel size and count, and its read noise, dark
// current, full well and QE: the catalogue's, or the default where the
// row gives none.
void applyDetector(DesignInput& in, const DetectorModel& detector);

enum class Sampling { Under, Good, Over };

// Results; "not applicable" ones (no camera objective in the convergent
// geometry, no target) are NaN and never shown as numbers.
struct DesignResult {
    double alpha_deg = 0, beta_deg = 0, anamorphose = 0, dispersion_a_px = 0;
    double lambda_min_a = 0, lambda_max_a = 0;
    double image_entree_px = 0, element_resolution_a = 0, resolution = 0, echantillonnage_px = 0;
    Sampling echantillonnage = Sampling::Good;
    double faisceau_mm = 0, longueur_reseau_mm = 0, diametre_objectif_mm = 0,
           ouverture_objectif = 0;
    double snr = 0, electrons_pic = 0;
    bool saturation = false;
    double poses_min = 1;
    double pose_cible_s = 0, magnitude_limite = 0;  // NaN without a target
    double snr_element = 0, signal_e_s_a = 0, rendement = 0, transmission_fente = 1;
    bool saturation_cible = false;
    double poses_min_cible = 0;                           // NaN without a target
    double recouvrement_ordre2_a = 0;                     // NaN: no overlap
    double rangees_extraites = 0, fraction_extraite = 1;  // rows summed, share of the star
    // The camera as run: read noise at the setting, saturation (e⁻), dark at
    // the sensor's temperature (e⁻/s/pixel), the peak in ADU (NaN: gain unknown).
    double bruit_reglage_e = 0, saturation_e = 0, obscurite_pose_e_s = 0, adu_pic = NAN;
    // The Sun's, with `source=soleil` only (sun.h).
    bool soleil = false, isole_coeur = false;
    double soleil_rayon_arcsec = NAN, soleil_declinaison_deg = NAN, soleil_diametre_mm = NAN,
           soleil_diametre_px = NAN, couverture_fente = NAN, couverture_capteur = NAN,
           echelle_arcsec_px = NAN, cadence_ips = NAN, duree_balayage_s = NAN,
           images_balayage = NAN, volume_mo = NAN, bande_passante_a = NAN, coeur_a = NAN,
           pose_max_ms = NAN, pose_continuum_ms = NAN, snr_continuum = NAN, snr_coeur = NAN;
};

// Why a design cannot be read or computed, as data: the face that shows it
// makes the sentence (see describe in labels.h).
struct KeyError {
    enum class Cause {
        UnknownKey,     // no such key
        NotANumber,     // `text` is not a number
        NotWhole,       // `text` or `value` is not a whole number
        UnknownWord,    // `text` is not one of the key's words or names
        NotFinite,      // `value` is infinite or not a number
        OutOfRange,     // `value` breaks the key's limit, said by `need`
        NoDiffraction,  // the sine `value` of the form `need` exceeds 1; `limit`: longest λ (Å)
        NoLight,        // the sensor spans `value` to `limit` (Å), where no light is detected
        NoSignal,       // no star light is detected at `value` (Å)
        OffSensor,      // `value` (Å) does not fall on the sensor, which spans `limit` to `limit2`
        Overflow,       // the S/N is beyond any number: an input beyond any measure
        MoonGeometry,   // the moon's separation `value` lies outside `limit`–`limit2` (°)
        Grazing,        // the angle `need` ("incidence", "diffraction") is `value` (°), at or
                        // beyond 90°, at order `limit`, `limit2` lines/mm and `limit3` Å
        Unsolvable,     // a derived figure `need` is `value`: not positive or not finite
    } cause;
    std::string key = {};   // the key concerned; "" for none
    std::string text = {};  // the text refused
    double value = 0;
    double limit = 0;
    std::string need = {};
    double limit2 = 0;
    double limit3 = 0;
};

// The grating solved for a design: its angles, from which every wavelength's
// place and efficiency follow without solving again.
struct SolvedGrating {
    double alpha = 0, beta = 0;  // radians
    double lambda = 0;           // central wavelength, mm
    double mN = 0;               // order times lines per mm
    double p = 0;                // unbinned pixel, mm
    double seeingDisc = 0;       // FWHM of the star at the telescope focus, mm
    bool convergent = false;
    bool slit = false;  // a slit in a collimated geometry
    // Without a slit, the sky's photons s⁻¹ cm⁻² arcsec⁻² every pixel gets
    // through the chain, the same at every wavelength: found once a design.
    double slitlessSky = 0;
};

struct DesignOutcome {
    std::optional<DesignResult> result;
    SolvedGrating grating;          // valid with a result
    std::optional<KeyError> error;  // when the instrument is impossible
};

DesignOutcome evaluate(const DesignInput& in);
// The same as evaluate(in) for a design that differs from the one `solved`
// answers only in its exposure or its star's magnitude: the geometry and the
// line width, which depend on neither, are solved's.
DesignOutcome relight(const DesignInput& in, const DesignOutcome& solved);

// The grating equation, sin β = m·N·λ − sin α, for another wavelength (Å).
double sinBeta(const SolvedGrating& g, double lambdaA);
// The wavelength (Å) on an unbinned pixel, 0 to nx from the sensor's first edge.
double wavelengthAtPixel(const DesignInput& in, const SolvedGrating& g, double pixel);
// The unbinned pixel where a wavelength lands; NaN if it is not diffracted.
double pixelOfWavelength(const DesignInput& in, const SolvedGrating& g, double lambdaA);
// The resolution element (Å) at another wavelength of a possible design: the
// image, the pixel, the diffraction limit and the coma where that light
// leaves the grating. NaN if it is not diffracted.
double resolutionElementAt(const DesignInput& in, const DesignOutcome& outcome, double lambdaA);

// The photometric chain at one wavelength of a design's range.
struct SpectralPoint {
    double lambda_a, atmosphere, telescope, reseau, qe, fente, rendement, signal_e_s_a, snr,
        snr_element;
};
// At least `points` + 1 wavelengths evenly spread over the range of an
// evaluated design; empty if it is impossible.
std::vector<SpectralPoint> spectrum(const DesignInput& in, const DesignOutcome& outcome,
                                    int points = 60);
std::vector<SpectralPoint> spectrum(const DesignInput& in, int points = 60);
// The chain at one wavelength of an evaluated design; none off the grating.
std::optional<SpectralPoint> spectralPointAt(const DesignInput& in, const DesignOutcome& outcome,
                                             double lambdaA);
// Telescope × optics × grating × sensor as assumed, whether or not a
// measured efficiency takes their place.
double assumedInstrumentAt(const DesignInput& in, const DesignOutcome& outcome, double lambdaA);

// Where "sur-échantillonné" begins: pixels per resolution element.
inline constexpr double kUnderSampled = 2, kOverSampled = 4;
const char* samplingVerdict(Sampling s);
inline constexpr int kGeometryCount = 5;
const char* geometryName(Geometry g);
// « Littrow », « faisceau convergent (sans fente) »…
const char* geometryCaption(Geometry g);
// "normale, incidence, littrow, deviation ou convergent"
std::string geometryList();
std::optional<Geometry> geometryByName(std::string_view name);

}  // namespace kelvora::design
