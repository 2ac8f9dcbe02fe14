// The proposer for a spectroheliograph: the walk-through's telescope, line
// and camera, with two collimators and objectives and three slits.
#include <gtest/gtest.h>

#include "model/design/proposer.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

// The search varies the lenses, the grating and the slit: the rest stays.
DesignInput sunBuild(const char* maxRate) {
    return testkeys::sunBuild("2026-03-20", {{"cadence_max_ips", maxRate}});
}

ProposerRequest sunRequest() {
    ProposerRequest q;  // no resolution: a spectroheliograph needs none
    for (const auto& [key, text] : {std::pair{"reseaux", "2400"},
                                    {"focales", "80,125"},
                                    {"fentes", "10,50,70"},
                                    {"geometries", "deviation"},
                                    {"binnings", "1"},
                                    // the beam meets the grating at 72.4°: 25 mm wide, 83 mm long
                                    {"largeur_reseau_mm", "100"}})
        EXPECT_FALSE(setProposerKey(q, key, text));
    return q;
}

// By hand (sun_test.cpp: a 10 µm slit behind an 80 mm collimator passes
// 0.157149 Å; the bandpass is slit · r · cos β / (m N f_coll), whatever the
// objective):
//   collimator 80: 10 µm 0.1571, 50 µm 0.7857, 70 µm 1.1000 Å (> the 1.0 Å core)
//   collimator 125: × 80/125: 0.1006, 0.5029, 0.7040 Å
//   disc on the sensor 3.737492 mm × f_obj/f_coll / 0.0029: 80 → 125 gives
//   2013.7 px > 1936 (off the sensor); the others 824.8 and 1288.6 px.
// Kept: 12 − 3 (the disc) − 1 (the bandpass) = 8, the narrowest first.
TEST(SunProposer, KeepsWhatFitsAndIsolatesTheCoreNarrowestFirst) {
    const DesignInput fixed = sunBuild("0");
    EXPECT_EQ(missingTarget(fixed, sunRequest()), "");
    const Proposal p = propose(fixed, sunRequest(), 20);
    ASSERT_EQ(p.candidates.size(), 8u) << p.error;
    EXPECT_NEAR(p.candidates.front().result.bande_passante_a, 0.157149 * 80 / 125, 1e-5);
    for (std::size_t i = 0; i < p.candidates.size(); ++i) {
        const Candidate& c = p.candidates[i];
        EXPECT_FALSE(c.input.collimateur_mm == 80 && c.input.objectif_mm == 125);
        EXPECT_FALSE(c.input.collimateur_mm == 80 && c.input.fente_um == 70);
        if (i > 0) {
            EXPECT_LE(p.candidates[i - 1].result.bande_passante_a, c.result.bande_passante_a);
        }
    }
}

// Frame rates of 10 to 25 images/s against a camera that takes 1.
TEST(SunProposer, NoneKeptSaysWhyInFrench) {
    const Proposal p = propose(sunBuild("1"), sunRequest(), 20);
    EXPECT_TRUE(p.candidates.empty());
    EXPECT_EQ(p.error,
              "aucune conception ne convient au Soleil : 3 dont le disque déborde de la fente ou "
              "du capteur, 1 dont la bande passante dépasse le cœur de la raie, 8 dont la "
              "cadence dépasse celle de la caméra");
}

TEST(SunProposer, AStarStillNeedsAResolution) {
    EXPECT_EQ(missingTarget(testkeys::with({}), sunRequest()), "Indiquez la résolution visée.");
    const std::vector<std::string> sun = candidateResults(false, true);
    EXPECT_EQ(sun.front(), "bande_passante_a");
    EXPECT_EQ(candidateResults(true, false).at(4), "snr_element");
}

}  // namespace
}  // namespace kelvora::design
