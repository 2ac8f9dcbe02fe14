#include "model/design/design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/design/keys.h"
#include "model/design/keytable.h"
#include "model/design/labels.h"
#include "model/design/lines.h"
#include "model/floatconv.h"
#include "model/numbertext.h"
#include "tests/support/keyed.h"
#include "tests/support/line_profile.h"

namespace kelvora::design {
namespace {

using testkeys::result;
using testkeys::with;

// Published figures of real instruments (docs/physics.md gives the sources).
TEST(DesignRealInstruments, DispersionAndResolution) {
    const DesignResult slitless = result(with({{"geometrie", "convergent"},
                                               {"traits_mm", "100"},
                                               {"distance_capteur_mm", "21"},
                                               {"lambda_a", "6500"}}));
    EXPECT_NEAR(slitless.dispersion_a_px, 43, 1);
    const DesignResult littrow = result(with({{"geometrie", "littrow"},
                                              {"traits_mm", "2400"},
                                              {"collimateur_mm", "200"},
                                              {"objectif_mm", "200"},
                                              {"lambda_a", "6563"},
                                              {"fente_um", "23"},
                                              {"focale_mm", "2000"}}));
    EXPECT_GE(littrow.dispersion_a_px, 0.1155);
    EXPECT_LE(littrow.dispersion_a_px, 0.12);
    // Measured 15,000 to 18,000; the model has no aberrations, focus errors
    // nor guiding errors, and the slit cuts the star's image to its core: it
    // sits above the measured figure, within 50 %.
    EXPECT_GT(littrow.resolution, 15000);
    EXPECT_LT(littrow.resolution, 18000 * 1.5);
}

// A grating in a converging beam blurs its spectrum more as the beam gets
// faster (the same telescope focal length, a larger aperture).
TEST(DesignRealInstruments, ConvergentBeamResolutionFallsWithTheFocalRatio) {
    double previous = INFINITY;
    for (const char* diameter : {"100", "200", "300", "400"}) {
        const DesignResult r = result(with({{"geometrie", "convergent"},
                                            {"traits_mm", "100"},
                                            {"distance_capteur_mm", "40"},
                                            {"diametre_mm", diameter}}));
        EXPECT_LT(r.resolution, previous) << diameter;
        previous = r.resolution;
    }
}

TEST(DesignPlanning, SolvedExposureAndMagnitudeGiveTheTarget) {
    for (const char* geometry : {"normale", "littrow", "convergent"}) {
        DesignInput in = with({{"geometrie", geometry},
                               {"mag_etoile", "8"},
                               {"cible_snr", "100"},
                               {"detecteur", "IMX533"},
                               {"fente_um", "30"}});
        const DesignResult r = result(in);
        DesignInput atExposure = in;
        atExposure.pose_s = r.pose_cible_s;
        EXPECT_NEAR(result(atExposure).snr, 100, 1e-9) << geometry;
        DesignInput atMagnitude = in;
        atMagnitude.mag_etoile = r.magnitude_limite;
        EXPECT_NEAR(result(atMagnitude).snr, 100, 1e-9) << geometry;
    }
    EXPECT_TRUE(std::isnan(result(with({})).pose_cible_s));
}

TEST(DesignPlanning, SaturationAndTheFewestSubExposures) {
    DesignInput bright = with({{"detecteur", "IMX183"}, {"mag_etoile", "1"}, {"pose_s", "600"}});
    const DesignResult r = result(bright);
    EXPECT_TRUE(r.saturation);
    EXPECT_GT(r.electrons_pic, bright.puits_e);
    bright.poses = r.poses_min;
    EXPECT_FALSE(result(bright).saturation);
    bright.poses = r.poses_min - 1;
    EXPECT_TRUE(result(bright).saturation);
}

TEST(DesignGeometries, SpecialCasesAgree) {
    const DesignResult littrow = result(with({{"geometrie", "littrow"}, {"traits_mm", "1200"}}));
    const DesignResult deviation0 =
        result(with({{"geometrie", "deviation"}, {"traits_mm", "1200"}, {"deviation_deg", "0"}}));
    EXPECT_DOUBLE_EQ(littrow.beta_deg, deviation0.beta_deg);
    EXPECT_DOUBLE_EQ(littrow.alpha_deg, littrow.beta_deg);
    const DesignResult dev =
        result(with({{"geometrie", "deviation"}, {"traits_mm", "1200"}, {"deviation_deg", "30"}}));
    EXPECT_NEAR(dev.alpha_deg - dev.beta_deg, 30, 1e-12);
    const DesignResult incidence0 = result(with({{"geometrie", "incidence"}}));
    EXPECT_DOUBLE_EQ(incidence0.dispersion_a_px, result(with({})).dispersion_a_px);
    // The window's slit-less trick is no longer needed: the spectrum of a
    // grating before the sensor starts at the zero order on the sensor's edge.
    const DesignResult conv = result(with({{"geometrie", "convergent"}, {"masse_air", "0"}}));
    EXPECT_EQ(conv.lambda_min_a, 0);
    EXPECT_TRUE(std::isnan(conv.diametre_objectif_mm));
    // The range comes from the exact angles, so it is not centred on λ.
    const DesignResult normale = result(with({}));
    EXPECT_LT(normale.lambda_max_a - 5500, 5500 - normale.lambda_min_a);
}

TEST(DesignSampling, VerdictAroundTwoAndFourPixels) {
    const std::pair<DesignInput, Sampling> cases[] = {
        {with({}), Sampling::Under},
        {with({{"detecteur", "IMX183"}, {"fente_um", "25"}}), Sampling::Good},
        {with({{"detecteur", "IMX183"}, {"seeing_arcsec", "6"}}), Sampling::Over},
        // Just past four pixels (4.28): already over-sampled.
        {with({{"geometrie", "littrow"},
               {"traits_mm", "2400"},
               {"collimateur_mm", "200"},
               {"objectif_mm", "170"},
               {"lambda_a", "6563"},
               {"focale_mm", "2000"},
               {"fente_um", "23"},
               {"detecteur", "IMX533"}}),
         Sampling::Over},
    };
    for (const auto& [in, verdict] : cases) {
        const DesignResult r = result(in);
        EXPECT_EQ(r.echantillonnage, verdict) << r.echantillonnage_px;
    }
}

// Light that leaves the grating at grazing angle has no resolution element:
// 1000 lines/mm at normal incidence sends 10,000 Å out at sin β = 1 exactly.
TEST(DesignLines, NoElementAtGrazingExit) {
    const DesignInput in = with({{"traits_mm", "1000"}, {"lambda_a", "5000"}});
    const DesignOutcome o = evaluate(in);
    ASSERT_TRUE(o.result);
    EXPECT_TRUE(std::isnan(resolutionElementAt(in, o, 10000)));
    EXPECT_GT(resolutionElementAt(in, o, 9000), 0);
}

// Each lamp line on the sensor is counted once, under its own lamp; the
// star's lines under none.
TEST(DesignLines, EachLampCountsItsOwnLines) {
    const LineReport report = linesOnSensor(with({}), builtInLines());
    int counted = 0, lampLines = 0;
    for (const LampCount& l : report.lamps) counted += l.lines;
    for (const LineOnSensor& l : report.lines) lampLines += l.line->kind.starts_with("lampe");
    ASSERT_GT(lampLines, 5);
    EXPECT_EQ(counted, lampLines);
}

// Binning along the dispersion widens the pixel the image is counted in;
// binning across it does not (docs/physics.md: image / (p · bx)).
TEST(DesignSampling, OnlyTheDispersionsBinningCountsTheImage) {
    const double one = result(with({{"bin_x", "1"}, {"bin_y", "1"}})).image_entree_px;
    EXPECT_DOUBLE_EQ(result(with({{"bin_x", "2"}, {"bin_y", "1"}})).image_entree_px, one / 2);
    EXPECT_DOUBLE_EQ(result(with({{"bin_x", "1"}, {"bin_y", "3"}})).image_entree_px, one);
}

TEST(DesignErrors, NameTheCauseAndTheLimit) {
    const std::pair<DesignInput, const char*> cases[] = {
        {with({{"traits_mm", "2400"}, {"lambda_a", "6563"}}),
         "pas de diffraction : m·N·λ = 1.58 > 1 ; longueur d'onde maximale 4167 Å"},
        {with({{"geometrie", "littrow"}, {"traits_mm", "3600"}, {"lambda_a", "6563"}}),
         "pas de diffraction : m·N·λ / 2 = 1.18 > 1 ; longueur d'onde maximale 5556 Å"},
        {with({{"geometrie", "incidence"},
               {"incidence_deg", "30"},
               {"traits_mm", "2400"},
               {"lambda_a", "6563"}}),
         "pas de diffraction : m·N·λ − sin α = 1.08 > 1 ; longueur d'onde maximale 6250 Å"},
        {with({{"focale_mm", "0"}}), "valeur impossible : « Focale (mm) » = 0 (doit être > 0)"},
        {with({{"pixels", "0"}}), "valeur impossible : « Pixels » = 0 (aucun pixel : au moins 1)"},
        {with({{"geometrie", "convergent"}, {"ordre0_px", "768"}}),
         "valeur impossible : « Ordre 0 au pixel » = 768 (l'ordre 0 doit précéder le dernier "
         "pixel)"},
        {with({{"blaze_a", "12000"}, {"traits_mm", "2400"}, {"lambda_a", "4000"}}),
         "valeur impossible : « Blaze (Å) » = 12000 (0 sans blaze, sinon > 0 et N·λ_B/2 ≤ 1)"},
    };
    for (const auto& [in, message] : cases) {
        const DesignOutcome o = evaluate(in);
        EXPECT_FALSE(o.result);
        EXPECT_EQ(testkeys::said(o), message);
    }
}

// A key's limit holds only where its geometry uses it: a field the window
// disables can never be the error.
TEST(DesignErrors, LimitsHoldWhereTheKeyApplies) {
    EXPECT_TRUE(evaluate(with({{"fente_um", "-1"}, {"geometrie", "convergent"}})).result);
    EXPECT_FALSE(evaluate(with({{"fente_um", "-1"}, {"geometrie", "littrow"}})).result);
    EXPECT_TRUE(evaluate(with({{"incidence_deg", "95"}})).result);
    EXPECT_FALSE(evaluate(with({{"incidence_deg", "95"}, {"geometrie", "incidence"}})).result);
}

// A pair's verdict uses the element where the pair lies (docs/physics.md,
// reference lines): normal incidence, no slit, 1200 lines/mm, 2″ seeing at
// f/6, collimator 125 mm, camera 200 mm, 9 µm pixels, W = 200·125/1200 mm.
TEST(DesignLines, APairIsJudgedAtItsOwnWavelength) {
    const char* const pairName = "Hα/[N II] 6583";
    const double mid = (6562.79 + 6583.45) / 2, mN = 1200;
    const double sinb = mN * mid * 1e-7, cosb = std::sqrt(1 - sinb * sinb);
    const double seeingDisc = 2 / 206264.80624709636 * 1200;     // mm
    const double image = seeingDisc / (125 * mN) * 1e7;          // Å, β-free
    const double pixel = cosb * 9e-3 / (mN * 200) * 1e7;         // Å
    const double diffraction = mid / (mN * 200.0 * 125 / 1200);  // Å
    // The FWHM of their convolved profile, in pixels, back to Å.
    const double expected = testprofile::fwhm(image / pixel, 1e9, diffraction / pixel) * pixel;
    for (const char* lambda : {"5000", "6563", "7000"}) {
        const DesignInput in = with({{"traits_mm", "1200"},
                                     {"focale_mm", "1200"},
                                     {"collimateur_mm", "125"},
                                     {"objectif_mm", "200"},
                                     {"seeing_arcsec", "2"},
                                     {"pixel_um", "9"},
                                     {"pixels", "20000"},
                                     {"lambda_a", lambda}});
        const LineReport report = linesOnSensor(in, builtInLines());
        const auto pair =
            std::find_if(report.pairs.begin(), report.pairs.end(),
                         [&](const PairVerdict& v) { return v.pair->name == pairName; });
        ASSERT_NE(pair, report.pairs.end()) << lambda;
        EXPECT_NEAR(pair->element_a, expected, 2e-3 * expected) << lambda;
    }
}

// Where a line lands, and the converging beam's dispersion, by hand from
// docs/physics.md (9 µm pixels, 768 of them, a 50 mm camera):
// at normal incidence, 600 lines/mm set for 6000 Å, Hα leaves at
// β = asin(600 · 6562.79e-7) = 23.2186° against β₀ = asin(0.36) = 21.1002°,
// and lands 384 + 50 tan(2.1184°) / 0.009 = 586.638 pixels from the edge;
// slitless, 100 lines/mm 25 mm before the sensor at 6500 Å:
// cos³(asin 0.065) · 0.009 / (100 · 25) · 1e7 = 35.7721 Å per pixel.
TEST(DesignLines, WhereALineLandsAndTheSlitlessDispersion) {
    const LineReport r =
        linesOnSensor(with({{"traits_mm", "600"}, {"lambda_a", "6000"}}), builtInLines());
    const auto alpha = std::find_if(r.lines.begin(), r.lines.end(),
                                    [](const LineOnSensor& l) { return l.line->name == "Hα"; });
    ASSERT_NE(alpha, r.lines.end());
    EXPECT_NEAR(alpha->pixel, 586.638, 1e-3);
    const DesignResult slitless = result(with({{"geometrie", "convergent"},
                                               {"traits_mm", "100"},
                                               {"distance_capteur_mm", "25"},
                                               {"lambda_a", "6500"}}));
    EXPECT_NEAR(slitless.dispersion_a_px, 35.7721, 1e-4);
}

TEST(DesignKeys, StrictNumbersAndKnownNames) {
    EXPECT_EQ(strictNumber("2.5"), 2.5);
    EXPECT_EQ(strictNumber("-1e-3"), -1e-3);
    for (const char* bad : {"", "2,5", "abc", "50mm", " 1", "inf", "nan", "1e999"})
        EXPECT_FALSE(strictNumber(bad)) << bad;
    const DesignInput in = with({{"detecteur", "IMX571"}});
    EXPECT_EQ(in.pixel_um, 3.76);
    EXPECT_EQ(in.pixels, 6248);
    EXPECT_EQ(in.qe, 0.8);
}

// Each refused key is one error, said the same by every face: with the
// field's label, never the key, and in the face's own decimal separator.
TEST(DesignKeys, RefusedKeysAreDataSaidInFrench) {
    struct Case {
        const char* key;
        const char* text;
        const char* separator;
        const char* said;
    };
    const Case cases[] = {
        {"qe", "2,5", ".",
         "« QE au pic » : « 2,5 » n'est pas un nombre (le séparateur décimal est le point)"},
        {"qe", "abc", ",", "« QE au pic » : « abc » n'est pas un nombre"},
        {"ordre", "1.5", ".", "« Ordre » : « 1.5 » n'est pas un nombre entier"},
        {"bin_x", "2,5", ",", "« Bin X » : « 2,5 » n'est pas un nombre entier"},
        {"poses", "1e400", ".",
         "« Nombre de poses » : « 1e400 » n'est pas un nombre (le séparateur décimal est le "
         "point)"},
        {"geometrie", "droite", ".",
         "« Géométrie » : « droite » n'est pas un choix possible (normale, incidence, littrow, "
         "deviation ou convergent)"},
        {"snr_par", "ligne", ".",
         "« S/N visé » : « ligne » n'est pas un choix possible (pixel ou element)"},
        {"__proto__", "1", ".", "clé inconnue « __proto__ »"},
        {"<b>x</b>", "1", ".", "clé inconnue « <b>x</b> »"},
    };
    for (const Case& c : cases) {
        const std::vector<KeyValue> keys{{c.key, c.text}};
        const KeyedDesign read = designFromKeys(keys, DetectorCatalogue(), {}, c.separator);
        ASSERT_EQ(read.errors.size(), 1u) << c.key;
        EXPECT_EQ(read.errors[0].key, c.key);
        EXPECT_EQ(describe(read.errors[0], c.separator), c.said);
    }
    // A number beyond its limit: the value in the face's separator.
    const DesignOutcome o = evaluate(with({{"qe", "1.5"}}));
    ASSERT_TRUE(o.error);
    EXPECT_EQ(describe(*o.error, ","), "valeur impossible : « QE au pic » = 1,5 (entre 0 et 1)");
}

// The sensor first, whatever the order given: its values are defaults that
// the other keys override, and a sensor named alone gives all of its own.
TEST(DesignKeys, TheSensorFirstInAnyOrder) {
    const DetectorCatalogue catalogue;
    const DesignInput before = with({{"pixel_um", "7"}, {"detecteur", "IMX533"}});
    const DesignInput after = with({{"detecteur", "IMX533"}, {"pixel_um", "7"}});
    EXPECT_EQ(before.pixel_um, 7);
    EXPECT_EQ(after.pixel_um, 7);
    EXPECT_EQ(before.pixels, catalogue.find("IMX533")->nx);
    for (const DetectorModel& d : catalogue.rows()) {
        const std::vector<KeyValue> keys{{"detecteur", d.caption}};
        const DesignInput alone = designFromKeys(keys, catalogue).input;
        DesignInput applied;
        applyDetector(applied, d);
        for (const KeyRow& row : keyRows())
            if (row.number) {
                EXPECT_EQ(keyNumber(alone, row), keyNumber(applied, row)) << row.key;
            }
        EXPECT_EQ(alone.pixel_um, std::stod(floatconv::general(d.p * 1000, 12))) << d.caption;
    }
}

// A sensor's results never depend on the sensor chosen before it, and the
// table names exactly the keys a sensor sets.
TEST(DesignKeys, ChoosingASensorSetsEveryItsValue) {
    const DetectorCatalogue catalogue;
    for (const char* before : {"IMX533", "KAF-8300", "IMX585"}) {
        for (const char* after : {"KAF-0400", "KAF-3200", "ICX285"}) {
            DesignInput switched;
            applyDetector(switched, *catalogue.find(before));
            applyDetector(switched, *catalogue.find(after));
            DesignInput fresh;
            applyDetector(fresh, *catalogue.find(after));
            for (const KeyRow& row : keyRows())
                EXPECT_EQ(keyText(switched, row.key), keyText(fresh, row.key))
                    << before << " → " << after << ": " << row.key;
        }
    }
    for (const KeyRow& row : keyRows()) {
        if (!row.number) continue;
        bool changed = false;
        for (const DetectorModel& d : catalogue.rows()) {
            DesignInput in;
            applyDetector(in, d);
            changed = changed || keyNumber(in, row) != keyNumber(DesignInput{}, row);
        }
        // Every built-in row gives its dark current at 25 °C; a user's row may not.
        if (std::string_view(row.key) == "temperature_reference_c") continue;
        EXPECT_EQ(changed, row.fromSensor) << row.key;
    }
}

}  // namespace
}  // namespace kelvora::design
