// The signal-to-noise in each regime, computed by hand from the formulas of
// docs/physics.md on one plain instrument: a 100 mm aperture at f/10, no
// atmosphere, mirror, obstruction or slit, every efficiency 1, a flat
// source (type « aucun », no temperature), 600 lines/mm at normal incidence
// and 5500 Å, collimator and camera of 100 mm, 10 µm pixels, 2″ seeing.
//
//   N₀ = 3.631e-9 · 5500e-8 / (h c) = 1005.338 photons s⁻¹ cm⁻² Å⁻¹
//   A = π/4 · 10² = 78.5398 cm²
//   sin β = 600 · 5500e-7 = 0.33, cos β = 0.943981
//   d = cos β / (600 · 100) · 1e7 · 0.01 = 1.573302 Å per pixel
//   FWHM⊥ = 2 / 206264.8 · 1000 · 100/100 = 0.0096963 mm; k = ⌈2 · 0.96963⌉ = 2 rows
//   φ = erf(2 · 0.01 / (2√2 · 0.0096963 / 2.35482)) = 0.984842
//   P★ = N₀ · 10^(−0.4 V) · A · d · φ = 122343 · 10^(−0.4 V) e⁻/s
//   a = 100 · 0.01 / (100 · 1000) rad = 2.062648″
//   Without a slit every pixel sees the sky of the whole band: the dark
//   sky's colour (photons over V's) 0.398599, 0.556889, 1, 1.343673,
//   2.612874 at 3600, 4380, 5450, 6410, 7980 Å, held beyond, times
//   silicon's edge (1 to 10,000 Å, 0 at 11,000), integrated from 3000 Å:
//   I = 0.398599·600 + (0.398599+0.556889)/2·780 + (0.556889+1)/2·1070
//     + (1+1.343673)/2·960 + (1.343673+2.612874)/2·1570 + 2.612874·(2020+500)
//     = 12260.03 Å
//   P_sky = N₀ · 10^(−0.4 M) · A · I · a² = 4.11854e9 · 10^(−0.4 M)
//   S/N = t P★ / √(σ² k + t (P_sky k + I_d k + P★))
#include <gtest/gtest.h>

#include "tests/support/keyed.h"
#include "tests/support/synthetic_photometry.h"

