// Designs one step off the examples, as new users met them: each answered
// right, refused in French with its cause, or read as the other faces read
// it. Figures computed by hand from the grating equation (docs/physics.md).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "model/design/curves.h"
#include "model/design/keys.h"
#include "model/design/labels.h"
#include "model/design/profile.h"
#include "tests/support/keyed.h"
#include "tests/support/line_profile.h"

namespace kelvora::design {
namespace {

using testkeys::designWith;
using testkeys::said;

struct Grazing {
    const char* what;
    testkeys::Keys keys;
    const char* angle;  // "incidence" or "diffraction"
    double degrees;     // by hand; NaN: exactly 90
};

// Light at or beyond 90° from the grating's normal: refused, naming the
// angle, the order, the lines and the wavelength, never answered with a
// negative grating nor left to size the profile.
TEST(InputSpace, GrazingAnglesAreRefusedWithTheirCause) {
    const Grazing cases[] = {
        // α = asin(2·2400·3980e-7 / (2 cos 17°)) + 17° = 104.2457°
        {"deviation 34°, order 2, 3980 Å",
         {{"lambda_a", "3980"},
          {"ordre", "2"},
          {"traits_mm", "2400"},
          {"geometrie", "deviation"},
          {"deviation_deg", "34"}},
         "incidence",
         104.24567954263082},
        // Ca II K at 3933.7 Å: α = 97.8319°, which once crashed the profile.
        {"the Sun in Ca K",
         {{"source", "soleil"},
          {"raie", "cak"},
          {"ordre", "2"},
          {"geometrie", "deviation"},
          {"deviation_deg", "34"},
          {"traits_mm", "2400"},
          {"fente_um", "10"},
          {"detecteur", "IMX290"}},
         "incidence",
         97.83186816532962},
        // Littrow with m·N·λ = 2 exactly: α = β = 90°.
        {"Littrow at m·N·λ = 2",
         {{"geometrie", "littrow"}, {"traits_mm", "2000"}, {"lambda_a", "10000"}},
         "incidence",
         NAN},
        // Normal incidence with m·N·λ = 1: β = 90°.
        {"normal at m·N·λ = 1", {{"traits_mm", "1000"}, {"lambda_a", "10000"}}, "diffraction", NAN},
    };
    for (const Grazing& c : cases) {
        const DesignOutcome o = evaluate(designWith(c.keys));
        ASSERT_TRUE(o.error) << c.what;
        EXPECT_EQ(o.error->cause, KeyError::Cause::Grazing) << c.what << " : " << said(o);
        EXPECT_EQ(o.error->need, c.angle) << c.what;
        if (!std::isnan(c.degrees)) {
            EXPECT_NEAR(o.error->value, c.degrees, 1e-9) << c.what;
        }
        EXPECT_NE(said(o).find("90°"), std::string::npos) << said(o);
        EXPECT_NE(said(o).find("l'ordre"), std::string::npos) << said(o);
    }
    // One step inside: 89.9° of diffraction at normal incidence still answers.
    DesignInput inside = designWith({{"traits_mm", "1000"}, {"pixels", "10"}});
    inside.lambda_a = std::sin(89.9 * std::numbers::pi / 180) / 1000 * 1e7;
    EXPECT_TRUE(evaluate(inside).result) << said(evaluate(inside));
}

// A key the mode hides neither refuses the design nor changes its answer.
TEST(InputSpace, HiddenKeysNeitherRefuseNorCount) {
    const testkeys::Keys sun = {
        {"source", "soleil"}, {"raie", "halpha"}, {"fente_um", "10"}, {"traits_mm", "1200"}};
    const DesignResult plainSun = testkeys::result(designWith(sun));
    const DesignResult plainStar = testkeys::result(designWith({}));
    for (const testkeys::Keys& hidden :
         {testkeys::Keys{{"lune_hauteur_deg", "30"}, {"lune_distance_deg", "1"}},
          testkeys::Keys{{"pose_s", "-5"}}, testkeys::Keys{{"mag_etoile", "99"}}}) {
        const DesignOutcome o = evaluate(designWith(hidden, designWith(sun)));
        ASSERT_TRUE(o.result) << said(o);
        EXPECT_EQ(o.result->snr_coeur, plainSun.snr_coeur);
        EXPECT_EQ(o.result->volume_mo, plainSun.volume_mo);
    }
    const DesignOutcome star = evaluate(designWith({{"remplissage_pct", "0"}}));
    ASSERT_TRUE(star.result) << said(star);
    EXPECT_EQ(star.result->snr, plainStar.snr);
}

// A spectroheliograph has a slit in a collimated beam.
TEST(InputSpace, TheSunWithoutASlitIsRefused) {
    for (const testkeys::Keys& keys :
         {testkeys::Keys{{"source", "soleil"}, {"fente_um", "0"}},
          testkeys::Keys{{"source", "soleil"}, {"geometrie", "convergent"}}}) {
        const DesignOutcome o = evaluate(designWith(keys));
        ASSERT_TRUE(o.error);
        EXPECT_NE(said(o).find("un spectrohéliographe a une fente"), std::string::npos) << said(o);
    }
}

// Empty is quoted empty, never as « 0 »; thousands grouped by a space read
// as the calculator reads them; anything else refused.
TEST(InputSpace, TypedTextsAreQuotedAndReadAsTheyStand) {
    const std::vector<KeyValue> empty = {{"diametre_mm", ""}};
    const KeyedDesign e = designFromKeys(empty, DetectorCatalogue());
    ASSERT_EQ(e.errors.size(), 1u);
    const std::string sentence = describe(e.errors[0], ".");
    EXPECT_EQ(sentence.find("« 0 »"), std::string::npos) << sentence;
    EXPECT_EQ(sentence.rfind("« Diamètre (mm) » : « ", 0), 0u) << sentence;

    const struct {
        const char* text;
        const char* separator;
        double read;  // NaN: refused
    } texts[] = {
        {"2 400", ".", 2400},      {"2\u00a0400", ".", 2400}, {"2\u202f400", ",", 2400},
        {"2\u2009400", ".", 2400}, {"1 000,5", ",", 1000.5},  {"1 000.5", ".", 1000.5},
        {"2 400 ", ".", 2400},     {"2 x", ".", NAN},         {"- 2", ".", NAN},
        {"2 ,5", ",", NAN},        {"1e 3", ".", NAN},
    };
    for (const auto& t : texts) {
        const auto v = strictNumber(periodText(t.text, t.separator));
        if (std::isnan(t.read))
            EXPECT_FALSE(v) << t.text;
        else
            EXPECT_EQ(v.value_or(NAN), t.read) << t.text;
    }
}

// A coma a million times narrower than the seeing no longer sets the grid:
// the profile is the seeing's on the pixel, as an independent integration
// gives it, at bounded cost.
TEST(InputSpace, ANegligibleComaLeavesTheSeeingsWidth) {
    ProfileParts seeing;
    seeing.seeing = 3;
    ProfileParts withComa = seeing;
    withComa.coma = 3e-6;
    EXPECT_NEAR(convolvedFwhm(withComa) / testprofile::fwhm(3, 1e9, 0), 1, 2e-3);
    // Widths that are not widths are refused, not sized.
    for (double bad : {-1.0, double(NAN), double(INFINITY)}) {
        ProfileParts p = seeing;
        p.diffraction = bad;
        EXPECT_TRUE(std::isnan(convolvedFwhm(p))) << bad;
    }
}

// Slitless at a line per mm: answered or refused in French, in one pass.
TEST(InputSpace, SlitlessAtFewLinesAnswers) {
    for (const char* lines : {"1", "0.01", "5"}) {
        const DesignOutcome o =
            evaluate(designWith({{"geometrie", "convergent"}, {"traits_mm", lines}}));
        EXPECT_TRUE(o.result || !said(o).empty()) << lines;
        if (o.result) {
            EXPECT_GT(o.result->element_resolution_a, 0) << lines;
        }
    }
}

// The plots' curves re-light the solved design: each point is the design's
// own answer at that exposure or magnitude, over 4 magnitudes either side
// of the star and up to twice the exposure.
TEST(InputSpace, TheCurvesAreTheDesignsOwnAnswers) {
    DesignInput in = testkeys::designWith({{"geometrie", "convergent"}, {"traits_mm", "1"}});
    in.mag_etoile = 9;
    in.pose_s = 60;
    const Curve magnitudes = snrAgainstMagnitude(in, 8), exposures = snrAgainstExposure(in, 4);
    ASSERT_EQ(magnitudes.size(), 9u);
    ASSERT_EQ(exposures.size(), 4u);
    for (std::size_t i = 0; i < magnitudes.size(); ++i) {
        DesignInput at = in;
        at.mag_etoile = 5 + static_cast<double>(i);
        EXPECT_EQ(magnitudes[i].first, at.mag_etoile);
        EXPECT_EQ(magnitudes[i].second, evaluate(at).result->snr) << at.mag_etoile;
    }
    for (std::size_t i = 0; i < exposures.size(); ++i) {
        DesignInput at = in;
        at.pose_s = 30 * static_cast<double>(i + 1);
        EXPECT_EQ(exposures[i].first, at.pose_s);
        EXPECT_EQ(exposures[i].second, evaluate(at).result->snr) << at.pose_s;
    }
}

}  // namespace
}  // namespace kelvora::design

