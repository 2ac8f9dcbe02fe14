// A spectroheliograph by hand (docs/physics.md): an 80 mm f/5 refractor,
// collimator 80 mm, objective 125 mm, 2400 lines/mm at 34° of deviation, a
// 10 µm × 4.5 mm slit and a 2.9 µm camera (1936 pixels along the slit), in Hα.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/design/chain.h"
#include "model/design/design.h"
#include "model/design/sun.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

DesignInput build(const char* date) {
    return testkeys::sunBuild(date);
}

// The Almanac's low-precision Sun, noon UT:
//   2026-03-20: n = 9575; g = 357.528 + 0.9856003 n = 9794.406° (74.406°);
//     r = 1.00014 − 0.01671 cos g − 0.00014 cos 2g = 0.995837 AU; δ = −0.043°
//   2026-06-21: n = 9668; r = 1.016251 AU; δ = 23.435°
// Radius 959.63″/r: 963.641″ and 944.284″.
TEST(Sun, WhereTheSunStandsOnADate) {
    struct Case {
        const char* date;
        double radius, declination;
    };
    for (const Case& c : {Case{"2026-03-20", 963.641, -0.043}, Case{"2026-06-21", 944.284, 23.435},
                          Case{"2024-02-29", 0, 0}}) {
        const auto sun = sunOn(c.date);
        ASSERT_TRUE(sun) << c.date;
        if (c.radius == 0) continue;  // a leap day exists
        EXPECT_NEAR(sun->radiusArcsec, c.radius, 1e-3) << c.date;
        EXPECT_NEAR(sun->declinationDeg, c.declination, 1e-3) << c.date;
    }
    for (const char* bad : {"2026-02-29", "2024-02-30", "2026-04-31", "2026-13-01", "2026-3-20",
                            "20260320", "", "1850-01-01"})
        EXPECT_FALSE(sunOn(bad)) << bad;
}

// At the equinox and the June solstice:
//   disc at focus 2 · 963.641″ / 206264.806 · 400 = 3.737492 mm; 944.284″: 3.662416 mm
//   on the sensor × 125/80 / 0.0029: 2013.735 px and 1973.284 px (1936 px: 96.1 %, 98.1 %)
//   the slit covers 4.5 / 3.737492 = 1.20402 of it
//   scale along the slit 0.0029 · 80/125 / 400 · 206264.806 = 0.9570687″/px
//   drift 15.0″/s · cos δ: 15.0000 and 13.7628 ″/s; frames/s 15.6729 and 14.3800
//   scan 2R · 1.1 / drift: 141.334 s and 150.946 s; frames ⌈141.334 · 15.6729⌉ = 2216, 2171
TEST(Sun, TheDiscTheScaleAndTheScan) {
    struct Case {
        const char* date;
        double discMm, discPx, fps, scan, frames;
    };
    for (const Case& c : {Case{"2026-03-20", 3.737492, 2013.735, 15.67285, 141.3341, 2216},
                          Case{"2026-06-21", 3.662416, 1973.284, 14.38003, 150.9464, 2171}}) {
        const DesignResult r = testkeys::result(build(c.date));
        EXPECT_NEAR(r.soleil_diametre_mm, c.discMm, 1e-5) << c.date;
        EXPECT_NEAR(r.soleil_diametre_px, c.discPx, 2e-3) << c.date;
        EXPECT_NEAR(r.couverture_capteur, 1936 / c.discPx, 1e-6) << c.date;
        EXPECT_NEAR(r.echelle_arcsec_px, 0.9570687, 1e-6) << c.date;
        EXPECT_NEAR(r.cadence_ips, c.fps, 1e-4) << c.date;
        EXPECT_NEAR(r.duree_balayage_s, c.scan, 1e-3) << c.date;
        EXPECT_EQ(r.images_balayage, c.frames) << c.date;
        EXPECT_NEAR(r.pose_max_ms, 1000 / c.fps, 1e-3) << c.date;
    }
    EXPECT_NEAR(testkeys::result(build("2026-03-20")).couverture_fente, 1.20402, 1e-5);
    // 2216 frames of 64 rows × 1936 pixels: two bytes a pixel from a 12-bit
    // converter, 549.142528 MB; one from an 8-bit one, 274.571264 MB.
    EXPECT_NEAR(testkeys::result(build("2026-03-20")).volume_mo, 549.142528, 1e-9);
    EXPECT_NEAR(
        testkeys::result(testkeys::designWith({{"bits_adc", "8"}}, build("2026-03-20"))).volume_mo,
        274.571264, 1e-9);
}

// The grating at 34°: m N λ = 2400 · 6562.8e-7 = 1.575072 = 2 sin((α+β)/2) cos 17°,
// so (α+β)/2 = 55.4387°, α = 72.4387°, β = 38.4387°; r = cos α / cos β = 0.385211.
//   Å per pixel: cos β / (2400 · 125) · 1e7 · 0.0029 = 0.0757164 (0.0755 measured: +0.3 %)
//   the slit's image 10 µm · 125/80 · r = 6.01892 µm; bandpass 6.01892/2.9 · 0.0757164 = 0.157149
//   Å, under Hα's 1.0 Å core: the slit isolates it.
TEST(Sun, TheBandpassWithTheAnamorphicFactor) {
    const DesignResult r = testkeys::result(build("2026-03-20"));
    EXPECT_NEAR(r.anamorphose, 0.385211, 1e-6);
    EXPECT_NEAR(r.dispersion_a_px / 0.0755, 1, 0.01) << "the measured build";
    EXPECT_NEAR(r.dispersion_a_px, 0.0757164, 1e-7);
    EXPECT_NEAR(r.bande_passante_a, 0.157149, 1e-6);
    EXPECT_EQ(r.coeur_a, 1.0);
    EXPECT_TRUE(r.isole_coeur);
    const DesignResult wide =
        testkeys::result(testkeys::designWith({{"fente_um", "100"}}, build("2026-03-20")));
    EXPECT_FALSE(wide.isole_coeur) << wide.bande_passante_a;
}