namespace kelvora::design {
namespace {

DesignInput plain(const char* star, const char* sky, const char* dark, const char* noise,
                  const char* exposure) {
    return testkeys::with({{"diametre_mm", "100"},
                           {"focale_mm", "1000"},
                           {"masse_air", "0"},
                           {"miroirs", "0"},
                           {"obstruction_pct", "0"},
                           {"transmission", "1"},
                           {"efficacite_reseau", "1"},
                           {"courbe_qe", "plate"},
                           {"qe", "1"},
                           {"type_spectral", "aucun"},
                           {"traits_mm", "600"},
                           {"lambda_a", "5500"},
                           {"collimateur_mm", "100"},
                           {"objectif_mm", "100"},
                           {"pixel_um", "10"},
                           {"seeing_arcsec", "2"},
                           {"mag_etoile", star},
                           {"mag_ciel", sky},
                           {"obscurite_e_s", dark},
                           {"doublement_obscurite_c", "0"},
                           {"bruit_e", noise},
                           {"pose_s", exposure},
                           {"poses", "1"}});
}

TEST(DesignRegimes, EachNoiseDominatesInTurn) {
    struct Case {
        const char* regime;
        DesignInput in;
        double snr;
    };
    const Case cases[] = {
        // V = 5, t = 100 s: P★ = 1223.43; S/N ≈ √(t P★) = 349.776.
        {"photons", plain("5", "30", "0", "0", "100"), 349.776},
        // V = 12 under a 16 mag sky, t = 3600 s: P★ = 1.93901, P_sky = 1639.622;
        // S/N = 6980.4 / √(3600 · (3279.244 + 1.939)) = 2.03102.
        {"sky", plain("12", "16", "0", "0", "3600"), 2.03102},
        // V = 10, 1000 e⁻/s of dark, t = 100 s: P★ = 12.2343;
        // S/N = 1223.43 / √(100 · (2000 + 12.2343)) = 2.72735.
        {"dark", plain("10", "30", "1000", "0", "100"), 2.72735},
        // V = 6, 200 e⁻ of read noise, t = 1 s: P★ = 487.058;
        // S/N = 487.058 / √(200² · 2 + 487.058) = 1.71679.
        {"read", plain("6", "30", "0", "200", "1"), 1.71679},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(testkeys::result(c.in).snr / c.snr, 1, 2e-5) << c.regime;
    // Read noise alone: over n pixels the signal grows n times, the read
    // noise √n times, so S/N per element = √n × S/N per pixel.
    const DesignResult read = testkeys::result(cases[3].in);
    EXPECT_NEAR(read.snr_element / read.snr, std::sqrt(read.echantillonnage_px), 0.01);
}

// A Be-star observer's exposure for S/N 100 per pixel at Hα: 200 mm f/10,
// 35 % obstruction, two aluminium mirrors, an IMX533, Littrow 1800 lines/mm
// with the 125/50 mm lenses and a 50 µm slit, a V = 6 star of type B3V at
// airmass 1.2 under a sky of 18, by hand with the template:
//   B3V photons at 6563 over 5500 Å (its 10 Å bins, 6563 between 6560 and
//   6570): 0.51777; A = π/4 · 20² · (1 − 0.35²) = 275.675 cm²
//   k(6563) = 1.0857 τ_R + 0.1 (6563/5500)^−1.3 = 0.130972; T_atm = 10^(−0.4 · 1.2 k) = 0.865233
//   aluminium at 656.3 nm 0.901559, twice: 0.812808; optics 0.9; grating 0.7
//   QE 0.8 · (0.780220 + 0.563 · (0.505495 − 0.780220)) = 0.500440
//   sin β = 1800 · 6563e-7 / 2 = 0.59067; d = cos β / (1800 · 50) · 1e7 · 0.00376 = 0.337110 Å/px
//   FWHM⊥ = 2″ at 2000 mm · 50/125 = 0.0077570 mm; k = ⌈2 · 2.0630⌉ = 5 rows; φ = 0.995677
//   P★ = 1005.338 · 0.51777 · 10^−2.4 · 275.675 · 0.865233 · 0.812807 · 0.9 · 0.7
//        · 0.500440 · 0.337110 · 0.995677 = 42.5160 e⁻/s pinned at 5500 Å, times s,
//        the B3V template's V-band scale (synthetic photometry, ≈ 0.9887), times
//        the slit's share: 50 µm at 2000 mm = 5.15662″ of a 2″ Gaussian (σ 0.849322″),
//        erf(5.15662 / (2√2 · 0.849322)) = erf(2.146584) = 0.997600
//   the slit's image 0.05 · 50/125 = 0.02 mm spans 0.337110 · 0.02/0.00376 = 1.793138 Å
//   P_sky = 1005.338 · 10^−7.2 · 1.467360 (the sky's colour at Hα) · 275.675 · 1.793138
//        · (0.969445″)² · 0.812807 · 0.9 · 0.7 · 0.500440 = 0.0110812 e⁻/s
//   Q = 5 · (0.0110812 + 0.001) + P★; A_n = 3.5² · 5
//   t = [10⁴ Q + √(10⁸ Q² + 4 P★² 10⁴ A_n)] / (2 P★²) = 240.26 s
TEST(DesignRegimes, TheBeStarsExposureByHand) {
    const DesignResult r = testkeys::result(testkeys::with({{"diametre_mm", "200"},
                                                            {"focale_mm", "2000"},
                                                            {"obstruction_pct", "35"},
                                                            {"detecteur", "IMX533"},
                                                            {"geometrie", "littrow"},
                                                            {"traits_mm", "1800"},
                                                            {"lambda_a", "6563"},
                                                            {"fente_um", "50"},
                                                            {"mag_etoile", "6"},
                                                            {"type_spectral", "B3V"},
                                                            {"cible_snr", "100"}}));
    const double p = 42.5160 * testphot::templateScale("B3V", "V") * 0.997600;
    const double q = 5 * (0.0110812 + 0.001) + p, an = 3.5 * 3.5 * 5;
    const double t = (1e4 * q + std::sqrt(1e8 * q * q + 4 * p * p * 1e4 * an)) / (2 * p * p);
    EXPECT_NEAR(t, 240.26, 0.05);
    EXPECT_NEAR(r.pose_cible_s / t, 1, 1e-3) << "the same arithmetic";
}

}  // namespace
}  // namespace kelvora::design
