// The proposer's search bounds: how many designs a request means, the
// refusal above the bound, a stop asked midway, and the best kept without
// keeping them all.
#include <gtest/gtest.h>

#include "model/design/proposer.h"
#include "tests/support/keyed.h"

namespace kelvora::design {
namespace {

ProposerRequest request(const char* focales, const char* fentes, const char* geometries) {
    ProposerRequest q;
    q.resolution_cible = 1000;
    EXPECT_FALSE(setProposerKey(q, "focales", focales));
    EXPECT_FALSE(setProposerKey(q, "fentes", fentes));
    EXPECT_FALSE(setProposerKey(q, "geometries", geometries));
    return q;
}

TEST(ProposerBounds, CombinationsCountEveryGeometrysOwnLoops) {
    // 6 gratings, 2 binnings; collimated: focales² × slits; convergent: 5 distances.
    EXPECT_EQ(combinations(request("50,100", "0,25", "littrow")), 6u * 4 * 2 * 2);
    EXPECT_EQ(combinations(request("50,100", "0,25", "littrow,convergent")), 96u + 6 * 5 * 2);
    EXPECT_EQ(tooLarge(request("50,100", "0,25", "littrow")), "");
}

TEST(ProposerBounds, ASearchAboveTheBoundIsRefusedBeforeItStarts) {
    std::string focales;
    for (int f = 10; f < 10 + 2 * 300; f += 2)
        focales += (focales.empty() ? "" : ",") + std::to_string(f);
    const ProposerRequest q = request(focales.c_str(), "0,10,20,30,40,50,60,70,80,90", "littrow");
    EXPECT_EQ(combinations(q), 6u * 300 * 300 * 10 * 2);
    const Proposal p = propose(testkeys::with({}), q, 10);
    EXPECT_EQ(p.evaluated, 0u);
    EXPECT_EQ(p.error,
              "la recherche compte 10800000 combinaisons, plus que les 5000000 permises : "
              "raccourcissez les listes");
}

TEST(ProposerBounds, AStopAskedMidwayEndsTheSearch) {
    // 6 × 20² × 3 × 2 = 14,400 designs: reports at 0, 4096, 8192…
    const ProposerRequest q = request(
        "35,40,45,50,55,60,65,70,75,80,85,90,95,100,110,120,135,150,180,200", "0,10,25", "littrow");
    std::size_t calls = 0;
    const Proposal p = propose(testkeys::with({}), q, 10, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, combinations(q));
        EXPECT_EQ(done % 4096, 0u);
        return ++calls < 2;
    });
    EXPECT_TRUE(p.stopped);
    EXPECT_EQ(p.evaluated, 4096u);  // the second report, at 4096, asked to stop
}

TEST(ProposerBounds, TheBestAreTheSameWhetherFewOrAllAreKept) {
    ProposerRequest q =
        request("35,50,75,85,100,135,150,200", "0,10,15,20,25,35,50", "littrow,normale");
    q.resolution_cible = 500;
    const DesignInput fixed = testkeys::with({});
    const Proposal few = propose(fixed, q, 3);
    const Proposal many = propose(fixed, q, 100000);
    ASSERT_EQ(few.candidates.size(), 3u);
    ASSERT_GT(many.candidates.size(), 1000u);  // enough to prune several times over
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(few.candidates[i].result.pose_cible_s, many.candidates[i].result.pose_cible_s);
    // Every design kept reaches R and is well sampled.
    for (const Candidate& c : many.candidates) {
        EXPECT_GE(c.result.resolution, 500);
        EXPECT_EQ(c.result.echantillonnage, Sampling::Good);
    }
}

TEST(ProposerBounds, ASingleNumberReadsTheCommaWhateverTheSeparator) {
    for (const char* sep : {".", ","}) {
        ProposerRequest q;
        EXPECT_FALSE(setProposerKey(q, "largeur_reseau_mm", "25,4", sep)) << sep;
        EXPECT_EQ(q.largeur_reseau_mm, 25.4) << sep;
        EXPECT_FALSE(setProposerKey(q, "largeur_reseau_mm", "25.4", sep)) << sep;
        EXPECT_EQ(q.largeur_reseau_mm, 25.4) << sep;
    }
    ProposerRequest q;
    EXPECT_TRUE(setProposerKey(q, "largeur_reseau_mm", "25,4,1"));
}

// A design whose R equals the target reaches it: one grating, one pair of
// lenses, one slit, one binning, the target set to that design's own R.
TEST(ProposerBounds, AnRExactlyAtTheTargetReachesIt) {
    ProposerRequest q = request("100", "25", "littrow");
    EXPECT_FALSE(setProposerKey(q, "reseaux", "1200"));
    EXPECT_FALSE(setProposerKey(q, "binnings", "1"));
    DesignInput in = testkeys::with({{"geometrie", "littrow"},
                                     {"traits_mm", "1200"},
                                     {"collimateur_mm", "100"},
                                     {"objectif_mm", "100"},
                                     {"fente_um", "25"},
                                     {"bin_x", "1"},
                                     {"cible_snr", "100"},
                                     {"detecteur", "IMX533"}});
    const DesignOutcome o = evaluate(in);
    ASSERT_TRUE(o.result);
    q.resolution_cible = o.result->resolution;
    // And a grating exactly as wide as the beam needs is wide enough.
    q.largeur_reseau_mm = o.result->longueur_reseau_mm;
    const Proposal p = propose(in, q, 3);
    EXPECT_EQ(p.candidates.size(), 1u) << p.error;
    // A millimetre narrower, it is set aside: said to reach R, never to fall short of it.
    q.largeur_reseau_mm -= 1;
    const Proposal narrow = propose(in, q, 3);
    EXPECT_TRUE(narrow.candidates.empty());
    EXPECT_NE(narrow.error.find("atteignent R mais écartées : 1 dont le faisceau déborde"),
              std::string::npos)
        << narrow.error;
    EXPECT_EQ(narrow.error.find("la meilleure"), std::string::npos) << narrow.error;
}

// An R no design reaches within the range asked: the sentence names the
// nearest that covers it, never a design that reaches R but misses the range.
TEST(ProposerBounds, AnUnreachableRNamesTheNearestInTheRange) {
    ProposerRequest q = request("35,50,75,100,135,200", "0,25", "littrow,normale");
    q.resolution_cible = 10000;
    q.lambda_min_a = 4000;
    q.lambda_max_a = 7000;
    const Proposal p = propose(testkeys::with({{"lambda_a", "5500"}}), q, 3);
    ASSERT_TRUE(p.candidates.empty());
    const std::string said = "la plus proche qui remplit les autres conditions donne R = ";
    const auto at = p.error.find(said);
    ASSERT_NE(at, std::string::npos) << p.error;
    EXPECT_LT(std::stod(p.error.substr(at + said.size())), 10000) << p.error;
    EXPECT_EQ(p.error.find("la meilleure"), std::string::npos) << p.error;
}

}  // namespace
}  // namespace kelvora::design