// The frame filled to 70 % of the IMX290's 14,600 e⁻ well: 10,220 e⁻ of
// continuum per pixel; 3.2 e⁻ of read noise, the dark negligible in a
// fraction of a millisecond:
//   S/N continuum 10220 / √(10220 + 3.2²) = 101.0434
//   core at 0.16 of the continuum: 1635.2 / √(1635.2 + 3.2²) = 40.3116
// and a filter of transmission T lengthens the exposure by 1/T.
TEST(Sun, TheExposureAndTheCoresSignalToNoise) {
    const DesignResult r = testkeys::result(build("2026-03-20"));
    EXPECT_NEAR(r.snr_continuum, 101.0434, 2e-3);
    EXPECT_NEAR(r.snr_coeur, 40.3116, 2e-3);
    const DesignResult filtered = testkeys::result(
        testkeys::designWith({{"filtre_transmission", "0.01"}}, build("2026-03-20")));
    EXPECT_NEAR(filtered.pose_continuum_ms / r.pose_continuum_ms, 100, 1e-9);
    EXPECT_LT(r.pose_continuum_ms, r.pose_max_ms);
}

// The exposure that fills 70 % of the well, assembled by hand from the
// chain's factors (each tested on its own): the G2V template's photons at
// V = 0 read 20 Å on either side of Hα, times 10^(0.4 · 26.76), spread over
// the disc (π · 963.641″²) and brightened at its centre by 1/(1 − u/3),
// u = 0.60 + (0.53 − 0.60) · 562.8/1000 = 0.560604 at 6562.8 Å; then
// through the 80 mm aperture (π · 4² = 50.2655 cm²), the slit's width
// 0.010/400 · 206264.806 = 5.156620″, the pixel's 0.9570687″ along the
// slit, 0.0757164 Å per pixel and the chain's efficiency at Hα.
TEST(Sun, TheExposureThatFillsTheWell) {
    const DesignInput in = build("2026-03-20");
    const DesignOutcome o = evaluate(in);
    ASSERT_TRUE(o.result);
    DesignInput g2v = in;
    g2v.type_spectral = "G2V", g2v.temperature_k = 0, g2v.bande = "V";
    const double atV0 = (chain::sourcePhotons(g2v, 6542.8) + chain::sourcePhotons(g2v, 6582.8)) / 2;
    const double centre = atV0 * std::pow(10, 0.4 * 26.76) /
                          (std::numbers::pi * 963.641 * 963.641) / (1 - 0.560604 / 3);
    const double efficiency = chain::atmosphere(in, 6562.8) * chain::telescope(in, 6562.8) * 0.9 *
                              chain::grating(in, o.grating.alpha, o.grating.beta, 6562.8) *
                              chain::quantumEfficiency(in, 6562.8);
    const double perSecond = centre * 50.26548 * 5.156620 * 0.9570687 * 0.0757164 * efficiency;
    EXPECT_NEAR(o.result->pose_continuum_ms / (0.7 * 14600 / perSecond * 1000), 1, 1e-4);
    // A calibration that measured half the light predicted: twice the exposure.
    DesignInput calibrated = in;
    calibrated.etalonnages = {{{{6000, 0.5}, {7000, 0.5}}, "2026-03-01", "Véga", "", 80, {}}};
    calibrated.etalonnages[0].instrument = calibratedWith(calibrated);
    EXPECT_NEAR(testkeys::result(calibrated).pose_continuum_ms / o.result->pose_continuum_ms, 2,
                1e-12);
}

// Without a line there is no core to isolate nor to expose.
TEST(Sun, WithoutALineNoCore) {
    const DesignResult r =
        testkeys::result(testkeys::designWith({{"raie", "aucune"}}, build("2026-03-20")));
    EXPECT_TRUE(std::isnan(r.coeur_a));
    EXPECT_TRUE(std::isnan(r.snr_coeur));
    EXPECT_FALSE(r.isole_coeur);
    EXPECT_GT(r.snr_continuum, 0);
    // He I D3 has no core on the quiet disc: none to isolate.
    const DesignResult d3 =
        testkeys::result(testkeys::designWith({{"raie", "hed3"}}, build("2026-03-20")));
    EXPECT_TRUE(std::isnan(d3.coeur_a));
    EXPECT_FALSE(d3.isole_coeur);
}

// A line chosen is the design's wavelength; a star design has none of this.
TEST(Sun, ALineSetsTheWavelengthAndAStarHasNoSun) {
    const DesignInput in =
        testkeys::with({{"source", "soleil"}, {"raie", "cak"}, {"lambda_a", "5000"}});
    EXPECT_EQ(in.lambda_a, 3933.7);
    EXPECT_EQ(testkeys::with({{"raie", "cak"}, {"lambda_a", "5000"}}).lambda_a, 5000);
    EXPECT_FALSE(testkeys::result(testkeys::with({})).soleil);
    EXPECT_TRUE(std::isnan(testkeys::result(testkeys::with({})).cadence_ips));
}

}  // namespace
}  // namespace kelvora::design