namespace kelvora::design {
namespace {

// Faults drawn at random met these designs: each must be refused, or
// answered, as physics says.
TEST(InputSpace, UnderflowsSettingsAndSentencesAtTheEdges) {
    // A beam of 10⁻³⁰⁰ × 10⁻²⁰⁰ / 1200 mm is 0, not a beam.
    const DesignOutcome beam =
        evaluate(designWith({{"diametre_mm", "1e-300"}, {"collimateur_mm", "1e-200"}}));
    ASSERT_TRUE(beam.error);
    EXPECT_EQ(beam.error->cause, KeyError::Cause::Unsolvable);
    EXPECT_EQ(beam.error->need, "faisceau_mm");
    // 10⁹ lines/mm diffract nothing: no « longueur d'onde maximale 0 Å ».
    const std::string lines = said(evaluate(designWith({{"traits_mm", "1e9"}})));
    EXPECT_NE(lines.find("dépasse 1 à toute longueur d'onde"), std::string::npos) << lines;
    // A gain setting needs the sensor's published curve, from the first step.
    for (const char* setting : {"1", "2", "100"}) {
        const DesignOutcome o =
            evaluate(designWith({{"detecteur", "KAF-0400"}, {"gain_reglage", setting}}));
        ASSERT_TRUE(o.error) << setting;
        EXPECT_EQ(o.error->key, "gain_reglage");
    }
    EXPECT_TRUE(evaluate(designWith({{"detecteur", "KAF-0400"}, {"gain_reglage", "0"}})).result);
}

// Without read noise, binning cannot change the S/N of a frame whose
// exposure the well's fill sets: the signal is the fill, and the dark
// current gathered is the binned pixel's rate over the shorter exposure.
TEST(InputSpace, TheSunsContinuumSnrOwesNothingToBinning) {
    const testkeys::Keys sun = {{"source", "soleil"}, {"raie", "halpha"},
                                {"fente_um", "10"},   {"traits_mm", "1200"},
                                {"bruit_e", "0"},     {"obscurite_e_s", "1e9"}};
    const double plain = testkeys::result(designWith(sun)).snr_continuum;
    for (const auto& [x, y] : {std::pair{"1", "2"}, {"2", "1"}, {"2", "2"}, {"3", "1"}}) {
        const DesignResult r =
            testkeys::result(designWith({{"bin_x", x}, {"bin_y", y}}, designWith(sun)));
        EXPECT_NEAR(r.snr_continuum / plain, 1, 1e-12) << x << "×" << y;
    }
}

}  // namespace
}  // namespace kelvora::design
